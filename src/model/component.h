#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/name_index.h"

namespace qm {

// A named object with an owner. The owner keeps its components in creation
// order (a linked list, so removing one is O(1)) and indexes them by name
// (letter case ignored), so a look-up by name never searches.
class Component {
 public:
  Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  virtual ~Component();

  virtual std::string_view className() const = 0;

  std::string_view name() const { return name_.view(); }
  // Fails with "A component named %s already exists" when another component
  // of the same owner bears the name (letter case ignored).
  void setName(std::string_view name);

  int32_t tag() const { return tag_; }
  void setTag(int32_t tag) { tag_ = tag; }

  Component* owner() const { return owner_; }

  // Takes ownership; the component keeps its name, which must be free.
  Component* insertComponent(std::unique_ptr<Component> component);
  // Gives ownership back to the caller.
  std::unique_ptr<Component> removeComponent(Component* component);
  void deleteComponent(Component* component) { removeComponent(component); }

  size_t componentCount() const { return owned_ ? owned_->count : 0; }
  Component* firstComponent() const { return owned_ ? owned_->first : nullptr; }
  Component* lastComponent() const { return owned_ ? owned_->last : nullptr; }
  Component* nextSibling() const { return next_; }
  Component* previousSibling() const { return prev_; }
  Component* findComponent(std::string_view name) const;
  // The owned component named "ID" and `number` (as the record numbering
  // names them), found without spelling the name.
  Component* findNumberedComponent(size_t number) const {
    return owned_ ? owned_->names.findNumbered(number) : nullptr;
  }
  // A hint: about `count` components named by the record numbering will
  // follow.
  void expectNumberedComponents(size_t count);
  // Owned components that bear a name.
  size_t namedComponentCount() const { return owned_ ? owned_->names.size() : 0; }

 private:
  // A name in 16 bytes: up to 15 bytes (every name the record numbering
  // gives) inside, a longer one on the heap.
  // Buys memory: std::string took 256 bytes a task beyond the text (limit 250), CompactText a 13% slower
  // load.
  class Name {
   public:
    Name() = default;
    Name(const Name&) = delete;
    Name& operator=(const Name&) = delete;
    ~Name() { clear(); }
    std::string_view view() const {
      if (onHeap()) return {heap_.bytes, heap_.size};
      return {inside_, static_cast<size_t>(static_cast<unsigned char>(inside_[kInside]))};
    }
    bool empty() const { return view().empty(); }
    void assign(std::string_view name);

   private:
    static constexpr size_t kInside = 15;
    static constexpr unsigned char kHeapMark = 0xFF;
    bool onHeap() const { return static_cast<unsigned char>(inside_[kInside]) == kHeapMark; }
    void clear();
    union {
      char inside_[kInside + 1] = {};  // the bytes, then their count
      struct {
        char* bytes;
        uint32_t size;  // the last byte, the count's place inside, holds kHeapMark
      } heap_;
    };
  };
  static_assert(sizeof(Name) == 16);

  Name name_;
  Component* owner_ = nullptr;
  Component* prev_ = nullptr;
  Component* next_ = nullptr;
  // What an owner keeps; made when the component first owns something, as
  // most components (every task record) never do.
  struct Owned {
    Component* first = nullptr;
    Component* last = nullptr;
    size_t count = 0;
    NameIndex names;
  };
  std::unique_ptr<Owned> owned_;
  int32_t tag_ = 0;  // last, so that a subclass's first small field fills the gap after it
};

}  // namespace qm
