#include "stream/task_list_file.h"

#include <algorithm>

#include "model/huge_pages.h"
#include "stream/components/class_registry.h"
#include "stream/components/component_reader.h"
#include "stream/components/resource_header.h"
#include "stream/files/atomic_file.h"
#include "stream/files/file_bytes.h"
#include "stream/task_list_writer.h"

namespace qm {
namespace {

// Hashes the bytes as they are brought in, before the reader can give them
// back.
class HashingSource : public ByteSource {
 public:
  explicit HashingSource(ByteSource& inner) : inner_(inner) {}

  const char* data() const override { return inner_.data(); }
  size_t size() const override { return inner_.size(); }
  size_t filled() const override { return inner_.filled(); }
  void fill(size_t end) override {
    inner_.fill(end);
    hashNewBytes();
  }
  void release(size_t from, size_t before) override { inner_.release(from, before); }

  // Reads what the stream left unread (bytes after its end) into the hash.
  uint64_t finish() {
    while (filled() < size()) {
      size_t before = filled();
      fill(size());
      if (filled() == before) break;
    }
    return hash_.finish();
  }

 private:
  void hashNewBytes() {
    if (inner_.filled() <= hashed_) return;
    hash_.add(inner_.data() + hashed_, inner_.filled() - hashed_);
    hashed_ = inner_.filled();
  }

  ByteSource& inner_;
  FingerprintHash hash_;
  size_t hashed_ = 0;
};

// A list this big gets its slabs brought in ahead of the reader. From 4 MB,
// with the file's pages moved ahead, not from 16:
// Buys a 100,000-task start (15 MB) under X 0.08-0.12 s of UI-thread time, 0.11-0.15 s (15 runs each).
constexpr size_t kPrefetchFrom = size_t{4} << 20;

void readTaskList(ByteSource& file, Ttree& tree) {
  SlabPrefetch slabs(file.size() >= kPrefetchFrom);
  file.fill(kResourceHeaderWindow);
  size_t headerBytes = std::min(file.filled(), kResourceHeaderWindow);
  size_t streamStart = resourceHeaderLength({file.data(), headerBytes}, file.size());
  ByteReader in(file);
  in.skip(streamStart);
  readComponentStream(in, tree, taskListClasses());
}

}  // namespace

bool isLargeTaskListFile(const std::string& fileName) {
  std::optional<FileFingerprint> file = sizeAndTimeOf(fileName);
  return file && file->size >= kPrefetchFrom;
}

void SaveTaskList(const std::string& fileName, Ttree& tree) {
  replaceFileAtomically(fileName, [&](ByteSink& file) { writeTaskList(file, tree); });
}

void LoadTaskList(const std::string& fileName, Ttree& tree) {
  // Read as it is parsed, not whole: a list of a million tasks would
  // otherwise hold its file's bytes beside the tree.
  std::unique_ptr<ByteSource> file = openFileSource(fileName);
  readTaskList(*file, tree);
}

FileFingerprint loadTaskListWithFingerprint(const std::string& fileName, Ttree& tree) {
  std::optional<FileFingerprint> before = sizeAndTimeOf(fileName);
  std::unique_ptr<ByteSource> file = openFileSource(fileName);
  HashingSource hashing(*file);
  readTaskList(hashing, tree);
  FileFingerprint seen = before.value_or(FileFingerprint{file->size(), 0, 0});
  seen.hash = hashing.finish();
  return seen;
}

std::string saveTaskListToBytes(Ttree& tree) {
  std::string bytes;
  saveTaskListToBytes(tree, bytes);
  return bytes;
}

void saveTaskListToBytes(Ttree& tree, std::string& out) {
  // Room for well over a typical task (about 150 bytes in a file): the bytes
  // are then written once, not copied as the buffer doubles. A list of longer
  // tasks grows the usual way beyond it.
  MemorySink sink(out);
  out.reserve(4096 + tree.nodeCount() * 256);
  writeTaskList(sink, tree);
}

void loadTaskListFromBytes(std::string_view bytes, Ttree& tree) {
  size_t streamStart = resourceHeaderLength(bytes);
  readComponentStream(bytes.substr(streamStart), tree, taskListClasses());
}

}  // namespace qm
