#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "model/text_match.h"
#include "model/ttree.h"

namespace qm {

// What a find looks for: a text in a task's title, or, with notesToo, in
// its record's note as well.
class TaskQuery {
 public:
  TaskQuery(std::string_view text, bool notesToo) : text_(text), notesToo_(notesToo) {}

  bool empty() const { return text_.empty(); }
  bool notesToo() const { return notesToo_; }
  bool matches(const TreeNode& task) const;
  // The position of the first of the tasks that matches, or their count.
  // Looks all their texts up before matching any, so that the memory reads
  // of many tasks overlap; one by one, a walk of a big list waits on each.
  size_t firstMatch(std::span<const TreeNode* const> tasks) const;
  static constexpr size_t kBatch = 64;  // tasks to firstMatch at a time

 private:
  TextMatcher text_;
  bool notesToo_;
};

enum class SearchDirection { Forward, Backward };

// The first task that matches, walking the whole tree in display order
// (pre-order, collapsed subtrees included) from `from` in the direction
// given and wrapping at the end. `from` itself comes first when fromIncluded,
// last otherwise; with no `from` the walk starts at the first task (going
// forward) or the last one (going back). nullptr when nothing matches.
// Costs a walk of the tree in the worst case and nothing per task beyond it.
TreeNode* findTask(const Ttree& tree, const TaskQuery& query, const TreeNode* from, SearchDirection direction,
                   bool fromIncluded);

// Counts the matches of a query over the tree in display order, a slice at
// a time, so that a window can go on answering while a million tasks are
// counted. The tree may change between slices; the count is then that of a
// mix of states, and the caller starts again.
class MatchCounter {
 public:
  MatchCounter(TaskQuery query, const TreeNode* current) : query_(std::move(query)), current_(current) {}

  // Counts over at most `tasks` more tasks; true once the whole tree is done.
  bool countSome(const Ttree& tree, size_t tasks);
  size_t matches() const { return matches_; }
  // The place of `current` among the matches, from 1; 0 when it is no match
  // or has not been reached yet.
  size_t rankOfCurrent() const { return rank_; }

 private:
  TaskQuery query_;
  const TreeNode* current_;
  size_t next_ = 0;  // the absolute index of the next task to count
  size_t matches_ = 0;
  size_t rank_ = 0;
};

// A walk in display order that keeps the way down from the hidden root, so
// that each step is an array look-up rather than a search of a sibling list.
class PreorderCursor {
 public:
  // At `node`, or past the end for nullptr.
  explicit PreorderCursor(const TreeNode* node);

  TreeNode* node() const { return path_.empty() ? nullptr : path_.back().siblings[path_.back().row]; }
  // The tasks from the top level down to node(), node() included.
  size_t depth() const { return path_.size(); }
  TreeNode* ancestorAt(size_t level) const { return path_[level].siblings[path_[level].row]; }
  // Past the last task, or before the first, the cursor is at nullptr.
  void forward();
  void backward();

 private:
  struct Level {
    std::span<TreeNode* const> siblings;
    size_t row;
  };
  void descendToLast(TreeNode* node);

  std::vector<Level> path_;
};

}  // namespace qm
