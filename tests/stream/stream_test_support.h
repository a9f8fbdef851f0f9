#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/error.h"
#include "model/ttree.h"
#include "stream/encoding/byte_sink.h"

namespace qm::test {

// Bytes from hex pairs separated by spaces or slashes: "FF 0A 00".
std::string fromHex(std::string_view hex);
std::string toHex(std::string_view bytes);

// Pieces of a component stream, built by hand so that tests do not lean on
// the writer they check.
std::string shortString(std::string_view text);
std::string int8Value(int8_t value);
std::string int32Value(int32_t value);
std::string identValue(std::string_view name);
std::string textValue(std::string_view text);  // tag 6
std::string binaryValue(std::string_view bytes);
std::string property(std::string_view name, std::string_view value);
// An object record: class, name, properties, 0, children, 0.
std::string object(std::string_view className, std::string_view name, std::string_view properties = {},
                   std::string_view children = {});
// A task-list file: header, "TPF0", a Ttree root with these properties and
// children (the header's size is left 0; readers do not use it).
std::string taskFile(std::string_view treeProperties, std::string_view children = {});

// One node record of a node list.
std::string nodeRecord(std::string_view title, int32_t childCount, int32_t image = 0);

// The message of the Error raised by f, or "" when none is raised.
template <class F>
std::string errorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

std::string loadError(std::string_view file);

// The tree's nodes as an outline, one line a node: indentation, title,
// pictures and the linked record's fields.
std::string describe(const Ttree& tree);

// Forwards to another sink and fails once a byte budget is used up, writing
// the bytes that still fit first (as a full disk does).
class FaultySink : public ByteSink {
 public:
  FaultySink(ByteSink& target, uint64_t budget) : target_(target), budget_(budget) {}
  void write(const char* data, size_t size) override;
  void writeAt(uint64_t offset, const char* data, size_t size) override;
  uint64_t used() const { return used_; }

 private:
  size_t allow(size_t size);
  ByteSink& target_;
  uint64_t budget_;
  uint64_t used_ = 0;
};

}  // namespace qm::test
