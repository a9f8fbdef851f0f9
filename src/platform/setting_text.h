#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Standard library only: shared by the Qt settings layer and the Windows
// registry store, which is built and tested without Qt.
namespace qm::platform {

// Value types, numbered as the Windows registry numbers them, so that a hive
// exported from Windows keeps its meaning.
namespace value_type {
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kText = 1;            // REG_SZ
inline constexpr uint32_t kExpandableText = 2;  // REG_EXPAND_SZ
inline constexpr uint32_t kBinary = 3;          // REG_BINARY
inline constexpr uint32_t kDword = 4;           // REG_DWORD
inline constexpr uint32_t kMultiText = 7;       // REG_MULTI_SZ
inline constexpr uint32_t kQword = 11;          // REG_QWORD
}  // namespace value_type

// The text that the setting `name` reads as, given its stored type and data:
// no data at all (a missing value, or one of size 0) is empty text; a text
// type (REG_SZ, or REG_EXPAND_SZ left unexpanded) is its characters up to the
// first zero byte; any other type raises "Invalid data type for '%s'".
std::string settingText(const std::string& name, uint32_t type, std::string_view data);

// Raises "Failed to set data for '%s'" with the setting's name.
[[noreturn]] void settingWriteFailed(const std::string& name);

}  // namespace qm::platform
