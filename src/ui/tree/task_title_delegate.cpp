#include "ui/tree/task_title_delegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>
#include <algorithm>

#include "ui/tree/utf8_length_validator.h"

namespace qm::ui {
namespace {

bool isTabKey(const QKeyEvent* key) { return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab; }

bool isCtrlLetter(const QKeyEvent* key) {
  return key->modifiers().testFlag(Qt::ControlModifier) && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z;
}

// Undo and redo keys work on the editor's text while it is open, not on the
// tree: Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo.
enum class TextStep { None, Undo, Redo };
TextStep textStepOf(const QKeyEvent* key) {
  const Qt::KeyboardModifiers mods =
      key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  if (mods == Qt::ControlModifier && key->key() == Qt::Key_Z) return TextStep::Undo;
  if (mods == Qt::ControlModifier && key->key() == Qt::Key_Y) return TextStep::Redo;
  if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_Z) return TextStep::Redo;
  return TextStep::None;
}

// Alt+arrows and Ctrl+Space reshape the outline while the tree has the
// focus. In the editor they do what the editor does with them and go no
// further: the view would take Alt+arrows as arrows and end the edit.
bool isOutlineKey(const QKeyEvent* key) {
  const Qt::KeyboardModifiers mods =
      key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  if (mods == Qt::ControlModifier) return key->key() == Qt::Key_Space;
  return mods == Qt::AltModifier && key->key() >= Qt::Key_Left && key->key() <= Qt::Key_Down;
}

}  // namespace

TaskTitleDelegate::TaskTitleDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* TaskTitleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    // A title read from a file may already be longer (its characters can take
    // more bytes here than there); it stays editable rather than refusing Enter.
    const qsizetype titleBytes = index.data(Qt::EditRole).toString().toUtf8().size();
    line->setValidator(new Utf8LengthValidator(std::max<qsizetype>(kMaxTitleBytes, titleBytes), line));
    // A plain edit box over the coloured tree, as the tree control shows it.
    line->setStyleSheet(
        QStringLiteral("QLineEdit { background: white; color: black; border: 1px solid black; }"));
  }
  openEditor_ = editor;
  return editor;
}

bool TaskTitleDelegate::eventFilter(QObject* editor, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      if (textStepOf(static_cast<QKeyEvent*>(event)) != TextStep::None) {
        event->accept();  // the editor's key, not the menu's
        return true;
      }
      if (isCtrlLetter(static_cast<QKeyEvent*>(event))) {
        event->ignore();  // let the menu shortcut have it
        return true;
      }
      break;
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (TextStep step = textStepOf(key); step != TextStep::None) {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
          step == TextStep::Undo ? line->undo() : line->redo();
        return true;
      }
      if (isOutlineKey(key)) {
        static_cast<QObject*>(editor)->event(key);
        key->accept();  // an ignored key would go on to the view
        return true;
      }
      if (!isTabKey(key)) break;
      if (key->modifiers().testFlag(Qt::ControlModifier)) {
        if (onWindowKey) onWindowKey(key);
      } else if (!key->modifiers().testFlag(Qt::AltModifier)) {
        // Focus navigation has nowhere else to go: the edit ends, confirmed.
        auto* widget = static_cast<QWidget*>(editor);
        Q_EMIT commitData(widget);
        Q_EMIT closeEditor(widget, NoHint);
      }
      return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      if (onEditorFocus) onEditorFocus(static_cast<QFocusEvent*>(event));
      break;
    default:
      break;
  }
  return QStyledItemDelegate::eventFilter(editor, event);
}

bool TaskTitleDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip)
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  QRect textRect = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
  textRect = textRect.intersected(view->viewport()->rect());
  const bool titleCut = item.fontMetrics.horizontalAdvance(item.text) + 4 > textRect.width();
  if (QString more = toolTipFor ? toolTipFor(index, titleCut) : QString(); !more.isEmpty())
    QToolTip::showText(event->globalPos(), more, view);
  else if (titleCut)
    QToolTip::showText(event->globalPos(), item.text, view);
  else
    QToolTip::hideText();
  return true;
}

void TaskTitleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  if (!paintAfterTitle) return;
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
  paintAfterTitle(painter, item, index, textRect.left() + item.fontMetrics.horizontalAdvance(item.text));
}

}  // namespace qm::ui
