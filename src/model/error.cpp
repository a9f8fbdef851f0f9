#include "model/error.h"

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

void raiseFileError(FileAction action, const std::string& file, std::string_view pattern,
                    std::initializer_list<std::string_view> args) {
  int reason = errno;  // before anything else can change it
  Error error(formatMessage(pattern, args));
  if (reason != 0) error.setReason(std::error_code(reason, std::generic_category()));
  error.setFile(file, action);
  throw error;
}

}  // namespace qm
