#include "model/text_match.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace qm {
namespace {

struct FoldRun {
  char32_t first;
  char32_t last;
  int32_t distance;  // from a code point to its folding
  uint8_t stride;    // 2: only every other code point from first folds
};

constexpr FoldRun kFoldRuns[] = {
#include "model/case_folding_table.inc"
};

// A byte outside a well-formed character reads as a value beyond Unicode,
// so that it equals only itself.
constexpr char32_t kStrayByte = 0x110000;

char32_t foldedRunMember(const FoldRun& run, char32_t code) {
  if (code < run.first || code > run.last || (code - run.first) % run.stride != 0) return code;
  return static_cast<char32_t>(static_cast<int32_t>(code) + run.distance);
}

// Decodes the character at p (p < end) and steps over it.
char32_t decode(const unsigned char*& p, const unsigned char* end) {
  unsigned lead = *p;
  if (lead < 0x80) {
    ++p;
    return lead;
  }
  size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || static_cast<size_t>(end - p) < length) {
    ++p;
    return kStrayByte + lead;
  }
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80) {
      ++p;
      return kStrayByte + lead;
    }
    code = (code << 6) | (p[i] & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++p;
    return kStrayByte + lead;
  }
  p += length;
  return code;
}

// The bytes of a code point, or the stray byte it stands for.
std::string utf8Of(char32_t code) {
  if (code >= kStrayByte) return std::string(1, static_cast<char>(code - kStrayByte));
  std::string bytes;
  auto put = [&](char32_t byte) { bytes += static_cast<char>(byte); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | (code >> 6));
    put(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    put(0xE0 | (code >> 12));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | (code >> 18));
    put(0x80 | ((code >> 12) & 0x3F));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  }
  return bytes;
}

char32_t foldDecoded(char32_t code) {
  if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + 32 : code;
  return code >= kStrayByte ? code : foldCase(code);
}

constexpr uint64_t kLowBits = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;

// A folded character and every other that folds to it.
std::vector<char32_t> sourcesOf(char32_t folded) {
  std::vector<char32_t> sources{folded};
  if (folded >= kStrayByte) return sources;
  for (const FoldRun& run : kFoldRuns) {
    auto source = static_cast<char32_t>(static_cast<int32_t>(folded) - run.distance);
    if (source != folded && foldedRunMember(run, source) == folded) sources.push_back(source);
  }
  return sources;
}

}  // namespace

char32_t foldCase(char32_t code) {
  auto after = std::upper_bound(std::begin(kFoldRuns), std::end(kFoldRuns), code,
                                [](char32_t c, const FoldRun& run) { return c < run.first; });
  return after == std::begin(kFoldRuns) ? code : foldedRunMember(*(after - 1), code);
}

TextMatcher::TextMatcher(std::string_view text) {
  auto* p = reinterpret_cast<const unsigned char*>(text.data());
  auto* end = p + text.size();
  while (p < end) folded_ += foldDecoded(decode(p, end));
  if (folded_.empty()) return;
  // Every spelling of the first character, and then of the second.
  std::u32string firstBytes;
  std::u32string secondBytes;
  bool anySecond = false;
  for (char32_t source : sourcesOf(folded_[0])) {
    std::string bytes = utf8Of(source);
    isStart_[static_cast<unsigned char>(bytes[0])] = true;
    firstBytes += static_cast<unsigned char>(bytes[0]);
    if (bytes.size() > 1) {
      secondBytes += static_cast<unsigned char>(bytes[1]);
    } else if (folded_.size() > 1) {
      for (char32_t next : sourcesOf(folded_[1])) secondBytes += static_cast<unsigned char>(utf8Of(next)[0]);
    } else {
      anySecond = true;
    }
  }
  first_ = pairUp(firstBytes);
  if (!anySecond) second_ = pairUp(secondBytes);
  if constexpr (std::endian::native == std::endian::little) {
    static constexpr Scan kScans[3][3] = {
        {nullptr, nullptr, nullptr},
        {&TextMatcher::scanWords<1, 0>, &TextMatcher::scanWords<1, 1>, &TextMatcher::scanWords<1, 2>},
        {&TextMatcher::scanWords<2, 0>, &TextMatcher::scanWords<2, 1>, &TextMatcher::scanWords<2, 2>}};
    if (first_.count >= 1 && first_.count <= BytePairs::kMax && second_.count <= BytePairs::kMax)
      nextCandidate_ = kScans[first_.count][second_.count];
  }
}

TextMatcher::BytePairs TextMatcher::pairUp(std::u32string bytes) {
  std::sort(bytes.begin(), bytes.end());
  bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
  BytePairs pairs;
  while (!bytes.empty()) {
    char32_t byte = bytes.back();
    bytes.pop_back();
    char32_t freeBit = 0;
    auto partner =
        std::find_if(bytes.begin(), bytes.end(), [&](char32_t b) { return std::has_single_bit(b ^ byte); });
    if (partner != bytes.end()) {
      freeBit = *partner ^ byte;
      bytes.erase(partner);
    }
    if (pairs.count < BytePairs::kMax) {
      pairs.values[pairs.count] = kLowBits * (byte | freeBit);
      pairs.freeBits[pairs.count] = kLowBits * freeBit;
    }
    ++pairs.count;
  }
  return pairs;
}

namespace {

// A flag in the top bit of each byte of the word that is one of the pairs':
// such a byte leaves a zero byte when its free bit is set and it is xor-ed
// with the pair. A byte above a flagged one may be flagged wrongly; the
// lowest never is. No branches, which a text's bytes would make
// unforeseeable.
template <size_t Pairs>
uint64_t flagsOf(const std::array<uint64_t, 2>& values, const std::array<uint64_t, 2>& freeBits,
                 uint64_t word) {
  uint64_t flagged = 0;
  for (size_t i = 0; i < Pairs; ++i) {
    uint64_t v = (word | freeBits[i]) ^ values[i];
    flagged |= (v - kLowBits) & ~v;
  }
  return flagged & kHighBits;
}

}  // namespace

// Byte i of the word is a candidate when it is a first byte and byte i + 1 a
// second one; the last byte's follower lies beyond the word, so it passes.
template <size_t FirstPairs, size_t SecondPairs>
uint64_t TextMatcher::candidatesIn(uint64_t word) const {
  constexpr uint64_t kLastByte = 0x80ull << 56;
  uint64_t first = flagsOf<FirstPairs>(first_.values, first_.freeBits, word);
  if constexpr (SecondPairs == 0) return first;
  return first & ((flagsOf<SecondPairs>(second_.values, second_.freeBits, word) >> 8) | kLastByte);
}

template <size_t FirstPairs, size_t SecondPairs>
const unsigned char* TextMatcher::scanWords(const unsigned char* begin, const unsigned char* p,
                                            const unsigned char* end) const {
  auto firstIn = [](uint64_t candidates, const unsigned char* at) {
    return at + std::countr_zero(candidates) / 8;
  };
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if (uint64_t candidates = candidatesIn<FirstPairs, SecondPairs>(word)) return firstIn(candidates, p);
  }
  if (p == end) return end;
  // The last bytes: the text's last eight, less those already passed; or,
  // in a shorter text, the bytes that are left, padded.
  auto rest = static_cast<size_t>(end - p);
  uint64_t word = 0;
  if (end - begin >= 8) {
    std::memcpy(&word, end - 8, 8);
    uint64_t candidates =
        candidatesIn<FirstPairs, SecondPairs>(word) & ~((uint64_t{1} << (8 * (8 - rest))) - 1);
    return candidates != 0 ? firstIn(candidates, end - 8) : end;
  }
  for (size_t i = 0; i < rest; ++i) word |= uint64_t{p[i]} << (8 * i);
  uint64_t candidates = candidatesIn<FirstPairs, SecondPairs>(word) & ((uint64_t{1} << (8 * rest)) - 1);
  return candidates != 0 ? firstIn(candidates, p) : end;
}

const unsigned char* TextMatcher::scanBytes(const unsigned char* /*begin*/, const unsigned char* p,
                                            const unsigned char* end) const {
  while (p < end && !isStart_[*p]) ++p;
  return p;
}

const unsigned char* TextMatcher::matchEndingAt(const unsigned char* p, const unsigned char* end) const {
  for (char32_t wanted : folded_) {
    if (p == end) return nullptr;
    if (*p < 0x80 ? foldDecoded(*p++) != wanted : foldDecoded(decode(p, end)) != wanted) return nullptr;
  }
  return p;
}

std::optional<TextMatcher::Match> TextMatcher::firstIn(std::string_view text, size_t from) const {
  if (folded_.empty() || from >= text.size()) return std::nullopt;
  auto* begin = reinterpret_cast<const unsigned char*>(text.data());
  auto* end = begin + text.size();
  for (auto* p = (this->*nextCandidate_)(begin, begin + from, end); p < end;
       p = (this->*nextCandidate_)(begin, p + 1, end))
    if (const unsigned char* matchEnd = matchEndingAt(p, end))
      return Match{static_cast<size_t>(p - begin), static_cast<size_t>(matchEnd - begin)};
  return std::nullopt;
}

}  // namespace qm
