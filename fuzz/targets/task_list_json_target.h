#pragma once

#include <string_view>

namespace qm::fuzz {

// One fuzz input as the JSON form of qmk import: reading it may fail only
// with the reader's own error; a list it reads must export, import and export
// again to the same text, and save and load back stably.
void exerciseTaskListJson(std::string_view text);

}  // namespace qm::fuzz
