#pragma once

#include <QColor>
#include <QFont>
#include <QSize>

class QWidget;

namespace qm::ui {

// The fixed looks of the main window and its task tree.
inline const QColor kSkyBlue{166, 202, 240};  // 0xF0CAA6 as 0x00BBGGRR
inline const QColor kYellow{255, 255, 0};     // 0x00FFFF as 0x00BBGGRR
// The title bar's gradient colour of the classic Windows scheme.
inline const QColor kGradientActiveCaption{185, 209, 234};
inline constexpr QSize kOuterSize{356, 380};

QFont windowFont();
// Converts a colour in the 0x00BBGGRR form; system colours (top bit set)
// give the palette's base colour.
QColor colorFromBgr(int bgr);
// Fills the widget's background with the colour.
void paintBackground(QWidget* widget, const QColor& color);

}  // namespace qm::ui
