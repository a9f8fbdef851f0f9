#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/tinfo.h"
#include "model/tree_settings.h"
#include "stream/components/saved_property.h"

namespace qm::cli {

// A saved class as the JSON form spells it: the properties that have a key,
// in the class's order but the component's Tag last, and their keys.
template <class Object>
struct JsonForm {
  explicit JsonForm(std::span<const SavedProperty<Object>> table) {
    for (const SavedProperty<Object>& p : table)
      if (!p.jsonKey.empty() && p.spelling != Spelling::Tag) properties.push_back(&p);
    for (const SavedProperty<Object>& p : table)
      if (!p.jsonKey.empty() && p.spelling == Spelling::Tag) properties.push_back(&p);
    for (const SavedProperty<Object>* p : properties) keys.push_back(p->jsonKey);
  }
  std::vector<const SavedProperty<Object>*> properties;
  std::vector<std::string_view> keys;
};

const JsonForm<TreeSettings>& treeJsonForm();
const JsonForm<Tinfo>& recordJsonForm();

// A day count as JSON text: a number that reads back to the same double
// (whole counts without a fraction), or "nan", "inf", "-inf" as strings,
// which JSON numbers cannot express.
std::string dayCountJson(double dayCount);
// The day count that a string in the JSON form stands for.
std::optional<double> dayCountFromName(std::string_view name);

}  // namespace qm::cli
