#include "ui/tray/note_mode_geometry.h"

#include <algorithm>

namespace qm::ui {

QRect noteModeGeometry(int outerWidth, const QRect& availableArea) {
  const int narrowed = std::max(outerWidth - kNoteModeNarrowing, kNoteModeMinimumWidth);
  const int width = std::min(narrowed, availableArea.width());
  return QRect(availableArea.right() - width + 1, availableArea.top(), width, availableArea.height());
}

}  // namespace qm::ui
