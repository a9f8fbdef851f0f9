#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/tree_settings.h"

namespace qm::cli {

// Names of the tree's enumerations and colours as the JSON form writes them.
// Reading matches names ignoring ASCII letter case, as the file reader does.
std::string_view alignName(Align align);
std::optional<Align> alignFromName(std::string_view name);
std::string_view borderStyleName(BorderStyle style);
std::optional<BorderStyle> borderStyleFromName(std::string_view name);
std::string_view dragModeName(DragMode mode);
std::optional<DragMode> dragModeFromName(std::string_view name);

// The colours that carry a name; any other value is written as an integer.
std::optional<std::string_view> colorName(int32_t color);
std::optional<int32_t> colorFromName(std::string_view name);

// A day count as JSON text: a number that reads back to the same double
// (whole counts without a fraction), or "nan", "inf", "-inf" as strings,
// which JSON numbers cannot express.
std::string dayCountJson(double dayCount);
// The day count that a string in the JSON form stands for.
std::optional<double> dayCountFromName(std::string_view name);

}  // namespace qm::cli
