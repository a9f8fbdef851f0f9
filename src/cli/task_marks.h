#pragma once

#include <string>
#include <string_view>

#include "model/task_dates.h"
#include "model/tree_node.h"

namespace qm::cli {

// A done task (see model/task_dates.h) shows a ticked box.
inline std::string_view checkBox(const TreeNode& node) { return isDone(node) ? "[x]" : "[ ]"; }

// A priority as the agenda and the Markdown export print it: "P1" for a
// number, any other text as it is, nothing for none.
std::string priorityLabel(std::string_view priority);

}  // namespace qm::cli
