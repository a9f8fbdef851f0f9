#include "stream/files/file_fingerprint.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace qm {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

constexpr uint64_t kPrime = 0x100000001b3ull;

// FNV-1a over 8-byte words: a word at a time hashes a 150 MB list in a
// tenth of the time a byte at a time takes; this is no defence against
// tampering, only a check for other writers.
std::optional<uint64_t> hashOf(const std::string& fileName) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return std::nullopt;
  FingerprintHash hash;
  std::vector<char> buffer(1 << 20);
  size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) hash.add(buffer.data(), got);
  if (std::ferror(file.get())) return std::nullopt;
  return hash.finish();
}

}  // namespace

void FingerprintHash::add(const char* bytes, size_t size) {
  auto addWord = [this](const void* word) {
    uint64_t value;
    std::memcpy(&value, word, 8);
    hash_ = (hash_ ^ value) * kPrime;
  };
  while (pendingSize_ > 0 && pendingSize_ < 8 && size > 0) {
    pending_[pendingSize_++] = static_cast<unsigned char>(*bytes++);
    --size;
  }
  if (pendingSize_ == 8) {
    addWord(pending_);
    pendingSize_ = 0;
  }
  size_t i = 0;
  for (; i + 8 <= size; i += 8) addWord(bytes + i);
  for (; i < size; ++i) pending_[pendingSize_++] = static_cast<unsigned char>(bytes[i]);
}

uint64_t FingerprintHash::finish() {
  for (size_t i = 0; i < pendingSize_; ++i) hash_ = (hash_ ^ pending_[i]) * kPrime;
  pendingSize_ = 0;
  return hash_;
}

std::optional<FileFingerprint> sizeAndTimeOf(const std::string& fileName) {
  std::error_code error;
  const std::filesystem::path path(fileName);
  uint64_t size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  auto time = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return FileFingerprint{
      size, static_cast<int64_t>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count())};
}

std::optional<FileFingerprint> fingerprintOf(const std::string& fileName) {
  std::optional<FileFingerprint> now = sizeAndTimeOf(fileName);
  if (!now) return std::nullopt;
  std::optional<uint64_t> hash = hashOf(fileName);
  if (!hash) return std::nullopt;
  now->hash = *hash;
  return now;
}

bool changedSince(const std::string& fileName, const FileFingerprint& before) {
  std::optional<FileFingerprint> now = sizeAndTimeOf(fileName);
  if (!now) return false;
  if (now->size != before.size) return true;
  if (now->modified == before.modified) return false;
  std::optional<uint64_t> hash = hashOf(fileName);
  return !hash || *hash != before.hash;
}

}  // namespace qm
