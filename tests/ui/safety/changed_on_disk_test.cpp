// Save asks before it writes over a file that another program changed since
// the list was opened or saved.
#include <QFile>
#include <filesystem>

#include "main_window_fixture.h"
#include "stream/task_list_file.h"

namespace qm::test {
namespace {

using platform::SaveAnswer;

class ChangedOnDisk : public MainWindowTest {
 protected:
  QString path(const char* name) { return files.filePath(QString::fromLatin1(name)); }
  static void writeList(const QString& file, const char* title) {
    Ttree list;
    list.setSettings(TreeSettings::mainWindowInitial());
    list.appendNode(nullptr, title, list.createRecord());
    SaveTaskList(file.toStdString(), list);
  }
  static std::string firstTitleIn(const QString& file) {
    Ttree list;
    LoadTaskList(file.toStdString(), list);
    return list.firstNode() != nullptr ? std::string(list.firstNode()->text()) : "";
  }
  // The list opened from a file and edited.
  void openAndEdit(const QString& file) {
    writeList(file, "mine");
    createWindow();
    desktop.fileNames.push_back(file);
    window->mnuOpen->trigger();
    tree().setText(tree().firstNode(), "edited");
    window->setTag(1);
  }
  QString prompt(const QString& file) {
    return file + " was changed by another program since it was opened or saved. Overwrite it?";
  }

  QTemporaryDir files;
};

TEST_F(ChangedOnDisk, TheAnswerDecidesWhereTheListGoes) {
  struct Case {
    SaveAnswer answer;
    const char* fileAfter;   // the first title in the changed file afterwards
    const char* otherAfter;  // in the file chosen in Save As, "" when none
    int tagAfter;
  };
  const Case cases[] = {
      {SaveAnswer::Yes, "edited", "", 0},
      {SaveAnswer::No, "theirs", "edited", 1},  // Save As keeps the flag
      {SaveAnswer::Cancel, "theirs", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    const QString file = path("list.jjp");
    const QString other = path("other.jjp");
    QFile::remove(other);
    openAndEdit(file);
    writeList(file, "theirs");
    desktop.savePrompts.clear();
    desktop.saveAnswers.push_back(c.answer);
    if (c.answer == SaveAnswer::No) desktop.fileNames.push_back(other);
    window->mnuSave->trigger();
    EXPECT_EQ(desktop.savePrompts, QStringList{prompt(file)});
    EXPECT_EQ(firstTitleIn(file), c.fileAfter);
    EXPECT_EQ(QFile::exists(other) ? firstTitleIn(other) : "", c.otherAfter);
    EXPECT_EQ(window->Tag(), c.tagAfter);
    if (c.answer == SaveAnswer::Yes) {
      desktop.savePrompts.clear();
      window->mnuSave->trigger();
      EXPECT_TRUE(desktop.savePrompts.isEmpty()) << "what Yes wrote is the new point of comparison";
    }
    window.reset();
  }
}

TEST_F(ChangedOnDisk, CancelInTheCloseQueryWritesNothingAndRefusesTheClose) {
  const QString file = path("list.jjp");
  openAndEdit(file);
  writeList(file, "theirs");
  desktop.saveAnswers = {SaveAnswer::Yes, SaveAnswer::Cancel};  // save before closing, then Cancel
  window->show();
  EXPECT_FALSE(window->close());
  EXPECT_EQ(desktop.savePrompts.last(), prompt(file));
  EXPECT_EQ(firstTitleIn(file), "theirs");
}

TEST_F(ChangedOnDisk, NoQuestionForAGoneFileTheSameBytesOrAChosenFile) {
  const QString file = path("list.jjp");
  openAndEdit(file);
  const std::filesystem::path onDisk(file.toStdString());
  std::filesystem::last_write_time(onDisk, std::filesystem::last_write_time(onDisk) + std::chrono::hours(1));
  window->mnuSave->trigger();  // touched, the same bytes
  EXPECT_EQ(firstTitleIn(file), "edited");
  QFile::remove(file);
  window->mnuSave->trigger();
  EXPECT_EQ(firstTitleIn(file), "edited");
  writeList(file, "theirs");
  desktop.fileNames.push_back(file);
  window->SaveAs1->trigger();
  EXPECT_EQ(firstTitleIn(file), "edited");
  EXPECT_TRUE(desktop.savePrompts.isEmpty());
}

}  // namespace
}  // namespace qm::test
