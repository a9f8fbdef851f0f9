#pragma once

#include <QDateTimeEdit>

namespace qm::ui {

// A date picker whose value is a record's day count: it shows and edits only
// the calendar day (short date format, drop-down calendar), while the value
// carries a time of day fixed for the picker's life. The time is kept as the
// exact fraction, never as a QTime, which cannot hold it.
class DayPicker : public QDateTimeEdit {
  Q_OBJECT

 public:
  DayPicker(double timeOfDay, QWidget* parent);

  double timeOfDay() const { return timeOfDay_; }
  // Shows the calendar day of a day count; its time of day is not taken. A
  // count that names no day leaves the picker as it is.
  void setDayOf(double dayCount);
  // The chosen day plus the fixed time of day.
  double dayCount() const;

 protected:
  // Tab leaves the picker, as in the rest of the dialog, instead of stepping
  // through day, month and year; the arrow keys still do that.
  bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

 private:
  const double timeOfDay_;
};

}  // namespace qm::ui
