#pragma once

#include "model/ttree.h"
#include "ui/edits/task_command.h"

namespace qm::ui {

// Delete Node: the task and its subtree are taken out whole, records
// included, and put back at the same place.
class DeleteTaskCommand : public TaskCommand {
 public:
  DeleteTaskCommand(Ttree& tree, TreeNode* task);

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  TreeNode* parent_;
  size_t row_;
  bool parentExpanded_;
  Ttree::TakenSubtree away_;  // while done
};

}  // namespace qm::ui
