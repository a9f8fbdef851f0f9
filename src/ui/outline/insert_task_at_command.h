#pragma once

#include "model/ttree.h"
#include "ui/edits/task_command.h"
#include "ui/outline/opened_ancestors.h"

namespace qm::ui {

// Insert Below and Insert Child: a new task at a given place, shown by
// expanding the tasks above it. Undone, it is taken out with its record,
// and the selection goes back to the task it was inserted next to or under.
class InsertTaskAtCommand : public TaskCommand {
 public:
  // Made after the insert; `opened` holds what was expanded for it.
  // anchor: the task selected before, nullptr for none.
  InsertTaskAtCommand(Ttree& tree, const QString& text, TreeNode* inserted, TreeNode* anchor,
                      OpenedAncestors opened);

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  TreeNode* anchor_;
  TreeNode* parent_;
  size_t row_;
  OpenedAncestors opened_;
  Ttree::TakenSubtree away_;  // while undone
};

}  // namespace qm::ui
