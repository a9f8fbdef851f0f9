#include "ui/edits/insert_task_command.h"

namespace qm::ui {

InsertTaskCommand::InsertTaskCommand(Ttree& tree, TreeNode* inserted)
    : TaskCommand(tree, QStringLiteral("Insert Node"), true), task_(inserted) {
  changed_ = inserted;
}

void InsertTaskCommand::apply() {
  tree_.putBack(away_, nullptr, tree_.topLevelCount());
  changed_ = task_;
}

void InsertTaskCommand::revert() {
  changed_ = tree_.nodeDisplayedAbove(task_);
  away_ = tree_.takeSubtree(task_);
}

}  // namespace qm::ui
