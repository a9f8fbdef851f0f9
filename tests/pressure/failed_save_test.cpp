// A save that the operating system stops at any byte (a file-size limit, so
// the real file writes fail as on a full disk) raises "Stream write error",
// leaves the old file exactly as it was and leaves no temporary file behind.
// The stream's own tests fail the writer's sink at every byte; this goes
// through the file descriptor underneath it.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "model/error.h"
#include "sample_list.h"
#include "stream/task_list_file.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

// Lowers this process's file-size limit for its lifetime; writes beyond it
// fail with EFBIG (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  sighandler_t previousHandler_;
};

std::string contentsOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class FailedSave : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quillmark-full-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    target_ = directory_ / "list.jjp";

    Ttree oldList;
    sample::appendSampleTasks(oldList, 5, 7);
    SaveTaskList(target_, oldList);
    oldBytes_ = contentsOf(target_);

    // Every kind of value the writer produces: generated tasks with notes,
    // dates and non-ASCII text, a title cut at 255 bytes, a long plain note.
    // Small enough that the size is filled in before the first write.
    newList_.setSettings(TreeSettings::mainWindowInitial());
    sample::appendSampleTasks(newList_, 20, 8);
    Tinfo* record = newList_.createRecord();
    record->note = std::string(300, 'n');
    newList_.appendNode(nullptr, std::string(300, 't'), record);
    newBytes_ = saveTaskListToBytes(newList_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  // Raises what the save raised, or returns "" when it succeeded.
  template <class Save>
  std::string errorOf(Save save) {
    try {
      save();
    } catch (const Error& e) {
      return e.what();
    }
    return "";
  }

  void expectOldFileAlone(uint64_t failedAt) {
    EXPECT_EQ(contentsOf(target_), oldBytes_) << "failed at byte " << failedAt;
    size_t entries = std::distance(fs::directory_iterator(directory_), fs::directory_iterator());
    EXPECT_EQ(entries, 1u) << "a temporary file is left after failing at byte " << failedAt;
  }

  fs::path directory_, target_;
  std::string oldBytes_, newBytes_;
  Ttree newList_;
};

TEST_F(FailedSave, FileSizeLimitAtEveryByteLeavesTheOldFile) {
  for (uint64_t limit = 0; limit < newBytes_.size(); ++limit) {
    std::string message = errorOf([&] {
      FileSizeLimit full(limit);
      SaveTaskList(target_, newList_);
    });
    ASSERT_EQ(message, "Stream write error") << "limit " << limit;
    expectOldFileAlone(limit);
  }
  EXPECT_EQ(errorOf([&] {
              FileSizeLimit roomEnough(newBytes_.size());
              SaveTaskList(target_, newList_);
            }),
            "");
  EXPECT_EQ(contentsOf(target_), newBytes_);
}

TEST_F(FailedSave, TheErrorCarriesTheFileAndTheSystemsReason) {
  try {
    FileSizeLimit full(newBytes_.size() / 2);
    SaveTaskList(target_, newList_);
    ADD_FAILURE() << "the save went through";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Stream write error");
    EXPECT_EQ(error.file(), target_.string());
    EXPECT_EQ(error.action(), FileAction::Saving);
    EXPECT_EQ(error.reason(), std::make_error_code(std::errc::file_too_large));
  }
}

}  // namespace
}  // namespace qm
