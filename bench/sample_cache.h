#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "model/ttree.h"

namespace qm::bench {

// A generated list and its saved bytes, built once per size and process.
struct SampleList {
  std::unique_ptr<Ttree> tree;
  std::string bytes;
  size_t tasks = 0;
};

// The list for benchmarks that leave it as it was (reading, writing, and the
// record passes that rename and re-link every record to the same result).
SampleList& unchangedSample(size_t tasks);
// A separate list of the same shape for benchmarks that edit it.
SampleList& editableSample(size_t tasks);

// A file path in a scratch directory that lives as long as the process.
std::string scratchPath(const std::string& name);

}  // namespace qm::bench
