#pragma once

#include <ostream>

#include "model/ttree.h"

namespace qm::cli {

// The list as a nested Markdown checklist: "- [ ] Title" or "- [x] Title",
// two spaces per level, each line of a task's notes indented below it to the
// task's text so that it stays inside the task's list item.
void writeMarkdown(const Ttree& tree, std::ostream& out);

}  // namespace qm::cli
