#include "model/error.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cerrno>

namespace qm {

std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(pattern.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

void raise(std::string_view pattern, std::initializer_list<std::string_view> args) {
  throw Error(formatMessage(pattern, args));
}

namespace {

[[noreturn]] void raiseWithReason(std::error_code reason, FileAction action, const std::string& file,
                                  std::string_view pattern, std::initializer_list<std::string_view> args) {
  Error error(formatMessage(pattern, args));
  if (reason.value() != 0) error.setReason(reason);
  error.setFile(file, action);
  throw error;
}

}  // namespace

void raiseFileError(FileAction action, const std::string& file, std::string_view pattern,
                    std::initializer_list<std::string_view> args) {
  int reason = errno;  // before anything else can change it
  raiseWithReason(std::error_code(reason, std::generic_category()), action, file, pattern, args);
}

#ifdef _WIN32
void raiseWin32FileError(FileAction action, const std::string& file, std::string_view pattern,
                         std::initializer_list<std::string_view> args) {
  std::error_code reason(static_cast<int>(::GetLastError()), std::system_category());
  // Told in the same words as on other systems where there is a counterpart.
  if (std::error_condition same = reason.default_error_condition();
      same.category() == std::generic_category())
    reason = std::error_code(same.value(), std::generic_category());
  raiseWithReason(reason, action, file, pattern, args);
}
#endif

}  // namespace qm
