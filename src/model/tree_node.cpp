#include "model/tree_node.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qm {

TreeNode::~TreeNode() { dropChildren(); }

size_t TreeNode::depth() const {
  size_t d = 0;
  for (const TreeNode* n = parent_; n != nullptr && n->parent_ != nullptr; n = n->parent_) ++d;
  return d;
}

size_t TreeNode::row() const {
  if (parent_ == nullptr) return 0;
  return parent_->slotOf(this) - parent_->kids_->begin;
}

void TreeNode::dropChildren() {
  ::operator delete(kids_);
  kids_ = nullptr;
}

void TreeNode::relayout(uint32_t frontRoom, uint32_t capacity) {
  uint32_t count = static_cast<uint32_t>(childCount());
  void* memory = ::operator new (sizeof(Children) + size_t{capacity} * sizeof(TreeNode*));
  auto* fresh =
      new (memory) Children{capacity, frontRoom, frontRoom + count, frontRoom + count, frontRoom, 0};
  if (kids_ != nullptr) {
    Children& old = *kids_;
    std::memcpy(fresh->array() + frontRoom, old.array() + old.begin, size_t{count} * sizeof(TreeNode*));
    fresh->offsetBias = old.offsetBias;
    fresh->offsetsValidTo = frontRoom + (old.offsetsValidTo - old.begin);
    if (frontRoom == old.begin) {
      fresh->slotsValidTo = old.slotsValidTo;  // nobody moved
    } else {
      for (uint32_t s = fresh->begin; s < fresh->end; ++s) fresh->array()[s]->slot_ = s;
    }
  }
  ::operator delete(kids_);
  kids_ = fresh;
}

void TreeNode::makeRoomAtBack() {
  if (kids_ != nullptr && kids_->end < kids_->capacity) return;
  uint32_t count = static_cast<uint32_t>(childCount());
  // Room freed at the front by removals is given back, up to half the count.
  uint32_t front = kids_ != nullptr ? std::min(kids_->begin, count / 2) : 0;
  relayout(front, front + std::max<uint32_t>(4, 2 * count));
}

void TreeNode::pushBack(TreeNode* child) {
  makeRoomAtBack();
  Children& k = *kids_;
  child->slot_ = k.end;
  k.array()[k.end] = child;
  if (k.slotsValidTo == k.end) ++k.slotsValidTo;
  ++k.end;
}

void TreeNode::pushFront(TreeNode* child) {
  if (kids_ == nullptr || kids_->begin == 0) {
    uint32_t count = static_cast<uint32_t>(childCount());
    // Room freed at the back by removals is given back, up to half the count.
    uint32_t back = kids_ != nullptr ? std::min(kids_->capacity - kids_->end, count / 2) : 0;
    uint32_t front = std::max<uint32_t>(4, count);
    relayout(front, front + count + back);
  }
  Children& k = *kids_;
  --k.begin;
  k.array()[k.begin] = child;
  child->slot_ = k.begin;
  // Every sibling's offset grows by the newcomer's subtree; its own is 0.
  k.offsetBias += child->subtreeSize_;
  child->offset_ = 0u - k.offsetBias;
}

void TreeNode::insertAt(size_t row, TreeNode* child) {
  const size_t count = childCount();
  if (row >= count) return pushBack(child);
  if (row == 0 && kids_->begin > 0) return pushFront(child);
  makeRoomAtBack();
  Children& k = *kids_;
  const uint32_t s = k.begin + static_cast<uint32_t>(row);
  TreeNode** slots = k.array();
  std::memmove(slots + s + 1, slots + s, size_t{k.end - s} * sizeof(TreeNode*));
  slots[s] = child;
  child->slot_ = s;
  ++k.end;
  k.slotsValidTo = std::min(k.slotsValidTo, s);
  k.offsetsValidTo = std::min(k.offsetsValidTo, s);
}

void TreeNode::moveChild(size_t from, size_t to) {
  if (from == to) return;
  Children& k = *kids_;
  TreeNode** rows = k.array() + k.begin;
  TreeNode* moving = rows[from];
  if (from < to)
    std::memmove(rows + from, rows + from + 1, (to - from) * sizeof(TreeNode*));
  else
    std::memmove(rows + to + 1, rows + to, (from - to) * sizeof(TreeNode*));
  rows[to] = moving;
  const size_t low = std::min(from, to);
  const size_t high = std::max(from, to);
  for (size_t r = low; r <= high; ++r) rows[r]->slot_ = k.begin + static_cast<uint32_t>(r);
  // The siblings after `high` keep their offsets; those in between are
  // recounted from the one before them when it knows its own.
  if (k.begin + high >= k.offsetsValidTo) {
    k.offsetsValidTo = std::min(k.offsetsValidTo, k.begin + static_cast<uint32_t>(low));
    return;
  }
  uint32_t offset = low == 0 ? 0 : rows[low - 1]->offset_ + k.offsetBias + rows[low - 1]->subtreeSize_;
  for (size_t r = low; r <= high; ++r) {
    rows[r]->offset_ = offset - k.offsetBias;
    offset += rows[r]->subtreeSize_;
  }
}

void TreeNode::remove(TreeNode* child) {
  uint32_t s = slotOf(child);
  Children& k = *kids_;
  if (s == k.begin) {
    ++k.begin;
    k.offsetBias -= child->subtreeSize_;
    k.slotsValidTo = std::max(k.slotsValidTo, k.begin);
    k.offsetsValidTo = std::max(k.offsetsValidTo, k.begin);
  } else {
    if (s + 1 < k.end) {
      TreeNode** slots = k.array();
      std::memmove(slots + s, slots + s + 1, size_t{k.end - s - 1} * sizeof(TreeNode*));
    }
    --k.end;
    k.slotsValidTo = std::min(k.slotsValidTo, s);
    k.offsetsValidTo = std::min(k.offsetsValidTo, s);
  }
  if (k.begin == k.end) dropChildren();
}

void TreeNode::numberSlots() const {
  Children& k = *kids_;
  TreeNode** slots = k.array();
  for (uint32_t s = k.slotsValidTo; s < k.end; ++s) slots[s]->slot_ = s;
  k.slotsValidTo = k.end;
}

uint32_t TreeNode::slotOf(const TreeNode* child) const {
  if (child->slot_ >= kids_->slotsValidTo) numberSlots();
  return child->slot_;
}

void TreeNode::computeOffsets() const {
  numberSlots();  // offsets are never current where slots are not
  Children& k = *kids_;
  TreeNode** slots = k.array();
  uint32_t s = k.offsetsValidTo;
  uint32_t offset = 0;
  if (s > k.begin) offset = slots[s - 1]->offset_ + k.offsetBias + slots[s - 1]->subtreeSize_;
  for (; s < k.end; ++s) {
    slots[s]->offset_ = offset - k.offsetBias;
    offset += slots[s]->subtreeSize_;
  }
  k.offsetsValidTo = k.end;
}

uint32_t TreeNode::offsetOf(const TreeNode* child) const {
  uint32_t s = slotOf(child);
  if (s >= kids_->offsetsValidTo) computeOffsets();
  return child->offset_ + kids_->offsetBias;
}

TreeNode* TreeNode::childCovering(uint32_t index) const {
  if (kids_->offsetsValidTo < kids_->end) computeOffsets();
  const Children& k = *kids_;
  TreeNode** first = kids_->array() + k.begin;
  TreeNode** last = kids_->array() + k.end;
  uint32_t bias = k.offsetBias;
  // The last child whose offset is not beyond the index.
  TreeNode** after = std::upper_bound(
      first, last, index, [bias](uint32_t i, const TreeNode* c) { return i < c->offset_ + bias; });
  return *(after - 1);
}

void TreeNode::childSizeChanged(const TreeNode* child) {
  // A stale slot is never below offsetsValidTo, so it changes nothing here.
  if (child->slot_ + 1 < kids_->offsetsValidTo) kids_->offsetsValidTo = child->slot_ + 1;
}

void TreeNode::forgetOffsets() {
  if (kids_ != nullptr) kids_->offsetsValidTo = kids_->begin;
}

}  // namespace qm
