#pragma once

#include <QLabel>

namespace qm::ui {

// A label that, when its text does not fit, shows it elided in the middle,
// so that both ends stay in sight (a path's root and its file name), and
// offers the whole text as its tip. text() stays the whole text.
class ElidedLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

  // What is drawn at the label's present width.
  QString shownText() const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qm::ui
