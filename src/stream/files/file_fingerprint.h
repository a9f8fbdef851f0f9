#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qm {

// What a file was at one moment: its size, its modification time and a hash
// of its bytes. Two fingerprints of one file tell whether another program
// has written it in between: size or time must differ, and the hash confirms
// it (a copy that restores the same bytes with a new time is no change).
struct FileFingerprint {
  uint64_t size = 0;
  int64_t modified = 0;  // nanoseconds of the file clock
  uint64_t hash = 0;

  bool operator==(const FileFingerprint&) const = default;
};

// The hash of a fingerprint, fed the file's bytes in order in pieces of any
// size: FNV-1a over 8-byte words, then the last bytes one at a time.
class FingerprintHash {
 public:
  void add(const char* bytes, size_t size);
  uint64_t finish();

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
  unsigned char pending_[8] = {};  // the start of a word split between pieces
  size_t pendingSize_ = 0;
};

// The file's size and time now; nullopt when it does not exist.
std::optional<FileFingerprint> sizeAndTimeOf(const std::string& fileName);

// The file's fingerprint now; nullopt when it does not exist or cannot be
// read. Reads the whole file.
std::optional<FileFingerprint> fingerprintOf(const std::string& fileName);

// Whether the file now differs from `before`; a file that is gone does not
// count as changed. Reads the file only when size and time leave it open.
bool changedSince(const std::string& fileName, const FileFingerprint& before);

}  // namespace qm
