#include "cli/find_command.h"

#include <memory>

#include "cli/commands.h"
#include "cli/text_layout.h"
#include "model/task_search.h"

namespace qm::cli {

bool findCommand(const std::string& listFile, const std::string& text, bool notesToo, std::istream& in,
                 std::ostream& out) {
  std::unique_ptr<Ttree> tree = loadList(listFile, in);
  TaskQuery query(text, notesToo);
  bool found = false;
  // The window's matcher and order: what qmk finds is what the find bar finds.
  for (PreorderCursor at(tree->firstNode()); at.node() != nullptr; at.forward()) {
    if (!query.matches(*at.node())) continue;
    found = true;
    for (size_t level = 0; level < at.depth(); ++level)
      out << (level == 0 ? "" : " / ") << singleLine(at.ancestorAt(level)->text());
    out << '\n';
  }
  return found;
}

}  // namespace qm::cli
