#include "ui/main_window/main_window_style.h"

#include <QPalette>
#include <QWidget>

namespace qm::ui {

QFont windowFont() {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QColor colorFromBgr(int bgr) {
  if (bgr < 0) return QPalette().color(QPalette::Base);
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

void paintBackground(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace qm::ui
