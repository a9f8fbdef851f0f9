#include <gtest/gtest.h>

#include <QPushButton>

#include "error_recording_desktop.h"
#include "model/error.h"
#include "ui/tray/note_mode_geometry.h"
#include "ui/tray/uMode.h"

namespace qm::ui {
namespace {

TEST(NoteModeGeometry, DocksANarrowerWindowAtTheRightOfTheWorkAreaAtItsFullHeight) {
  const QRect screen(0, 0, 1280, 1024);
  EXPECT_EQ(noteModeGeometry(356, screen), QRect(1124, 0, 156, 1024));

  // A work area that does not start at the origin (a panel at the top and left).
  const QRect area(40, 30, 1240, 994);
  const QRect note = noteModeGeometry(356, area);
  EXPECT_EQ(note.width(), 156);
  EXPECT_EQ(note.right(), area.right());
  EXPECT_EQ(note.top(), area.top());
  EXPECT_EQ(note.height(), area.height());
}

TEST(NoteModeGeometry, SettingItAgainNeverGoesBelowTheMinimumWidth) {
  const QRect area(0, 0, 1280, 1024);
  int width = 356;
  std::vector<int> widths;
  for (int i = 0; i < 4; ++i) {
    const QRect note = noteModeGeometry(width, area);
    EXPECT_EQ(note.right(), area.right());
    width = note.width();
    widths.push_back(width);
  }
  EXPECT_EQ(widths,
            (std::vector<int>{156, kNoteModeMinimumWidth, kNoteModeMinimumWidth, kNoteModeMinimumWidth}));
  EXPECT_EQ(noteModeGeometry(250, area).width(), kNoteModeMinimumWidth);
}

TEST(NoteModeGeometry, AWindowWiderThanTheWorkAreaFillsItsWidth) {
  const QRect area(0, 0, 800, 600);
  EXPECT_EQ(noteModeGeometry(1500, area), area);
}

class NoteModeWindow : public ::testing::Test {
 protected:
  test::ErrorRecordingDesktop desktop;
  TfrmMode window;
};

TEST_F(NoteModeWindow, SetNoteModeRunsSetModeWhileShownThenHides) {
  EXPECT_EQ(window.windowTitle(), "Quillmark - Properties");
  EXPECT_EQ(window.Button1->text(), "Set Note Mode");
  EXPECT_FALSE(window.isVisible());  // created hidden

  std::vector<bool> visibleDuringSetMode;
  window.setNoteModeHandler([&] { visibleDuringSetMode.push_back(window.isVisible()); });
  window.show();
  window.Button1->click();
  EXPECT_EQ(visibleDuringSetMode, std::vector<bool>{true});
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(NoteModeWindow, AFailingSetModeIsShownAndTheWindowStays) {
  window.setNoteModeHandler([] { raise("Stream write error"); });
  window.show();
  window.Button1->click();
  EXPECT_EQ(desktop.errors, QStringList{"Stream write error."});
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace qm::ui
