#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace qm::cli {

// The pieces of an iCalendar file (RFC 5545) that need care.

// A TEXT value: backslash, semicolon and comma escaped, each line break (CR
// LF, CR or LF) as "\n"; other control characters, which TEXT may not hold,
// become spaces, and bytes that are not UTF-8 become U+FFFD.
std::string icsText(std::string_view text);

// Writes one content line, folded so that no line passes 75 octets, never
// inside a UTF-8 character or an escape, each line ending in CR LF.
void writeContentLine(std::ostream& out, std::string_view line);

// A DATE value, "YYYYMMDD", for a day (days from 1899-12-30); nullopt for a
// year the form cannot hold (before 0 or after 9999).
std::optional<std::string> icsDate(int64_t day);
// A UTC DATE-TIME value, "YYYYMMDDTHHMMSSZ", for seconds since 1970-01-01
// UTC, held within years 0 to 9999.
std::string icsUtcDateTime(int64_t unixSeconds);

}  // namespace qm::cli
