#include "ui/tree/task_tree_model.h"

#include <QMimeData>

#include "model/ttree.h"
#include "ui/tree/pictures.h"

namespace qm::ui {
namespace {

constexpr size_t kPrefetchRows = 8;  // 16 gains nothing more

}  // namespace

TaskTreeModel::TaskTreeModel(Ttree& tree, const ImageList& images, QObject* parent)
    : QAbstractItemModel(parent), tree_(&tree), images_(images) {
  tree_->addObserver(this);
}

TaskTreeModel::~TaskTreeModel() {
  if (tree_ != nullptr) tree_->removeObserver(this);
}

void TaskTreeModel::setTree(Ttree& tree) {
  beginResetModel();
  if (tree_ != nullptr) tree_->removeObserver(this);
  tree_ = &tree;
  tree_->addObserver(this);
  endResetModel();
  Q_EMIT treeWasReset();
}

TreeNode* TaskTreeModel::nodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TaskTreeModel::indexOf(const TreeNode* node) const {
  if (node == nullptr || node->isRoot()) return {};
  return createIndex(static_cast<int>(node->row()), 0, const_cast<TreeNode*>(node));
}

QModelIndex TaskTreeModel::parentIndexOf(const TreeNode* parent) const { return indexOf(parent); }

QModelIndex TaskTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (tree_ == nullptr || column != 0 || row < 0) return {};
  const TreeNode* parentNode = parent.isValid() ? nodeOf(parent) : tree_->root();
  size_t count = parentNode->childCount();
  if (static_cast<size_t>(row) >= count) return {};
  // A view laying out its rows asks for them in order and then asks each
  // whether it has children: on a long list a cache miss per row. Loading
  // the node a few rows ahead takes a top-level relayout at a million tasks
  // from 15 ms to 4 ms.
  if (size_t ahead = static_cast<size_t>(row) + kPrefetchRows; ahead < count)
    parentNode->child(ahead)->prefetchChildCount();
  return createIndex(row, 0, parentNode->child(static_cast<size_t>(row)));
}

QModelIndex TaskTreeModel::parent(const QModelIndex& child) const {
  const TreeNode* node = nodeOf(child);
  return node != nullptr ? indexOf(node->parent()) : QModelIndex();
}

int TaskTreeModel::rowCount(const QModelIndex& parent) const {
  if (tree_ == nullptr || parent.column() > 0) return 0;
  const TreeNode* node = parent.isValid() ? nodeOf(parent) : tree_->root();
  return static_cast<int>(node->childCount());
}

int TaskTreeModel::columnCount(const QModelIndex& /*parent*/) const { return 1; }

bool TaskTreeModel::hasChildren(const QModelIndex& parent) const {
  if (tree_ == nullptr || parent.column() > 0) return false;
  return (parent.isValid() ? nodeOf(parent) : tree_->root())->hasChildren();
}

QVariant TaskTreeModel::data(const QModelIndex& index, int role) const {
  const TreeNode* node = nodeOf(index);
  if (node == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return QString::fromUtf8(node->text().data(), static_cast<qsizetype>(node->text().size()));
    case Qt::DecorationRole:
      return images_.taskIcon(node->imageIndex(), node->selectedIndex());
    case ImageIndexRole:
      return node->imageIndex();
    case SelectedIndexRole:
      return node->selectedIndex();
    default:
      return {};
  }
}

bool TaskTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  TreeNode* node = nodeOf(index);
  if (node == nullptr || role != Qt::EditRole) return false;
  // Exactly as typed: no trimming, and an empty title is a title.
  QByteArray title = value.toString().toUtf8();
  if (std::string_view(title.constData(), static_cast<size_t>(title.size())) == node->text()) return true;
  const QByteArray oldTitle(node->text().data(), static_cast<qsizetype>(node->text().size()));
  tree_->setText(node, std::string_view(title.constData(), static_cast<size_t>(title.size())));
  Q_EMIT titleEdited(index, oldTitle);
  return true;
}

Qt::ItemFlags TaskTreeModel::flags(const QModelIndex& index) const {
  const TreeNode* node = nodeOf(index);
  if (node == nullptr) return Qt::ItemIsDropEnabled;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable |
                        Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
  // Asked afresh each time, so it holds until the task gets a child; it
  // spares QTreeView's relayout two look-ups for every task without one.
  if (!node->hasChildren()) flags |= Qt::ItemNeverHasChildren;
  return flags;
}

QStringList TaskTreeModel::mimeTypes() const { return {kTaskMimeType}; }

// A drag only marks itself as a task's: the drop moves the selected task,
// so the data needs no position (finding one would cost a walk of the list).
QMimeData* TaskTreeModel::mimeData(const QModelIndexList& /*indexes*/) const {
  auto* mime = new QMimeData;
  mime->setData(kTaskMimeType, QByteArray());
  return mime;
}

// --- following the tree

void TaskTreeModel::nodeAboutToBeInserted(TreeNode* parent, size_t row) {
  changingStructure_ = true;
  beginInsertRows(parentIndexOf(parent), static_cast<int>(row), static_cast<int>(row));
}

void TaskTreeModel::nodeInserted(TreeNode* node) {
  endInsertRows();
  changingStructure_ = false;
  followFirstChild(node);
}

void TaskTreeModel::followFirstChild(const TreeNode* node) {
  // A view ignores expanding or collapsing a task without children, so it
  // may hold another state than the tree's by the time the task gets one.
  const TreeNode* parent = node->parent();
  if (!parent->isRoot() && parent->childCount() == 1)
    Q_EMIT treeExpansionChanged(indexOf(parent), parent->expanded());
}

void TaskTreeModel::nodeAboutToBeRemoved(TreeNode* node) {
  changingStructure_ = true;
  int row = static_cast<int>(node->row());
  beginRemoveRows(parentIndexOf(node->parent()), row, row);
}

void TaskTreeModel::nodeRemoved(TreeNode* /*parent*/, size_t /*row*/) {
  endRemoveRows();
  changingStructure_ = false;
}

void TaskTreeModel::nodeAboutToBeMoved(TreeNode* node, TreeNode* newParent, size_t newRow) {
  changingStructure_ = true;
  int row = static_cast<int>(node->row());
  // Qt refuses moves that change nothing; the tree then changes nothing either.
  moveAccepted_ = beginMoveRows(parentIndexOf(node->parent()), row, row, parentIndexOf(newParent),
                                static_cast<int>(newRow));
}

void TaskTreeModel::nodeMoved(TreeNode* node) {
  if (moveAccepted_) endMoveRows();
  moveAccepted_ = false;
  changingStructure_ = false;
  followFirstChild(node);
}

void TaskTreeModel::treeAboutToBeReset() {
  changingStructure_ = true;
  beginResetModel();
}

void TaskTreeModel::treeReset() {
  endResetModel();
  changingStructure_ = false;
  Q_EMIT treeWasReset();
}

void TaskTreeModel::nodeChanged(TreeNode* node) {
  QModelIndex index = indexOf(node);
  Q_EMIT dataChanged(index, index);
}

void TaskTreeModel::expandedChanged(TreeNode* node) {
  Q_EMIT treeExpansionChanged(indexOf(node), node->expanded());
}

void TaskTreeModel::selectionChanged(TreeNode* selected) { Q_EMIT treeSelectionChanged(indexOf(selected)); }

void TaskTreeModel::treeDestroyed() {
  beginResetModel();
  tree_ = nullptr;
  endResetModel();
}

}  // namespace qm::ui
