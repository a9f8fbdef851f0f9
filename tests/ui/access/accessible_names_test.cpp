#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <set>

#include "main_window_fixture.h"
#include "ui/dialogs/uOptions.h"
#include "ui/dialogs/uProperties.h"
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
  if (node->role() == QAccessible::ComboBox) return;  // its parts go by its name
  for (int i = 0; i < node->childCount(); ++i) collectUnnamed(node->child(i), here, unnamed, seen);
}

QString accessibleName(QObject* object) {
  QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
  return found != nullptr ? found->text(QAccessible::Name) : QStringLiteral("(none)");
}

using AccessibleNames = MainWindowTest;

TEST_F(AccessibleNames, EveryButtonFieldAndPanelOfTheWindowsHasAName) {
  showActive();
  createTree();
  window->findBar()->open();
  auto* properties = ui::TfrmProperties::open(&tree(), tree().firstNode());
  ui::TfrmOptions options([](QString&, QString&) {}, [](const QString&, const QString&) {});
  options.show();
  // Each window (the dialog on each page) with the least it must hold: tool
  // buttons, panels and the find bar; pickers, lists and buttons; the notes
  // box and buttons; the field and buttons.
  const struct {
    QWidget* shown;
    int page, least;
  } windows[] = {{window.get(), -1, 8 + 4 + 7},
                 {properties, 0, 2 + 2 + 2},
                 {properties, 1, 1 + 2},
                 {&options, -1, 1 + 2}};
  for (const auto& w : windows) {
    if (w.page >= 0) properties->findChild<QTabWidget*>()->setCurrentIndex(w.page);
    QStringList unnamed;
    int seen = 0;
    collectUnnamed(QAccessible::queryAccessibleInterface(w.shown), QString(), unnamed, seen);
    EXPECT_GE(seen, w.least) << w.shown->objectName().toStdString() << w.page;
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
  }
  properties->close();

  // Tool buttons go by their commands' names; a panel's name follows its text.
  const char* const commands[] = {"New Task List", "Open Task List", "Save Task List", "Properties",
                                  "Insert Node",   "Delete Node",    "Exit",           "About"};
  const QList<QToolButton*> buttons = window->ToolBar1->findChildren<QToolButton*>(
      QRegularExpression(QStringLiteral("^btn")), Qt::FindDirectChildrenOnly);
  ASSERT_EQ(buttons.size(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(accessibleName(buttons[i]), commands[i]);
  auto* panel = window->StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel1"));
  window->setPanelText(1, QString());
  EXPECT_EQ(accessibleName(panel), "Task count");
  window->setPanelText(1, QStringLiteral("17"));
  EXPECT_EQ(accessibleName(panel), "Task count: 17");
}

}  // namespace
}  // namespace qm::test
