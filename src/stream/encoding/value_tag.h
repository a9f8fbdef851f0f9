#pragma once

#include <cstdint>

namespace qm {

// The byte that starts every value of a component stream.
enum class ValueTag : uint8_t {
  kNull = 0,  // also the end marker of every list
  kList = 1,
  kInt8 = 2,
  kInt16 = 3,
  kInt32 = 4,
  kExtended = 5,
  kShortText = 6,
  kIdentifier = 7,
  kFalse = 8,
  kTrue = 9,
  kBinary = 10,
  kSet = 11,
  kLongText = 12,
  kNil = 13,
  kCollection = 14,
  kSingle = 15,
  kCurrency = 16,
  kDate = 17,
  kWideText = 18,
  kInt64 = 19,
  kUtf8Text = 20,
};

}  // namespace qm
