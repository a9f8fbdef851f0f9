#pragma once

#include <cstdint>
#include <string_view>

#include "model/tree_node.h"

namespace qm::cli {

// Image 12 of the main window's image list is the ticked box of a completed
// task; every other picture counts as not done.
inline constexpr int32_t kCompletedImage = 12;

inline std::string_view checkBox(const TreeNode& node) {
  return node.imageIndex() == kCompletedImage ? "[x]" : "[ ]";
}

}  // namespace qm::cli
