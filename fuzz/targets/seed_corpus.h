#pragma once

#include <string>
#include <vector>

namespace qm::fuzz {

struct Seed {
  std::string name;
  std::string bytes;
};

// Task-list files to start fuzzing the reader from: lists the writer makes
// (the worked example, an empty list, generated and deep lists, note mode,
// long and non-ASCII texts) and crafted ones the writer never makes (every
// value tag, prefixes, each failure the reader reports).
std::vector<Seed> taskListSeeds();

// The JSON form of qmk import: exports of the lists above and hand-written
// texts that lean on defaults.
std::vector<Seed> taskListJsonSeeds();

}  // namespace qm::fuzz
