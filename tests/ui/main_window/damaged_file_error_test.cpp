// A damaged list is refused with the reader's message, and the error box's
// details say which file it was.
#include <QFile>

#include "main_window_fixture.h"
#include "stream/task_list_file.h"

namespace qm::test {
namespace {

class DamagedFileError : public MainWindowTest {
 protected:
  // A list cut off inside its node list.
  QString writeDamagedList() {
    Ttree list;
    list.setSettings(TreeSettings::mainWindowInitial());
    list.appendNode(nullptr, "one", list.createRecord());
    const std::string bytes = saveTaskListToBytes(list);
    const size_t cut = bytes.find("Items.Data") + std::string("Items.Data").size() + 5;
    const QString file = files.filePath(QStringLiteral("damaged list.jjp"));
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.data(), static_cast<qint64>(cut));
    return file;
  }

  QTemporaryDir files;
};

TEST_F(DamagedFileError, TheBoxKeepsTheReadersMessageAndNamesTheFileInItsDetails) {
  struct Case {
    const char* how;
    std::function<void(const QString& file)> open;
  };
  const Case cases[] = {
      {"from the command line", [&](const QString& file) { window = std::make_unique<ui::TfrmMain>(file); }},
      {"with Open",
       [&](const QString& file) {
         createWindow();
         openWithDialog(file);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    window.reset();
    desktop.errors.clear();
    desktop.errorDetails.clear();
    const QString file = writeDamagedList();
    c.open(file);
    EXPECT_EQ(desktop.errors, QStringList{"Error reading Ttree.Items.Data: Stream read error."});
    EXPECT_EQ(desktop.errorDetails, QStringList{"While opening " + file + "."});
  }
}

}  // namespace
}  // namespace qm::test
