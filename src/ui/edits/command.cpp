#include "ui/edits/command.h"

#include <QFile>
#include <QString>
#include <exception>

#include "model/error.h"
#include "platform/desktop.h"

namespace qm::ui {
namespace {

// "While saving /home/u/todo.jjp: No space left on device.", or "While
// opening /home/u/todo.jjp." for a file that could be read but is damaged;
// empty when no file is known.
QString fileErrorDetails(const Error& error) {
  if (error.file().empty()) return {};
  QString doing = error.action() == FileAction::Saving ? QStringLiteral("saving") : QStringLiteral("opening");
  QString details =
      QStringLiteral("While %1 %2").arg(doing, QFile::decodeName(QByteArray::fromStdString(error.file())));
  if (error.reason()) details += QStringLiteral(": ") + QString::fromLocal8Bit(error.reason().message());
  return details + u'.';
}

}  // namespace

bool runCommand(QWidget* parent, const std::function<void()>& command) {
  // Nothing may leave a command through Qt's event loop, which cannot carry
  // exceptions: every error ends here, shown by the default error handler.
  QString message, details;
  try {
    command();
    return true;
  } catch (const Error& error) {
    message = QString::fromUtf8(error.what());
    details = fileErrorDetails(error);
  } catch (const std::exception& error) {
    message = QString::fromUtf8(error.what());
  } catch (...) {
    message = QStringLiteral("Unknown error");
  }
  platform::desktop().showError(parent, platform::errorBoxText(message), details);
  return false;
}

}  // namespace qm::ui
