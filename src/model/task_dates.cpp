#include "model/task_dates.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "model/day_count.h"
#include "model/task_search.h"
#include "model/ttree.h"

namespace qm {

std::optional<int64_t> dayOfDateValue(double dateValue) {
  if (dateValue == 0 || !hasCalendarDay(dateValue)) return std::nullopt;
  return static_cast<int64_t>(std::trunc(dateValue));
}

std::optional<int64_t> endDayOf(const TreeNode& task) {
  return task.record() != nullptr ? dayOfDateValue(task.record()->taskend) : std::nullopt;
}

std::optional<int64_t> startDayOf(const TreeNode& task) {
  return task.record() != nullptr ? dayOfDateValue(task.record()->taskstart) : std::nullopt;
}

bool isDone(const TreeNode& task) {
  if (task.imageIndex() == kTickedBoxImage) return true;
  const Tinfo* record = task.record();
  return record != nullptr && (record->icon == kTickedBoxImage || record->status == kCompleteStatus);
}

int64_t localToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return daysFromCivil({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
}

DueState dueStateOf(const TreeNode& task, int64_t today, int64_t daysAhead) {
  std::optional<int64_t> end = endDayOf(task);
  if (!end || isDone(task)) return DueState::NotDue;
  if (*end < today) return DueState::Overdue;
  if (*end == today) return DueState::DueToday;
  return *end - today <= daysAhead ? DueState::Upcoming : DueState::NotDue;
}

int priorityRank(std::string_view priority) {
  if (priority.empty()) return 5;
  if (priority.size() == 1 && priority[0] >= '1' && priority[0] <= '4') return priority[0] - '1';
  return 4;
}

std::string_view agendaGroupName(AgendaGroup group) {
  switch (group) {
    case AgendaGroup::Overdue:
      return "Overdue";
    case AgendaGroup::Today:
      return "Today";
    case AgendaGroup::Tomorrow:
      return "Tomorrow";
    case AgendaGroup::Later:
      break;
  }
  return "Later";
}

AgendaGroup agendaGroupOfDay(int64_t endDay, int64_t today) {
  if (endDay < today) return AgendaGroup::Overdue;
  if (endDay == today) return AgendaGroup::Today;
  return endDay == today + 1 ? AgendaGroup::Tomorrow : AgendaGroup::Later;
}

std::optional<AgendaEntry> agendaEntryOf(const TreeNode& task, size_t displayIndex, int64_t today,
                                         int64_t daysAhead) {
  std::optional<int64_t> end = endDayOf(task);
  // Subtracting keeps a horizon near the ends of int64 from overflowing.
  if (!end || *end - today > daysAhead || isDone(task)) return std::nullopt;
  return AgendaEntry{&task, displayIndex, *end, priorityRank(task.record()->priority),
                     agendaGroupOfDay(*end, today)};
}

bool agendaBefore(const AgendaEntry& a, const AgendaEntry& b) {
  if (a.endDay != b.endDay) return a.endDay < b.endDay;
  if (a.priorityRank != b.priorityRank) return a.priorityRank < b.priorityRank;
  return a.displayIndex < b.displayIndex;
}

std::vector<AgendaEntry> collectAgenda(const Ttree& tree, int64_t today, int64_t daysAhead) {
  std::vector<AgendaEntry> agenda;
  size_t index = 0;
  for (PreorderCursor cursor(tree.firstNode()); cursor.node() != nullptr; cursor.forward(), ++index)
    if (std::optional<AgendaEntry> entry = agendaEntryOf(*cursor.node(), index, today, daysAhead))
      agenda.push_back(*entry);
  std::sort(agenda.begin(), agenda.end(), agendaBefore);
  return agenda;
}

}  // namespace qm
