#include "stream/record_class.h"

namespace qm {
namespace {

using P = SavedProperty<Tinfo>;
using enum Spelling;
constexpr P kRecordProperties[] = {
    {.name = "Name", .spelling = Name},
    {.name = "Tag", .jsonKey = "tag", .spelling = Tag},
    {.name = "note", .jsonKey = "note", .spelling = Text, .compactText = &Tinfo::note},
    {.name = "taskstart", .jsonKey = "taskstart", .spelling = Date, .omitted = 0, .date = &Tinfo::taskstart},
    {.name = "taskend", .jsonKey = "taskend", .spelling = Date, .omitted = 0, .date = &Tinfo::taskend},
    {.name = "priority", .jsonKey = "priority", .spelling = Text, .compactText = &Tinfo::priority},
    {.name = "status", .jsonKey = "status", .spelling = Text, .compactText = &Tinfo::status},
    {.name = "icon", .jsonKey = "icon", .spelling = Integer, .integer = &Tinfo::icon},
    // Defined: the design position.
    {.name = "Left", .spelling = Short, .omitted = 0, .shortInteger = &Tinfo::designLeft},
    {.name = "Top", .spelling = Short, .omitted = 0, .shortInteger = &Tinfo::designTop},
};

class RecordClass : public ComponentClass {
 public:
  std::string_view className() const override { return Tinfo::kClassName; }
  std::unique_ptr<Component> create() const override { return std::make_unique<Tinfo>(); }

  bool readProperty(Component& object, std::string_view name, ReadContext& context) const override {
    const P* p = findSaved<Tinfo>(kRecordProperties, name);
    if (p == nullptr) return false;
    readSaved(*p, object, static_cast<Tinfo&>(object), *this, context);
    return true;
  }

  void writeProperties(const Component& object, ValueWriter& out) const override {
    writeSaved<Tinfo>(kRecordProperties, object, static_cast<const Tinfo&>(object), out, [](const P&) {});
  }
};

}  // namespace

const ComponentClass& recordClass() {
  static const RecordClass instance;
  return instance;
}

std::span<const SavedProperty<Tinfo>> recordProperties() { return kRecordProperties; }

}  // namespace qm
