#include "ui/edits/rename_task_command.h"

#include "model/ttree.h"

namespace qm::ui {

RenameTaskCommand::RenameTaskCommand(Ttree& tree, TreeNode* task, std::string oldTitle)
    : TaskCommand(tree, QStringLiteral("Rename"), true),
      task_(task),
      oldTitle_(std::move(oldTitle)),
      newTitle_(task->text()) {
  changed_ = task;
}

void RenameTaskCommand::apply() { tree_.setText(task_, newTitle_); }

void RenameTaskCommand::revert() { tree_.setText(task_, oldTitle_); }

}  // namespace qm::ui
