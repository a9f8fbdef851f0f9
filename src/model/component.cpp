#include "model/component.h"

#include "model/error.h"

namespace qm {

Component::~Component() {
  // Owned components go first, last to first, without recursion on the list.
  while (last_ != nullptr) removeComponent(last_);
}

void Component::setName(std::string_view name) {
  if (name == name_) return;
  if (owner_ != nullptr) {
    if (!name.empty()) {
      Component* holder = owner_->names_.find(name);
      if (holder != nullptr && holder != this) raise("A component named %s already exists", {name});
    }
    if (!name_.empty()) owner_->names_.erase(this);
  }
  name_.assign(name);
  if (owner_ != nullptr && !name_.empty()) owner_->names_.insert(this);
}

Component* Component::insertComponent(std::unique_ptr<Component> component) {
  Component* c = component.get();
  if (!c->name_.empty() && names_.find(c->name_) != nullptr)
    raise("A component named %s already exists", {c->name_});
  component.release();
  c->owner_ = this;
  c->prev_ = last_;
  c->next_ = nullptr;
  if (last_ != nullptr)
    last_->next_ = c;
  else
    first_ = c;
  last_ = c;
  ++componentCount_;
  if (!c->name_.empty()) names_.insert(c);
  return c;
}

std::unique_ptr<Component> Component::removeComponent(Component* c) {
  if (c == nullptr || c->owner_ != this) return nullptr;
  if (!c->name_.empty()) names_.erase(c);
  if (c->prev_ != nullptr)
    c->prev_->next_ = c->next_;
  else
    first_ = c->next_;
  if (c->next_ != nullptr)
    c->next_->prev_ = c->prev_;
  else
    last_ = c->prev_;
  c->owner_ = c->prev_ = c->next_ = nullptr;
  --componentCount_;
  return std::unique_ptr<Component>(c);
}

Component* Component::findComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  return names_.find(name);
}

}  // namespace qm
