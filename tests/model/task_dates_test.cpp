#include "model/task_dates.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "model/ttree.h"

namespace qm {
namespace {

constexpr int64_t kToday = 46368;  // 2026-12-12

struct TaskFields {
  std::string title;
  double end;
  std::string priority = {};
  std::string status = {};
  int32_t image = 0;
  int32_t icon = 0;
};

TreeNode* addTask(Ttree& tree, TreeNode* parent, const TaskFields& fields) {
  Tinfo* record = tree.createRecord();
  record->taskend = fields.end;
  record->priority = fields.priority;
  record->status = fields.status;
  record->icon = fields.icon;
  TreeNode* node = tree.appendNode(parent, fields.title, record);
  tree.setImageIndex(node, fields.image);
  return node;
}

TEST(TaskDates, DueStateAndAgendaGroupOfOneTask) {
  struct Case {
    TaskFields task;
    DueState state;
    std::optional<AgendaGroup> group;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {{"no end date", 0}, DueState::NotDue, {}},
      {{"not a date", nan}, DueState::NotDue, {}},
      {{"yesterday", kToday - 1 + 0.9}, DueState::Overdue, AgendaGroup::Overdue},
      {{"long ago, before 1899", -1.25}, DueState::Overdue, AgendaGroup::Overdue},
      {{"today, late", kToday + 0.99}, DueState::DueToday, AgendaGroup::Today},
      {{"tomorrow", kToday + 1 + 0.5}, DueState::Upcoming, AgendaGroup::Tomorrow},
      {{"in a week", kToday + 7}, DueState::Upcoming, AgendaGroup::Later},
      {{"in eight days", kToday + 8}, DueState::NotDue, {}},
      {{"ticked box", kToday - 3, "", "", 12}, DueState::NotDue, {}},
      {{"ticked in the dialog", kToday, "", "", 0, 12}, DueState::NotDue, {}},
      {{"status Complete", kToday, "", "Complete"}, DueState::NotDue, {}},
      {{"status complete", kToday, "", "complete"}, DueState::DueToday, AgendaGroup::Today},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.task.title);
    Ttree tree;
    TreeNode* task = addTask(tree, nullptr, c.task);
    EXPECT_EQ(dueStateOf(*task, kToday, 7), c.state);
    std::optional<AgendaEntry> entry = agendaEntryOf(*task, 0, kToday, 7);
    ASSERT_EQ(entry.has_value(), c.group.has_value());
    if (entry) {
      EXPECT_EQ(entry->group, *c.group);
    }
  }
  Ttree tree;
  EXPECT_EQ(startDayOf(*tree.appendNode(nullptr, "without a record")), std::nullopt);
  EXPECT_EQ(dayOfDateValue(-1.25), -1);
}

TEST(TaskDates, AgendaOrdersByEndDayThenPriorityThenDisplayOrder) {
  Ttree tree;
  TreeNode* home = addTask(tree, nullptr, {"Home", kToday + 1, "2"});
  addTask(tree, home, {"Water plants", kToday + 1, ""});
  addTask(tree, home, {"Call plumber", kToday + 1, "1"});
  addTask(tree, nullptr, {"Tax", kToday - 2, "4"});
  addTask(tree, nullptr, {"Urgent-ish", kToday + 1, "high"});
  addTask(tree, nullptr, {"Far off", kToday + 30, "1"});
  addTask(tree, nullptr, {"Done", kToday - 5, "1", "Complete"});
  std::vector<std::string> titles;
  for (const AgendaEntry& e : collectAgenda(tree, kToday, 7)) titles.emplace_back(e.task->text());
  EXPECT_EQ(titles, (std::vector<std::string>{"Tax", "Call plumber", "Home", "Urgent-ish", "Water plants"}));

  const char* order[] = {"1", "2", "3", "4", "A", ""};
  for (size_t i = 0; i + 1 < std::size(order); ++i) EXPECT_TRUE(priorityBefore(order[i], order[i + 1]));
  EXPECT_EQ(priorityRank("10"), priorityRank("high"));
  EXPECT_EQ(agendaGroupName(AgendaGroup::Tomorrow), "Tomorrow");
}

TEST(TaskDates, LocalTodayIsWithinADayOfUtc) {
  auto utcDays = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  int64_t utcToday = utcDays.time_since_epoch().count() + 25569;
  EXPECT_LE(std::abs(localToday() - utcToday), 1);
}

}  // namespace
}  // namespace qm
