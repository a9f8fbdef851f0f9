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

bool MatchCounter::countSome(const Ttree& tree, size_t tasks) {
  if (query_.empty()) return true;
  PreorderCursor cursor(next_ < tree.nodeCount() ? tree.nodeAt(next_) : nullptr);
  for (; tasks > 0 && cursor.node() != nullptr; --tasks, ++next_, cursor.forward()) {
    if (!query_.matches(*cursor.node())) continue;
    ++matches_;
    if (cursor.node() == current_) rank_ = matches_;
  }
  return cursor.node() == nullptr;
}

}  // namespace qm
