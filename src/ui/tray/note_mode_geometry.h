#pragma once

#include <QRect>

namespace qm::ui {

// Note mode makes the main window this much narrower each time it is set...
inline constexpr int kNoteModeNarrowing = 200;
// ...but never narrower than this, however often it is set.
inline constexpr int kNoteModeMinimumWidth = 100;

// The main window's rectangle in note mode, frameless: `outerWidth` narrower by
// kNoteModeNarrowing (at least kNoteModeMinimumWidth, at most the area's
// width), docked at the right edge of the screen's available area and as tall
// as that area.
QRect noteModeGeometry(int outerWidth, const QRect& availableArea);

}  // namespace qm::ui
