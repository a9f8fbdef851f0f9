#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "stream/encoding/byte_sink.h"

namespace qm {

// Collects little-endian values in a buffer and hands it to the sink in large
// blocks, so that writing a field costs a copy into memory, not a call.
class ByteWriter {
 public:
  explicit ByteWriter(ByteSink& sink);
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;

  uint64_t position() const { return flushed_ + used_; }

  void byte(uint8_t value) {
    if (used_ == kCapacity) flush();
    buffer_[used_++] = static_cast<char>(value);
  }
  void int16(int16_t value) { littleEndian(static_cast<uint16_t>(value), 2); }
  void int32(int32_t value) { littleEndian(static_cast<uint32_t>(value), 4); }
  void bytes(std::string_view data) {
    if (data.size() > kCapacity - used_) {
      flush();
      if (data.size() > kCapacity) return writeLarge(data);
    }
    std::memcpy(buffer_.get() + used_, data.data(), data.size());
    used_ += data.size();
  }
  // Overwrites 4 bytes written earlier.
  void patchInt32(uint64_t offset, int32_t value);
  // Hands everything buffered to the sink.
  void flush();

 private:
  static constexpr size_t kCapacity = size_t{1} << 16;

  void littleEndian(uint64_t value, size_t size) {
    if (kCapacity - used_ < size) flush();
    for (size_t i = 0; i < size; ++i) buffer_[used_++] = static_cast<char>(value >> (8 * i));
  }
  void writeLarge(std::string_view data);

  ByteSink& sink_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  uint64_t flushed_ = 0;
};

}  // namespace qm
