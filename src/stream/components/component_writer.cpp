#include "stream/components/component_writer.h"

#include <string>

#include "model/error.h"
#include "stream/encoding/value_writer.h"

namespace qm {
namespace {

const ComponentClass& classOf(const Component& object, const ClassRegistry& classes) {
  const ComponentClass* c = classes.classOf(object);
  if (c == nullptr) raise("Class %s not found", {object.className()});
  return *c;
}

void writeHeadAndProperties(ValueWriter& out, const Component& object, const ComponentClass& c) {
  out.shortString(c.className());
  out.shortString(object.name());
  c.writeProperties(object, out);
  out.endOfList();
}

}  // namespace

void writeComponentStream(ByteWriter& bytes, Component& root, const ClassRegistry& classes) {
  bytes.bytes("TPF0");
  ValueWriter out(bytes);
  const ComponentClass& rootClass = classOf(root, classes);
  writeHeadAndProperties(out, root, rootClass);
  // Only the root has children in the streams this program writes (a task
  // record has none), so each child's own child list is empty.
  // Children are mostly of one class: its look-up is kept.
  // (A stand-in child does not outlive its writing, so the name is copied.)
  std::string lastName;
  const ComponentClass* lastClass = nullptr;
  rootClass.forEachChild(root, [&](const Component& child) {
    std::string_view name = child.className();
    if (lastClass == nullptr || name != lastName) {
      lastClass = &classOf(child, classes);
      lastName = name;
    }
    writeHeadAndProperties(out, child, *lastClass);
    out.endOfList();
  });
  out.endOfList();
}

}  // namespace qm
