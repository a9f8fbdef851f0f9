#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/compact_text.h"
#include "model/object_pool.h"

namespace qm {

class Tinfo;
class Ttree;

// One task as the tree holds it. Fields change only through Ttree, so that
// every change reaches the tree's observers.
//
// Positions are kept lazily so that inserting or removing a child at either
// end of a long sibling list, and changes deep in one, cost no renumbering:
// rows and sibling offsets are brought up to date by the first look-up that
// needs them, from the first stale one. A tree is therefore not safe for
// concurrent readers.
class TreeNode : public PooledObject<TreeNode> {
 public:
  TreeNode() = default;
  TreeNode(const TreeNode&) = delete;
  TreeNode& operator=(const TreeNode&) = delete;
  ~TreeNode();

  std::string_view text() const { return text_; }
  int32_t imageIndex() const { return imageIndex_; }
  int32_t selectedIndex() const { return selectedIndex_; }
  int32_t stateIndex() const { return stateIndex_; }
  int32_t overlayIndex() const { return overlayIndex_; }
  Tinfo* record() const { return record_; }
  bool expanded() const { return expanded_; }

  // The tree's hidden root is the parent of every top-level node.
  TreeNode* parent() const { return parent_; }
  bool isRoot() const { return parent_ == nullptr; }
  size_t row() const;
  size_t childCount() const { return kids_ != nullptr ? kids_->end - kids_->begin : 0; }
  bool hasChildren() const { return kids_ != nullptr; }  // an emptied list is given back
  // Starts loading what hasChildren() and childCount() read, for a caller
  // about to ask that of many nodes in turn.
  void prefetchChildCount() const { __builtin_prefetch(&kids_); }
  TreeNode* child(size_t row) const { return kids_->array()[kids_->begin + row]; }
  std::span<TreeNode* const> children() const {
    if (kids_ == nullptr) return {};
    return {kids_->array() + kids_->begin, childCount()};
  }
  // This node and all its descendants.
  size_t subtreeSize() const { return subtreeSize_; }
  // How many descendants are done, while a DoneTally follows the tree.
  size_t doneDescendants() const { return doneTally_ & kDoneCountMask; }
  size_t depth() const;

 private:
  friend class Ttree;
  friend class DoneTally;

  // doneTally_: the node's own done state in the top bit, the count of done
  // descendants below it.
  static constexpr uint32_t kSelfDoneBit = uint32_t{1} << 31;
  static constexpr uint32_t kDoneCountMask = kSelfDoneBit - 1;

  // The children in slots [begin, end) of an array with room at both ends;
  // allocated in one block with the array, and only while a node has
  // children.
  struct Children {
    uint32_t capacity;
    uint32_t begin;
    uint32_t end;
    // Children in slots below slotsValidTo know their slot; those at or
    // beyond it may know another one, never below slotsValidTo.
    uint32_t slotsValidTo;
    // Children in slots below offsetsValidTo know their offset: the number of
    // nodes in the subtrees of the siblings before them. It is stored less
    // offsetBias (modulo 2^32), so that a child added or removed at the front
    // shifts every offset at once.
    uint32_t offsetsValidTo;
    uint32_t offsetBias;
    TreeNode** array() { return reinterpret_cast<TreeNode**>(this + 1); }
  };
  static_assert(sizeof(Children) % alignof(TreeNode*) == 0);

  // The child keeping of a parent; the callers keep subtree sizes.
  void pushBack(TreeNode* child);
  // Allocates what the next pushBack needs, so that it cannot fail.
  void makeRoomAtBack();
  void pushFront(TreeNode* child);
  // The child becomes child `row` (at most childCount()): one move of the
  // pointers after it, which renumber on their next look-up. Allocates only
  // what makeRoomAtBack would.
  void insertAt(size_t row, TreeNode* child);
  // The child at row `from` goes to row `to`: one move of the pointers
  // between, renumbered at once, so that a step to a neighbour's place costs
  // the same among a hundred thousand siblings as among two.
  void moveChild(size_t from, size_t to);
  void remove(TreeNode* child);
  void dropChildren();  // forgets them all; they are not destroyed
  // The child's slot, made current first.
  uint32_t slotOf(const TreeNode* child) const;
  // The child's offset among its siblings, made current first.
  uint32_t offsetOf(const TreeNode* child) const;
  // The child in the subtree of which the node `index` places after this
  // node's first child lies (index below this node's subtree size less one).
  TreeNode* childCovering(uint32_t index) const;
  // The subtree size of the child changed: the offsets after it are stale.
  void childSizeChanged(const TreeNode* child);
  void forgetOffsets();
  void relayout(uint32_t frontRoom, uint32_t capacity);
  void numberSlots() const;
  void computeOffsets() const;

  CompactText text_;
  int32_t imageIndex_ = 0;
  int32_t selectedIndex_ = 0;
  int32_t stateIndex_ = -1;
  int32_t overlayIndex_ = -1;
  Tinfo* record_ = nullptr;
  TreeNode* parent_ = nullptr;
  Children* kids_ = nullptr;
  uint32_t subtreeSize_ = 1;
  uint32_t slot_ = 0;
  uint32_t offset_ = 0;
  uint32_t doneTally_ = 0;
  bool expanded_ = false;
};

}  // namespace qm
