#include "model/task_search.h"

#include <algorithm>
#include <array>

#include "model/tinfo.h"

namespace qm {

bool TaskQuery::matches(const TreeNode& task) const {
  if (text_.foundIn(task.text())) return true;
  return notesToo_ && task.record() != nullptr && text_.foundIn(task.record()->note);
}

size_t TaskQuery::firstMatch(std::span<const TreeNode* const> tasks) const {
  std::array<std::string_view, kBatch> titles;
  std::array<std::string_view, kBatch> notes;
  size_t count = std::min(tasks.size(), kBatch);
  for (size_t i = 0; i < count; ++i) titles[i] = tasks[i]->text();
  if (notesToo_)
    for (size_t i = 0; i < count; ++i)
      notes[i] = tasks[i]->record() != nullptr ? tasks[i]->record()->note.view() : "";
  for (size_t i = 0; i < count; ++i)
    if (text_.foundIn(titles[i]) || (notesToo_ && text_.foundIn(notes[i]))) return i;
  return tasks.size();
}

// --- the cursor

PreorderCursor::PreorderCursor(const TreeNode* node) {
  for (const TreeNode* n = node; n != nullptr && !n->isRoot(); n = n->parent())
    path_.push_back({n->parent()->children(), n->row()});
  std::reverse(path_.begin(), path_.end());
}

void PreorderCursor::forward() {
  if (path_.empty()) return;
  TreeNode* current = node();
  if (current->hasChildren()) {
    path_.push_back({current->children(), 0});
    return;
  }
  while (!path_.empty() && path_.back().row + 1 == path_.back().siblings.size()) path_.pop_back();
  if (!path_.empty()) ++path_.back().row;
}

void PreorderCursor::backward() {
  if (path_.empty()) return;
  if (path_.back().row == 0) {
    path_.pop_back();  // to the parent; past the first task from the top level
    return;
  }
  --path_.back().row;
  descendToLast(node());
}

void PreorderCursor::descendToLast(TreeNode* node) {
  for (; node->hasChildren(); node = node->children().back())
    path_.push_back({node->children(), node->childCount() - 1});
}

// --- finding

namespace {

TreeNode* lastTask(const Ttree& tree) {
  if (tree.topLevelCount() == 0) return nullptr;
  TreeNode* node = tree.root()->children().back();
  while (node->hasChildren()) node = node->children().back();
  return node;
}

}  // namespace

TreeNode* findTask(const Ttree& tree, const TaskQuery& query, const TreeNode* from, SearchDirection direction,
                   bool fromIncluded) {
  if (query.empty() || tree.nodeCount() == 0) return nullptr;
  bool forward = direction == SearchDirection::Forward;
  if (from == nullptr) {
    from = forward ? tree.firstNode() : lastTask(tree);
    fromIncluded = true;
  }
  PreorderCursor cursor(from);
  auto step = [&] {
    forward ? cursor.forward() : cursor.backward();
    if (cursor.node() == nullptr) cursor = PreorderCursor(forward ? tree.firstNode() : lastTask(tree));
  };
  if (!fromIncluded) step();
  // Every task once; `from` last when it was left out at the start.
  std::array<const TreeNode*, TaskQuery::kBatch> batch;
  for (size_t left = tree.nodeCount(); left > 0;) {
    size_t count = std::min(left, batch.size());
    for (size_t i = 0; i < count; ++i, step()) batch[i] = cursor.node();
    size_t found = query.firstMatch({batch.data(), count});
    if (found < count) return const_cast<TreeNode*>(batch[found]);
    left -= count;
  }
  return nullptr;
}

TreeNode* findAmong(const Ttree& tree, std::span<const FoundTask> found, const TaskQuery& query,
                    const TreeNode* from, SearchDirection direction, bool fromIncluded) {
  size_t count = found.size();
  if (query.empty() || count == 0) return nullptr;
  bool forward = direction == SearchDirection::Forward;
  // The first to look at, counting round from it: `from` when it is one of
  // them and included, else the next one beyond it.
  size_t start = forward ? 0 : count - 1;
  if (from != nullptr) {
    size_t index = tree.absoluteIndex(from);
    auto at = std::lower_bound(found.begin(), found.end(), index,
                               [](const FoundTask& f, size_t i) { return f.index < i; });
    auto place = static_cast<size_t>(at - found.begin());
    bool isOne = at != found.end() && at->index == index;
    if (forward)
      start = isOne && !fromIncluded ? place + 1 : place;
    else
      start = isOne && fromIncluded ? place : place + count - 1;
  }
  std::array<const TreeNode*, TaskQuery::kBatch> batch;
  for (size_t step = 0; step < count;) {
    size_t size = std::min(count - step, batch.size());
    for (size_t i = 0; i < size; ++i, ++step)
      batch[i] = found[(forward ? start + step : start + count * 2 - step) % count].task;
    size_t match = query.firstMatch({batch.data(), size});
    if (match < size) return const_cast<TreeNode*>(batch[match]);
  }
  return nullptr;
}

void MatchCounter::add(size_t index, const TreeNode* task) {
  found_.push_back({index, task});
  if (task == current_) rank_ = found_.size();
}

bool MatchCounter::countSome(const Ttree& tree, size_t tasks) {
  if (query_.empty()) return true;
  if (among_) {
    for (; tasks > 0 && next_ < among_->size(); --tasks, ++next_)
      if (query_.matches(*(*among_)[next_].task)) add((*among_)[next_].index, (*among_)[next_].task);
    return next_ == among_->size();
  }
  PreorderCursor cursor(next_ < tree.nodeCount() ? tree.nodeAt(next_) : nullptr);
  for (; tasks > 0 && cursor.node() != nullptr; --tasks, ++next_, cursor.forward())
    if (query_.matches(*cursor.node())) add(next_, cursor.node());
  return cursor.node() == nullptr;
}

}  // namespace qm
