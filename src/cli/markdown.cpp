#include "cli/markdown.h"

#include <string_view>

#include "cli/task_marks.h"
#include "cli/text_layout.h"
#include "model/tinfo.h"

namespace qm::cli {
namespace {

// Each line of the notes (CR, LF or CR LF ends a line), indented to the
// text column of the task's item; blank lines stay blank.
void writeNoteLines(std::string_view note, size_t depth, std::ostream& out) {
  while (!note.empty()) {
    size_t end = note.find_first_of("\r\n");
    std::string_view line = note.substr(0, end);
    if (!line.empty()) out << indentation(depth + 1) << line;
    out << '\n';
    if (end == std::string_view::npos) break;
    size_t breakLength = note.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    note.remove_prefix(end + breakLength);
  }
}

void writeItem(const TreeNode& node, size_t depth, std::ostream& out) {
  out << indentation(depth) << "- " << checkBox(node) << ' ' << singleLine(node.text()) << '\n';
  if (node.record() != nullptr) writeNoteLines(node.record()->note, depth, out);
}

}  // namespace

void writeMarkdown(const Ttree& tree, std::ostream& out) {
  forEachInPreorder(tree, [&](const TreeNode& node, size_t depth) { writeItem(node, depth, out); });
}

}  // namespace qm::cli
