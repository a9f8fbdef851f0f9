#include "ui/outline/outline_places.h"

#include "model/tree_node.h"

namespace qm::ui {

std::optional<TaskPlace> placeAfter(OutlineMove move, const TreeNode& task) {
  TreeNode* parent = task.parent();
  const size_t row = task.row();
  switch (move) {
    case OutlineMove::Up:
      if (row == 0) return std::nullopt;
      return TaskPlace{parent, row - 1};
    case OutlineMove::Down:
      if (row + 1 >= parent->childCount()) return std::nullopt;
      return TaskPlace{parent, row + 1};
    case OutlineMove::Indent: {
      if (row == 0) return std::nullopt;
      TreeNode* previous = parent->child(row - 1);
      return TaskPlace{previous, previous->childCount()};
    }
    case OutlineMove::Outdent:
      if (parent->isRoot()) return std::nullopt;
      return TaskPlace{parent->parent(), parent->row() + 1};
  }
  return std::nullopt;
}

}  // namespace qm::ui
