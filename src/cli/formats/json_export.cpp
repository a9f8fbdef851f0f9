#include "cli/formats/json_export.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "cli/formats/json_values.h"
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

// The properties of a saved class as one JSON object.
template <class Object>
void writeProperties(std::ostream& out, const JsonForm<Object>& form, const Component& component,
                     const Object& fields) {
  out << '{';
  for (const SavedProperty<Object>* p : form.properties) {
    if (p != form.properties.front()) out << ", ";
    writeKey(out, p->jsonKey);
    switch (p->spelling) {
      case Spelling::Tag:
        out << component.tag();
        break;
      case Spelling::Integer:
        out << fields.*p->integer;
        break;
      case Spelling::Short:
        out << fields.*p->shortInteger;
        break;
      case Spelling::Date:
        out << dayCountJson(fields.*p->date);
        break;
      case Spelling::Text:
      case Spelling::Reference:
        writeString(out, p->textIn(fields));
        break;
      case Spelling::Enumeration: {
        size_t value = p->enumeration->get(fields);
        out << '"' << (value < p->names.size() ? p->names[value] : "") << '"';
        break;
      }
      case Spelling::Colour:
        if (auto name = colourName(fields.*p->integer))
          out << '"' << *name << '"';
        else
          out << fields.*p->integer;
        break;
      case Spelling::Name:
      case Spelling::Nested:
      case Spelling::Pair:
        break;  // not part of the form
    }
  }
  out << '}';
}

// Everything of a task up to the opening of its children's list.
void writeTaskHead(std::ostream& out, const TreeNode& node, size_t depth) {
  out << indentation(depth + 1) << '{';
  writeKey(out, "title");
  writeString(out, node.text());
  out << ", \"image\": " << node.imageIndex() << ", \"selectedImage\": " << node.selectedIndex()
      << ", \"stateImage\": " << node.stateIndex() << ", \"overlayImage\": " << node.overlayIndex()
      << ", \"record\": ";
  if (node.record() != nullptr)
    writeProperties(out, recordJsonForm(), *node.record(), *node.record());
  else
    out << "null";
  out << ", \"children\": [";
}

}  // namespace

void writeTaskListJson(const Ttree& tree, std::ostream& out) {
  out << "{\"tree\": ";
  writeProperties(out, treeJsonForm(), tree, tree.settings());
  out << ",\n";
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
