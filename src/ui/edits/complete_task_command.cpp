#include "ui/edits/complete_task_command.h"

#include "model/ttree.h"

namespace qm::ui {

CompleteTaskCommand::CompleteTaskCommand(Ttree& tree, TreeNode* task)
    : TaskCommand(tree, QStringLiteral("Complete"), false),
      task_(task),
      oldImage_(task->imageIndex()),
      oldIcon_(task->record() != nullptr ? task->record()->icon : 0) {
  changed_ = task;
}

// A task without a record gets only the picture.
void CompleteTaskCommand::apply() {
  tree_.setImageIndex(task_, kCompletedImage);
  if (Tinfo* record = task_->record()) record->icon = task_->imageIndex();
  tree_.recordChanged(task_);
}

void CompleteTaskCommand::revert() {
  tree_.setImageIndex(task_, oldImage_);
  if (Tinfo* record = task_->record()) record->icon = oldIcon_;
  tree_.recordChanged(task_);
}

}  // namespace qm::ui
