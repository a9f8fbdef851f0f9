#pragma once

#include <QAbstractItemModel>

#include "model/tree_observer.h"

namespace qm {
class Ttree;
}

namespace qm::ui {

// The format of a drag that carries a task of the view.
inline const QString kTaskMimeType = QStringLiteral("application/x-quillmark-task");

class ImageList;

// Presents a Ttree to Qt's item views: one column, one row per task, and
// every change of the tree bracketed by the matching begin/end calls. The
// tree stays the owner of selection and expansion; this model passes the
// tree's changes of both on to the view through its signals.
class TaskTreeModel : public QAbstractItemModel, public TreeObserver {
  Q_OBJECT
 public:
  // The task's pictures, for tests and tools; DecorationRole is the icon.
  enum Role { ImageIndexRole = Qt::UserRole + 1, SelectedIndexRole };

  TaskTreeModel(Ttree& tree, const ImageList& images, QObject* parent = nullptr);
  ~TaskTreeModel() override;

  // nullptr once the tree has been destroyed.
  Ttree* tree() const { return tree_; }
  // Follows another tree from now on (a reset for the views).
  void setTree(Ttree& tree);

  TreeNode* nodeOf(const QModelIndex& index) const;
  QModelIndex indexOf(const TreeNode* node) const;  // invalid for nullptr
  // True between the about-to and done notifications of a structural change,
  // when the tree must not be changed from a view's reaction.
  bool isChangingStructure() const { return changingStructure_; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Drags carry a task of this tree; the drop itself is the view's business.
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

  // TreeObserver
  void nodeAboutToBeInserted(TreeNode* parent, size_t row) override;
  void nodeInserted(TreeNode* node) override;
  void nodeAboutToBeRemoved(TreeNode* node) override;
  void nodeRemoved(TreeNode* parent, size_t row) override;
  void nodeAboutToBeMoved(TreeNode* node, TreeNode* newParent, size_t newRow) override;
  void nodeMoved(TreeNode* node) override;
  void treeAboutToBeReset() override;
  void treeReset() override;
  void nodeChanged(TreeNode* node) override;
  void expandedChanged(TreeNode* node) override;
  void selectionChanged(TreeNode* selected) override;
  void treeDestroyed() override;

 Q_SIGNALS:
  // A confirmed in-place edit that changed the task's title from oldTitle.
  void titleEdited(const QModelIndex& index, const QByteArray& oldTitle);
  void treeExpansionChanged(const QModelIndex& index, bool expanded);
  void treeSelectionChanged(const QModelIndex& selected);
  // After a reset: the view takes over the tree's expansion and selection.
  void treeWasReset();

 private:
  QModelIndex parentIndexOf(const TreeNode* parent) const;
  // Tells the views the expanded state of a parent that has just got its
  // first child.
  void followFirstChild(const TreeNode* node);

  Ttree* tree_;
  const ImageList& images_;
  bool changingStructure_ = false;
  bool moveAccepted_ = false;
};

}  // namespace qm::ui
