#pragma once

#include <stdexcept>
#include <string>

namespace qm::fuzz {

// A fault found by an oracle (a saved list that does not load back, a round
// trip that changes the list). Raised instead of aborting so that the
// regression test can name the input; the fuzzers turn it into a crash.
class FuzzFinding : public std::logic_error {
 public:
  explicit FuzzFinding(const std::string& what) : std::logic_error(what) {}
};

}  // namespace qm::fuzz
