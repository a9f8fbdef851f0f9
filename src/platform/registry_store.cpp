#include "platform/registry_store.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "stream/files/native_path.h"

namespace qm::platform {
namespace {

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// UTF-8 to the system code page; nullopt when it is not valid UTF-8 or a
// character has no exact form there.
std::optional<std::string> toCodePage(const std::string& utf8) {
  if (::GetACP() == CP_UTF8 || utf8.empty()) return utf8;
  std::wstring text = nativePath(utf8).native();
  if (text.empty()) return std::nullopt;
  int size = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  int bytes =
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &lossy);
  std::string out(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, out.data(), bytes, nullptr, &lossy);
  if (bytes == 0 || lossy) return std::nullopt;
  return out;
}

std::string fromCodePage(const std::string& bytes) {
  if (::GetACP() == CP_UTF8 || bytes.empty()) return bytes;
  int size = static_cast<int>(bytes.size());
  std::wstring text(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)),
                    L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
  return utf8Name(text);
}

}  // namespace

RegistryStore::~RegistryStore() {
  for (auto& [key, handle] : openKeys_) ::RegCloseKey(static_cast<HKEY>(handle));
}

std::optional<RegistryStore::Key> RegistryStore::createKey(const std::string& path) {
  // The leading backslash only says that the path starts at the user's root.
  std::optional<std::string> subKey =
      toCodePage(path.substr(std::min(path.find_first_not_of('\\'), path.size())));
  if (!subKey || subKey->empty()) return std::nullopt;
  HKEY handle = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, subKey->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  Key key = nextKey_++;
  openKeys_.emplace(key, handle);
  return key;
}

std::optional<RegistryValue> RegistryStore::queryValue(Key key, const std::string& name) {
  auto open = openKeys_.find(key);
  std::optional<std::string> valueName = toCodePage(name);
  if (open == openKeys_.end() || !valueName) return std::nullopt;
  HKEY handle = static_cast<HKEY>(open->second);
  DWORD type = REG_NONE;
  DWORD size = 0;
  // The type and size first, then the data; asked again if it grew meanwhile.
  LSTATUS status = ::RegQueryValueExA(handle, valueName->c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data;
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    data.resize(size);
    status = ::RegQueryValueExA(handle, valueName->c_str(), nullptr, &type, data.data(), &size);
    if (status == ERROR_SUCCESS) break;
  }
  if (status != ERROR_SUCCESS) return std::nullopt;
  std::string bytes(data.begin(), data.begin() + size);
  return RegistryValue{type, isText(type) ? fromCodePage(bytes) : bytes};
}

bool RegistryStore::setTextValue(Key key, const std::string& name, const std::string& text) {
  auto open = openKeys_.find(key);
  std::optional<std::string> valueName = toCodePage(name);
  std::optional<std::string> data = toCodePage(text);
  if (open == openKeys_.end() || !valueName || !data) return false;
  return ::RegSetValueExA(static_cast<HKEY>(open->second), valueName->c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data->c_str()),
                          static_cast<DWORD>(data->size() + 1)) == ERROR_SUCCESS;
}

void RegistryStore::closeKey(Key key) {
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return;
  ::RegCloseKey(static_cast<HKEY>(open->second));
  openKeys_.erase(open);
}

}  // namespace qm::platform
