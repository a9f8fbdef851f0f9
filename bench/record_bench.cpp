// The passes over every record: numbering before a save, re-linking after a
// read, and emptying the tree before the next read.
#include <benchmark/benchmark.h>

#include "sample_cache.h"
#include "stream/task_list_file.h"

namespace qm::bench {
namespace {

void applySizes(benchmark::internal::Benchmark* b) {
  b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

void BM_NameRecords(benchmark::State& state) {
  SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  size_t handed = 0;
  for (auto _ : state) sample.tree->NameRecords([&](const Tinfo&) { ++handed; });
  benchmark::DoNotOptimize(handed);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sample.tasks));
}
BENCHMARK(BM_NameRecords)->Apply(applySizes);

// After a save every record bears its node's name, so re-linking gives each
// node its own record again.
void BM_LinkRecords(benchmark::State& state) {
  SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  for (auto _ : state) sample.tree->LinkRecords();
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sample.tasks));
}
BENCHMARK(BM_LinkRecords)->Apply(applySizes);

void BM_ClearTasks(benchmark::State& state) {
  const SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = std::make_unique<Ttree>();
    loadTaskListFromBytes(sample.bytes, *tree);
    state.ResumeTiming();
    tree->ClearTasks();
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sample.tasks));
}
BENCHMARK(BM_ClearTasks)->Apply(applySizes)->Iterations(3);

void BM_DestroyLoadedTree(benchmark::State& state) {
  const SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = std::make_unique<Ttree>();
    loadTaskListFromBytes(sample.bytes, *tree);
    state.ResumeTiming();
    tree.reset();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sample.tasks));
}
BENCHMARK(BM_DestroyLoadedTree)->Apply(applySizes)->Iterations(3);

}  // namespace
}  // namespace qm::bench
