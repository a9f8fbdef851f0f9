#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/task_search.h"

namespace qm {

// Every task's title and note copied side by side in display order, each
// followed by a 0 byte that ends any character cut short. A search of the
// tree itself reads a million nodes, records and text blocks scattered over
// memory, one text at a time; a search of this copy scans one run of bytes
// and looks up the task of each match it finds. It is a picture of the tree
// as it was when copied: whoever changes the tree must drop it.
class TaskTextIndex {
 public:
  // Copies at most `tasks` more tasks; true once every task is in. The tree
  // must not change between calls.
  bool buildSome(const Ttree& tree, size_t tasks);
  size_t taskCount() const { return ends_.size(); }

  // findTask by absolute index: the first task that matches, from task
  // `from` (none: from the first task going forward, the last going back)
  // round the whole list; nullopt when none matches. Reads the copy for
  // the tasks copied so far and walks the tree for the others.
  std::optional<size_t> find(const Ttree& tree, const TaskQuery& query, std::optional<size_t> from,
                             SearchDirection direction, bool fromIncluded) const;

 private:
  // The first task, going forward, or the last, going back, of the copied
  // tasks [first, last) that matches.
  std::optional<size_t> findCopied(const TaskQuery& query, size_t first, size_t last, bool forward) const;
  // The first task, or the last, in [first, last) that matches.
  std::optional<size_t> matchAmong(const TaskQuery& query, size_t first, size_t last, bool wantLast) const;
  size_t startOf(size_t task) const { return task == 0 ? 0 : ends_[task - 1].note + 1; }

  std::string bytes_;
  struct Ends {
    size_t title;
    size_t note;
  };
  std::vector<Ends> ends_;  // where each task's title and note end in bytes_, before their 0 bytes
};

}  // namespace qm
