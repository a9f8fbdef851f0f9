#include "ui/tree/task_tree_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDrag>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <functional>

#include "model/ttree.h"
#include "ui/tree/pictures.h"
#include "ui/tree/task_tree_view.h"

namespace qm::test {
namespace {

// Collects what QAbstractItemModelTester reports, so a fault fails the test
// that caused it.
class ModelWarnings {
 public:
  ModelWarnings() { previous_ = qInstallMessageHandler(&ModelWarnings::record); }
  ~ModelWarnings() { qInstallMessageHandler(previous_); }
  static QStringList& messages() {
    static QStringList list;
    return list;
  }

 private:
  static void record(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) messages().append(message);
  }
  QtMessageHandler previous_;
};

class TaskTreeModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ModelWarnings::messages().clear();
    model = std::make_unique<ui::TaskTreeModel>(tree, images);
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
    view.setTaskModel(model.get());
    view.resize(300, 400);
  }
  void TearDown() override { EXPECT_TRUE(ModelWarnings::messages().isEmpty()) << warnings(); }

  std::string warnings() { return ModelWarnings::messages().join('\n').toStdString(); }

  // The model's rows, walked through the model only, in pre-order.
  QStringList modelOutline(const QModelIndex& parent = {}, const QString& indent = {}) {
    QStringList lines;
    for (int row = 0; row < model->rowCount(parent); ++row) {
      QModelIndex index = model->index(row, 0, parent);
      lines << indent + index.data().toString();
      lines << modelOutline(index, indent + "  ");
    }
    return lines;
  }
  QStringList treeOutline() {
    QStringList lines;
    for (TreeNode* n = tree.firstNode(); n != nullptr; n = tree.nextInPreorder(n))
      lines << QString(int(n->depth()) * 2, ' ') +
                   QString::fromUtf8(n->text().data(), qsizetype(n->text().size()));
    return lines;
  }

  TreeNode* add(TreeNode* parent, const char* title) {
    return tree.appendNode(parent, title, tree.createRecord());
  }

  ModelWarnings warningsCatcher;
  Ttree tree;
  ui::ImageList images;
  std::unique_ptr<ui::TaskTreeModel> model;
  std::unique_ptr<QAbstractItemModelTester> tester;
  ui::TaskTreeView view;
};

TEST_F(TaskTreeModelTest, FollowsInsertsMovesRemovalsAndTitleChanges) {
  TreeNode* a = add(nullptr, "A");
  TreeNode* b = add(nullptr, "B");
  TreeNode* a1 = add(a, "a1");
  add(a, "a2");
  TreeNode* a2x = add(a->child(1), "a2x");
  EXPECT_EQ(modelOutline(), treeOutline());

  tree.moveNode(b, a2x);                     // into another subtree
  tree.moveNode(a->child(1), a);             // a2 to the top of its siblings
  tree.moveNode(a1, nullptr);                // out to the top level
  EXPECT_FALSE(tree.moveNode(a, a2x));       // into its own subtree: refused
  tree.moveNode(tree.firstNode(), nullptr);  // the first top-level task stays: Qt sees no move
  EXPECT_EQ(modelOutline(), treeOutline());

  tree.setText(b, "Bee");
  tree.setImageIndex(b, 12);
  EXPECT_EQ(model->indexOf(b).data().toString(), "Bee");
  EXPECT_EQ(model->indexOf(b).data(ui::TaskTreeModel::ImageIndexRole).toInt(), 12);

  tree.deleteNode(a2x);
  EXPECT_EQ(modelOutline(), treeOutline());
  EXPECT_EQ(model->rowCount(), 2);
  EXPECT_TRUE(warnings().empty()) << warnings();
}

// Views skip asking a task without children about them; the flag must follow
// its first child arriving and its last one leaving.
TEST_F(TaskTreeModelTest, ATaskIsALeafExactlyWhileItHasNoChildren) {
  TreeNode* a = add(nullptr, "A");
  QModelIndex index = model->indexOf(a);
  auto isLeaf = [&] { return model->flags(index).testFlag(Qt::ItemNeverHasChildren); };
  EXPECT_TRUE(isLeaf());
  view.expand(index);
  EXPECT_FALSE(view.isExpanded(index));

  TreeNode* a1 = add(a, "a1");
  EXPECT_FALSE(isLeaf());
  view.expand(index);
  EXPECT_TRUE(view.isExpanded(index));
  EXPECT_EQ(view.indexBelow(index), model->indexOf(a1));

  tree.deleteNode(a1);
  EXPECT_TRUE(isLeaf());
  EXPECT_FALSE(view.indexBelow(index).isValid());
}

TEST_F(TaskTreeModelTest, ResetsForBulkChangesAndForAnotherTree) {
  add(add(nullptr, "A"), "a1");
  QSignalSpy resets(model.get(), &ui::TaskTreeModel::treeWasReset);
  {
    Ttree::BulkUpdate bulk(tree);
    tree.clearNodes();
    TreeNode* x = tree.appendNode(nullptr, "X");
    tree.appendNode(x, "x1");
    tree.setExpanded(x, true);
  }
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(modelOutline(), treeOutline());
  // The view takes the tree's expansion after a reset.
  EXPECT_TRUE(view.isExpanded(model->indexOf(tree.firstNode())));

  tree.ClearTasks();
  EXPECT_EQ(model->rowCount(), 0);

  Ttree other;
  other.appendNode(nullptr, "Other");
  model->setTree(other);
  EXPECT_EQ(modelOutline(), QStringList{"Other"});
  model->setTree(tree);  // before `other` goes
}

TEST_F(TaskTreeModelTest, SelectionAndExpansionFollowEachOtherBothWays) {
  TreeNode* a = add(nullptr, "A");
  TreeNode* a1 = add(a, "a1");
  add(nullptr, "B");

  tree.setExpanded(a, true);
  EXPECT_TRUE(view.isExpanded(model->indexOf(a)));
  view.collapse(model->indexOf(a));
  EXPECT_FALSE(a->expanded());
  view.expand(model->indexOf(a));
  EXPECT_TRUE(a->expanded());

  tree.select(a1);
  EXPECT_EQ(view.currentIndex(), model->indexOf(a1));
  EXPECT_TRUE(view.selectionModel()->isSelected(model->indexOf(a1)));
  view.selectionModel()->setCurrentIndex(model->indexOf(a), QItemSelectionModel::ClearAndSelect);
  EXPECT_EQ(tree.selected(), a);

  // Collapsing a task that holds the selected one selects the collapsed task.
  tree.select(a1);
  view.collapse(model->indexOf(a));
  EXPECT_EQ(tree.selected(), a);

  tree.select(nullptr);
  EXPECT_TRUE(view.selectionModel()->selectedIndexes().isEmpty());
  EXPECT_FALSE(view.currentIndex().isValid());
}

TEST_F(TaskTreeModelTest, TheTreeGoingAwayEmptiesTheModel) {
  auto doomed = std::make_unique<Ttree>();
  doomed->appendNode(nullptr, "gone");
  model->setTree(*doomed);
  EXPECT_EQ(model->rowCount(), 1);
  doomed.reset();
  EXPECT_EQ(model->rowCount(), 0);
  EXPECT_EQ(model->tree(), nullptr);
}

TEST_F(TaskTreeModelTest, ConfirmedTitlesAreKeptExactlyAndReportedWhenChanged) {
  TreeNode* a = add(nullptr, "A");
  QSignalSpy edited(model.get(), &ui::TaskTreeModel::titleEdited);
  QModelIndex index = model->indexOf(a);
  EXPECT_TRUE(model->setData(index, QStringLiteral("A")));
  EXPECT_EQ(edited.count(), 0);
  EXPECT_TRUE(model->setData(index, QStringLiteral("  Grüße ")));
  EXPECT_EQ(edited.count(), 1);
  EXPECT_EQ(a->text(),
            "  Gr\xC3\xBC\xC3\x9F"
            "e ");
  EXPECT_TRUE(model->flags(index).testFlag(Qt::ItemIsEditable));
  EXPECT_TRUE(model->flags(index).testFlag(Qt::ItemIsDragEnabled));
}

// A view whose drag is recorded instead of run: QDrag::exec cannot be
// driven headless.
class RecordingView : public ui::TaskTreeView {
 public:
  std::function<void(QDrag&)> onDrag;
  int drags = 0;

 protected:
  Qt::DropAction execDrag(QDrag& drag) override {
    ++drags;
    if (onDrag) onDrag(drag);
    return Qt::MoveAction;
  }
};

TEST(TaskTreeViewDrag, APressAndAMovePastTheDragDistanceStartsADragOfThePressedTask) {
  Ttree tree;
  ui::ImageList images;
  ui::TaskTreeModel model(tree, images);
  RecordingView view;
  view.setTaskModel(&model);
  view.resize(300, 300);
  view.show();
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  TreeNode* a = tree.appendNode(nullptr, "A");
  TreeNode* b = tree.appendNode(nullptr, "B");
  tree.select(a);
  int clicks = 0;
  view.events.onClick = [&] { ++clicks; };
  bool editorDuringDrag = true;
  QPixmap image;
  view.onDrag = [&](QDrag& drag) {
    image = drag.pixmap();
    EXPECT_TRUE(view.isDragging());
    editorDuringDrag = view.editTitle(b);
  };

  QPoint start = view.visualRect(model.indexOf(b)).center();
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, start);
  QTest::mouseMove(view.viewport(), start + QPoint(1, 0));
  EXPECT_EQ(view.drags, 0);  // not yet beyond the distance
  QTest::mouseMove(view.viewport(), start + QPoint(QApplication::startDragDistance() + 2, 0));
  EXPECT_EQ(view.drags, 1);
  EXPECT_EQ(tree.selected(), b);
  EXPECT_TRUE(view.hasFocus());
  EXPECT_FALSE(image.isNull());
  EXPECT_FALSE(editorDuringDrag);
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, start);
  EXPECT_EQ(clicks, 0);             // a drag is no click
  EXPECT_EQ(tree.nodeCount(), 2u);  // the view never removes what it dragged
}

}  // namespace
}  // namespace qm::test
