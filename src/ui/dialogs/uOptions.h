#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::ui {

// The options dialog: edits the directory in which the open dialog starts.
// Created once at start-up and only shown and hidden afterwards; it reads the
// settings once, at creation, and keeps whatever the user typed, even after
// Cancel, until a later OK writes it.
class TfrmOptions : public QDialog {
  Q_OBJECT

 public:
  // The main window's settings operations: GetR sets both texts only when a
  // directory is stored; SetR raises qm::Error when a write fails.
  using SettingsReader = std::function<void(QString& directory, QString& scheme)>;
  using SettingsWriter = std::function<void(const QString& directory, const QString& scheme)>;

  TfrmOptions(SettingsReader getR, SettingsWriter setR, QWidget* parent = nullptr);

  // OK: writes the edit's text and the scheme, then hides. A failed write
  // raises and leaves the dialog open.
  void cmdApplyClick(QObject* Sender);
  // Cancel: hides without writing.
  void Button1Click(QObject* Sender);

  // Below the document's controls: whether the daily reminder runs. Read
  // once, now (on when nothing is stored), and written by OK after the two
  // texts; raises as SetR does.
  void setReminderSetting(std::function<bool()> read, std::function<void(bool)> write);

  QLineEdit* txtDefaultDir = nullptr;
  QComboBox* cboColorScheme = nullptr;
  QPushButton* cmdApply = nullptr;
  QPushButton* Button1 = nullptr;
  QCheckBox* chkReminders = nullptr;

 private:
  void createControls();
  void FormCreate();

  QLabel* lblDefaultDirectory = nullptr;
  QLabel* lblColorScheme = nullptr;
  SettingsReader getR_;
  SettingsWriter setR_;
  std::function<void(bool)> writeReminders_;
};

}  // namespace qm::ui
