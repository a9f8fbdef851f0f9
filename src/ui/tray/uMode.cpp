#include "ui/tray/uMode.h"

#include <QPalette>
#include <QPushButton>

#include "ui/edits/command.h"
#include "ui/main_window/main_window_style.h"
#include "ui/main_window/outer_geometry.h"
#include "ui/tree/pictures.h"

namespace qm::ui {

TfrmMode::TfrmMode(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmMode"));
  setWindowTitle(QStringLiteral("Quillmark - Properties"));
  setFont(windowFont());
  paintBackground(this, palette().color(QPalette::Button));
  setWindowIcon(programIcon());
  setOuterGeometry(this, QRect(192, 107, 336, 265));

  Button1 = new QPushButton(QStringLiteral("Set Note Mode"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(104, 72, 91, 25);
  Button1->setFocus();
  connect(Button1, &QPushButton::clicked, this,
          [this] { runCommand(this, [this] { Button1Click(Button1); }); });
}

void TfrmMode::Button1Click(QObject*) {
  if (setMode_) setMode_();
  hide();
}

}  // namespace qm::ui
