#include "ui/looks/readable_colours.h"

#include <QPalette>
#include <cmath>

namespace qm::ui {
namespace {

constexpr double kPartContrast = 3.0;
constexpr double kTextContrast = 4.5;
constexpr int kSteps = 20;  // toward black or white, 5 % at a time

double relativeLuminance(const QColor& colour) {
  auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  const QColor rgb = colour.toRgb();
  return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

QColor blend(const QColor& from, const QColor& to, double share) {
  const QColor a = from.toRgb();
  const QColor b = to.toRgb();
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * share,
                          a.greenF() + (b.greenF() - a.greenF()) * share,
                          a.blueF() + (b.blueF() - a.blueF()) * share);
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
  const double la = relativeLuminance(a);
  const double lb = relativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor standingOut(const QColor& colour, const QColor& background, double ratio) {
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  const QColor extreme = contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
  for (int step = 0; step < kSteps; ++step) {
    const QColor moved = blend(colour, extreme, static_cast<double>(step) / kSteps);
    if (contrastRatio(moved, background) >= ratio) return moved;
  }
  return extreme;  // at least 4.58:1 against any background
}

void makeSelectionReadable(QPalette& palette) {
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    const QColor highlight = standingOut(palette.color(group, QPalette::Highlight),
                                         palette.color(group, QPalette::Base), kPartContrast);
    palette.setColor(group, QPalette::Highlight, highlight);
    palette.setColor(group, QPalette::HighlightedText,
                     standingOut(palette.color(group, QPalette::HighlightedText), highlight, kTextContrast));
  }
}

}  // namespace qm::ui
