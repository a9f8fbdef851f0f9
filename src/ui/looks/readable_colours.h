#pragma once

#include <QColor>

class QPalette;

namespace qm::ui {

// How far apart two colours stand, as the WCAG 2 contrast ratio: 1 for the
// same colour up to 21 for black on white.
double contrastRatio(const QColor& a, const QColor& b);

// `colour`, moved toward black or white (whichever stands out more from
// `background`) just far enough to reach `ratio` against it; unchanged
// when it already does.
QColor standingOut(const QColor& colour, const QColor& background, double ratio);

// A selection seen plainly on any background, with the focus and without:
// in both groups the highlight stands out from Base (3:1, as a control's
// parts should) and the highlighted text from the highlight (4.5:1, as
// text should). A tree's colour comes from its file, so no fixed colour
// would do.
void makeSelectionReadable(QPalette& palette);

}  // namespace qm::ui
