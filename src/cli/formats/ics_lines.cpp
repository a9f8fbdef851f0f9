#include "cli/formats/ics_lines.h"

#include <algorithm>
#include <cstdio>

#include "model/day_count.h"
#include "stream/encoding/text_codec.h"

namespace qm::cli {
namespace {

constexpr size_t kMaxLineOctets = 75;
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01 in days from 1899-12-30

// The bytes from `at` that must stay on one line: an escape, or a UTF-8
// character (the text is valid UTF-8 by then).
size_t unitLength(std::string_view line, size_t at) {
  auto lead = static_cast<unsigned char>(line[at]);
  size_t length = lead == '\\' ? 2 : lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return std::min(length, line.size() - at);
}

}  // namespace

std::string icsText(std::string_view text) {
  std::string valid;
  if (!isValidUtf8(text)) {
    decodeUtf8Text(text, valid);
    text = valid;
  }
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      bool control = (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
      out += control ? ' ' : c;
    }
  }
  return out;
}

void writeContentLine(std::ostream& out, std::string_view line) {
  size_t room = kMaxLineOctets;  // on the current physical line
  while (line.size() > room) {
    size_t cut = 0;
    for (size_t unit; cut < line.size() && cut + (unit = unitLength(line, cut)) <= room;) cut += unit;
    out.write(line.data(), static_cast<std::streamsize>(cut));
    out.write("\r\n ", 3);
    line.remove_prefix(cut);
    room = kMaxLineOctets - 1;  // after the space that marks a fold
  }
  out.write(line.data(), static_cast<std::streamsize>(line.size()));
  out.write("\r\n", 2);
}

std::optional<std::string> icsDate(int64_t day) {
  CivilDate date = civilFromDays(day);
  if (date.year < 0 || date.year > 9999) return std::nullopt;
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
  return text;
}

std::string icsUtcDateTime(int64_t unixSeconds) {
  const int64_t first = (daysFromCivil({0, 1, 1}) - kUnixEpochDay) * kSecondsPerDay;
  const int64_t last = (daysFromCivil({10000, 1, 1}) - kUnixEpochDay) * kSecondsPerDay - 1;
  int64_t seconds = std::clamp(unixSeconds, first, last);
  int64_t day = seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
  int64_t ofDay = seconds - day * kSecondsPerDay;
  CivilDate date = civilFromDays(day + kUnixEpochDay);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", date.year, date.month, date.day,
                static_cast<int>(ofDay / 3600), static_cast<int>(ofDay / 60 % 60),
                static_cast<int>(ofDay % 60));
  return text;
}

}  // namespace qm::cli
