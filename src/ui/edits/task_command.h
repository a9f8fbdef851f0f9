#pragma once

#include <QUndoCommand>

namespace qm {
class Ttree;
class TreeNode;
}  // namespace qm

namespace qm::ui {

// One undoable edit of a task list. Nodes named by the commands of a stack
// stay alive while the stack holds them: a deleted subtree is only taken
// out, and the stack is cleared before its tree goes.
class TaskCommand : public QUndoCommand {
 public:
  // alreadyDone: the edit has been made; the stack's first redo, at the
  // push, then does nothing.
  TaskCommand(Ttree& tree, const QString& text, bool alreadyDone)
      : QUndoCommand(text), tree_(tree), skipRedo_(alreadyDone) {}

  // The task to select after the last undo or redo; nullptr for none.
  TreeNode* changedTask() const { return changed_; }

  void undo() final { revert(); }
  void redo() final {
    if (skipRedo_) {
      skipRedo_ = false;
      return;
    }
    apply();
  }

 protected:
  virtual void apply() = 0;
  virtual void revert() = 0;

  Ttree& tree_;
  TreeNode* changed_ = nullptr;

 private:
  bool skipRedo_;
};

}  // namespace qm::ui
