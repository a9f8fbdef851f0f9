// Saving and loading whole lists, against a memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <string>

#include "sample_cache.h"
#include "stream/task_list_file.h"

namespace qm::bench {
namespace {

constexpr int64_t kSizes[] = {1'000, 10'000, 100'000, 1'000'000};

void applySizes(benchmark::internal::Benchmark* b) {
  for (int64_t size : kSizes) b->Arg(size);
  b->Unit(benchmark::kMillisecond);
}

void countWork(benchmark::State& state, const SampleList& sample) {
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(sample.bytes.size()));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sample.tasks));
  state.counters["file_bytes"] = static_cast<double>(sample.bytes.size());
}

// Every benchmark below does its work once before the timing starts, as the
// memcpy reference has its target buffer filled before it. The measured runs
// then reuse memory the process already holds (the pools keep freed tasks,
// the save keeps its buffer), whatever the size of the list: otherwise a
// million-task run, which is timed once, would pay for first touches of some
// 300 MB of fresh memory that the smaller lists, timed many times, do not.
// scripts/bench reports that first load separately (a fresh `qmk check`).

// The reference: copying the file's bytes once, from one buffer to another.
void BM_Memcpy(benchmark::State& state) {
  const SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  std::string target(sample.bytes.size(), '\0');
  for (auto _ : state) {
    std::memcpy(target.data(), sample.bytes.data(), sample.bytes.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  countWork(state, sample);
}
BENCHMARK(BM_Memcpy)->Apply(applySizes);

void BM_SaveToMemory(benchmark::State& state) {
  const SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  std::string bytes;
  saveTaskListToBytes(*sample.tree, bytes);
  for (auto _ : state) {
    saveTaskListToBytes(*sample.tree, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  countWork(state, sample);
}
BENCHMARK(BM_SaveToMemory)->Apply(applySizes);

// Loads with `load` into a new tree; the tree's destruction is not timed
// (ClearTasks and the destroy benchmark measure it).
template <class Load>
void timeLoads(benchmark::State& state, Load&& load) {
  {
    Ttree warmUp;
    load(warmUp);
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto tree = std::make_unique<Ttree>();
    state.ResumeTiming();
    load(*tree);
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
  }
}

void BM_LoadFromMemory(benchmark::State& state) {
  const SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  timeLoads(state, [&](Ttree& tree) { loadTaskListFromBytes(sample.bytes, tree); });
  countWork(state, sample);
}
BENCHMARK(BM_LoadFromMemory)->Apply(applySizes);

// Includes creating the temporary file, fsync and the rename over the old file.
void BM_SaveToFile(benchmark::State& state) {
  const SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  std::string path = scratchPath("save-" + std::to_string(sample.tasks) + ".jjp");
  SaveTaskList(path, *sample.tree);
  for (auto _ : state) SaveTaskList(path, *sample.tree);
  countWork(state, sample);
}
BENCHMARK(BM_SaveToFile)->Apply(applySizes);

// From the page cache: the file was just written.
void BM_LoadFromFile(benchmark::State& state) {
  const SampleList& sample = unchangedSample(static_cast<size_t>(state.range(0)));
  std::string path = scratchPath("load-" + std::to_string(sample.tasks) + ".jjp");
  std::ofstream(path, std::ios::binary)
      .write(sample.bytes.data(), static_cast<std::streamsize>(sample.bytes.size()));
  timeLoads(state, [&](Ttree& tree) { LoadTaskList(path, tree); });
  countWork(state, sample);
}
BENCHMARK(BM_LoadFromFile)->Apply(applySizes);

}  // namespace
}  // namespace qm::bench
