#pragma once

#include "platform/desktop.h"

namespace qm::platform {

// The desktop of the real program: Qt message boxes and Qt's own file
// dialogs (not the native ones, whose handling of the default suffix and of
// the overwrite question differs between desktops).
class QtDesktop : public Desktop {
 public:
  void showError(QWidget* parent, const QString& message, const QString& details) override;
  SaveAnswer askSave(QWidget* parent, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& text) override;
  void confirmOk(QWidget* parent, const QString& text) override;
  void inform(QWidget* parent, const QString& text) override;
  std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
  std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override;
  bool askReplace(QWidget* parent, const QString& fileName) override;
};

// The directory a file dialog starts in: the configured one when it exists on
// this system, else the user's home directory.
QString existingDirectoryOrHome(const QString& configured);

}  // namespace qm::platform
