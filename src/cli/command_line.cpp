#include "cli/command_line.h"

#include <optional>
#include <vector>

namespace qm::cli {
namespace {

std::optional<Action> commandNamed(std::string_view name) {
  if (name == "show") return Action::Show;
  if (name == "check") return Action::Check;
  if (name == "export") return Action::Export;
  if (name == "import") return Action::Import;
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

ExportFormat formatNamed(std::string_view name) {
  if (name == "json") return ExportFormat::Json;
  if (name == "markdown") return ExportFormat::Markdown;
  throw UsageError("unknown format '" + std::string(name) + "' (use json or markdown)");
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
    } else if (auto format =
                   invocation.action == Action::Export ? optionValue(args, i, {"--format"}) : std::nullopt) {
      invocation.format = formatNamed(*format);
    } else if (auto output = invocation.action == Action::Import ? optionValue(args, i, {"-o", "--output"})
                                                                 : std::nullopt) {
      invocation.output = *output;
    } else {
      throw UsageError("unknown option '" + std::string(arg) + "' for " + std::string(args[0]));
    }
  }
  if (files.empty()) throw UsageError(std::string(args[0]) + " needs a file");
  if (files.size() > 1) throw UsageError("unexpected argument '" + std::string(files[1]) + "'");
  invocation.input = files.front();
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
         "                                      (the default) or markdown\n"
         "  import FILE.json -o OUT.jjp         build a list from JSON and save it as OUT.jjp\n"
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
