#include "ui/edits/delete_task_command.h"

namespace qm::ui {
namespace {

// The task that takes the selection when the selected one is deleted: the
// next sibling, else the previous one, else the parent.
TreeNode* successorAfterDeleting(const TreeNode* node) {
  TreeNode* parent = node->parent();
  if (node->row() + 1 < parent->childCount()) return parent->child(node->row() + 1);
  if (node->row() > 0) return parent->child(node->row() - 1);
  return parent->isRoot() ? nullptr : parent;
}

}  // namespace

DeleteTaskCommand::DeleteTaskCommand(Ttree& tree, TreeNode* task)
    : TaskCommand(tree, QStringLiteral("Delete Node"), false),
      task_(task),
      parent_(task->parent()),
      row_(task->row()),
      parentExpanded_(task->parent()->expanded()) {}

void DeleteTaskCommand::apply() {
  changed_ = successorAfterDeleting(task_);
  away_ = tree_.takeSubtree(task_);
}

void DeleteTaskCommand::revert() {
  tree_.putBack(away_, parent_, row_);
  tree_.setExpanded(parent_, parentExpanded_);
  changed_ = task_;
}

}  // namespace qm::ui
