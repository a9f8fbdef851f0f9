#include "ui/outline/reopen_task_command.h"

#include "model/task_dates.h"
#include "model/ttree.h"

namespace qm::ui {
namespace {

constexpr std::string_view kNotStartedStatus = "Not Started";

}  // namespace

ReopenTaskCommand::ReopenTaskCommand(Ttree& tree, const QString& text, TreeNode* task)
    : TaskCommand(tree, text, false),
      task_(task),
      oldImage_(task->imageIndex()),
      oldIcon_(task->record() != nullptr ? task->record()->icon : 0),
      oldStatus_(task->record() != nullptr ? task->record()->status.str() : std::string()) {
  changed_ = task;
}

void ReopenTaskCommand::apply() {
  tree_.setImageIndex(task_, kBlankBoxImage);
  if (Tinfo* record = task_->record()) {
    record->icon = kBlankBoxImage;
    if (record->status == kCompleteStatus) record->status = kNotStartedStatus;
  }
  tree_.recordChanged(task_);  // the done counts and the agenda read the record
}

void ReopenTaskCommand::revert() {
  tree_.setImageIndex(task_, oldImage_);
  if (Tinfo* record = task_->record()) {
    record->icon = oldIcon_;
    record->status = oldStatus_;
  }
  tree_.recordChanged(task_);
}

}  // namespace qm::ui
