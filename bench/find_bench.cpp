// Finding a task as the window's find bar does, on a list read from a file:
// each key costs one search, which walks at most the whole list.
#include <benchmark/benchmark.h>

#include <map>
#include <vector>

#include "model/task_search.h"
#include "model/task_text_index.h"
#include "sample_cache.h"
#include "stream/task_list_file.h"

namespace qm::bench {
namespace {

void applySizes(benchmark::internal::Benchmark* b) {
  b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

// Read back from its saved bytes, so that the tasks lie in memory as an
// opened list's do.
Ttree& openedSample(size_t tasks) {
  static std::map<size_t, std::unique_ptr<Ttree>> cache;
  std::unique_ptr<Ttree>& tree = cache[tasks];
  if (!tree) {
    tree = std::make_unique<Ttree>();
    loadTaskListFromBytes(unchangedSample(tasks).bytes, *tree);
  }
  return *tree;
}

// The worst key: nothing matches, so the search goes once round the whole
// list. "plant" stops short at every "plan" of the sample's words.
void findNothing(benchmark::State& state, bool notesToo) {
  Ttree& tree = openedSample(static_cast<size_t>(state.range(0)));
  TaskQuery query("plant", notesToo);
  TreeNode* from = tree.nodeAt(tree.nodeCount() / 2);
  for (auto _ : state) benchmark::DoNotOptimize(findTask(tree, query, from, SearchDirection::Forward, true));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(tree.nodeCount()));
}
void BM_FindNothingInTitlesAndNotes(benchmark::State& state) { findNothing(state, true); }
BENCHMARK(BM_FindNothingInTitlesAndNotes)->Apply(applySizes);
void BM_FindNothingInTitles(benchmark::State& state) { findNothing(state, false); }
BENCHMARK(BM_FindNothingInTitles)->Apply(applySizes);

// The same key over the copy of the texts that the find bar keeps while it
// is open.
const TaskTextIndex& indexOf(size_t tasks) {
  static std::map<size_t, TaskTextIndex> cache;
  TaskTextIndex& index = cache[tasks];
  if (index.taskCount() == 0)
    while (!index.buildSome(openedSample(tasks), 32'768)) {
    }
  return index;
}
void findNothingInTheCopy(benchmark::State& state, bool notesToo) {
  auto tasks = static_cast<size_t>(state.range(0));
  const TaskTextIndex& index = indexOf(tasks);
  TaskQuery query("plant", notesToo);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        index.find(openedSample(tasks), query, tasks / 2, SearchDirection::Forward, true));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(tasks));
}
void BM_FindNothingInTheCopyOfTitlesAndNotes(benchmark::State& state) { findNothingInTheCopy(state, true); }
BENCHMARK(BM_FindNothingInTheCopyOfTitlesAndNotes)->Apply(applySizes);
void BM_FindNothingInTheCopyOfTitles(benchmark::State& state) { findNothingInTheCopy(state, false); }
BENCHMARK(BM_FindNothingInTheCopyOfTitles)->Apply(applySizes);

// Making that copy, all its slices together: the find bar does it in the
// background once the bar opens and after each change.
void BM_CopyTheTexts(benchmark::State& state) {
  Ttree& tree = openedSample(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    TaskTextIndex index;
    while (!index.buildSome(tree, 32'768)) {
    }
    benchmark::DoNotOptimize(index.taskCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(tree.nodeCount()));
}
BENCHMARK(BM_CopyTheTexts)->Apply(applySizes);

// F3 over and over: each search starts after the last match found.
void BM_FindNextMatch(benchmark::State& state) {
  Ttree& tree = openedSample(static_cast<size_t>(state.range(0)));
  TaskQuery query("Dentist Travel", true);
  const TreeNode* at = nullptr;
  for (auto _ : state) {
    at = findTask(tree, query, at, SearchDirection::Forward, false);
    benchmark::DoNotOptimize(at);
  }
}
BENCHMARK(BM_FindNextMatch)->Apply(applySizes)->Unit(benchmark::kMicrosecond);

// Typing on: the key after "Dentist Travel" was found and counted looks for
// "Dentist Travels" among that count's matches only (the window does so
// while they are under a quarter of the list). Nothing matches, so it looks
// at all of them.
void BM_FindAmongTheLastMatches(benchmark::State& state) {
  Ttree& tree = openedSample(static_cast<size_t>(state.range(0)));
  MatchCounter counter(TaskQuery("Dentist Travel", true), nullptr);
  while (!counter.countSome(tree, 65'536)) {
  }
  std::vector<FoundTask> found = counter.takeFound();
  TaskQuery query("Dentist Travels", true);
  TreeNode* from = tree.nodeAt(tree.nodeCount() / 2);
  for (auto _ : state)
    benchmark::DoNotOptimize(findAmong(tree, found, query, from, SearchDirection::Forward, true));
  state.counters["counted_matches"] = static_cast<double>(found.size());
}
BENCHMARK(BM_FindAmongTheLastMatches)->Apply(applySizes);

// The "3 of 17" count, all its slices together.
void BM_CountMatches(benchmark::State& state) {
  Ttree& tree = openedSample(static_cast<size_t>(state.range(0)));
  TreeNode* current = tree.nodeAt(tree.nodeCount() / 2);
  for (auto _ : state) {
    MatchCounter counter(TaskQuery("budget", true), current);
    while (!counter.countSome(tree, 65'536)) {
    }
    benchmark::DoNotOptimize(counter.matches());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(tree.nodeCount()));
}
BENCHMARK(BM_CountMatches)->Apply(applySizes);

}  // namespace
}  // namespace qm::bench
