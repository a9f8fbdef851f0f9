#include "stream/task_list_file.h"

#include <algorithm>

#include "stream/atomic_file.h"
#include "stream/class_registry.h"
#include "stream/component_reader.h"
#include "stream/file_bytes.h"
#include "stream/resource_header.h"
#include "stream/task_list_writer.h"

namespace qm {

void SaveTaskList(const std::string& fileName, Ttree& tree) {
  replaceFileAtomically(fileName, [&](ByteSink& file) { writeTaskList(file, tree); });
}

void LoadTaskList(const std::string& fileName, Ttree& tree) {
  // Read as it is parsed, not whole: a list of a million tasks would
  // otherwise hold its file's bytes beside the tree.
  std::unique_ptr<ByteSource> file = openFileSource(fileName);
  file->fill(kResourceHeaderWindow);
  size_t headerBytes = std::min(file->filled(), kResourceHeaderWindow);
  size_t streamStart = resourceHeaderLength({file->data(), headerBytes}, file->size());
  ByteReader in(*file);
  in.skip(streamStart);
  readComponentStream(in, tree, taskListClasses());
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
