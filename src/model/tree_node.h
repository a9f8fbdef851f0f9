#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class Tinfo;
class Ttree;

// One task as the tree holds it. Fields change only through Ttree, so that
// every change reaches the tree's observers.
class TreeNode {
 public:
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
  size_t row() const { return row_; }
  size_t childCount() const { return children_.size(); }
  bool hasChildren() const { return !children_.empty(); }
  TreeNode* child(size_t row) const { return children_[row]; }
  const std::vector<TreeNode*>& children() const { return children_; }
  // This node and all its descendants.
  size_t subtreeSize() const { return subtreeSize_; }
  size_t depth() const;

 private:
  friend class Ttree;

  std::string text_;
  int32_t imageIndex_ = 0;
  int32_t selectedIndex_ = 0;
  int32_t stateIndex_ = -1;
  int32_t overlayIndex_ = -1;
  Tinfo* record_ = nullptr;
  TreeNode* parent_ = nullptr;
  std::vector<TreeNode*> children_;
  size_t subtreeSize_ = 1;
  uint32_t row_ = 0;
  bool expanded_ = false;
};

}  // namespace qm
