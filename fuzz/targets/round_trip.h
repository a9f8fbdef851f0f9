#pragma once

#include "model/ttree.h"

namespace qm::fuzz {

// Whatever a tree holds, even after a failed read, it must save, the saved
// bytes must load, and a second save and load must give the same list.
// Raises FuzzFinding otherwise.
void expectStableRoundTrip(Ttree& tree);

}  // namespace qm::fuzz
