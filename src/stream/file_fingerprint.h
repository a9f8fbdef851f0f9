#pragma once

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

// The file's fingerprint now; nullopt when it does not exist or cannot be
// read. Reads the whole file.
std::optional<FileFingerprint> fingerprintOf(const std::string& fileName);

// Whether the file now differs from `before`; a file that is gone does not
// count as changed. Reads the file only when size and time leave it open.
bool changedSince(const std::string& fileName, const FileFingerprint& before);

}  // namespace qm
