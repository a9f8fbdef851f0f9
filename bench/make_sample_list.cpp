// make_sample_list TASKS FILE: writes a generated list of TASKS tasks to FILE
// and prints "tasks text_bytes file_bytes", for measuring qmk on big lists.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "sample_list.h"
#include "stream/task_list_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_sample_list TASKS FILE\n");
    return 2;
  }
  try {
    size_t tasks = std::stoul(argv[1]);
    qm::Ttree tree;
    tree.setSettings(qm::TreeSettings::mainWindowInitial());
    qm::sample::appendSampleTasks(tree, tasks);
    qm::SaveTaskList(argv[2], tree);
    std::printf("%zu %zu %ju\n", tasks, qm::sample::textBytesOf(tree),
                static_cast<uintmax_t>(std::filesystem::file_size(argv[2])));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_sample_list: %s\n", e.what());
    return 1;
  }
}
