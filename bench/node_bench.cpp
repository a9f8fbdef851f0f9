// Single-task operations on big lists: each must cost the same at 100,000 and
// at 1,000,000 tasks.
#include <benchmark/benchmark.h>

#include "sample_cache.h"

namespace qm::bench {
namespace {

void applySizes(benchmark::internal::Benchmark* b) {
  b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kNanosecond);
}

TreeNode* lastNode(const Ttree& tree) { return tree.nodeAt(tree.nodeCount() - 1); }

// A top-level task with a few subtasks, placed first among the top-level
// tasks, where removing it shifts every other one.
TreeNode* firstTopLevelTaskWithSubtasks(Ttree& tree) {
  TreeNode* task = tree.appendNode(nullptr, "to be deleted", tree.createRecord());
  for (int i = 0; i < 3; ++i) tree.appendNode(task, "subtask", tree.createRecord());
  tree.moveNode(task, nullptr);
  return task;
}

void BM_NodeCount(benchmark::State& state) {
  SampleList& sample = editableSample(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(sample.tree->nodeCount());
}
BENCHMARK(BM_NodeCount)->Apply(applySizes);

void BM_AbsoluteIndexOfLastNode(benchmark::State& state) {
  SampleList& sample = editableSample(static_cast<size_t>(state.range(0)));
  TreeNode* last = lastNode(*sample.tree);
  for (auto _ : state) benchmark::DoNotOptimize(sample.tree->absoluteIndex(last));
}
BENCHMARK(BM_AbsoluteIndexOfLastNode)->Apply(applySizes);

void BM_NodeAtLastIndex(benchmark::State& state) {
  SampleList& sample = editableSample(static_cast<size_t>(state.range(0)));
  size_t index = sample.tree->nodeCount() - 1;
  for (auto _ : state) benchmark::DoNotOptimize(sample.tree->nodeAt(index));
}
BENCHMARK(BM_NodeAtLastIndex)->Apply(applySizes);

void BM_DeleteFirstTopLevelTask(benchmark::State& state) {
  SampleList& sample = editableSample(static_cast<size_t>(state.range(0)));
  Ttree& tree = *sample.tree;
  for (auto _ : state) {
    state.PauseTiming();
    TreeNode* task = firstTopLevelTaskWithSubtasks(tree);
    state.ResumeTiming();
    tree.deleteNode(task);
  }
}
BENCHMARK(BM_DeleteFirstTopLevelTask)->Apply(applySizes);

// Appending a subtask to the deepest last task and deleting it again.
void BM_AppendAndDeleteLeaf(benchmark::State& state) {
  SampleList& sample = editableSample(static_cast<size_t>(state.range(0)));
  Ttree& tree = *sample.tree;
  TreeNode* parent = lastNode(tree);
  for (auto _ : state) tree.deleteNode(tree.appendNode(parent, "a new task", tree.createRecord()));
}
BENCHMARK(BM_AppendAndDeleteLeaf)->Apply(applySizes);

// The last task moves to the top of the list and back under its parent: two
// moves per iteration.
void BM_MoveTask(benchmark::State& state) {
  SampleList& sample = editableSample(static_cast<size_t>(state.range(0)));
  Ttree& tree = *sample.tree;
  TreeNode* task = lastNode(tree);
  TreeNode* parent = task->parent();  // the hidden root for a top-level task
  for (auto _ : state) {
    tree.moveNode(task, nullptr);
    tree.moveNode(task, parent);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_MoveTask)->Apply(applySizes);

void BM_RenameTask(benchmark::State& state) {
  SampleList& sample = editableSample(static_cast<size_t>(state.range(0)));
  Ttree& tree = *sample.tree;
  TreeNode* task = lastNode(tree);
  for (auto _ : state) {
    tree.setText(task, "renamed once");
    tree.setText(task, "renamed twice");
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_RenameTask)->Apply(applySizes);

}  // namespace
}  // namespace qm::bench
