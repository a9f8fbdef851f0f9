#include "model/tree_node.h"

namespace qm {

size_t TreeNode::depth() const {
  size_t d = 0;
  for (const TreeNode* n = parent_; n != nullptr && n->parent_ != nullptr; n = n->parent_) ++d;
  return d;
}

}  // namespace qm
