#pragma once

#include "ui/edits/task_command.h"
#include "ui/outline/opened_ancestors.h"
#include "ui/outline/outline_places.h"

namespace qm::ui {

// Move Up, Move Down, Indent and Outdent: the task with its subtree goes to
// another place, every expanded state inside it kept, and the tasks above
// the new place are expanded so that it shows. Undone, it goes back to its
// old row and what was expanded for it is collapsed again.
class PlaceTaskCommand : public TaskCommand {
 public:
  // Made before the move, which its first redo makes.
  PlaceTaskCommand(Ttree& tree, const QString& text, TreeNode* task, TaskPlace to);

 protected:
  void apply() override;
  void revert() override;

 private:
  TreeNode* task_;
  TaskPlace from_;
  TaskPlace to_;
  OpenedAncestors opened_;
};

}  // namespace qm::ui
