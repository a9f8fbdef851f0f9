#include "ui/text_fields/editing_keys.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace qm::ui {
namespace {

bool isCtrlLetter(const QKeyEvent& key) {
  const Qt::KeyboardModifiers held = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  return held == Qt::ControlModifier && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z;
}

// Ctrl+Y redoes only where the platform says so (not on X11): it is handed
// to the field as the platform's own redo key.
bool sendPlatformRedo(QObject* field) {
  const QList<QKeySequence> redo = QKeySequence::keyBindings(QKeySequence::Redo);
  if (redo.isEmpty() || redo.contains(QKeySequence(Qt::CTRL | Qt::Key_Y))) return false;
  const QKeyCombination chord = redo.front()[0];
  QKeyEvent press(QEvent::KeyPress, chord.key(), chord.keyboardModifiers());
  QCoreApplication::sendEvent(field, &press);
  return true;
}

class EditingKeysFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isCtrlLetter(*key) || !isTextField(watched)) return false;
    const EditingKey editing = editingKeyOf(*key);
    if (event->type() == QEvent::KeyPress)
      return editing == EditingKey::Redo && key->key() == Qt::Key_Y && sendPlatformRedo(watched);
    // Accepted, the key goes to the field; ignored, to a menu shortcut if
    // one has it, else to the field all the same.
    event->setAccepted(editing != EditingKey::None);
    return true;
  }
};

}  // namespace

EditingKey editingKeyOf(const QKeyEvent& key) {
  struct Chord {
    int key;
    bool shift;
    EditingKey editing;
  };
  static constexpr Chord kChords[] = {
      {Qt::Key_A, false, EditingKey::SelectAll}, {Qt::Key_Z, false, EditingKey::Undo},
      {Qt::Key_Z, true, EditingKey::Redo},       {Qt::Key_Y, false, EditingKey::Redo},
      {Qt::Key_X, false, EditingKey::Cut},       {Qt::Key_C, false, EditingKey::Copy},
      {Qt::Key_V, false, EditingKey::Paste},
  };
  const Qt::KeyboardModifiers held =
      key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
  const bool shift = held.testFlag(Qt::ShiftModifier);
  if ((held & ~Qt::ShiftModifier) != Qt::ControlModifier) return EditingKey::None;
  for (const Chord& chord : kChords)
    if (chord.key == key.key() && chord.shift == shift) return chord.editing;
  return EditingKey::None;
}

bool isTextField(const QObject* object) {
  const bool field = qobject_cast<const QLineEdit*>(object) != nullptr ||
                     qobject_cast<const QAbstractSpinBox*>(object) != nullptr ||
                     qobject_cast<const QPlainTextEdit*>(object) != nullptr ||
                     qobject_cast<const QTextEdit*>(object) != nullptr;
  if (!field) return false;
  for (const QObject* above = object->parent(); above != nullptr; above = above->parent())
    if (qobject_cast<const QAbstractItemView*>(above) != nullptr) return false;
  return true;
}

void installEditingKeys() {
  static QPointer<EditingKeysFilter> installed;
  if (installed != nullptr || qApp == nullptr) return;
  installed = new EditingKeysFilter(qApp);
  qApp->installEventFilter(installed);
}

}  // namespace qm::ui
