#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "stream/encoding/byte_writer.h"
#include "stream/encoding/value_tag.h"

namespace qm {

// Writes the grammar of a component stream: short strings, tagged values in
// the smallest encoding the value allows, and list ends.
class ValueWriter {
 public:
  explicit ValueWriter(ByteWriter& out) : out_(out) {}

  ByteWriter& bytes() { return out_; }

  // A length byte and at most the first 255 bytes.
  void shortString(std::string_view text);
  void endOfList() { out_.byte(0); }

  void integer(int32_t value);
  // Tag 7 and the name, except that False, True, nil and Null (any letter
  // case) are the bare tags 8, 9, 13 and 0.
  void identifier(std::string_view name);
  void extended(double value);
  // ASCII as short or long text; otherwise UTF-8 or UTF-16LE, whichever the
  // length rule picks.
  void text(std::string_view utf8);

  // Tag 10 and a length filled in by endBinary; returns the mark to pass.
  uint64_t beginBinary();
  void endBinary(uint64_t mark);

 private:
  void tag(ValueTag t) { out_.byte(static_cast<uint8_t>(t)); }
  void count(size_t value);
  void nonAsciiText(std::string_view utf8);

  ByteWriter& out_;
  std::string scratch_;
};

}  // namespace qm
