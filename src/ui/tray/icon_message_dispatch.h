#pragma once

#include <functional>

#include "platform/tray_icon.h"

namespace qm::ui {

// What the main window does for the notification icon's mouse events.
struct IconCommands {
  std::function<void()> popUpIconMenu;  // PopupMenu2 at the cursor
  std::function<void()> show;           // Show1Click
};

// The icon's part of the main window's window procedure: message 1025 with
// WM_RBUTTONDOWN pops up the icon menu, with WM_LBUTTONDBLCLK shows the window;
// every other message is left alone. Returns whether a command ran. The caller
// passes every message on to its default handling either way.
bool dispatchIconMessage(const platform::IconMessage& message, const IconCommands& commands);

}  // namespace qm::ui
