#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

// Standard library and Win32 only, so that it is built and tested without Qt.
namespace qm::platform {

// A value as RegQueryValueExA hands it out; text types converted from the
// system code page to UTF-8, zero bytes included.
struct RegistryValue {
  uint32_t type = 0;
  std::string data;
};

// The per-user registry (HKEY_CURRENT_USER) through the four calls that the
// settings store makes, with the hive file's interface: key paths below the
// user's root, separated by backslashes, a leading one allowed; names and
// texts in UTF-8, stored in the system code page.
class RegistryStore {
 public:
  using Key = int;

  RegistryStore() = default;
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;
  ~RegistryStore();

  // RegCreateKeyExA with full access, non-volatile: the key is opened, or
  // created with any missing parents. nullopt when neither works.
  std::optional<Key> createKey(const std::string& path);
  // nullopt when the key has no such value.
  std::optional<RegistryValue> queryValue(Key key, const std::string& name);
  // A REG_SZ of the text and one zero byte, replacing what was there. False
  // when the registry refuses it, or when the text has a character that the
  // system code page cannot hold (it would be stored as something else).
  bool setTextValue(Key key, const std::string& name, const std::string& text);
  void closeKey(Key key);

 private:
  std::unordered_map<Key, void*> openKeys_;  // handle -> HKEY
  Key nextKey_ = 1;
};

}  // namespace qm::platform
