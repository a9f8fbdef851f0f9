#pragma once

#include <QDialog>
#include <functional>

#include "ui/dialogs/task_watch.h"
#include "ui/edits/properties_command.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace qm {
class Tinfo;
class TreeNode;
class Ttree;
}  // namespace qm

namespace qm::ui {

class DayPicker;

// The task properties dialog: start and end date, priority, status and notes
// of one task. Modeless; a new one is built for every opening and deletes
// itself when closed (so build it with new, or through open()).
//
// OK writes into the record that filled the dialog, and only while that task
// is still in its tree; otherwise (deleted, list cleared or replaced, or the
// dialog was filled from no task) it writes nothing and just closes. The
// selection at the time of OK does not matter: writing into whatever task is
// selected then would put one task's notes over another's.
class TfrmProperties : public QDialog {
  Q_OBJECT

 public:
  // The fixed times of day that the stored dates carry: 22:01:43.044 for the
  // start, 19:28:35.064 for the end.
  static constexpr double kStartTimeOfDay = 0.9178593056;
  static constexpr double kEndTimeOfDay = 0.8115169444;
  static constexpr int kTickedBoxImage = 12;

  // The dialog in its initial state: both pickers at today, empty priority
  // and status, the notes box holding an empty line and a line of one space.
  explicit TfrmProperties(QWidget* parent = nullptr);

  // The main window's setProperties: a new dialog without owner, filled from
  // the selected task of the tree when it has a record, shown modelessly in
  // front. tree and selected may be nullptr.
  static TfrmProperties* open(Ttree* tree, TreeNode* selected);

  // Shows node's record and makes it the one that OK writes. A null node or
  // a node without record leaves the dialog as it is, writing nothing on OK.
  void fillFrom(Ttree* tree, TreeNode* node);

  // The record that OK writes now, or nullptr when there is none.
  Tinfo* target() const;

  // Told after each write into the target, with what the record held before.
  std::function<void(TreeNode* task, Tinfo& record, const RecordFields& before)> onRecordWritten;

 public Q_SLOTS:
  // Saves, then closes.
  void cmdOKClick();
  // Writes the controls into the target record, if there still is one.
  void SaveClick();
  // Closes without writing; Escape and the close box do the same.
  void cmdCancelClick();

 private:
  void createButtons();
  void createPages();
  void createDatePage();
  void createNotePage();
  // The initial values: pickers at today, lists filled with nothing chosen.
  void FormCreate();

  QTabWidget* pageControl = nullptr;
  QWidget* tsDate = nullptr;
  QWidget* tsNote = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLabel* StaticText1 = nullptr;
  QLabel* StaticText2 = nullptr;
  QLabel* StaticText3 = nullptr;
  QLabel* Status = nullptr;
  DayPicker* DateTimePicker3 = nullptr;
  DayPicker* DateTimePicker2 = nullptr;
  QComboBox* cboPriority = nullptr;
  QComboBox* cboStatus = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;

  TaskWatch task_;
  Tinfo* record_ = nullptr;
};

}  // namespace qm::ui
