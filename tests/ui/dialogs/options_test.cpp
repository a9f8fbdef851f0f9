#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <utility>
#include <vector>

#include "error_recording_desktop.h"
#include "model/error.h"
#include "ui/dialogs/uOptions.h"

namespace qm::ui {
namespace {

// A settings store in memory that follows GetR's rule: the texts are handed
// over only when a directory is stored.
struct FakeSettings {
  QString directory;
  QString scheme;
  int reads = 0;
  std::vector<std::pair<QString, QString>> writes;
  bool failWrites = false;
  bool failReads = false;

  TfrmOptions::SettingsReader reader() {
    return [this](QString& dir, QString& schemeOut) {
      ++reads;
      if (failReads) raise("Invalid data type for '%s'", {"DefaultDir"});
      if (directory.isEmpty()) return;
      dir = directory;
      schemeOut = scheme;
    };
  }
  TfrmOptions::SettingsWriter writer() {
    return [this](const QString& dir, const QString& schemeIn) {
      if (failWrites) raise("Failed to set data for '%s'", {"DefaultDir"});
      writes.emplace_back(dir, schemeIn);
      directory = dir;
      scheme = schemeIn;
    };
  }
};

class OptionsDialog : public ::testing::Test {
 protected:
  void showActive(TfrmOptions& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  }
  void retype(TfrmOptions& dialog, const QString& text) {
    dialog.txtDefaultDir->selectAll();
    QTest::keyClicks(dialog.txtDefaultDir, text);
  }

  test::ErrorRecordingDesktop desktop;
  FakeSettings settings;
};

TEST_F(OptionsDialog, FirstStartShowsAnEmptyEditAndOkWritesEmptyDirectoryAndSkyBlue) {
  TfrmOptions dialog(settings.reader(), settings.writer());
  EXPECT_EQ(settings.reads, 1);
  EXPECT_EQ(dialog.txtDefaultDir->text(), "");  // the initial "c:\" is gone
  showActive(dialog);
  EXPECT_EQ(QApplication::focusWidget(), dialog.txtDefaultDir);

  dialog.cmdApply->click();
  ASSERT_EQ(settings.writes.size(), 1u);
  EXPECT_EQ(settings.writes[0], std::make_pair(QString(""), QString("SkyBlue")));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(OptionsDialog, ShowsTheStoredDirectoryAndWritesTypedTextUnvalidated) {
  settings.directory = "/home/ann/lists";
  settings.scheme = "SkyBlue";
  TfrmOptions dialog(settings.reader(), settings.writer());
  EXPECT_EQ(dialog.txtDefaultDir->text(), "/home/ann/lists");

  showActive(dialog);
  const QString typed = " /no/such dir ";
  retype(dialog, typed);
  dialog.cmdApply->click();
  ASSERT_EQ(settings.writes.size(), 1u);
  EXPECT_EQ(settings.writes[0].first, typed);

  // The next reader of the store sees the new directory.
  TfrmOptions next(settings.reader(), settings.writer());
  EXPECT_EQ(next.txtDefaultDir->text(), typed);
}

TEST_F(OptionsDialog, AnotherStoredSchemeHasNoVisibleEffectAndOkOverwritesItWithSkyBlue) {
  settings.directory = "/srv";
  settings.scheme = "Purple";
  TfrmOptions dialog(settings.reader(), settings.writer());
  showActive(dialog);
  EXPECT_EQ(dialog.cboColorScheme->currentText(), "SkyBlue");
  EXPECT_EQ(dialog.cboColorScheme->count(), 2);
  EXPECT_EQ(dialog.cboColorScheme->itemText(1), "Windows");
  EXPECT_FALSE(dialog.cboColorScheme->isVisible());
  EXPECT_FALSE(dialog.findChild<QLabel*>("lblColorScheme")->isVisible());

  dialog.cmdApply->click();
  ASSERT_EQ(settings.writes.size(), 1u);
  EXPECT_EQ(settings.writes[0], std::make_pair(QString("/srv"), QString("SkyBlue")));
}

TEST_F(OptionsDialog, CancelEscapeAndCloseBoxHideWithoutWritingAndKeepTheTypedText) {
  TfrmOptions dialog(settings.reader(), settings.writer());
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"Cancel", [&] { dialog.Button1->click(); }},
      {"Escape", [&] { QTest::keyClick(dialog.txtDefaultDir, Qt::Key_Escape); }},
      {"close box", [&] { dialog.close(); }},
  };
  for (const auto& [name, closeIt] : ways) {
    SCOPED_TRACE(name);
    showActive(dialog);
    retype(dialog, QString("typed before ") + name);
    closeIt();
    EXPECT_FALSE(dialog.isVisible());
    showActive(dialog);
    EXPECT_EQ(dialog.txtDefaultDir->text(), QString("typed before ") + name);
    dialog.hide();
  }
  EXPECT_TRUE(settings.writes.empty());
  EXPECT_EQ(settings.reads, 1);  // filled once, never refreshed
}

TEST_F(OptionsDialog, EnterInTheEditPressesNothing) {
  TfrmOptions dialog(settings.reader(), settings.writer());
  showActive(dialog);
  QTest::keyClick(dialog.txtDefaultDir, Qt::Key_Return);
  QTest::keyClick(dialog.txtDefaultDir, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(settings.writes.empty());
  EXPECT_FALSE(dialog.cmdApply->isDefault());
  EXPECT_FALSE(dialog.Button1->isDefault());
}

TEST_F(OptionsDialog, AFailedWriteIsShownAndKeepsTheDialogOpen) {
  TfrmOptions dialog(settings.reader(), settings.writer());
  showActive(dialog);
  retype(dialog, "/data");
  settings.failWrites = true;
  dialog.cmdApply->click();
  EXPECT_EQ(desktop.errors, QStringList{"Failed to set data for 'DefaultDir'"});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.txtDefaultDir->text(), "/data");

  settings.failWrites = false;
  dialog.cmdApply->click();
  EXPECT_EQ(settings.directory, "/data");
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(OptionsDialog, AFailedReadAtCreationIsShownAndLeavesAnEmptyEditAndSkyBlue) {
  settings.failReads = true;
  TfrmOptions dialog(settings.reader(), settings.writer());
  EXPECT_EQ(desktop.errors, QStringList{"Invalid data type for 'DefaultDir'"});
  EXPECT_EQ(dialog.txtDefaultDir->text(), "");
  EXPECT_EQ(dialog.cboColorScheme->currentText(), "SkyBlue");
}

}  // namespace
}  // namespace qm::ui
