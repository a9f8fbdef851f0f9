#pragma once

#include <optional>
#include <string_view>

#include "model/name_index.h"
#include "model/tree_settings.h"
#include "stream/encoding/value_reader.h"

namespace qm {

// Element names of the tree's enumerations, indexed by their values.
inline constexpr std::string_view kAlignNames[] = {"alNone",  "alTop",    "alBottom", "alLeft",
                                                   "alRight", "alClient", "alCustom"};
inline constexpr std::string_view kBorderStyleNames[] = {"bsNone", "bsSingle"};
inline constexpr std::string_view kDragModeNames[] = {"dmManual", "dmAutomatic"};
inline constexpr std::string_view kBooleanNames[] = {"False", "True"};

// The colours that have names; any other colour is written as its number.
inline constexpr NamedValue kColourNames[] = {
    {"clSkyBlue", clSkyBlue}, {"clYellow", clYellow}, {"clWindow", clWindow}};

inline std::optional<std::string_view> colourName(int32_t colour) {
  for (const NamedValue& named : kColourNames)
    if (named.value == colour) return named.name;
  return std::nullopt;
}

// The main window's image list, the one object a tree's Images can name.
inline constexpr std::string_view kMainImageList = "frmMain.ImageList1";

}  // namespace qm
