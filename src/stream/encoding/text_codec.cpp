#include "stream/encoding/text_codec.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace qm {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 for 0x80..0x9F; the five unused bytes map to the C1 control of
// the same number, so every byte has a character.
constexpr char16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the well-formed UTF-8 sequence at `pos` (1 to 4), or, when it is
// ill-formed, 0 with `subpart` set to the length of its maximal subpart
// (at least 1): the bytes that start a sequence but cannot be completed.
size_t sequenceAt(std::string_view s, size_t pos, size_t& subpart) {
  auto lead = static_cast<unsigned char>(s[pos]);
  subpart = 1;
  if (lead < 0x80) return 1;
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (size_t i = 1; i < length; ++i) {
    if (pos + i >= s.size()) return 0;
    auto b = static_cast<unsigned char>(s[pos + i]);
    if (b < low || b > high) return 0;
    low = 0x80;
    high = 0xBF;
    subpart = i + 1;
  }
  return length;
}

// Eight bytes from `at` with the top bit of each byte kept: zero for ASCII.
uint64_t highBits(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, 8);
  return word & 0x8080808080808080ull;
}

size_t asciiPrefixLength(std::string_view s) {
  if constexpr (std::endian::native == std::endian::little) {
    // Eight bytes at a time; the first byte with its top bit set is found
    // from the word's bits. The last word overlaps bytes already found to
    // be ASCII, which add no bits.
    if (s.size() >= 8) {
      for (size_t i = 0;; i += 8) {
        if (i + 8 > s.size()) i = s.size() - 8;
        if (uint64_t high = highBits(s.data() + i))
          return i + static_cast<size_t>(std::countr_zero(high)) / 8;
        if (i + 8 == s.size()) return s.size();
      }
    }
  }
  size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

char32_t decodeSequence(std::string_view s, size_t pos, size_t length) {
  auto byte = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(s[pos + i])); };
  switch (length) {
    case 1:
      return byte(0);
    case 2:
      return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3:
      return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default:
      return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
  }
}

}  // namespace

bool isAscii(std::string_view text) { return asciiPrefixLength(text) == text.size(); }

bool isValidUtf8(std::string_view text) {
  size_t subpart;
  // Mostly ASCII with a few other characters: the fast scan resumes after each.
  for (size_t i = 0;;) {
    i += asciiPrefixLength(text.substr(i));
    if (i == text.size()) return true;
    size_t length = sequenceAt(text, i, subpart);
    if (length == 0) return false;
    i += length;
  }
}

std::optional<size_t> utf16LengthIfValid(std::string_view text) {
  size_t units = 0;
  size_t subpart;
  for (size_t i = 0;;) {
    size_t ascii = asciiPrefixLength(text.substr(i));
    units += ascii;
    i += ascii;
    if (i == text.size()) return units;
    size_t length = sequenceAt(text, i, subpart);
    if (length == 0) return std::nullopt;
    units += length == 4 ? 2 : 1;
    i += length;
  }
}

void decodeEightBitText(std::string_view bytes, std::string& out) {
  if (isValidUtf8(bytes)) {
    out.assign(bytes);
    return;
  }
  out.clear();
  out.reserve(bytes.size() * 2);
  size_t subpart;
  for (size_t i = 0; i < bytes.size();) {
    size_t length = sequenceAt(bytes, i, subpart);
    if (length > 0) {
      out.append(bytes.substr(i, length));
      i += length;
      continue;
    }
    auto b = static_cast<unsigned char>(bytes[i++]);
    appendUtf8(b < 0xA0 ? kWindows1252High[b - 0x80] : b, out);
  }
}

void decodeUtf8Text(std::string_view bytes, std::string& out) {
  if (isValidUtf8(bytes)) {
    out.assign(bytes);
    return;
  }
  out.clear();
  out.reserve(bytes.size() + bytes.size() / 2);
  size_t subpart;
  for (size_t i = 0; i < bytes.size();) {
    size_t length = sequenceAt(bytes, i, subpart);
    if (length > 0) {
      out.append(bytes.substr(i, length));
      i += length;
    } else {
      appendUtf8(kReplacement, out);
      i += subpart;
    }
  }
}

void decodeUtf16LeText(std::string_view bytes, std::string& out) {
  size_t units = bytes.size() / 2;
  auto unit = [&](size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  out.clear();
  out.reserve(units * 3);
  for (size_t i = 0; i < units; ++i) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    appendUtf8(c, out);
  }
}

size_t utf16Length(std::string_view utf8) {
  size_t units = 0;
  // Without branches, so that the compiler can vectorise the loop.
  for (unsigned char b : utf8)
    units += static_cast<size_t>((b & 0xC0) != 0x80)  // one unit per character...
             + static_cast<size_t>(b >= 0xF0);        // ...two beyond the basic plane
  return units;
}

void appendUtf16Le(std::string_view utf8, std::string& out) {
  auto put = [&](char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
  };
  size_t subpart;
  for (size_t i = 0; i < utf8.size();) {
    size_t length = sequenceAt(utf8, i, subpart);
    if (length == 0) {  // not reached for valid text; keeps the count honest
      put(kReplacement);
      i += subpart;
      continue;
    }
    char32_t c = decodeSequence(utf8, i, length);
    i += length;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
}

std::string_view cutAtCharacter(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = maxBytes;
  // Step back over at most three continuation bytes to the start of the
  // character that would be cut.
  for (int steps = 0; steps < 3 && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80; ++steps)
    --end;
  if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) end = maxBytes;  // not UTF-8 here
  return text.substr(0, end);
}

}  // namespace qm
