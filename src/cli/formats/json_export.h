#pragma once

#include <ostream>

#include "model/ttree.h"

namespace qm::cli {

// Writes the whole list in the JSON form, every key present:
//   {"tree": {"Left": 0, ... "test1": ""},
//    "tasks": [
//     {"title": ..., "record": {...} or null, "children": [...]}, ...]}
// One task a line, indented by depth (capped). The tree is walked without
// recursion, so any depth is fine.
void writeTaskListJson(const Ttree& tree, std::ostream& out);

}  // namespace qm::cli
