#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace qm::ui {

// The about box: the program's icon, name and version. Created once at
// start-up; About shows it modally with exec(), so every showing looks the same.
class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QFrame* Panel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QPushButton* OKButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void createPanel();
  void centreOnScreen();
};

}  // namespace qm::ui
