#pragma once

#include <string_view>

namespace qm::fuzz {

// One fuzz input as a task-list file: reading it may fail only with the
// reader's own error; whatever it leaves must save and load back stably, and
// clearing and destroying it must free everything. Raises FuzzFinding (or
// lets any other exception through) on a fault.
void exerciseTaskListBytes(std::string_view bytes);

}  // namespace qm::fuzz
