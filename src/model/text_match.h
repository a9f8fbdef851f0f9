#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// The simple case folding of a code point: "Σ", "σ" and "ς" all give "σ",
// "K" and the Kelvin sign give "k". Code points without one come back as
// they are.
char32_t foldCase(char32_t code);

// Finds one text inside others with letter case ignored, for every letter
// that has a simple case mapping; nothing else is ignored (no accents, no
// spaces, no normalisation). Texts are UTF-8; a byte that is not part of a
// well-formed character matches only the same byte.
class TextMatcher {
 public:
  explicit TextMatcher(std::string_view text);

  // The empty text, which is found nowhere.
  bool empty() const { return folded_.empty(); }
  bool foundIn(std::string_view text) const { return firstIn(text, 0).has_value(); }
  // The first match that begins at or after byte `from`, as the bytes
  // [begin, end) of text.
  struct Match {
    size_t begin;
    size_t end;
  };
  std::optional<Match> firstIn(std::string_view text, size_t from) const;

 private:
  // Byte values taken two at a time where they differ in one bit ("p" and
  // "P"), so that one test over a word finds either.
  struct BytePairs {
    static constexpr size_t kMax = 2;
    std::array<uint64_t, kMax> values{};    // with the free bit set; in every byte of a word
    std::array<uint64_t, kMax> freeBits{};  // in every byte of a word
    size_t count = 0;                       // beyond kMax: too many to test this way
  };
  static BytePairs pairUp(std::u32string bytes);

  using Scan = const unsigned char* (TextMatcher::*)(const unsigned char* begin, const unsigned char* p,
                                                     const unsigned char* end) const;
  // The first byte from p on where a match may begin, or end.
  template <size_t FirstPairs, size_t SecondPairs>
  const unsigned char* scanWords(const unsigned char* begin, const unsigned char* p,
                                 const unsigned char* end) const;
  template <size_t FirstPairs, size_t SecondPairs>
  uint64_t candidatesIn(uint64_t word) const;
  const unsigned char* scanBytes(const unsigned char* begin, const unsigned char* p,
                                 const unsigned char* end) const;
  // One past the match that begins at p, or nullptr.
  const unsigned char* matchEndingAt(const unsigned char* p, const unsigned char* end) const;

  std::u32string folded_;
  // Where a match can begin: the first byte, and the one after it, of any
  // spelling of the text's first characters. In most texts both are rare,
  // so most of a text is passed over eight bytes at a time.
  std::array<bool, 256> isStart_{};
  BytePairs first_;
  BytePairs second_;  // no pairs: any byte may follow
  Scan nextCandidate_ = &TextMatcher::scanBytes;
};

}  // namespace qm
