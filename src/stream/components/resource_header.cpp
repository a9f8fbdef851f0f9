#include "stream/components/resource_header.h"

#include "model/error.h"
#include "stream/encoding/byte_reader.h"

namespace qm {
namespace {

constexpr uint8_t kMarker = 0xFF;
constexpr int16_t kResourceType = 10;
constexpr int16_t kFlags = 0x1030;
constexpr size_t kMaxNameLength = 63;

}  // namespace

uint64_t writeResourceHeader(ByteWriter& out, std::string_view resourceName) {
  out.byte(kMarker);
  out.int16(kResourceType);
  std::string_view name = resourceName.substr(0, kMaxNameLength);
  for (char c : name) out.byte(static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 32 : c));
  out.byte(0);
  out.int16(kFlags);
  uint64_t sizeField = out.position();
  out.int32(0);
  return sizeField;
}

size_t resourceHeaderLength(std::string_view file) { return resourceHeaderLength(file, file.size()); }

size_t resourceHeaderLength(std::string_view file, size_t fileSize) {
  if (file.size() < 3 || static_cast<uint8_t>(file[0]) != kMarker || file[1] != kResourceType || file[2] != 0)
    raise("Invalid stream format");
  std::string_view window = file.substr(0, kResourceHeaderWindow);
  size_t nameEnd = window.find('\0', 3);
  if (nameEnd == std::string_view::npos) {
    if (window.size() < kResourceHeaderWindow) ByteReader::fail();  // cut inside the name
    raise("Invalid stream format");                                 // no name ends in the window
  }
  size_t length = nameEnd + 7;  // the 0 byte, flags and size
  if (length > fileSize) ByteReader::fail();
  return length;
}

}  // namespace qm
