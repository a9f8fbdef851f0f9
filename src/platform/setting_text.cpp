#include "platform/setting_text.h"

#include "model/error.h"

namespace qm::platform {

std::string settingText(const std::string& name, uint32_t type, std::string_view data) {
  if (data.empty()) return {};
  if (type != value_type::kText && type != value_type::kExpandableText)
    raise("Invalid data type for '%s'", {name});
  return std::string(data.substr(0, data.find('\0')));
}

void settingWriteFailed(const std::string& name) { raise("Failed to set data for '%s'", {name}); }

}  // namespace qm::platform
