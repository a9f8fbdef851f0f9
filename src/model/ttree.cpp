#include "model/ttree.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "model/done_tally.h"

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
  if (bulkDepth_ > 0) {
    sizesStale_ = true;  // recomputed once when the bulk update ends
    return;
  }
  for (TreeNode* n = from; n != nullptr; n = n->parent_) {
    n->subtreeSize_ = static_cast<uint32_t>(static_cast<std::ptrdiff_t>(n->subtreeSize_) + delta);
    if (n->parent_ != nullptr) n->parent_->childSizeChanged(n);
  }
}

void Ttree::recomputeSubtreeSizes() {
  // Post-order without recursion: children are finished before their parent.
  std::vector<TreeNode*> order;
  order.reserve(nodeCount_ + 1);
  order.push_back(root_);
  for (size_t i = 0; i < order.size(); ++i)
    for (TreeNode* c : order[i]->children()) order.push_back(c);
  for (size_t i = order.size(); i-- > 0;) {
    TreeNode* n = order[i];
    uint32_t size = n == root_ ? 0 : 1;
    for (TreeNode* c : n->children()) size += c->subtreeSize_;
    n->subtreeSize_ = size;
    n->forgetOffsets();
  }
}

void Ttree::detach(TreeNode* node) {
  TreeNode* parent = node->parent_;
  parent->remove(node);
  adjustSubtreeSizes(parent, -static_cast<std::ptrdiff_t>(node->subtreeSize_));
  node->parent_ = nullptr;
}

void Ttree::attachFirst(TreeNode* node, TreeNode* parent) {
  parent->pushFront(node);
  node->parent_ = parent;
  adjustSubtreeSizes(parent, static_cast<std::ptrdiff_t>(node->subtreeSize_));
}

size_t Ttree::destroySubtree(TreeNode* node, bool discardRecords) {
  // Iterative, so that a chain a million tasks deep cannot exhaust the stack.
  // In pre-order, the order a read list was made in, so that the memory is
  // walked forwards rather than hopping between subtrees.
  size_t destroyed = 0;
  std::vector<TreeNode*> pending{node};
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    std::span<TreeNode* const> children = n->children();
    pending.insert(pending.end(), children.rbegin(), children.rend());
    if (discardRecords && n->record_ != nullptr) deleteComponent(n->record_);
    if (n == root_) {
      n->dropChildren();
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
  return insertNode(parent, SIZE_MAX, text, record);
}

TreeNode* Ttree::insertNode(TreeNode* parent, size_t row, std::string_view text, Tinfo* record) {
  if (parent == nullptr) parent = root_;
  // Everything that may fail is done before the observers hear of the
  // insertion, which they then see through to its end.
  auto created = std::make_unique<TreeNode>();
  created->text_.assign(text);
  parent->makeRoomAtBack();
  row = std::min(row, parent->childCount());
  notify([&](TreeObserver& o) { o.nodeAboutToBeInserted(parent, row); });
  TreeNode* node = created.release();
  node->record_ = record;
  placeChild(parent, row, node);
  ++nodeCount_;
  adjustSubtreeSizes(parent, 1);
  notify([&](TreeObserver& o) { o.nodeInserted(node); });
  return node;
}

void Ttree::deleteNode(TreeNode* node) {
  if (node == nullptr || node == root_) return;
  TreeNode* parent = node->parent_;
  size_t row = node->row();
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
  if (oldParent != newParent || node->row() != 0) {
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

void Ttree::placeChild(TreeNode* parent, size_t row, TreeNode* node) {
  parent->insertAt(std::min(row, parent->childCount()), node);
  node->parent_ = parent;
}

Ttree::TakenSubtree::TakenSubtree(TakenSubtree&& other) noexcept
    : tree_(std::exchange(other.tree_, nullptr)), node_(std::exchange(other.node_, nullptr)) {}

Ttree::TakenSubtree& Ttree::TakenSubtree::operator=(TakenSubtree&& other) noexcept {
  if (this != &other) {
    reset();
    tree_ = std::exchange(other.tree_, nullptr);
    node_ = std::exchange(other.node_, nullptr);
  }
  return *this;
}

void Ttree::TakenSubtree::reset() {
  if (node_ == nullptr) return;
  TreeNode* node = std::exchange(node_, nullptr);
  tree_->notify([&](TreeObserver& o) { o.takenSubtreeDestroyed(node); });
  tree_->destroySubtree(node, true);
  tree_ = nullptr;
}

Ttree::TakenSubtree Ttree::takeSubtree(TreeNode* node) {
  if (node == nullptr || node == root_ || node->parent_ == nullptr) return {};
  TreeNode* parent = node->parent_;
  size_t row = node->row();
  bool selectionGoes = selected_ != nullptr && isInSubtree(selected_, node);
  notify([&](TreeObserver& o) { o.nodeAboutToBeTaken(node); });
  detach(node);
  nodeCount_ -= node->subtreeSize_;
  if (selectionGoes) selected_ = nullptr;
  notify([&](TreeObserver& o) { o.nodeTaken(parent, row); });
  if (selectionGoes) notify([](TreeObserver& o) { o.selectionChanged(nullptr); });
  return TakenSubtree(this, node);
}

void Ttree::putBack(TakenSubtree& taken, TreeNode* parent, size_t row) {
  if (taken.tree_ != this) return;
  if (parent == nullptr) parent = root_;
  parent->makeRoomAtBack();  // before the observers hear of it
  TreeNode* node = std::exchange(taken.node_, nullptr);
  taken.tree_ = nullptr;
  notify([&](TreeObserver& o) { o.nodeAboutToBePutBack(parent, row); });
  placeChild(parent, row, node);
  nodeCount_ += node->subtreeSize_;
  adjustSubtreeSizes(parent, static_cast<std::ptrdiff_t>(node->subtreeSize_));
  notify([&](TreeObserver& o) { o.nodePutBack(node); });
  // A view forgot the expanded states of the rows it lost.
  std::vector<TreeNode*> pending{node};
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    if (n->expanded_) notify([&](TreeObserver& o) { o.expandedChanged(n); });
    std::span<TreeNode* const> children = n->children();
    pending.insert(pending.end(), children.begin(), children.end());
  }
}

bool Ttree::moveNodeTo(TreeNode* node, TreeNode* newParent, size_t row) {
  if (newParent == nullptr) newParent = root_;
  if (node == nullptr || node == root_ || isInSubtree(newParent, node)) return false;
  TreeNode* oldParent = node->parent_;
  size_t oldRow = node->row();
  if (oldParent == newParent) {
    row = std::min(row, oldParent->childCount() - 1);
    if (oldRow == row) return true;
    // Observers count the destination before the node leaves its place.
    size_t announcedRow = oldRow < row ? row + 1 : row;
    notify([&](TreeObserver& o) { o.nodeAboutToBeMoved(node, newParent, announcedRow); });
    oldParent->moveChild(oldRow, row);
    notify([&](TreeObserver& o) { o.nodeMoved(node); });
    return true;
  }
  newParent->makeRoomAtBack();  // before the observers hear of it
  row = std::min(row, newParent->childCount());
  notify([&](TreeObserver& o) { o.nodeAboutToBeMoved(node, newParent, row); });
  detach(node);
  placeChild(newParent, row, node);
  adjustSubtreeSizes(newParent, static_cast<std::ptrdiff_t>(node->subtreeSize_));
  notify([&](TreeObserver& o) { o.nodeMoved(node); });
  return true;
}

void Ttree::collapseSubtree(TreeNode* node) {
  std::vector<TreeNode*> pending{node};
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    setExpanded(n, false);
    std::span<TreeNode* const> children = n->children();
    pending.insert(pending.end(), children.begin(), children.end());
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

bool Ttree::isDisplayed(const TreeNode* node) const {
  for (const TreeNode* n = node->parent_; n != nullptr && n != root_; n = n->parent_)
    if (!n->expanded_) return false;
  return true;
}

size_t Ttree::absoluteIndex(const TreeNode* node) const {
  size_t index = 0;
  for (const TreeNode* n = node; n->parent_ != nullptr; n = n->parent_) {
    const TreeNode* parent = n->parent_;
    index += parent->offsetOf(n);
    if (parent != root_) ++index;
  }
  return index;
}

TreeNode* Ttree::nodeAt(size_t index) const {
  if (index >= nodeCount_) return nullptr;
  const TreeNode* n = root_;
  auto remaining = static_cast<uint32_t>(index);
  for (;;) {
    TreeNode* c = n->childCovering(remaining);
    remaining -= n->offsetOf(c);
    if (remaining == 0) return c;
    --remaining;
    n = c;
  }
}

TreeNode* Ttree::nextInPreorder(const TreeNode* node) const {
  if (node->hasChildren()) return node->child(0);
  for (const TreeNode* n = node; n != root_ && n->parent_ != nullptr; n = n->parent_) {
    const TreeNode* parent = n->parent_;
    size_t next = n->row() + 1;
    if (next < parent->childCount()) return parent->child(next);
  }
  return nullptr;
}

TreeNode* Ttree::nodeDisplayedAbove(const TreeNode* node) const {
  if (node == nullptr || node == root_) return nullptr;
  size_t row = node->row();
  if (row == 0) return node->parent_ == root_ ? nullptr : node->parent_;
  TreeNode* above = node->parent_->child(row - 1);
  while (above->expanded_ && above->hasChildren()) above = above->child(above->childCount() - 1);
  return above;
}

// --- records

Tinfo* Ttree::createRecord() { return static_cast<Tinfo*>(insertComponent(std::make_unique<Tinfo>())); }

namespace {

// "ID" and digits: the names that the record numbering hands out.
bool looksLikeRecordName(std::string_view name) {
  if (name.size() < 3 || !equalsIgnoringAsciiCase(name.substr(0, 2), "ID")) return false;
  for (char c : name.substr(2))
    if (c < '0' || c > '9') return false;
  return true;
}

// "ID<i>" in `buffer`, without allocating.
std::string_view recordName(size_t i, char (&buffer)[24]) {
  buffer[0] = 'I';
  buffer[1] = 'D';
  char* end = std::to_chars(buffer + 2, buffer + sizeof buffer, i).ptr;
  return {buffer, static_cast<size_t>(end - buffer)};
}

}  // namespace

bool Ttree::recordNamesMatchNodes() const {
  size_t attached = 0;
  size_t i = 0;
  char buffer[24];
  for (TreeNode* n = firstNode(); n != nullptr; n = nextInPreorder(n), ++i) {
    if (n->record_ == nullptr) continue;
    if (n->record_->owner() != this || n->record_->name() != recordName(i, buffer)) return false;
    ++attached;
  }
  // Distinct names, so distinct records; and no other component has a name.
  return attached == namedComponentCount();
}

void Ttree::freeRecordNames() {
  for (Component* c = firstComponent(); c != nullptr; c = c->nextSibling()) {
    if (asTaskRecord(c) != nullptr)
      c->setName({});
    else if (c->className() != Tinfo::kClassName && looksLikeRecordName(c->name()))
      c->setName({});
  }
}

void Ttree::renameRecordsBefore(const TreeNode* end) {
  size_t i = 0;
  char buffer[24];
  for (TreeNode* n = firstNode(); n != end; n = nextInPreorder(n), ++i)
    if (n->record_ != nullptr) n->record_->setName(recordName(i, buffer));
}

void Ttree::NameRecords(const std::function<void(const Tinfo&)>& writeRecord) {
  // Every record name is freed first, attached or not, so that the new
  // numbering can never collide with names given by an earlier save or read;
  // a component of another class bearing a name of that form gives it up
  // too. Usually the last save or read left every record named after its
  // node already; then nothing is renamed, and only the first record found
  // misnamed (or a name left over at the end) starts the renaming, which
  // gives the records before it the names they had.
  bool renaming = false;
  size_t attached = 0;
  size_t i = 0;
  char buffer[24];
  for (TreeNode* n = firstNode(); n != nullptr; n = nextInPreorder(n), ++i) {
    std::string_view name = recordName(i, buffer);
    if (n->record_ != nullptr) {
      if (!renaming && (n->record_->owner() != this || n->record_->name() != name)) {
        renaming = true;
        freeRecordNames();
        renameRecordsBefore(n);
      }
      if (renaming) n->record_->setName(name);
      ++attached;
      writeRecord(*n->record_);
    } else {
      Tinfo standIn;
      standIn.setName(name);
      standIn.icon = n->imageIndex_;
      writeRecord(standIn);
    }
  }
  if (!renaming && attached != namedComponentCount()) {
    // A name not given by the numbering is left: free them all and name the
    // records again as they were written.
    freeRecordNames();
    renameRecordsBefore(nullptr);
  }
}

void Ttree::LinkRecords() {
  // The done counts come with the pass that reaches every task anyway: a
  // window then shows a big list's progress without a walk of its own.
  DoneTally::Counter done(root_);
  size_t i = 0;
  for (TreeNode* n = firstNode(); n != nullptr; n = nextInPreorder(n), ++i) {
    n->record_ = asTaskRecord(findNumberedComponent(i));
    done.add(n);
  }
  done.finish();
  doneCountsFresh_ = true;
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

// --- building aside

Ttree::NodeBuilder::~NodeBuilder() {
  std::vector<TreeNode*> pending(staging_.children().begin(), staging_.children().end());
  while (!pending.empty()) {
    TreeNode* n = pending.back();
    pending.pop_back();
    std::span<TreeNode* const> children = n->children();
    pending.insert(pending.end(), children.begin(), children.end());
    delete n;
  }
}

void Ttree::NodeBuilder::finishLevelsBelow(size_t depth) {
  // A node whose children are all in adds its subtree to its parent's.
  while (path_.size() > depth) {
    TreeNode* done = path_.back();
    path_.pop_back();
    (path_.empty() ? staging_ : *path_.back()).subtreeSize_ += done->subtreeSize_;
  }
}

TreeNode* Ttree::NodeBuilder::append(size_t depth, std::string_view text, int32_t image, int32_t selected,
                                     int32_t state, int32_t overlay) {
  finishLevelsBelow(depth);
  TreeNode* parent = path_.empty() ? &staging_ : path_.back();
  auto* node = new TreeNode;
  node->text_.assign(text);
  node->imageIndex_ = image;
  node->selectedIndex_ = selected;
  node->stateIndex_ = state;
  node->overlayIndex_ = overlay;
  node->parent_ = path_.empty() ? tree_.root_ : parent;
  parent->pushBack(node);
  path_.push_back(node);
  ++count_;
  return node;
}

void Ttree::NodeBuilder::commit() {
  finishLevelsBelow(0);
  BulkUpdate bulk(tree_);
  tree_.clearNodes();
  TreeNode* root = tree_.root_;
  root->kids_ = staging_.kids_;  // the top-level nodes name the root already
  staging_.kids_ = nullptr;
  root->subtreeSize_ = staging_.subtreeSize_;
  tree_.nodeCount_ = count_;
  count_ = 0;
}

// --- observers

void Ttree::addObserver(TreeObserver* observer) { observers_.push_back(observer); }

void Ttree::removeObserver(TreeObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

Ttree::BulkUpdate::BulkUpdate(Ttree& tree) : tree_(tree) {
  tree_.doneCountsFresh_ = false;
  if (tree_.bulkDepth_++ == 0)
    for (TreeObserver* o : tree_.observers_) o->treeAboutToBeReset();
}

Ttree::BulkUpdate::~BulkUpdate() {
  if (--tree_.bulkDepth_ == 0) {
    if (tree_.sizesStale_) tree_.recomputeSubtreeSizes();
    tree_.sizesStale_ = false;
    for (TreeObserver* o : tree_.observers_) o->treeReset();
  }
}

}  // namespace qm
