#pragma once

#include <cstddef>
#include <cstdint>

#include "model/ttree.h"

namespace qm::sample {

// Appends a reproducible list of taskCount tasks to the tree, shaped like a
// long-kept real list: titles of 10-60 bytes, a third of the tasks with a
// note of about 100 bytes (some of it non-ASCII), dates on half of them, and
// nesting up to 12 levels. The same seed gives the same list.
void appendSampleTasks(Ttree& tree, size_t taskCount, uint32_t seed = 1);

// A chain of tasks each the only child of the one before.
void appendChain(Ttree& tree, size_t depth);

// Bytes of text the tree holds: titles, notes, priorities and statuses.
size_t textBytesOf(const Ttree& tree);

}  // namespace qm::sample
