#include "stream/record_class.h"

#include <string>

#include "model/tinfo.h"
#include "stream/component_names.h"
#include "stream/property_names.h"

namespace qm {
namespace {

enum class RecordProperty {
  kName,
  kTag,
  kNote,
  kTaskStart,
  kTaskEnd,
  kPriority,
  kStatus,
  kIcon,
  kLeft,  // defined: design position
  kTop    // defined
};
constexpr std::string_view kRecordPropertyNames[] = {"Name",     "Tag",    "note", "taskstart", "taskend",
                                                     "priority", "status", "icon", "Left",      "Top"};

class RecordClass : public ComponentClass {
 public:
  std::string_view className() const override { return Tinfo::kClassName; }
  std::unique_ptr<Component> create() const override { return std::make_unique<Tinfo>(); }

  bool readProperty(Component& object, std::string_view name, ReadContext& context) const override {
    std::optional<size_t> found = findName(kRecordPropertyNames, name);
    if (!found) return false;
    auto& record = static_cast<Tinfo&>(object);
    ValueReader& in = context.values();
    switch (static_cast<RecordProperty>(*found)) {
      case RecordProperty::kName: {
        std::string newName;
        in.text(newName);
        giveComponentName(record, newName);
        break;
      }
      case RecordProperty::kTag:
        record.setTag(in.integer());
        break;
      case RecordProperty::kNote:
        in.text(record.note);
        break;
      case RecordProperty::kTaskStart:
        record.taskstart = in.floatingPoint();
        break;
      case RecordProperty::kTaskEnd:
        record.taskend = in.floatingPoint();
        break;
      case RecordProperty::kPriority:
        in.text(record.priority);
        break;
      case RecordProperty::kStatus:
        in.text(record.status);
        break;
      case RecordProperty::kIcon:
        record.icon = in.integer();
        break;
      // The design position is stored in 16 bits; a wider value keeps its low half.
      case RecordProperty::kLeft:
        record.designLeft = static_cast<int16_t>(in.integer());
        break;
      case RecordProperty::kTop:
        record.designTop = static_cast<int16_t>(in.integer());
        break;
    }
    return true;
  }

  void writeProperties(const Component& object, ValueWriter& out) const override {
    const auto& record = static_cast<const Tinfo&>(object);
    auto text = [&](std::string_view name, std::string_view value) {
      if (value.empty()) return;
      out.shortString(name);
      out.text(value);
    };
    auto date = [&](std::string_view name, double value) {
      if (value == 0) return;
      out.shortString(name);
      out.extended(value);
    };
    auto integer = [&](std::string_view name, int32_t value) {
      out.shortString(name);
      out.integer(value);
    };
    if (record.tag() != 0) integer("Tag", record.tag());
    text("note", record.note);
    date("taskstart", record.taskstart);
    date("taskend", record.taskend);
    text("priority", record.priority);
    text("status", record.status);
    integer("icon", record.icon);
    if (record.designLeft != 0) integer("Left", record.designLeft);
    if (record.designTop != 0) integer("Top", record.designTop);
  }
};

}  // namespace

const ComponentClass& recordClass() {
  static const RecordClass instance;
  return instance;
}

}  // namespace qm
