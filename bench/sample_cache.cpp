#include "sample_cache.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include "sample_list.h"
#include "stream/task_list_file.h"

namespace qm::bench {
namespace {

SampleList makeSample(size_t tasks) {
  SampleList sample;
  sample.tree = std::make_unique<Ttree>();
  sample.tree->setSettings(TreeSettings::mainWindowInitial());
  sample::appendSampleTasks(*sample.tree, tasks);
  sample.bytes = saveTaskListToBytes(*sample.tree);
  sample.tasks = tasks;
  return sample;
}

SampleList& cached(std::map<size_t, SampleList>& cache, size_t tasks) {
  auto found = cache.find(tasks);
  if (found == cache.end()) found = cache.emplace(tasks, makeSample(tasks)).first;
  return found->second;
}

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmark-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~ScratchDirectory() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

SampleList& unchangedSample(size_t tasks) {
  static std::map<size_t, SampleList> cache;
  return cached(cache, tasks);
}

SampleList& editableSample(size_t tasks) {
  static std::map<size_t, SampleList> cache;
  return cached(cache, tasks);
}

std::string scratchPath(const std::string& name) {
  static ScratchDirectory directory;
  return (directory.path() / name).string();
}

}  // namespace qm::bench
