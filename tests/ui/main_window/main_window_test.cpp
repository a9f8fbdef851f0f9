#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "main_window_fixture.h"
#include "ui/main_window/main_window_style.h"

namespace qm::test {
namespace {

struct ButtonRow {
  const char* name;
  QString hint;
  bool enabledAtStart;
};

const ButtonRow kButtons[] = {
    {"btnNewTaskList", "New Task List < Ctrl+N >", true},
    {"btnOpenTaskList", "Open Task List < Ctrl+O >", true},
    {"btnSaveTaskList", "Save Task List < Ctrl+S >", false},
    {"btnProperties", "", false},
    {"btnInsertNode", "Insert Node < Ctrl+I >", false},
    {"btnDeleteNode", "Delete Node <Ctrl + D>", false},
    {"btnExit", "Exit < Ctrl+E >", true},
    {"btnAbout", "About < Ctrl + T >", true},
};

struct ItemRow {
  const char* menu;
  const char* name;
  QString caption;
  QKeySequence shortcut;
  bool enabledAtStart;
};

const ItemRow kItems[] = {
    {"File1", "mnuNew", "&New", QKeySequence("Ctrl+N"), true},
    {"File1", "mnuOpen", "&Open", QKeySequence("Ctrl+O"), true},
    {"File1", "SaveAs1", "S&ave As", QKeySequence("Ctrl+A"), false},
    {"File1", "mnuSave", "&Save", QKeySequence("Ctrl+S"), false},
    {"File1", "N2", "", QKeySequence(), true},
    {"File1", "Print1", "&Print", QKeySequence(), false},
    {"File1", "N1", "", QKeySequence(), true},
    {"File1", "mnuExit", "E&xit", QKeySequence("Ctrl+E"), true},
    {"mnuEdit", "mnuInsert", "&Insert Node", QKeySequence("Ctrl+I"), false},
    {"mnuEdit", "Delete1", "&Delete Node", QKeySequence("Ctrl+D"), false},
    {"mnuEdit", "mnuProperties", "&Properties", QKeySequence("Ctrl+P"), false},
    {"mnuEdit", "mnuMode", "M&ode", QKeySequence("Ctrl+O"), false},
    // Added after the document's items.
    {"mnuEdit", "N3", "", QKeySequence(), true},
    {"mnuEdit", "mnuUndo", "&Undo", QKeySequence("Ctrl+Z"), false},
    {"mnuEdit", "mnuRedo", "&Redo", QKeySequence("Ctrl+Y"), false},
    {"mnuEdit", "N4", "", QKeySequence(), true},
    {"mnuEdit", "mnuFind", "&Find...", QKeySequence("Ctrl+F"), false},
    {"mnuEdit", "mnuFindNext", "Find &Next", QKeySequence("F3"), false},
    {"mnuEdit", "mnuFindPrevious", "Find &Previous", QKeySequence("Shift+F3"), false},
    {"mnuEdit", "N5", "", QKeySequence(), true},
    {"mnuEdit", "mnuOutline", "O&utline", QKeySequence(), true},
    {"mnuOutline", "mnuMoveUp", "Move &Up", QKeySequence("Alt+Up"), false},
    {"mnuOutline", "mnuMoveDown", "Move &Down", QKeySequence("Alt+Down"), false},
    {"mnuOutline", "mnuIndent", "&Indent", QKeySequence("Alt+Right"), false},
    {"mnuOutline", "mnuOutdent", "&Outdent", QKeySequence("Alt+Left"), false},
    {"mnuOutline", "mnuInsertBelow", "Insert &Below", QKeySequence("Ctrl+Return"), false},
    {"mnuOutline", "mnuInsertChild", "Insert &Child", QKeySequence("Ctrl+Shift+Return"), false},
    {"mnuOutline", "mnuToggleDone", "Toggle &Done", QKeySequence("Ctrl+Space"), false},
    {"ools1", "mnuSkinChooser", "&Options", QKeySequence(), true},
    {"ools1", "N7", "", QKeySequence(), true},
    {"ools1", "mnuAgenda", "&Agenda", QKeySequence("Ctrl+G"), true},
    {"Help1", "About1", "&About", QKeySequence("Ctrl+T"), true},
};

template <class T>
T* control(QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// What is enabled, by control name: tool buttons and menu items apart.
std::map<std::string, bool> enabledStates(QWidget& window) {
  std::map<std::string, bool> states;
  for (const ButtonRow& row : kButtons)
    states[row.name] = control<QToolButton>(window, row.name)->isEnabled();
  for (const ItemRow& row : kItems)
    if (row.caption != "") states[row.name] = control<QAction>(window, row.name)->isEnabled();
  return states;
}

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, WindowCaptionColourSizeAndFrame) {
  ui::TfrmMain& w = createWindow();
  EXPECT_EQ(w.objectName(), "frmMain");
  EXPECT_EQ(ui::frmMain, &w);
  EXPECT_EQ(w.windowTitle(), "Quillmark 2.1");
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(166, 202, 240));
  EXPECT_FALSE(w.windowIcon().isNull());
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  showActive();
  EXPECT_EQ(w.frameGeometry().size(), QSize(356, 380));
  EXPECT_EQ(w.tree(), nullptr);
}

TEST_F(MainWindowLayout, ToolButtonsInOrderWithPicturesHintsAndStates) {
  ui::TfrmMain& w = createWindow();
  showActive();
  const int images[] = {15, 1, 2, 17, 10, 3, 13, 14};
  int left = 0;
  int i = 0;
  for (const ButtonRow& row : kButtons) {
    auto* button = control<QToolButton>(w, row.name);
    SCOPED_TRACE(row.name);
    EXPECT_EQ(button->parentWidget(), w.ToolBar1);
    EXPECT_EQ(button->toolTip(), row.hint);
    EXPECT_EQ(button->isEnabled(), row.enabledAtStart);
    EXPECT_EQ(button->size(), QSize(23, 22));
    EXPECT_EQ(button->x(), left);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button->icon().pixmap(16).toImage(), w.ImageList1().pixmap(images[i]).toImage());
    left += 23;
    ++i;
  }
  EXPECT_EQ(w.ToolBar1->width(), w.centralWidget()->width());
  EXPECT_EQ(w.ToolBar1->y(), 0);
}

TEST_F(MainWindowLayout, MenusInOrderWithCaptionsShortcutsAndStates) {
  ui::TfrmMain& w = createWindow();
  QStringList menus;
  for (QAction* menu : w.MainMenu3->actions()) menus << menu->menu()->objectName() + "=" + menu->text();
  EXPECT_EQ(menus, QStringList({"File1=&File", "mnuEdit=&Edit", "ools1=&Tools", "Help1=&Help"}));

  std::map<QString, int> nextInMenu;
  for (const ItemRow& row : kItems) {
    SCOPED_TRACE(row.name);
    auto* menu = control<QMenu>(w, row.menu);
    QAction* item = menu->actions().value(nextInMenu[row.menu]++);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->objectName(), row.name);
    EXPECT_EQ(item->isSeparator(), row.caption.isEmpty());
    if (row.caption.isEmpty()) continue;
    EXPECT_EQ(item->text(), row.caption);
    EXPECT_EQ(item->shortcut(), row.shortcut);
    EXPECT_EQ(item->isEnabled(), row.enabledAtStart);
    EXPECT_EQ(item->isVisible(), std::string(row.name) != "mnuMode");
  }
  for (const auto& [menu, count] : nextInMenu)
    EXPECT_EQ(control<QMenu>(w, menu.toLatin1())->actions().size(), count);
}

TEST_F(MainWindowLayout, ContextMenus) {
  ui::TfrmMain& w = createWindow();
  ASSERT_EQ(w.PopupMenu1->actions().size(), 4);
  EXPECT_EQ(w.PopupMenu1->actions()[0], w.Complete1);
  EXPECT_EQ(w.Complete1->text(), "&Complete");
  EXPECT_EQ(w.PopupMenu1->actions()[1], w.Hide1);
  EXPECT_EQ(w.Hide1->text(), "&Hide");
  // Added after the document's items: Reopen, enabled for a done task.
  EXPECT_TRUE(w.PopupMenu1->actions()[2]->isSeparator());
  EXPECT_EQ(w.PopupMenu1->actions()[3], w.Reopen1);
  EXPECT_EQ(w.Reopen1->text(), "&Reopen");
  ASSERT_EQ(w.PopupMenu2->actions().size(), 1);
  EXPECT_EQ(w.PopupMenu2->actions()[0]->objectName(), "Show1");
  EXPECT_EQ(w.Show1->text(), "Show");
  for (QAction* item : {w.Complete1, w.Hide1, w.Show1}) EXPECT_TRUE(item->isEnabled());
}

TEST_F(MainWindowLayout, StatusBarPanelsWithTheStartTime) {
  ui::TfrmMain& w = createWindow();
  showActive();
  EXPECT_EQ(w.StatusBar1->height(), 19);
  const int widths[] = {150, 50, 50};
  for (int i = 0; i < 3; ++i) {
    auto* panel = control<QLabel>(w, QStringLiteral("StatusPanel%1").arg(i).toLatin1());
    EXPECT_EQ(panel->width(), widths[i]);
    EXPECT_TRUE(panel->alignment().testFlag(Qt::AlignHCenter));
  }
  EXPECT_EQ(w.panelText(0), "");
  EXPECT_EQ(w.panelText(1), "");
  EXPECT_EQ(w.panelText(2), "");
  EXPECT_TRUE(w.panelText(3).contains(':')) << w.panelText(3).toStdString();
  QString startTime = w.panelText(3);
  createTree();
  w.cmdNewNodeClick(nullptr);
  EXPECT_EQ(w.panelText(2), "");
  EXPECT_EQ(w.panelText(3), startTime);
}

TEST_F(MainWindowLayout, TheTreeFillsTheSpaceBetweenToolBarAndStatusBar) {
  ui::TfrmMain& w = createWindow();
  showActive();
  createTree();
  auto fills = [&] {
    QRect tree = view().geometry();
    return tree.top() == w.ToolBar1->geometry().bottom() + 1 &&
           tree.bottom() == w.centralWidget()->height() - 1 && tree.width() == w.centralWidget()->width() &&
           w.centralWidget()->geometry().bottom() < w.StatusBar1->geometry().top();
  };
  EXPECT_TRUE(fills());
  w.resize(w.width() + 120, w.height() + 80);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view().width() == w.centralWidget()->width(); }));
  EXPECT_TRUE(fills());
  EXPECT_EQ(view().palette().color(QPalette::Base), QColor(166, 202, 240));
}

using CommandAvailability = MainWindowTest;

TEST_F(CommandAvailability, AtStartAfterTheFirstCreateAndAfterTheFirstInsert) {
  ui::TfrmMain& w = createWindow();
  auto states = enabledStates(w);
  for (const ButtonRow& row : kButtons) EXPECT_EQ(states[row.name], row.enabledAtStart) << row.name;

  // Creating the tree enables the list's menu items and the Insert button.
  // Its own first insert then enables the other buttons too.
  createTree();
  auto afterCreate = enabledStates(w);
  std::map<std::string, bool> expected = states;
  for (const char* name :
       {"mnuSave", "SaveAs1", "mnuInsert", "Delete1", "mnuProperties", "btnInsertNode", "btnSaveTaskList",
        "btnDeleteNode", "btnProperties", "mnuFind", "mnuFindNext", "mnuFindPrevious", "mnuMoveUp",
        "mnuMoveDown", "mnuIndent", "mnuOutdent", "mnuInsertBelow", "mnuInsertChild", "mnuToggleDone"})
    expected[name] = true;
  EXPECT_EQ(afterCreate, expected);
  EXPECT_EQ(w.panelText(1), "1");

  w.cmdNewNodeClick(nullptr);
  expected["mnuUndo"] = true;  // the insert can be undone
  EXPECT_EQ(enabledStates(w), expected);
  EXPECT_FALSE(w.Print1->isEnabled());
  EXPECT_FALSE(w.mnuMode->isEnabled());
  EXPECT_FALSE(w.mnuMode->isVisible());
}

TEST_F(CommandAvailability, ADiscardedTreeMakesRoomForAFreshOne) {
  showActive();
  createTreeWith({"A", "B"});
  QPointer<ui::TaskTreeView> oldView = &view();
  window->setTag(1);
  window->discardTaskTreeView();
  EXPECT_EQ(window->tree(), nullptr);
  EXPECT_EQ(window->treeView(), nullptr);
  EXPECT_TRUE(window->mnuInsert->isEnabled());
  window->cmdNewNodeClick(nullptr);  // no tree: nothing to insert into
  QTest::qWait(1);
  EXPECT_TRUE(oldView.isNull());

  window->cmdCreateTreeClick(nullptr);
  ASSERT_NE(window->tree(), nullptr);
  EXPECT_EQ(tree().nodeCount(), 1u);
  EXPECT_EQ(window->panelText(1), "1");
  EXPECT_EQ(view().geometry().top(), window->ToolBar1->geometry().bottom() + 1);
  EXPECT_EQ(view().height(), window->centralWidget()->height() - window->ToolBar1->height());
  EXPECT_EQ(window->Tag(), 1);
}

using Shortcuts = MainWindowTest;

TEST_F(Shortcuts, CtrlORunsOpenNeverTheHiddenModeItem) {
  showActive();
  QSignalSpy open(window->mnuOpen, &QAction::triggered);
  QSignalSpy mode(window->mnuMode, &QAction::triggered);
  desktop.fileNames.push_back(std::nullopt);  // the open dialog, cancelled
  QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(open.count(), 1);
  EXPECT_EQ(desktop.openRequests.size(), 1);
  EXPECT_EQ(mode.count(), 0);
}

TEST_F(Shortcuts, DisabledItemsDoNothingAndPrintNeverRuns) {
  showActive();
  QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);  // Insert Node, disabled without a tree
  EXPECT_EQ(window->tree(), nullptr);

  QSignalSpy print(window->Print1, &QAction::triggered);
  window->Print1->trigger();
  EXPECT_EQ(print.count(), 0);
  createTree();
  window->Print1->trigger();
  EXPECT_EQ(print.count(), 0);
  EXPECT_FALSE(window->Print1->isEnabled());
  EXPECT_EQ(tree().nodeCount(), 1u);
}

TEST_F(Shortcuts, MenuKeysRunTheirCommandsWhileTheTreeHasTheFocus) {
  showActive();
  QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
  ASSERT_NE(window->tree(), nullptr);
  closeEditor(Qt::Key_Return);
  QTest::keyClick(&view(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(tree().nodeCount(), 2u);
  closeEditor(Qt::Key_Return);
  QTest::keyClick(&view(), Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(tree().nodeCount(), 1u);
  EXPECT_EQ(window->panelText(1), "1");
}

TEST_F(Shortcuts, CtrlLettersInTheTitleEditorGoToTheMenus) {
  showActive();
  window->cmdCreateTreeClick(nullptr);
  ASSERT_TRUE(isEditing());
  QSignalSpy saveAs(window->SaveAs1, &QAction::triggered);
  desktop.fileNames.push_back(std::nullopt);  // the save dialog, cancelled
  QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(saveAs.count(), 1);
  EXPECT_EQ(desktop.saveRequests.size(), 1);
  // Insert Node from inside the editor confirms that edit and opens the next.
  QTest::keyClicks(editor(), "first");
  QTest::keyClick(editor(), Qt::Key_I, Qt::ControlModifier);
  EXPECT_EQ(titleOf(tree().firstNode()), "first");  // the editor starts with its text selected
  EXPECT_EQ(tree().nodeCount(), 2u);
  EXPECT_TRUE(isEditing());
}

using SimpleCommands = MainWindowTest;

TEST_F(SimpleCommands, AboutAndOptionsShowTheirWindows) {
  ui::TfrmMain& w = createWindow();
  w.About1Click(nullptr);  // nothing set yet: nothing happens
  QWidget options;
  w.setOptionsDialog(&options);
  w.mnuSkinChooserClick(nullptr);
  EXPECT_TRUE(options.isVisible());
  w.mnuSkinChooserClick(nullptr);
  EXPECT_TRUE(options.isVisible());
}

TEST_F(SimpleCommands, ExitClosesTheWindow) {
  showActive();
  window->mnuExitClick(nullptr);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace qm::test
