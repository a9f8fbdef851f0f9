#include "ui/outline/insert_task_at_command.h"

namespace qm::ui {

InsertTaskAtCommand::InsertTaskAtCommand(Ttree& tree, const QString& text, TreeNode* inserted,
                                         TreeNode* anchor, OpenedAncestors opened)
    : TaskCommand(tree, text, true),
      task_(inserted),
      anchor_(anchor),
      parent_(inserted->parent()),
      row_(inserted->row()),
      opened_(std::move(opened)) {
  changed_ = inserted;
}

void InsertTaskAtCommand::apply() {
  opened_.open(tree_, parent_);
  tree_.putBack(away_, parent_, row_);
  changed_ = task_;
}

void InsertTaskAtCommand::revert() {
  changed_ = anchor_ != nullptr ? anchor_ : tree_.nodeDisplayedAbove(task_);
  away_ = tree_.takeSubtree(task_);
  opened_.close(tree_);
}

}  // namespace qm::ui
