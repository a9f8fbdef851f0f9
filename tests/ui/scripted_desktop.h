#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>
#include <deque>

#include "platform/desktop.h"

namespace qm::test {

// A desktop whose boxes and dialogs answer from a script and record what
// was asked; installed for its lifetime. A prompt without a scripted answer
// fails the test and answers Cancel.
class ScriptedDesktop : public platform::Desktop {
 public:
  ScriptedDesktop() { platform::setDesktop(this); }
  ~ScriptedDesktop() override { platform::setDesktop(nullptr); }

  void showError(QWidget*, const QString& message, const QString& details) override {
    errors.append(message);
    errorDetails.append(details);
  }

  platform::SaveAnswer askSave(QWidget*, const QString& text) override {
    savePrompts.append(text);
    if (saveAnswers.empty()) {
      ADD_FAILURE() << "unexpected save prompt: " << text.toStdString();
      return platform::SaveAnswer::Cancel;
    }
    platform::SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }

  bool askYesNo(QWidget*, const QString& text) override {
    questions.append(text);
    return nextAnswer(yesNoAnswers, "question", text);
  }

  void confirmOk(QWidget*, const QString& text) override { confirmations.append(text); }
  void inform(QWidget*, const QString& text) override { informations.append(text); }

  std::optional<QString> openFileName(QWidget*, const platform::FileDialogRequest& request) override {
    openRequests.append(request);
    return nextFileName("open");
  }

  std::optional<QString> saveFileName(QWidget*, const platform::FileDialogRequest& request) override {
    saveRequests.append(request);
    return nextFileName("save");
  }

  bool askReplace(QWidget*, const QString& fileName) override {
    replacePrompts.append(fileName);
    return nextAnswer(replaceAnswers, "replace question", fileName);
  }

  QStringList errors;
  QStringList errorDetails;
  QStringList savePrompts;
  QStringList confirmations;
  QStringList informations;
  QList<platform::FileDialogRequest> openRequests;
  QList<platform::FileDialogRequest> saveRequests;
  std::deque<platform::SaveAnswer> saveAnswers;
  QStringList questions;
  std::deque<bool> yesNoAnswers;
  // nullopt cancels the dialog.
  std::deque<std::optional<QString>> fileNames;
  QStringList replacePrompts;  // the files Save As asked to replace
  std::deque<bool> replaceAnswers;

 private:
  static bool nextAnswer(std::deque<bool>& answers, const char* what, const QString& text) {
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected " << what << ": " << text.toStdString();
      return false;
    }
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::optional<QString> nextFileName(const char* dialog) {
    if (fileNames.empty()) {
      ADD_FAILURE() << "unexpected " << dialog << " dialog";
      return std::nullopt;
    }
    bool chosen = fileNames.front().has_value();
    QString name = chosen ? *fileNames.front() : QString();
    fileNames.pop_front();
    if (!chosen) return std::nullopt;
    return name;
  }
};

}  // namespace qm::test
