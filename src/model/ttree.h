#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "model/component.h"
#include "model/tinfo.h"
#include "model/tree_node.h"
#include "model/tree_observer.h"
#include "model/tree_settings.h"

namespace qm {

// The task tree: the tree control's data (nodes, selection, expansion and its
// published settings) and the owner of every task record of the list.
//
// Costs: append, title and picture changes, selection and expansion are O(1)
// plus O(depth) to keep subtree sizes. Delete and move are O(depth) plus the
// size of the subtree that is removed or collapsed, plus a move of pointers
// (not a renumbering) of the siblings after a node removed from the middle of
// its list. Absolute index is O(depth), and back O(depth x log siblings), once
// the positions touched by earlier changes have been brought up to date:
// the first look-up after a change pays for the siblings after the changed
// place, at each level, once.
class Ttree : public Component {
 public:
  static constexpr std::string_view kClassName = "Ttree";

  Ttree();
  ~Ttree() override;
  std::string_view className() const override { return kClassName; }

  const TreeSettings& settings() const { return settings_; }
  void setSettings(const TreeSettings& settings);

  // --- nodes
  TreeNode* root() const { return root_; }
  size_t nodeCount() const { return nodeCount_; }
  size_t topLevelCount() const { return root_->childCount(); }
  // Parent nullptr means the top level.
  TreeNode* appendNode(TreeNode* parent, std::string_view text, Tinfo* record = nullptr);
  // The new node becomes child `row` of parent (the last child when row is
  // past the end). Cost: as appendNode, plus a move of the pointers of the
  // siblings after `row`.
  TreeNode* insertNode(TreeNode* parent, size_t row, std::string_view text, Tinfo* record = nullptr);
  // Removes the node and its descendants and discards their records.
  void deleteNode(TreeNode* node);
  // Removes every node; records stay owned by the tree, unattached.
  void clearNodes();
  // The moving rule: node becomes the first child of newParent (nullptr: the
  // first top-level node). Returns false, changing nothing, when newParent is
  // the node or lies inside its subtree. Afterwards the node and its subtree
  // are collapsed, an old parent left childless is collapsed, and the new
  // parent is expanded.
  bool moveNode(TreeNode* node, TreeNode* newParent);

  // --- taking out and putting back, for undo
  // A subtree taken out of the tree with its nodes and records alive. It
  // goes back with putBack; dropped, it destroys its nodes and their records.
  // A handle must not outlive its tree.
  class TakenSubtree {
   public:
    TakenSubtree() = default;
    TakenSubtree(TakenSubtree&& other) noexcept;
    TakenSubtree& operator=(TakenSubtree&& other) noexcept;
    ~TakenSubtree() { reset(); }
    TreeNode* node() const { return node_; }
    explicit operator bool() const { return node_ != nullptr; }
    void reset();

   private:
    friend class Ttree;
    TakenSubtree(Ttree* tree, TreeNode* node) : tree_(tree), node_(node) {}
    Ttree* tree_ = nullptr;
    TreeNode* node_ = nullptr;
  };
  // Cost: as deleteNode, without destroying anything.
  TakenSubtree takeSubtree(TreeNode* node);
  // The subtree becomes child `row` of parent (nullptr: the top level), and
  // the views learn its expanded states again. Cost: the subtree, plus a
  // move of the pointers of the siblings after `row`.
  void putBack(TakenSubtree& taken, TreeNode* parent, size_t row);
  // Node with its subtree becomes child `row` (counted without the node) of
  // newParent; nothing else changes. False, changing nothing, when
  // newParent lies inside the node's subtree. Among its own siblings this is
  // one move of the pointers between the two rows; to another parent, as
  // takeSubtree and putBack without the walk of the subtree.
  bool moveNodeTo(TreeNode* node, TreeNode* newParent, size_t row);

  void setText(TreeNode* node, std::string_view text);
  void setImageIndex(TreeNode* node, int32_t index);
  void setPictures(TreeNode* node, int32_t image, int32_t selected, int32_t state, int32_t overlay);
  void setRecord(TreeNode* node, Tinfo* record) { node->record_ = record; }
  // Records are written in place by their users, who then tell the
  // observers through this.
  void recordChanged(TreeNode* node) {
    notify([&](TreeObserver& o) { o.recordChanged(node); });
  }
  void setExpanded(TreeNode* node, bool expanded);

  TreeNode* selected() const { return selected_; }
  void select(TreeNode* node);  // nullptr: no task selected

  // Position in depth-first pre-order, from 0; and back.
  size_t absoluteIndex(const TreeNode* node) const;
  TreeNode* nodeAt(size_t index) const;
  TreeNode* firstNode() const { return root_->hasChildren() ? root_->child(0) : nullptr; }
  TreeNode* nextInPreorder(const TreeNode* node) const;
  // The node displayed immediately above (all its ancestors expanded), or
  // nullptr for the topmost node.
  TreeNode* nodeDisplayedAbove(const TreeNode* node) const;
  bool isInSubtree(const TreeNode* node, const TreeNode* subtreeRoot) const;
  // Whether all the node's ancestors are expanded.
  bool isDisplayed(const TreeNode* node) const;

  // --- records
  // A new empty record owned by the tree.
  Tinfo* createRecord();
  // The writer's child enumeration: frees every record name (and names of
  // that form that components of other classes bear), then names the record
  // of node i "ID<i>" and hands it to writeRecord, in pre-order. A node
  // without a record is handed a stand-in that holds only its picture.
  void NameRecords(const std::function<void(const Tinfo&)>& writeRecord);
  // The post-read step: node i takes the owned Tinfo named "ID<i>", if any.
  void LinkRecords();
  // Whether every attached record is owned here and named after its node,
  // and no other owned component has a name: what NameRecords would leave.
  bool recordNamesMatchNodes() const;
  // Whether every node's done count (TreeNode::doneDescendants) was made by
  // LinkRecords and no change has been announced since.
  bool doneCountsFresh() const { return doneCountsFresh_; }
  // Discards every owned Tinfo and every node, before another file is read.
  void ClearTasks();

  // --- observers
  void addObserver(TreeObserver* observer);
  void removeObserver(TreeObserver* observer);

  // Builds a whole new set of nodes aside, in pre-order, and puts it in place
  // of the tree's nodes (without their records, which stay owned) only when
  // committed; dropped uncommitted, it leaves the tree as it was. For reading
  // a node list that may turn out bad halfway.
  class NodeBuilder {
   public:
    explicit NodeBuilder(Ttree& tree) : tree_(tree) { staging_.subtreeSize_ = 0; }
    ~NodeBuilder();
    NodeBuilder(const NodeBuilder&) = delete;
    NodeBuilder& operator=(const NodeBuilder&) = delete;

    // A node at `depth` (0: top level; at most one more than the last node
    // appended), the last child of the last node appended at depth - 1.
    TreeNode* append(size_t depth, std::string_view text, int32_t image, int32_t selected, int32_t state,
                     int32_t overlay);
    // Replaces the tree's nodes, as one reset for the observers.
    void commit();

   private:
    void finishLevelsBelow(size_t depth);

    Ttree& tree_;
    TreeNode staging_;  // the parent of the new top-level nodes until commit
    std::vector<TreeNode*> path_;
    size_t count_ = 0;
  };

  // Groups many changes into one reset for the observers (reading a file);
  // per-node notifications are not sent while one is alive.
  class BulkUpdate {
   public:
    explicit BulkUpdate(Ttree& tree);
    ~BulkUpdate();
    BulkUpdate(const BulkUpdate&) = delete;
    BulkUpdate& operator=(const BulkUpdate&) = delete;

   private:
    Ttree& tree_;
  };

 private:
  template <class F>
  void notify(F&& f) {
    doneCountsFresh_ = false;
    if (bulkDepth_ == 0)
      for (TreeObserver* o : observers_) f(*o);
  }
  void detach(TreeNode* node);
  void attachFirst(TreeNode* node, TreeNode* parent);
  // Node becomes child `row` of parent; subtree sizes are the caller's.
  void placeChild(TreeNode* parent, size_t row, TreeNode* node);
  void adjustSubtreeSizes(TreeNode* from, std::ptrdiff_t delta);
  void recomputeSubtreeSizes();
  size_t destroySubtree(TreeNode* node, bool discardRecords);
  void collapseSubtree(TreeNode* node);
  void freeRecordNames();
  void renameRecordsBefore(const TreeNode* end);  // nullptr: all

  TreeSettings settings_;
  TreeNode* root_;
  size_t nodeCount_ = 0;
  TreeNode* selected_ = nullptr;
  std::vector<TreeObserver*> observers_;
  int bulkDepth_ = 0;
  bool sizesStale_ = false;  // a change under a bulk update left subtree sizes behind
  bool doneCountsFresh_ = false;
};

}  // namespace qm
