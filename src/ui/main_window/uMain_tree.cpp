// The task tree view of the main window and the commands that edit it.
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <new>

#include "model/error.h"
#include "model/ttree.h"
#include "platform/desktop.h"
#include "ui/edits/command.h"
#include "ui/edits/complete_task_command.h"
#include "ui/edits/delete_task_command.h"
#include "ui/edits/insert_task_command.h"
#include "ui/edits/move_task_command.h"
#include "ui/edits/rename_task_command.h"
#include "ui/find/find_bar.h"
#include "ui/looks/readable_colours.h"
#include "ui/main_window/main_window_style.h"
#include "ui/main_window/uMain.h"
#include "ui/safety/recovery.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {
namespace {

const QString kNewListPrompt = QStringLiteral("Do you want to save before creating a new task list?");
const char* const kNewTaskTitle = " ";

void applyLooks(TaskTreeView& view, const TreeSettings& settings) {
  QPalette palette = view.palette();
  QColor color = colorFromBgr(settings.color);
  palette.setColor(QPalette::Base, color);
  palette.setColor(QPalette::Window, color);
  // The selection stays plain to see without the focus too: a task that
  // find lands on is selected while the find bar has the focus.
  makeSelectionReadable(palette);
  view.setPalette(palette);
  view.setFrameStyle(settings.borderStyle == BorderStyle::bsSingle ? QFrame::StyledPanel | QFrame::Sunken
                                                                   : QFrame::NoFrame);
}

}  // namespace

// --- creating the view

void TfrmMain::cmdCreateTreeClick(QObject* Sender) {
  // The name goes first, whatever the answer to the prompt.
  setFileName(QString());
  if (tree_) {
    switch (platform::desktop().askSave(this, kNewListPrompt)) {
      case platform::SaveAnswer::Yes:
        saveList();  // with the name gone, this asks for one
        break;
      case platform::SaveAnswer::No:
        discardTaskTreeView();
        cmdCreateTreeClick(Sender);
        break;
      case platform::SaveAnswer::Cancel:
        break;
    }
  } else {
    createTaskTreeView();
  }
  showTaskCount();
  setPanelText(0, fileName_);
}

void TfrmMain::createTaskTreeView() {
  auto tree = std::make_unique<Ttree>();
  tree->setSettings(TreeSettings::mainWindowInitial());
  createTaskTreeView(std::move(tree));
  insertTask();
  forgetList();  // a new blank list holds nothing to recover
}

void TfrmMain::createTaskTreeView(std::unique_ptr<Ttree> tree) {
  for (QAction* item : {mnuSave, SaveAs1, mnuInsert, Delete1, mnuProperties}) item->setEnabled(true);
  btnInsertNode->setEnabled(true);

  tree_ = std::move(tree);
  changes_->follow(tree_.get());
  treeModel_ = new TaskTreeModel(*tree_, imageList1_, this);
  treeView_ = new TaskTreeView(clientArea_);
  treeView_->setObjectName(QStringLiteral("Tree"));
  treeView_->setFont(font());
  treeView_->setTaskModel(treeModel_);
  applyLooks(*treeView_, tree_->settings());
  // The tree's place is the one above the find bar.
  QLayoutItem* keptSpace = clientLayout_->itemAt(clientLayout_->indexOf(findBar_) - 1);
  if (keptSpace != nullptr && keptSpace->spacerItem() != nullptr)
    delete clientLayout_->takeAt(clientLayout_->indexOf(findBar_) - 1);
  clientLayout_->insertWidget(clientLayout_->indexOf(findBar_), treeView_, 1);
  treeView_->show();
  wireTreeEvents();
  attachFindBar();
  attachOutline();
  attachDueViews();
}

void TfrmMain::applyTreeLooks() {
  if (treeView_ != nullptr) applyLooks(*treeView_, tree_->settings());
}

void TfrmMain::discardTaskTreeView() {
  if (!tree_) return;
  clientLayout_->removeWidget(treeView_);
  treeView_->hide();
  treeView_->events = {};
  treeView_->deleteLater();
  treeModel_->deleteLater();  // after the view, which uses it until then
  treeView_ = nullptr;
  treeModel_ = nullptr;
  forgetList();
  tree_.reset();
  readFrom_.clear();
  clientLayout_->insertStretch(clientLayout_->indexOf(findBar_), 1);
}

void TfrmMain::wireTreeEvents() {
  TaskTreeEvents& events = treeView_->events;
  events.onClick = [this] { runCommand(this, [this] { TreeNodeClick(treeView_); }); };
  events.onFocusEntry = [this] { runCommand(this, [this] { TreeNodeClick(treeView_); }); };
  events.onKeyDown = [this](int& key, Qt::KeyboardModifiers modifiers) {
    runCommand(this, [&] { FormKeyDown(treeView_, key, modifiers); });
  };
  events.onMouseDown = [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point) {
    runCommand(this, [&] { TreeNodeMouseDown(treeView_, button, modifiers, point.x(), point.y()); });
  };
  events.onDragOver = [this](QObject* source, QPoint point, DragState state, bool& accept) {
    runCommand(this, [&] { TreeDragOver(treeView_, source, point.x(), point.y(), state, accept); });
  };
  events.onDragDrop = [this](QObject* source, QPoint point) {
    runCommand(this, [&] { TreeDragDrop(treeView_, source, point.x(), point.y()); });
  };
  // The tree's settings are what a saved list records of the control.
  events.onGeometryChanged = [this](QRect geometry) {
    TreeSettings settings = tree_->settings();
    settings.left = geometry.left();
    settings.top = geometry.top();
    settings.width = geometry.width();
    settings.height = geometry.height();
    tree_->setSettings(settings);
  };
  connect(treeModel_, &TaskTreeModel::titleEdited, this,
          [this](const QModelIndex& index, const QByteArray& old) {
            setTag(1);
            pushStep(new RenameTaskCommand(*tree_, treeModel_->nodeOf(index), old.toStdString()));
          });
  // A list read from a file brings the control's colour and border with it.
  connect(treeModel_, &TaskTreeModel::treeWasReset, this, [this] { applyTreeLooks(); });
  events.onDoubleClick = [this] { runCommand(this, [this] { setProperties(treeView_); }); };
}

// --- editing commands

void TfrmMain::cmdNewNodeClick(QObject* /*Sender*/) {
  if (!tree_) return;
  pushStep(new InsertTaskCommand(*tree_, insertTask()));
  setTag(1);
}

TreeNode* TfrmMain::insertTask(TreeNode* parent, size_t row) {
  Tinfo* record = tree_->createRecord();
  TreeNode* task = nullptr;
  try {
    task = tree_->insertNode(parent, row, kNewTaskTitle, record);
  } catch (const std::bad_alloc&) {
    tree_->deleteComponent(record);
    qm::raise("Unable to insert an item");
  }
  treeView_->editTitle(task);
  tree_->select(task);
  enableTaskButtons();
  showTaskCount();
  return task;
}

void TfrmMain::tbDeleteNodeClick(QObject* /*Sender*/) {
  if (!tree_ || tree_->selected() == nullptr) return;
  // Taken out rather than destroyed, so that undo can put it back.
  auto* step = new DeleteTaskCommand(*tree_, tree_->selected());
  pushStep(step);
  tree_->select(step->changedTask());
  treeView_->viewport()->update();
  showTaskCount();
  setTag(1);
}

void TfrmMain::Complete1Click(QObject* /*Sender*/) {
  if (!tree_ || tree_->selected() == nullptr) return;
  TreeNode* task = tree_->selected();
  const bool done =
      task->imageIndex() == CompleteTaskCommand::kCompletedImage &&
      (task->record() == nullptr || task->record()->icon == CompleteTaskCommand::kCompletedImage);
  if (!done) pushStep(new CompleteTaskCommand(*tree_, task));
  RefreshNode(task);
  treeView_->viewport()->update();
  update();
  setTag(1);
}

void TfrmMain::RefreshNode(TreeNode* Node) {
  if (Node == nullptr || treeView_ == nullptr || !tree_->isDisplayed(Node)) return;
  QRect row = treeView_->visualRect(treeModel_->indexOf(Node));
  row.setLeft(0);
  row.setRight(treeView_->viewport()->width());
  treeView_->viewport()->update(row);
}

void TfrmMain::enableTaskButtons() {
  for (QToolButton* button : {btnSaveTaskList, btnDeleteNode, btnProperties, btnInsertNode})
    button->setEnabled(true);
}

void TfrmMain::showTaskCount() {
  if (tree_) setPanelText(1, QString::number(tree_->nodeCount()));
}

// --- the view's events

void TfrmMain::TreeNodeClick(QObject* /*Sender*/) {
  setTag(1);
  if (!tree_) return;
  TreeNode* task = tree_->selected();
  if (task != nullptr && task->record() != nullptr) tree_->setImageIndex(task, task->record()->icon);
}

void TfrmMain::FormKeyDown(QObject* /*Sender*/, int& Key, Qt::KeyboardModifiers Shift) {
  if (!tree_) return;
  if (Key == Qt::Key_F2) {
    if (TreeNode* task = tree_->selected()) treeView_->editTitle(task);
  } else if ((Key == Qt::Key_Tab || Key == Qt::Key_Backtab) && Shift.testFlag(Qt::ControlModifier)) {
    indentSelectedTask();
  }
}

void TfrmMain::indentSelectedTask() {
  TreeNode* task = tree_->selected();
  if (task == nullptr) return;
  TreeNode* above = tree_->nodeDisplayedAbove(task);
  moveTask(task, above, QStringLiteral("Indent"));
  tree_->select(above);
}

void TfrmMain::moveTask(TreeNode* task, TreeNode* newParent, const QString& stepName) {
  auto step = std::make_unique<MoveTaskCommand>(*tree_, stepName, task, newParent);
  tree_->moveNode(task, newParent);
  if (step->moved()) setTag(1);
  if (step->changedAnything()) pushStep(step.release());
}

void TfrmMain::TreeDragOver(QObject* /*Sender*/, QObject* /*Source*/, int /*X*/, int /*Y*/,
                            DragState /*State*/, bool& Accept) {
  Accept = true;
}

void TfrmMain::TreeDragDrop(QObject* /*Sender*/, QObject* /*Source*/, int X, int Y) {
  if (!tree_) return;
  TreeNode* target = treeView_->nodeAt(QPoint(X, Y));
  TreeNode* task = tree_->selected();
  if (target == nullptr || task == nullptr) return;
  moveTask(task, target, QStringLiteral("Move"));
  tree_->select(target);
}

void TfrmMain::TreeNodeMouseDown(QObject* /*Sender*/, Qt::MouseButton /*Button*/,
                                 Qt::KeyboardModifiers /*Shift*/, int /*X*/, int /*Y*/) {
  // Wired, and deliberately empty: a press does nothing of its own.
}

}  // namespace qm::ui
