#include "cli/agenda_command.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <vector>

#include "cli/commands.h"
#include "cli/task_marks.h"
#include "cli/text_layout.h"
#include "model/day_count.h"
#include "model/task_dates.h"

namespace qm::cli {
namespace {

// Wide enough for "P1" to "P4", so that most titles line up.
constexpr size_t kPriorityColumn = 2;

std::string dayText(int64_t day) { return isoDate(civilFromDays(day)); }

// The titles of the task's ancestors, from the top level down.
std::vector<std::string> ancestorTitles(const TreeNode& task) {
  std::vector<std::string> titles;
  for (const TreeNode* n = task.parent(); n != nullptr && !n->isRoot(); n = n->parent())
    titles.emplace_back(n->text());
  return {titles.rbegin(), titles.rend()};
}

void writeText(std::span<const AgendaEntry> agenda, std::ostream& out) {
  std::optional<AgendaGroup> group;
  for (const AgendaEntry& entry : agenda) {
    if (entry.group != group) out << agendaGroupName(entry.group) << '\n';
    group = entry.group;
    std::string priority = priorityLabel(entry.task->record()->priority);
    priority.resize(std::max(priority.size(), kPriorityColumn), ' ');
    out << dayText(entry.endDay) << "  " << priority << "  " << singleLine(entry.task->text());
    std::vector<std::string> path = ancestorTitles(*entry.task);
    for (size_t i = 0; i < path.size(); ++i) out << (i == 0 ? "  (" : " / ") << singleLine(path[i]);
    out << (path.empty() ? "\n" : ")\n");
  }
}

// One object a line; text that is not UTF-8 (which a read file never holds)
// becomes U+FFFD rather than failing.
void writeJson(std::span<const AgendaEntry> agenda, std::ostream& out) {
  out << '[';
  for (const AgendaEntry& entry : agenda) {
    const Tinfo& record = *entry.task->record();
    std::optional<int64_t> start = startDayOf(*entry.task);
    nlohmann::ordered_json object = {
        {"group", agendaGroupName(entry.group)},
        {"end", dayText(entry.endDay)},
        {"start", start ? nlohmann::ordered_json(dayText(*start)) : nlohmann::ordered_json(nullptr)},
        {"priority", record.priority.str()},
        {"status", record.status.str()},
        {"title", std::string(entry.task->text())},
        {"path", ancestorTitles(*entry.task)}};
    out << (&entry == agenda.data() ? "\n " : ",\n ")
        << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  }
  out << (agenda.empty() ? "]\n" : "\n]\n");
}

}  // namespace

void agendaCommand(const Invocation& invocation, std::istream& in, std::ostream& out) {
  std::unique_ptr<Ttree> tree = loadList(invocation.input, in);
  int64_t today = invocation.today ? *invocation.today : localToday();
  std::vector<AgendaEntry> agenda = collectAgenda(*tree, today, invocation.daysAhead);
  if (invocation.agendaFormat == AgendaFormat::Json)
    writeJson(agenda, out);
  else
    writeText(agenda, out);
}

}  // namespace qm::cli
