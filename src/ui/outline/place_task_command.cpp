#include "ui/outline/place_task_command.h"

#include "model/ttree.h"

namespace qm::ui {

PlaceTaskCommand::PlaceTaskCommand(Ttree& tree, const QString& text, TreeNode* task, TaskPlace to)
    : TaskCommand(tree, text, false), task_(task), from_{task->parent(), task->row()}, to_(to) {
  changed_ = task;
}

void PlaceTaskCommand::apply() {
  tree_.moveNodeTo(task_, to_.parent, to_.row);
  opened_.open(tree_, to_.parent);
}

void PlaceTaskCommand::revert() {
  tree_.moveNodeTo(task_, from_.parent, from_.row);
  opened_.close(tree_);
}

}  // namespace qm::ui
