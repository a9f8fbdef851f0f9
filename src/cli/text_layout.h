#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "model/ttree.h"

namespace qm::cli {

// Indentation grows two spaces per level up to this depth and then stays put,
// so that a chain of a million nested tasks prints in linear, not quadratic,
// space. No hand-made list comes near it.
inline constexpr size_t kMaxIndentLevels = 40;

// Two spaces per level, capped as above.
std::string_view indentation(size_t level);

// The text with every line break (CR, LF or CR LF) and tab turned into one
// space, so that a title keeps to the one line it is given.
std::string singleLine(std::string_view text);

// Calls visit(node, depth) for every node in depth-first pre-order, without
// recursion; top-level nodes have depth 0.
void forEachInPreorder(const Ttree& tree, const std::function<void(const TreeNode&, size_t)>& visit);

}  // namespace qm::cli
