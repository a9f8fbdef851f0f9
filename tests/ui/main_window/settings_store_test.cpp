#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <future>

#include "main_window_fixture.h"
#include "platform/hive_file_store.h"
#include "platform/settings_key.h"
#include "ui/edits/command.h"

namespace qm::test {
namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00\n";

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class SettingsStoreTest : public MainWindowTest {
 protected:
  QString hivePath() { return hive->filePath(); }
  void writeHive(const QByteArray& body) { writeFile(hivePath(), kHeader + "\n" + body); }
  void writeQmkKey(const QByteArray& values) {
    writeHive("[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\n" + values);
  }

  // GetR as the options dialog calls it, with texts that show what it hands back.
  std::pair<QString, QString> getR() {
    QString directory = "untouched";
    QString scheme = "untouched";
    window->GetR(nullptr, directory, scheme);
    return {directory, scheme};
  }
};

TEST_F(SettingsStoreTest, FirstStartCreatesTheKeyAndTheOpenDialogStartsInCRoot) {
  ASSERT_FALSE(QFile::exists(hivePath()));
  createWindow();
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "c:\\");
  EXPECT_EQ(window->SaveDialog1().initialDirectory, "c:\\temp");
  EXPECT_EQ(window->OpenDialog1().filter, "Quillmark File (*.jjp)");
  EXPECT_EQ(window->OpenDialog1().defaultSuffix, "jjp");
  QByteArray hiveText = readFile(hivePath());
  EXPECT_TRUE(hiveText.startsWith(kHeader));
  EXPECT_TRUE(hiveText.contains("[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\n"));
  EXPECT_TRUE(hiveText.contains("[HKEY_CURRENT_USER\\Software]\n"));  // with its parents
  EXPECT_TRUE(desktop.errors.isEmpty());
  EXPECT_EQ(getR(), std::make_pair(QString("untouched"), QString("untouched")));
}

TEST_F(SettingsStoreTest, AStoredDirectoryIsUsedAndHandedBackWithTheScheme) {
  writeQmkKey("\"DefaultDir\"=\"d:\\\\work\\\\lists\"\n\"ColorScheme\"=\"SkyBlue\"\n");
  createWindow();
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "d:\\work\\lists");
  EXPECT_EQ(getR(), std::make_pair(QString("d:\\work\\lists"), QString("SkyBlue")));
}

TEST_F(SettingsStoreTest, AnEmptyDirectoryMeansCRootAndHandsNothingBack) {
  writeQmkKey("\"DefaultDir\"=\"\"\n\"ColorScheme\"=\"SkyBlue\"\n");
  createWindow();
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "c:\\");
  EXPECT_EQ(getR(), std::make_pair(QString("untouched"), QString("untouched")));
}

TEST_F(SettingsStoreTest, ExpandableTextReadsUnexpandedAndTextEndsAtItsFirstZero) {
  // "%HOME%\x" as REG_EXPAND_SZ, and "ab<zero>cd" as REG_SZ, both UTF-16LE as exported.
  writeQmkKey(
      "\"DefaultDir\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00,78,00,00,00\n"
      "\"ColorScheme\"=hex(1):61,00,62,00,00,00,63,00,\\\n  64,00,00,00\n");
  createWindow();
  EXPECT_EQ(getR(), std::make_pair(QString("%HOME%\\x"), QString("ab")));
}

TEST_F(SettingsStoreTest, ANumberUnderDefaultDirIsAnInvalidDataTypeAtStartUpWhichGoesOn) {
  writeQmkKey("\"DefaultDir\"=dword:0000002a\n");
  createWindow();
  EXPECT_EQ(desktop.errors, QStringList{"Invalid data type for 'DefaultDir'"});
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "c:\\");
  // The rest of the start-up ran: the icon that brings a hidden window back is there.
  EXPECT_TRUE(window->trayIcon().isAdded());
  EXPECT_NE(window->panelText(3), "");
}

TEST_F(SettingsStoreTest, ABinarySchemeIsAnInvalidDataTypeButAnEmptyOneIsEmptyText) {
  writeQmkKey("\"DefaultDir\"=\"x\"\n\"ColorScheme\"=hex:01,02\n");
  createWindow();
  EXPECT_EQ(desktop.errors, QStringList{"Invalid data type for 'ColorScheme'"});
  desktop.errors.clear();
  writeQmkKey("\"DefaultDir\"=\"x\"\n\"ColorScheme\"=hex:\n");
  EXPECT_EQ(getR(), std::make_pair(QString("x"), QString("")));
  EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(SettingsStoreTest, SetRWritesBothTextsAndKeepsEverythingElse) {
  QByteArray others =
      "[HKEY_CURRENT_USER\\Software\\Other]\n"
      "\"Keep\"=hex(7):41,00,00,00,00,00\n"
      "@=\"default\"\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\n"
      "\"Count\"=dword:00000007\n"
      "\"DefaultDir\"=\"old\"\n";
  writeHive(others);
  createWindow();
  window->SetR(nullptr, "c:\\Users\\\"me\"", "SkyBlue");
  QByteArray text = readFile(hivePath());
  EXPECT_TRUE(text.contains(
      "[HKEY_CURRENT_USER\\Software\\Other]\n\"Keep\"=hex(7):41,00,00,00,00,00\n@=\"default\"\n"))
      << text.toStdString();
  EXPECT_TRUE(text.contains("\"Count\"=dword:00000007\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\"DefaultDir\"=\"c:\\\\Users\\\\\\\"me\\\"\"\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\"ColorScheme\"=\"SkyBlue\"\n")) << text.toStdString();
  EXPECT_FALSE(text.contains("old"));
  EXPECT_EQ(getR(), std::make_pair(QString("c:\\Users\\\"me\""), QString("SkyBlue")));

  window->SetR(nullptr, "", "SkyBlue");  // stored as typed, empty included
  EXPECT_TRUE(readFile(hivePath()).contains("\"DefaultDir\"=\"\"\n"));
  EXPECT_EQ(getR().first, "untouched");
  EXPECT_FALSE(QFile::exists(hivePath() + ".damaged"));
}

TEST_F(SettingsStoreTest, AHiveIsReadOnceUntilReplacedAndEqualNamesKeepTheLastValue) {
  // Names compare without case: the last of equal names is the value, also
  // when the key comes twice, and a write keeps one of them. A bad line under
  // a key that is never read still counts as damage.
  writeQmkKey(
      "\"DefaultDir\"=\"first\"\n"
      "[HKEY_CURRENT_USER\\Software\\Other]\n\"Bad\"=dword:nothex\n"
      "[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\n\"defaultdir\"=\"second\"\n\"Other\"=\"kept\"\n");
  createWindow();
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "second");
  window->SetColor();
  getR();
  EXPECT_EQ(hive->timesRead(), 1);  // once for the whole start, however many values it asks for
  window->SetR(nullptr, "third", "SkyBlue");
  EXPECT_TRUE(QFile::exists(hivePath() + ".damaged"));
  const QByteArray text = readFile(hivePath());
  EXPECT_EQ(text.toLower().count("\"defaultdir\"="), 1) << text.toStdString();
  EXPECT_TRUE(text.contains("=\"third\"\n") && text.contains("\"Other\"=\"kept\"\n")) << text.toStdString();

  // Another instance replaces the file with one of the same size: it is read
  // again, not taken from what was read before.
  const QString other = hivePath() + ".new";
  QByteArray replacement = kHeader + "\n[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\n\"DefaultDir\"=\"fourth\"\n";
  const qsizetype padding = QFileInfo(hivePath()).size() - replacement.size();
  ASSERT_GE(padding, 2);
  writeFile(other, replacement + ";" + QByteArray(padding - 2, 'x') + "\n");
  ASSERT_EQ(QFileInfo(other).size(), QFileInfo(hivePath()).size());
  std::error_code renamed;  // replaces the old file on Windows too, as ::rename does not
  std::filesystem::rename(other.toStdU16String(), hivePath().toStdU16String(), renamed);
  ASSERT_FALSE(renamed) << renamed.message();
  EXPECT_EQ(getR().first, "fourth");
  EXPECT_EQ(hive->timesRead(), 2);
}

TEST_F(SettingsStoreTest, TextsWithLineBreaksAndOtherScriptsSurviveTheFile) {
  createWindow();
  QString directory = QString::fromUtf8("/home/z\xC3\xBC\n\tx");
  window->SetR(nullptr, directory, "SkyBlue");
  EXPECT_EQ(getR().first, directory);
}

TEST_F(SettingsStoreTest, ADamagedHiveIsReadAsFarAsPossibleAndCopiedAsideBeforeItIsReplaced) {
  QByteArray damaged =
      "garbage at the top\n"
      "[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\n"
      "\"DefaultDir\"=\"/srv/lists\"\n"
      "\"Broken\"=dword:nothex\n"
      "this line means nothing\n";
  writeFile(hivePath(), damaged);
  createWindow();
  EXPECT_TRUE(desktop.errors.isEmpty());
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "/srv/lists");

  window->SetR(nullptr, "/srv/other", "SkyBlue");
  EXPECT_EQ(readFile(hivePath() + ".damaged"), damaged);
  QByteArray repaired = readFile(hivePath());
  EXPECT_TRUE(repaired.startsWith(kHeader));
  EXPECT_FALSE(repaired.contains("garbage"));
  EXPECT_EQ(getR().first, "/srv/other");

  // A sound file is replaced without another copy.
  window->SetR(nullptr, "/srv/third", "SkyBlue");
  EXPECT_FALSE(QFile::exists(hivePath() + ".damaged-2"));
}

TEST_F(SettingsStoreTest, AHiveOver16MiBReadsAsEmptyAndIsKeptAsDamagedWhenReplaced) {
  QByteArray huge = kHeader + "\n[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\n\"DefaultDir\"=\"/srv/lists\"\n";
  const QByteArray filler = "\"Filler\"=\"" + QByteArray(100, 'f') + "\"\n";
  while (huge.size() <= (16 << 20)) huge += filler;
  writeFile(hivePath(), huge);
  createWindow();
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "c:\\");
  EXPECT_EQ(readFile(hivePath() + ".damaged"), huge);  // the key was created over it
  window->SetR(nullptr, "/srv/other", "SkyBlue");
  EXPECT_LT(readFile(hivePath()).size(), 200);
  EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(SettingsStoreTest, AHiveInUtf16WithItsByteOrderMarkReads) {
  QString text = QString::fromLatin1(kHeader) +
                 "\r\n[HKEY_CURRENT_USER\\Software\\zmx\\QMK]\r\n\"DefaultDir\"=\"C:\\\\Temp\"\r\n";
  QByteArray bytes("\xFF\xFE");
  for (QChar c : text) bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  writeFile(hivePath(), bytes);
  createWindow();
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "C:\\Temp");
  EXPECT_TRUE(desktop.errors.isEmpty());
}

// A store that refuses on demand, and counts opens and closes.
class RefusingStore : public platform::SettingsStore {
 public:
  std::optional<Key> createKey(const QString&) override {
    if (refuseKeys) return std::nullopt;
    ++opened;
    return 1;
  }
  std::optional<platform::StoredValue> queryValue(Key, const QString& name) override {
    if (name == "DefaultDir") return platform::StoredValue{platform::value_type::kDword, QByteArray(4, '\1')};
    return std::nullopt;
  }
  bool setTextValue(Key, const QString&, const QString&) override { return false; }
  void closeKey(Key) override { ++closed; }

  bool refuseKeys = false;
  int opened = 0;
  int closed = 0;
};

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedChangesNothingAndSaysNothing) {
  RefusingStore store;
  store.refuseKeys = true;
  platform::setSettingsStore(&store);
  createWindow();
  EXPECT_EQ(window->OpenDialog1().initialDirectory, "c:\\");
  EXPECT_EQ(getR(), std::make_pair(QString("untouched"), QString("untouched")));
  window->SetR(nullptr, "x", "y");
  window->SetColor();
  EXPECT_TRUE(desktop.errors.isEmpty());
  EXPECT_NE(window->panelText(3), "");
}

TEST_F(SettingsStoreTest, FailuresAreReportedAndTheKeyIsReleasedOnEveryPath) {
  RefusingStore store;
  platform::setSettingsStore(&store);
  createWindow();  // reads DefaultDir: a number
  EXPECT_EQ(desktop.errors, QStringList{"Invalid data type for 'DefaultDir'"});
  EXPECT_FALSE(ui::runCommand(window.get(), [&] { window->SetR(nullptr, "x", "SkyBlue"); }));
  EXPECT_EQ(desktop.errors.last(), "Failed to set data for 'DefaultDir'");
  // GetR, the agenda's values at start-up, SetR.
  EXPECT_EQ(store.opened, 3);
  EXPECT_EQ(store.closed, 3);
}

TEST(HiveFileStore, AnUnreadableOrUnwritableHiveRefusesTheKey) {
  QTemporaryDir dir;
  // The hive's place is taken by a directory: it can be neither read nor replaced.
  QString path = dir.filePath("registry.reg");
  ASSERT_TRUE(QDir().mkpath(path));
  platform::HiveFileStore store(path);
  EXPECT_FALSE(store.createKey("\\Software\\zmx\\QMK").has_value());

  // Its folder cannot be made: the key cannot be created.
  QString blocker = dir.filePath("file");
  writeFile(blocker, "x");
  platform::HiveFileStore nowhere(blocker + "/quillmark/registry.reg");
  EXPECT_FALSE(nowhere.createKey("\\Software\\zmx\\QMK").has_value());

#ifndef _WIN32  // named pipes of this kind are POSIX
  // A named pipe in its place is refused at once, not waited on, and stays.
  QString pipe = dir.filePath("pipe.reg");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  auto opening =
      std::async(std::launch::async, [&] { return platform::HiveFileStore(pipe).createKey("\\Software"); });
  if (opening.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
    ADD_FAILURE() << "reading the hive blocked on a named pipe";
    ::close(::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK));
  }
  EXPECT_FALSE(opening.get().has_value());
  EXPECT_FALSE(QFileInfo(pipe).isFile());
#endif
}

}  // namespace
}  // namespace qm::test
