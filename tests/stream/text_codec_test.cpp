#include "stream/encoding/text_codec.h"

#include <gtest/gtest.h>

#include "stream_test_support.h"

namespace qm {
namespace {

using test::fromHex;
using test::toHex;

std::string eightBit(std::string_view hex) {
  std::string out;
  decodeEightBitText(fromHex(hex), out);
  return toHex(out);
}

std::string utf8(std::string_view hex) {
  std::string out;
  decodeUtf8Text(fromHex(hex), out);
  return toHex(out);
}

std::string utf16(std::string_view hex) {
  std::string out;
  decodeUtf16LeText(fromHex(hex), out);
  return toHex(out);
}

TEST(TextCodec, EightBitTextKeepsUtf8AndReadsOtherBytesAsWindows1252) {
  EXPECT_EQ(eightBit("61 C3 A9"), "61 C3 A9");     // UTF-8 stays
  EXPECT_EQ(eightBit("E9"), "C3 A9");              // é
  EXPECT_EQ(eightBit("C3 A9 E9"), "C3 A9 C3 A9");  // both in one text
  EXPECT_EQ(eightBit("80 9F"), "E2 82 AC C5 B8");  // € Ÿ
  EXPECT_EQ(eightBit("A0 FF"), "C2 A0 C3 BF");
  // Bytes the code page leaves unassigned: the C1 control of that number.
  EXPECT_EQ(eightBit("81 8D 8F 90 9D"), "C2 81 C2 8D C2 8F C2 90 C2 9D");
}

TEST(TextCodec, InvalidUtf8BecomesOneReplacementPerMaximalSubpart) {
  const std::string R = "EF BF BD";
  EXPECT_EQ(utf8("61 F1 80 80 E1 80 C2 62 80 63 80 BF 64"),
            "61 " + R + " " + R + " " + R + " 62 " + R + " 63 " + R + " " + R + " 64");
  EXPECT_EQ(utf8("ED A0 80"), R + " " + R + " " + R);               // an encoded surrogate
  EXPECT_EQ(utf8("C0 AF"), R + " " + R);                            // overlong
  EXPECT_EQ(utf8("F4 90 80 80"), R + " " + R + " " + R + " " + R);  // beyond U+10FFFF
  EXPECT_EQ(utf8("E2 82"), R);                                      // cut at the end
  EXPECT_EQ(utf8("F0 9F 98 80"), "F0 9F 98 80");
}

TEST(TextCodec, Utf16PairsJoinAndLoneSurrogatesAreReplaced) {
  EXPECT_EQ(utf16("3D D8 00 DE"), "F0 9F 98 80");
  EXPECT_EQ(utf16("3D D8 41 00"), "EF BF BD 41");
  EXPECT_EQ(utf16("00 DE 3D D8"), "EF BF BD EF BF BD");
  EXPECT_EQ(utf16("E9 00 2D 4E"), "C3 A9 E4 B8 AD");
}

TEST(TextCodec, CuttingNeverSplitsACharacter) {
  std::string accents;
  for (int i = 0; i < 128; ++i) accents += "\xC3\xA9";  // 256 bytes
  EXPECT_EQ(cutAtCharacter(accents, 255).size(), 254u);
  std::string emoji = std::string(253, 'a') + "\xF0\x9F\x98\x80";
  EXPECT_EQ(cutAtCharacter(emoji, 255), std::string(253, 'a'));
  EXPECT_EQ(cutAtCharacter(std::string(300, 'a'), 255).size(), 255u);
  EXPECT_EQ(cutAtCharacter(std::string(254, 'a') + "\xC3\xA9", 255).size(), 254u);
  EXPECT_EQ(cutAtCharacter("short", 255), "short");
  // Not UTF-8 at the cut (a run of stray continuation bytes): the byte limit.
  EXPECT_EQ(cutAtCharacter(std::string(300, '\x80'), 255).size(), 255u);
}

// Validation scans ASCII in words and resumes that scan after each other
// character: a fault placed after such runs must still be found.
TEST(TextCodec, ValidationLooksPastLongAsciiRuns) {
  const std::string run(21, 'a');
  EXPECT_TRUE(isValidUtf8(run + "\xC3\xA9" + run + "\xE2\x82\xAC" + run));
  EXPECT_FALSE(isValidUtf8(run + "\xC3\xA9" + run + "\x80" + run));
  EXPECT_FALSE(isValidUtf8("\xC3\xA9" + run + "\xE2\x82"));  // cut at the end
  EXPECT_EQ(utf8("C3 A9 61 61 61 61 61 61 61 61 61 FF"), "C3 A9 61 61 61 61 61 61 61 61 61 EF BF BD");
  EXPECT_EQ(utf16Length(run + "\xF0\x9F\x98\x80" + run), 2 * run.size() + 2);
  EXPECT_EQ(utf16LengthIfValid(run + "\xF0\x9F\x98\x80" + run + "\xC3\xA9"), 2 * run.size() + 3);
  EXPECT_EQ(utf16LengthIfValid(run + "\xC3\xA9" + run + "\xC3"), std::nullopt);
  EXPECT_EQ(utf16LengthIfValid(""), 0u);
  // A stray byte or a character at every place of texts up to three words long.
  for (size_t length = 1; length <= 24; ++length) {
    for (size_t at = 0; at < length; ++at) {
      std::string stray(length, 'a');
      stray[at] = '\x80';
      EXPECT_FALSE(isValidUtf8(stray)) << length << " " << at;
      std::string accented = std::string(at, 'a') + "\xC3\xA9" + std::string(length - at, 'a');
      EXPECT_EQ(utf16LengthIfValid(accented), length + 1) << length << " " << at;
    }
  }
}

TEST(TextCodec, Utf16LengthCountsPairsTwice) {
  EXPECT_EQ(utf16Length("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), 5u);
  std::string units;
  appendUtf16Le("a\xF0\x9F\x98\x80", units);
  EXPECT_EQ(toHex(units), "61 00 3D D8 00 DE");
}

}  // namespace
}  // namespace qm
