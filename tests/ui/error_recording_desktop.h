#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include "platform/desktop.h"

namespace qm::test {

// Records the error boxes a window shows; any other box or dialog fails the
// test. Installed for its lifetime.
class ErrorRecordingDesktop : public platform::Desktop {
 public:
  ErrorRecordingDesktop() { platform::setDesktop(this); }
  ~ErrorRecordingDesktop() override { platform::setDesktop(nullptr); }

  void showError(QWidget*, const QString& message, const QString& details) override {
    errors.append(message);
    errorDetails.append(details);
  }
  platform::SaveAnswer askSave(QWidget*, const QString& text) override {
    ADD_FAILURE() << "unexpected save prompt: " << text.toStdString();
    return platform::SaveAnswer::Cancel;
  }
  bool askYesNo(QWidget*, const QString& text) override {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return false;
  }
  void confirmOk(QWidget*, const QString& text) override {
    ADD_FAILURE() << "unexpected confirmation: " << text.toStdString();
  }
  void inform(QWidget*, const QString& text) override {
    ADD_FAILURE() << "unexpected information: " << text.toStdString();
  }
  std::optional<QString> openFileName(QWidget*, const platform::FileDialogRequest&) override {
    ADD_FAILURE() << "unexpected open dialog";
    return std::nullopt;
  }
  std::optional<QString> saveFileName(QWidget*, const platform::FileDialogRequest&) override {
    ADD_FAILURE() << "unexpected save dialog";
    return std::nullopt;
  }
  bool askReplace(QWidget*, const QString& fileName) override {
    ADD_FAILURE() << "unexpected replace question: " << fileName.toStdString();
    return false;
  }

  QStringList errors;
  QStringList errorDetails;
};

}  // namespace qm::test
