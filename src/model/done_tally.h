#pragma once

#include <cstddef>
#include <optional>

#include "model/tree_node.h"
#include "model/tree_observer.h"

namespace qm {

class Ttree;

// Keeps every task's count of done descendants (TreeNode::doneDescendants)
// current as the tree changes: an edit costs a walk up the ancestors of the
// task it touched, never a walk of a subtree. Counts in the nodes
// themselves, so one tally at most may follow a tree.
//
// A whole count (a tree newly followed, or reset) is made a slice at a time
// by recountSome, so that opening a big list is not held up by it; until it
// is done the counts are not to be read (isCounted), and a change of the
// tree starts it again. A tree just read needs none: its counts were made as
// its records were linked (Ttree::doneCountsFresh). Buys a progress mark per row at 8 bytes a task (a node
// grows from 64 to 72).
class DoneTally final : public TreeObserver {
 public:
  DoneTally() = default;
  ~DoneTally() override { follow(nullptr); }
  DoneTally(const DoneTally&) = delete;
  DoneTally& operator=(const DoneTally&) = delete;

  // Follows the tree from now on; its counts are to be made.
  void follow(Ttree* tree);
  Ttree* tree() const { return tree_; }
  bool isCounted() const { return tree_ != nullptr && !pending_; }
  // Goes on with the whole count for up to `tasks` tasks; true once done.
  bool recountSome(size_t tasks);
  // The whole count at once.
  void recount();

  void nodeInserted(TreeNode* node) override;
  void nodeAboutToBeRemoved(TreeNode* node) override { spread(node->parent(), node, -1); }
  void nodeAboutToBeMoved(TreeNode* node, TreeNode* /*newParent*/, size_t /*newRow*/) override {
    spread(node->parent(), node, -1);
  }
  void nodeMoved(TreeNode* node) override { spread(node->parent(), node, +1); }
  void nodeRemoved(TreeNode*, size_t) override { startAgainIfCounting(); }
  void treeReset() override { startCount(); }
  void nodeChanged(TreeNode* node) override { taskChanged(node); }
  void recordChanged(TreeNode* node) override { taskChanged(node); }
  void treeDestroyed() override;

  // Makes every count in one pass over the tasks in display order: a task's
  // count is added to its parent's once the pass has left its subtree.
  class Counter {
   public:
    explicit Counter(TreeNode* root) : open_(root) { root->doneTally_ = 0; }
    // The next task in display order; its record is linked already.
    void add(TreeNode* task);
    // After the last task.
    void finish();

   private:
    void closeOpen();
    TreeNode* open_;  // the last task added, or an ancestor of it
  };

 private:
  // Whether the node was done when last seen.
  static bool seenDone(const TreeNode& node);
  // The node's own done state, as last seen, plus its done descendants.
  static uint32_t weight(const TreeNode& node);
  // Adds sign x the node's weight to every ancestor from `from` up.
  void spread(TreeNode* from, const TreeNode* node, int sign);
  void taskChanged(TreeNode* node);
  void startCount();
  void startAgainIfCounting();

  Ttree* tree_ = nullptr;
  // While a whole count is under way: true, with the walk's place once it
  // has begun (the next task in display order).
  bool pending_ = false;
  struct Walk {
    TreeNode* next;
    Counter counter;
  };
  std::optional<Walk> walk_;
};

}  // namespace qm
