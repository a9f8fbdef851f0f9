#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/text_match.h"
#include "model/ttree.h"

namespace qm {

// A task that matched, with its absolute index.
struct FoundTask {
  size_t index;
  const TreeNode* task;
};

enum class SearchDirection { Forward, Backward };

// What a find looks for: a text in a task's title, or, with notesToo, in
// its record's note as well.
class TaskQuery {
 public:
  TaskQuery(std::string_view text, bool notesToo) : text_(text), notesToo_(notesToo) {}

  bool empty() const { return text_.empty(); }
  const TextMatcher& matcher() const { return text_; }
  bool notesToo() const { return notesToo_; }
  bool matches(const TreeNode& task) const;
  bool matches(std::string_view title, std::string_view note) const {
    return text_.foundIn(title) || (notesToo_ && text_.foundIn(note));
  }

 private:
  friend TreeNode* findTask(const Ttree&, const TaskQuery&, const TreeNode*, SearchDirection, bool);
  friend TreeNode* findAmong(const Ttree&, std::span<const FoundTask>, const TaskQuery&, const TreeNode*,
                             SearchDirection, bool);
  friend class MatchCounter;
  friend std::optional<size_t> findInRun(const Ttree&, const TaskQuery&, size_t, size_t, SearchDirection);
  // Calls next() `count` times for tasks in turn and onMatch(found) for each
  // of them that matches, in the same order, until onMatch returns false.
  // Asks for a task's texts some tasks before matching it, so that the
  // memory reads of many overlap: one by one, a big list waits on each.
  template <typename Next, typename OnMatch>
  void matchInTurn(size_t count, Next next, OnMatch onMatch) const;

  TextMatcher text_;
  bool notesToo_;
};

// The first task that matches, walking the whole tree in display order
// (pre-order, collapsed subtrees included) from `from` in the direction
// given and wrapping at the end. `from` itself comes first when fromIncluded,
// last otherwise; with no `from` the walk starts at the first task (going
// forward) or the last one (going back). nullptr when nothing matches.
// Costs a walk of the tree in the worst case and nothing per task beyond it.
TreeNode* findTask(const Ttree& tree, const TaskQuery& query, const TreeNode* from, SearchDirection direction,
                   bool fromIncluded);

// The first (going forward) or the last (going back) of the tasks at the
// absolute indexes [first, last) that matches, walking the tree.
std::optional<size_t> findInRun(const Ttree& tree, const TaskQuery& query, size_t first, size_t last,
                                SearchDirection direction);

// findTask among `found`, the matches of an earlier count in display order,
// for a query whose text holds the earlier one's (so that every task it
// matches is among them): the cost of the earlier matches, not of the tree.
// The tree must be as it was counted.
TreeNode* findAmong(const Ttree& tree, std::span<const FoundTask> found, const TaskQuery& query,
                    const TreeNode* from, SearchDirection direction, bool fromIncluded);

// Counts the matches of a query over the tree in display order, a slice at
// a time, so that a window can go on answering while a million tasks are
// counted, and keeps them for findAmong. The tree may change between
// slices; the count is then that of a mix of states, and the caller starts
// again.
class MatchCounter {
 public:
  MatchCounter(TaskQuery query, const TreeNode* current) : query_(std::move(query)), current_(current) {}
  // Counts among the matches of an earlier count instead of the whole tree,
  // for a query whose text holds that count's.
  MatchCounter(TaskQuery query, const TreeNode* current, std::shared_ptr<const std::vector<FoundTask>> among)
      : query_(std::move(query)), current_(current), among_(std::move(among)) {}

  // Counts over at most `tasks` more tasks; true once the whole tree is done.
  bool countSome(const Ttree& tree, size_t tasks);
  size_t matches() const { return found_.size(); }
  // The place of `current` among the matches, from 1; 0 when it is no match
  // or has not been reached yet.
  size_t rankOfCurrent() const { return rank_; }
  // The matches counted so far, in display order; 16 bytes each.
  std::vector<FoundTask> takeFound() { return std::move(found_); }

 private:
  TaskQuery query_;
  const TreeNode* current_;
  std::shared_ptr<const std::vector<FoundTask>> among_;
  size_t next_ = 0;  // the absolute index of the next task to count, or the next of among_
  std::vector<FoundTask> found_;
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
