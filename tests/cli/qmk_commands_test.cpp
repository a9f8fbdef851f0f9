// qmk as a user runs it: on lists written by SaveTaskList, on broken files
// and on command lines it does not understand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "cli/run_qmk.h"
#include "model/tinfo.h"
#include "sample_lists.h"
#include "stream/task_list_file.h"

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

struct QmkRun {
  int status;
  std::string out;
  std::string err;
};

QmkRun qmk(std::vector<std::string> args, std::istream& in) {
  std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out, err;
  int status = runQmk(views, in, out, err);
  return {status, out.str(), err.str()};
}

QmkRun qmk(std::vector<std::string> args, const std::string& input = "") {
  std::istringstream in(input);
  return qmk(std::move(args), in);
}

// The line qmk prints when the system refused a file.
std::string systemError(const std::string& file, const std::string& message, const char* reason) {
  return "qmk: " + file + ": " + message + " (" + reason + ")\n";
}

class QmkCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("qmk_test_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    SaveTaskList(path("sample.jjp"), *testing::makeSampleList());
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void writeFile(const std::string& name, std::string_view bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }

  fs::path dir_;
};

TEST_F(QmkCommands, ShowPrintsTheOutlineOfTheFile) {
  QmkRun run = qmk({"show", path("sample.jjp")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(run.out.starts_with("[ ] Plan the trip (priority 1)\n  [x] Call Zoë"));
}

TEST_F(QmkCommands, CheckCountsTheTasks) {
  QmkRun run = qmk({"check", path("sample.jjp")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "ok: 5 tasks\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(QmkCommands, CheckReportsTheReadersMessageExactly) {
  // A list whose tree carries a property the tree does not have.
  const char unknownProperty[] =
      "\xFF\x0A\x00TTREE\x00\x30\x10\x10\x00\x00\x00"
      "TPF0\x05Ttree\x00\x03"
      "Foo\x02\x01\x00\x00";
  writeFile("foo.jjp", std::string_view(unknownProperty, sizeof unknownProperty - 1));
  QmkRun run = qmk({"check", path("foo.jjp")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Error reading Ttree.Foo: Property Foo does not exist\n");

  writeFile("text.jjp", "just some text");
  EXPECT_EQ(qmk({"check", path("text.jjp")}).err, "Invalid stream format\n");
  QmkRun missing = qmk({"show", path("missing.jjp")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, systemError(path("missing.jjp"), "Cannot open file " + path("missing.jjp"),
                                     "No such file or directory"));
  QmkRun unwritable = qmk({"import", "-", "-o", "/nonexistent/out.jjp"}, R"({"tasks": []})");
  EXPECT_EQ(unwritable.err, systemError("/nonexistent/out.jjp", "Cannot create file /nonexistent/out.jjp",
                                        "No such file or directory"));
}

TEST_F(QmkCommands, ImportSaveLoadExportGivesBackTheJson) {
  auto original = testing::makeSampleList();
  std::string json = testing::exportJson(*original);
  writeFile("list.json", json);
  QmkRun import = qmk({"import", path("list.json"), "-o", path("out.jjp")});
  ASSERT_EQ(import.status, 0) << import.err;
  EXPECT_EQ(import.out, "");

  // The task saved without a record reads back with the stand-in record that
  // holds its picture.
  std::string expected = json;
  size_t noRecord = expected.find("\"record\": null");
  ASSERT_NE(noRecord, std::string::npos);
  expected.replace(noRecord, 14,
                   R"("record": {"note": "", "taskstart": 0, "taskend": 0, "priority": "", "status": "", )"
                   R"("icon": 5, "tag": 0})");
  QmkRun exported = qmk({"export", path("out.jjp")});
  EXPECT_EQ(exported.status, 0);
  EXPECT_EQ(exported.out, expected);
}

TEST_F(QmkCommands, ExportImportExportIsIdentical) {
  QmkRun first = qmk({"export", path("sample.jjp"), "--format", "json"});
  ASSERT_EQ(first.status, 0);
  writeFile("sample.json", first.out);
  ASSERT_EQ(qmk({"import", "--output=" + path("again.jjp"), path("sample.json")}).status, 0);
  EXPECT_EQ(qmk({"export", path("again.jjp")}).out, first.out);
}

TEST_F(QmkCommands, ExportsMarkdown) {
  QmkRun run = qmk({"export", "--format=markdown", path("sample.jjp")});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(
      run.out.starts_with("- [ ] Plan the trip — P1\n\n  first line\\\n  second line\n  - [x] Call Zoë"));
}

TEST_F(QmkCommands, DashIsStandardInputAndOutput) {
  const std::string list = saveTaskListToBytes(*testing::makeSampleList());
  const std::string json = qmk({"export", path("sample.jjp")}).out;
  writeFile("sample.json", json);
  ASSERT_EQ(qmk({"import", path("sample.json"), "-o", path("again.jjp")}).status, 0);
  QmkRun imported = qmk({"import", "-", "-o", "-"}, json);
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(qmk({"export", "-"}, imported.out).out, qmk({"export", path("again.jjp")}).out);
  EXPECT_FALSE(fs::exists("-"));
  EXPECT_EQ(qmk({"check", "-"}, list).out, qmk({"check", path("sample.jjp")}).out);
  EXPECT_EQ(qmk({"show", "-"}, list).out, qmk({"show", path("sample.jjp")}).out);
  EXPECT_EQ(qmk({"export", "-"}, list).out, json);
  EXPECT_EQ(qmk({"check", "-"}, "just some text").err, "Invalid stream format\n");

  // A stream that fails part-way, as a broken terminal or pipe does.
  struct FailingBuffer : std::streambuf {
    int_type underflow() override { throw std::ios_base::failure("gone"); }
  } failing;
  std::istream broken(&failing);
  EXPECT_EQ(qmk({"check", "-"}, broken).err, "qmk: standard input: Stream read error\n");
}

TEST_F(QmkCommands, ReadsListsIntoATreeWithTheClassDefaults) {
  Ttree bare;
  bare.appendNode(nullptr, "only");
  SaveTaskList(path("bare.jjp"), bare);
  std::string json = qmk({"export", path("bare.jjp")}).out;
  EXPECT_NE(json.find(R"("Align": "alNone", "BorderStyle": "bsSingle", "Color": "clWindow", )"
                      R"("DragMode": "dmManual", "Images": "", "Indent": 19, "TabOrder": -1, "test1": "")"),
            std::string::npos)
      << json;
}

TEST_F(QmkCommands, InvalidJsonIsReportedAndWritesNothing) {
  writeFile("bad.json", "{\"tasks\": [\n  {\"title\": 12}\n]}");
  QmkRun run = qmk({"import", path("bad.json"), "-o", path("out.jjp")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            path("bad.json") + ": line 2, column 15: \"title\" must be a string, not the integer 12\n");
  EXPECT_FALSE(fs::exists(path("out.jjp")));
  EXPECT_EQ(
      qmk({"import", path("none.json"), "-o", path("out.jjp")}).err,
      systemError(path("none.json"), "Cannot open file " + path("none.json"), "No such file or directory"));
  EXPECT_EQ(qmk({"import", "-", "-o", path("out.jjp")}, "[").err.substr(0, 16), "standard input: ");
}

TEST_F(QmkCommands, CalendarIsStampedWithTheFilesTimeOfChange) {
  using namespace std::chrono;
  auto changed = sys_days{year{2026} / 12 / 12} + hours{10} + minutes{20} + seconds{30} + milliseconds{999};
  fs::last_write_time(path("sample.jjp"), file_clock::from_sys(changed));
  std::string calendar = qmk({"export", path("sample.jjp"), "--format", "ics"}).out;
  EXPECT_NE(calendar.find("\r\nDTSTAMP:20261212T102030Z\r\n"), std::string::npos);
  EXPECT_NE(calendar.find("\r\nCOMPLETED:20261212T102030Z\r\n"), std::string::npos);
}

// A list of dates around 2026-12-12 (day 46368), in every form the agenda has.
TEST(QmkAgenda, GroupsOrdersAndPrintsWhatIsDue) {
  Ttree tree;
  auto add = [&](TreeNode* parent, const char* title, double end, const char* priority, double start = 0) {
    Tinfo* record = tree.createRecord();
    record->taskend = end;
    record->taskstart = start;
    record->priority = priority;
    return tree.appendNode(parent, title, record);
  };
  TreeNode* home = add(nullptr, "Home", 0, "");
  TreeNode* garden = add(home, "Garden", 46369.5, "2");
  add(garden, "Water", 46368.9, "");
  add(home, "Bills", 46365, "1", 46358);
  add(nullptr, "Pay rent", 46369, "1");
  add(nullptr, "Trip", 46373, "3");
  add(nullptr, "Done", 46367, "1")->record()->status = "Complete";
  const std::string list = saveTaskListToBytes(tree);
  const struct {
    std::vector<std::string> options;
    const char* out;
  } cases[] = {
      {{"--today", "2026-12-12"},
       "Overdue\n2026-12-09  P1  Bills  (Home)\nToday\n2026-12-12      Water  (Home / Garden)\n"
       "Tomorrow\n2026-12-13  P1  Pay rent\n2026-12-13  P2  Garden  (Home)\nLater\n2026-12-17  P3  Trip\n"},
      {{"--today", "2026-12-12", "--days", "0"},
       "Overdue\n2026-12-09  P1  Bills  (Home)\nToday\n2026-12-12      Water  (Home / Garden)\n"},
      {{"--today", "2026-12-01"}, ""},
      {{"--today=2026-12-10", "--days=1", "--format=json"},
       "[\n {\"group\":\"Overdue\",\"end\":\"2026-12-09\",\"start\":\"2026-12-02\",\"priority\":\"1\","
       "\"status\":\"\",\"title\":\"Bills\",\"path\":[\"Home\"]}\n]\n"},
      {{"--today", "2026-12-01", "--format", "json"}, "[]\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"agenda", "-"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    QmkRun run = qmk(args, list);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << ::testing::PrintToString(c.options);
  }
}

TEST(QmkCommandLine, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"frobnicate", "a.jjp"},
      {"show"},
      {"show", "a.jjp", "b.jjp"},
      {"check", "--format", "json", "a.jjp"},
      {"export", "a.jjp", "--format", "xml"},
      {"export", "a.jjp", "--format"},
      {"import", "a.json"},
      {"show", "-o", "x", "a.jjp"},
      {"--verbose"},
      {"agenda", "a.jjp", "--days", "-1"},
      {"agenda", "a.jjp", "--days", "7d"},
      {"agenda", "a.jjp", "--today", "2026-02-30"},
      {"agenda", "a.jjp", "--today", "12/12/2026"},
      {"agenda", "a.jjp", "--format", "ics"},
      {"find", "a.jjp", "x", "--days", "1"},
  };
  for (const auto& args : wrong) {
    QmkRun run = qmk(args);
    EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
    EXPECT_TRUE(run.err.starts_with("qmk: ")) << run.err;
    EXPECT_NE(run.err.find("qmk --help"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
}

TEST(QmkCommandLine, HelpAndVersion) {
  EXPECT_EQ(qmk({"--version"}).out, "qmk (Quillmark) 2.1\n");
  QmkRun help = qmk({"export", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: qmk"));
  // After "--" a name that looks like an option is a file.
  EXPECT_EQ(qmk({"check", "--", "--help"}).err,
            systemError("--help", "Cannot open file --help", "No such file or directory"));
}

}  // namespace
}  // namespace qm::cli
