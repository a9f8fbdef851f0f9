#include "model/ttree.h"

#include <algorithm>
#include <string>

namespace qm {

Ttree::Ttree() : root_(new TreeNode) { root_->subtreeSize_ = 0; }

Ttree::~Ttree() {
  std::vector<TreeObserver*> observers;
  observers.swap(observers_);
  for (TreeObserver* o : observers) o->treeDestroyed();
  destroySubtree(root_, false);
  delete root_;
}

void Ttree::setSettings(const TreeSettings& settings) {
  if (settings == settings_) return;
  settings_ = settings;
  notify([](TreeObserver& o) { o.settingsChanged(); });
}

// --- structure helpers

void Ttree::adjustSubtreeSizes(TreeNode* from, std::ptrdiff_t delta) {
  if (bulkDepth_ > 0) return;  // recomputed once when the bulk update ends
  for (TreeNode* n = from; n != nullptr; n = n->parent_)
    n->subtreeSize_ = static_cast<size_t>(static_cast<std::ptrdiff_t>(n->subtreeSize_) + delta);
}

void Ttree::recomputeSubtreeSizes() {
  // Post-order without recursion: children are finished before their parent.
  std::vector<TreeNode*> order;
  order.reserve(nodeCount_ + 1);
  order.push_back(root_);
  for (size_t i = 0; i < order.size(); ++i)
    for (TreeNode* c : order[i]->children_) order.push_back(c);
  for (size_t i = order.size(); i-- > 0;) {
    TreeNode* n = order[i];
    size_t size = n == root_ ? 0 : 1;
    for (TreeNode* c : n->children_) size += c->subtreeSize_;
    n->subtreeSize_ = size;
  }
}

void Ttree::detach(TreeNode* node) {
  TreeNode* parent = node->parent_;
  auto& siblings = parent->children_;
  siblings.erase(siblings.begin() + node->row_);
  for (size_t i = node->row_; i < siblings.size(); ++i) siblings[i]->row_ = static_cast<uint32_t>(i);
  adjustSubtreeSizes(parent, -static_cast<std::ptrdiff_t>(node->subtreeSize_));
  node->parent_ = nullptr;
}

void Ttree::attachFirst(TreeNode* node, TreeNode* parent) {
  auto& siblings = parent->children_;
  siblings.insert(siblings.begin(), node);
  for (size_t i = 0; i < siblings.size(); ++i) siblings[i]->row_ = static_cast<uint32_t>(i);
  node->parent_ = parent;
  adjustSubtreeSizes(parent, static_cast<std::ptrdiff_t>(node->subtreeSize_));
}

size_t Ttree::destroySubtree(TreeNode* node, bool discardRecords) {
  // Iterative, so that a chain a million tasks deep cannot exhaust the stack.
  size_t destroyed = 0;
  std::vector<TreeNode*> pending{node};
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    pending.insert(pending.end(), n->children_.begin(), n->children_.end());
    if (discardRecords && n->record_ != nullptr) deleteComponent(n->record_);
    if (n == root_) {
      n->children_.clear();
      n->subtreeSize_ = 0;
    } else {
      delete n;
      ++destroyed;
    }
  }
  return destroyed;
}

// --- node operations

TreeNode* Ttree::appendNode(TreeNode* parent, std::string_view text, Tinfo* record) {
  if (parent == nullptr) parent = root_;
  size_t row = parent->children_.size();
  notify([&](TreeObserver& o) { o.nodeAboutToBeInserted(parent, row); });
  auto* node = new TreeNode;
  node->text_.assign(text);
  node->record_ = record;
  node->parent_ = parent;
  node->row_ = static_cast<uint32_t>(row);
  parent->children_.push_back(node);
  ++nodeCount_;
  adjustSubtreeSizes(parent, 1);
  notify([&](TreeObserver& o) { o.nodeInserted(node); });
  return node;
}

void Ttree::deleteNode(TreeNode* node) {
  if (node == nullptr || node == root_) return;
  TreeNode* parent = node->parent_;
  size_t row = node->row_;
  bool selectionGoes = selected_ != nullptr && isInSubtree(selected_, node);
  notify([&](TreeObserver& o) { o.nodeAboutToBeRemoved(node); });
  detach(node);
  if (selectionGoes) selected_ = nullptr;
  nodeCount_ -= destroySubtree(node, true);
  notify([&](TreeObserver& o) { o.nodeRemoved(parent, row); });
  if (selectionGoes) notify([](TreeObserver& o) { o.selectionChanged(nullptr); });
}

void Ttree::clearNodes() {
  BulkUpdate bulk(*this);
  destroySubtree(root_, false);
  nodeCount_ = 0;
  selected_ = nullptr;
}

bool Ttree::moveNode(TreeNode* node, TreeNode* newParent) {
  if (newParent == nullptr) newParent = root_;
  if (node == nullptr || node == root_ || isInSubtree(newParent, node)) return false;
  TreeNode* oldParent = node->parent_;
  if (oldParent != newParent || node->row_ != 0) {
    notify([&](TreeObserver& o) { o.nodeAboutToBeMoved(node, newParent, 0); });
    detach(node);
    attachFirst(node, newParent);
    notify([&](TreeObserver& o) { o.nodeMoved(node); });
  }
  collapseSubtree(node);
  if (oldParent != root_ && !oldParent->hasChildren()) setExpanded(oldParent, false);
  if (newParent != root_) setExpanded(newParent, true);
  return true;
}

void Ttree::collapseSubtree(TreeNode* node) {
  std::vector<TreeNode*> pending{node};
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    setExpanded(n, false);
    pending.insert(pending.end(), n->children_.begin(), n->children_.end());
  }
}

void Ttree::setText(TreeNode* node, std::string_view text) {
  if (node->text_ == text) return;
  node->text_.assign(text);
  notify([&](TreeObserver& o) { o.nodeChanged(node); });
}

void Ttree::setImageIndex(TreeNode* node, int32_t index) {
  setPictures(node, index, node->selectedIndex_, node->stateIndex_, node->overlayIndex_);
}

void Ttree::setPictures(TreeNode* node, int32_t image, int32_t selected, int32_t state, int32_t overlay) {
  if (node->imageIndex_ == image && node->selectedIndex_ == selected && node->stateIndex_ == state &&
      node->overlayIndex_ == overlay)
    return;
  node->imageIndex_ = image;
  node->selectedIndex_ = selected;
  node->stateIndex_ = state;
  node->overlayIndex_ = overlay;
  notify([&](TreeObserver& o) { o.nodeChanged(node); });
}

void Ttree::setExpanded(TreeNode* node, bool expanded) {
  if (node == root_ || node->expanded_ == expanded) return;
  node->expanded_ = expanded;
  notify([&](TreeObserver& o) { o.expandedChanged(node); });
}

void Ttree::select(TreeNode* node) {
  if (node == root_) node = nullptr;
  if (selected_ == node) return;
  selected_ = node;
  notify([&](TreeObserver& o) { o.selectionChanged(node); });
}

// --- positions

bool Ttree::isInSubtree(const TreeNode* node, const TreeNode* subtreeRoot) const {
  for (const TreeNode* n = node; n != nullptr; n = n->parent_)
    if (n == subtreeRoot) return true;
  return false;
}

size_t Ttree::absoluteIndex(const TreeNode* node) const {
  size_t index = 0;
  for (const TreeNode* n = node; n->parent_ != nullptr; n = n->parent_) {
    const TreeNode* parent = n->parent_;
    for (size_t j = 0; j < n->row_; ++j) index += parent->children_[j]->subtreeSize_;
    if (parent != root_) ++index;
  }
  return index;
}

TreeNode* Ttree::nodeAt(size_t index) const {
  if (index >= nodeCount_) return nullptr;
  const TreeNode* n = root_;
  for (;;) {
    for (TreeNode* c : n->children_) {
      if (index < c->subtreeSize_) {
        if (index == 0) return c;
        --index;
        n = c;
        break;
      }
      index -= c->subtreeSize_;
    }
  }
}

TreeNode* Ttree::nextInPreorder(const TreeNode* node) const {
  if (node->hasChildren()) return node->children_.front();
  for (const TreeNode* n = node; n != root_ && n->parent_ != nullptr; n = n->parent_) {
    const TreeNode* parent = n->parent_;
    if (n->row_ + 1 < parent->children_.size()) return parent->children_[n->row_ + 1];
  }
  return nullptr;
}

TreeNode* Ttree::nodeDisplayedAbove(const TreeNode* node) const {
  if (node == nullptr || node == root_) return nullptr;
  if (node->row_ == 0) return node->parent_ == root_ ? nullptr : node->parent_;
  TreeNode* above = node->parent_->children_[node->row_ - 1];
  while (above->expanded_ && above->hasChildren()) above = above->children_.back();
  return above;
}

// --- records

Tinfo* Ttree::createRecord() { return static_cast<Tinfo*>(insertComponent(std::make_unique<Tinfo>())); }

void Ttree::NameRecords(const std::function<void(const Tinfo&)>& writeRecord) {
  // Free every record name first (attached or not), so the new numbering can
  // never collide with names given by an earlier save or read.
  for (Component* c = firstComponent(); c != nullptr; c = c->nextSibling())
    if (dynamic_cast<Tinfo*>(c) != nullptr) c->setName({});
  size_t i = 0;
  for (TreeNode* n = firstNode(); n != nullptr; n = nextInPreorder(n), ++i) {
    std::string name = "ID" + std::to_string(i);
    if (n->record_ != nullptr) {
      n->record_->setName(name);
      writeRecord(*n->record_);
    } else {
      Tinfo standIn;
      standIn.setName(name);
      standIn.icon = n->imageIndex_;
      writeRecord(standIn);
    }
  }
}

void Ttree::LinkRecords() {
  size_t i = 0;
  for (TreeNode* n = firstNode(); n != nullptr; n = nextInPreorder(n), ++i)
    n->record_ = dynamic_cast<Tinfo*>(findComponent("ID" + std::to_string(i)));
}

void Ttree::ClearTasks() {
  BulkUpdate bulk(*this);
  // Nodes first, keeping their records: the records go in the next step.
  destroySubtree(root_, false);
  nodeCount_ = 0;
  selected_ = nullptr;
  for (Component* c = lastComponent(); c != nullptr;) {
    Component* previous = c->previousSibling();
    if (c->className() == Tinfo::kClassName) deleteComponent(c);
    c = previous;
  }
}

// --- observers

void Ttree::addObserver(TreeObserver* observer) { observers_.push_back(observer); }

void Ttree::removeObserver(TreeObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

Ttree::BulkUpdate::BulkUpdate(Ttree& tree) : tree_(tree) {
  if (tree_.bulkDepth_++ == 0)
    for (TreeObserver* o : tree_.observers_) o->treeAboutToBeReset();
}

Ttree::BulkUpdate::~BulkUpdate() {
  if (--tree_.bulkDepth_ == 0) {
    tree_.recomputeSubtreeSizes();
    for (TreeObserver* o : tree_.observers_) o->treeReset();
  }
}

}  // namespace qm
