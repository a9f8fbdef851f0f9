// bench_report RESULTS.json: prints, for each list size, the save and load
// times against the memcpy of the same bytes, the growth from 100,000 to
// 1,000,000 tasks, and whether each target is met.
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr double kMaxRatioToMemcpy = 10.0;  // at 100,000 tasks
constexpr double kMaxLinearGrowth = 11.0;   // 100,000 -> 1,000,000 tasks
constexpr double kMaxSingleTaskGrowth = 3.0;
constexpr long kSizes[] = {1'000, 10'000, 100'000, 1'000'000};

// Time in nanoseconds of each "BM_Name/size": the median of the repetitions
// when the run was repeated (this machine's neighbours make single runs
// vary by a fifth), else the one run's mean. The file's size in bytes is
// kept under the name "file_bytes".
using Timings = std::map<std::string, std::map<long, double>>;

double nanosecondsPerUnit(const std::string& unit) {
  if (unit == "s") return 1e9;
  if (unit == "ms") return 1e6;
  if (unit == "us") return 1e3;
  return 1.0;
}

Timings readTimings(const std::string& path) {
  std::ifstream in(path);
  nlohmann::json results = nlohmann::json::parse(in);
  Timings timings;
  std::set<std::string> medians;  // names timed by a median already
  for (const auto& run : results.at("benchmarks")) {
    bool median =
        run.value("run_type", "iteration") == "aggregate" && run.value("aggregate_name", "") == "median";
    if (!median && run.value("run_type", "iteration") != "iteration") continue;
    std::string name = run.value("run_name", run.at("name").get<std::string>());
    if (!median && medians.count(name) > 0) continue;
    if (median) medians.insert(name);
    size_t slash = name.find('/');
    if (slash == std::string::npos) continue;
    long size = std::stol(name.substr(slash + 1));
    timings[name.substr(0, slash)][size] =
        run.at("real_time").get<double>() * nanosecondsPerUnit(run.value("time_unit", "ns"));
    if (run.contains("file_bytes")) timings["file_bytes"][size] = run.at("file_bytes").get<double>();
  }
  return timings;
}

double timing(const Timings& timings, const std::string& name, long size) {
  auto byName = timings.find(name);
  if (byName == timings.end()) return 0;
  auto bySize = byName->second.find(size);
  return bySize == byName->second.end() ? 0 : bySize->second;
}

// Passes over the whole list may grow linearly; every other benchmark is a
// single-task operation and must not grow with the list.
bool isWholeListPass(const std::string& name) {
  static const std::set<std::string> passes = {
      "BM_SaveToMemory", "BM_LoadFromMemory", "BM_SaveToFile", "BM_LoadFromFile", "BM_NameRecords",
      "BM_LinkRecords", "BM_ClearTasks", "BM_DestroyLoadedTree",
      // the find's walks: a key that matches nothing, the count
      "BM_FindNothingInTitlesAndNotes", "BM_FindNothingInTitles", "BM_FindNothingInTheCopyOfTitlesAndNotes",
      "BM_FindNothingInTheCopyOfTitles", "BM_FindAmongTheLastMatches", "BM_CountMatches", "BM_CopyTheTexts"};
  return passes.count(name) > 0;
}

struct Verdicts {
  std::vector<std::string> missed;
  void check(bool met, const std::string& what) {
    if (!met) missed.push_back(what);
  }
};

void printRatios(const Timings& t, Verdicts& verdicts) {
  std::printf("Whole-list save and load, ms (x = multiple of the memcpy of the file's bytes)\n");
  std::printf("%9s %9s %10s %11s %16s %16s %16s %16s\n", "tasks", "file MB", "memcpy ms", "memcpy GB/s",
              "save mem", "load mem", "save file", "load file");
  for (long size : kSizes) {
    double copy = timing(t, "BM_Memcpy", size);
    if (copy == 0) continue;
    auto cell = [&](const char* name) {
      static char text[64];
      double ns = timing(t, name, size);
      std::snprintf(text, sizeof text, "%8.2f (%5.1fx)", ns / 1e6, ns / copy);
      return std::string(text);
    };
    double bytes = timing(t, "file_bytes", size);
    std::printf("%9ld %9.2f %10.3f %11.2f %16s %16s %16s %16s\n", size, bytes / 1e6, copy / 1e6, bytes / copy,
                cell("BM_SaveToMemory").c_str(), cell("BM_LoadFromMemory").c_str(),
                cell("BM_SaveToFile").c_str(), cell("BM_LoadFromFile").c_str());
  }
  double copy = timing(t, "BM_Memcpy", 100'000);
  for (const char* name : {"BM_SaveToMemory", "BM_LoadFromMemory"}) {
    double ratio = timing(t, name, 100'000) / copy;
    verdicts.check(ratio <= kMaxRatioToMemcpy, std::string(name) + " at 100000 tasks is " +
                                                   std::to_string(ratio) + "x memcpy (target <= 10x)");
  }
}

void printGrowth(const Timings& t, Verdicts& verdicts) {
  std::printf("\nGrowth from 100,000 to 1,000,000 tasks (linear is 10x)\n");
  for (const auto& [name, bySize] : t) {
    if (name == "file_bytes" || name == "BM_Memcpy") continue;
    double small = timing(t, name, 100'000), large = timing(t, name, 1'000'000);
    if (small == 0 || large == 0) continue;
    double growth = large / small;
    double limit = isWholeListPass(name) ? kMaxLinearGrowth : kMaxSingleTaskGrowth;
    std::printf("  %-28s %12.0f ns -> %12.0f ns  %6.2fx  %s\n", name.c_str(), small, large, growth,
                growth <= limit ? "ok" : "MISSED");
    verdicts.check(growth <= limit,
                   name + " grows " + std::to_string(growth) + "x (limit " + std::to_string(limit) + "x)");
  }
}

// The window's figures: UI-thread CPU time per command at 1,000,000 tasks
// against a frame, and the open against its limits, beside the memcpy of the
// same list's file.
void printWindow(const Timings& core, const Timings& window, Verdicts& verdicts) {
  constexpr double kFrameMs = 16.0;
  constexpr double kKeyMs = 50.0;
  const std::map<long, double> openLimitMs = {{100'000, 150.0}, {1'000'000, 1000.0}};
  std::printf("\nThe window, UI-thread CPU ms up to the repaint (memcpy of the file: %.2f ms, %.2f ms)\n",
              timing(core, "BM_Memcpy", 100'000) / 1e6, timing(core, "BM_Memcpy", 1'000'000) / 1e6);
  std::printf("  %-28s %12s %12s\n", "", "100000", "1000000");
  for (const auto& [name, bySize] : window) {
    double small = timing(window, name, 100'000) / 1e6, large = timing(window, name, 1'000'000) / 1e6;
    std::printf("  %-28s %12.2f %12.2f\n", name.c_str(), small, large);
    if (name == "BM_WindowOpenFreshProcess") {
      for (const auto& [size, limit] : openLimitMs) {
        double ms = timing(window, name, size) / 1e6;
        verdicts.check(ms < limit, name + " at " + std::to_string(size) + " tasks takes " +
                                       std::to_string(ms) + " ms (target < " + std::to_string(limit) +
                                       " ms)");
      }
    } else if (name != "BM_WindowOpen" && name != "BM_WindowReopen") {  // whole-list reads
      // A key in the find bar may take a pass over the whole list.
      double limit = name.starts_with("BM_WindowFind") ? kKeyMs : kFrameMs;
      verdicts.check(large < limit, name + " at 1000000 tasks takes " + std::to_string(large) +
                                        " ms (target < " + std::to_string(limit) + " ms)");
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: bench_report RESULTS.json [WINDOW_RESULTS.json]\n");
    return 2;
  }
  Timings timings = readTimings(argv[1]);
  Verdicts verdicts;
  printRatios(timings, verdicts);
  printGrowth(timings, verdicts);
  if (argc == 3) printWindow(timings, readTimings(argv[2]), verdicts);
  std::printf("\n%s\n", verdicts.missed.empty() ? "All time targets met." : "Time targets missed:");
  for (const std::string& m : verdicts.missed) std::printf("  - %s\n", m.c_str());
}
