// When recovery files are written, who may read them, and what the offer
// names.
#include <sys/stat.h>

#include <QDir>

#include "main_window_fixture.h"
#include "ui/safety/recovery.h"

namespace qm::test {
namespace {

class RecoveryWriting : public MainWindowTest {
 protected:
  QString writeList() { return writeListFile(files.filePath(QStringLiteral("list.jjp")), {"one"}); }
  bool writesRecovery() {
    window->writeRecovery();
    return QFile::exists(window->recoveryFiles().listPath());
  }
  static int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? static_cast<int>(info.st_mode & 07777)
                                                                   : -1;
  }

  QTemporaryDir files;
};

TEST_F(RecoveryWriting, OnlyAfterARealChangeNotAfterAClickOrALayout) {
  struct Case {
    const char* what;
    std::function<void()> use;
    bool written;
  };
  const Case cases[] = {
      {"opened from the command line and focused",
       [&] {
         window = std::make_unique<ui::TfrmMain>(writeList());
         showActive();
       },
       false},
      {"opened, then Find used and the window resized",
       [&] {
         showActive();
         openWithDialog(writeList());
         window->mnuFind->trigger();
         window->resize(window->size() + QSize(40, 60));
         QCoreApplication::processEvents();
       },
       false},
      {"a new list", [&] { createTree(); }, false},
      {"changed, then saved",
       [&] {
         createTree();
         tree().setText(tree().firstNode(), "saved");
         desktop.fileNames.push_back(files.filePath(QStringLiteral("saved.jjp")));
         window->mnuSave->trigger();
       },
       false},
      {"opened, then a task renamed",
       [&] {
         createWindow();
         openWithDialog(writeList());
         tree().setText(tree().firstNode(), "renamed");
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window.reset();
    c.use();
    window->setTag(1);  // as any click leaves it
    EXPECT_EQ(writesRecovery(), c.written);
  }
}

TEST_F(RecoveryWriting, FilesAndFoldersAreTheUsersAlone) {
  // An older version left the program's folder readable by others; the
  // recovery folder is missing.
  const QString recovery = ui::RecoveryFiles::directory();
  const QString program = QFileInfo(recovery).path();
  ASSERT_TRUE(QDir().mkpath(program));
  ASSERT_EQ(::chmod(QFile::encodeName(program).constData(), 0755), 0);
  createTreeWith({"one"});
  ASSERT_TRUE(writesRecovery());

  const QString list = window->recoveryFiles().listPath();
  const QString sidecar = list.chopped(4) + QStringLiteral(".json");
  const QString lock = list.chopped(4) + QStringLiteral(".lock");
  for (const QString& file : {list, sidecar, lock}) EXPECT_EQ(modeOf(file), 0600) << file.toStdString();
  for (const QString& folder : {recovery, program}) EXPECT_EQ(modeOf(folder), 0700) << folder.toStdString();
}

TEST_F(RecoveryWriting, AListFromTheCommandLineIsNamedInTheOfferAndStaysUnnamed) {
  const QString file = writeList();
  window = std::make_unique<ui::TfrmMain>(file);
  tree().setText(tree().firstNode(), "edited");
  ASSERT_TRUE(writesRecovery());
  window.reset();  // as a crash leaves it

  createWindow();
  desktop.yesNoAnswers = {true};
  window->offerRecovery();
  ASSERT_EQ(desktop.questions.size(), 1);
  EXPECT_TRUE(
      desktop.questions[0].contains(QStringLiteral("the task list ") + file + QStringLiteral(" (1 tasks")))
      << desktop.questions[0].toStdString();
  EXPECT_EQ(titleOf(tree().firstNode()), "edited");
  EXPECT_EQ(window->currentFileName(), "") << "its first Save asks for a name, as before";
}

}  // namespace
}  // namespace qm::test
