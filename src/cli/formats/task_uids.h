#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/tree_node.h"

namespace qm::cli {

// Identifiers of the tasks of a list that stay the same from one export to
// the next, so that a calendar that imports the file again updates its tasks
// instead of adding them twice: "<16 hex digits>@quillmark", a hash of the
// task's path of titles, each title with its place among the siblings of
// the same title (1 for the first). Renaming or moving a task, or one above
// it, or putting a sibling of the same title before it, changes it.
class TaskUids {
 public:
  // The UID of the next task of a walk in display order, at `depth` (1 for
  // a top-level task). Every task of the list must pass, in that order.
  const std::string& next(const TreeNode& task, size_t depth);
  // The UID of the parent of the task last passed; empty at the top level.
  const std::string& parentUid() const;

 private:
  struct Level {
    uint64_t hash;  // of the path down to this task
    std::string uid;
    std::unordered_map<std::string_view, uint32_t> childTitles;  // times each title came among the children
  };
  std::unordered_map<std::string_view, uint32_t> topTitles_;
  std::vector<Level> path_;
};

}  // namespace qm::cli
