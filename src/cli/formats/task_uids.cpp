#include "cli/formats/task_uids.h"

#include <cstdio>

namespace qm::cli {
namespace {

// FNV-1a by hand: std::hash may differ between systems and library
// versions, and a UID must not.
constexpr uint64_t kFnvBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

uint64_t fnvBytes(uint64_t hash, std::string_view bytes) {
  for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
  return hash;
}

// Little-endian bytes of a number, so that every system hashes the same.
uint64_t fnvNumber(uint64_t hash, uint64_t number) {
  for (int i = 0; i < 8; ++i, number >>= 8) hash = (hash ^ (number & 0xff)) * kFnvPrime;
  return hash;
}

// FNV-1a alone changes few high bits for a change in the last byte; this
// finish (SplitMix64's) spreads every bit over the whole UID.
uint64_t mixed(uint64_t hash) {
  hash = (hash ^ (hash >> 30)) * 0xbf58476d1ce4e5b9ull;
  hash = (hash ^ (hash >> 27)) * 0x94d049bb133111ebull;
  return hash ^ (hash >> 31);
}

}  // namespace

const std::string& TaskUids::next(const TreeNode& task, size_t depth) {
  path_.resize(depth - 1);
  auto& siblingTitles = path_.empty() ? topTitles_ : path_.back().childTitles;
  uint32_t occurrence = ++siblingTitles[task.text()];
  // The title's length first, so that no two paths hash the same bytes.
  uint64_t hash = fnvNumber(path_.empty() ? kFnvBasis : path_.back().hash, task.text().size());
  hash = fnvNumber(fnvBytes(hash, task.text()), occurrence);
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(mixed(hash)));
  path_.push_back({hash, std::string(hex) + "@quillmark", {}});
  return path_.back().uid;
}

const std::string& TaskUids::parentUid() const {
  static const std::string none;
  return path_.size() < 2 ? none : path_[path_.size() - 2].uid;
}

}  // namespace qm::cli
