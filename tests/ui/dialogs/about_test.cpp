#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ui/dialogs/uAboutBox.h"

namespace qm::ui {
namespace {

TEST(AboutBox, ShowsNameVersionAndOkAsTheDefaultButton) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), "About");
  EXPECT_EQ(box.ProductName->text(), "Quillmark ");  // the trailing space belongs to it
  EXPECT_EQ(box.Version->text(), "v2.1");
  EXPECT_EQ(box.OKButton->text(), "OK");
  EXPECT_TRUE(box.OKButton->isDefault());
  EXPECT_EQ(box.ProductName->parentWidget(), box.Panel1);
  EXPECT_EQ(box.ProgramIcon->parentWidget(), box.Panel1);
  // A fixed dialog border: the client cannot be resized.
  EXPECT_EQ(box.minimumSize(), QSize(298, 213));
  EXPECT_EQ(box.maximumSize(), QSize(298, 213));
}

// Runs the box modally and, once it is up, hands it to `step`.
int execWith(TAboutBox& box, const std::function<void(QWidget* modal)>& step) {
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      ADD_FAILURE() << "the about box is not modal";
      box.reject();
      return;
    }
    step(modal);
  });
  return box.exec();
}

TEST(AboutBox, IsModalCentredAndClosesWithOkByEnterOrTheButtonEveryTime) {
  TAboutBox box;
  const int byEnter = execWith(box, [&](QWidget* modal) {
    EXPECT_EQ(modal, &box);
    EXPECT_EQ(box.frameGeometry().center(), box.screen()->geometry().center());
    QTest::keyClick(modal, Qt::Key_Return);
  });
  EXPECT_EQ(byEnter, QDialog::Accepted);
  EXPECT_FALSE(box.isVisible());

  const int byButton = execWith(box, [&](QWidget*) { box.OKButton->click(); });
  EXPECT_EQ(byButton, QDialog::Accepted);

  const int byCloseBox = execWith(box, [&](QWidget* modal) { modal->close(); });
  EXPECT_EQ(byCloseBox, QDialog::Rejected);
}

}  // namespace
}  // namespace qm::ui
