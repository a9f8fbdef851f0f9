#include "cli/formats/ics_export.h"

#include <optional>
#include <string>
#include <string_view>

#include "cli/formats/ics_lines.h"
#include "cli/formats/task_uids.h"
#include "model/task_dates.h"
#include "model/task_search.h"
#include "model/tinfo.h"

namespace qm::cli {
namespace {

// Priorities 1 to 4 spread over iCalendar's 1 (highest) to 9 (lowest).
std::optional<int> icsPriority(std::string_view priority) {
  int rank = priorityRank(priority);
  return rank < 4 ? std::optional<int>(1 + 2 * rank) : std::nullopt;
}

std::string_view icsStatus(std::string_view status) {
  if (status == "Not Started") return "NEEDS-ACTION";
  if (status == "In Progress") return "IN-PROCESS";
  return {};
}

void writeProperty(std::ostream& out, std::string_view name, std::string_view value) {
  writeContentLine(out, std::string(name) + ':' + std::string(value));
}

void writeDates(std::ostream& out, const TreeNode& task) {
  std::optional<int64_t> end = endDayOf(task);
  std::optional<int64_t> start = startDayOf(task);
  // DUE must come after DTSTART, and calendar servers refuse files that break it.
  if (start && (!end || *start < *end))
    if (auto date = icsDate(*start)) writeProperty(out, "DTSTART;VALUE=DATE", *date);
  if (end)
    if (auto date = icsDate(*end)) writeProperty(out, "DUE;VALUE=DATE", *date);
}

void writeTodo(std::ostream& out, const TreeNode& task, const std::string& uid, const std::string& parentUid,
               const std::string& stamp) {
  const Tinfo* record = task.record();
  writeContentLine(out, "BEGIN:VTODO");
  writeProperty(out, "UID", uid);
  writeProperty(out, "DTSTAMP", stamp);
  writeProperty(out, "SUMMARY", icsText(task.text()));
  if (record != nullptr && !record->note.empty()) writeProperty(out, "DESCRIPTION", icsText(record->note));
  writeDates(out, task);
  if (record != nullptr)
    if (auto priority = icsPriority(record->priority))
      writeProperty(out, "PRIORITY", std::to_string(*priority));
  // Calendar programs differ in which of the three they read.
  if (isDone(task)) {
    writeProperty(out, "STATUS", "COMPLETED");
    writeProperty(out, "PERCENT-COMPLETE", "100");
    writeProperty(out, "COMPLETED", stamp);
  } else if (std::string_view status = icsStatus(record != nullptr ? record->status.view() : "");
             !status.empty()) {
    writeProperty(out, "STATUS", status);
  }
  if (!parentUid.empty()) writeProperty(out, "RELATED-TO;RELTYPE=PARENT", parentUid);
  writeContentLine(out, "END:VTODO");
}

}  // namespace

void writeICalendar(const Ttree& tree, int64_t stampSeconds, std::ostream& out) {
  const std::string stamp = icsUtcDateTime(stampSeconds);
  writeContentLine(out, "BEGIN:VCALENDAR");
  writeContentLine(out, "VERSION:2.0");
  writeContentLine(out, "PRODID:-//Quillmark//qmk " QMK_VERSION "//EN");
  writeContentLine(out, "CALSCALE:GREGORIAN");
  TaskUids uids;
  for (PreorderCursor at(tree.firstNode()); at.node() != nullptr; at.forward()) {
    const std::string& uid = uids.next(*at.node(), at.depth());
    writeTodo(out, *at.node(), uid, uids.parentUid(), stamp);
  }
  writeContentLine(out, "END:VCALENDAR");
}

}  // namespace qm::cli
