#include "ui/dialogs/uOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/dialogs/label_fit.h"
#include "ui/edits/command.h"
#include "ui/main_window/main_window_style.h"
#include "ui/main_window/outer_geometry.h"
#include "ui/tree/pictures.h"

namespace qm::ui {
namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  // The dialog has no default button: Enter in the edit must press nothing.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TfrmOptions::TfrmOptions(SettingsReader getR, SettingsWriter setR, QWidget* parent)
    : QDialog(parent), getR_(std::move(getR)), setR_(std::move(setR)) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(QStringLiteral("Options"));
  setFont(windowFont());
  paintBackground(this, kSkyBlue);
  setWindowIcon(programIcon());
  // One row taller than the two texts need, for the reminders' check box.
  setOuterGeometry(this, QRect(192, 107, 268, 156));
  createControls();
  fitLabels(this);
  runCommand(this, [this] { FormCreate(); });
}

void TfrmOptions::createControls() {
  lblDefaultDirectory = new QLabel(QStringLiteral("Default Directory"), this);
  lblDefaultDirectory->setObjectName(QStringLiteral("lblDefaultDirectory"));
  lblDefaultDirectory->setGeometry(8, 16, 79, 13);

  txtDefaultDir = new QLineEdit(QStringLiteral("c:\\"), this);
  txtDefaultDir->setObjectName(QStringLiteral("txtDefaultDir"));
  txtDefaultDir->setGeometry(128, 12, 121, 21);
  lblDefaultDirectory->setBuddy(txtDefaultDir);  // which names it for screen readers

  // Kept for the stored scheme name; never shown, so the user cannot reach them.
  lblColorScheme = new QLabel(QStringLiteral("Color Scheme"), this);
  lblColorScheme->setObjectName(QStringLiteral("lblColorScheme"));
  lblColorScheme->setGeometry(8, 40, 66, 13);
  lblColorScheme->hide();

  cboColorScheme = new QComboBox(this);
  cboColorScheme->setObjectName(QStringLiteral("cboColorScheme"));
  cboColorScheme->setEditable(true);
  cboColorScheme->setGeometry(128, 40, 121, 21);
  cboColorScheme->hide();
  lblColorScheme->setBuddy(cboColorScheme);

  cmdApply = makeButton(this, "cmdApply", QStringLiteral("OK"), QRect(96, 72, 75, 25));
  Button1 = makeButton(this, "Button1", QStringLiteral("Cancel"), QRect(176, 72, 75, 25));
  connect(cmdApply, &QPushButton::clicked, this,
          [this] { runCommand(this, [this] { cmdApplyClick(cmdApply); }); });
  // Escape and the close box reach reject() as well.
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });

  chkReminders = new QCheckBox(QStringLiteral("&Remind me of tasks that are due"), this);
  chkReminders->setObjectName(QStringLiteral("chkReminders"));
  chkReminders->setChecked(true);
  chkReminders->setGeometry(8, 104, chkReminders->sizeHint().width(), 17);

  setTabOrder(txtDefaultDir, cmdApply);
  setTabOrder(cmdApply, Button1);
  setTabOrder(Button1, chkReminders);
  txtDefaultDir->setFocus();
}

void TfrmOptions::FormCreate() {
  QString directory;
  QString scheme;
  // The edit's initial "c:\" is replaced even when nothing is stored.
  txtDefaultDir->clear();
  cboColorScheme->addItems({QStringLiteral("SkyBlue"), QStringLiteral("Windows")});
  cboColorScheme->setCurrentIndex(0);
  getR_(directory, scheme);
  txtDefaultDir->setText(directory);
}

void TfrmOptions::setReminderSetting(std::function<bool()> read, std::function<void(bool)> write) {
  chkReminders->setChecked(read());
  writeReminders_ = std::move(write);
}

void TfrmOptions::cmdApplyClick(QObject*) {
  setR_(txtDefaultDir->text(), cboColorScheme->currentText());
  if (writeReminders_) writeReminders_(chkReminders->isChecked());
  accept();
}

void TfrmOptions::Button1Click(QObject*) { reject(); }

}  // namespace qm::ui
