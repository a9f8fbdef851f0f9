#include "ui/task_watch.h"

#include "model/ttree.h"

namespace qm::ui {

void TaskWatch::watch(Ttree* tree, TreeNode* node) {
  stopObserving();
  if (tree == nullptr || node == nullptr) return;
  tree_ = tree;
  node_ = node;
  tree_->addObserver(this);
}

void TaskWatch::nodeAboutToBeRemoved(TreeNode* removed) {
  if (node_ != nullptr && tree_->isInSubtree(node_, removed)) node_ = nullptr;
}

void TaskWatch::treeDestroyed() {
  // The tree has already let go of its observers.
  tree_ = nullptr;
  node_ = nullptr;
}

void TaskWatch::stopObserving() {
  if (tree_ != nullptr) tree_->removeObserver(this);
  tree_ = nullptr;
  node_ = nullptr;
}

}  // namespace qm::ui
