#pragma once

#include <span>

#include "model/tinfo.h"
#include "stream/components/component_class.h"
#include "stream/components/saved_property.h"

namespace qm {

// Tinfo in a stream: Name, Tag, note, taskstart, taskend, priority, status,
// icon, and the component's defined design position Left and Top.
const ComponentClass& recordClass();
// The record's saved properties, in the order they are written.
std::span<const SavedProperty<Tinfo>> recordProperties();

}  // namespace qm
