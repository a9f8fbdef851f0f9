#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qm {

// Where written bytes go: memory, a file, or (in tests) a place that fails.
// Failures raise "Stream write error".
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends at the end.
  virtual void write(const char* data, size_t size) = 0;
  // Overwrites bytes already written (the size fields that are known last).
  virtual void writeAt(uint64_t offset, const char* data, size_t size) = 0;
};

class MemorySink : public ByteSink {
 public:
  MemorySink() = default;
  // Reserves room for about `expectedSize` bytes up front, so that the bytes
  // are not copied as they grow; room that is never written costs address
  // space only.
  explicit MemorySink(size_t expectedSize) { bytes_.reserve(expectedSize); }
  void write(const char* data, size_t size) override { bytes_.append(data, size); }
  void writeAt(uint64_t offset, const char* data, size_t size) override;
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace qm
