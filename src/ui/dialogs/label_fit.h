#pragma once

class QWidget;

namespace qm::ui {

// Widens every label of `window` to the width its text needs in the font in
// use, keeping its position. A control that the wider label would run into
// moves right by as much, and the controls holding them (page control,
// window) grow when they must, so no text is cut off or covered.
void fitLabels(QWidget* window);

}  // namespace qm::ui
