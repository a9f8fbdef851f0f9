#include "ui/tray/icon_message_dispatch.h"

namespace qm::ui {

bool dispatchIconMessage(const platform::IconMessage& message, const IconCommands& commands) {
  if (message.message != platform::kIconCallbackMessage) return false;
  switch (message.lParam) {
    case platform::kWmRButtonDown:
      commands.popUpIconMenu();
      return true;
    case platform::kWmLButtonDblClk:
      commands.show();
      return true;
    default:
      return false;
  }
}

}  // namespace qm::ui
