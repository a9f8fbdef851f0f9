// Every label of every window shows its whole text in the font in use, which
// on this system is rarely the "MS Sans Serif" the windows ask for.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <memory>

#include "ui/dialogs/label_fit.h"
#include "ui/dialogs/uAboutBox.h"
#include "ui/dialogs/uOptions.h"
#include "ui/dialogs/uProperties.h"
#include "ui/tray/uMode.h"

namespace qm::ui {
namespace {

// The label's rectangle in the window's coordinates.
QRect inWindow(const QWidget* widget, const QWidget* window) {
  return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

TEST(DialogLabels, EveryLabelIsAsWideAsItsTextAndFitsInItsWindow) {
  const std::function<std::unique_ptr<QWidget>()> windows[] = {
      [] { return std::make_unique<TfrmProperties>(); },
      [] {
        return std::make_unique<TfrmOptions>([](QString&, QString&) {},
                                             [](const QString&, const QString&) {});
      },
      [] { return std::make_unique<TAboutBox>(); },
      [] { return std::make_unique<TfrmMode>(); },
  };
  for (const auto& make : windows) {
    std::unique_ptr<QWidget> window = make();
    window->ensurePolished();
    const auto labels = window->findChildren<QLabel*>();
    for (QLabel* label : labels) {
      if (label->text().isEmpty() || label->wordWrap()) continue;
      const std::string name = label->objectName().toStdString();
      EXPECT_GE(label->width(), label->sizeHint().width()) << name;
      EXPECT_TRUE(window->rect().contains(inWindow(label, window.get()))) << name;
      // No other control lies over any of its text.
      for (QWidget* other : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other == label || other->isHidden() || other->inherits("QGroupBox") || other->inherits("QLabel"))
          continue;
        EXPECT_FALSE(other->geometry().intersects(label->geometry()))
            << name << " under " << other->objectName().toStdString();
      }
    }
  }
}

TEST(DialogLabels, AControlInTheWayMovesRightAndTheFixedWindowGrows) {
  QWidget window;
  window.setFixedSize(80, 40);
  auto* label = new QLabel(QStringLiteral("A label of some length"), &window);
  label->setGeometry(8, 8, 20, 17);
  auto* edit = new QLineEdit(&window);
  edit->setGeometry(32, 8, 40, 21);
  fitLabels(&window);
  EXPECT_EQ(label->geometry(), QRect(8, 8, label->sizeHint().width(), 17));
  EXPECT_EQ(edit->geometry(), QRect(label->geometry().right() + 5, 8, 40, 21));
  EXPECT_EQ(window.width(), edit->geometry().right() + 1);
  EXPECT_EQ(window.minimumWidth(), window.maximumWidth());
  EXPECT_EQ(window.height(), 40);
}

}  // namespace
}  // namespace qm::ui
