#include "model/done_tally.h"

#include "model/task_dates.h"
#include "model/ttree.h"

namespace qm {

bool DoneTally::seenDone(const TreeNode& node) { return (node.doneTally_ & TreeNode::kSelfDoneBit) != 0; }

uint32_t DoneTally::weight(const TreeNode& node) {
  return static_cast<uint32_t>(node.doneDescendants()) + (seenDone(node) ? 1 : 0);
}

void DoneTally::follow(Ttree* tree) {
  if (tree == tree_) return;
  if (tree_ != nullptr) tree_->removeObserver(this);
  tree_ = tree;
  if (tree_ != nullptr) tree_->addObserver(this);
  startCount();
}

void DoneTally::treeDestroyed() {
  tree_ = nullptr;
  pending_ = false;
  walk_.reset();
}

void DoneTally::startCount() {
  pending_ = tree_ != nullptr && !tree_->doneCountsFresh();
  walk_.reset();
}

void DoneTally::startAgainIfCounting() {
  if (pending_) startCount();
}

void DoneTally::recount() {
  startCount();
  while (!recountSome(size_t{1} << 20)) {
  }
}

bool DoneTally::recountSome(size_t tasks) {
  if (!pending_) return true;
  if (!walk_) walk_.emplace(Walk{tree_->firstNode(), Counter(tree_->root())});
  for (; tasks > 0 && walk_->next != nullptr; --tasks) {
    walk_->counter.add(walk_->next);
    walk_->next = tree_->nextInPreorder(walk_->next);
  }
  if (walk_->next != nullptr) return false;
  walk_->counter.finish();
  walk_.reset();
  pending_ = false;
  return true;
}

void DoneTally::Counter::add(TreeNode* task) {
  while (open_ != task->parent()) closeOpen();
  task->doneTally_ = isDone(*task) ? TreeNode::kSelfDoneBit : 0;
  open_ = task;
}

void DoneTally::Counter::finish() {
  while (open_->parent() != nullptr) closeOpen();
}

void DoneTally::Counter::closeOpen() {
  TreeNode* parent = open_->parent();
  parent->doneTally_ += weight(*open_);
  open_ = parent;
}

void DoneTally::nodeInserted(TreeNode* node) {
  if (pending_) return startCount();
  // A new task brings no descendants; one put back brings its own counts.
  if (!node->hasChildren()) node->doneTally_ = 0;
  node->doneTally_ =
      (node->doneTally_ & TreeNode::kDoneCountMask) | (isDone(*node) ? TreeNode::kSelfDoneBit : 0);
  spread(node->parent(), node, +1);
}

void DoneTally::spread(TreeNode* from, const TreeNode* node, int sign) {
  if (pending_) return startCount();
  const uint32_t w = weight(*node);
  if (w == 0) return;
  for (TreeNode* n = from; n != nullptr; n = n->parent())
    n->doneTally_ = sign > 0 ? n->doneTally_ + w : n->doneTally_ - w;
}

void DoneTally::taskChanged(TreeNode* node) {
  if (pending_) return startCount();
  const bool now = isDone(*node);
  if (seenDone(*node) == now) return;
  node->doneTally_ ^= TreeNode::kSelfDoneBit;
  for (TreeNode* n = node->parent(); n != nullptr; n = n->parent()) now ? ++n->doneTally_ : --n->doneTally_;
}

}  // namespace qm
