#include "cli/run_qmk.h"

#include <iostream>
#include <new>

#include "cli/agenda_command.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/find_command.h"
#include "model/error.h"

namespace qm::cli {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsageError = 2;

// The exit status of a command that ran to its end.
int runInvocation(const Invocation& invocation, std::istream& in, std::ostream& out) {
  switch (invocation.action) {
    case Action::Help:
      out << helpText();
      break;
    case Action::Version:
      out << versionText();
      break;
    case Action::Show:
      showCommand(invocation.input, in, out);
      break;
    case Action::Check:
      checkCommand(invocation.input, in, out);
      break;
    case Action::Export:
      exportCommand(invocation.input, invocation.format, in, out);
      break;
    case Action::Import:
      importCommand(invocation.input, invocation.output, in, out);
      break;
    case Action::Agenda:
      agendaCommand(invocation, in, out);
      break;
    case Action::Find:
      return findCommand(invocation.input, invocation.text, invocation.notesToo, in, out) ? kSuccess
                                                                                          : kFailure;
  }
  return kSuccess;
}

// The message exactly as raised, which scripts compare; a failure of the
// file system adds the file and the system's reason around it.
void printError(const Error& error, std::ostream& err) {
  if (!error.file().empty()) err << "qmk: " << error.file() << ": ";
  err << error.what();
  if (error.reason()) err << " (" << error.reason().message() << ")";
  err << '\n';
}

}  // namespace

int runQmk(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  return runQmk(args, std::cin, out, err);
}

int runQmk(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err) {
  int status = kSuccess;
  try {
    status = runInvocation(parseCommandLine(args), in, out);
  } catch (const UsageError& error) {
    err << "qmk: " << error.what() << "\nTry 'qmk --help' for more information.\n";
    return kUsageError;
  } catch (const Error& error) {
    printError(error, err);
    return kFailure;
  } catch (const std::bad_alloc&) {
    err << "qmk: out of memory\n";
    return kFailure;
  }
  // A full disk or a closed pipe must not pass for success.
  if (!out.flush()) {
    err << "qmk: cannot write to standard output\n";
    return kFailure;
  }
  return status;
}

}  // namespace qm::cli
