#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <set>

#include "main_window_fixture.h"
#include "ui/find/find_bar.h"

namespace qm::test {
namespace {

// Roles a screen reader announces by name: a control without one is read
// as "button", or not at all.
const std::set<QAccessible::Role> kNamedRoles = {
    QAccessible::PushButton, QAccessible::ButtonMenu, QAccessible::CheckBox,     QAccessible::RadioButton,
    QAccessible::ComboBox,   QAccessible::SpinBox,    QAccessible::EditableText, QAccessible::StaticText,
    QAccessible::ToolBar,    QAccessible::StatusBar,  QAccessible::MenuBar};

// The paths of the shown objects of those roles under `node` that have no
// name; `seen` counts them all.
void collectUnnamed(QAccessibleInterface* node, const QString& path, QStringList& unnamed, int& seen) {
  if (node == nullptr || node->state().invisible) return;
  const QString here = path + u'/' + (node->object() != nullptr ? node->object()->objectName() : QString());
  if (kNamedRoles.count(node->role()) != 0) {
    ++seen;
    if (node->text(QAccessible::Name).trimmed().isEmpty()) unnamed << here;
  }
  for (int i = 0; i < node->childCount(); ++i) collectUnnamed(node->child(i), here, unnamed, seen);
}

QString accessibleName(QObject* object) {
  QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
  return found != nullptr ? found->text(QAccessible::Name) : QStringLiteral("(none)");
}

using AccessibleNames = MainWindowTest;

TEST_F(AccessibleNames, EveryButtonFieldAndPanelOfTheWindowHasAName) {
  showActive();
  createTree();
  window->findBar()->open();
  QStringList unnamed;
  int seen = 0;
  collectUnnamed(QAccessible::queryAccessibleInterface(window.get()), QString(), unnamed, seen);
  EXPECT_GE(seen, 8 + 4 + 7) << "the walk missed the tool buttons, the panels or the find bar";
  EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
}

TEST_F(AccessibleNames, ToolButtonsAreNamedAfterTheirCommandsAndPanelsByWhatTheyShow) {
  createWindow();
  const std::pair<QObject*, QString> named[] = {
      {window->btnNewTaskList, "New Task List"},
      {window->btnOpenTaskList, "Open Task List"},
      {window->btnSaveTaskList, "Save Task List"},
      {window->btnProperties, "Properties"},
      {window->btnInsertNode, "Insert Node"},
      {window->btnDeleteNode, "Delete Node"},
      {window->btnExit, "Exit"},
      {window->btnAbout, "About"},
      {window->findBar()->btnFindClose, "Close find bar"},
  };
  for (const auto& [control, name] : named) EXPECT_EQ(accessibleName(control), name);

  // A panel's name follows its text.
  auto* panel = window->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel1"));
  EXPECT_EQ(accessibleName(panel), "Task count");
  window->setPanelText(1, QStringLiteral("17"));
  EXPECT_EQ(accessibleName(panel), "Task count: 17");
}

}  // namespace
}  // namespace qm::test
