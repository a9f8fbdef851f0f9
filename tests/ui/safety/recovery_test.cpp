// Recovery files: written while a list has unsaved changes, removed once it
// is saved or given up, and offered after an instance ended without saving,
// also when the program itself is killed.
#include "ui/safety/recovery.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>

#include "main_window_fixture.h"
#include "platform/core_file_name.h"
#include "stream/task_list_file.h"

namespace qm::test {
namespace {

using platform::SaveAnswer;

class Recovery : public MainWindowTest {
 protected:
  QString listFile() { return files.filePath(QStringLiteral("list.jjp")); }
  QString recoveryPath() { return window->recoveryFiles().listPath(); }
  std::vector<std::string> topTitles() { return childTitles(tree().root()); }
  static std::vector<std::string> titlesIn(const QString& file) {
    Ttree list;
    LoadTaskList(platform::coreFileName(file), list);
    return childTitles(list.root());
  }
  QStringList leftovers() { return QDir(ui::RecoveryFiles::directory()).entryList({"*.jjp", "*.json"}); }

  // A window that edits the named list, writes its recovery file and ends
  // without a close, as a crash would leave it.
  void leaveUnsaved(std::initializer_list<const char*> titles) {
    createWindow();
    createTreeWith(titles);
    desktop.fileNames.push_back(listFile());
    if (QFile::exists(listFile())) desktop.replaceAnswers.push_back(true);
    window->SaveAs1->trigger();
    tree().setText(tree().firstNode(), "edited");
    window->setTag(1);
    window->writeRecovery();
    window.reset();
  }

  QTemporaryDir files;
};

TEST_F(Recovery, WrittenAfterAChangeAndRemovedBySave) {
  createTree();
  window->setTag(1);
  window->writeRecovery();
  EXPECT_FALSE(QFile::exists(recoveryPath())) << "no unsaved changes";
  tree().deleteNode(tree().firstNode());
  for (const char* title : {"one", "two"}) add(nullptr, title);
  window->writeRecovery();
  ASSERT_TRUE(QFile::exists(recoveryPath()));
  EXPECT_EQ(titlesIn(recoveryPath()), (std::vector<std::string>{"one", "two"}));
  QFile::remove(recoveryPath());
  window->writeRecovery();
  EXPECT_FALSE(QFile::exists(recoveryPath())) << "nothing changed since the last write";
  tree().setText(tree().firstNode(), "uno");
  window->writeRecovery();
  EXPECT_EQ(titlesIn(recoveryPath()), (std::vector<std::string>{"uno", "two"}));
  desktop.fileNames.push_back(listFile());
  window->mnuSave->trigger();
  EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
}

TEST_F(Recovery, AStateFolderNamedInAnyScriptHoldsTheFiles) {
  // Not ASCII, yet in the ANSI code page that environment variables use on
  // Windows, where the core takes the name only in UTF-8.
  const QString state = files.filePath(QStringLiteral("\u00c9t\u00e9"));
  const QByteArray previous = qgetenv("XDG_STATE_HOME");
  qputenv("XDG_STATE_HOME", state.toLocal8Bit());
  createWindow();  // its recovery files take their folder now
  qputenv("XDG_STATE_HOME", previous);
  createTreeWith({"one"});
  window->setTag(1);
  window->writeRecovery();
  EXPECT_TRUE(recoveryPath().startsWith(state)) << recoveryPath().toStdString();
  EXPECT_EQ(titlesIn(recoveryPath()), (std::vector<std::string>{"one"}));
}

TEST_F(Recovery, AFailedWriteSaysSoOnceOnStandardErrorAndNothingElse) {
  createTreeWith({"one"});
  window->setTag(1);
  ASSERT_TRUE(QDir().mkpath(recoveryPath()));  // a folder where the file should go
  testing::internal::CaptureStderr();
  window->writeRecovery();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("recovery file not written"), std::string::npos) << said;
  EXPECT_TRUE(desktop.errors.isEmpty());
  EXPECT_EQ(tree().nodeCount(), 1u);
}

TEST_F(Recovery, YesRecoversTheListUnderItsNameUntilSaved) {
  leaveUnsaved({"one", "two"});
  createWindow();
  desktop.yesNoAnswers.push_back(true);
  window->offerRecovery();
  ASSERT_EQ(desktop.questions.size(), 1);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Quillmark was closed without saving the task list ") +
                                 QRegularExpression::escape(listFile()) +
                                 QStringLiteral(" \\(2 tasks, last changed at .+\\)\\. Recover it\\?$"))
                  .match(desktop.questions.first())
                  .hasMatch())
      << desktop.questions.first().toStdString();
  EXPECT_EQ(topTitles(), (std::vector<std::string>{"edited", "two"}));
  EXPECT_EQ(window->currentFileName(), listFile());
  EXPECT_EQ(window->panelText(1), "2");
  EXPECT_EQ(window->Tag(), 1);
  EXPECT_EQ(leftovers().size(), 2) << "kept until saved";
  window->mnuSave->trigger();
  EXPECT_TRUE(desktop.savePrompts.isEmpty()) << "the file is as the lost instance last saw it";
  EXPECT_EQ(titlesIn(listFile()), (std::vector<std::string>{"edited", "two"}));
  EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(Recovery, NoDiscardsTheNewestAndTheOlderOneComesNextTime) {
  leaveUnsaved({"older"});
  leaveUnsaved({"newer"});
  createWindow();
  desktop.yesNoAnswers = {false};
  window->offerRecovery();
  EXPECT_EQ(window->tree(), nullptr);
  EXPECT_EQ(leftovers().size(), 2) << "the older set stays";
  window.reset();
  createWindow();
  desktop.yesNoAnswers = {true};
  window->offerRecovery();
  EXPECT_EQ(desktop.questions.size(), 2);
  EXPECT_EQ(topTitles(), (std::vector<std::string>{"edited"}));
  EXPECT_EQ(leftovers().size(), 2) << "the recovered set, now this window's";
}

TEST_F(Recovery, AClosedWindowLeavesNothingAndARunningOneIsNotOffered) {
  createTreeWith({"one"});
  window->setTag(1);
  window->writeRecovery();
  auto other = std::make_unique<ui::TfrmMain>();
  other->offerRecovery();  // the first window still runs
  EXPECT_TRUE(desktop.questions.isEmpty());
  other.reset();
  desktop.saveAnswers.push_back(SaveAnswer::No);
  window->show();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(leftovers().isEmpty());
}

#ifdef QUILLMARK_PROGRAM
// The program itself, edited, killed with SIGKILL and started again.
class RecoveryOfTheProgram : public ::testing::Test {
 protected:
  struct Run {
    QString errors;
    int exitCode;
  };

  QProcess* start(const QString& script) {
    auto* program = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_STATE_HOME", dir.filePath("state"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("QUILLMARK_RECOVERY_SECONDS", "1");
    env.insert("QUILLMARK_TEST_SCRIPT", script);
    program->setProcessEnvironment(env);
    program->start(QStringLiteral(QUILLMARK_PROGRAM), {});
    EXPECT_TRUE(program->waitForStarted());
    return program;
  }
  // Runs a script that ends with Exit.
  Run runToEnd(const QString& script) {
    std::unique_ptr<QProcess> program(start(script));
    EXPECT_TRUE(program->waitForFinished(30000));
    return {QString::fromLocal8Bit(program->readAllStandardError()), program->exitCode()};
  }
  QString sidecarText() {
    QDir recovery(dir.filePath("state/quillmark/recovery"));
    QStringList sidecars = recovery.entryList({"*.json"});
    if (sidecars.isEmpty()) return {};
    QFile file(recovery.filePath(sidecars.first()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QTemporaryDir dir;
};

TEST_F(RecoveryOfTheProgram, AKilledRunIsRecoveredExactlyAndACleanCloseLeavesNoPrompt) {
  const QString list = dir.filePath("list.jjp");
  {
    Ttree original;
    original.setSettings(TreeSettings::mainWindowInitial());
    original.appendNode(nullptr, "kept", original.createRecord());
    SaveTaskList(list.toStdString(), original);
  }
  std::unique_ptr<QProcess> editing(
      start("open=" + list + ";mnuOpen;mnuInsert;title=added;mnuInsert;title=and another"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return sidecarText().contains("\"tasks\":3"); }, 20000))
      << sidecarText().toStdString();
  editing->kill();  // SIGKILL
  ASSERT_TRUE(editing->waitForFinished());
  EXPECT_EQ(editing->exitStatus(), QProcess::CrashExit);

  // The view's first focus marks the list modified again after Save, so the
  // close asks; No closes.
  Run recovered = runToEnd("yes;no;mnuSave;mnuExit");
  EXPECT_TRUE(recovered.errors.contains("prompt: Quillmark was closed without saving the task list " + list +
                                        " (3 tasks, last changed at"))
      << recovered.errors.toStdString();
  Ttree saved;
  LoadTaskList(list.toStdString(), saved);
  std::vector<std::string> titles;
  for (const TreeNode* task : saved.root()->children()) titles.emplace_back(task->text());
  EXPECT_EQ(titles, (std::vector<std::string>{"kept", "added", "and another"}));
  EXPECT_EQ(sidecarText(), "") << "saved, so nothing is left to recover";
  EXPECT_EQ(recovered.exitCode, 0);

  Run clean = runToEnd("mnuExit");
  EXPECT_FALSE(clean.errors.contains("prompt:")) << clean.errors.toStdString();
  EXPECT_EQ(clean.exitCode, 0);
}
#endif

}  // namespace
}  // namespace qm::test
