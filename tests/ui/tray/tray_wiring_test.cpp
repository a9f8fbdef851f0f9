// The main window's notification icon, Show, Hide and note mode, driven
// through a fake notification area.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QScreen>

#include "fake_tray_icon.h"
#include "main_window_fixture.h"
#include "ui/main_window/main_window_style.h"
#include "ui/tray/uMode.h"

namespace qm::test {
namespace {

const QString kClosePrompt = QStringLiteral("Do you want to save before closing?");

// The fake notification area is in place before the window is created, which
// adds its icon while it is built.
class MainWindowTray : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    platform::installTrayIcon(&tray);
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    platform::installTrayIcon(nullptr);
  }

  // Shown and active, then hidden with the window's own menu item.
  void showThenHide() {
    showActive();
    window->Hide1->trigger();
    ASSERT_FALSE(window->isVisible());
  }

  // A list with an unsaved change.
  void createModifiedList() {
    createTree();
    window->cmdNewNodeClick(nullptr);
    closeEditor(Qt::Key_Escape);
    ASSERT_EQ(window->Tag(), 1);
  }

  FakeTrayIcon tray;
};

TEST_F(MainWindowTray, TheIconIsAddedWhileTheWindowIsBuiltWithTheRecordsValues) {
  createWindow();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(tray.addCount, 1);
  EXPECT_TRUE(tray.isAdded());
  EXPECT_EQ(tray.record.uID, 100u);
  EXPECT_EQ(tray.record.uCallbackMessage, 1025u);
  EXPECT_EQ(tray.record.uFlags, 7u);
  EXPECT_EQ(tray.record.szTip, "Quillmark");
  EXPECT_FALSE(tray.record.hIcon.isNull());
  EXPECT_EQ(&window->trayIcon(), &tray);
}

TEST_F(MainWindowTray, ARefusedCloseKeepsTheIconAndTheAllowedOneRemovesItOnce) {
  createModifiedList();
  showActive();

  desktop.saveAnswers = {platform::SaveAnswer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_EQ(desktop.savePrompts, QStringList{kClosePrompt});
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(tray.isAdded());
  EXPECT_EQ(tray.removeCount, 0);

  // The icon still answers after the refused close.
  window->Hide1->trigger();
  tray.deliver(platform::kWmLButtonDblClk);
  EXPECT_TRUE(window->isVisible());

  desktop.saveAnswers = {platform::SaveAnswer::No};
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(tray.isAdded());
  EXPECT_EQ(tray.removeCount, 1);
  window.reset();  // the destroyed window does not remove it a second time
  EXPECT_EQ(tray.removeCount, 1);
}

TEST_F(MainWindowTray, ACloseWithAnUnmodifiedListAsksNothingAndRemovesTheIcon) {
  createTree();
  showActive();
  window->setTag(0);  // as a Save leaves it; the tree's first focus entry marks it
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(desktop.savePrompts.isEmpty());
  EXPECT_FALSE(tray.isAdded());
  EXPECT_EQ(tray.removeCount, 1);
}

TEST_F(MainWindowTray, RightButtonPopsUpTheShowMenuAndPickingShowBringsTheHiddenWindowBack) {
  showThenHide();
  QStringList captions;
  tray.onPopUp = [&](QMenu& menu) {
    for (QAction* item : menu.actions()) captions.append(item->text());
    menu.actions().front()->trigger();
  };
  tray.deliver(platform::kWmRButtonDown);
  ASSERT_EQ(tray.poppedUp.size(), 1u);
  EXPECT_EQ(tray.poppedUp[0], window->PopupMenu2);
  EXPECT_EQ(captions, QStringList{"Show"});
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(tray.isAdded());

  // Dismissed without a pick, the menu leaves a hidden window hidden.
  window->Hide1->trigger();
  tray.onPopUp = nullptr;
  tray.deliver(platform::kWmRButtonDown);
  EXPECT_EQ(tray.poppedUp.size(), 2u);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTray, DoubleClickShowsAndRaisesASingleClickChangesNothing) {
  showThenHide();
  for (int32_t ignored : {513, 514, 517, 512}) tray.deliver(ignored);  // click, releases, movement
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(tray.poppedUp.empty());

  tray.deliver(platform::kWmLButtonDblClk);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));

  // Already shown but behind another window: it comes to the front.
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  tray.deliver(platform::kWmLButtonDblClk);
  EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_TRUE(desktop.informations.isEmpty());
}

TEST_F(MainWindowTray, WithoutANotificationAreaOrIconHideKeepsTheWindowShownAndSaysWhyOnce) {
  for (bool available : {false, true}) {
    tray.available = available;
    tray.refuseAdd = true;
    desktop.informations.clear();
    window.reset();
    showActive();
    window->Hide1->trigger();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(desktop.informations.size(), 1);
    EXPECT_TRUE(desktop.informations[0].contains("notification area"));

    window->Hide1->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.informations.size(), 1);
  }
}

TEST_F(MainWindowTray, NoteModeDocksANarrowYellowFramelessStripAndCreatesAList) {
  showActive();
  ASSERT_EQ(window->frameGeometry().width(), 356);
  ASSERT_EQ(window->tree(), nullptr);
  const QRect area = window->screen()->availableGeometry();

  window->SetMode();
  EXPECT_TRUE(window->isVisible());
  // Frameless, the window is its own outer rectangle (its frame geometry
  // still counts the old frame until the next events).
  const QRect strip = window->geometry();
  EXPECT_EQ(strip.width(), 156);
  EXPECT_EQ(strip.top(), area.top());
  EXPECT_EQ(strip.height(), area.height());
  EXPECT_EQ(strip.right(), area.right());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(window->palette().color(QPalette::Window), ui::kYellow);

  // New ran: a list with one blank task in edit mode, and no prompt.
  ASSERT_NE(window->tree(), nullptr);
  EXPECT_EQ(tree().nodeCount(), 1u);
  EXPECT_EQ(titleOf(tree().firstNode()), " ");
  EXPECT_TRUE(isEditing());
  EXPECT_TRUE(desktop.savePrompts.isEmpty());

  EXPECT_EQ(tree().settings().color, clYellow);
  EXPECT_EQ(tree().settings().borderStyle, BorderStyle::bsNone);
  EXPECT_EQ(view().palette().color(QPalette::Base), ui::kYellow);
  EXPECT_EQ(view().frameShape(), QFrame::NoFrame);
  // The tree still fills the space between the toolbar and the status bar.
  EXPECT_EQ(view().width(), window->centralWidget()->width());
}

TEST_F(MainWindowTray, NoteModeAgainKeepsTheListAndNeverGoesBelowTheMinimumWidth) {
  createTreeWith({"first", "second"});
  showActive();
  const QRect area = window->screen()->availableGeometry();
  std::vector<int> widths;
  for (int i = 0; i < 3; ++i) {
    window->SetMode();
    widths.push_back(window->width());
    EXPECT_EQ(window->geometry().right(), area.right());
  }
  EXPECT_EQ(widths, (std::vector<int>{156, 100, 100}));
  // A strip made wider again loses another 200 pixels, no frame counted.
  window->resize(500, window->height());
  window->SetMode();
  EXPECT_EQ(window->width(), 300);
  EXPECT_EQ(childTitles(tree().root()), (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(desktop.savePrompts.isEmpty());
}

TEST_F(MainWindowTray, ModeShowsTheNoteModeWindowWhoseButtonSetsNoteModeAndHidesIt) {
  ui::TfrmMode modeWindow;
  showActive();
  modeWindow.setNoteModeHandler([this] { window->SetMode(); });
  window->setModeWindow(&modeWindow);

  window->showMode(nullptr);
  EXPECT_TRUE(modeWindow.isVisible());
  modeWindow.Button1->click();
  EXPECT_FALSE(modeWindow.isVisible());
  EXPECT_EQ(window->width(), 156);
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_NE(window->tree(), nullptr);
}

}  // namespace
}  // namespace qm::test
