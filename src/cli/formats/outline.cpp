#include "cli/formats/outline.h"

#include <string>
#include <vector>

#include "cli/formats/json_values.h"
#include "cli/task_marks.h"
#include "cli/text_layout.h"
#include "model/day_count.h"
#include "model/tinfo.h"

namespace qm::cli {
namespace {

// An ISO day for a date the calendar can place; the raw number otherwise.
std::string dateText(double dayCount) {
  if (auto date = dateOfDayCount(dayCount)) return isoDate(*date);
  std::string text = dayCountJson(dayCount);
  if (!text.empty() && text.front() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

std::vector<std::string> recordDetails(const Tinfo& record) {
  std::vector<std::string> details;
  if (!record.priority.empty()) details.push_back("priority " + singleLine(record.priority));
  if (!record.status.empty()) details.push_back("status " + singleLine(record.status));
  if (record.taskstart != 0) details.push_back("start " + dateText(record.taskstart));
  if (record.taskend != 0) details.push_back("end " + dateText(record.taskend));
  return details;
}

void writeOutlineLine(const TreeNode& node, size_t depth, std::ostream& out) {
  out << indentation(depth) << checkBox(node) << ' ' << singleLine(node.text());
  if (node.record() != nullptr) {
    std::vector<std::string> details = recordDetails(*node.record());
    for (size_t i = 0; i < details.size(); ++i) out << (i == 0 ? " (" : ", ") << details[i];
    if (!details.empty()) out << ')';
  }
  out << '\n';
}

}  // namespace

void writeOutline(const Ttree& tree, std::ostream& out) {
  forEachInPreorder(tree, [&](const TreeNode& node, size_t depth) { writeOutlineLine(node, depth, out); });
}

}  // namespace qm::cli
