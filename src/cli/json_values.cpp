#include "cli/json_values.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "model/name_index.h"

namespace qm::cli {
namespace {

constexpr std::array<std::string_view, 7> kAlignNames = {"alNone",  "alTop",    "alBottom", "alLeft",
                                                         "alRight", "alClient", "alCustom"};
constexpr std::array<std::string_view, 2> kBorderStyleNames = {"bsNone", "bsSingle"};
constexpr std::array<std::string_view, 2> kDragModeNames = {"dmManual", "dmAutomatic"};

struct NamedColor {
  std::string_view name;
  int32_t value;
};
constexpr std::array<NamedColor, 3> kColorNames = {
    {{"clSkyBlue", clSkyBlue}, {"clYellow", clYellow}, {"clWindow", clWindow}}};

// Enumerations are numbered from 0 in the order of their names.
template <class Enum, size_t N>
std::optional<Enum> enumFromName(const std::array<std::string_view, N>& names, std::string_view name) {
  for (size_t i = 0; i < N; ++i)
    if (equalsIgnoringAsciiCase(names[i], name)) return static_cast<Enum>(i);
  return std::nullopt;
}

template <class Enum, size_t N>
std::string_view enumName(const std::array<std::string_view, N>& names, Enum value) {
  auto index = static_cast<size_t>(value);
  return index < N ? names[index] : std::string_view{};
}

}  // namespace

std::string_view alignName(Align align) { return enumName(kAlignNames, align); }
std::optional<Align> alignFromName(std::string_view name) { return enumFromName<Align>(kAlignNames, name); }

std::string_view borderStyleName(BorderStyle style) { return enumName(kBorderStyleNames, style); }
std::optional<BorderStyle> borderStyleFromName(std::string_view name) {
  return enumFromName<BorderStyle>(kBorderStyleNames, name);
}

std::string_view dragModeName(DragMode mode) { return enumName(kDragModeNames, mode); }
std::optional<DragMode> dragModeFromName(std::string_view name) {
  return enumFromName<DragMode>(kDragModeNames, name);
}

std::optional<std::string_view> colorName(int32_t color) {
  for (const NamedColor& named : kColorNames)
    if (named.value == color) return named.name;
  return std::nullopt;
}

std::optional<int32_t> colorFromName(std::string_view name) {
  for (const NamedColor& named : kColorNames)
    if (equalsIgnoringAsciiCase(named.name, name)) return named.value;
  return std::nullopt;
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
