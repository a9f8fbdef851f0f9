#pragma once

#include <vector>

#include "ui/edits/task_command.h"

namespace qm::ui {

// Indent and drop: the moving rule, and back to the old parent and row with
// every expanded state that the rule changed.
class MoveTaskCommand : public TaskCommand {
 public:
  // Made before the move, which it then watches being done.
  MoveTaskCommand(Ttree& tree, const QString& text, TreeNode* task, TreeNode* newParent);
  // Whether the move took the task to another place.
  bool moved() const;
  // Whether it changed anything, expanded states included: a task kept in
  // its place is still collapsed, which is worth a step of its own.
  bool changedAnything() const;

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  TreeNode* oldParent_;
  size_t oldRow_;
  TreeNode* newParent_;  // nullptr: the top level
  bool oldParentExpanded_;
  bool newParentExpanded_;
  std::vector<TreeNode*> expandedInside_;  // the task and descendants that were expanded
};

}  // namespace qm::ui
