#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string_view>

namespace qm::cli {

// The whole program behind main(): runs the command line (without the
// program name) and returns the exit status: 0 done, 1 a file could not be
// read, understood or written (the message on "err"), 2 a usage error.
// "-" as a file reads "in".
int runQmk(std::span<const std::string_view> args, std::istream& in, std::ostream& out, std::ostream& err);
int runQmk(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);  // in: std::cin

}  // namespace qm::cli
