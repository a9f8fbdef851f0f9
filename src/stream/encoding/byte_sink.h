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
  MemorySink() : bytes_(own_) {}
  // Reserves room for about `expectedSize` bytes up front, so that the bytes
  // are not copied as they grow; room that is never written costs address
  // space only.
  explicit MemorySink(size_t expectedSize) : MemorySink() { own_.reserve(expectedSize); }
  // Writes into `target`, emptied first: memory it holds already is reused.
  explicit MemorySink(std::string& target) : bytes_(target) { target.clear(); }
  MemorySink(const MemorySink&) = delete;
  MemorySink& operator=(const MemorySink&) = delete;

  void write(const char* data, size_t size) override { bytes_.append(data, size); }
  void writeAt(uint64_t offset, const char* data, size_t size) override;
  std::string& bytes() { return bytes_; }

 private:
  std::string own_;
  std::string& bytes_;
};

}  // namespace qm
