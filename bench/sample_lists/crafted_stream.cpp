#include "crafted_stream.h"

#include <cmath>

namespace qm::sample {

CraftedStream& CraftedStream::fileStart() {
  raw(std::string_view("\xFF\x0A\x00TTREE\x00\x30\x10\x00\x00\x00\x00", 15));
  return raw("TPF0");
}

CraftedStream& CraftedStream::byte(uint8_t value) {
  bytes_.push_back(static_cast<char>(value));
  return *this;
}

CraftedStream& CraftedStream::int16(int16_t value) {
  auto u = static_cast<uint16_t>(value);
  return byte(u & 0xFF).byte(u >> 8);
}

CraftedStream& CraftedStream::uint32(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) byte((value >> shift) & 0xFF);
  return *this;
}

CraftedStream& CraftedStream::int32(int32_t value) { return uint32(static_cast<uint32_t>(value)); }

CraftedStream& CraftedStream::raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

CraftedStream& CraftedStream::shortString(std::string_view text) {
  return byte(static_cast<uint8_t>(text.size())).raw(text.substr(0, 255));
}

CraftedStream& CraftedStream::object(std::string_view className, std::string_view name) {
  return shortString(className).shortString(name);
}

CraftedStream& CraftedStream::integer(int32_t value) {
  if (value >= -128 && value <= 127) return byte(2).byte(static_cast<uint8_t>(value));
  if (value >= -32768 && value <= 32767) return byte(3).int16(static_cast<int16_t>(value));
  return byte(4).int32(value);
}

// Finite, normal doubles only: enough for crafting dates.
CraftedStream& CraftedStream::extended(double value) {
  byte(5);
  if (value == 0) return raw(std::string(10, '\0'));
  int exponent = 0;
  double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
  auto significand = static_cast<uint64_t>(std::ldexp(fraction, 64));
  for (int shift = 0; shift < 64; shift += 8) byte((significand >> shift) & 0xFF);
  uint16_t signAndExponent = static_cast<uint16_t>(exponent - 1 + 16383) | (value < 0 ? 0x8000 : 0);
  return byte(signAndExponent & 0xFF).byte(signAndExponent >> 8);
}

std::string nodeRecord(std::string_view title, int32_t childCount, int32_t image) {
  CraftedStream record;
  record.int32(static_cast<int32_t>(25 + title.size()))
      .int32(image)
      .int32(0)
      .int32(-1)
      .int32(-1)
      .int32(0)
      .int32(childCount)
      .shortString(title);
  return record.bytes();
}

}  // namespace qm::sample
