#include "cli/task_marks.h"

#include <algorithm>

#include "cli/text_layout.h"

namespace qm::cli {

std::string priorityLabel(std::string_view priority) {
  bool number = !priority.empty() &&
                std::all_of(priority.begin(), priority.end(), [](char c) { return c >= '0' && c <= '9'; });
  return number ? "P" + std::string(priority) : singleLine(priority);
}

}  // namespace qm::cli
