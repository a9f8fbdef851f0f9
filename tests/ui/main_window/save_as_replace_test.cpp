// Save As asks before it replaces an existing file other than the list's
// own; No and a cancelled dialog write nothing.
#include <QFile>
#include <vector>

#include "main_window_fixture.h"
#include "stream/task_list_file.h"

namespace qm::test {
namespace {

class SaveAsReplace : public MainWindowTest {
 protected:
  QString path(const char* name) { return files.filePath(QString::fromLatin1(name)); }
  static QByteArray contentsOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static void write(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
  }

  QTemporaryDir files;
};

TEST_F(SaveAsReplace, AsksOnlyForAnotherExistingFileAndWritesOnlyOnYes) {
  struct Case {
    const char* what;
    std::vector<std::optional<QString>> dialogAnswers;
    std::deque<bool> replaceAnswers;
    QStringList asked;  // the files the question named
    QString writtenTo;  // empty: nothing written
  };
  const QString own = path("own.jjp");
  const QString other = path("other.jjp");
  const QString link = path("link.jjp");
  const QString fresh = path("fresh.jjp");
  std::vector<Case> cases = {
      {"a new file", {fresh}, {}, {}, fresh},
      {"the list's own file", {own}, {}, {}, own},
      {"a link to the list's own file", {link}, {}, {}, own},
      {"another file, Yes", {other}, {true}, {other}, other},
      {"another file, No, then the dialog cancelled", {other, std::nullopt}, {false}, {other}, {}},
      {"another file, No, then a new name", {other, fresh}, {false}, {other}, fresh},
  };
#ifdef Q_OS_WIN
  // A Windows shortcut is a file of its own, not a link the file system follows.
  std::erase_if(cases, [](const Case& c) { return QByteArray(c.what).startsWith("a link"); });
#endif
  createTreeWith({"one"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // The list is named after its own file, which then holds other bytes.
    for (const QString& file : {own, other, fresh, link}) QFile::remove(file);
    desktop.fileNames = {own};
    window->SaveAs1->trigger();
    write(own, "own bytes");
    write(other, "other bytes");
#ifndef Q_OS_WIN
    ASSERT_TRUE(QFile::link(own, link));
#endif
    desktop.saveRequests.clear();
    desktop.replacePrompts.clear();

    desktop.fileNames.assign(c.dialogAnswers.begin(), c.dialogAnswers.end());
    desktop.replaceAnswers = c.replaceAnswers;
    window->SaveAs1->trigger();
    EXPECT_EQ(desktop.replacePrompts, c.asked);
    EXPECT_TRUE(desktop.fileNames.empty());
    const std::string list = saveTaskListToBytes(tree());
    for (const QString& file : {own, other, fresh}) {
      const bool written = file == c.writtenTo;
      EXPECT_EQ(contentsOf(file).toStdString() == list, written) << file.toStdString();
    }
    EXPECT_EQ(window->currentFileName(), c.writtenTo.isEmpty() ? own : c.dialogAnswers.back().value());
    if (c.dialogAnswers.size() > 1) {  // the dialog came back on the refused name
      EXPECT_EQ(desktop.saveRequests.at(1).fileName, other);
    }
  }
}

}  // namespace
}  // namespace qm::test
