#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "model/component.h"
#include "stream/components/read_context.h"
#include "stream/encoding/value_reader.h"
#include "stream/encoding/value_writer.h"

namespace qm {

// Something that has properties in a stream: a component class, or an object
// held in a property (reached through a dotted path such as "Items.Data").
class PropertyOwner {
 public:
  virtual ~PropertyOwner() = default;

  // The object held in the property `name` through which a dotted path goes
  // on; nullptr when there is no such property or it holds no object with
  // properties.
  virtual const PropertyOwner* nestedObject(std::string_view /*name*/) const { return nullptr; }

  // Reads the value of the published or defined property `name` (ASCII case
  // ignored) into `object`. Returns false, having read nothing, when there is
  // no property of that name.
  virtual bool readProperty(Component& object, std::string_view name, ReadContext& context) const = 0;
};

// How the objects of one class are written and read.
class ComponentClass : public PropertyOwner {
 public:
  using ChildWriter = std::function<void(const Component&)>;

  virtual std::string_view className() const = 0;
  virtual std::unique_ptr<Component> create() const = 0;

  // The published properties that differ from their defaults, then the
  // defined ones, in the class's order.
  virtual void writeProperties(const Component& object, ValueWriter& out) const = 0;
  // The owned objects that follow the object in the stream.
  virtual void forEachChild(Component& /*object*/, const ChildWriter& /*write*/) const {}

  // Runs after the whole stream has been read into the root.
  virtual bool hasPostRead() const { return false; }
  virtual void postRead(Component& /*object*/) const {}
  // Applies a reference read into `property` once the stream is read.
  virtual void resolveReference(Component& /*object*/, const PendingReference& /*reference*/) const {}
};

}  // namespace qm
