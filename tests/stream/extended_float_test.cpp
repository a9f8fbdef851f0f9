#include "stream/encoding/extended_float.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "stream_test_support.h"

namespace qm {
namespace {

using test::fromHex;
using test::toHex;

std::string hexOf(double v) {
  ExtendedBytes e = toExtended(v);
  return toHex(std::string_view(reinterpret_cast<const char*>(e.data()), e.size()));
}

double fromHexBytes(std::string_view hex) {
  std::string bytes = fromHex(hex);
  ExtendedBytes e;
  for (size_t i = 0; i < e.size(); ++i) e[i] = static_cast<uint8_t>(bytes[i]);
  return fromExtended(e);
}

uint64_t bitsOf(double v) { return std::bit_cast<uint64_t>(v); }

TEST(ExtendedFloat, KnownValues) {
  EXPECT_EQ(hexOf(46363), "00 00 00 00 00 00 1B B5 0E 40");
  EXPECT_EQ(hexOf(1.0), "00 00 00 00 00 00 00 80 FF 3F");
  EXPECT_EQ(hexOf(-2.5), "00 00 00 00 00 00 00 A0 00 C0");
  EXPECT_EQ(hexOf(0.0), "00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(hexOf(-0.0), "00 00 00 00 00 00 00 00 00 80");
  EXPECT_EQ(hexOf(std::numeric_limits<double>::infinity()), "00 00 00 00 00 00 00 80 FF 7F");
  // The smallest subnormal double, 2^-1074, normalised: exponent 16383 - 1074.
  EXPECT_EQ(hexOf(std::numeric_limits<double>::denorm_min()), "00 00 00 00 00 00 00 80 CD 3B");
}

TEST(ExtendedFloat, EveryKindOfDoubleSurvivesTheRoundTripBitForBit) {
  const double values[] = {0.0,
                           -0.0,
                           1.0,
                           46363.5,
                           -1.25,
                           1e300,
                           -1e-300,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::min() / 3,
                           -std::numeric_limits<double>::denorm_min() * 12345,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(),
                           std::bit_cast<double>(uint64_t{0x7FF0000000000001}),  // signalling, payload 1
                           std::bit_cast<double>(uint64_t{0xFFF8000000ABCDEF})};
  for (double v : values) EXPECT_EQ(bitsOf(fromExtended(toExtended(v))), bitsOf(v)) << hexOf(v);
}

TEST(ExtendedFloat, ReadingRoundsToNearestEven) {
  // 1 + 2^-53 is halfway between 1 and the next double: ties to even (1).
  EXPECT_EQ(fromHexBytes("00 04 00 00 00 00 00 80 FF 3F"), 1.0);
  // Just above halfway: up.
  EXPECT_EQ(fromHexBytes("01 04 00 00 00 00 00 80 FF 3F"), std::nextafter(1.0, 2.0));
  // Halfway above an odd significand: up to even.
  EXPECT_EQ(fromHexBytes("00 0C 00 00 00 00 00 80 FF 3F"), 1.0 + 2 * std::ldexp(1.0, -52));
  // All ones rounds up into the next binade.
  EXPECT_EQ(fromHexBytes("FF FF FF FF FF FF FF FF FF 3F"), 2.0);
  // Beyond the double range: infinity; far below: zero with its sign.
  EXPECT_EQ(fromHexBytes("00 00 00 00 00 00 00 80 00 44"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(bitsOf(fromHexBytes("00 00 00 00 00 00 00 80 00 80")), bitsOf(-0.0));
  EXPECT_EQ(bitsOf(fromHexBytes("00 00 00 00 00 00 00 80 01 00")), bitsOf(0.0));
  // Half the smallest subnormal ties to zero; a bit more rounds up to it.
  EXPECT_EQ(fromHexBytes("00 00 00 00 00 00 00 80 CC 3B"), 0.0);
  EXPECT_EQ(fromHexBytes("01 00 00 00 00 00 00 80 CC 3B"), std::numeric_limits<double>::denorm_min());
  // Just below the smallest normal rounds up to it.
  EXPECT_EQ(fromHexBytes("FF FF FF FF FF FF FF FF 00 3C"), std::numeric_limits<double>::min());
  // A NaN whose payload lies only in bits a double lacks stays a NaN.
  EXPECT_TRUE(std::isnan(fromHexBytes("01 00 00 00 00 00 00 80 FF 7F")));
  // An unnormal (integer bit clear) is read by its value: 0.5 x 2^1.
  EXPECT_EQ(fromHexBytes("00 00 00 00 00 00 00 40 00 40"), 1.0);
}

}  // namespace
}  // namespace qm
