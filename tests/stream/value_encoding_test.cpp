#include <gtest/gtest.h>

#include <string>

#include "stream/encoding/byte_reader.h"
#include "stream/encoding/byte_writer.h"
#include "stream/encoding/value_reader.h"
#include "stream/encoding/value_writer.h"
#include "stream_test_support.h"

namespace qm {
namespace {

using test::fromHex;
using test::toHex;

template <class F>
std::string written(F&& write) {
  MemorySink sink;
  ByteWriter bytes(sink);
  ValueWriter out(bytes);
  write(out);
  bytes.flush();
  return toHex(sink.bytes());
}

TEST(ValueEncoding, TextsPickShortLongUtf8OrUtf16ByTheLengthRule) {
  EXPECT_EQ(written([](ValueWriter& w) { w.text("abc"); }), "06 03 61 62 63");
  EXPECT_EQ(written([](ValueWriter& w) { w.text("\xC3\xA9"); }), "12 01 00 00 00 E9 00");
  EXPECT_EQ(written([](ValueWriter& w) { w.text("a\xC3\xA9"); }), "14 03 00 00 00 61 C3 A9");
  // Three bytes for one unit: UTF-16 is shorter; a character beyond the
  // basic plane is a surrogate pair.
  EXPECT_EQ(written([](ValueWriter& w) { w.text("\xE4\xB8\xAD"); }), "12 01 00 00 00 2D 4E");
  EXPECT_EQ(written([](ValueWriter& w) { w.text("\xF0\x9F\x98\x80"); }), "12 02 00 00 00 3D D8 00 DE");

  std::string s255(255, 'x'), s256(256, 'x');
  EXPECT_EQ(written([&](ValueWriter& w) { w.text(s255); }).substr(0, 5), "06 FF");
  EXPECT_EQ(written([&](ValueWriter& w) { w.text(s256); }).substr(0, 14), "0C 00 01 00 00");
}

TEST(ValueEncoding, IntegersTakeTheSmallestTag) {
  EXPECT_EQ(written([](ValueWriter& w) { w.integer(-128); }), "02 80");
  EXPECT_EQ(written([](ValueWriter& w) { w.integer(127); }), "02 7F");
  EXPECT_EQ(written([](ValueWriter& w) { w.integer(128); }), "03 80 00");
  EXPECT_EQ(written([](ValueWriter& w) { w.integer(-32768); }), "03 00 80");
  EXPECT_EQ(written([](ValueWriter& w) { w.integer(32768); }), "04 00 80 00 00");
  EXPECT_EQ(written([](ValueWriter& w) { w.integer(-32769); }), "04 FF 7F FF FF");
  for (int32_t v : {-128, 127, 128, -32768, 32768, -32769, INT32_MIN, INT32_MAX}) {
    std::string bytes = fromHex(written([&](ValueWriter& w) { w.integer(v); }));
    ByteReader in(bytes);
    EXPECT_EQ(ValueReader(in).integer(), v);
  }
}

TEST(ValueEncoding, DatesAreExtendedFloatsAndIntegersReadAsFloats) {
  EXPECT_EQ(written([](ValueWriter& w) { w.extended(46363); }), "05 00 00 00 00 00 00 1B B5 0E 40");
  const std::pair<const char*, double> cases[] = {{"05 00 00 00 00 00 00 1B B5 0E 40", 46363.0},
                                                  {"02 05", 5.0},
                                                  {"03 00 01", 256.0},
                                                  {"04 00 00 01 00", 65536.0}};
  for (const auto& [hex, expected] : cases) {
    std::string bytes = fromHex(hex);
    ByteReader in(bytes);
    EXPECT_EQ(ValueReader(in).floatingPoint(), expected) << hex;
  }
}

TEST(ValueEncoding, IdentifiersAndShortStrings) {
  EXPECT_EQ(written([](ValueWriter& w) { w.identifier("alClient"); }), "07 08 61 6C 43 6C 69 65 6E 74");
  EXPECT_EQ(written([](ValueWriter& w) {
              w.identifier("false");
              w.identifier("TRUE");
              w.identifier("Nil");
              w.identifier("null");
            }),
            "08 09 0D 00");
  std::string cut = fromHex(written([](ValueWriter& w) { w.shortString(std::string(300, 'n')); }));
  EXPECT_EQ(cut.size(), 256u);
  EXPECT_EQ(static_cast<uint8_t>(cut[0]), 255);
}

}  // namespace
}  // namespace qm
