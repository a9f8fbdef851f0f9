#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/compact_text.h"
#include "stream/encoding/byte_reader.h"
#include "stream/encoding/value_tag.h"

namespace qm {

// A name for an integer value (colours).
struct NamedValue {
  std::string_view name;
  int32_t value;
};

// An object reference as read: nil, or the name to resolve after reading.
struct ReferenceValue {
  bool isNil;
  std::string_view name;
};

// Reads one value of a component stream for a property of a known type,
// raising "Invalid property value" for a tag that the type does not accept,
// or skips a value of any kind.
class ValueReader {
 public:
  explicit ValueReader(ByteReader& in) : in_(in) {}

  ByteReader& bytes() { return in_; }

  // Tags 2, 3, 4, sign-extended.
  int32_t integer();
  // Tags 2, 3, 4, or an identifier that names one of `names` (ASCII case
  // ignored).
  int32_t namedInteger(std::span<const NamedValue> names);
  // Index of the element of `names` given by tags 7, 8, 9, 13 or 0 (ASCII
  // case ignored); nullopt for a name the type does not have.
  std::optional<size_t> enumeration(std::span<const std::string_view> names);
  // Tag 5, or tags 2, 3, 4 converted.
  double floatingPoint();
  // Tags 6, 12, 18, 20, converted to UTF-8 into `out`.
  void text(std::string& out);
  void text(CompactText& out);
  // Tags 13 and 7.
  ReferenceValue reference();
  // Tag 10: the block of bytes.
  std::string_view binary();
  // Tag 10 and the block's length; the reader stays at the block's start, for
  // a reader of the block alone (ByteReader(bytes(), length)), and must then
  // be moved past it.
  size_t binaryLength();
  // Tag 1 with two integers: a control's design size.
  void integerPair(int32_t& first, int32_t& second);

  // Skips one value of any kind, nested lists and collections included,
  // without recursion.
  void skip();

  [[noreturn]] static void invalid();

 private:
  ValueTag readTag() { return static_cast<ValueTag>(in_.readByte()); }
  int32_t integerAfter(ValueTag tag);
  std::string_view identifierAfter(ValueTag tag);
  // The text value as UTF-8: a view of the stream when it needs no
  // conversion, else of scratch_.
  std::string_view textAsUtf8();

  ByteReader& in_;
  std::string scratch_;
};

}  // namespace qm
