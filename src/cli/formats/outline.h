#pragma once

#include <ostream>

#include "model/ttree.h"

namespace qm::cli {

// The list as a plain-text outline, one task a line, two spaces per level:
//   [x] Title (priority 2, status Complete, start 2026-12-07, end 2026-12-09)
// "[x]" marks a task whose picture is the ticked box; the details in
// brackets appear only when set.
void writeOutline(const Ttree& tree, std::ostream& out);

}  // namespace qm::cli
