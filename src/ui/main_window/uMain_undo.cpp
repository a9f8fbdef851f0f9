// Undo and redo of the main window's edits: the Edit menu's items after the
// document's ones, and the steps the editing commands record.
#include <QMenu>
#include <QUndoStack>

#include "model/ttree.h"
#include "ui/edits/command.h"
#include "ui/edits/task_command.h"
#include "ui/main_window/uMain.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {
namespace {

constexpr int kKeptSteps = 1000;

// "&Undo Delete Node", or "&Undo" when there is no step.
QString stepItemText(const QString& verb, const QString& step) {
  return step.isEmpty() ? verb : verb + u' ' + step;
}

}  // namespace

void TfrmMain::buildUndoItems() {
  undoStack_ = new QUndoStack(this);
  undoStack_->setUndoLimit(kKeptSteps);

  N3 = mnuEdit->addSeparator();
  N3->setObjectName(QStringLiteral("N3"));
  const QString undo = QStringLiteral("&Undo");
  const QString redo = QStringLiteral("&Redo");
  mnuUndo = mnuEdit->addAction(undo);
  mnuUndo->setObjectName(QStringLiteral("mnuUndo"));
  mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  mnuUndo->setEnabled(false);
  mnuRedo = mnuEdit->addAction(redo);
  mnuRedo->setObjectName(QStringLiteral("mnuRedo"));
  mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  mnuRedo->setEnabled(false);

  connect(undoStack_, &QUndoStack::canUndoChanged, mnuUndo, &QAction::setEnabled);
  connect(undoStack_, &QUndoStack::canRedoChanged, mnuRedo, &QAction::setEnabled);
  connect(undoStack_, &QUndoStack::undoTextChanged, mnuUndo,
          [this, undo](const QString& step) { mnuUndo->setText(stepItemText(undo, step)); });
  connect(undoStack_, &QUndoStack::redoTextChanged, mnuRedo,
          [this, redo](const QString& step) { mnuRedo->setText(stepItemText(redo, step)); });
  bindCommand(mnuUndo, &TfrmMain::mnuUndoClick);
  bindCommand(mnuRedo, &TfrmMain::mnuRedoClick);
}

void TfrmMain::pushStep(TaskCommand* step) { undoStack_->push(step); }

void TfrmMain::mnuUndoClick(QObject* /*Sender*/) { takeStep(true); }

void TfrmMain::mnuRedoClick(QObject* /*Sender*/) { takeStep(false); }

void TfrmMain::takeStep(bool back) {
  if (!tree_) return;
  // An open title edit is confirmed first, and may itself be the step.
  treeView_->finishEditing();
  const int index = undoStack_->index();
  if (back ? !undoStack_->canUndo() : !undoStack_->canRedo()) return;
  const auto* step = static_cast<const TaskCommand*>(undoStack_->command(back ? index - 1 : index));
  if (back)
    undoStack_->undo();
  else
    undoStack_->redo();
  setTag(1);
  TreeNode* task = step->changedTask();
  tree_->select(task);
  // Scrolling to a hidden task would expand its parents, which the step
  // has just set as they were.
  if (task != nullptr && tree_->isDisplayed(task)) treeView_->scrollTo(treeModel_->indexOf(task));
  showTaskCount();
}

}  // namespace qm::ui
