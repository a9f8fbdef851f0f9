#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::sample {

// Builds task-list files byte by byte, for inputs that the writer never
// produces: every value tag, prefixes, hostile counts and lengths.
class CraftedStream {
 public:
  // The resource header (size field 0, which the reader ignores) and "TPF0".
  CraftedStream& fileStart();
  CraftedStream& byte(uint8_t value);
  CraftedStream& int16(int16_t value);
  CraftedStream& int32(int32_t value);
  CraftedStream& uint32(uint32_t value);
  CraftedStream& raw(std::string_view bytes);
  CraftedStream& shortString(std::string_view text);
  // An object record's start: optional prefix byte, class name, object name.
  CraftedStream& object(std::string_view className, std::string_view name);
  CraftedStream& propertyName(std::string_view name) { return shortString(name); }
  CraftedStream& end() { return byte(0); }

  // Values with their tags.
  CraftedStream& integer(int32_t value);  // the smallest of tags 2, 3, 4
  CraftedStream& identifier(std::string_view name) { return byte(7).shortString(name); }
  CraftedStream& shortText(std::string_view text) { return byte(6).shortString(text); }
  CraftedStream& longText(std::string_view text) { return byte(12).uint32(size32(text)).raw(text); }
  CraftedStream& utf8Text(std::string_view text) { return byte(20).uint32(size32(text)).raw(text); }
  // UTF-16LE code units given as bytes, two per unit.
  CraftedStream& wideText(std::string_view utf16le) {
    return byte(18).uint32(size32(utf16le) / 2).raw(utf16le);
  }
  CraftedStream& binary(std::string_view bytes) { return byte(10).uint32(size32(bytes)).raw(bytes); }
  CraftedStream& extended(double value);

  const std::string& bytes() const { return bytes_; }

 private:
  static uint32_t size32(std::string_view s) { return static_cast<uint32_t>(s.size()); }
  std::string bytes_;
};

// A node record of the node list ("Items.Data"), without its children.
std::string nodeRecord(std::string_view title, int32_t childCount, int32_t image = 0);

}  // namespace qm::sample
