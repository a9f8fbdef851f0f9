#pragma once

#include "stream/component_class.h"

namespace qm {

// Tinfo in a stream: Name, Tag, note, taskstart, taskend, priority, status,
// icon, and the component's defined design position Left and Top.
const ComponentClass& recordClass();

}  // namespace qm
