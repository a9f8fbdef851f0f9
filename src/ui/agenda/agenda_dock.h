#pragma once

#include <QDockWidget>

class QLabel;
class QSpinBox;
class QTableView;

namespace qm {
class TreeNode;
}

namespace qm::ui {

class AgendaModel;

// The "Agenda" dock: the tasks due within "Days ahead", grouped, its title
// counting the overdue ones and those due today. Double click or Enter on a
// task asks to go to it.
class AgendaDock : public QDockWidget {
  Q_OBJECT
 public:
  static constexpr int kMaxDaysAhead = 365;
  static constexpr int kDefaultDaysAhead = 7;

  AgendaDock(AgendaModel& model, QWidget* parent = nullptr);

  AgendaModel& model() const { return model_; }
  // Whether the focus was inside the dock before the change of focus now
  // being delivered.
  bool hadFocus() const { return hadFocus_; }

  QLabel* lblDaysAhead;
  QSpinBox* spnDaysAhead;
  QTableView* lstAgenda;

 Q_SIGNALS:
  void goToTask(TreeNode* task);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showRows();
  void goToRow(int row);

  AgendaModel& model_;
  bool hadFocus_ = false;
  int keptScroll_ = 0;
};

}  // namespace qm::ui
