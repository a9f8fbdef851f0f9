// make_seed_corpus DIR: writes the seeds of each fuzzer into
// DIR/load_task_list and DIR/import_json.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "seed_corpus.h"

namespace {

void writeSeeds(const std::filesystem::path& directory, const std::vector<qm::fuzz::Seed>& seeds) {
  std::filesystem::create_directories(directory);
  for (const auto& seed : seeds)
    std::ofstream(directory / seed.name, std::ios::binary)
        .write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seed_corpus DIR\n");
    return 2;
  }
  std::filesystem::path root = argv[1];
  writeSeeds(root / "load_task_list", qm::fuzz::taskListSeeds());
  writeSeeds(root / "import_json", qm::fuzz::taskListJsonSeeds());
}
