#include <gtest/gtest.h>

#include <stdexcept>

#include "model/error.h"
#include "model/ttree.h"
#include "platform/desktop.h"
#include "scripted_desktop.h"
#include "stream/task_list_file.h"
#include "ui/edits/command.h"

namespace qm::test {
namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  struct Case {
    QString message;
    QString shown;
  };
  const Case cases[] = {
      {"", ""},
      {"Stream read error", "Stream read error."},
      {"Done.", "Done."},
      {"Oops!", "Oops!"},  // '!' sorts before '.'
      {"Invalid data type for 'DefaultDir'", "Invalid data type for 'DefaultDir'"},
      {"range-", "range-"},       // '-' is just before '.'
      {"path c:/", "path c:/."},  // '/' is just after
      {"Failed at 3", "Failed at 3."},
      {"Ende \u00FC", "Ende \u00FC."},
      {"smile \U0001F600", "smile \U0001F600."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::errorBoxText(c.message), c.shown) << c.message.toStdString();
}

TEST(RunCommand, ShowsTheErrorAndEndsTheCommandThere) {
  ScriptedDesktop desktop;
  int reached = 0;
  EXPECT_FALSE(ui::runCommand(nullptr, [&] {
    ++reached;
    raise("Cannot open file %s", {"x.jjp"});
    ++reached;
  }));
  EXPECT_EQ(reached, 1);
  EXPECT_EQ(desktop.errors, QStringList{"Cannot open file x.jjp."});

  EXPECT_TRUE(ui::runCommand(nullptr, [&] { ++reached; }));
  EXPECT_EQ(desktop.errors.size(), 1);

  EXPECT_FALSE(ui::runCommand(nullptr, [] { throw 42; }));
  EXPECT_EQ(desktop.errors.last(), "Unknown error.");
  EXPECT_EQ(desktop.errorDetails, QStringList({"", ""}));
}

TEST(RunCommand, AFileErrorSaysWhichFileAndWhyBelowTheMessage) {
  ScriptedDesktop desktop;
  const std::string missing = "/nonexistent/dir/todo.jjp";
  Ttree tree;
  ui::runCommand(nullptr, [&] { SaveTaskList(missing, tree); });
  ui::runCommand(nullptr, [&] { LoadTaskList(missing, tree); });
  ui::runCommand(nullptr, [&] { LoadTaskList("/", tree); });
  EXPECT_EQ(desktop.errors,
            QStringList({"Cannot create file /nonexistent/dir/todo.jjp.",
                         "Cannot open file /nonexistent/dir/todo.jjp.", "Cannot open file /."}));
  EXPECT_EQ(desktop.errorDetails,
            QStringList({"While saving /nonexistent/dir/todo.jjp: No such file or directory.",
                         "While opening /nonexistent/dir/todo.jjp: No such file or directory.",
                         "While opening /: Is a directory."}));
}

}  // namespace
}  // namespace qm::test
