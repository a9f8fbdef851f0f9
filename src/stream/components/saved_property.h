#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "model/compact_text.h"
#include "model/component.h"
#include "stream/components/component_class.h"
#include "stream/components/component_names.h"
#include "stream/components/property_names.h"

namespace qm {

// How a saved property's value is spelt, in a stream and in qmk's JSON.
enum class Spelling : uint8_t {
  Name,         // the component's name: read, never written as a property
  Tag,          // the component's Tag
  Integer,      // int32_t, tags 2, 3, 4
  Short,        // int16_t, written as an integer; a wider value keeps its low half
  Date,         // double day count, extended float
  Text,         // UTF-8 text, written when not empty
  Enumeration,  // an enumeration by its element names (no field: read and dropped)
  Colour,       // int32_t, by name where it has one
  Reference,    // the name of an object, resolved once the stream is read
  Nested,       // an object with properties of its own, written by its class
  Pair,         // two integers, read and dropped
};

// An enumeration field of Object, read and written as its value's index.
template <class Object>
struct EnumMember {
  size_t (*get)(const Object&);
  void (*set)(Object&, size_t);
};
template <class Object, auto Member>
constexpr EnumMember<Object> enumMember() {
  using Enum = std::remove_cvref_t<decltype(std::declval<Object&>().*Member)>;
  return {[](const Object& o) { return static_cast<size_t>(o.*Member); },
          [](Object& o, size_t v) { o.*Member = static_cast<Enum>(v); }};
}

// One saved property of a class: every reader and writer of the class (the
// stream's and qmk's JSON) goes by this. Its field is the one member that the
// spelling uses; none for Name, Tag, Nested and Pair, or for an enumeration
// that is read and dropped.
template <class Object>
struct SavedProperty {
  std::string_view name;          // in a stream, ASCII case ignored when read
  std::string_view jsonKey = {};  // in qmk's JSON form; empty: not part of it
  Spelling spelling = Spelling::Name;
  // The default, which is not written; none: always written. Texts and
  // references are written when not empty.
  std::optional<double> omitted = std::nullopt;
  std::span<const std::string_view> names = {};  // an enumeration's, by value
  int32_t Object::*integer = nullptr;            // Integer, Colour
  int16_t Object::*shortInteger = nullptr;
  double Object::*date = nullptr;
  std::string Object::*text = nullptr;  // Text, Reference: one of the two
  CompactText Object::*compactText = nullptr;
  std::optional<EnumMember<Object>> enumeration = std::nullopt;

  std::string_view textIn(const Object& o) const {
    return text ? std::string_view(o.*text) : (o.*compactText).view();
  }
  void setText(Object& o, std::string_view value) const {
    if (text)
      o.*text = value;
    else
      o.*compactText = value;
  }
};

template <class Object>
const SavedProperty<Object>* findSaved(std::span<const SavedProperty<Object>> table, std::string_view name) {
  for (const SavedProperty<Object>& p : table)
    if (equalsIgnoringAsciiCase(p.name, name)) return &p;
  return nullptr;
}

// Reads the value of `p` into `component`, whose fields are `fields`.
template <class Object>
void readSaved(const SavedProperty<Object>& p, Component& component, Object& fields,
               const ComponentClass& owner, ReadContext& context) {
  ValueReader& in = context.values();
  switch (p.spelling) {
    case Spelling::Name: {
      std::string name;
      in.text(name);
      giveComponentName(component, name);
      break;
    }
    case Spelling::Tag:
      component.setTag(in.integer());
      break;
    case Spelling::Integer:
      fields.*p.integer = in.integer();
      break;
    case Spelling::Short:
      fields.*p.shortInteger = static_cast<int16_t>(in.integer());
      break;
    case Spelling::Date:
      fields.*p.date = in.floatingPoint();
      break;
    case Spelling::Text:
      if (p.text)
        in.text(fields.*p.text);
      else
        in.text(fields.*p.compactText);
      break;
    case Spelling::Enumeration:
      if (auto v = in.enumeration(p.names); v && p.enumeration) p.enumeration->set(fields, *v);
      break;
    case Spelling::Colour:
      fields.*p.integer = in.namedInteger(kColourNames);
      break;
    case Spelling::Reference: {
      ReferenceValue reference = in.reference();
      if (reference.isNil) p.setText(fields, {});
      context.deferReference({&component, &owner, p.name, reference});
      break;
    }
    case Spelling::Nested:
      ValueReader::invalid();  // only its properties can be read
    case Spelling::Pair: {
      int32_t first, second;
      in.integerPair(first, second);
      break;
    }
  }
}

// Writes the properties of `table` that differ from their defaults, in its
// order; `writeNested(p)` writes a Nested one.
template <class Object, class NestedWriter>
void writeSaved(std::span<const SavedProperty<Object>> table, const Component& component,
                const Object& fields, ValueWriter& out, NestedWriter&& writeNested) {
  for (const SavedProperty<Object>& p : table) {
    auto isDefault = [&](double value) { return p.omitted && *p.omitted == value; };
    auto named = [&]() -> ValueWriter& {
      out.shortString(p.name);
      return out;
    };
    switch (p.spelling) {
      case Spelling::Tag:
        if (component.tag() != 0) named().integer(component.tag());
        break;
      case Spelling::Integer:
      case Spelling::Short:
        if (int32_t value = p.integer ? fields.*p.integer : fields.*p.shortInteger; !isDefault(value))
          named().integer(value);
        break;
      case Spelling::Date:
        if (!isDefault(fields.*p.date)) named().extended(fields.*p.date);
        break;
      case Spelling::Text:
        if (!p.textIn(fields).empty()) named().text(p.textIn(fields));
        break;
      case Spelling::Reference:
        if (!p.textIn(fields).empty()) named().identifier(p.textIn(fields));
        break;
      case Spelling::Enumeration:
        if (p.enumeration && !isDefault(static_cast<double>(p.enumeration->get(fields))))
          named().identifier(p.names[p.enumeration->get(fields)]);
        break;
      case Spelling::Colour:
        if (int32_t colour = fields.*p.integer; isDefault(colour))
          break;
        else if (auto name = colourName(colour))
          named().identifier(*name);
        else
          named().integer(colour);
        break;
      case Spelling::Nested:
        writeNested(p);
        break;
      case Spelling::Name:
      case Spelling::Pair:
        break;
    }
  }
}

}  // namespace qm
