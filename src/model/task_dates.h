#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/tinfo.h"
#include "model/tree_node.h"

namespace qm {

class Ttree;

// What is due: the rules that the window's agenda and row marks and qmk's
// agenda and exports share. A day is a whole number of days from 1899-12-30,
// the integer part of a date value by day_count.h's rules (so -1.25 is day
// -1); the time of day never counts.

// Image 12 is the ticked box of a completed task.
inline constexpr int32_t kTickedBoxImage = 12;
inline constexpr std::string_view kCompleteStatus = "Complete";

// The day of a date value; nullopt when it is 0 (not set), not finite or
// beyond any calendar.
std::optional<int64_t> dayOfDateValue(double dateValue);
// The task's end (taskend) and start (taskstart) days; nullopt without a
// record or a date.
std::optional<int64_t> endDayOf(const TreeNode& task);
std::optional<int64_t> startDayOf(const TreeNode& task);

// Done: the node shows the ticked box, or its record's icon is the ticked
// box, or its status is exactly "Complete".
bool isDone(const TreeNode& task);

// Today's local date as a day, read from the clock at each call. The pure
// functions below take `today` instead, so that callers and tests choose it.
int64_t localToday();

// Where a task stands against today, looking daysAhead days ahead.
enum class DueState {
  NotDue,    // done, without an end day, or ending after today + daysAhead
  Overdue,   // ended before today
  DueToday,  // ends today
  Upcoming,  // ends within the next daysAhead days (today + 1 .. today + daysAhead)
};
DueState dueStateOf(const TreeNode& task, int64_t today, int64_t daysAhead);

// Priority order: "1", "2", "3", "4", then any other text (all alike), then
// none. A smaller rank comes first.
int priorityRank(std::string_view priority);
inline bool priorityBefore(std::string_view a, std::string_view b) {
  return priorityRank(a) < priorityRank(b);
}

// The agenda: the tasks not done whose end day is at most today + daysAhead,
// in these groups, in this order.
enum class AgendaGroup { Overdue, Today, Tomorrow, Later };
// "Overdue", "Today", "Tomorrow", "Later".
std::string_view agendaGroupName(AgendaGroup group);
// The group of an end day; the caller has checked it against the horizon.
AgendaGroup agendaGroupOfDay(int64_t endDay, int64_t today);

struct AgendaEntry {
  const TreeNode* task;
  size_t displayIndex;  // absolute index: position in depth-first pre-order
  int64_t endDay;
  int priorityRank;
  AgendaGroup group;
};

// The task's agenda entry, or nullopt when it is not on the agenda. For a
// caller walking the tree in slices of its own; displayIndex is the task's
// absolute index, which the caller counts as it walks.
std::optional<AgendaEntry> agendaEntryOf(const TreeNode& task, size_t displayIndex, int64_t today,
                                         int64_t daysAhead);

// Agenda order: end day, then priority order, then display order. Groups
// follow from end days, so this orders the groups too.
bool agendaBefore(const AgendaEntry& a, const AgendaEntry& b);

// The whole tree's agenda, in agenda order. One walk of the tree plus a sort
// of the entries found.
std::vector<AgendaEntry> collectAgenda(const Ttree& tree, int64_t today, int64_t daysAhead);

}  // namespace qm
