#pragma once

#include <cstddef>

namespace qm {

class TreeNode;

// How a view learns of every change of a Ttree. "parent" is the tree's hidden
// root for top-level nodes. Every structural change comes as an about-to /
// done pair, so a Qt model can bracket it with begin/end calls.
class TreeObserver {
 public:
  virtual ~TreeObserver() = default;

  virtual void nodeAboutToBeInserted(TreeNode* /*parent*/, size_t /*row*/) {}
  virtual void nodeInserted(TreeNode* /*node*/) {}
  virtual void nodeAboutToBeRemoved(TreeNode* /*node*/) {}
  virtual void nodeRemoved(TreeNode* /*parent*/, size_t /*row*/) {}
  // A move of "node" with its subtree to "newParent" at "newRow" (a row
  // counted before the node leaves its old place, as Qt's beginMoveRows does).
  virtual void nodeAboutToBeMoved(TreeNode* /*node*/, TreeNode* /*newParent*/, size_t /*newRow*/) {}
  virtual void nodeMoved(TreeNode* /*node*/) {}
  // A subtree taken out with Ttree::takeSubtree stays alive and may be put
  // back; to a view these are a removal and an insertion. Taken nodes are
  // destroyed later, announced by takenSubtreeDestroyed.
  virtual void nodeAboutToBeTaken(TreeNode* node) { nodeAboutToBeRemoved(node); }
  virtual void nodeTaken(TreeNode* parent, size_t row) { nodeRemoved(parent, row); }
  virtual void nodeAboutToBePutBack(TreeNode* parent, size_t row) { nodeAboutToBeInserted(parent, row); }
  virtual void nodePutBack(TreeNode* node) { nodeInserted(node); }
  virtual void takenSubtreeDestroyed(TreeNode* /*node*/) {}
  // Bulk changes (reading a file, clearing the tree) come as one reset.
  virtual void treeAboutToBeReset() {}
  virtual void treeReset() {}

  virtual void nodeChanged(TreeNode* /*node*/) {}  // title or pictures
  // The node's record was written (its dates, priority, status or icon).
  virtual void recordChanged(TreeNode* /*node*/) {}
  virtual void expandedChanged(TreeNode* /*node*/) {}
  virtual void selectionChanged(TreeNode* /*selected*/) {}
  virtual void settingsChanged() {}
  // The tree is being destroyed; observers must not touch it afterwards.
  virtual void treeDestroyed() {}
};

}  // namespace qm
