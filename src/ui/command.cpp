#include "ui/command.h"

#include <QString>
#include <exception>

#include "platform/desktop.h"

namespace qm::ui {

bool runCommand(QWidget* parent, const std::function<void()>& command) {
  // Nothing may leave a command through Qt's event loop, which cannot carry
  // exceptions: every error ends here, shown by the default error handler.
  QString message;
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    message = QString::fromUtf8(error.what());
  } catch (...) {
    message = QStringLiteral("Unknown error");
  }
  platform::desktop().showError(parent, platform::errorBoxText(message));
  return false;
}

}  // namespace qm::ui
