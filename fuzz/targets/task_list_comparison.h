#pragma once

#include "model/ttree.h"

namespace qm::fuzz {

// Raises FuzzFinding naming the first difference in what a file keeps of a
// list: settings, nodes in pre-order with their titles, pictures and child
// counts, and each node's record.
void expectSameTaskList(const Ttree& expected, const Ttree& actual);

}  // namespace qm::fuzz
