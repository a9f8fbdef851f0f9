#include "cli/formats/json_values.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "stream/record_class.h"
#include "stream/tree_class.h"

namespace qm::cli {

const JsonForm<TreeSettings>& treeJsonForm() {
  static const JsonForm<TreeSettings> form(treeProperties());
  return form;
}

const JsonForm<Tinfo>& recordJsonForm() {
  static const JsonForm<Tinfo> form(recordProperties());
  return form;
}

std::string dayCountJson(double dayCount) {
  if (std::isnan(dayCount)) return "\"nan\"";
  if (std::isinf(dayCount)) return dayCount > 0 ? "\"inf\"" : "\"-inf\"";
  // "-0" would read back as the integer 0 and lose its sign.
  if (dayCount == 0 && std::signbit(dayCount)) return "-0.0";
  // The shortest text that reads back to the same double.
  std::array<char, 32> buffer;
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), dayCount);
  return std::string(buffer.data(), error == std::errc{} ? end : buffer.data());
}

std::optional<double> dayCountFromName(std::string_view name) {
  if (name == "nan") return std::numeric_limits<double>::quiet_NaN();
  if (name == "inf") return std::numeric_limits<double>::infinity();
  if (name == "-inf") return -std::numeric_limits<double>::infinity();
  return std::nullopt;
}

}  // namespace qm::cli
