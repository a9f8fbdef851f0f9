// Text that is not JSON, or not the JSON form, is refused with a message that
// says where and what.
#include <gtest/gtest.h>

#include "sample_lists.h"

namespace qm::cli {
namespace {

using testing::importError;

struct Case {
  std::string_view json;
  std::string_view message;
};

TEST(JsonImportErrors, NameThePlaceAndTheFault) {
  const Case cases[] = {
      {R"({"tasks": [{"titel": "x"}]})",
       R"(line 1, column 19: unknown key "titel" in a task; the keys are title, image, selectedImage, )"
       R"(stateImage, overlayImage, record, children)"},
      {"{\n  \"tree\": {\"Align\": \"alMiddle\"}\n}",
       R"(line 2, column 30: "Align" must be one of alNone, alTop, alBottom, alLeft, alRight, alClient, )"
       R"(alCustom, not the string "alMiddle")"},
      {R"({"tasks": [{"image": "3"}]})",
       R"(line 1, column 24: "image" must be an integer from -2147483648 to 2147483647, not the string "3")"},
      {R"({"tasks": [{"record": {"icon": 2147483648}}]})",
       R"(line 1, column 42: "icon" must be an integer from -2147483648 to 2147483647, not the integer 2147483648)"},
      {R"({"tasks": [{"stateImage": 1.5}]})",
       R"(line 1, column 30: "stateImage" must be an integer from -2147483648 to 2147483647, not the number 1.5)"},
      {R"({"tree": {}, "tree": {}})", R"(line 1, column 19: key "tree" appears twice in the document)"},
      {"[]", "line 1, column 1: the document must be a JSON object, not an array"},
      {R"({"tasks": {}})", R"(line 1, column 11: "tasks" must be an array, not an object)"},
      {R"({"tasks": [3]})", "line 1, column 13: each task must be a JSON object, not the integer 3"},
      {R"({"tasks": [{"children": null}]})", R"(line 1, column 28: "children" must be an array, not null)"},
      {R"({"tasks": [{"record": []}]})",
       R"(line 1, column 23: "record" must be an object or null, not an array)"},
      {R"({"tasks": [{"record": {"taskstart": "yesterday"}}]})",
       R"(line 1, column 47: "taskstart" must be a number or one of "nan", "inf", "-inf", not the string "yesterday")"},
      {R"({"tree": {"Color": "clRed"}})",
       R"(line 1, column 26: unknown colour "clRed"; "Color" takes clSkyBlue, clYellow, clWindow or an integer)"},
      {R"({"tree": {"test1": true}})", R"(line 1, column 23: "test1" must be a string, not a Boolean)"},
  };
  for (const Case& c : cases) EXPECT_EQ(importError(c.json), c.message) << c.json;
}

TEST(JsonImportErrors, SyntaxErrorsCarryTheParsersDetail) {
  EXPECT_EQ(importError("{\"tasks\": [}"),
            "line 1, column 12: syntax error while parsing value - unexpected '}'; expected '[', '{', or a "
            "literal");
  EXPECT_EQ(
      importError("{} x"),
      "line 1, column 4: syntax error while parsing value - invalid literal; last read: '{} x'; expected end "
      "of input");
  EXPECT_EQ(
      importError(""),
      "line 1, column 1: syntax error while parsing value - unexpected end of input; expected '[', '{', or a "
      "literal");
  EXPECT_TRUE(
      importError("{\"tasks\": [{\"title\": \"\xff\"}]}")
          .starts_with(
              "line 1, column 23: syntax error while parsing value - invalid string: ill-formed UTF-8"));
  EXPECT_EQ(importError(R"({"tasks": [{"record": {"taskend": 1e400}}]})"),
            "line 1, column 39: number overflow parsing '1e400'");
}

TEST(JsonImportErrors, DeepNestingOutsideTasksIsRefusedAtOnce) {
  std::string json =
      "{\"tree\": {\"Left\": " + std::string(1'000'000, '[') + std::string(1'000'000, ']') + "}}";
  EXPECT_EQ(importError(json),
            "line 1, column 19: \"Left\" must be an integer from -2147483648 to 2147483647, "
            "not an array");
}

}  // namespace
}  // namespace qm::cli
