#include "platform/modal_focus.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace qm::platform {
namespace {

class ModalFocusReturn : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
      auto* closing = static_cast<QWidget*>(watched);
      if (closing->isWindow() && closing->isModal() && closing->parentWidget() != nullptr)
        giveFocusBack(closing->parentWidget()->window());
    }
    return false;
  }

 private:
  // Once control is back in the event loop: a command that shows another
  // modal box right after this one (Open's prompt, then its dialog) keeps it.
  static void giveFocusBack(QWidget* owner) {
    QTimer::singleShot(0, owner, [owner = QPointer<QWidget>(owner)] {
      if (owner && owner->isVisible() && !owner->isMinimized() &&
          QApplication::activeModalWidget() == nullptr)
        owner->activateWindow();
    });
  }
};

}  // namespace

void returnFocusAfterModalDialogs() {
  static QPointer<ModalFocusReturn> installed;
  if (installed || qApp == nullptr) return;
  installed = new ModalFocusReturn(qApp);
  qApp->installEventFilter(installed);
}

}  // namespace qm::platform
