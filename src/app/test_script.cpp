#include "app/test_script.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <memory>

#include "platform/desktop.h"
#include "ui/main_window/uMain.h"

namespace qm::app {
namespace {

void note(const char* what, const QString& text) {
  std::fprintf(stderr, "%s: %s\n", what, text.toLocal8Bit().constData());
  std::fflush(stderr);
}

// Answers from the script, in order; an unscripted prompt says so and
// answers as Escape would.
class ScriptDesktop : public platform::Desktop {
 public:
  std::deque<QString> answers;

  void showError(QWidget*, const QString& message, const QString&) override { note("error", message); }
  platform::SaveAnswer askSave(QWidget*, const QString& text) override {
    const QString answer = next("prompt", text);
    if (answer == QLatin1String("yes")) return platform::SaveAnswer::Yes;
    if (answer == QLatin1String("no")) return platform::SaveAnswer::No;
    return platform::SaveAnswer::Cancel;
  }
  bool askYesNo(QWidget*, const QString& text) override {
    return next("prompt", text) == QLatin1String("yes");
  }
  void confirmOk(QWidget*, const QString& text) override { note("prompt", text); }
  void inform(QWidget*, const QString& text) override { note("prompt", text); }
  std::optional<QString> openFileName(QWidget*, const platform::FileDialogRequest&) override {
    return fileName("open=");
  }
  std::optional<QString> saveFileName(QWidget*, const platform::FileDialogRequest&) override {
    return fileName("save=");
  }
  bool askReplace(QWidget*, const QString& fileName) override {
    return next("prompt", fileName + QStringLiteral(" already exists")) == QLatin1String("yes");
  }

 private:
  QString next(const char* what, const QString& text) {
    note(what, text);
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<QString> fileName(const char* kind) {
    QString answer = next("dialog", QString::fromLatin1(kind));
    if (!answer.startsWith(QLatin1String(kind))) return std::nullopt;
    return answer.mid(static_cast<qsizetype>(qstrlen(kind)));
  }
};

void runSteps(ui::TfrmMain* window, std::shared_ptr<std::deque<QString>> steps) {
  if (steps->empty()) return;
  const QString step = steps->front();
  steps->pop_front();
  if (step.startsWith(QLatin1String("await="))) {
    if (!QFile::exists(step.mid(6))) {
      steps->push_front(step);
      QTimer::singleShot(50, window, [window, steps] { runSteps(window, steps); });
      return;
    }
  } else if (step.startsWith(QLatin1String("title="))) {
    if (auto* editor = qobject_cast<QLineEdit*>(window->treeView()->titleEditor())) {
      editor->setText(step.mid(6));
      window->treeView()->finishEditing();
    }
  } else if (auto* item = window->findChild<QAction*>(step)) {
    item->trigger();
  } else {
    note("unknown step", step);
  }
  QTimer::singleShot(0, window, [window, steps] { runSteps(window, steps); });
}

}  // namespace

bool runTestScript(ui::TfrmMain& window) {
  if (!qEnvironmentVariableIsSet("QUILLMARK_TEST_SCRIPT")) return false;
  static ScriptDesktop desktop;
  platform::setDesktop(&desktop);
  auto steps = std::make_shared<std::deque<QString>>();
  const QString script = qEnvironmentVariable("QUILLMARK_TEST_SCRIPT");
  for (const QString& part : script.split(u';', Qt::SkipEmptyParts)) {
    const QString step = part.trimmed();
    const bool answer = step == QLatin1String("yes") || step == QLatin1String("no") ||
                        step == QLatin1String("cancel") || step.startsWith(QLatin1String("open=")) ||
                        step.startsWith(QLatin1String("save="));
    (answer ? desktop.answers : *steps).push_back(step);
  }
  QTimer::singleShot(0, &window, [&window, steps] { runSteps(&window, steps); });
  return true;
}

}  // namespace qm::app
