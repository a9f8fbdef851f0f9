// The daily reminder: once per list and day, at opening and at midnight,
// never when switched off; its message brings the agenda.
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <functional>

#include "fake_tray_icon.h"
#include "main_window_fixture.h"
#include "model/task_dates.h"
#include "stream/task_list_file.h"
#include "ui/agenda/agenda_dock.h"
#include "ui/dialogs/uOptions.h"
#include "ui/due/day_clock.h"
#include "ui/reminder/due_reminder.h"

namespace qm::test {
namespace {

constexpr int64_t kToday = 46365;

class Reminder : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    platform::installTrayIcon(&tray);
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    platform::installTrayIcon(nullptr);
  }

  // A list with a task due yesterday, one today and one done.
  QString writeList(const char* name) {
    Ttree list;
    list.setSettings(TreeSettings::mainWindowInitial());
    const double ends[] = {static_cast<double>(today - 1), today + 0.5, static_cast<double>(today)};
    const char* titles[] = {"Pay hosting invoice", "Call the bank", "Done already"};
    for (int i = 0; i < 3; ++i) {
      Tinfo* record = list.createRecord();
      record->taskend = ends[i];
      if (i == 2) record->status = "Complete";
      list.appendNode(nullptr, titles[i], record);
    }
    const QString path = settingsDir.filePath(QString::fromLatin1(name));
    SaveTaskList(QFile::encodeName(path).toStdString(), list);
    return path;
  }
  void open(const QString& path) {
    window->setTag(0);
    desktop.fileNames.push_back(path);
    window->cmdOpenClick(nullptr);
    settle();
  }
  void settle() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->reminder().isCounting(); }));
  }
  void midnight() {
    ++today;
    window->dayClock().check();
    settle();
  }

  FakeTrayIcon tray;
  int64_t today = kToday;
};

TEST_F(Reminder, OncePerListAndDayAndNeverWhenSwitchedOff) {
  struct Case {
    const char* what;
    bool on;
    std::function<void(const QString& a, const QString& b)> events;
    size_t messages;
  };
  const Case cases[] = {
      {"opened", true, [this](const QString& a, const QString&) { open(a); }, 1},
      {"opened twice the same day", true,
       [this](const QString& a, const QString&) {
         open(a);
         open(a);
       },
       1},
      {"two lists", true,
       [this](const QString& a, const QString& b) {
         open(a);
         open(b);
         open(a);
       },
       2},
      {"again after midnight", true,
       [this](const QString& a, const QString&) {
         open(a);
         midnight();
         open(a);
       },
       2},
      {"switched off", false,
       [this](const QString& a, const QString&) {
         open(a);
         midnight();
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(ui::ReminderLog::defaultPath());
    tray.messages.clear();
    today = kToday;
    window.reset();
    createWindow();
    window->setRemindersOn(c.on);
    window->dayClock().setSource([this] { return today; });
    c.events(writeList("a.jjp"), writeList("b.jjp"));
    ASSERT_EQ(tray.messages.size(), c.messages);
    if (c.messages == 0) continue;
    EXPECT_EQ(tray.messages[0].title, "Quillmark");
    EXPECT_EQ(tray.messages[0].text, "1 overdue, 1 due today: Pay hosting invoice, Call the bank");
  }
}

TEST_F(Reminder, TheCommandLineOpenRemindsAndTheMessageShowsTheAgenda) {
  today = localToday();  // the window reads the clock as it opens the list
  const QString path = writeList("a.jjp");
  window = std::make_unique<ui::TfrmMain>(path);
  settle();
  ASSERT_EQ(tray.messages.size(), 1u);
  window->hide();
  tray.onMessageClicked();
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->mnuAgenda->isChecked());
  EXPECT_TRUE(window->agendaDock()->isVisible());
}

TEST_F(Reminder, TheOptionsCheckBoxIsOnByDefaultAndOkStoresIt) {
  createWindow();
  ui::TfrmOptions options([](QString&, QString&) {}, [](const QString&, const QString&) {});
  options.setReminderSetting([this] { return window->remindersOn(); },
                             [this](bool on) { window->setRemindersOn(on); });
  EXPECT_TRUE(options.chkReminders->isChecked());
  EXPECT_EQ(options.chkReminders->text(), "&Remind me of tasks that are due");
  EXPECT_GT(options.chkReminders->y(), options.cmdApply->geometry().bottom());
  options.chkReminders->setChecked(false);
  options.cmdApplyClick(nullptr);
  EXPECT_EQ(window->readSetting(QStringLiteral("Reminders")), "0");
  EXPECT_FALSE(window->remindersOn());
}

TEST(ReminderText, CountsAndTheFirstTitles) {
  using ui::DueReminder;
  EXPECT_EQ(DueReminder::messageText(2, 3, {"A", "B", "C"}),
            QStringLiteral("2 overdue, 3 due today: A, B, C, \u2026"));
  EXPECT_EQ(DueReminder::messageText(0, 1, {"A"}), "1 due today: A");
  EXPECT_EQ(DueReminder::messageText(2, 0, {"A", "B"}), "2 overdue: A, B");
}

}  // namespace
}  // namespace qm::test
