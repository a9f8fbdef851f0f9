#pragma once

class QLabel;
class QString;

namespace qm::ui {

// Gives the label the accessible name "caption: text" ("Task count: 3"),
// or the caption alone while the text is empty, following the text as it
// changes. A screen reader reads a label by its name, which for a label
// without text would be nothing, and a fixed name would hide the text.
// Set it before anything asks for the label's accessible interface.
void setAccessibleCaption(QLabel* label, const QString& caption);

}  // namespace qm::ui
