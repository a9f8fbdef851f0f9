#pragma once

#include "model/ttree.h"
#include "ui/edits/task_command.h"

namespace qm::ui {

// Insert Node: the new task, appended at the end of the top level.
class InsertTaskCommand : public TaskCommand {
 public:
  InsertTaskCommand(Ttree& tree, TreeNode* inserted);

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  Ttree::TakenSubtree away_;  // while undone
};

}  // namespace qm::ui
