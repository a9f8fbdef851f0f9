#pragma once

namespace qm::platform {

// When a modal dialog or message box closes, the window it came from takes the
// keyboard focus back. Window managers need not do it: openbox gives the focus
// to no window when that one has no taskbar entry (as the main window once it
// was shown from the notification icon), and Qt's offscreen platform leaves no
// window active. Installed once for the application; calling it again does
// nothing.
void returnFocusAfterModalDialogs();

}  // namespace qm::platform
