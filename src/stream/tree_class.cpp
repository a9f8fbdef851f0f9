#include "stream/tree_class.h"

#include <string>

#include "model/ttree.h"
#include "stream/components/component_names.h"
#include "stream/node_list.h"

namespace qm {
namespace {

using P = SavedProperty<TreeSettings>;
using S = TreeSettings;
using enum Spelling;

template <auto Member>
constexpr P enumerated(std::string_view name, std::span<const std::string_view> names, auto omitted) {
  return {.name = name,
          .jsonKey = name,
          .spelling = Enumeration,
          .omitted = static_cast<double>(omitted),
          .names = names,
          .enumeration = enumMember<S, Member>()};
}

constexpr P kTreeProperties[] = {
    {.name = "Name", .spelling = Name},
    {.name = "Tag", .spelling = Tag},
    {.name = "Left", .jsonKey = "Left", .spelling = Integer, .integer = &S::left},
    {.name = "Top", .jsonKey = "Top", .spelling = Integer, .integer = &S::top},
    {.name = "Width", .jsonKey = "Width", .spelling = Integer, .integer = &S::width},
    {.name = "Height", .jsonKey = "Height", .spelling = Integer, .integer = &S::height},
    enumerated<&S::align>("Align", kAlignNames, Align::alNone),
    enumerated<&S::borderStyle>("BorderStyle", kBorderStyleNames, BorderStyle::bsSingle),
    {.name = "Color", .jsonKey = "Color", .spelling = Colour, .omitted = clWindow, .integer = &S::color},
    enumerated<&S::dragMode>("DragMode", kDragModeNames, DragMode::dmManual),
    {.name = "Images", .jsonKey = "Images", .spelling = Reference, .text = &S::images},
    {.name = "Indent", .jsonKey = "Indent", .spelling = Integer, .integer = &S::indent},
    {.name = "TabOrder", .jsonKey = "TabOrder", .spelling = Integer, .omitted = -1, .integer = &S::tabOrder},
    {.name = "Items", .spelling = Nested},
    {.name = "test1", .jsonKey = "test1", .spelling = Text, .text = &S::test1},
    // Defined by the control; read and dropped.
    {.name = "IsControl", .spelling = Enumeration, .names = kBooleanNames},
    {.name = "DesignSize", .spelling = Pair},
};

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
    const P* p = findSaved<TreeSettings>(kTreeProperties, name);
    if (p == nullptr) return false;
    auto& tree = static_cast<Ttree&>(object);
    TreeSettings s = tree.settings();
    readSaved(*p, tree, s, *this, context);
    tree.setSettings(s);
    return true;
  }

  void writeProperties(const Component& object, ValueWriter& out) const override {
    const auto& tree = static_cast<const Ttree&>(object);
    writeSaved<TreeSettings>(kTreeProperties, tree, tree.settings(), out, [&](const P&) {
      if (tree.nodeCount() == 0) return;
      out.shortString("Items.Data");
      uint64_t mark = out.beginBinary();
      writeNodeList(tree, out.bytes());
      out.endBinary(mark);
    });
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

std::span<const SavedProperty<TreeSettings>> treeProperties() { return kTreeProperties; }

}  // namespace qm
