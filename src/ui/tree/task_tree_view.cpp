#include "ui/tree/task_tree_view.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

#include "model/ttree.h"
#include "ui/tree/task_title_delegate.h"
#include "ui/tree/task_tree_model.h"
#include "ui/tree/tree_branch_style.h"

namespace qm::ui {
namespace {

bool isTabKey(int key) { return key == Qt::Key_Tab || key == Qt::Key_Backtab; }

}  // namespace

TaskTreeView::TaskTreeView(QWidget* parent) : QTreeView(parent), delegate_(new TaskTitleDelegate(this)) {
  setHeaderHidden(true);
  setRootIsDecorated(true);
  setUniformRowHeights(true);  // keeps a million tasks fluid
  setSelectionMode(SingleSelection);
  setEditTriggers(SelectedClicked);  // F2 comes through the window's key handler
  setTabKeyNavigation(false);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(DragDrop);
  setDropIndicatorShown(false);  // the target task itself is highlighted
  setIconSize(QSize(16, 16));
  setFocusPolicy(Qt::StrongFocus);
  setItemDelegate(delegate_);
  auto* branchStyle = new TreeBranchStyle;
  branchStyle->setParent(this);
  setStyle(branchStyle);
  delegate_->onWindowKey = [this](QKeyEvent* key) { handleKey(key); };
  delegate_->onEditorFocus = [this](QFocusEvent* focus) {
    if (focus->gotFocus())
      noteFocusIn();
    else
      noteFocusOut(focus->reason());
  };
  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& i) { writeBackExpansion(i, true); });
  connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& i) { writeBackExpansion(i, false); });
}

void TaskTreeView::setTaskModel(TaskTreeModel* model) {
  taskModel_ = model;
  setModel(model);
  connect(model, &TaskTreeModel::treeExpansionChanged, this, &TaskTreeView::followTreeExpansion);
  connect(model, &TaskTreeModel::treeSelectionChanged, this, &TaskTreeView::followTreeSelection);
  connect(model, &TaskTreeModel::treeWasReset, this, &TaskTreeView::followTreeReset);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TaskTreeView::writeBackSelection);
  followTreeReset();
}

TreeNode* TaskTreeView::nodeAt(QPoint point) const {
  return taskModel_ != nullptr ? taskModel_->nodeOf(indexAt(point)) : nullptr;
}

bool TaskTreeView::editTitle(TreeNode* node) {
  QModelIndex index = taskModel_ != nullptr ? taskModel_->indexOf(node) : QModelIndex();
  if (!index.isValid() || dragging_) return false;
  finishEditing();
  scrollTo(index);
  return edit(index, AllEditTriggers, nullptr);
}

QWidget* TaskTreeView::titleEditor() const { return isEditingTitle() ? delegate_->openEditor() : nullptr; }

void TaskTreeView::finishEditing() {
  QWidget* editor = delegate_->openEditor();
  if (editor == nullptr || state() != EditingState) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// --- keeping the view and the tree in step

void TaskTreeView::followTreeExpansion(const QModelIndex& index, bool expanded) {
  QScopedValueRollback following(followingTree_, true);
  setExpanded(index, expanded);
}

void TaskTreeView::followTreeSelection(const QModelIndex& index) {
  QScopedValueRollback following(followingTree_, true);
  if (!index.isValid()) {
    selectionModel()->clear();  // also forgets the current index, so nothing is edited by mistake
    return;
  }
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  // Scrolling to a task inside a collapsed one would expand the view's rows
  // and leave the tree's states behind.
  Ttree* tree = taskModel_->tree();
  if (tree != nullptr && tree->isDisplayed(taskModel_->nodeOf(index))) scrollTo(index);
}

void TaskTreeView::followTreeReset() {
  Ttree* tree = taskModel_->tree();
  if (tree == nullptr) return;
  QScopedValueRollback following(followingTree_, true);
  // After a reset the view has forgotten everything; expanding now only
  // records the state for the next layout, so this stays linear.
  for (TreeNode* node = tree->firstNode(); node != nullptr; node = tree->nextInPreorder(node))
    if (node->expanded()) expand(taskModel_->indexOf(node));
  followTreeSelection(taskModel_->indexOf(tree->selected()));
}

void TaskTreeView::writeBackExpansion(const QModelIndex& index, bool expanded) {
  if (followingTree_ || taskModel_ == nullptr || taskModel_->isChangingStructure()) return;
  Ttree* tree = taskModel_->tree();
  TreeNode* node = taskModel_->nodeOf(index);
  if (tree == nullptr || node == nullptr) return;
  tree->setExpanded(node, expanded);
  // As the tree control does: collapsing a task that holds the selected one
  // moves the selection onto the collapsed task, which stays visible.
  TreeNode* selected = tree->selected();
  if (!expanded && selected != nullptr && selected != node && tree->isInSubtree(selected, node))
    tree->select(node);
}

void TaskTreeView::writeBackSelection() {
  if (followingTree_ || taskModel_ == nullptr || taskModel_->isChangingStructure()) return;
  Ttree* tree = taskModel_->tree();
  if (tree == nullptr) return;
  QModelIndexList selected = selectionModel()->selectedIndexes();
  tree->select(selected.isEmpty() ? nullptr : taskModel_->nodeOf(selected.first()));
}

void TaskTreeView::forgetCurrentWithoutSelection() {
  Ttree* tree = taskModel_ != nullptr ? taskModel_->tree() : nullptr;
  if (tree != nullptr && tree->selected() == nullptr && currentIndex().isValid())
    selectionModel()->clearCurrentIndex();
}

// --- editing

bool TaskTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (dragging_) return false;
  return QTreeView::edit(index, trigger, event);
}

// --- keyboard: focus navigation, then the window's handler, then the tree's own

void TaskTreeView::keyPressEvent(QKeyEvent* event) {
  bool ctrlOrAlt = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
  if (isTabKey(event->key()) && !ctrlOrAlt) {
    // Focus navigation's key; this view is the only stop, so nothing moves.
    event->accept();
    return;
  }
  bool goesOn = handleKey(event);
  if (!goesOn || isTabKey(event->key())) {  // swallowed, or Ctrl+Tab, which the tree has no use for
    event->accept();
    return;
  }
  QTreeView::keyPressEvent(event);
}

bool TaskTreeView::handleKey(QKeyEvent* event) {
  int key = event->key();
  if (events.onKeyDown) events.onKeyDown(key, event->modifiers());
  return key != 0;
}

// --- focus entry

void TaskTreeView::focusInEvent(QFocusEvent* event) {
  // The base makes the first row current when there is none, which draws it
  // as if selected while no task is (after an open, say).
  QTreeView::focusInEvent(event);
  forgetCurrentWithoutSelection();
  noteFocusIn();
}

void TaskTreeView::focusOutEvent(QFocusEvent* event) {
  QTreeView::focusOutEvent(event);
  noteFocusOut(event->reason());
}

void TaskTreeView::noteFocusIn() {
  if (isWindowFocusedControl_) return;
  isWindowFocusedControl_ = true;
  if (events.onFocusEntry) events.onFocusEntry();
}

void TaskTreeView::noteFocusOut(Qt::FocusReason reason) {
  // Another window or a menu taking the focus leaves this the window's
  // focused control; so does the title editor, which is part of the view.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
      reason == Qt::MenuBarFocusReason)
    return;
  QWidget* now = QApplication::focusWidget();
  if (now != nullptr && (now == this || isAncestorOf(now))) return;
  isWindowFocusedControl_ = false;
}

// --- mouse

void TaskTreeView::mousePressEvent(QMouseEvent* event) {
  dragStartedSincePress_ = false;
  QPoint point = event->position().toPoint();
  if (events.onMouseDown) events.onMouseDown(event->button(), event->modifiers(), point);
  // A right click brings up the window's menu without selecting anything.
  if (event->button() == Qt::RightButton) {
    event->ignore();
    return;
  }
  // A press on empty space takes the focus but keeps the selection, as the
  // tree control does (the base view would clear it).
  if (!indexAt(point).isValid()) {
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

void TaskTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->ignore();
    return;
  }
  QTreeView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && !dragStartedSincePress_ && events.onClick) events.onClick();
}

void TaskTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->ignore();
    return;
  }
  QTreeView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton && events.onDoubleClick) events.onDoubleClick();
}

// --- drag and drop

Qt::DropAction TaskTreeView::execDrag(QDrag& drag) { return drag.exec(Qt::MoveAction); }

void TaskTreeView::startDrag(Qt::DropActions /*supportedActions*/) {
  QModelIndex index = currentIndex();
  if (!index.isValid()) return;
  dragStartedSincePress_ = true;
  // The base class would remove the dragged rows once a move is reported;
  // here the drop itself moves the task, so the result is not used.
  auto* drag = new QDrag(this);
  drag->setMimeData(model()->mimeData({index}));
  QRect rect = visualRect(index);
  drag->setPixmap(viewport()->grab(rect));
  drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());
  dragging_ = true;
  execDrag(*drag);
  dragging_ = false;
  setDropTarget({});
  drag->deleteLater();
}

// Only tasks are dragged here. Taking other drags as moves would make the
// application or text box they came from delete what was dragged.
static bool isTaskDrag(const QDropEvent* event) { return event->mimeData()->hasFormat(kTaskMimeType); }

void TaskTreeView::dragEnterEvent(QDragEnterEvent* event) {
  if (!isTaskDrag(event)) {
    event->ignore();
    return;
  }
  setState(DraggingState);
  bool accept = true;
  if (events.onDragOver)
    events.onDragOver(event->source(), event->position().toPoint(), DragState::Enter, accept);
  event->setDropAction(Qt::MoveAction);
  event->setAccepted(accept);
}

void TaskTreeView::dragMoveEvent(QDragMoveEvent* event) {
  if (!isTaskDrag(event)) {
    event->ignore();
    return;
  }
  QTreeView::dragMoveEvent(event);  // scrolls near the edges
  QPoint point = event->position().toPoint();
  bool accept = false;
  if (events.onDragOver) events.onDragOver(event->source(), point, DragState::Move, accept);
  setDropTarget(indexAt(point));
  event->setDropAction(Qt::MoveAction);
  event->setAccepted(accept);
}

void TaskTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
  QTreeView::dragLeaveEvent(event);
  setDropTarget({});
  bool accept = false;
  if (events.onDragOver) events.onDragOver(nullptr, QPoint(), DragState::Leave, accept);
}

void TaskTreeView::dropEvent(QDropEvent* event) {
  if (!isTaskDrag(event)) {
    event->ignore();
    return;
  }
  stopAutoScroll();
  setState(NoState);
  setDropTarget({});
  event->setDropAction(Qt::MoveAction);
  event->accept();
  if (events.onDragDrop) events.onDragDrop(event->source(), event->position().toPoint());
}

void TaskTreeView::setDropTarget(const QModelIndex& index) {
  if (QModelIndex(dropTarget_) == index) return;
  if (dropTarget_.isValid()) viewport()->update(visualRect(dropTarget_));
  dropTarget_ = index;
  if (dropTarget_.isValid()) viewport()->update(visualRect(dropTarget_));
}

void TaskTreeView::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  if (events.onGeometryChanged) events.onGeometryChanged(geometry());
}

void TaskTreeView::moveEvent(QMoveEvent* event) {
  QTreeView::moveEvent(event);
  if (events.onGeometryChanged) events.onGeometryChanged(geometry());
}

void TaskTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  if (!dropTarget_.isValid() || index != dropTarget_) return QTreeView::drawRow(painter, option, index);
  QStyleOptionViewItem target = option;
  target.state |= QStyle::State_Selected | QStyle::State_Active;
  QTreeView::drawRow(painter, target, index);
}

}  // namespace qm::ui
