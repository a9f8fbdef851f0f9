#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>
#include <functional>

class QDrag;

namespace qm {
class TreeNode;
}

namespace qm::ui {

class TaskTreeModel;
class TaskTitleDelegate;

enum class DragState { Enter, Leave, Move };

// The events of the task tree view that the main window handles, set when the
// view is created (as a tree control's event properties are wired).
struct TaskTreeEvents {
  std::function<void()> onClick;       // a left click that started no drag, on a task or not
  std::function<void()> onFocusEntry;  // the view became the window's focused control
  std::function<void()> onDoubleClick;
  std::function<void(int& key, Qt::KeyboardModifiers modifiers)> onKeyDown;
  std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point)> onMouseDown;
  std::function<void(QObject* source, QPoint point, DragState state, bool& accept)> onDragOver;
  std::function<void(QObject* source, QPoint point)> onDragDrop;
  std::function<void(QRect geometry)> onGeometryChanged;  // in the parent's coordinates
};

// The task tree view: a QTreeView over a TaskTreeModel that keeps the view's
// selection and expansion and the tree's in step both ways, and delivers its
// keys, clicks, focus entry and drops to TaskTreeEvents. Points are in the
// viewport's coordinates (the tree control's client area).
class TaskTreeView : public QTreeView {
  Q_OBJECT
 public:
  explicit TaskTreeView(QWidget* parent = nullptr);

  void setTaskModel(TaskTreeModel* model);
  TaskTreeModel* taskModel() const { return taskModel_; }

  TaskTreeEvents events;

  TreeNode* nodeAt(QPoint point) const;
  // Opens the in-place editor on the task's title, confirming an edit that
  // is open on another task first; refused during a drag.
  bool editTitle(TreeNode* node);
  bool isEditingTitle() const { return state() == EditingState; }
  // Confirms the open title edit, if any.
  void finishEditing();
  // The open title editor, or nullptr.
  QWidget* titleEditor() const;
  TaskTitleDelegate* titleDelegate() const { return delegate_; }
  bool isDragging() const { return dragging_; }
  // The task highlighted as the drop target while a drag is over the view.
  QModelIndex dropTarget() const { return dropTarget_; }
  // True from the first focus entry until the focus goes to another control
  // of the window; switching windows or opening a menu keeps it.
  bool isWindowFocusedControl() const { return isWindowFocusedControl_; }

 protected:
  // Runs the drag; tests replace it, since QDrag::exec cannot be driven there.
  virtual Qt::DropAction execDrag(QDrag& drag);

  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Type-to-find walks the rows a letter at a time, which on a long list is a
  // walk of the list for every key; letters do nothing here.
  void keyboardSearch(const QString& /*search*/) override {}
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

 private:
  void followTreeExpansion(const QModelIndex& index, bool expanded);
  void followTreeSelection(const QModelIndex& index);
  void followTreeReset();
  void writeBackExpansion(const QModelIndex& index, bool expanded);
  void writeBackSelection();
  // The row drawn as current is always the tree's selected task: with no
  // task selected there is no current row, which F2 would edit.
  void forgetCurrentWithoutSelection();
  // The window's key handler; false when it swallowed the key.
  bool handleKey(QKeyEvent* event);
  void noteFocusIn();
  void noteFocusOut(Qt::FocusReason reason);
  void setDropTarget(const QModelIndex& index);

  TaskTreeModel* taskModel_ = nullptr;
  TaskTitleDelegate* delegate_;
  bool followingTree_ = false;
  bool isWindowFocusedControl_ = false;
  bool dragging_ = false;
  bool dragStartedSincePress_ = false;
  QPersistentModelIndex dropTarget_;
};

}  // namespace qm::ui
