#include "model/task_text_index.h"

#include <algorithm>
#include <cstddef>

#include "model/tinfo.h"

namespace qm {

bool TaskTextIndex::buildSome(const Ttree& tree, size_t tasks) {
  size_t next = ends_.size();
  if (next >= tree.nodeCount()) return true;
  ends_.reserve(tree.nodeCount());
  for (PreorderCursor cursor(tree.nodeAt(next)); tasks > 0 && cursor.node() != nullptr;
       --tasks, cursor.forward()) {
    const TreeNode& task = *cursor.node();
    bytes_ += task.text();
    size_t titleEnd = bytes_.size();
    bytes_ += '\0';
    if (task.record() != nullptr) bytes_ += task.record()->note.view();
    ends_.push_back({titleEnd, bytes_.size()});
    bytes_ += '\0';
  }
  // Room for the rest at the first slice's rate, so that tens of megabytes
  // are not copied again and again as they grow.
  if (next == 0 && !ends_.empty()) bytes_.reserve(bytes_.size() / ends_.size() * tree.nodeCount() * 9 / 8);
  return ends_.size() == tree.nodeCount();
}

std::optional<size_t> TaskTextIndex::matchAmong(const TaskQuery& query, size_t first, size_t last,
                                                bool wantLast) const {
  std::string_view bytes(bytes_.data(), ends_[last - 1].note);
  std::optional<size_t> found;
  for (size_t at = startOf(first); at < bytes.size();) {
    std::optional<TextMatcher::Match> match = query.matcher().firstIn(bytes, at);
    if (!match) break;
    auto holder = std::upper_bound(ends_.begin() + static_cast<std::ptrdiff_t>(first),
                                   ends_.begin() + static_cast<std::ptrdiff_t>(last), match->begin,
                                   [](size_t at, const Ends& ends) { return at < ends.note; });
    auto task = static_cast<size_t>(holder - ends_.begin());
    bool inTitle = match->begin < holder->title;
    if (match->begin == holder->title || match->begin < startOf(task)) {
      at = match->begin + 1;  // begins at a 0 byte, in no text
      continue;
    }
    if (!inTitle && !query.notesToo()) {
      at = holder->note + 1;  // no title match begins in a note
      continue;
    }
    if (match->end > (inTitle ? holder->title : holder->note)) {
      at = match->begin + 1;  // runs on into the next text
      continue;
    }
    found = task;
    if (!wantLast) break;
    at = holder->note + 1;
  }
  return found;
}

// In stretches of tasks, so that going back stops at the nearest stretch
// with a match.
std::optional<size_t> TaskTextIndex::findCopied(const TaskQuery& query, size_t first, size_t last,
                                                bool forward) const {
  constexpr size_t kStretch = 4096;
  std::optional<size_t> found;
  if (forward) {
    for (size_t at = first; at < last && !found; at += kStretch)
      found = matchAmong(query, at, std::min(at + kStretch, last), false);
  } else {
    for (size_t end = last; end > first && !found; end -= std::min(kStretch, end - first))
      found = matchAmong(query, end - std::min(kStretch, end - first), end, true);
  }
  return found;
}

std::optional<size_t> TaskTextIndex::find(const Ttree& tree, const TaskQuery& query,
                                          std::optional<size_t> from, SearchDirection direction,
                                          bool fromIncluded) const {
  size_t count = tree.nodeCount();
  size_t copied = ends_.size();
  if (query.empty() || count == 0 || copied > count) return std::nullopt;
  bool forward = direction == SearchDirection::Forward;
  size_t start = from.value_or(forward ? 0 : count - 1);
  if (from && !fromIncluded) start = forward ? (start + 1) % count : (start + count - 1) % count;
  // Round the list from start, in runs that lie wholly within the copy or
  // wholly beyond it, and end at the list's end.
  std::optional<size_t> found;
  for (size_t done = 0; done < count && !found;) {
    size_t left = count - done;
    size_t first, last;
    if (forward) {
      first = (start + done) % count;
      last = first + std::min((first < copied ? copied : count) - first, left);
    } else {
      last = (start + count - done) % count + 1;
      first = last - std::min(last - (last > copied ? copied : 0), left);
    }
    found = last <= copied ? findCopied(query, first, last, forward)
                           : findInRun(tree, query, first, last, direction);
    done += last - first;
  }
  return found;
}

}  // namespace qm
