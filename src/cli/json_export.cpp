#include "cli/json_export.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "cli/json_values.h"
#include "cli/text_layout.h"
#include "model/tinfo.h"

namespace qm::cli {
namespace {

bool needsEscaping(std::string_view text) {
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x80 || c == '"' || c == '\\') return true;
  }
  return false;
}

// A JSON string. Bytes that are not valid UTF-8 (which a read file never
// holds, but a tree built in memory might) become U+FFFD instead of failing.
void writeString(std::ostream& out, std::string_view text) {
  if (!needsEscaping(text)) {
    out << '"' << text << '"';
    return;
  }
  out << nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void writeKey(std::ostream& out, std::string_view key) { out << '"' << key << "\": "; }

void writeTreeSettings(std::ostream& out, const TreeSettings& s) {
  out << "{\"tree\": {\"Left\": " << s.left << ", \"Top\": " << s.top << ", \"Width\": " << s.width
      << ", \"Height\": " << s.height << ", \"Align\": \"" << alignName(s.align) << "\", \"BorderStyle\": \""
      << borderStyleName(s.borderStyle) << "\", ";
  writeKey(out, "Color");
  if (auto name = colorName(s.color))
    out << '"' << *name << '"';
  else
    out << s.color;
  out << ", \"DragMode\": \"" << dragModeName(s.dragMode) << "\", ";
  writeKey(out, "Images");
  writeString(out, s.images);
  out << ", \"Indent\": " << s.indent << ", \"TabOrder\": " << s.tabOrder << ", ";
  writeKey(out, "test1");
  writeString(out, s.test1);
  out << "},\n";
}

void writeRecord(std::ostream& out, const Tinfo* record) {
  if (record == nullptr) {
    out << "null";
    return;
  }
  out << "{";
  writeKey(out, "note");
  writeString(out, record->note);
  out << ", \"taskstart\": " << dayCountJson(record->taskstart)
      << ", \"taskend\": " << dayCountJson(record->taskend) << ", ";
  writeKey(out, "priority");
  writeString(out, record->priority);
  out << ", ";
  writeKey(out, "status");
  writeString(out, record->status);
  out << ", \"icon\": " << record->icon << ", \"tag\": " << record->tag() << "}";
}

// Everything of a task up to the opening of its children's list.
void writeTaskHead(std::ostream& out, const TreeNode& node, size_t depth) {
  out << indentation(depth + 1) << '{';
  writeKey(out, "title");
  writeString(out, node.text());
  out << ", \"image\": " << node.imageIndex() << ", \"selectedImage\": " << node.selectedIndex()
      << ", \"stateImage\": " << node.stateIndex() << ", \"overlayImage\": " << node.overlayIndex()
      << ", \"record\": ";
  writeRecord(out, node.record());
  out << ", \"children\": [";
}

}  // namespace

void writeTaskListJson(const Ttree& tree, std::ostream& out) {
  writeTreeSettings(out, tree.settings());
  out << " \"tasks\": [";
  const TreeNode* node = tree.firstNode();
  if (node != nullptr) out << '\n';
  size_t depth = 0;
  while (node != nullptr) {
    writeTaskHead(out, *node, depth);
    if (node->hasChildren()) {
      out << '\n';
      node = node->child(0);
      ++depth;
      continue;
    }
    out << "]}";
    // Close every list that ends here, then go on with the next sibling.
    while (node != nullptr) {
      const TreeNode* parent = node->parent();
      if (node->row() + 1 < parent->childCount()) {
        out << ",\n";
        node = parent->child(node->row() + 1);
        break;
      }
      node = parent->isRoot() ? nullptr : parent;
      if (node != nullptr) {
        out << "]}";
        --depth;
      }
    }
  }
  out << "]}\n";
}

}  // namespace qm::cli
