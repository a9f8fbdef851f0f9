#include "ui/dialogs/label_fit.h"

#include <QLabel>
#include <QLayout>

namespace qm::ui {
namespace {

constexpr int kGapAfterLabel = 4;  // between a widened label and the control it ran into

void growWidthTo(QWidget* widget, int width) {
  if (width <= widget->width()) return;
  if (widget->minimumWidth() == widget->maximumWidth())  // a fixed-size window stays fixed
    widget->setFixedWidth(width);
  else
    widget->resize(width, widget->height());
}

// Each container placed by hand, from the widget's parent up to the window,
// grows to hold the widget's right edge; one placed by a layout or a page
// control follows the container that holds it.
void growToHold(QWidget* widget, QWidget* window) {
  for (QWidget* container = widget->parentWidget(); container != nullptr;
       container = container == window ? nullptr : container->parentWidget()) {
    QWidget* holder = container->parentWidget();
    bool placedByHand = container == window || (holder != nullptr && holder->layout() == nullptr);
    if (placedByHand) growWidthTo(container, widget->mapTo(container, QPoint(widget->width(), 0)).x());
  }
}

void fitLabel(QLabel* label, QWidget* window) {
  const int needed = label->sizeHint().width();
  if (label->text().isEmpty() || label->wordWrap() || needed <= label->width()) return;
  label->resize(needed, label->height());
  for (QWidget* other : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == label || other->inherits("QGroupBox") || !other->geometry().intersects(label->geometry()))
      continue;
    other->move(label->geometry().right() + 1 + kGapAfterLabel, other->y());
    growToHold(other, window);
  }
  growToHold(label, window);
}

}  // namespace

void fitLabels(QWidget* window) {
  window->ensurePolished();
  for (QLabel* label : window->findChildren<QLabel*>()) fitLabel(label, window);
}

}  // namespace qm::ui
