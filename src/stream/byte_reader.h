#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

// Reads little-endian values from bytes held in memory. Every read is checked
// against the bytes left and fails with "Stream read error", so nothing is
// allocated for a length that the input cannot hold.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  size_t position() const { return pos_; }
  size_t remaining() const { return bytes_.size() - pos_; }

  uint8_t peekByte() const {
    need(1);
    return static_cast<uint8_t>(bytes_[pos_]);
  }
  uint8_t readByte() {
    need(1);
    return static_cast<uint8_t>(bytes_[pos_++]);
  }
  int16_t readInt16() { return static_cast<int16_t>(readUnsigned(2)); }
  int32_t readInt32() { return static_cast<int32_t>(readUnsigned(4)); }
  uint64_t readUnsigned(size_t size);
  std::string_view readBytes(size_t size) {
    need(size);
    std::string_view out = bytes_.substr(pos_, size);
    pos_ += size;
    return out;
  }
  void skip(size_t size) {
    need(size);
    pos_ += size;
  }
  // A length byte, then that many bytes.
  std::string_view readShortString() { return readBytes(readByte()); }
  // A signed 32-bit count of units of unitSize bytes; negative counts and
  // counts beyond the bytes left fail.
  size_t readCount(size_t unitSize = 1);

  [[noreturn]] static void fail();

 private:
  void need(size_t size) const {
    if (size > remaining()) fail();
  }

  std::string_view bytes_;
  size_t pos_ = 0;
};

// Little-endian value of `size` bytes at `at` (size 1..8).
inline uint64_t loadLittleEndian(const char* at, size_t size) {
  uint64_t value = 0;
  for (size_t i = 0; i < size; ++i) value |= uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
  return value;
}

}  // namespace qm
