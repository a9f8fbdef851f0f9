#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "model/task_dates.h"
#include "model/task_search.h"

namespace qm::ui {

// Gathers the agenda of a tree a slice at a time, so that a window goes on
// answering while a million tasks are looked at. The entries come out in
// agenda order: each slice sorts what it found and merges it with the runs
// before, so that no step costs more than a merge of what was found. The
// tree must not change between slices; the caller starts a new collector
// when it does.
class AgendaCollector {
 public:
  // Keeps at most `kept` entries, the first in agenda order; the counts
  // cover them all.
  AgendaCollector(int64_t today, int64_t daysAhead, size_t kept = std::numeric_limits<size_t>::max())
      : today_(today), daysAhead_(daysAhead), kept_(kept) {}

  // Goes on for about `budget` (or one merge, once the tree is walked);
  // true once the whole tree is done and the entries are in order.
  bool collectSome(const Ttree& tree, std::chrono::nanoseconds budget);
  bool isDone() const { return done_; }

  size_t overdue() const { return overdue_; }
  size_t dueToday() const { return dueToday_; }
  // In agenda order, once done.
  std::vector<AgendaEntry> takeEntries() { return std::move(entries_); }

 private:
  bool keepsFew() const { return kept_ <= kFew; }
  void keep(const AgendaEntry& entry);
  void sortRun(size_t from);
  void mergeLastRuns();

  static constexpr size_t kFew = 16;  // kept in order by insertion
  int64_t today_;
  int64_t daysAhead_;
  size_t kept_;
  std::optional<PreorderCursor> cursor_;
  size_t index_ = 0;
  bool walked_ = false;
  bool done_ = false;
  size_t overdue_ = 0;
  size_t dueToday_ = 0;
  std::vector<AgendaEntry> entries_;
  std::vector<size_t> runStarts_;  // the sorted runs of entries_, oldest first
};

}  // namespace qm::ui
