#include "stream/components/component_reader.h"

#include <vector>

#include "model/error.h"
#include "stream/components/component_names.h"
#include "stream/components/read_context.h"
#include "stream/encoding/byte_reader.h"

namespace qm {
namespace {

constexpr std::string_view kSignature = "TPF0";

enum PrefixFlag : uint8_t { kInherited = 1, kChildPosition = 2, kInline = 4 };

struct ObjectHead {
  uint8_t flags = 0;
  std::string_view className;
  std::string_view name;
};

struct ReadObject {
  Component* object;
  const ComponentClass* objectClass;
};

class StreamReader {
 public:
  StreamReader(ByteReader& stream, const ClassRegistry& classes)
      : in_(stream), context_(in_), classes_(classes) {}

  void readInto(Component& root) {
    readSignature();
    const ComponentClass* rootClass = classes_.classOf(root);
    if (rootClass == nullptr) raise("Class %s not found", {root.className()});
    ObjectHead head = readHead();  // the root's class name is not checked
    giveComponentName(root, head.name);
    readProperties(root, *rootClass);
    noteRead(root, *rootClass);
    readChildren(root);
    for (const ReadObject& r : postRead_) r.objectClass->postRead(*r.object);
    for (const PendingReference& r : context_.pendingReferences())
      r.objectClass->resolveReference(*r.object, r);
  }

 private:
  void readSignature() {
    if (in_.readBytes(kSignature.size()) != kSignature) raise("Invalid stream format");
  }

  ObjectHead readHead() {
    ObjectHead head;
    if ((in_.peekByte() & 0xF0) == 0xF0) {
      head.flags = in_.readByte() & 0x0F;
      if (head.flags & kChildPosition) context_.values().integer();  // the order is the stream's
    }
    head.className = in_.readShortString();
    head.name = in_.readShortString();
    return head;
  }

  // Children, their children and so on, all owned by the root. Only a depth
  // is kept, so nesting costs no stack.
  void readChildren(Component& root) {
    size_t open = 1;
    while (open > 0) {
      in_.release();  // between objects nothing read before is still in use
      if (in_.peekByte() == 0) {
        in_.skip(1);
        --open;
        continue;
      }
      ReadObject child = createChild(root, readHead());
      readProperties(*child.object, *child.objectClass);
      noteRead(*child.object, *child.objectClass);
      ++open;
    }
  }

  ReadObject createChild(Component& root, const ObjectHead& head) {
    if (head.flags & kInherited) {
      // Inherited: the object exists already; its properties are read into it.
      Component* existing = root.findComponent(head.name);
      const ComponentClass* existingClass = existing ? classes_.classOf(*existing) : nullptr;
      if (existingClass == nullptr) raise("Ancestor for '%s' not found", {head.name});
      return {existing, existingClass};
    }
    const ComponentClass* c = classes_.find(head.className);
    if (c == nullptr) raise("Class %s not found", {head.className});
    Component* created = root.insertComponent(c->create());
    giveComponentName(*created, head.name);
    return {created, c};
  }

  void noteRead(Component& object, const ComponentClass& c) {
    if (c.hasPostRead()) postRead_.push_back({&object, &c});
  }

  void readProperties(Component& object, const ComponentClass& c) {
    while (in_.peekByte() != 0) {
      std::string_view name = in_.readShortString();
      try {
        readProperty(object, c, name);
      } catch (const Error& e) {
        std::string_view shown = object.name().empty() ? object.className() : object.name();
        throw Error(formatMessage("Error reading %s%s%s: %s", {shown, ".", name, e.what()}), e);
      }
    }
    in_.skip(1);
  }

  void readProperty(Component& object, const PropertyOwner& owner, std::string_view path) {
    const PropertyOwner* current = &owner;
    size_t dot;
    while ((dot = path.find('.')) != std::string_view::npos) {
      current = current->nestedObject(path.substr(0, dot));
      if (current == nullptr) raise("Invalid property path");
      path.remove_prefix(dot + 1);
    }
    if (current->readProperty(object, path, context_)) return;
    context_.values().skip();
    raise("Property %s does not exist", {path});
  }

  ByteReader& in_;
  ReadContext context_;
  const ClassRegistry& classes_;
  std::vector<ReadObject> postRead_;
};

}  // namespace

void readComponentStream(std::string_view stream, Component& root, const ClassRegistry& classes) {
  ByteReader in(stream);
  readComponentStream(in, root, classes);
}

void readComponentStream(ByteReader& stream, Component& root, const ClassRegistry& classes) {
  StreamReader(stream, classes).readInto(root);
}

}  // namespace qm
