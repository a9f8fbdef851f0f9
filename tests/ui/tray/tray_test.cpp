#include <gtest/gtest.h>

#include <QMenu>
#include <QWidget>

#include "fake_tray_icon.h"
#include "platform/skip_taskbar.h"
#include "platform/tray_icon.h"
#include "ui/tray/icon_message_dispatch.h"

namespace qm {
namespace {

using platform::IconMessage;

TEST(NotifyIconData, HoldsTheIconRecordValues) {
  const platform::NotifyIconData record = platform::makeNotifyIconData(QIcon(), "Quillmark");
  EXPECT_EQ(record.cbSize, 88u);
  EXPECT_EQ(record.uID, 100u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 1025u);
  EXPECT_EQ(record.szTip, "Quillmark");
  // The tip field holds 64 characters with its terminating zero.
  EXPECT_EQ(platform::makeNotifyIconData(QIcon(), QString(80, 'x')).szTip, QString(63, 'x'));
}

struct CommandCounts {
  int menus = 0;
  int shows = 0;
  ui::IconCommands commands() {
    return {[this] { ++menus; }, [this] { ++shows; }};
  }
};

TEST(IconMessageDispatch, RightButtonPopsUpTheMenuDoubleClickShowsAndNothingElseActs) {
  CommandCounts counts;
  EXPECT_TRUE(ui::dispatchIconMessage({1025, 100, 516}, counts.commands()));
  EXPECT_EQ(counts.menus, 1);
  EXPECT_TRUE(ui::dispatchIconMessage({1025, 100, 515}, counts.commands()));
  EXPECT_EQ(counts.shows, 1);

  // Left button down and up, right button up, mouse movement; and the mouse
  // messages under another message number.
  for (const IconMessage ignored :
       {IconMessage{1025, 100, 513}, IconMessage{1025, 100, 514}, IconMessage{1025, 100, 517},
        IconMessage{1025, 100, 512}, IconMessage{1024, 100, 516}, IconMessage{516, 100, 515}}) {
    EXPECT_FALSE(ui::dispatchIconMessage(ignored, counts.commands()));
  }
  EXPECT_EQ(counts.menus, 1);
  EXPECT_EQ(counts.shows, 1);
}

TEST(QtTrayIcon, MapsActivationsToTheIconMessagesWhileAdded) {
  EXPECT_EQ(platform::mouseMessageFor(QSystemTrayIcon::Context), 516);
  EXPECT_EQ(platform::mouseMessageFor(QSystemTrayIcon::DoubleClick), 515);
  EXPECT_EQ(platform::mouseMessageFor(QSystemTrayIcon::Trigger), std::nullopt);
  EXPECT_EQ(platform::mouseMessageFor(QSystemTrayIcon::MiddleClick), std::nullopt);

  platform::QtTrayIcon icon;
  std::vector<IconMessage> received;
  icon.add(platform::makeNotifyIconData(QIcon(), "Quillmark"),
           [&](const IconMessage& message) { received.push_back(message); });
  EXPECT_TRUE(icon.isAdded());
  EXPECT_EQ(icon.systemTrayIcon().toolTip(), "Quillmark");

  // A double click arrives as Trigger then DoubleClick.
  for (auto reason : {QSystemTrayIcon::Context, QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}) {
    Q_EMIT icon.systemTrayIcon().activated(reason);
  }
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].message, 1025u);
  EXPECT_EQ(received[0].wParam, 100u);
  EXPECT_EQ(received[0].lParam, 516);
  EXPECT_EQ(received[1].lParam, 515);

  icon.remove();
  EXPECT_FALSE(icon.isAdded());
  Q_EMIT icon.systemTrayIcon().activated(QSystemTrayIcon::DoubleClick);
  EXPECT_EQ(received.size(), 2u);
}

// The wiring the main window uses: the icon's messages through the dispatch to
// the icon menu at the cursor and to Show.
TEST(TrayWiring, RightClickPopsUpTheShowMenuAndPickingShowRunsShow) {
  test::FakeTrayIcon tray;
  QMenu popupMenu2;
  int shows = 0;
  QAction* show1 = popupMenu2.addAction("Show");
  QObject::connect(show1, &QAction::triggered, [&] { ++shows; });
  const ui::IconCommands commands{[&] { tray.popUpMenu(popupMenu2); }, [&] { ++shows; }};
  tray.add(platform::makeNotifyIconData(QIcon(), "Quillmark"),
           [&](const IconMessage& message) { ui::dispatchIconMessage(message, commands); });

  tray.onPopUp = [](QMenu& menu) { menu.actions().front()->trigger(); };
  tray.deliver(platform::kWmRButtonDown);
  ASSERT_EQ(tray.poppedUp.size(), 1u);
  EXPECT_EQ(tray.poppedUp[0]->actions().size(), 1);
  EXPECT_EQ(shows, 1);

  tray.deliver(513);  // a single click
  EXPECT_EQ(shows, 1);
  tray.deliver(platform::kWmLButtonDblClk);
  EXPECT_EQ(shows, 2);
  EXPECT_EQ(tray.poppedUp.size(), 1u);
}

TEST(SkipTaskbar, DoesNothingWithoutAnX11Connection) {
  QWidget window;
  window.show();
  EXPECT_FALSE(platform::setSkipTaskbar(&window, true));  // offscreen: no native X11 interface
  EXPECT_FALSE(platform::setSkipTaskbar(nullptr, true));
}

}  // namespace
}  // namespace qm
