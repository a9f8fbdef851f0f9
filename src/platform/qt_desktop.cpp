#include "platform/qt_desktop.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace qm::platform {
namespace {

std::optional<QString> runFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDirectory(existingDirectoryOrHome(request.initialDirectory));
  dialog.setNameFilter(request.filter);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

// Runs a box with "&Yes" and "&No", Escape answering No; true for Yes.
bool answersYes(QMessageBox& box, bool yesIsDefault) {
  QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  box.setDefaultButton(yesIsDefault ? yes : no);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace

QString existingDirectoryOrHome(const QString& configured) {
  if (!configured.isEmpty() && QDir(configured).exists()) return configured;
  return QDir::homePath();
}

void QtDesktop::showError(QWidget* parent, const QString& message, const QString& details) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Quillmark"), message, QMessageBox::Ok, parent);
  box.setInformativeText(details);
  box.exec();
}

SaveAnswer QtDesktop::askSave(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return SaveAnswer::Yes;
  if (box.clickedButton() == no) return SaveAnswer::No;
  return SaveAnswer::Cancel;
}

bool QtDesktop::askYesNo(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton, parent);
  return answersYes(box, true);
}

void QtDesktop::confirmOk(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Ok, parent);
  box.exec();
}

void QtDesktop::inform(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Quillmark"), text, QMessageBox::Ok, parent);
  box.exec();
}

std::optional<QString> QtDesktop::openFileName(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // the named file need not exist
  return runFileDialog(dialog, request);
}

std::optional<QString> QtDesktop::saveFileName(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the caller asks: not for the list's own file
  return runFileDialog(dialog, request);
}

bool QtDesktop::askReplace(QWidget* parent, const QString& fileName) {
  const QString text =
      QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(fileName).fileName());
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Confirm Save As"), text, QMessageBox::NoButton,
                  parent);
  return answersYes(box, false);
}

}  // namespace qm::platform
