#include "model/component.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "model/error.h"

namespace qm {

void Component::Name::clear() {
  if (onHeap()) delete[] heap_.bytes;
  inside_[kInside] = 0;
}

void Component::Name::assign(std::string_view name) {
  if (name.size() <= kInside) {
    char copy[kInside];
    name.copy(copy, name.size());  // the name may be this one's
    clear();
    std::memcpy(inside_, copy, name.size());
    inside_[kInside] = static_cast<char>(name.size());
    return;
  }
  if (name.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("component name");
  char* bytes = new char[name.size()];
  name.copy(bytes, name.size());
  clear();
  heap_.bytes = bytes;
  heap_.size = static_cast<uint32_t>(name.size());
  inside_[kInside] = static_cast<char>(kHeapMark);
}

Component::~Component() {
  if (!owned_) return;
  // Owned components go last to first, without recursion on the list; the
  // name index goes with the block, so nothing is unindexed one by one.
  std::unique_ptr<Owned> owned = std::move(owned_);
  for (Component* c = owned->last; c != nullptr;) {
    Component* previous = c->prev_;
    c->owner_ = c->prev_ = c->next_ = nullptr;
    delete c;
    c = previous;
  }
}

void Component::setName(std::string_view name) {
  if (name == name_.view()) return;
  if (owner_ != nullptr) {
    NameIndex& names = owner_->owned_->names;
    if (!name.empty()) {
      Component* holder = names.find(name);
      if (holder != nullptr && holder != this) raise("A component named %s already exists", {name});
    }
    if (!name_.empty()) names.erase(this);
  }
  name_.assign(name);
  if (owner_ != nullptr && !name_.empty()) owner_->owned_->names.insert(this);
}

Component* Component::insertComponent(std::unique_ptr<Component> component) {
  Component* c = component.get();
  if (!c->name_.empty() && findComponent(c->name_.view()) != nullptr)
    raise("A component named %s already exists", {c->name_.view()});
  if (!owned_) owned_ = std::make_unique<Owned>();
  component.release();
  c->owner_ = this;
  c->prev_ = owned_->last;
  c->next_ = nullptr;
  if (owned_->last != nullptr)
    owned_->last->next_ = c;
  else
    owned_->first = c;
  owned_->last = c;
  ++owned_->count;
  if (!c->name_.empty()) owned_->names.insert(c);
  return c;
}

void Component::expectNumberedComponents(size_t count) {
  if (!owned_) owned_ = std::make_unique<Owned>();
  owned_->names.reserveNumbered(count);
}

std::unique_ptr<Component> Component::removeComponent(Component* c) {
  if (c == nullptr || c->owner_ != this) return nullptr;
  if (!c->name_.empty()) owned_->names.erase(c);
  if (c->prev_ != nullptr)
    c->prev_->next_ = c->next_;
  else
    owned_->first = c->next_;
  if (c->next_ != nullptr)
    c->next_->prev_ = c->prev_;
  else
    owned_->last = c->prev_;
  c->owner_ = c->prev_ = c->next_ = nullptr;
  --owned_->count;
  return std::unique_ptr<Component>(c);
}

Component* Component::findComponent(std::string_view name) const {
  if (name.empty() || !owned_) return nullptr;
  return owned_->names.find(name);
}

}  // namespace qm
