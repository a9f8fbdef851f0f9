#include "ui/dialogs/uAboutBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/dialogs/label_fit.h"
#include "ui/main_window/main_window_style.h"
#include "ui/tree/pictures.h"

namespace qm::ui {
namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About"));
  setFont(windowFont());
  paintBackground(this, kSkyBlue);
  setWindowIcon(programIcon());
  setFixedSize(298, 213);
  setModal(true);
  createPanel();

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(111, 180, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  fitLabels(this);
}

void TAboutBox::createPanel() {
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(8, 8, 281, 161);
  // A sunken outer line around a raised inner one; the window's colour shows through.
  Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Panel1->setLineWidth(1);
  Panel1->setMidLineWidth(0);

  ProgramIcon = makeLabel(Panel1, "ProgramIcon", QString());
  ProgramIcon->setGeometry(8, 8, 41, 41);
  ProgramIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QIcon icon = programIcon();
  if (!icon.isNull()) ProgramIcon->setPixmap(icon.pixmap(32, 32));

  ProductName = makeLabel(Panel1, "ProductName", QStringLiteral("Quillmark "));
  ProductName->move(72, 16);
  ProductName->resize(ProductName->sizeHint().width(), 13);

  Version = makeLabel(Panel1, "Version", QStringLiteral("v2.1"));
  Version->setGeometry(192, 16, qMax(21, Version->sizeHint().width()), 13);
}

void TAboutBox::showEvent(QShowEvent* event) {
  centreOnScreen();
  QDialog::showEvent(event);
}

void TAboutBox::centreOnScreen() {
  const QScreen* target = screen();
  if (target == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(target->geometry().center());
  move(frame.topLeft());
}

}  // namespace qm::ui
