#pragma once

#include <array>
#include <cstdint>

namespace qm {

// The 80-bit extended precision form of the file: bytes 0..7 the significand
// with an explicit integer bit, bytes 8..9 the exponent (bias 16383) and the
// sign, little-endian.
using ExtendedBytes = std::array<uint8_t, 10>;

// Exact for every double, including subnormals, zeros, infinities and NaNs
// (whose payload is kept).
ExtendedBytes toExtended(double value);
// Rounds to the nearest double, ties to even; values beyond the double range
// become infinities or zeros; NaNs stay NaNs.
double fromExtended(const ExtendedBytes& bytes);

}  // namespace qm
