#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace qm::cli {

// The whole program behind main(): runs the command line (without the
// program name) and returns the exit status: 0 done, 1 a file could not be
// read, understood or written (the message on "err") or find matched
// nothing, 2 a usage error.
int runQmk(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace qm::cli
