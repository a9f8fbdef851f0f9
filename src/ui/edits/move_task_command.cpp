#include "ui/edits/move_task_command.h"

#include "model/ttree.h"

namespace qm::ui {

MoveTaskCommand::MoveTaskCommand(Ttree& tree, const QString& text, TreeNode* task, TreeNode* newParent)
    : TaskCommand(tree, text, true),
      task_(task),
      oldParent_(task->parent()),
      oldRow_(task->row()),
      newParent_(newParent),
      oldParentExpanded_(task->parent()->expanded()),
      newParentExpanded_(newParent != nullptr && newParent->expanded()) {
  changed_ = task;
  // The rule collapses the whole subtree, so this walk costs what it does.
  std::vector<TreeNode*> pending{task};
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    if (n->expanded()) expandedInside_.push_back(n);
    pending.insert(pending.end(), n->children().begin(), n->children().end());
  }
}

bool MoveTaskCommand::moved() const { return task_->parent() != oldParent_ || task_->row() != oldRow_; }

bool MoveTaskCommand::changedAnything() const {
  return moved() || !expandedInside_.empty() || oldParent_->expanded() != oldParentExpanded_ ||
         (newParent_ != nullptr && newParent_->expanded() != newParentExpanded_);
}

void MoveTaskCommand::apply() { tree_.moveNode(task_, newParent_); }

void MoveTaskCommand::revert() {
  tree_.moveNodeTo(task_, oldParent_, oldRow_);
  for (TreeNode* n : expandedInside_) tree_.setExpanded(n, true);
  tree_.setExpanded(oldParent_, oldParentExpanded_);
  if (newParent_ != nullptr) tree_.setExpanded(newParent_, newParentExpanded_);
}

}  // namespace qm::ui
