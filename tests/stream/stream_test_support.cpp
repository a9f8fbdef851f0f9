#include "stream_test_support.h"

#include <algorithm>
#include <cstdio>

#include "model/tinfo.h"
#include "stream/task_list_file.h"

namespace qm::test {

std::string fromHex(std::string_view hex) {
  std::string out;
  int high = -1;
  for (char c : hex) {
    int v = (c >= '0' && c <= '9')   ? c - '0'
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                     : -1;
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      out += static_cast<char>(high * 16 + v);
      high = -1;
    }
  }
  return out;
}

std::string toHex(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (unsigned char b : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", b);
    out += buf;
  }
  if (!out.empty()) out.pop_back();
  return out;
}

std::string shortString(std::string_view text) {
  return std::string(1, static_cast<char>(text.size())) + std::string(text);
}

std::string int8Value(int8_t value) { return std::string{'\x02', static_cast<char>(value)}; }

std::string int32Value(int32_t value) {
  std::string out(1, '\x04');
  for (int i = 0; i < 4; ++i) out += static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
  return out;
}

std::string identValue(std::string_view name) { return "\x07" + shortString(name); }
std::string textValue(std::string_view text) { return "\x06" + shortString(text); }

std::string binaryValue(std::string_view bytes) {
  return "\x0A" + int32Value(static_cast<int32_t>(bytes.size())).substr(1) + std::string(bytes);
}

std::string property(std::string_view name, std::string_view value) {
  return shortString(name) + std::string(value);
}

std::string object(std::string_view className, std::string_view name, std::string_view properties,
                   std::string_view children) {
  return shortString(className) + shortString(name) + std::string(properties) + std::string(1, '\0') +
         std::string(children) + std::string(1, '\0');
}

std::string taskFile(std::string_view treeProperties, std::string_view children) {
  return fromHex("FF 0A 00 54 54 52 45 45 00 30 10 00 00 00 00") + "TPF0" +
         object("Ttree", "", treeProperties, children);
}

std::string nodeRecord(std::string_view title, int32_t childCount, int32_t image) {
  std::string out;
  auto field = [&](int32_t v) { out += int32Value(v).substr(1); };
  field(static_cast<int32_t>(25 + title.size()));
  field(image);
  field(0);
  field(-1);
  field(-1);
  field(0);
  field(childCount);
  out += shortString(title);
  return out;
}

std::string loadError(std::string_view file) {
  Ttree tree;
  return errorOf([&] { loadTaskListFromBytes(file, tree); });
}

std::string describe(const Ttree& tree) {
  std::string out;
  for (const TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n)) {
    out += std::string(n->depth() * 2, ' ') + std::string(n->text());
    out += " [" + std::to_string(n->imageIndex()) + "," + std::to_string(n->selectedIndex()) + "," +
           std::to_string(n->stateIndex()) + "," + std::to_string(n->overlayIndex()) + "]";
    if (const Tinfo* r = n->record()) {
      char dates[64];
      std::snprintf(dates, sizeof dates, "%a/%a", r->taskstart, r->taskend);
      out += " {" + std::string(r->name()) + "|" + r->note + "|" + dates + "|" + r->priority + "|" +
             r->status + "|" + std::to_string(r->icon) + "|" + std::to_string(r->tag()) + "}";
    } else {
      out += " {}";
    }
    out += "\n";
  }
  return out;
}

size_t FaultySink::allow(size_t size) {
  uint64_t left = budget_ > used_ ? budget_ - used_ : 0;
  return static_cast<size_t>(std::min<uint64_t>(left, size));
}

void FaultySink::write(const char* data, size_t size) {
  size_t fits = allow(size);
  target_.write(data, fits);
  used_ += fits;
  if (fits < size) raise("Stream write error");
}

void FaultySink::writeAt(uint64_t offset, const char* data, size_t size) {
  size_t fits = allow(size);
  target_.writeAt(offset, data, fits);
  used_ += fits;
  if (fits < size) raise("Stream write error");
}

}  // namespace qm::test
