// A save killed at a random moment (SIGKILL: no handler, no clean-up) must
// leave the target either the complete old file or the complete new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "sample_list.h"
#include "stream/task_list_file.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kKills = 200;
constexpr size_t kTasks = 5'000;  // under a MB: a save takes some milliseconds

std::string contentsOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "quillmark-kill-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~ScratchDirectory() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Saves the list over the target again and again until killed, writing one
// byte to `done` after each save.
[[noreturn]] void saveForever(const std::string& target, Ttree& list, int done) {
  try {
    for (;;) {
      SaveTaskList(target, list);
      if (write(done, "s", 1) != 1) _exit(2);
    }
  } catch (...) {
    _exit(1);
  }
}

class SavingChild {
 public:
  SavingChild(const std::string& target, Ttree& list) {
    if (pipe(done_) != 0) std::abort();
    pid_ = fork();
    if (pid_ == -1) std::abort();
    if (pid_ == 0) {
      close(done_[0]);
      saveForever(target, list, done_[1]);
    }
    close(done_[1]);
  }
  ~SavingChild() { close(done_[0]); }

  void waitForSaves(int count) {
    char byte;
    for (int i = 0; i < count; ++i) ASSERT_EQ(read(done_[0], &byte, 1), 1);
  }
  // True when the child was still running (not stopped by a failure).
  bool kill() {
    int status = 0;
    ::kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = -1;
  int done_[2] = {-1, -1};
};

// How long a freshly forked child takes to finish its first save (its first
// writes to the records copy the parent's pages): the longest of a few.
std::chrono::microseconds firstSaveTime(const std::string& target, Ttree& list) {
  Clock::duration longest{};
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto start = Clock::now();
    SavingChild child(target, list);
    child.waitForSaves(1);
    longest = std::max(longest, Clock::now() - start);
    EXPECT_TRUE(child.kill());
  }
  return std::chrono::duration_cast<std::chrono::microseconds>(longest);
}

void putInPlace(const fs::path& target, const std::string& bytes) {
  fs::path staged = target;
  staged += ".staged";
  std::ofstream(staged, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  fs::rename(staged, target);
}

// Removes what is in the directory besides the target (a killed save's
// temporary file, which nothing can remove) and says whether there was any.
bool removeLeftovers(const fs::path& directory, const fs::path& target) {
  bool found = false;
  for (const auto& entry : fs::directory_iterator(directory))
    if (entry.path() != target) {
      found = true;
      fs::remove(entry.path());
    }
  return found;
}

TEST(InterruptedSave, KilledAtRandomMomentsLeavesTheOldOrTheNewFile) {
  ScratchDirectory directory;
  const fs::path target = directory.path() / "list.jjp";
  Ttree oldList, newList;  // the child saves only the new one
  sample::appendSampleTasks(oldList, kTasks, 1);
  sample::appendSampleTasks(newList, kTasks + kTasks / 10, 2);
  // Saving an unchanged list always gives the same bytes, so these are what
  // any complete save by the child writes.
  const std::string oldBytes = saveTaskListToBytes(oldList);
  const std::string newBytes = saveTaskListToBytes(newList);

  // Kill anywhere from the child's start to about the end of its second save.
  const long saveMicroseconds = firstSaveTime(target, newList).count();
  std::uniform_int_distribution<long> delay(0, saveMicroseconds * 2);
  std::mt19937 random(20260101);
  int foundOld = 0, foundNew = 0, interrupted = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    putInPlace(target, oldBytes);
    removeLeftovers(directory.path(), target);
    SavingChild child(target, newList);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ASSERT_TRUE(child.kill()) << "the saving child stopped by itself";

    std::string found = contentsOf(target);
    ASSERT_TRUE(found == oldBytes || found == newBytes)
        << "kill " << kill << " left " << found.size() << " bytes, neither the old nor the new file";
    ++(found == oldBytes ? foundOld : foundNew);
    interrupted += removeLeftovers(directory.path(), target);
  }
  std::cout << "a save of " << newBytes.size() << " bytes takes " << saveMicroseconds / 1000
            << " ms; old file " << foundOld << " times, new file " << foundNew << " times; " << interrupted
            << " kills landed inside a save\n";
  // Kills must land inside saves and after them, or the test proves little.
  EXPECT_GT(interrupted, kKills / 4);
  EXPECT_GT(foundOld, 0);
  EXPECT_GT(foundNew, 0);
}

size_t filesBesides(const fs::path& directory, const fs::path& target) {
  size_t count = 0;
  for (const auto& entry : fs::directory_iterator(directory)) count += entry.path() != target;
  return count;
}

TEST(InterruptedSave, TheNextSaveRemovesWhatAKilledSaveLeft) {
  ScratchDirectory directory;
  const fs::path target = directory.path() / "list.jjp";
  Ttree list;
  sample::appendSampleTasks(list, kTasks, 3);
  const long saveMicroseconds = firstSaveTime(target, list).count();
  std::uniform_int_distribution<long> delay(saveMicroseconds / 4, saveMicroseconds * 2);
  std::mt19937 random(20261209);
  int killed = 0;
  for (; killed < 100 && filesBesides(directory.path(), target) == 0; ++killed) {
    SavingChild child(target, list);
    child.waitForSaves(1);  // from here on every kill lands in or between saves
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ASSERT_TRUE(child.kill());
  }
  ASSERT_GT(filesBesides(directory.path(), target), 0u)
      << "no kill out of " << killed << " landed inside a save";
  SaveTaskList(target, list);
  EXPECT_EQ(filesBesides(directory.path(), target), 0u);
}

}  // namespace
}  // namespace qm
