// qmk find on the sample list: its matches, their paths and its exit status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "cli/run_qmk.h"
#include "sample_lists.h"
#include "stream/task_list_file.h"

namespace qm::cli {
namespace {

TEST(QmkFind, PrintsThePathOfEachMatchInDisplayOrder) {
  std::string file =
      (std::filesystem::temp_directory_path() / ("qmk_find_" + std::to_string(::getpid()) + ".jjp")).string();
  SaveTaskList(file, *testing::makeSampleList());
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
  };
  const std::string call = "Plan the trip / Call Zoë \"the agent\"";
  const Case cases[] = {
      {{"ZOË"}, 0, call + "\n"},
      {{"t"}, 0, "Plan the trip\n" + call + "\n" + call + " / Tab and back\\slash\n"},
      {{"line"}, 1, ""},  // only in a note
      {{"line", "--notes"}, 0, "Plan the trip\n"},
      {{"--notes", "メモ"}, 0, call + " / Tab and back\\slash\n"},
      {{"nothing like it", "--notes"}, 1, ""},
      {{""}, 1, ""},
      {{"--", "--notes"}, 1, ""},  // the text itself
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"find", file};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out, err;
    EXPECT_EQ(runQmk(views, out, err), c.status) << ::testing::PrintToString(c.args);
    EXPECT_EQ(out.str(), c.out) << ::testing::PrintToString(c.args);
    EXPECT_EQ(err.str(), "");
  }
  std::ifstream bytes(file, std::ios::binary);
  std::vector<std::string_view> fromInput{"find", "-", "zoë"};
  std::ostringstream out, err;
  EXPECT_EQ(runQmk(fromInput, bytes, out, err), 0);
  EXPECT_EQ(out.str(), call + "\n");
  bytes.close();  // Windows deletes no file that is open
  std::filesystem::remove(file);

  for (std::vector<std::string_view> wrong : {std::vector<std::string_view>{"find", "a.jjp"},
                                              {"find", "a.jjp", "x", "y"},
                                              {"show", "--notes", "a.jjp"}}) {
    std::ostringstream out, err;
    EXPECT_EQ(runQmk(wrong, out, err), 2) << err.str();
  }
}

}  // namespace
}  // namespace qm::cli
