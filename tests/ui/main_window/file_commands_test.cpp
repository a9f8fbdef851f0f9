// New, Open, Save, Save As, the close query, the command-line open and the
// opening of the properties dialog, driven headless through the scripted
// desktop.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QToolButton>

#include "main_window_fixture.h"
#include "stream/task_list_file.h"
#include "ui/dialogs/uProperties.h"
#include "ui/main_window/main_window_style.h"

namespace qm::test {
namespace {

using platform::SaveAnswer;

const QString kNewPrompt = QStringLiteral("Do you want to save before creating a new task list?");
const QString kOpenPrompt = QStringLiteral("Do you want to save before opening a new task list?");
const QString kClosePrompt = QStringLiteral("Do you want to save before closing?");

class FileCommands : public MainWindowTest {
 protected:
  QString path(const char* name) { return files.filePath(QString::fromLatin1(name)); }

  // A task-list file holding the given top-level tasks.
  QString writeList(const char* name, std::initializer_list<const char*> titles) {
    Ttree list;
    list.setSettings(TreeSettings::mainWindowInitial());
    for (const char* title : titles) list.appendNode(nullptr, title, list.createRecord());
    QString file = path(name);
    SaveTaskList(file.toStdString(), list);
    return file;
  }

  static QByteArray contentsOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  std::vector<std::string> topTitles() { return childTitles(tree().root()); }

  // A list opened from a file, then changed and marked modified.
  QString openEditedList(const char* name) {
    QString file = writeList(name, {"one"});
    open(file);
    tree().setText(tree().firstNode(), "edited");
    window->setTag(1);
    return file;
  }

  void open(const QString& file) {
    desktop.fileNames.push_back(file);
    window->mnuOpen->trigger();
  }

  // Runs the close query as the close box does; true when the window closed.
  bool closeWindow() {
    window->show();
    return window->close();
  }

  QTemporaryDir files;
};

// --- New

TEST_F(FileCommands, NewWithoutAListCreatesOneBlankTaskAndAsksNothing) {
  createTree();
  EXPECT_TRUE(desktop.savePrompts.isEmpty());
  EXPECT_EQ(tree().nodeCount(), 1u);
  EXPECT_EQ(window->panelText(0), "");
  EXPECT_EQ(window->panelText(1), "1");
  EXPECT_EQ(window->Tag(), 0);
}

TEST_F(FileCommands, NewAsksEvenWhenUnmodifiedAndNoStartsAFreshUnnamedList) {
  createWindow();
  open(writeList("a.jjp", {"one", "two"}));
  ASSERT_EQ(window->Tag(), 0);
  desktop.saveAnswers = {SaveAnswer::No};
  window->cmdCreateTreeClick(nullptr);
  EXPECT_EQ(desktop.savePrompts, QStringList{kNewPrompt});
  EXPECT_EQ(topTitles(), std::vector<std::string>{" "});
  EXPECT_EQ(window->currentFileName(), "");
  EXPECT_EQ(window->panelText(0), "");
  EXPECT_EQ(window->panelText(1), "1");
}

TEST_F(FileCommands, NewAnsweredCancelKeepsTheTasksButForgetsTheName) {
  createWindow();
  QString file = writeList("a.jjp", {"one"});
  open(file);
  desktop.saveAnswers = {SaveAnswer::Cancel};
  window->cmdCreateTreeClick(nullptr);
  EXPECT_EQ(topTitles(), std::vector<std::string>{"one"});
  EXPECT_EQ(window->panelText(0), "");

  // The next Save asks for a name, starting from an empty one.
  desktop.fileNames.push_back(std::nullopt);
  window->cmdSaveClick(nullptr);
  ASSERT_EQ(desktop.saveRequests.size(), 1);
  EXPECT_EQ(desktop.saveRequests[0].fileName, "");
}

TEST_F(FileCommands, NewAnsweredYesSavesTheSameTasksUnderANewName) {
  createWindow();
  open(writeList("a.jjp", {"one"}));
  const Ttree* before = window->tree();
  QString copy = path("copy.jjp");
  desktop.saveAnswers = {SaveAnswer::Yes};
  desktop.fileNames.push_back(copy);
  window->cmdCreateTreeClick(nullptr);

  ASSERT_EQ(desktop.saveRequests.size(), 1);
  EXPECT_EQ(desktop.saveRequests[0].fileName, "");  // the name was emptied first
  EXPECT_EQ(window->tree(), before);                // no new list
  EXPECT_EQ(topTitles(), std::vector<std::string>{"one"});
  EXPECT_EQ(window->currentFileName(), copy);
  EXPECT_EQ(window->panelText(0), copy);
  EXPECT_EQ(contentsOf(copy).toStdString(), saveTaskListToBytes(tree()));
}

TEST_F(FileCommands, AFailedSaveWhileAnsweringThePromptStopsNew) {
  createTree();
  window->setPanelText(1, "x");
  desktop.saveAnswers = {SaveAnswer::Yes};
  desktop.fileNames.push_back(path("missing-dir/a.jjp"));
  window->mnuNew->trigger();
  ASSERT_EQ(desktop.errors.size(), 1);
  EXPECT_TRUE(desktop.errors[0].startsWith("Cannot create file")) << desktop.errors[0].toStdString();
  EXPECT_EQ(window->panelText(1), "x");  // the command ended before its status update
  EXPECT_EQ(window->currentFileName(), "");
}

// --- Open

TEST_F(FileCommands, OpenUsesItsDialogSettingsAndReadsTheStoredDirectoryEveryTime) {
  createWindow();
  desktop.fileNames.push_back(std::nullopt);
  window->cmdOpenClick(nullptr);
  QString directory = files.path();
  QString scheme = "SkyBlue";
  window->SetR(window.get(), directory, scheme);
  desktop.fileNames.push_back(std::nullopt);
  window->cmdOpenClick(nullptr);

  ASSERT_EQ(desktop.openRequests.size(), 2);
  EXPECT_EQ(desktop.openRequests[0].initialDirectory, "c:\\");
  EXPECT_EQ(desktop.openRequests[0].filter, "Quillmark File (*.jjp)");
  EXPECT_EQ(desktop.openRequests[0].defaultSuffix, "jjp");
  EXPECT_EQ(desktop.openRequests[1].initialDirectory, directory);
  EXPECT_EQ(window->tree(), nullptr);  // cancelled without a list: none is made
}

TEST_F(FileCommands, OpenWithoutAListShowsTheFileUnderItsName) {
  createWindow();
  QString file = writeList("a.jjp", {"one", "two"});
  open(file);
  ASSERT_NE(window->tree(), nullptr);
  EXPECT_EQ(topTitles(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(window->currentFileName(), file);
  EXPECT_EQ(window->statusSimpleText(), file);
  EXPECT_EQ(window->panelText(0), file);
  EXPECT_EQ(window->panelText(1), "2");
  EXPECT_EQ(window->Tag(), 0);
  // The list commands work on what was opened.
  EXPECT_TRUE(window->btnSaveTaskList->isEnabled());
  EXPECT_TRUE(window->btnDeleteNode->isEnabled());
  EXPECT_TRUE(window->mnuProperties->isEnabled());
}

TEST_F(FileCommands, OpenAsksOnlyForAModifiedListAndKeepsTheFlag) {
  createTreeWith({"old"});
  window->setTag(1);
  desktop.saveAnswers = {SaveAnswer::No};
  open(writeList("a.jjp", {"new"}));
  EXPECT_EQ(desktop.savePrompts, QStringList{kOpenPrompt});
  EXPECT_EQ(topTitles(), std::vector<std::string>{"new"});
  EXPECT_EQ(window->Tag(), 1);  // Open does not reset it

  window->setTag(0);
  open(writeList("b.jjp", {"b1", "b2"}));
  EXPECT_EQ(desktop.savePrompts.size(), 1);  // no prompt the second time
  EXPECT_EQ(topTitles(), (std::vector<std::string>{"b1", "b2"}));
}

TEST_F(FileCommands, OpenOnAModifiedListAnsweredYesSavesAndOpensNothing) {
  createWindow();
  QString file = openEditedList("a.jjp");
  desktop.saveAnswers = {SaveAnswer::Yes};
  window->cmdOpenClick(nullptr);
  EXPECT_EQ(desktop.openRequests.size(), 1);  // only the first Open's
  EXPECT_EQ(window->Tag(), 0);
  EXPECT_EQ(contentsOf(file).toStdString(), saveTaskListToBytes(tree()));
  EXPECT_EQ(topTitles(), std::vector<std::string>{"edited"});

  window->setTag(1);
  desktop.saveAnswers = {SaveAnswer::Cancel};
  window->cmdOpenClick(nullptr);
  EXPECT_EQ(desktop.openRequests.size(), 1);
  EXPECT_EQ(window->Tag(), 1);
}

TEST_F(FileCommands, ACancelledOpenLeavesTheListItsNameAndItsFlag) {
  createWindow();
  QString file = writeList("a.jjp", {"one", "two"});
  open(file);
  window->setTag(1);
  desktop.saveAnswers = {SaveAnswer::No};
  desktop.fileNames.push_back(std::nullopt);
  window->cmdOpenClick(nullptr);
  EXPECT_EQ(topTitles(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(window->currentFileName(), file);
  EXPECT_EQ(window->panelText(1), "2");
  EXPECT_EQ(window->Tag(), 1);
}

TEST_F(FileCommands, AFileThatCannotBeReadChangesNothing) {
  createWindow();
  QString garbage = path("garbage.jjp");
  QFile out(garbage);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write("not a task list at all");
  out.close();

  open(garbage);  // no list yet: none is made
  ASSERT_EQ(desktop.errors.size(), 1);
  EXPECT_EQ(window->tree(), nullptr);
  EXPECT_EQ(window->currentFileName(), "");

  QString file = writeList("a.jjp", {"one"});
  open(file);
  open(garbage);
  open(path("no-such-file.jjp"));
  EXPECT_EQ(desktop.errors.size(), 3);
  EXPECT_EQ(topTitles(), std::vector<std::string>{"one"});
  EXPECT_EQ(window->currentFileName(), file);
  // So the next Save writes the same list back, not an empty one.
  window->cmdSaveClick(nullptr);
  Ttree reread;
  LoadTaskList(file.toStdString(), reread);
  EXPECT_EQ(childTitles(reread.root()), std::vector<std::string>{"one"});
}

TEST_F(FileCommands, AListOpenedOverAnotherShowsTheColourAndBorderItWasSavedWith) {
  createWindow();
  Ttree yellow;
  TreeSettings settings = TreeSettings::mainWindowInitial();
  settings.color = clYellow;
  settings.borderStyle = BorderStyle::bsNone;
  yellow.setSettings(settings);
  yellow.appendNode(nullptr, "note", yellow.createRecord());
  QString file = path("yellow.jjp");
  SaveTaskList(file.toStdString(), yellow);

  open(writeList("blue.jjp", {"a"}));
  EXPECT_NE(view().palette().color(QPalette::Base), ui::kYellow);
  open(file);
  EXPECT_EQ(view().palette().color(QPalette::Base), ui::kYellow);
  EXPECT_EQ(view().frameShape(), QFrame::NoFrame);
}

// --- Save and Save As

TEST_F(FileCommands, SaveWritesTheCoreBytesAndClearsTheFlagSaveAsKeepsIt) {
  createTreeWith({"alpha", "beta"});
  window->setTag(1);
  QString file = path("list");
  desktop.fileNames.push_back(file);
  window->mnuSave->trigger();  // unnamed: goes on to Save As
  ASSERT_EQ(desktop.saveRequests.size(), 1);
  EXPECT_EQ(desktop.saveRequests[0].initialDirectory, "c:\\temp");
  EXPECT_EQ(desktop.saveRequests[0].filter, "*.jjp");
  EXPECT_EQ(desktop.saveRequests[0].defaultSuffix, "jjp");
  EXPECT_EQ(window->currentFileName(), file);
  EXPECT_EQ(window->Tag(), 1);  // Save As keeps it

  tree().setText(tree().firstNode(), "changed");
  window->btnSaveTaskList->click();
  EXPECT_EQ(desktop.saveRequests.size(), 1);
  EXPECT_EQ(window->Tag(), 0);
  EXPECT_EQ(contentsOf(file).toStdString(), saveTaskListToBytes(tree()));
}

TEST_F(FileCommands, AFailedSaveKeepsTheFlagAndAFailedSaveAsKeepsTheName) {
  createTreeWith({"alpha"});
  QString file = path("a.jjp");
  desktop.fileNames.push_back(file);
  window->SaveAs1->trigger();
  window->setTag(1);
  QFile::remove(file);
  ASSERT_TRUE(QDir(files.path()).mkdir("a.jjp"));  // a directory where the file was

  window->mnuSave->trigger();
  EXPECT_EQ(desktop.errors.size(), 1);
  EXPECT_EQ(window->Tag(), 1);

  desktop.fileNames.push_back(path("missing-dir/b.jjp"));
  window->SaveAs1->trigger();
  EXPECT_EQ(desktop.errors.size(), 2);
  EXPECT_EQ(window->currentFileName(), file);
  EXPECT_EQ(window->panelText(0), file);
}

// --- the close query

TEST_F(FileCommands, CloseAsksOnlyForAModifiedList) {
  showActive();
  EXPECT_TRUE(closeWindow());  // no list
  createTree();
  window->setTag(0);
  EXPECT_TRUE(closeWindow());
  window->setTag(1);
  desktop.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No};
  EXPECT_FALSE(closeWindow());
  EXPECT_TRUE(closeWindow());
  EXPECT_EQ(desktop.savePrompts, (QStringList{kClosePrompt, kClosePrompt}));
}

TEST_F(FileCommands, CloseAnsweredYesSavesANamedListThenCloses) {
  createWindow();
  QString file = openEditedList("a.jjp");
  desktop.saveAnswers = {SaveAnswer::Yes};
  EXPECT_TRUE(closeWindow());
  EXPECT_EQ(contentsOf(file).toStdString(), saveTaskListToBytes(tree()));
}

TEST_F(FileCommands, CloseNeverDiscardsAListTheUserAskedToSave) {
  createTreeWith({"unsaved"});
  window->setTag(1);
  // Yes on an unnamed list, then the save dialog cancelled: nothing was written.
  desktop.saveAnswers = {SaveAnswer::Yes};
  desktop.fileNames.push_back(std::nullopt);
  EXPECT_FALSE(closeWindow());
  // Yes, and the save fails.
  desktop.saveAnswers = {SaveAnswer::Yes};
  desktop.fileNames.push_back(path("missing-dir/a.jjp"));
  EXPECT_FALSE(closeWindow());
  EXPECT_EQ(desktop.errors.size(), 1);
  EXPECT_EQ(topTitles(), std::vector<std::string>{"unsaved"});
  EXPECT_EQ(window->Tag(), 1);
}

// --- the command-line open

TEST_F(FileCommands, TheCommandLineFileOpensWithoutANameAndUnmodified) {
  QString file = writeList("a.jjp", {"one", "two", "three"});
  QByteArray written = contentsOf(file);
  window = std::make_unique<ui::TfrmMain>(file);
  ASSERT_NE(window->tree(), nullptr);
  EXPECT_EQ(tree().nodeCount(), 3u);
  EXPECT_EQ(window->currentFileName(), "");
  EXPECT_EQ(window->panelText(0), "");
  EXPECT_EQ(window->panelText(1), "3");
  EXPECT_EQ(window->statusSimpleText(), file);
  EXPECT_EQ(window->Tag(), 0);
  EXPECT_FALSE(window->panelText(3).isEmpty());

  desktop.fileNames.push_back(std::nullopt);
  window->cmdSaveClick(nullptr);  // asks for a name
  EXPECT_EQ(desktop.saveRequests.size(), 1);
  EXPECT_EQ(contentsOf(file), written);
}

TEST_F(FileCommands, ACommandLineFileThatCannotBeReadEndsTheStartUp) {
  window = std::make_unique<ui::TfrmMain>(path("no-such-file.jjp"));
  ASSERT_EQ(desktop.errors.size(), 1);
  EXPECT_EQ(window->tree(), nullptr);
  EXPECT_EQ(window->panelText(3), "");  // the rest of the start-up was skipped
}

// --- opening the properties dialog

std::vector<ui::TfrmProperties*> openPropertiesDialogs() {
  std::vector<ui::TfrmProperties*> dialogs;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<ui::TfrmProperties*>(w); d != nullptr && !d->isHidden()) dialogs.push_back(d);
  return dialogs;
}

TEST_F(FileCommands, PropertiesNeedsASelectedTaskAndADoubleClickAlwaysOpensTheDialog) {
  showActive();
  window->btnPropertiesClick(nullptr);
  EXPECT_EQ(desktop.confirmations, QStringList{"Please select an item first"});

  createTreeWith({"a"});
  tree().select(nullptr);
  window->btnPropertiesClick(nullptr);
  EXPECT_EQ(desktop.confirmations.size(), 2);
  EXPECT_TRUE(openPropertiesDialogs().empty());

  // A double click below the last task: an empty dialog that writes nothing.
  QPoint below = centreOf(tree().firstNode()) + QPoint(0, 100);
  QTest::mouseDClick(view().viewport(), Qt::LeftButton, {}, below);
  std::vector<ui::TfrmProperties*> dialogs = openPropertiesDialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]->target(), nullptr);
  delete dialogs[0];

  tree().select(tree().firstNode());
  window->mnuProperties->trigger();
  EXPECT_EQ(desktop.confirmations.size(), 2);
  dialogs = openPropertiesDialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]->target(), tree().firstNode()->record());
  delete dialogs[0];
}

TEST_F(FileCommands, CompleteSetInTheDialogShowsTheTickedBoxAfterTheNextClick) {
  createTreeWith({"a", "b"});
  TreeNode* a = tree().firstNode();
  tree().select(a);
  ui::TfrmProperties* dialog = window->setProperties(nullptr);
  auto* status = dialog->findChild<QComboBox*>("cboStatus");
  ASSERT_NE(status, nullptr);
  status->setEditText("Complete");
  tree().select(tree().root()->child(1));  // OK writes the task it was opened for
  dialog->findChild<QPushButton*>("cmdOK")->click();
  EXPECT_EQ(a->record()->icon, 12);
  EXPECT_NE(a->imageIndex(), 12);  // no redraw of its own

  tree().select(a);
  window->TreeNodeClick(nullptr);
  EXPECT_EQ(a->imageIndex(), 12);
}

TEST_F(FileCommands, ADialogWhoseListWasReplacedWritesNothing) {
  createTreeWith({"a"});
  ui::TfrmProperties* dialog = window->setProperties(nullptr);
  dialog->findChild<QComboBox*>("cboStatus")->setEditText("Complete");
  window->setTag(1);
  desktop.saveAnswers = {SaveAnswer::No};
  open(writeList("b.jjp", {"b"}));
  EXPECT_EQ(dialog->target(), nullptr);
  dialog->findChild<QPushButton*>("cmdOK")->click();
  EXPECT_EQ(tree().firstNode()->record()->status, "");
}

}  // namespace
}  // namespace qm::test
