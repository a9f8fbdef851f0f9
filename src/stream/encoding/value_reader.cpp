#include "stream/encoding/value_reader.h"

#include <vector>

#include "model/error.h"
#include "model/name_index.h"
#include "stream/encoding/extended_float.h"
#include "stream/encoding/text_codec.h"

namespace qm {

void ValueReader::invalid() { raise("Invalid property value"); }

int32_t ValueReader::integerAfter(ValueTag tag) {
  switch (tag) {
    case ValueTag::kInt8:
      return static_cast<int8_t>(in_.readByte());
    case ValueTag::kInt16:
      return in_.readInt16();
    case ValueTag::kInt32:
      return in_.readInt32();
    default:
      invalid();
  }
}

int32_t ValueReader::integer() { return integerAfter(readTag()); }

int32_t ValueReader::namedInteger(std::span<const NamedValue> names) {
  ValueTag tag = readTag();
  if (tag != ValueTag::kIdentifier) return integerAfter(tag);
  std::string_view name = in_.readShortString();
  for (const NamedValue& named : names)
    if (equalsIgnoringAsciiCase(name, named.name)) return named.value;
  invalid();
}

std::string_view ValueReader::identifierAfter(ValueTag tag) {
  switch (tag) {
    case ValueTag::kIdentifier:
      return in_.readShortString();
    case ValueTag::kFalse:
      return "False";
    case ValueTag::kTrue:
      return "True";
    case ValueTag::kNil:
      return "nil";
    case ValueTag::kNull:
      return "Null";
    default:
      invalid();
  }
}

std::optional<size_t> ValueReader::enumeration(std::span<const std::string_view> names) {
  std::string_view name = identifierAfter(readTag());
  size_t index = 0;
  for (std::string_view candidate : names) {
    if (equalsIgnoringAsciiCase(name, candidate)) return index;
    ++index;
  }
  return std::nullopt;
}

double ValueReader::floatingPoint() {
  ValueTag tag = readTag();
  if (tag != ValueTag::kExtended) return integerAfter(tag);
  ExtendedBytes bytes;
  std::string_view raw = in_.readBytes(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(raw[i]);
  return fromExtended(bytes);
}

std::string_view ValueReader::textAsUtf8() {
  std::string_view raw;
  switch (readTag()) {
    case ValueTag::kShortText:
      raw = in_.readShortString();
      break;
    case ValueTag::kLongText:
      raw = in_.readBytes(in_.readCount());
      break;
    case ValueTag::kUtf8Text:
      raw = in_.readBytes(in_.readCount());
      if (isValidUtf8(raw)) return raw;
      decodeUtf8Text(raw, scratch_);
      return scratch_;
    case ValueTag::kWideText:
      decodeUtf16LeText(in_.readBytes(2 * in_.readCount(2)), scratch_);
      return scratch_;
    default:
      invalid();
  }
  if (isValidUtf8(raw)) return raw;
  decodeEightBitText(raw, scratch_);
  return scratch_;
}

void ValueReader::text(std::string& out) { out.assign(textAsUtf8()); }

void ValueReader::text(CompactText& out) { out = textAsUtf8(); }

ReferenceValue ValueReader::reference() {
  switch (readTag()) {
    case ValueTag::kNil:
      return {true, {}};
    case ValueTag::kIdentifier:
      return {false, in_.readShortString()};
    default:
      invalid();
  }
}

std::string_view ValueReader::binary() { return in_.readBytes(binaryLength()); }

size_t ValueReader::binaryLength() {
  if (readTag() != ValueTag::kBinary) invalid();
  return in_.readCount();
}

void ValueReader::integerPair(int32_t& first, int32_t& second) {
  if (readTag() != ValueTag::kList) invalid();
  first = integer();
  second = integer();
  if (readTag() != ValueTag::kNull) invalid();
}

void ValueReader::skip() {
  // What is open around the value being skipped: a list or set of values,
  // a collection, or the property list of a collection item.
  enum class Open : uint8_t { kValues, kItems, kItemProperties };
  std::vector<Open> open;
  auto skipOne = [&](ValueTag tag) {
    switch (tag) {
      case ValueTag::kNull:
      case ValueTag::kFalse:
      case ValueTag::kTrue:
      case ValueTag::kNil:
        return;
      case ValueTag::kInt8:
        return in_.skip(1);
      case ValueTag::kInt16:
        return in_.skip(2);
      case ValueTag::kInt32:
      case ValueTag::kSingle:
        return in_.skip(4);
      case ValueTag::kCurrency:
      case ValueTag::kDate:
      case ValueTag::kInt64:
        return in_.skip(8);
      case ValueTag::kExtended:
        return in_.skip(10);
      case ValueTag::kShortText:
      case ValueTag::kIdentifier:
        return in_.skip(in_.readByte());
      case ValueTag::kBinary:
      case ValueTag::kLongText:
      case ValueTag::kUtf8Text:
        return in_.skip(in_.readCount());
      case ValueTag::kWideText:
        return in_.skip(2 * in_.readCount(2));
      case ValueTag::kSet:
        while (size_t length = in_.readByte()) in_.skip(length);
        return;
      case ValueTag::kList:
        return open.push_back(Open::kValues);
      case ValueTag::kCollection:
        return open.push_back(Open::kItems);
    }
    invalid();  // a tag no stream uses
  };

  skipOne(readTag());
  while (!open.empty()) {
    if (in_.peekByte() == 0) {
      in_.skip(1);
      open.pop_back();
      continue;
    }
    switch (open.back()) {
      case Open::kValues:
        skipOne(readTag());
        break;
      case Open::kItems: {
        // An item: an optional integer (its index), then a property list.
        ValueTag tag = readTag();
        if (tag == ValueTag::kInt8 || tag == ValueTag::kInt16 || tag == ValueTag::kInt32) {
          integerAfter(tag);
          tag = readTag();
        }
        if (tag != ValueTag::kList) invalid();
        open.push_back(Open::kItemProperties);
        break;
      }
      case Open::kItemProperties:
        in_.skip(in_.readByte());  // property name
        skipOne(readTag());
        break;
    }
  }
}

}  // namespace qm
