#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <initializer_list>
#include <memory>

#include "model/ttree.h"
#include "platform/hive_file_store.h"
#include "scripted_desktop.h"
#include "stream/task_list_file.h"
#include "ui/tree/task_tree_model.h"
#include "ui/main_window/uMain.h"

namespace qm::test {

// A main window with its settings in a temporary hive and a scripted desktop.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settingsDir.isValid());
    hive = std::make_unique<platform::HiveFileStore>(settingsDir.filePath(QStringLiteral("registry.reg")));
    platform::setSettingsStore(hive.get());
    // Recovery files of the windows under test go where nothing else looks.
    qputenv("XDG_STATE_HOME", settingsDir.filePath(QStringLiteral("state")).toLocal8Bit());
  }

  void TearDown() override {
    window.reset();
    platform::setSettingsStore(nullptr);
  }

  ui::TfrmMain& createWindow() {
    window = std::make_unique<ui::TfrmMain>();
    return *window;
  }

  // Shows the window and waits until it is the active window, so that
  // shortcuts and focus behave as on a desktop.
  void showActive() {
    if (!window) createWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  // New, then the blank task's edit confirmed as it stands.
  void createTree() {
    if (!window) createWindow();
    window->cmdCreateTreeClick(nullptr);
    closeEditor(Qt::Key_Escape);
  }

  // A tree holding only the given top-level tasks (after New).
  void createTreeWith(std::initializer_list<const char*> titles) {
    createTree();
    tree().deleteNode(tree().firstNode());
    for (const char* title : titles) add(nullptr, title);
  }

  // Writes a task-list file holding the given top-level tasks; returns its path.
  static QString writeListFile(const QString& file, std::initializer_list<const char*> titles) {
    Ttree list;
    list.setSettings(TreeSettings::mainWindowInitial());
    for (const char* title : titles) list.appendNode(nullptr, title, list.createRecord());
    SaveTaskList(QFile::encodeName(file).toStdString(), list);
    return file;
  }

  // Open, with the file chosen in its dialog.
  void openWithDialog(const QString& file) {
    desktop.fileNames.push_back(file);
    window->mnuOpen->trigger();
  }

  TreeNode* add(TreeNode* parent, const char* title) {
    return tree().appendNode(parent, title, tree().createRecord());
  }

  Ttree& tree() { return *window->tree(); }
  ui::TaskTreeView& view() { return *window->treeView(); }
  QModelIndex indexOf(const TreeNode* node) { return window->treeModel()->indexOf(node); }
  QPoint centreOf(const TreeNode* node) { return view().visualRect(indexOf(node)).center(); }

  QLineEdit* editor() { return qobject_cast<QLineEdit*>(view().titleEditor()); }
  bool isEditing() { return view().isEditingTitle() && editor() != nullptr; }
  // Ends the open edit with Enter (confirm) or Escape (cancel).
  void closeEditor(Qt::Key key) {
    if (!isEditing()) return;
    QTest::keyClick(editor(), key);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view().isEditingTitle(); }));
  }

  // Types any text, also characters that QTest::keyClicks cannot.
  static void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QCoreApplication::sendEvent(widget, &press);
    }
  }

  void pressCtrlTab() { QTest::keyClick(&view(), Qt::Key_Tab, Qt::ControlModifier); }

  static std::string titleOf(const TreeNode* node) { return std::string(node->text()); }
  static std::vector<std::string> childTitles(const TreeNode* node) {
    std::vector<std::string> titles;
    for (const TreeNode* child : node->children()) titles.push_back(titleOf(child));
    return titles;
  }

  QTemporaryDir settingsDir;
  std::unique_ptr<platform::HiveFileStore> hive;
  ScriptedDesktop desktop;
  std::unique_ptr<ui::TfrmMain> window;
};

}  // namespace qm::test
