#include "stream/tree_class.h"

#include <string>

#include "model/ttree.h"
#include "stream/component_names.h"
#include "stream/node_list.h"
#include "stream/property_names.h"

namespace qm {
namespace {

enum class TreeProperty {
  kName,
  kTag,
  kLeft,
  kTop,
  kWidth,
  kHeight,
  kAlign,
  kBorderStyle,
  kColor,
  kDragMode,
  kImages,
  kIndent,
  kItems,
  kTabOrder,
  kTest1,
  kIsControl,  // defined
  kDesignSize  // defined
};
constexpr std::string_view kTreePropertyNames[] = {
    "Name",     "Tag",    "Left",   "Top",   "Width",    "Height", "Align",     "BorderStyle", "Color",
    "DragMode", "Images", "Indent", "Items", "TabOrder", "test1",  "IsControl", "DesignSize"};

// The tree's node collection, reached as "Items": its one property is the
// defined binary "Data".
class NodeCollection : public PropertyOwner {
 public:
  bool readProperty(Component& object, std::string_view name, ReadContext& context) const override {
    if (!equalsIgnoringAsciiCase(name, "Data")) return false;
    ByteReader& in = context.values().bytes();
    size_t length = context.values().binaryLength();
    ByteReader block(in, length);
    auto& tree = static_cast<Ttree&>(object);
    readNodeList(tree, block);
    tree.expectNumberedComponents(tree.nodeCount());  // one record per node follows
    in.skip(length);
    return true;
  }
};
const NodeCollection kNodeCollection;

class TreeClass : public ComponentClass {
 public:
  std::string_view className() const override { return Ttree::kClassName; }
  std::unique_ptr<Component> create() const override { return std::make_unique<Ttree>(); }

  const PropertyOwner* nestedObject(std::string_view name) const override {
    return equalsIgnoringAsciiCase(name, "Items") ? &kNodeCollection : nullptr;
  }

  bool readProperty(Component& object, std::string_view name, ReadContext& context) const override {
    std::optional<size_t> found = findName(kTreePropertyNames, name);
    if (!found) return false;
    auto& tree = static_cast<Ttree&>(object);
    ValueReader& in = context.values();
    TreeSettings s = tree.settings();
    switch (static_cast<TreeProperty>(*found)) {
      case TreeProperty::kName: {
        std::string newName;
        in.text(newName);
        giveComponentName(tree, newName);
        return true;
      }
      case TreeProperty::kTag:
        tree.setTag(in.integer());
        return true;
      case TreeProperty::kLeft:
        s.left = in.integer();
        break;
      case TreeProperty::kTop:
        s.top = in.integer();
        break;
      case TreeProperty::kWidth:
        s.width = in.integer();
        break;
      case TreeProperty::kHeight:
        s.height = in.integer();
        break;
      case TreeProperty::kAlign:
        if (auto v = in.enumeration(kAlignNames)) s.align = static_cast<Align>(*v);
        break;
      case TreeProperty::kBorderStyle:
        if (auto v = in.enumeration(kBorderStyleNames)) s.borderStyle = static_cast<BorderStyle>(*v);
        break;
      case TreeProperty::kColor:
        s.color = in.namedInteger(kColourNames);
        break;
      case TreeProperty::kDragMode:
        if (auto v = in.enumeration(kDragModeNames)) s.dragMode = static_cast<DragMode>(*v);
        break;
      case TreeProperty::kImages: {
        ReferenceValue reference = in.reference();
        if (reference.isNil) s.images.clear();
        context.deferReference({&tree, this, "Images", reference});
        break;
      }
      case TreeProperty::kIndent:
        s.indent = in.integer();
        break;
      case TreeProperty::kItems:
        ValueReader::invalid();  // only its properties can be read
      case TreeProperty::kTabOrder:
        s.tabOrder = in.integer();
        break;
      case TreeProperty::kTest1:
        in.text(s.test1);
        break;
      case TreeProperty::kIsControl:
        in.enumeration(kBooleanNames);
        return true;
      case TreeProperty::kDesignSize: {
        int32_t width, height;
        in.integerPair(width, height);
        return true;
      }
    }
    tree.setSettings(s);
    return true;
  }

  void writeProperties(const Component& object, ValueWriter& out) const override {
    const auto& tree = static_cast<const Ttree&>(object);
    const TreeSettings& s = tree.settings();
    auto integer = [&](std::string_view name, int32_t value) {
      out.shortString(name);
      out.integer(value);
    };
    auto identifier = [&](std::string_view name, std::string_view value) {
      out.shortString(name);
      out.identifier(value);
    };
    if (tree.tag() != 0) integer("Tag", tree.tag());
    integer("Left", s.left);
    integer("Top", s.top);
    integer("Width", s.width);
    integer("Height", s.height);
    if (s.align != Align::alNone) identifier("Align", kAlignNames[static_cast<size_t>(s.align)]);
    if (s.borderStyle != BorderStyle::bsSingle)
      identifier("BorderStyle", kBorderStyleNames[static_cast<size_t>(s.borderStyle)]);
    if (s.color != clWindow) {
      if (auto name = colourName(s.color))
        identifier("Color", *name);
      else
        integer("Color", s.color);
    }
    if (s.dragMode != DragMode::dmManual)
      identifier("DragMode", kDragModeNames[static_cast<size_t>(s.dragMode)]);
    if (!s.images.empty()) identifier("Images", s.images);
    integer("Indent", s.indent);
    if (s.tabOrder != -1) integer("TabOrder", s.tabOrder);
    if (tree.nodeCount() > 0) {
      out.shortString("Items.Data");
      uint64_t mark = out.beginBinary();
      writeNodeList(tree, out.bytes());
      out.endBinary(mark);
    }
    if (!s.test1.empty()) {
      out.shortString("test1");
      out.text(s.test1);
    }
  }

  void forEachChild(Component& object, const ChildWriter& write) const override {
    auto& tree = static_cast<Ttree&>(object);
    // A component of another class that a file created may bear a name the
    // numbering is about to give a record; it is never written, and
    // NameRecords has it give the name up rather than fail the save.
    tree.NameRecords([&](const Tinfo& record) { write(record); });
  }

  bool hasPostRead() const override { return true; }
  void postRead(Component& object) const override { static_cast<Ttree&>(object).LinkRecords(); }

  void resolveReference(Component& object, const PendingReference& reference) const override {
    auto& tree = static_cast<Ttree&>(object);
    TreeSettings s = tree.settings();
    if (reference.value.isNil)
      s.images.clear();
    else if (equalsIgnoringAsciiCase(reference.value.name, kMainImageList))
      s.images = kMainImageList;
    else
      return;  // names nothing this program has: left as it was
    tree.setSettings(s);
  }
};

}  // namespace

const ComponentClass& treeClass() {
  static const TreeClass instance;
  return instance;
}

}  // namespace qm
