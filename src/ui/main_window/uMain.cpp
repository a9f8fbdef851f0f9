#include "ui/main_window/uMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QTime>
#include <QUndoStack>
#include <QVBoxLayout>

#include "model/ttree.h"
#include "platform/modal_focus.h"
#include "ui/access/main_window_names.h"
#include "ui/edits/command.h"
#include "ui/main_window/main_window_style.h"
#include "ui/main_window/outer_geometry.h"
#include "ui/safety/recovery.h"
#include "ui/text_fields/editing_keys.h"
#include "ui/tree/task_tree_model.h"

namespace qm::ui {

TfrmMain* frmMain = nullptr;

namespace {
// The title bar carries only the system menu and the close box.
constexpr Qt::WindowFlags kMainWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The time of day in the user's long time format, without the time zone
// that Qt's long formats add.
QString startTimeText() {
  QLocale locale = QLocale::system();
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QRegularExpression(QStringLiteral("\\s*(?<!')\\bt+\\b(?!')")));
  return locale.toString(QTime::currentTime(), format.trimmed());
}

}  // namespace

TfrmMain::TfrmMain(const QString& firstArgument, QWidget* parent) : QMainWindow(parent, kMainWindowFlags) {
  frmMain = this;
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Quillmark 2.1"));
  setWindowIcon(programIcon());
  setFont(windowFont());
  paintBackground(this, kSkyBlue);
  openDialog1_ = {
      QStringLiteral("c:\\"), {}, QStringLiteral("Quillmark File (*.jjp)"), QStringLiteral("jjp")};
  saveDialog1_ = {QStringLiteral("c:\\temp"), {}, QStringLiteral("*.jjp"), QStringLiteral("jjp")};

  clientArea_ = new QWidget(this);
  clientArea_->setObjectName(QStringLiteral("ClientArea"));
  clientLayout_ = new QVBoxLayout(clientArea_);
  clientLayout_->setContentsMargins(0, 0, 0, 0);
  clientLayout_->setSpacing(0);
  setCentralWidget(clientArea_);
  buildToolBar();
  clientLayout_->addStretch(1);  // the task tree takes this place once it exists
  buildFindBar();
  buildMainMenu();
  buildPopupMenus();
  buildOutlineItems();
  buildStatusBar();
  bindCommands();
  installEditingKeys();
  nameMainWindowControls(*this);
  resize(kOuterSize);
  tray_ = platform::installedTrayIcon();
  if (tray_ == nullptr) {
    ownTray_ = std::make_unique<platform::QtTrayIcon>();
    tray_ = ownTray_.get();
  }
  startRecovery();
  platform::returnFocusAfterModalDialogs();
  buildDueParts();
  FormCreate(firstArgument);
}

TfrmMain::~TfrmMain() {
  // The view and its model go before the tree they show.
  delete treeView_;
  delete treeModel_;
  undoStack_->clear();  // its steps hold tasks of the tree
  tree_.reset();
  // A window destroyed without a close (tests, a failed start) takes its
  // icon along.
  removeTrayIcon();
  if (frmMain == this) frmMain = nullptr;
}

// The start-up sequence, while the window is still hidden. An error ends it
// where it happened; the window is still created and shown. A settings error
// is shown and start-up goes on: ending there would leave the window without
// its notification icon, and without the list named on the command line.
void TfrmMain::FormCreate(const QString& firstArgument) {
  runCommand(this, [&] {
    QString directory;
    QString scheme;
    GetR(this, directory, scheme);  // for its effect on the open dialog
  });
  runCommand(this, [&] {
    addTrayIcon();
    setFileName(QString());
    if (!firstArgument.isEmpty()) openFromCommandLine(firstArgument);
    setPanelText(3, startTimeText());
  });
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!placed_) placeOnFirstShow();
  placed_ = true;
}

void TfrmMain::placeOnFirstShow() {
  // Centred by its outer size, which counts the frame the window manager
  // adds once the window is shown.
  QRect outer(QPoint(), kOuterSize);
  if (QScreen* where = screen()) outer.moveCenter(where->availableGeometry().center());
  const QSize frame = frameGeometry().size() - geometry().size();
  if (frame.isEmpty()) {
    setOuterGeometry(this, outer);  // fits the client once the frame is known
    return;
  }
  resize(kOuterSize - frame);
  move(outer.topLeft());
}

void TfrmMain::contextMenuEvent(QContextMenuEvent* event) {
  // The window's own menu, wherever the right click lands; it selects nothing.
  PopupMenu1->popup(event->globalPos());
  event->accept();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  bool canClose = false;
  // A save that fails while answering the prompt refuses the close.
  if (!runCommand(this, [&] { FormClose(this, canClose); }) || !canClose) {
    event->ignore();
    return;
  }
  removeRecovery();
  removeTrayIcon();
  event->accept();
  // The main window may be hidden while others are shown, so the program
  // ends here rather than with the last visible window.
  QCoreApplication::quit();
}

void TfrmMain::mnuExitClick(QObject* /*Sender*/) { close(); }

void TfrmMain::About1Click(QObject* /*Sender*/) {
  if (aboutBox_) aboutBox_->exec();
}

void TfrmMain::mnuSkinChooserClick(QObject* /*Sender*/) {
  if (!optionsDialog_) return;
  optionsDialog_->show();
  optionsDialog_->raise();
  optionsDialog_->activateWindow();
}

}  // namespace qm::ui
