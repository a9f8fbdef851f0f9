#include "round_trip.h"

#include <string>

#include "fuzz_finding.h"
#include "model/error.h"
#include "stream/task_list_file.h"
#include "task_list_comparison.h"

namespace qm::fuzz {
namespace {

void loadOrFind(const std::string& bytes, Ttree& tree) {
  try {
    loadTaskListFromBytes(bytes, tree);
  } catch (const Error& e) {
    throw FuzzFinding(std::string("a saved list does not load: ") + e.what());
  }
}

}  // namespace

void expectStableRoundTrip(Ttree& tree) {
  Ttree reread;
  loadOrFind(saveTaskListToBytes(tree), reread);
  // The first save may change what it cannot keep (a title cut to 255 bytes,
  // a missing record given a stand-in); from then on nothing may change.
  Ttree third;
  loadOrFind(saveTaskListToBytes(reread), third);
  expectSameTaskList(reread, third);
}

}  // namespace qm::fuzz
