#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace qm::platform {

enum class SaveAnswer { Yes, No, Cancel };

struct FileDialogRequest {
  QString initialDirectory;  // as configured, e.g. "c:\\"; the dialog falls back to home if missing
  QString fileName;          // proposed name, may be empty
  QString filter;            // Qt form, e.g. "Quillmark File (*.jjp)"
  QString defaultSuffix;     // "jjp"
};

// Everything that blocks or needs a desktop goes through here, so that the
// windows can be driven headless by a scripted fake in tests.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // The application's default error handler: title "Quillmark", stop icon,
  // one OK button; `message` is shown as given (see errorBoxText), `details`
  // (what the program was doing and the system's reason) below it when given.
  virtual void showError(QWidget* parent, const QString& message, const QString& details) = 0;
  // The save prompt: title "Confirm", question icon, "&Yes" (default), "&No",
  // "Cancel"; Escape and the close box answer Cancel.
  virtual SaveAnswer askSave(QWidget* parent, const QString& text) = 0;
  // A question with "&Yes" (default) and "&No": title "Confirm", question
  // icon; Escape and the close box answer No. True for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
  // A confirmation box with a single "OK": title "Confirm", question icon.
  virtual void confirmOk(QWidget* parent, const QString& text) = 0;
  // An information box with a single "OK": title "Quillmark".
  virtual void inform(QWidget* parent, const QString& text) = 0;
  // nullopt when the user cancels.
  virtual std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  // The usual question before a save replaces an existing file: title
  // "Confirm Save As", warning icon, "<name> already exists. Do you want to
  // replace it?", "&Yes" and "&No" (the default); Escape and the close box
  // answer No. True for Yes.
  virtual bool askReplace(QWidget* parent, const QString& fileName) = 0;
};

// The text of the error box: the message with a full stop appended when its
// last character sorts after the full stop.
QString errorBoxText(const QString& message);

// The desktop in use: the Qt one unless a test installed another.
Desktop& desktop();
void setDesktop(Desktop* desktop);  // nullptr restores the Qt desktop

}  // namespace qm::platform
