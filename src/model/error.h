#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace qm {

// What the program was doing with a file when it failed.
enum class FileAction { None, Opening, Saving };

// Every failure of the core is raised as an Error whose message is shown to
// the user as it stands, so messages are worded exactly once, where raised.
// A failure of the file system also carries the file and the system's reason;
// they are shown beside the message, never inside it.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
  // The same failure under another message: the file and the reason stay.
  Error(const std::string& message, const Error& cause)
      : std::runtime_error(message), reason_(cause.reason_), file_(cause.file_), action_(cause.action_) {}

  std::error_code reason() const { return reason_; }  // empty when the system gave none
  const std::string& file() const { return file_; }   // empty when unknown
  FileAction action() const { return action_; }

  void setReason(std::error_code reason) { reason_ = reason; }
  // The innermost file named stays: it is the one the system refused.
  void setFile(const std::string& file, FileAction action) {
    if (!file_.empty()) return;
    file_ = file;
    action_ = action;
  }

 private:
  std::error_code reason_;
  std::string file_;
  FileAction action_ = FileAction::None;
};

// Replaces each "%s" of a message template, in order, with the arguments.
std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

[[noreturn]] void raise(std::string_view pattern, std::initializer_list<std::string_view> args = {});
// Raises a failure of the file system with the reason errno gives now; the
// file may be left empty for a caller that knows it to fill in.
[[noreturn]] void raiseFileError(FileAction action, const std::string& file, std::string_view pattern,
                                 std::initializer_list<std::string_view> args = {});
#ifdef _WIN32
// The same for a failed Win32 call, which leaves its reason in GetLastError.
[[noreturn]] void raiseWin32FileError(FileAction action, const std::string& file, std::string_view pattern,
                                      std::initializer_list<std::string_view> args = {});
#endif

}  // namespace qm
