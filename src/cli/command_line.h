#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm::cli {

enum class Action { Help, Version, Show, Check, Export, Import, Find, Agenda };
enum class ExportFormat { Json, Markdown, Ics };
enum class AgendaFormat { Text, Json };

struct Invocation {
  Action action = Action::Help;
  std::string input;   // the .jjp file, or the .json file for import
  std::string output;  // import's -o
  ExportFormat format = ExportFormat::Json;
  std::string text;              // find's text
  bool notesToo = false;         // find's --notes
  int64_t daysAhead = 7;         // agenda's --days
  std::optional<int64_t> today;  // agenda's --today, as days from 1899-12-30
  AgendaFormat agendaFormat = AgendaFormat::Text;
};

// A command line that asks for nothing qmk can do; exit status 2.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// The arguments after the program name. "--help" or "--version" anywhere
// before "--" wins over everything else; otherwise the first argument is the
// command, "--" ends the options. Raises UsageError.
Invocation parseCommandLine(std::span<const std::string_view> args);

std::string_view helpText();
std::string_view versionText();

}  // namespace qm::cli
