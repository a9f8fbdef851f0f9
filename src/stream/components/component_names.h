#pragma once

#include <string_view>

#include "model/component.h"

namespace qm {

// Letters, digits and underscores, not starting with a digit.
bool isValidComponentName(std::string_view name);

// Gives a component a name read from a stream. An empty name is allowed;
// otherwise raises "''%s'' is not a valid component name", or "A component
// named %s already exists" when another component of its owner has it.
void giveComponentName(Component& component, std::string_view name);

}  // namespace qm
