// Shaping the outline from the keyboard: the Edit menu's Outline items
// (move, indent, outdent, insert where the selection is, tick and untick)
// and the context menu's Reopen.
#include <QMenu>
#include <QToolButton>

#include "model/task_dates.h"
#include "model/ttree.h"
#include "ui/edits/complete_task_command.h"
#include "ui/main_window/uMain.h"
#include "ui/outline/insert_task_at_command.h"
#include "ui/outline/outline_places.h"
#include "ui/outline/place_task_command.h"
#include "ui/outline/reopen_task_command.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {
namespace {

QAction* addOutlineItem(QMenu* menu, const char* name, const QString& caption,
                        const QList<QKeySequence>& keys) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setShortcuts(keys);
  // The keys belong to the tree: elsewhere (the find bar, a title being
  // edited) they keep their usual meaning.
  item->setShortcutContext(Qt::WidgetShortcut);
  item->setEnabled(false);
  return item;
}

// "Move &Up" names its undo step "Move Up".
QString stepName(const QAction* item) { return QString(item->text()).remove(u'&'); }

}  // namespace

void TfrmMain::buildOutlineItems() {
  N5 = mnuEdit->addSeparator();
  N5->setObjectName(QStringLiteral("N5"));
  mnuOutline = mnuEdit->addMenu(QStringLiteral("O&utline"));
  mnuOutline->setObjectName(QStringLiteral("mnuOutline"));
  mnuOutline->menuAction()->setObjectName(QStringLiteral("mnuOutline"));
  mnuMoveUp = addOutlineItem(mnuOutline, "mnuMoveUp", QStringLiteral("Move &Up"), {Qt::ALT | Qt::Key_Up});
  mnuMoveDown =
      addOutlineItem(mnuOutline, "mnuMoveDown", QStringLiteral("Move &Down"), {Qt::ALT | Qt::Key_Down});
  mnuIndent = addOutlineItem(mnuOutline, "mnuIndent", QStringLiteral("&Indent"), {Qt::ALT | Qt::Key_Right});
  mnuOutdent = addOutlineItem(mnuOutline, "mnuOutdent", QStringLiteral("&Outdent"), {Qt::ALT | Qt::Key_Left});
  // Enter on the main keyboard and on the keypad.
  mnuInsertBelow = addOutlineItem(mnuOutline, "mnuInsertBelow", QStringLiteral("Insert &Below"),
                                  {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter});
  mnuInsertChild =
      addOutlineItem(mnuOutline, "mnuInsertChild", QStringLiteral("Insert &Child"),
                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Return, Qt::CTRL | Qt::SHIFT | Qt::Key_Enter});
  mnuToggleDone =
      addOutlineItem(mnuOutline, "mnuToggleDone", QStringLiteral("Toggle &Done"), {Qt::CTRL | Qt::Key_Space});
  bindCommand(mnuMoveUp, &TfrmMain::mnuMoveUpClick);
  bindCommand(mnuMoveDown, &TfrmMain::mnuMoveDownClick);
  bindCommand(mnuIndent, &TfrmMain::mnuIndentClick);
  bindCommand(mnuOutdent, &TfrmMain::mnuOutdentClick);
  bindCommand(mnuInsertBelow, &TfrmMain::mnuInsertBelowClick);
  bindCommand(mnuInsertChild, &TfrmMain::mnuInsertChildClick);
  bindCommand(mnuToggleDone, &TfrmMain::mnuToggleDoneClick);

  N6 = PopupMenu1->addSeparator();
  N6->setObjectName(QStringLiteral("N6"));
  Reopen1 = PopupMenu1->addAction(QStringLiteral("&Reopen"));
  Reopen1->setObjectName(QStringLiteral("Reopen1"));
  Reopen1->setEnabled(false);
  bindCommand(Reopen1, &TfrmMain::Reopen1Click);
  connect(PopupMenu1, &QMenu::aboutToShow, this, [this] {
    const TreeNode* task = tree_ ? tree_->selected() : nullptr;
    Reopen1->setEnabled(task != nullptr && isDone(*task));
  });
}

void TfrmMain::attachOutline() {
  for (QAction* item : mnuOutline->actions()) {
    item->setEnabled(true);
    treeView_->addAction(item);
  }
}

void TfrmMain::mnuMoveUpClick(QObject* /*Sender*/) { placeSelectedTask(OutlineMove::Up, mnuMoveUp); }

void TfrmMain::mnuMoveDownClick(QObject* /*Sender*/) { placeSelectedTask(OutlineMove::Down, mnuMoveDown); }

void TfrmMain::mnuIndentClick(QObject* /*Sender*/) { placeSelectedTask(OutlineMove::Indent, mnuIndent); }

void TfrmMain::mnuOutdentClick(QObject* /*Sender*/) { placeSelectedTask(OutlineMove::Outdent, mnuOutdent); }

void TfrmMain::placeSelectedTask(OutlineMove move, const QAction* item) {
  TreeNode* task = tree_ ? tree_->selected() : nullptr;
  if (task == nullptr) return;
  const std::optional<TaskPlace> to = placeAfter(move, *task);
  if (!to) return;
  treeView_->finishEditing();
  pushStep(new PlaceTaskCommand(*tree_, stepName(item), task, *to));
  setTag(1);
  tree_->select(task);
  treeView_->scrollTo(treeModel_->indexOf(task));
}

void TfrmMain::mnuInsertBelowClick(QObject* /*Sender*/) {
  if (!tree_) return;
  TreeNode* anchor = tree_->selected();
  if (anchor == nullptr)
    insertInOutline(mnuInsertBelow, nullptr, SIZE_MAX, nullptr);  // as Insert Node
  else
    insertInOutline(mnuInsertBelow, anchor->parent(), anchor->row() + 1, anchor);
}

void TfrmMain::mnuInsertChildClick(QObject* /*Sender*/) {
  TreeNode* anchor = tree_ ? tree_->selected() : nullptr;
  if (anchor != nullptr) insertInOutline(mnuInsertChild, anchor, SIZE_MAX, anchor);
}

void TfrmMain::insertInOutline(const QAction* item, TreeNode* parent, size_t row, TreeNode* anchor) {
  treeView_->finishEditing();
  OpenedAncestors opened;
  opened.open(*tree_, parent);
  TreeNode* task = nullptr;
  try {
    task = insertTask(parent, row);
  } catch (...) {
    opened.close(*tree_);
    throw;
  }
  pushStep(new InsertTaskAtCommand(*tree_, stepName(item), task, anchor, std::move(opened)));
  setTag(1);
}

void TfrmMain::mnuToggleDoneClick(QObject* /*Sender*/) {
  TreeNode* task = tree_ ? tree_->selected() : nullptr;
  if (task == nullptr) return;
  if (isDone(*task)) {
    reopenTask(task, mnuToggleDone);
    return;
  }
  auto* step = new CompleteTaskCommand(*tree_, task);
  step->setText(stepName(mnuToggleDone));
  pushStep(step);
  RefreshNode(task);
  treeView_->viewport()->update();
  update();
  setTag(1);
}

void TfrmMain::Reopen1Click(QObject* /*Sender*/) {
  TreeNode* task = tree_ ? tree_->selected() : nullptr;
  if (task != nullptr && isDone(*task)) reopenTask(task, Reopen1);
}

void TfrmMain::reopenTask(TreeNode* task, const QAction* item) {
  pushStep(new ReopenTaskCommand(*tree_, stepName(item), task));
  RefreshNode(task);
  treeView_->viewport()->update();
  setTag(1);
}

}  // namespace qm::ui
