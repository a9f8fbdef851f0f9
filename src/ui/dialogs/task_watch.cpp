#include "ui/dialogs/task_watch.h"

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
  if (node_ != nullptr && awayWith_ == nullptr && tree_->isInSubtree(node_, removed)) node_ = nullptr;
}

void TaskWatch::nodeAboutToBeTaken(TreeNode* taken) {
  if (node_ != nullptr && awayWith_ == nullptr && tree_->isInSubtree(node_, taken)) awayWith_ = taken;
}

void TaskWatch::nodePutBack(TreeNode* node) {
  if (node == awayWith_) awayWith_ = nullptr;
}

void TaskWatch::takenSubtreeDestroyed(TreeNode* node) {
  if (node != awayWith_) return;
  node_ = nullptr;
  awayWith_ = nullptr;
}

void TaskWatch::treeDestroyed() {
  // The tree has already let go of its observers.
  tree_ = nullptr;
  node_ = awayWith_ = nullptr;
}

void TaskWatch::stopObserving() {
  if (tree_ != nullptr) tree_->removeObserver(this);
  tree_ = nullptr;
  node_ = awayWith_ = nullptr;
}

}  // namespace qm::ui
