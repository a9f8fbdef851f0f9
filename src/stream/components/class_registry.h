#pragma once

#include <string_view>
#include <vector>

#include "model/component.h"
#include "stream/components/component_class.h"

namespace qm {

// The classes a reader may create, looked up by the name in the stream.
class ClassRegistry {
 public:
  // Registering a class again changes nothing.
  void add(const ComponentClass& componentClass);
  // By a class name from a stream, ASCII case ignored.
  const ComponentClass* find(std::string_view className) const;
  // The class of an existing object.
  const ComponentClass* classOf(const Component& object) const;

 private:
  std::vector<const ComponentClass*> classes_;
};

// Ttree and Tinfo: the classes of a task list.
const ClassRegistry& taskListClasses();

}  // namespace qm
