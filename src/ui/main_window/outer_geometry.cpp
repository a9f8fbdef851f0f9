#include "ui/main_window/outer_geometry.h"

#include <QEvent>
#include <QWidget>

namespace qm::ui {
namespace {

// Watches the window until its frame is known, then fits the client once.
class FrameFitter : public QObject {
 public:
  FrameFitter(QWidget* window, QSize outer) : QObject(window), window_(window), outer_(outer) {
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && isPlacementEvent(event->type()) && window_->isVisible()) fitIfFramed();
    return false;
  }

 private:
  static bool isPlacementEvent(QEvent::Type type) {
    // The frame may become known with no move or resize of the client (the
    // window manager reparents it in place); the first paint follows that.
    return type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint;
  }

  void fitIfFramed() {
    const QSize frame = window_->frameGeometry().size() - window_->geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0) return;
    window_->removeEventFilter(this);
    window_->resize(outer_ - frame);
    deleteLater();
  }

  QWidget* window_;
  QSize outer_;
};

}  // namespace

void setOuterGeometry(QWidget* window, const QRect& outer) {
  window->move(outer.topLeft());
  window->resize(outer.size());
  new FrameFitter(window, outer.size());
}

}  // namespace qm::ui
