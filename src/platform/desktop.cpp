#include "platform/desktop.h"

#include <QList>

#include "platform/qt_desktop.h"

namespace qm::platform {
namespace {
Desktop* installedDesktop = nullptr;
}

QString errorBoxText(const QString& message) {
  if (message.isEmpty()) return message;
  // Compare whole characters, so that a message ending in a character outside
  // the basic plane still gets its full stop.
  uint last = message.toUcs4().constLast();
  return last > uint(u'.') ? message + u'.' : message;
}

Desktop& desktop() {
  if (installedDesktop != nullptr) return *installedDesktop;
  static QtDesktop qtDesktop;
  return qtDesktop;
}

void setDesktop(Desktop* desktop) { installedDesktop = desktop; }

}  // namespace qm::platform
