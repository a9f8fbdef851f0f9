#pragma once

#include <cstddef>
#include <optional>

namespace qm {
class TreeNode;
}

namespace qm::ui {

// The keyboard's ways of reshaping the outline around one task.
enum class OutlineMove {
  Up,       // before its previous sibling
  Down,     // after its next sibling
  Indent,   // the last child of its previous sibling
  Outdent,  // its parent's next sibling, right after the parent
};

// A place in the tree: child `row` of `parent` (the hidden root for the top
// level), the row counted without the task that goes there.
struct TaskPlace {
  TreeNode* parent;
  size_t row;
};

// Where the move takes the task; nullopt where it does nothing (Up on a
// first sibling, Down on a last one, Indent without a previous sibling,
// Outdent at the top level). O(1) once the task's row is known.
std::optional<TaskPlace> placeAfter(OutlineMove move, const TreeNode& task);

}  // namespace qm::ui
