// The file commands of the main window: New's save prompt lives with the
// tree view; here are Open, Save, Save As, the close query, the command-line
// open and the opening of the properties dialog.
#include <QToolBar>
#include <QUndoStack>
#include <utility>

#include "model/error.h"
#include "model/ttree.h"
#include "platform/core_file_name.h"
#include "platform/desktop.h"
#include "stream/task_list_file.h"
#include "ui/dialogs/uProperties.h"
#include "ui/edits/properties_command.h"
#include "ui/main_window/uMain.h"
#include "ui/safety/recovery.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {
namespace {

const QString kOpenPrompt = QStringLiteral("Do you want to save before opening a new task list?");
const QString kClosePrompt = QStringLiteral("Do you want to save before closing?");
const QString kSelectFirst = QStringLiteral("Please select an item first");

}  // namespace

void TfrmMain::setFileName(const QString& name) { fileName_ = name; }

// Open reads the chosen file into a new tree and shows it only once it has
// been read without error: a cancelled dialog or a file that cannot be read
// leaves the list, its name and its modified flag as they were, so that the
// next Save cannot write an empty or half-read list over the user's file.
void TfrmMain::cmdOpenClick(QObject* /*Sender*/) {
  QString directory;
  QString scheme;
  GetR(this, directory, scheme);  // for its effect on the open dialog

  if (mayReplaceList()) {
    if (std::optional<QString> chosen = platform::desktop().openFileName(this, openDialog1_)) {
      FileFingerprint seen;
      replaceTree(readTaskList(*chosen, &seen));
      setFileName(*chosen);
      rememberFile(*chosen, seen);
      remindOfDueTasks(*chosen);
    }
  }
  showOpenedList();
}

bool TfrmMain::mayReplaceList() {
  if (!tree_ || tag_ != 1) return true;
  switch (platform::desktop().askSave(this, kOpenPrompt)) {
    case platform::SaveAnswer::Yes:
      saveList();  // and open nothing
      return false;
    case platform::SaveAnswer::No:
      return true;
    case platform::SaveAnswer::Cancel:
      return false;
  }
  return false;
}

void TfrmMain::showOpenedList() {
  simpleText_ = fileName_;
  ToolBar1->update();
  setPanelText(0, fileName_);
  if (tree_) {
    treeView_->viewport()->update();
    update();
    showTaskCount();
  }
}

void TfrmMain::cmdSaveClick(QObject* /*Sender*/) { saveList(); }

bool TfrmMain::saveList() {
  if (!tree_) return false;
  if (fileName_.isEmpty()) return saveListAs();
  if (bool written = false; !mayOverwrite(written)) return written;
  SaveTaskList(platform::coreFileName(fileName_), *tree_);
  rememberFile(fileName_);
  removeRecovery();
  setPanelText(0, fileName_);
  setTag(0);
  return true;
}

void TfrmMain::SaveAs1Click(QObject* /*Sender*/) { saveListAs(); }

bool TfrmMain::saveListAs() {
  if (!tree_) return false;
  std::optional<QString> chosen = chooseSaveAsName();
  if (!chosen) return false;
  SaveTaskList(platform::coreFileName(*chosen), *tree_);
  setFileName(*chosen);
  rememberFile(*chosen);
  removeRecovery();
  setPanelText(0, fileName_);
  return true;
}

// Yes must not lose the list: when its Save wrote nothing (the save dialog
// was cancelled) the close is refused; a failed Save raises, which refuses it
// as well.
void TfrmMain::FormClose(QObject* /*Sender*/, bool& CanClose) {
  CanClose = true;
  if (!tree_ || tag_ == 0) return;
  switch (platform::desktop().askSave(this, kClosePrompt)) {
    case platform::SaveAnswer::Yes:
      CanClose = saveList();
      break;
    case platform::SaveAnswer::No:
      break;
    case platform::SaveAnswer::Cancel:
      CanClose = false;
      break;
  }
}

// The file named on the command line, opened at start-up: the list has no
// file name, so its first Save asks for one, and the modified flag stays 0.
void TfrmMain::openFromCommandLine(const QString& path) {
  replaceTree(readTaskList(path));
  readFrom_ = path;  // named in a recovery offer
  simpleText_ = path;
  remindOfDueTasks(path);
  showTaskCount();
}

std::unique_ptr<Ttree> TfrmMain::readTaskList(const QString& path, FileFingerprint* seen) const {
  auto loaded = std::make_unique<Ttree>();
  loaded->setSettings(tree_ ? tree_->settings() : TreeSettings::mainWindowInitial());
  try {
    if (seen != nullptr)
      *seen = loadTaskListWithFingerprint(platform::coreFileName(path), *loaded);
    else
      LoadTaskList(platform::coreFileName(path), *loaded);
  } catch (Error& error) {
    // A damaged file's message names a property, not the file: the error
    // box's details do.
    error.setFile(platform::coreFileName(path), FileAction::Opening);
    throw;
  }
  return loaded;
}

void TfrmMain::replaceTree(std::unique_ptr<Ttree> loaded) {
  readFrom_.clear();
  if (!tree_) {
    createTaskTreeView(std::move(loaded));
    enableTaskButtons();  // as the first task New inserts would have
    forgetList();         // the list as read is the one to compare with
    return;
  }
  // The new tree is the window's before the model shows it, so that the view
  // takes its colour and border; the model lets go of the old tree before it
  // is destroyed, and dialogs watching its tasks learn that they are gone.
  std::unique_ptr<Ttree> old = std::exchange(tree_, std::move(loaded));
  treeModel_->setTree(*tree_);
  changes_->follow(tree_.get());
  forgetList();  // the steps name the old tree's tasks, which go now
  old.reset();
}

void TfrmMain::btnPropertiesClick(QObject* Sender) {
  if (!tree_ || tree_->selected() == nullptr) {
    platform::desktop().confirmOk(this, kSelectFirst);
    return;
  }
  setProperties(Sender);
}

TfrmProperties* TfrmMain::setProperties(QObject* /*Sender*/) {
  SetColor();
  TfrmProperties* dialog = TfrmProperties::open(tree_.get(), tree_ ? tree_->selected() : nullptr);
  // Only the current tree's tasks are written, as the dialog lets go of a
  // task whose tree was replaced.
  dialog->onRecordWritten = [this](TreeNode* task, Tinfo& record, const RecordFields& before) {
    if (!tree_ || RecordFields::of(record) == before) return;
    tree_->recordChanged(task);
    pushStep(new PropertiesCommand(*tree_, task, record, before));
  };
  return dialog;
}

}  // namespace qm::ui
