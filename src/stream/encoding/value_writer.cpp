#include "stream/encoding/value_writer.h"

#include <cstdint>
#include <limits>

#include "model/error.h"
#include "model/name_index.h"
#include "stream/encoding/extended_float.h"
#include "stream/encoding/text_codec.h"

namespace qm {

void ValueWriter::shortString(std::string_view text) {
  if (text.size() > 255) text = text.substr(0, 255);
  out_.byte(static_cast<uint8_t>(text.size()));
  out_.bytes(text);
}

void ValueWriter::count(size_t value) {
  if (value > static_cast<size_t>(std::numeric_limits<int32_t>::max())) raise("Stream write error");
  out_.int32(static_cast<int32_t>(value));
}

void ValueWriter::integer(int32_t value) {
  if (value >= -128 && value <= 127) {
    tag(ValueTag::kInt8);
    out_.byte(static_cast<uint8_t>(value));
  } else if (value >= -32768 && value <= 32767) {
    tag(ValueTag::kInt16);
    out_.int16(static_cast<int16_t>(value));
  } else {
    tag(ValueTag::kInt32);
    out_.int32(value);
  }
}

void ValueWriter::identifier(std::string_view name) {
  if (equalsIgnoringAsciiCase(name, "False")) return tag(ValueTag::kFalse);
  if (equalsIgnoringAsciiCase(name, "True")) return tag(ValueTag::kTrue);
  if (equalsIgnoringAsciiCase(name, "nil")) return tag(ValueTag::kNil);
  if (equalsIgnoringAsciiCase(name, "Null")) return tag(ValueTag::kNull);
  tag(ValueTag::kIdentifier);
  shortString(name);
}

void ValueWriter::extended(double value) {
  tag(ValueTag::kExtended);
  ExtendedBytes bytes = toExtended(value);
  out_.bytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void ValueWriter::text(std::string_view utf8) {
  if (!isAscii(utf8)) return nonAsciiText(utf8);
  if (utf8.size() <= 255) {
    tag(ValueTag::kShortText);
    out_.byte(static_cast<uint8_t>(utf8.size()));
  } else {
    tag(ValueTag::kLongText);
    count(utf8.size());
  }
  out_.bytes(utf8);
}

void ValueWriter::nonAsciiText(std::string_view utf8) {
  std::string repaired;
  std::optional<size_t> validUnits = utf16LengthIfValid(utf8);
  if (!validUnits) {  // only text set from outside could be broken
    decodeUtf8Text(utf8, repaired);
    utf8 = repaired;
  }
  size_t units = validUnits ? *validUnits : utf16Length(utf8);
  if (utf8.size() < 2 * units) {
    tag(ValueTag::kUtf8Text);
    count(utf8.size());
    out_.bytes(utf8);
    return;
  }
  tag(ValueTag::kWideText);
  count(units);
  scratch_.clear();
  appendUtf16Le(utf8, scratch_);
  out_.bytes(scratch_);
}

uint64_t ValueWriter::beginBinary() {
  tag(ValueTag::kBinary);
  uint64_t mark = out_.position();
  out_.int32(0);
  return mark;
}

void ValueWriter::endBinary(uint64_t mark) {
  uint64_t size = out_.position() - mark - 4;
  if (size > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) raise("Stream write error");
  out_.patchInt32(mark, static_cast<int32_t>(size));
}

}  // namespace qm
