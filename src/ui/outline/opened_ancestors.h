#pragma once

#include <vector>

namespace qm {
class Ttree;
class TreeNode;
}  // namespace qm

namespace qm::ui {

// The collapsed tasks on the way down to a place, expanded so that what is
// put there shows (scrolling to it would expand them behind the tree's
// back), and collapsed again when the step is undone. O(depth).
class OpenedAncestors {
 public:
  // Expands `parent` and every collapsed task above it.
  void open(Ttree& tree, TreeNode* parent);
  // Collapses what the last open() expanded.
  void close(Ttree& tree);

 private:
  std::vector<TreeNode*> opened_;  // deepest first
};

}  // namespace qm::ui
