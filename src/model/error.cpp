#include "model/error.h"

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

}  // namespace qm
