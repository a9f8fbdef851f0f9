#include "task_list_bytes_target.h"

#include "model/error.h"
#include "round_trip.h"
#include "stream/task_list_file.h"

namespace qm::fuzz {

void exerciseTaskListBytes(std::string_view bytes) {
  Ttree tree;
  try {
    loadTaskListFromBytes(bytes, tree);
  } catch (const Error&) {
    // A refused file; the tree keeps what was read before, and must still be
    // a list the program can work with.
  }
  expectStableRoundTrip(tree);
  tree.ClearTasks();
}

}  // namespace qm::fuzz
