#pragma once

class QWidget;

namespace qm::platform {

// Takes a shown window's taskbar entry away, or gives it back, where an X11
// window manager follows the EWMH state hints. Hiding and showing the window
// again brings the entry back as well. Returns false where this cannot be done:
// other platforms, offscreen runs, hidden windows, builds without xcb.
bool setSkipTaskbar(QWidget* window, bool skip);

}  // namespace qm::platform
