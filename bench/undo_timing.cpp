// Times edits and their undo and redo in the main window at 1,000,000 tasks,
// on the UI thread, offscreen: each the command itself plus the events it
// leaves for the view. Medians of a few runs, in milliseconds.
// Usage: undo_timing [tasks]
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "model/ttree.h"
#include "platform/desktop.h"
#include "sample_list.h"
#include "stream/files/file_fingerprint.h"
#include "stream/task_list_file.h"
#include "ui/dialogs/uProperties.h"
#include "ui/main_window/uMain.h"
#include "ui/tree/task_tree_model.h"

namespace {

using namespace qm;

// Answers No to every question, so that nothing blocks.
struct SilentDesktop : platform::Desktop {
  void showError(QWidget*, const QString& m, const QString&) override {
    std::fprintf(stderr, "error: %s\n", qPrintable(m));
  }
  platform::SaveAnswer askSave(QWidget*, const QString&) override { return platform::SaveAnswer::No; }
  bool askYesNo(QWidget*, const QString&) override { return false; }
  bool askReplace(QWidget*, const QString&) override { return false; }
  void confirmOk(QWidget*, const QString&) override {}
  void inform(QWidget*, const QString&) override {}
  std::optional<QString> openFileName(QWidget*, const platform::FileDialogRequest&) override { return {}; }
  std::optional<QString> saveFileName(QWidget*, const platform::FileDialogRequest&) override { return {}; }
};

double millisecondsOf(const std::function<void()>& work) {
  QElapsedTimer timer;
  timer.start();
  work();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", state.path().toLocal8Bit());
  QApplication app(argc, argv);
  const size_t tasks = argc > 1 ? std::stoul(argv[1]) : 1000000;
  SilentDesktop desktop;
  platform::setDesktop(&desktop);

  const QString file = state.filePath(QStringLiteral("list.jjp"));
  {
    Ttree list;
    list.setSettings(TreeSettings::mainWindowInitial());
    sample::appendSampleTasks(list, tasks);
    SaveTaskList(file.toStdString(), list);
  }
  ui::TfrmMain window(file);
  window.show();
  QCoreApplication::processEvents();
  Ttree& tree = *window.tree();
  std::printf("%zu tasks\n%-12s %8s %8s %8s\n", tree.nodeCount(), "step", "edit", "undo", "redo");

  // A top-level task in the middle, with no children, and one with many.
  TreeNode* leaf = nullptr;
  TreeNode* big = nullptr;
  const TreeNode* root = tree.root();
  for (size_t row = root->childCount() / 2; row < root->childCount() && (!leaf || !big); ++row) {
    TreeNode* t = root->child(row);
    if (!leaf && !t->hasChildren()) leaf = t;
    if (!big && t->subtreeSize() > 100) big = t;
  }
  struct Step {
    const char* name;
    std::function<void()> edit;
  };
  const std::vector<Step> steps{
      {"rename",
       [&] { window.treeModel()->setData(window.treeModel()->indexOf(leaf), QStringLiteral("renamed")); }},
      {"complete",
       [&] {
         tree.select(leaf);
         window.Complete1->trigger();
       }},
      {"properties",
       [&] {
         tree.select(leaf);
         ui::TfrmProperties* dialog = window.setProperties(nullptr);
         dialog->findChild<QWidget*>(QStringLiteral("Memo1"))->setProperty("plainText", QStringLiteral("n"));
         dialog->cmdOKClick();
       }},
      {"insert",
       [&] {
         window.mnuInsert->trigger();
         window.treeView()->finishEditing();
       }},
      {"indent",
       [&] {
         tree.select(leaf);
         int key = Qt::Key_Tab;
         window.FormKeyDown(nullptr, key, Qt::ControlModifier);
       }},
      {"delete leaf",
       [&] {
         tree.select(leaf);
         window.Delete1->trigger();
       }},
      {"delete tree",
       [&] {
         tree.select(big);
         window.Delete1->trigger();
       }},
  };
  for (const Step& step : steps) {
    std::vector<double> edit, undo, redo;
    for (int run = 0; run < 5; ++run) {
      edit.push_back(millisecondsOf(step.edit));
      undo.push_back(millisecondsOf([&] { window.mnuUndo->trigger(); }));
      redo.push_back(millisecondsOf([&] { window.mnuRedo->trigger(); }));
      window.mnuUndo->trigger();  // back to the list as it was
      window.undoStack()->clear();
      QCoreApplication::processEvents();
    }
    std::printf("%-12s %8.3f %8.3f %8.3f\n", step.name, median(edit), median(undo), median(redo));
  }
  if (big != nullptr) std::printf("(the deleted tree holds %zu tasks)\n", big->subtreeSize());

  // What keeping unsaved work adds: a recovery write, and the fingerprint
  // taken after every open and save.
  std::vector<double> recovery, fingerprint;
  for (int run = 0; run < 5; ++run) {
    window.setTag(1);
    tree.setText(leaf, run % 2 == 0 ? "a" : "b");
    recovery.push_back(millisecondsOf([&] { window.writeRecovery(); }));
    fingerprint.push_back(millisecondsOf([&] { fingerprintOf(file.toStdString()); }));
  }
  std::printf("recovery write %.1f ms, fingerprint %.1f ms\n", median(recovery), median(fingerprint));

  // The tree's own part of a delete and its undo, without a view: the rest
  // of the figures above is the view's.
  Ttree bare;
  LoadTaskList(file.toStdString(), bare);
  TreeNode* middle = bare.root()->child(bare.root()->childCount() / 2);
  const size_t row = middle->row();
  std::vector<double> take, back;
  for (int run = 0; run < 5; ++run) {
    Ttree::TakenSubtree taken;
    take.push_back(millisecondsOf([&] { taken = bare.takeSubtree(middle); }));
    back.push_back(millisecondsOf([&] { bare.putBack(taken, nullptr, row); }));
  }
  std::printf("tree alone, %zu top-level tasks: take %.3f ms, put back %.3f ms\n", bare.topLevelCount(),
              median(take), median(back));
  window.setTag(0);
  return 0;
}
