#pragma once

class QKeyEvent;
class QObject;

namespace qm::ui {

// The keys that edit text: select all, undo, redo (Ctrl+Y and
// Ctrl+Shift+Z alike), cut, copy and paste.
enum class EditingKey { None, SelectAll, Undo, Redo, Cut, Copy, Paste };
EditingKey editingKeyOf(const QKeyEvent& key);

// Whether the object is a text field whose keys the editing keys are:
// a line edit, spin box, date edit or text box, but not an item view's
// in-place editor, whose Ctrl+letters stay the menus'.
bool isTextField(const QObject* object);

// While a text field has the focus, the editing keys act on it and not on
// the window's menu shortcuts that share them (Ctrl+A is Save As, Ctrl+Z
// undoes an edit of the list); the other Ctrl+letters stay the menus', as
// from the tree. Installed once for the whole application, so that every
// field, also one added later, behaves so without code of its own.
void installEditingKeys();

}  // namespace qm::ui
