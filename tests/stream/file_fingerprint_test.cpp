#include "stream/files/file_fingerprint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/tinfo.h"
#include "stream/task_list_file.h"
#include "stream_test_support.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

// The fingerprint that opening a list takes as it reads must be the one a
// separate read of the file gives, or Save would see a change nobody made.
TEST(FileFingerprint, TakenWhileReadingEqualsASecondReadAtEverySize) {
  const fs::path file = fs::path(::testing::TempDir()) / "fingerprint_while_reading.jjp";
  // Empty, a few tasks, and one past the sizes where the reader maps its
  // memory (16 MiB) and reads ahead (1 MiB pieces after the header).
  for (int tasks : {0, 3, 170000}) {
    Ttree tree;
    tree.setSettings(TreeSettings::mainWindowInitial());
    for (int i = 0; i < tasks; ++i) {
      Tinfo* record = tree.createRecord();
      record->note = std::string(60 + i % 7, 'n');
      tree.appendNode(nullptr, "task " + std::to_string(i), record);
    }
    SaveTaskList(file.string(), tree);
    if (tasks > 3) {
      ASSERT_GT(fs::file_size(file), std::uintmax_t{16} << 20);
    }

    Ttree read;
    FileFingerprint seen = loadTaskListWithFingerprint(file.string(), read);
    EXPECT_EQ(seen, fingerprintOf(file.string())) << tasks;
    EXPECT_FALSE(changedSince(file.string(), seen)) << tasks;
    EXPECT_EQ(test::describe(read), test::describe(tree)) << tasks;
  }
  fs::remove(file);
}

TEST(FileFingerprint, TheHashDoesNotDependOnHowTheBytesArePieced) {
  std::string bytes;
  for (int i = 0; i < 100; ++i) bytes += static_cast<char>(i * 37);
  FingerprintHash whole;
  whole.add(bytes.data(), bytes.size());
  const uint64_t expected = whole.finish();
  for (size_t piece = 1; piece <= 11; ++piece) {
    FingerprintHash pieced;
    for (size_t at = 0; at < bytes.size(); at += piece)
      pieced.add(bytes.data() + at, std::min(piece, bytes.size() - at));
    EXPECT_EQ(pieced.finish(), expected) << piece;
  }
  FingerprintHash other;
  other.add(bytes.data(), bytes.size() - 1);
  EXPECT_NE(other.finish(), expected);
}

}  // namespace
}  // namespace qm
