#include "cli/command_line.h"

#include <charconv>
#include <optional>
#include <vector>

#include "model/day_count.h"

namespace qm::cli {
namespace {

std::optional<Action> commandNamed(std::string_view name) {
  if (name == "show") return Action::Show;
  if (name == "check") return Action::Check;
  if (name == "export") return Action::Export;
  if (name == "import") return Action::Import;
  if (name == "find") return Action::Find;
  if (name == "agenda") return Action::Agenda;
  return std::nullopt;
}

std::optional<Action> informationRequest(std::span<const std::string_view> args) {
  for (std::string_view arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return Action::Help;
    if (arg == "--version") return Action::Version;
  }
  return std::nullopt;
}

ExportFormat exportFormatNamed(std::string_view name) {
  if (name == "json") return ExportFormat::Json;
  if (name == "markdown") return ExportFormat::Markdown;
  if (name == "ics") return ExportFormat::Ics;
  throw UsageError("unknown format '" + std::string(name) + "' (use json, markdown or ics)");
}

AgendaFormat agendaFormatNamed(std::string_view name) {
  if (name == "text") return AgendaFormat::Text;
  if (name == "json") return AgendaFormat::Json;
  throw UsageError("unknown format '" + std::string(name) + "' for agenda (use text or json)");
}

int64_t wholeNumber(std::string_view text, std::string_view what) {
  int64_t value = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0)
    throw UsageError(std::string(what) + " needs a whole number, 0 or more: '" + std::string(text) + "'");
  return value;
}

// A calendar day written YYYY-MM-DD, as days from 1899-12-30.
int64_t isoDay(std::string_view text) {
  auto part = [&](size_t at, size_t length) {
    std::string_view digits = text.substr(at, length);
    bool valid = digits.find_first_not_of("0123456789") == std::string_view::npos;
    return valid ? static_cast<int32_t>(wholeNumber(digits, "--today")) : -1;
  };
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    CivilDate date{part(0, 4), part(5, 2), part(8, 2)};
    int64_t day = daysFromCivil(date);
    if (date.month >= 1 && date.month <= 12 && civilFromDays(day) == date) return day;
  }
  throw UsageError("--today needs a date written YYYY-MM-DD: '" + std::string(text) + "'");
}

// Reads the value of an option given as "--name VALUE" or "--name=VALUE";
// returns nullopt when "arg" is not that option.
std::optional<std::string_view> optionValue(std::span<const std::string_view> args, size_t& i,
                                            std::initializer_list<std::string_view> spellings) {
  std::string_view arg = args[i];
  for (std::string_view spelling : spellings) {
    if (arg == spelling) {
      if (i + 1 >= args.size()) throw UsageError("option " + std::string(spelling) + " needs a value");
      return args[++i];
    }
    if (spelling.starts_with("--") && arg.starts_with(spelling) && arg.size() > spelling.size() &&
        arg[spelling.size()] == '=')
      return arg.substr(spelling.size() + 1);
  }
  return std::nullopt;
}

bool takeAgendaOption(std::span<const std::string_view> args, size_t& i, Invocation& invocation) {
  if (auto days = optionValue(args, i, {"--days"}))
    invocation.daysAhead = wholeNumber(*days, "--days");
  else if (auto today = optionValue(args, i, {"--today"}))
    invocation.today = isoDay(*today);
  else if (auto format = optionValue(args, i, {"--format"}))
    invocation.agendaFormat = agendaFormatNamed(*format);
  else
    return false;
  return true;
}

// Takes the command's option at args[i], and its value; false when the
// command has no such option.
bool takeOption(std::span<const std::string_view> args, size_t& i, Invocation& invocation) {
  switch (invocation.action) {
    case Action::Export:
      if (auto format = optionValue(args, i, {"--format"})) {
        invocation.format = exportFormatNamed(*format);
        return true;
      }
      return false;
    case Action::Import:
      if (auto output = optionValue(args, i, {"-o", "--output"})) {
        invocation.output = *output;
        return true;
      }
      return false;
    case Action::Find:
      if (args[i] != "--notes") return false;
      invocation.notesToo = true;
      return true;
    case Action::Agenda:
      return takeAgendaOption(args, i, invocation);
    default:
      return false;
  }
}

// The command's options and its one file.
void parseArguments(std::span<const std::string_view> args, Invocation& invocation) {
  std::vector<std::string_view> files;
  bool optionsEnded = false;
  for (size_t i = 1; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
      files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (!takeOption(args, i, invocation)) {
      throw UsageError("unknown option '" + std::string(arg) + "' for " + std::string(args[0]));
    }
  }
  if (files.empty()) throw UsageError(std::string(args[0]) + " needs a file");
  size_t wanted = invocation.action == Action::Find ? 2 : 1;  // find's second is its text
  if (files.size() < wanted) throw UsageError("find needs the text to look for");
  if (files.size() > wanted) throw UsageError("unexpected argument '" + std::string(files[wanted]) + "'");
  invocation.input = files.front();
  if (invocation.action == Action::Find) invocation.text = files[1];
  if (invocation.action == Action::Import && invocation.output.empty())
    throw UsageError("import needs the list to write: -o OUT.jjp");
}

}  // namespace

Invocation parseCommandLine(std::span<const std::string_view> args) {
  Invocation invocation;
  if (auto request = informationRequest(args)) {
    invocation.action = *request;
    return invocation;
  }
  if (args.empty()) throw UsageError("no command given");
  auto action = commandNamed(args[0]);
  if (!action) throw UsageError("unknown command '" + std::string(args[0]) + "'");
  invocation.action = *action;
  parseArguments(args, invocation);
  return invocation;
}

std::string_view helpText() {
  return "Usage: qmk COMMAND FILE [OPTIONS]\n"
         "Reads, checks and converts Quillmark task lists (.jjp files).\n"
         "\n"
         "Commands:\n"
         "  show FILE.jjp                       print the list as an outline\n"
         "  check FILE.jjp                      read the list; print \"ok: N tasks\", or the error\n"
         "  export FILE.jjp [--format FORMAT]   write the list to standard output as json\n"
         "                                      (the default), markdown or ics (iCalendar)\n"
         "  import FILE.json -o OUT.jjp         build a list from JSON and save it as OUT.jjp\n"
         "  find FILE.jjp TEXT [--notes]        print the path of each task whose title (or,\n"
         "                                      with --notes, note) holds TEXT, case ignored;\n"
         "                                      exit status 1 when none does\n"
         "  agenda FILE.jjp [--days N] [--today YYYY-MM-DD] [--format text|json]\n"
         "                                      print the tasks not done that are overdue or\n"
         "                                      end within N days (7 unless given) of today\n"
         "A FILE of - is standard input; -o - writes standard output.\n"
         "\n"
         "Options:\n"
         "  -h, --help     show this help\n"
         "  --version      show the version\n"
         "\n"
         "Exit status: 0 on success, 1 when a file cannot be read, understood or written,\n"
         "2 for a command line qmk does not understand.\n";
}

std::string_view versionText() { return "qmk (Quillmark) " QMK_VERSION "\n"; }

}  // namespace qm::cli
