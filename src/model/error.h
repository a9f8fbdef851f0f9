#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qm {

// Every failure of the core is raised as an Error whose message is shown to
// the user as it stands, so messages are worded exactly once, where raised.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Replaces each "%s" of a message template, in order, with the arguments.
std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

[[noreturn]] void raise(std::string_view pattern, std::initializer_list<std::string_view> args = {});

}  // namespace qm
