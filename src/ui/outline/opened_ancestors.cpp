#include "ui/outline/opened_ancestors.h"

#include "model/ttree.h"

namespace qm::ui {

void OpenedAncestors::open(Ttree& tree, TreeNode* parent) {
  opened_.clear();
  for (TreeNode* n = parent; n != nullptr && !n->isRoot(); n = n->parent())
    if (!n->expanded()) opened_.push_back(n);
  for (auto n = opened_.rbegin(); n != opened_.rend(); ++n) tree.setExpanded(*n, true);
}

void OpenedAncestors::close(Ttree& tree) {
  for (TreeNode* n : opened_) tree.setExpanded(n, false);
}

}  // namespace qm::ui
