#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "model/done_tally.h"
#include "platform/desktop.h"
#include "platform/tray_icon.h"
#include "stream/files/file_fingerprint.h"
#include "ui/tree/pictures.h"
#include "ui/tree/task_tree_view.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QTimer;
class QToolButton;
class QUndoStack;
class QVBoxLayout;

namespace qm {
class Ttree;
class TreeNode;
}  // namespace qm

namespace qm::ui {

// The application's title: its taskbar entry's text and the icon's tip.
inline constexpr const char* kApplicationTitle = "Quillmark";

class AgendaDock;
class AgendaModel;
class ChangeCounter;
class DayClock;
class DueReminder;
class FindBar;
enum class OutlineMove;
class RecoveryFiles;
class TaskCommand;
class TaskTreeModel;
class TfrmProperties;

// The main window. Its handlers keep the names of the controls and events
// they were made for; a tool button and a menu item that run the same
// command share the handler, never a QAction, since their enabled states
// differ. Every control carries its name as objectName.
//
// The implementation is split by concern, in this folder: uMain.cpp
// (window, start-up, Exit/About/Options), uMain_controls.cpp (the menus,
// toolbar and status bar), uMain_settings.cpp (the settings store),
// uMain_tree.cpp (the task tree view and its editing commands),
// uMain_files.cpp (New, Open, Save, Save As, the close query, the
// command-line open, Properties), uMain_tray.cpp (the notification icon,
// Show, Hide and note mode), uMain_undo.cpp (undo and redo),
// uMain_recovery.cpp (recovery files and the check for changes made
// elsewhere before a save), uMain_find.cpp (Find and the find bar) and
// uMain_outline.cpp (the outline's keyboard commands).
// What they lean on lives beside this folder: ui/tree (the tree model and
// view), ui/edits (the undo steps and the command dispatcher), ui/dialogs,
// ui/find, ui/safety (recovery files), ui/tray (the icon's messages and
// the note-mode window) and ui/outline (the outline commands' undo steps).
class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  // firstArgument: the program's first command-line argument, opened at
  // start-up when not empty.
  explicit TfrmMain(const QString& firstArgument = QString(), QWidget* parent = nullptr);
  ~TfrmMain() override;

  // --- controls
  QToolBar* ToolBar1;
  QToolButton* btnNewTaskList;
  QToolButton* btnOpenTaskList;
  QToolButton* btnSaveTaskList;
  QToolButton* btnProperties;
  QToolButton* btnInsertNode;
  QToolButton* btnDeleteNode;
  QToolButton* btnExit;
  QToolButton* btnAbout;

  QMenuBar* MainMenu3;
  QMenu* File1;
  QAction* mnuNew;
  QAction* mnuOpen;
  QAction* SaveAs1;
  QAction* mnuSave;
  QAction* N2;
  QAction* Print1;
  QAction* N1;
  QAction* mnuExit;
  QMenu* mnuEdit;
  QAction* mnuInsert;
  QAction* Delete1;
  QAction* mnuProperties;
  QAction* mnuMode;
  // After the document's Edit items, behind a separator.
  QAction* N3;
  QAction* mnuUndo;
  QAction* mnuRedo;
  QAction* N4;
  QAction* mnuFind;
  QAction* mnuFindNext;
  QAction* mnuFindPrevious;
  // After the find items, behind a separator: the outline's keyboard
  // commands (uMain_outline.cpp).
  QAction* N5;
  QMenu* mnuOutline;
  QAction* mnuMoveUp;
  QAction* mnuMoveDown;
  QAction* mnuIndent;
  QAction* mnuOutdent;
  QAction* mnuInsertBelow;
  QAction* mnuInsertChild;
  QAction* mnuToggleDone;
  QMenu* ools1;
  QAction* mnuSkinChooser;
  // After the document's Tools item, behind a separator.
  QAction* N7 = nullptr;
  QAction* mnuAgenda = nullptr;
  QMenu* Help1;
  QAction* About1;

  QMenu* PopupMenu1;
  QAction* Complete1;
  QAction* Hide1;
  QAction* N6;
  QAction* Reopen1;  // enabled for a done task
  QMenu* PopupMenu2;
  QAction* Show1;

  QStatusBar* StatusBar1;
  static constexpr int kPanelCount = 4;
  // Between the tree and the status bar; hidden until Find.
  FindBar* findBar() const { return findBar_; }

  // --- state
  // The current task tree and its view; nullptr until the first create.
  Ttree* tree() const { return tree_.get(); }
  TaskTreeView* treeView() const { return treeView_; }
  TaskTreeModel* treeModel() const { return treeModel_; }
  // The modified flag: 1 = unsaved changes, 0 = none.
  int Tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  // The path the list was opened from or last saved to; empty when none.
  const QString& currentFileName() const { return fileName_; }
  // The status bar's single-line text: kept, never displayed.
  const QString& statusSimpleText() const { return simpleText_; }
  const ImageList& ImageList1() const { return imageList1_; }
  const platform::FileDialogRequest& OpenDialog1() const { return openDialog1_; }
  const platform::FileDialogRequest& SaveDialog1() const { return saveDialog1_; }
  QString panelText(int panel) const;
  void setPanelText(int panel, const QString& text);

  // The edits of the current list that can be undone and redone.
  QUndoStack* undoStack() const { return undoStack_; }
  RecoveryFiles& recoveryFiles() const { return *recovery_; }
  // Writes the recovery file now when the list has unsaved changes made
  // since the last write (the timer's work).
  void writeRecovery();
  // At start, once the window is shown: offers the newest list that an
  // instance closed without saving left behind.
  void offerRecovery();

  // Windows built elsewhere, shown by About and Options.
  void setAboutBox(QDialog* aboutBox) { aboutBox_ = aboutBox; }
  void setOptionsDialog(QWidget* optionsDialog) { optionsDialog_ = optionsDialog; }

  // Gives up the current task tree: the view, its model, the tree and its
  // records go (the view and model once control returns to the event loop,
  // so that this may run inside one of their events). The commands that
  // creating it enabled stay enabled; the next create makes a fresh tree.
  void discardTaskTreeView();

  // --- commands and events
  void cmdCreateTreeClick(QObject* Sender);
  void cmdOpenClick(QObject* Sender);
  void cmdSaveClick(QObject* Sender);
  void SaveAs1Click(QObject* Sender);
  // The close query: sets CanClose to whether the window may close.
  void FormClose(QObject* Sender, bool& CanClose);
  void btnPropertiesClick(QObject* Sender);
  // Opens a new properties dialog for the selected task, or an empty one.
  TfrmProperties* setProperties(QObject* Sender);
  void cmdNewNodeClick(QObject* Sender);
  void tbDeleteNodeClick(QObject* Sender);
  void Complete1Click(QObject* Sender);
  void RefreshNode(TreeNode* Node);
  void TreeNodeClick(QObject* Sender);
  void FormKeyDown(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift);
  void TreeDragOver(QObject* Sender, QObject* Source, int X, int Y, DragState State, bool& Accept);
  void TreeDragDrop(QObject* Sender, QObject* Source, int X, int Y);
  void TreeNodeMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  void mnuExitClick(QObject* Sender);
  void About1Click(QObject* Sender);
  void mnuSkinChooserClick(QObject* Sender);
  void mnuUndoClick(QObject* Sender);
  void mnuRedoClick(QObject* Sender);
  void mnuFindClick(QObject* Sender);
  void mnuFindNextClick(QObject* Sender);
  void mnuFindPreviousClick(QObject* Sender);
  void mnuMoveUpClick(QObject* Sender);
  void mnuMoveDownClick(QObject* Sender);
  void mnuIndentClick(QObject* Sender);
  void mnuOutdentClick(QObject* Sender);
  void mnuInsertBelowClick(QObject* Sender);
  void mnuInsertChildClick(QObject* Sender);
  void mnuToggleDoneClick(QObject* Sender);
  void Reopen1Click(QObject* Sender);

  // --- what is due (uMain_due.cpp)
  void mnuAgendaClick(QObject* Sender);
  AgendaDock* agendaDock() const { return agendaDock_; }
  DayClock& dayClock() const { return *dayClock_; }
  DueReminder& reminder() const { return *reminder_; }
  // The done counts behind each row's progress; made in slices after a list
  // is shown.
  const DoneTally& doneTally() const { return doneTally_; }
  // Selects the task, its ancestors expanded, and gives the tree the focus;
  // like a find, this is no edit: the modified flag stays as it is.
  void goToTask(TreeNode* task);
  // "Reminders": on ("1") unless stored as "0"; raises as GetR and SetR do.
  bool remindersOn();
  void setRemindersOn(bool on);
  // A value of the window's own in the settings key; empty when missing.
  QString readSetting(const QString& name);
  // Several, with one opening of the key.
  QStringList readSettings(const QStringList& names);
  void writeSetting(const QString& name, const QString& text);

  // --- notification icon and note mode
  // The window procedure's part for the icon: message 1025 with the mouse
  // message; returns whether a command ran.
  bool WndProc(const platform::IconMessage& Message);
  void Show1Click(QObject* Sender);
  void Hide1Click(QObject* Sender);
  void showMode(QObject* Sender);
  // Turns the main window into the narrow, yellow, always-on-top strip.
  void SetMode();
  platform::TrayIcon& trayIcon() const { return *tray_; }
  void setModeWindow(QWidget* modeWindow) { modeWindow_ = modeWindow; }

  // --- settings store
  // Reads "DefaultDir" and "ColorScheme"; the open dialog starts in the
  // stored directory, or "c:\" when none is stored. The two texts are handed
  // back only when the directory is not empty.
  void GetR(QObject* sender, QString& directory, QString& scheme);
  void SetR(QObject* sender, const QString& directory, const QString& scheme);
  void SetColor();

 protected:
  // Runs a handler for a control through the command dispatcher.
  void bindCommand(QToolButton* button, void (TfrmMain::*handler)(QObject*));
  void bindCommand(QAction* action, void (TfrmMain::*handler)(QObject*));

  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate(const QString& firstArgument);
  void buildToolBar();
  void buildMainMenu();
  void buildPopupMenus();
  void buildStatusBar();
  void buildUndoItems();
  void startRecovery();
  void bindCommands();
  void placeOnFirstShow();
  // The find bar (uMain_find.cpp): built hidden at the foot of the client
  // area; attached to each new view, whose focus entry from the bar does
  // not count as one.
  void buildFindBar();
  void attachFindBar();
  // F3 and Shift+F3: the bar's step, or the bar opened when it has no text.
  void findFromMenu(void (FindBar::*step)());
  // The outline's commands (uMain_outline.cpp): built disabled, enabled and
  // given their keys on each new view, which alone takes them.
  void buildOutlineItems();
  void attachOutline();
  void placeSelectedTask(OutlineMove move, const QAction* item);
  void insertInOutline(const QAction* item, TreeNode* parent, size_t row, TreeNode* anchor);
  void reopenTask(TreeNode* task, const QAction* item);

  // What is due: the Agenda item and dock, the day's clock and the reminder
  // (built before start-up opens a list); and their hold on each new view.
  void buildDueParts();
  void followAgendaDock();
  void wireReminder();
  void attachDueViews();
  void followDueTree();
  void remindOfDueTasks(const QString& path);
  void showAgenda(bool shown);
  void restoreAgendaPlace(const QString& place);
  void rememberAgendaPlace();

  // Part of New: creates, configures and wires the task tree view, then
  // inserts its first task.
  void createTaskTreeView();
  // Builds the view around `tree` and enables the list commands.
  void createTaskTreeView(std::unique_ptr<Ttree> tree);
  void wireTreeEvents();
  // A new task at child `row` of parent (nullptr: the top level; past the
  // end: the last child), with its record, its title open for editing.
  TreeNode* insertTask(TreeNode* parent = nullptr, size_t row = SIZE_MAX);
  void indentSelectedTask();
  // The moving rule, marking the list modified when the task changed place.
  void moveTask(TreeNode* task, TreeNode* newParent, const QString& stepName);
  void showTaskCount();
  // The tool buttons that inserting a task enables.
  void enableTaskButtons();
  // The view takes the tree's colour and border.
  void applyTreeLooks();

  // File commands' parts. saveList and saveListAs return whether the list
  // was written; cancelling the save dialog is not an error.
  bool saveList();
  bool saveListAs();
  // The save dialog, starting from the current name; asks before replacing
  // an existing file other than the list's own (uMain_save_as.cpp).
  std::optional<QString> chooseSaveAsName();
  void openFromCommandLine(const QString& path);
  // The named file read into a new tree that starts from the current tree's
  // settings, so that the file's values replace them; raises on failure.
  // `seen`, when given, receives the file's fingerprint as read.
  std::unique_ptr<Ttree> readTaskList(const QString& path, FileFingerprint* seen = nullptr) const;
  // Shows `loaded` in place of the current tree, building the view when
  // there is none; the old tree and its records go.
  void replaceTree(std::unique_ptr<Ttree> loaded);
  void setFileName(const QString& name);
  // Open's save prompt: whether the list may be replaced now.
  bool mayReplaceList();
  // Open's last step: the status bar and the view show the list.
  void showOpenedList();
  // The file as just read or written becomes the point of comparison;
  // `seen` spares reading it again when the read took its fingerprint.
  void rememberFile(const QString& path, std::optional<FileFingerprint> seen = std::nullopt);
  // Save's check: true to write over the current file, false when the
  // command ends (Cancel, or No after its Save As) with `written` telling
  // whether that Save As wrote the list.
  bool mayOverwrite(bool& written);
  // The list's history and recovery files end with it.
  void forgetList();
  void removeRecovery();

  // Undo's part of the edits: records a step that has been made (or is made
  // by its first redo).
  void pushStep(TaskCommand* step);
  void takeStep(bool back);

  void addTrayIcon();
  void removeTrayIcon();

  ImageList imageList1_;
  platform::FileDialogRequest openDialog1_;
  platform::FileDialogRequest saveDialog1_;
  QWidget* clientArea_;
  QVBoxLayout* clientLayout_;
  FindBar* findBar_ = nullptr;
  std::array<QLabel*, kPanelCount> panels_{};
  std::unique_ptr<Ttree> tree_;
  TaskTreeModel* treeModel_ = nullptr;
  TaskTreeView* treeView_ = nullptr;
  int tag_ = 0;
  QString fileName_;
  QString simpleText_;
  platform::NotifyIconData iconData_;
  std::unique_ptr<platform::TrayIcon> ownTray_;
  platform::TrayIcon* tray_ = nullptr;
  bool toldNoTray_ = false;
  QPointer<QWidget> modeWindow_;
  bool placed_ = false;
  QPointer<QDialog> aboutBox_;
  QPointer<QWidget> optionsDialog_;
  QUndoStack* undoStack_ = nullptr;
  std::unique_ptr<ChangeCounter> changes_;
  std::unique_ptr<RecoveryFiles> recovery_;
  QTimer* recoveryTimer_ = nullptr;
  quint64 writtenChanges_ = 0;
  QString comparedFile_;
  // The file an unnamed list was read from (the command line's), which its
  // recovery offer names.
  QString readFrom_;
  std::optional<FileFingerprint> fingerprint_;
  DoneTally doneTally_;
  QTimer* tallyTimer_ = nullptr;
  DayClock* dayClock_ = nullptr;
  AgendaModel* agendaModel_ = nullptr;
  AgendaDock* agendaDock_ = nullptr;
  DueReminder* reminder_ = nullptr;
};

// The one main window of the program.
extern TfrmMain* frmMain;

}  // namespace qm::ui
