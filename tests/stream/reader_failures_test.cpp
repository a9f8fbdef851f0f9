#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <future>

#include "model/tinfo.h"
#include "stream/task_list_file.h"
#include "stream_test_support.h"

namespace qm {
namespace {

using namespace test;

const std::string kHeader = fromHex("FF 0A 00 54 54 52 45 45 00 30 10 00 00 00 00");
const std::string kIcon0 = property("icon", int8Value(0));

TEST(ReaderFailures, HeaderAndSignature) {
  EXPECT_EQ(loadError(""), "Invalid stream format");
  EXPECT_EQ(loadError(fromHex("FF 0A")), "Invalid stream format");
  EXPECT_EQ(loadError(fromHex("FE 0A 00 54 00 30 10 00 00 00 00") + "TPF0"), "Invalid stream format");
  EXPECT_EQ(loadError(fromHex("FF 0B 00 54 00 30 10 00 00 00 00") + "TPF0"), "Invalid stream format");
  EXPECT_EQ(loadError(kHeader + "TPF1" + object("Ttree", "")), "Invalid stream format");
  // Cut inside the header's name, its fields, or the signature.
  EXPECT_EQ(loadError(fromHex("FF 0A 00 54 54")), "Stream read error");
  EXPECT_EQ(loadError(kHeader.substr(0, 12)), "Stream read error");
  EXPECT_EQ(loadError(kHeader + "TP"), "Stream read error");
  // A name that does not end within the header's 79 bytes.
  EXPECT_EQ(loadError(fromHex("FF 0A 00") + std::string(100, 'N')), "Invalid stream format");
}

TEST(ReaderFailures, PropertiesAreReportedWithTheObjectAndThePropertyName) {
  EXPECT_EQ(loadError(taskFile(property("Foo", int8Value(1)))),
            "Error reading Ttree.Foo: Property Foo does not exist");
  EXPECT_EQ(loadError(taskFile(property("Items.Foo", int8Value(1)))),
            "Error reading Ttree.Items.Foo: Property Foo does not exist");
  EXPECT_EQ(loadError(taskFile(property("Left.X", int8Value(1)))),
            "Error reading Ttree.Left.X: Invalid property path");
  EXPECT_EQ(loadError(taskFile(property("Nothing.X", int8Value(1)))),
            "Error reading Ttree.Nothing.X: Invalid property path");
  EXPECT_EQ(loadError(taskFile(property("Left", textValue("0")))),
            "Error reading Ttree.Left: Invalid property value");
  EXPECT_EQ(loadError(taskFile(property("Color", identValue("clBlack")))),
            "Error reading Ttree.Color: Invalid property value");
  EXPECT_EQ(loadError(taskFile(property("Items", identValue("x")))),
            "Error reading Ttree.Items: Invalid property value");
  EXPECT_EQ(loadError(taskFile({}, object("Tinfo", "ID0", property("note", int8Value(1))))),
            "Error reading ID0.note: Invalid property value");
  EXPECT_EQ(loadError(taskFile({}, object("Tinfo", "", property("taskstart", textValue("x"))))),
            "Error reading Tinfo.taskstart: Invalid property value");
  // A named tree shows its name.
  EXPECT_EQ(loadError(taskFile(property("Name", textValue("tv")) + property("Foo", int8Value(1)))),
            "Error reading tv.Foo: Property Foo does not exist");
}

TEST(ReaderFailures, TheStreamEndingInsideAValueIsWrappedElsewhereBare) {
  std::string file = taskFile(property("Left", fromHex("03 01 00")));
  size_t valueEnd = file.find("Left") + 4 + 3;
  EXPECT_EQ(loadError(file.substr(0, valueEnd - 1)), "Error reading Ttree.Left: Stream read error");
  EXPECT_EQ(loadError(file.substr(0, valueEnd - 3)), "Error reading Ttree.Left: Stream read error");
  EXPECT_EQ(loadError(file.substr(0, valueEnd - 4)), "Stream read error");  // inside the name
  EXPECT_EQ(loadError(file.substr(0, valueEnd)), "Stream read error");      // before the list end
  // Inside the value of a property that is skipped.
  std::string unknown = taskFile(property("Foo", fromHex("0C 05 00 00 00 61 62 63 64 65")));
  EXPECT_EQ(loadError(unknown.substr(0, unknown.find("Foo") + 3 + 8)),
            "Error reading Ttree.Foo: Stream read error");
}

TEST(ReaderFailures, ChildObjects) {
  EXPECT_EQ(loadError(taskFile({}, object("TFoo", "ID0"))), "Class TFoo not found");
  EXPECT_EQ(loadError(taskFile({}, object("Tinfo", "1abc"))), "''1abc'' is not a valid component name");
  EXPECT_EQ(loadError(taskFile({}, object("Tinfo", "a-b"))), "''a-b'' is not a valid component name");
  EXPECT_EQ(loadError(taskFile({}, object("Tinfo", "ID0", kIcon0) + object("Tinfo", "id0", kIcon0))),
            "A component named id0 already exists");
  EXPECT_EQ(loadError(taskFile(
                {}, object("Tinfo", "ID0") + object("Tinfo", "ID1", property("Name", textValue("id0"))))),
            "Error reading ID1.Name: A component named id0 already exists");
  EXPECT_EQ(loadError(taskFile({}, "\xF1" + object("Tinfo", "Missing"))), "Ancestor for 'Missing' not found");
}

TEST(ReaderFailures, NodeListErrorsAreWrappedAsItsProperty) {
  const std::string kWrapped = "Error reading Ttree.Items.Data: Stream read error";
  auto nodes = [](std::string_view list) {
    return loadError(taskFile(property("Items.Data", binaryValue(list))));
  };
  auto count = [](int32_t n) { return int32Value(n).substr(1); };
  EXPECT_EQ(nodes(count(-1)), kWrapped);                               // negative top-level count
  EXPECT_EQ(nodes(count(1) + nodeRecord("a", -1)), kWrapped);          // negative child count
  EXPECT_EQ(nodes(count(2) + nodeRecord("a", 0)), kWrapped);           // fewer records than claimed
  EXPECT_EQ(nodes(count(1) + nodeRecord("a", 1)), kWrapped);           // a missing child
  EXPECT_EQ(nodes(count(0x7FFFFFFF) + nodeRecord("a", 0)), kWrapped);  // 2^31 - 1 nodes
  EXPECT_EQ(nodes(count(INT32_MIN)), kWrapped);                        // 2^31 read as signed
  std::string shortRecord = nodeRecord("abc", 0);
  shortRecord[0] = 25 + 2;  // size smaller than 25 plus the title
  EXPECT_EQ(nodes(count(1) + shortRecord), kWrapped);
  std::string tinyRecord = nodeRecord("", 0);
  tinyRecord[0] = 24;
  EXPECT_EQ(nodes(count(1) + tinyRecord), kWrapped);
  EXPECT_EQ(nodes(count(1) + nodeRecord("abc", 0).substr(0, 30)), kWrapped);  // block ends inside
  EXPECT_EQ(nodes(""), kWrapped);
}

TEST(ReaderFailures, HostileLengthsFailBeforeAnythingIsAllocated) {
  const std::string huge = fromHex("FF FF FF 7F");
  EXPECT_EQ(loadError(taskFile(property("test1", "\x0C" + huge))),
            "Error reading Ttree.test1: Stream read error");
  EXPECT_EQ(loadError(taskFile(property("test1", "\x14" + huge))),
            "Error reading Ttree.test1: Stream read error");
  EXPECT_EQ(loadError(taskFile(property("test1", "\x12" + huge))),
            "Error reading Ttree.test1: Stream read error");
  EXPECT_EQ(loadError(taskFile(property("Items.Data", "\x0A" + huge))),
            "Error reading Ttree.Items.Data: Stream read error");
  EXPECT_EQ(loadError(taskFile(property("test1", fromHex("0C FF FF FF FF")))),
            "Error reading Ttree.test1: Stream read error");  // negative length
}

TEST(ReaderFailures, WhatWasReadBeforeAFailureStaysButNothingIsLinkedOrResolved) {
  Ttree tree;
  std::string list = int32Value(1).substr(1) + nodeRecord("only", 0);
  std::string file =
      taskFile(property("Left", int8Value(7)) + property("Images", identValue("frmMain.ImageList1")) +
                   property("Items.Data", binaryValue(list)),
               object("Tinfo", "ID0", kIcon0) + object("Tfoo", "ID1"));
  EXPECT_EQ(errorOf([&] { loadTaskListFromBytes(file, tree); }), "Class Tfoo not found");
  EXPECT_EQ(tree.settings().left, 7);
  EXPECT_EQ(tree.settings().images, "");  // the reference was never resolved
  EXPECT_EQ(tree.nodeCount(), 1u);
  EXPECT_EQ(tree.firstNode()->record(), nullptr);  // LinkRecords did not run
  ASSERT_EQ(tree.componentCount(), 1u);
  EXPECT_EQ(tree.firstComponent()->name(), "ID0");
}

#ifndef _WIN32  // pipes and devices the POSIX way
TEST(ReaderFailures, FilesThatCannotBeOpenedAreRefusedAtOnceWithTheirReason) {
  // A named pipe with no writer would block an ordinary open for good.
  const std::string pipe = ::testing::TempDir() + "reader_pipe_" + std::to_string(::getpid()) + ".jjp";
  std::filesystem::remove(pipe);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  struct Case {
    std::string path;
    std::error_code reason;
  };
  const Case cases[] = {
      {"/nonexistent/dir/list.jjp", std::make_error_code(std::errc::no_such_file_or_directory)},
      {"/", std::make_error_code(std::errc::is_a_directory)},
      {pipe, {}},
      {"/dev/null", {}},
  };
  for (const Case& c : cases) {
    auto loading = std::async(std::launch::async, [&] {
      Ttree tree;
      try {
        LoadTaskList(c.path, tree);
      } catch (const Error& e) {
        return e;
      }
      return Error("");
    });
    if (loading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
      ADD_FAILURE() << c.path << " blocked the reader";
      ::close(::open(c.path.c_str(), O_WRONLY | O_NONBLOCK));  // lets it go on
    }
    Error error = loading.get();
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + c.path);
    EXPECT_EQ(error.file(), c.path);
    EXPECT_EQ(error.action(), FileAction::Opening);
    EXPECT_EQ(error.reason(), c.reason) << c.path;
  }
  std::filesystem::remove(pipe);
}
#endif

}  // namespace
}  // namespace qm
