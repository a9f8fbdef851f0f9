#include "cli/text_layout.h"

#include <algorithm>

namespace qm::cli {

std::string_view indentation(size_t level) {
  static const std::string spaces(2 * kMaxIndentLevels, ' ');
  return std::string_view(spaces).substr(0, 2 * std::min(level, kMaxIndentLevels));
}

std::string singleLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF is one break
    line.push_back(c == '\r' || c == '\n' || c == '\t' ? ' ' : c);
  }
  return line;
}

void forEachInPreorder(const Ttree& tree, const std::function<void(const TreeNode&, size_t)>& visit) {
  size_t depth = 0;
  const TreeNode* node = tree.firstNode();
  while (node != nullptr) {
    visit(*node, depth);
    if (node->hasChildren()) {
      node = node->child(0);
      ++depth;
      continue;
    }
    // Climb to the nearest ancestor-or-self that has a next sibling.
    while (node != nullptr) {
      const TreeNode* parent = node->parent();
      if (node->row() + 1 < parent->childCount()) {
        node = parent->child(node->row() + 1);
        break;
      }
      node = parent->isRoot() ? nullptr : parent;
      if (node != nullptr) --depth;
    }
  }
}

}  // namespace qm::cli
