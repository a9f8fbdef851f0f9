#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "model/tinfo.h"
#include "stream/files/atomic_file.h"
#include "stream/files/native_path.h"
#include "stream/task_list_file.h"
#include "stream/task_list_writer.h"
#include "stream_test_support.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::errorOf;
using test::FaultySink;

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

size_t filesIn(const fs::path& directory) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

void fillTree(Ttree& tree, int count) {
  tree.setSettings(TreeSettings::mainWindowInitial());
  for (int i = 0; i < count; ++i) {
    Tinfo* r = tree.createRecord();
    r->note = std::string(40, 'n');
    tree.appendNode(nullptr, "task " + std::to_string(i), r);
  }
}

class AtomicSave : public ::testing::Test {
 protected:
  void SetUp() override {
    directory = fs::path(::testing::TempDir()) / ("atomic_save_" + std::to_string(::getpid()));
    fs::remove_all(directory);
    fs::create_directories(directory);
    target = directory / "list.jjp";
  }
  void TearDown() override {
    fs::permissions(directory, fs::perms::owner_all);
    fs::remove_all(directory);
  }
  // Saves through a sink that refuses to write beyond `budget` bytes.
  std::string saveFailingAfter(Ttree& tree, uint64_t budget) {
    return errorOf([&] {
      replaceFileAtomically(target.string(), [&](ByteSink& file) {
        FaultySink faulty(file, budget);
        writeTaskList(faulty, tree);
      });
    });
  }

  fs::path directory;
  fs::path target;
};

TEST_F(AtomicSave, AWriteFailingAtAnyByteLeavesTheOldFileAndNoTemporaryFile) {
  const std::string old = "the old list";
  writeFile(target, old);
  Ttree tree;
  fillTree(tree, 3);
  std::string expected = saveTaskListToBytes(tree);
  for (uint64_t budget = 0; budget < expected.size(); ++budget) {
    ASSERT_EQ(saveFailingAfter(tree, budget), "Stream write error") << budget;
    ASSERT_EQ(contentOf(target), old) << budget;
    ASSERT_EQ(filesIn(directory), 1u) << budget;
  }
  EXPECT_EQ(saveFailingAfter(tree, expected.size()), "");
  EXPECT_TRUE(contentOf(target) == expected);
  EXPECT_EQ(filesIn(directory), 1u);
}

TEST_F(AtomicSave, FailuresInALargeListWhoseSizesAreFilledInAfterTheyLeftTheBuffer) {
  // Large enough that the header and the node list's length have left the
  // write buffer before they are filled in: 8 more bytes reach the file.
  Ttree tree;
  fillTree(tree, 2000);
  std::string expected = saveTaskListToBytes(tree);
  ASSERT_GT(expected.size(), 70000u);
  const uint64_t total = expected.size() + 8;
  std::vector<uint64_t> budgets;
  for (uint64_t b = 0; b < total; b += 997) budgets.push_back(b);
  for (uint64_t b = 65530; b < 65545; ++b) budgets.push_back(b);
  for (uint64_t b = expected.size() - 2; b < total; ++b) budgets.push_back(b);
  for (uint64_t budget : budgets) {
    ASSERT_EQ(saveFailingAfter(tree, budget), "Stream write error") << budget;
    ASSERT_FALSE(fs::exists(target)) << budget;
    ASSERT_EQ(filesIn(directory), 0u) << budget;
  }
  EXPECT_EQ(saveFailingAfter(tree, total), "");
  EXPECT_TRUE(contentOf(target) == expected);
}

TEST_F(AtomicSave, SaveAndLoadThroughFiles) {
  Ttree tree;
  fillTree(tree, 5);
  SaveTaskList(target.string(), tree);
  EXPECT_TRUE(contentOf(target) == saveTaskListToBytes(tree));
  Ttree back;
  LoadTaskList(target.string(), back);
  EXPECT_EQ(test::describe(back), test::describe(tree));
}

TEST_F(AtomicSave, ALongFileNameStillGetsATemporaryFile) {
  fs::path longName = directory / (std::string(250, 'x') + ".jjp");
  Ttree tree;
  SaveTaskList(longName.string(), tree);
  EXPECT_TRUE(contentOf(longName) == saveTaskListToBytes(tree));
  EXPECT_EQ(filesIn(directory), 1u);
}

TEST_F(AtomicSave, ANameInOtherScriptsIsSavedAndOpenedUnderThatName) {
  const std::string name = utf8Name(directory) + "/B\u00fcro \u2713.jjp";
  Ttree tree;
  fillTree(tree, 2);
  SaveTaskList(name, tree);  // creates it
  SaveTaskList(name, tree);  // replaces it
  ASSERT_EQ(filesIn(directory), 1u);
  EXPECT_EQ(utf8Name(fs::directory_iterator(directory)->path().filename()), "B\u00fcro \u2713.jjp");
  Ttree back;
  LoadTaskList(name, back);
  EXPECT_EQ(test::describe(back), test::describe(tree));
}

TEST_F(AtomicSave, AFileThatCannotBeCreatedIsReportedByName) {
  Ttree tree;
  std::string missing = (directory / "no" / "such.jjp").string();
  EXPECT_EQ(errorOf([&] { SaveTaskList(missing, tree); }), "Cannot create file " + missing);
  fs::create_directories(directory / "adir");
  std::string aDirectory = (directory / "adir").string();
  EXPECT_EQ(errorOf([&] { SaveTaskList(aDirectory, tree); }), "Cannot create file " + aDirectory);
}

TEST_F(AtomicSave, FailuresCarryTheFileAndTheSystemsReason) {
  Ttree tree;
  const std::string missing = (directory / "no" / "such.jjp").string();
  try {
    SaveTaskList(missing, tree);
    ADD_FAILURE() << "saved into a missing directory";
  } catch (const Error& error) {
    EXPECT_EQ(error.file(), missing);
    EXPECT_EQ(error.action(), FileAction::Saving);
    EXPECT_TRUE(error.reason() == std::errc::no_such_file_or_directory) << error.reason().message();
  }
}

#ifdef _WIN32

TEST_F(AtomicSave, AReadOnlyTargetIsRefusedAndOtherAttributesAreKept) {
  writeFile(target, "old");
  std::wstring path = target.wstring();
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  Ttree tree;
  EXPECT_EQ(errorOf([&] { SaveTaskList(target.string(), tree); }), "Cannot create file " + target.string());
  EXPECT_EQ(contentOf(target), "old");
  EXPECT_EQ(filesIn(directory), 1u);

  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  SaveTaskList(target.string(), tree);
  EXPECT_TRUE(contentOf(target) == saveTaskListToBytes(tree));
  EXPECT_EQ(::GetFileAttributesW(path.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(filesIn(directory), 1u);
}

TEST_F(AtomicSave, LeftoversOfKilledSavesGoButOneBeingWrittenStays) {
  fs::path abandoned = directory / ".list.jjp.saving-ABC123";
  fs::path held = directory / ".list.jjp.saving-DEF456";
  fs::path unlike = directory / ".list.jjp.saving-1";
  for (const fs::path& path : {abandoned, held, unlike}) writeFile(path, "partial");
  HANDLE holder = ::CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  Ttree tree;
  SaveTaskList(target.string(), tree);
  ::CloseHandle(holder);
  EXPECT_FALSE(fs::exists(abandoned));
  EXPECT_TRUE(fs::exists(held));
  EXPECT_TRUE(fs::exists(unlike));
  EXPECT_TRUE(contentOf(target) == saveTaskListToBytes(tree));
}

#else

mode_t modeOf(const fs::path& path) {
  struct stat info;
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 07777;
}

TEST_F(AtomicSave, PermissionsOfTheOldFileAreKept) {
  writeFile(target, "old");
  ::chmod(target.c_str(), 0640);
  Ttree tree;
  SaveTaskList(target.string(), tree);
  EXPECT_EQ(modeOf(target), 0640u);

  fs::path fresh = directory / "new.jjp";
  mode_t mask = ::umask(022);
  SaveTaskList(fresh.string(), tree);
  ::umask(mask);
  EXPECT_EQ(modeOf(fresh), 0644u);
}

TEST_F(AtomicSave, ASymbolicLinkIsFollowedAndStaysALink) {
  fs::create_directories(directory / "real");
  fs::path real = directory / "real" / "list.jjp";
  writeFile(real, "old");
  ::chmod(real.c_str(), 0600);
  fs::create_symlink("real/list.jjp", target);
  Ttree tree;
  fillTree(tree, 1);
  SaveTaskList(target.string(), tree);
  EXPECT_TRUE(fs::is_symlink(target));
  EXPECT_TRUE(contentOf(real) == saveTaskListToBytes(tree));
  EXPECT_EQ(modeOf(real), 0600u);
  EXPECT_EQ(filesIn(directory), 2u);  // the link and the directory
  EXPECT_EQ(filesIn(directory / "real"), 1u);
}

TEST_F(AtomicSave, LeftoversOfTheTargetThatNobodyHoldsAreRemovedBeforeASave) {
  const char* const kept[] = {".list.jjp.backup", ".list.jjp.saving-toolong", ".other.jjp.saving-abc123",
                              "list.jjp.saving-abc123", ".list.jjp.saving-inuse1"};
  for (const char* name : kept) writeFile(directory / name, "x");
  writeFile(directory / ".list.jjp.saving-abc123", "a killed save's");
  int inUse = ::open((directory / ".list.jjp.saving-inuse1").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(inUse, LOCK_EX), 0);  // another save still writing it
  Ttree tree;
  SaveTaskList(target.string(), tree);
  ::close(inUse);
  EXPECT_FALSE(fs::exists(directory / ".list.jjp.saving-abc123"));
  for (const char* name : kept) EXPECT_TRUE(fs::exists(directory / name)) << name;
  EXPECT_EQ(filesIn(directory), std::size(kept) + 1);
}

TEST_F(AtomicSave, AReadOnlyDirectoryRefusesTheSaveAndKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only directories";
  writeFile(target, "old");
  fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
  Ttree tree;
  EXPECT_EQ(errorOf([&] { SaveTaskList(target.string(), tree); }), "Cannot create file " + target.string());
  fs::permissions(directory, fs::perms::owner_all);
  EXPECT_EQ(contentOf(target), "old");
  EXPECT_EQ(filesIn(directory), 1u);
}

#endif

}  // namespace
}  // namespace qm
