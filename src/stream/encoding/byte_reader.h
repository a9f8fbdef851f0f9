#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

// Where a ByteReader's bytes come from when they are not all in memory from
// the start: a file read as the reader goes. The bytes sit at fixed addresses
// (data()), so a view handed out stays valid, until the reader declares the
// bytes before a point no longer needed (release), after which the source
// may give their memory back.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual const char* data() const = 0;
  virtual size_t size() const = 0;
  // Bytes [0, filled()) are in memory.
  virtual size_t filled() const = 0;
  // Brings bytes up to `end` (at most size()) into memory, or as many as
  // there are; raises "Stream read error" when reading fails.
  virtual void fill(size_t end) = 0;
  // Bytes in [from, before) will not be read again.
  virtual void release(size_t /*from*/, size_t /*before*/) {}
};

// Reads little-endian values from bytes held in memory. Every read is checked
// against the bytes left and fails with "Stream read error", so nothing is
// allocated for a length that the input cannot hold.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes)
      : data_(bytes.data()), end_(bytes.size()), filled_(bytes.size()) {}
  explicit ByteReader(ByteSource& source)
      : data_(source.data()), end_(source.size()), filled_(source.filled()), source_(&source) {}
  // The next `length` bytes of `outer` (which must hold them), read on their
  // own; `outer` does not move.
  ByteReader(const ByteReader& outer, size_t length)
      : data_(outer.data_),
        pos_(outer.pos_),
        end_(outer.pos_ + length),
        filled_(std::min(outer.filled_, outer.pos_ + length)),
        source_(outer.source_),
        releaseFloor_(outer.pos_) {}

  size_t position() const { return pos_; }
  size_t remaining() const { return end_ - pos_; }

  uint8_t peekByte() {
    need(1);
    return static_cast<uint8_t>(data_[pos_]);
  }
  uint8_t readByte() {
    need(1);
    return static_cast<uint8_t>(data_[pos_++]);
  }
  int16_t readInt16() { return static_cast<int16_t>(readUnsigned(2)); }
  int32_t readInt32() { return static_cast<int32_t>(readUnsigned(4)); }
  uint64_t readUnsigned(size_t size);
  // Valid until release() passes it.
  std::string_view readBytes(size_t size) {
    need(size);
    std::string_view out(data_ + pos_, size);
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

  // Nothing before the current position will be read again (nor any view of
  // it used); a reader of part of another never gives up what lies before
  // its part.
  void release() {
    if (source_ != nullptr) source_->release(releaseFloor_, pos_);
  }

  [[noreturn]] static void fail();

 private:
  void need(size_t size) {
    if (size > filled_ - pos_) fillFor(size);
  }
  void fillFor(size_t size);

  const char* data_;
  size_t pos_ = 0;
  size_t end_;
  size_t filled_;  // never beyond end_ in a reader of memory; pos_ <= filled_ always
  ByteSource* source_ = nullptr;
  size_t releaseFloor_ = 0;
};

// Little-endian value of `size` bytes at `at` (size 1..8).
inline uint64_t loadLittleEndian(const char* at, size_t size) {
  uint64_t value = 0;
  for (size_t i = 0; i < size; ++i) value |= uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
  return value;
}

}  // namespace qm
