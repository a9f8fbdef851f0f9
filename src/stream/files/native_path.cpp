#include "stream/files/native_path.h"

#include <system_error>

namespace qm {

std::filesystem::path nativePath(const std::string& utf8Name) {
#ifdef _WIN32
  try {
    return std::filesystem::path(std::u8string(utf8Name.begin(), utf8Name.end()));
  } catch (const std::system_error&) {
    return {};
  }
#else
  return utf8Name;
#endif
}

std::string utf8Name(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace qm
