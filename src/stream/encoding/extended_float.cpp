#include "stream/encoding/extended_float.h"

#include <bit>

namespace qm {
namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
constexpr uint64_t kSignBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleFractionMask = (uint64_t{1} << 52) - 1;

ExtendedBytes pack(bool negative, uint32_t exponent, uint64_t significand) {
  ExtendedBytes out{};
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(significand >> (8 * i));
  uint32_t top = exponent | (negative ? 0x8000u : 0u);
  out[8] = static_cast<uint8_t>(top);
  out[9] = static_cast<uint8_t>(top >> 8);
  return out;
}

// Rounds significand / 2^shift to an integer, ties to even (shift 1..64).
uint64_t shiftRightRounded(uint64_t significand, int shift) {
  if (shift > 64) return 0;
  uint64_t kept = shift == 64 ? 0 : significand >> shift;
  uint64_t rest = shift == 64 ? significand : significand & ((uint64_t{1} << shift) - 1);
  uint64_t half = uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
  return kept;
}

double assemble(bool negative, uint64_t bits) {
  return std::bit_cast<double>(bits | (negative ? kSignBit : 0));
}

}  // namespace

ExtendedBytes toExtended(double value) {
  auto bits = std::bit_cast<uint64_t>(value);
  bool negative = (bits >> 63) != 0;
  auto exponent = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t fraction = bits & kDoubleFractionMask;
  if (exponent == 0x7FF) return pack(negative, 0x7FFF, kIntegerBit | (fraction << 11));
  if (exponent != 0)
    return pack(negative, static_cast<uint32_t>(exponent - kDoubleBias + kExtendedBias),
                kIntegerBit | (fraction << 11));
  if (fraction == 0) return pack(negative, 0, 0);
  // Subnormal double: fraction x 2^-1074, normalised so bit 63 is set.
  int shift = std::countl_zero(fraction);
  return pack(negative, static_cast<uint32_t>(kExtendedBias + 63 - 1074 - shift), fraction << shift);
}

double fromExtended(const ExtendedBytes& in) {
  uint64_t significand = 0;
  for (int i = 0; i < 8; ++i) significand |= uint64_t{in[i]} << (8 * i);
  uint32_t top = in[8] | (uint32_t{in[9]} << 8);
  bool negative = (top & 0x8000) != 0;
  auto exponent = static_cast<int>(top & 0x7FFF);
  constexpr uint64_t infinity = uint64_t{0x7FF} << 52;

  if (exponent == 0x7FFF) {
    uint64_t payload = (significand << 1) >> 12;  // the top 52 bits below the integer bit
    if ((significand << 1) == 0) return assemble(negative, infinity);
    if (payload == 0) payload = uint64_t{1} << 51;  // payload only in bits a double lacks
    return assemble(negative, infinity | payload);
  }
  if (significand == 0) return assemble(negative, 0);

  // value = significand x 2^(e - 16383 - 63), with e = 1 for the subnormal form.
  int shift = std::countl_zero(significand);
  significand <<= shift;
  int leading = (exponent == 0 ? 1 : exponent) - kExtendedBias - shift;  // exponent of bit 63
  if (leading > kDoubleBias) return assemble(negative, infinity);
  if (leading >= 1 - kDoubleBias) {
    uint64_t mantissa = shiftRightRounded(significand, 11);
    if (mantissa == (uint64_t{1} << 53)) {
      mantissa >>= 1;
      ++leading;
      if (leading > kDoubleBias) return assemble(negative, infinity);
    }
    auto biased = static_cast<uint64_t>(leading + kDoubleBias);
    return assemble(negative, (biased << 52) | (mantissa & kDoubleFractionMask));
  }
  // Subnormal double: units of 2^-1074. Rounding up to 2^52 gives the
  // smallest normal, whose bits are exactly that value.
  int subnormalShift = 63 - (leading + 1074);
  return assemble(negative, shiftRightRounded(significand, subnormalShift));
}

}  // namespace qm
