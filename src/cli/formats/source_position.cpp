#include "cli/formats/source_position.h"

#include <algorithm>

namespace qm::cli {

std::string describePosition(std::string_view text, size_t offset) {
  if (!text.empty()) offset = std::min(offset, text.size() - 1);
  std::string_view before = text.substr(0, std::min(offset, text.size()));
  size_t line = 1 + static_cast<size_t>(std::count(before.begin(), before.end(), '\n'));
  size_t lineStart = before.rfind('\n');
  size_t column = lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace qm::cli
