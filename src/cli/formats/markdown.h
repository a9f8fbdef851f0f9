#pragma once

#include <ostream>

#include "model/ttree.h"

namespace qm::cli {

// The list as a nested CommonMark checklist: "- [ ] Title" or "- [x] Title",
// then what is set of the end day, priority and status ("- [ ] Title — due
// 2026-12-12 · P1 · In Progress"), two spaces per level, with every character that could be taken as markup
// escaped. A task's notes follow as paragraphs of their own inside its item,
// each line kept on its own line.
void writeMarkdown(const Ttree& tree, std::ostream& out);

}  // namespace qm::cli
