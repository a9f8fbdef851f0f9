#include "stream/components/class_registry.h"

#include <algorithm>

#include "model/name_index.h"
#include "stream/record_class.h"
#include "stream/tree_class.h"

namespace qm {

void ClassRegistry::add(const ComponentClass& componentClass) {
  if (std::find(classes_.begin(), classes_.end(), &componentClass) == classes_.end())
    classes_.push_back(&componentClass);
}

const ComponentClass* ClassRegistry::find(std::string_view className) const {
  for (const ComponentClass* c : classes_)
    if (equalsIgnoringAsciiCase(c->className(), className)) return c;
  return nullptr;
}

const ComponentClass* ClassRegistry::classOf(const Component& object) const {
  for (const ComponentClass* c : classes_)
    if (c->className() == object.className()) return c;
  return nullptr;
}

const ClassRegistry& taskListClasses() {
  static const ClassRegistry registry = [] {
    ClassRegistry r;
    r.add(treeClass());
    r.add(recordClass());
    return r;
  }();
  return registry;
}

}  // namespace qm
