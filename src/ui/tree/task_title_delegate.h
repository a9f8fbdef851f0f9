#pragma once

#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>

class QKeyEvent;
class QFocusEvent;

namespace qm::ui {

// Draws tasks and edits their titles in place, with an editor that takes at
// most 255 bytes of UTF-8. The base delegate's editor handling would swallow
// the window's keys: it takes Tab with any modifier (committing and opening
// the next row) and Ctrl+letter shortcuts such as Ctrl+A. Here Ctrl+Tab goes
// to the view's key handling, Ctrl+letter to the menus, and plain Tab ends
// the edit as a confirmation.
class TaskTitleDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  static constexpr int kMaxTitleBytes = 255;

  explicit TaskTitleDelegate(QObject* parent = nullptr);

  // Key presses in the editor that belong to the window (Ctrl+Tab).
  std::function<void(QKeyEvent*)> onWindowKey;
  // Focus arriving at or leaving the editor, which counts as the view's.
  std::function<void(QFocusEvent*)> onEditorFocus;
  // Draws more of a row in the room right of its title, which ends at
  // titleRight.
  std::function<void(QPainter*, const QStyleOptionViewItem&, const QModelIndex&, int titleRight)>
      paintAfterTitle;
  // A row's tooltip, told whether the row cuts the title; empty for none.
  std::function<QString(const QModelIndex&, bool titleCut)> toolTipFor;

  // The title editor while one is open.
  QWidget* openEditor() const { return openEditor_; }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // Tooltips for titles too long to show, and what toolTipFor adds.
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override;

 private:
  mutable QPointer<QWidget> openEditor_;
};

}  // namespace qm::ui
