#pragma once

#include "model/tree_observer.h"

namespace qm {
class Ttree;
}

namespace qm::ui {

// Follows one task of a tree for a window that outlives its own opening (the
// modeless properties dialog): tells whether the task is still in its tree,
// without ever handing out a node that has been freed. The task is gone once
// it or an ancestor is deleted, the tree is reset (cleared or read anew) or
// the tree is destroyed. A task taken out for undo is away, not gone: it is
// followed again once it is put back, and gone only when it is destroyed.
class TaskWatch : public TreeObserver {
 public:
  TaskWatch() = default;
  TaskWatch(Ttree* tree, TreeNode* node) { watch(tree, node); }
  ~TaskWatch() override { stopObserving(); }
  TaskWatch(const TaskWatch&) = delete;
  TaskWatch& operator=(const TaskWatch&) = delete;

  // Follows node of tree from now on (either may be nullptr: nothing to follow).
  void watch(Ttree* tree, TreeNode* node);

  // The followed node while it is still in its tree, else nullptr.
  TreeNode* node() const { return awayWith_ == nullptr ? node_ : nullptr; }
  Ttree* tree() const { return node() != nullptr ? tree_ : nullptr; }

  void nodeAboutToBeRemoved(TreeNode* node) override;
  void nodeAboutToBeTaken(TreeNode* node) override;
  void nodePutBack(TreeNode* node) override;
  void takenSubtreeDestroyed(TreeNode* node) override;
  void treeAboutToBeReset() override { node_ = awayWith_ = nullptr; }
  void treeDestroyed() override;

 private:
  void stopObserving();

  // Stays registered with the tree until the watch ends or is re-aimed, even
  // after the node is gone: the tree's observer list must not change while
  // the tree is notifying it.
  Ttree* tree_ = nullptr;
  TreeNode* node_ = nullptr;
  TreeNode* awayWith_ = nullptr;  // the root of the taken subtree holding node_
};

}  // namespace qm::ui
