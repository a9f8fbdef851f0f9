// Save As's choice of a file: the save dialog, and the usual question before
// it replaces another file.
#include <QFileInfo>

#include "platform/desktop.h"
#include "ui/main_window/uMain.h"

namespace qm::ui {
namespace {

// Writing over the list's own file is what saving is for; any other existing
// file belongs to something else.
bool replacesAnotherFile(const QString& chosen, const QString& current) {
  const QFileInfo target(chosen);
  if (!target.exists()) return false;
  return current.isEmpty() || target.canonicalFilePath() != QFileInfo(current).canonicalFilePath();
}

}  // namespace

std::optional<QString> TfrmMain::chooseSaveAsName() {
  platform::FileDialogRequest request = saveDialog1_;
  request.fileName = fileName_;
  // No brings the dialog back on the name, as the platform's own dialog stays
  // open; cancelling it writes nothing.
  while (std::optional<QString> chosen = platform::desktop().saveFileName(this, request)) {
    if (!replacesAnotherFile(*chosen, fileName_) || platform::desktop().askReplace(this, *chosen))
      return chosen;
    request.fileName = *chosen;
  }
  return std::nullopt;
}

}  // namespace qm::ui
