// Replays, outside libFuzzer and in every build, what each fuzzer runs on an
// input: over its seed corpus and over every input that once found a fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "seed_corpus.h"
#include "task_list_bytes_target.h"
#include "task_list_json_target.h"

namespace qm::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<Seed> keptInputs(const std::string& fuzzer) {
  std::vector<Seed> inputs;
  for (const auto& entry : fs::directory_iterator(fs::path(QM_FUZZ_REGRESSIONS) / fuzzer)) {
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.push_back({entry.path().filename().string(), std::string(std::istreambuf_iterator<char>(in), {})});
  }
  return inputs;
}

template <class Exercise>
void replay(const std::vector<Seed>& inputs, Exercise exercise) {
  for (const Seed& input : inputs) {
    SCOPED_TRACE(input.name);
    try {
      exercise(input.bytes);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

TEST(FuzzRegressions, TaskListReaderOnSeedsAndKeptInputs) {
  replay(taskListSeeds(), exerciseTaskListBytes);
  replay(keptInputs("load_task_list"), exerciseTaskListBytes);
}

TEST(FuzzRegressions, JsonImportOnSeedsAndKeptInputs) {
  replay(taskListJsonSeeds(), exerciseTaskListJson);
  replay(keptInputs("import_json"), exerciseTaskListJson);
}

}  // namespace
}  // namespace qm::fuzz
