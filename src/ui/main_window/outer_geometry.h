#pragma once

#include <QRect>

class QWidget;

namespace qm::ui {

// Places a top-level window by its outer (frame) rectangle. The frame's size is
// known only once a window manager has framed the shown window; until then the
// client area takes the whole size, and it shrinks by the frame once, the first
// time the frame is known. Without frames (offscreen) the client is the outer size.
void setOuterGeometry(QWidget* window, const QRect& outer);

}  // namespace qm::ui
