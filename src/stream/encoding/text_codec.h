#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Text inside the program is UTF-8. These convert between it and the byte
// forms that the file holds.

bool isAscii(std::string_view text);
bool isValidUtf8(std::string_view text);
// The number of UTF-16 code units of `text`, or nullopt when it is not valid
// UTF-8; in one pass, for the writer.
std::optional<size_t> utf16LengthIfValid(std::string_view text);

// Bytes of an 8-bit text (short and long texts, node titles): valid UTF-8
// sequences are kept, every other byte is read as Windows-1252, whose unused
// bytes become the C1 controls of the same number. Replaces `out`.
void decodeEightBitText(std::string_view bytes, std::string& out);

// UTF-8 from a file: each maximal invalid subpart becomes one U+FFFD.
// Replaces `out`.
void decodeUtf8Text(std::string_view bytes, std::string& out);

// UTF-16LE code units (2 bytes each): unpaired surrogates become U+FFFD.
// Replaces `out`.
void decodeUtf16LeText(std::string_view bytes, std::string& out);

// Number of UTF-16 code units of valid UTF-8 text.
size_t utf16Length(std::string_view utf8);
// Appends the UTF-16LE code units of valid UTF-8 text.
void appendUtf16Le(std::string_view utf8, std::string& out);

// The longest prefix of at most maxBytes that does not end inside a UTF-8
// character.
std::string_view cutAtCharacter(std::string_view text, size_t maxBytes);

}  // namespace qm
