// The main window's controls: toolbar, main menu, context menus, status bar,
// and the binding of each control to its handler.
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/edits/command.h"
#include "ui/looks/elided_label.h"
#include "ui/main_window/main_window_style.h"
#include "ui/main_window/uMain.h"

namespace qm::ui {
namespace {

constexpr QSize kToolButtonSize{23, 22};
constexpr int kToolBarHeight = 22;
constexpr int kStatusBarHeight = 19;
constexpr std::array<int, TfrmMain::kPanelCount> kPanelWidths{150, 50, 50, 0};  // 0: the rest

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                 bool enabled) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setShortcut(shortcut);
  item->setEnabled(enabled);
  return item;
}

QAction* addSeparator(QMenu* menu, const char* name) {
  QAction* line = menu->addSeparator();
  line->setObjectName(QString::fromLatin1(name));
  return line;
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

}  // namespace

void TfrmMain::buildToolBar() {
  ToolBar1 = new QToolBar(clientArea_);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(ImageList::kSize, ImageList::kSize));
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setFixedHeight(kToolBarHeight + 1);  // the buttons, and the line along the bottom
  // Transparent, so the window's colour shows through.
  ToolBar1->setStyleSheet(QStringLiteral(
      "QToolBar#ToolBar1 { background: transparent; border: none; border-bottom: 1px solid palette(mid);"
      " padding: 0px; spacing: 0px; margin: 0px; }"));
  ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
  ToolBar1->layout()->setSpacing(0);
  clientLayout_->addWidget(ToolBar1);

  auto addButton = [this](const char* name, int image, const QString& hint, bool enabled) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(imageList1_.icon(image));
    button->setToolTip(hint);
    button->setAutoRaise(true);  // flat
    button->setFixedSize(kToolButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(enabled);
    ToolBar1->addWidget(button);
    return button;
  };
  btnNewTaskList = addButton("btnNewTaskList", 15, QStringLiteral("New Task List < Ctrl+N >"), true);
  btnOpenTaskList = addButton("btnOpenTaskList", 1, QStringLiteral("Open Task List < Ctrl+O >"), true);
  btnSaveTaskList = addButton("btnSaveTaskList", 2, QStringLiteral("Save Task List < Ctrl+S >"), false);
  btnProperties = addButton("btnProperties", 17, QString(), false);
  btnInsertNode = addButton("btnInsertNode", 10, QStringLiteral("Insert Node < Ctrl+I >"), false);
  btnDeleteNode = addButton("btnDeleteNode", 3, QStringLiteral("Delete Node <Ctrl + D>"), false);
  btnExit = addButton("btnExit", 13, QStringLiteral("Exit < Ctrl+E >"), true);
  btnAbout = addButton("btnAbout", 14, QStringLiteral("About < Ctrl + T >"), true);
}

void TfrmMain::buildMainMenu() {
  MainMenu3 = new QMenuBar(this);
  MainMenu3->setObjectName(QStringLiteral("MainMenu3"));
  setMenuBar(MainMenu3);

  File1 = addMenu(MainMenu3, "File1", QStringLiteral("&File"));
  mnuNew = addItem(File1, "mnuNew", QStringLiteral("&New"), ctrl(Qt::Key_N), true);
  mnuOpen = addItem(File1, "mnuOpen", QStringLiteral("&Open"), ctrl(Qt::Key_O), true);
  SaveAs1 = addItem(File1, "SaveAs1", QStringLiteral("S&ave As"), ctrl(Qt::Key_A), false);
  mnuSave = addItem(File1, "mnuSave", QStringLiteral("&Save"), ctrl(Qt::Key_S), false);
  N2 = addSeparator(File1, "N2");
  Print1 = addItem(File1, "Print1", QStringLiteral("&Print"), {}, false);
  N1 = addSeparator(File1, "N1");
  mnuExit = addItem(File1, "mnuExit", QStringLiteral("E&xit"), ctrl(Qt::Key_E), true);

  mnuEdit = addMenu(MainMenu3, "mnuEdit", QStringLiteral("&Edit"));
  mnuInsert = addItem(mnuEdit, "mnuInsert", QStringLiteral("&Insert Node"), ctrl(Qt::Key_I), false);
  Delete1 = addItem(mnuEdit, "Delete1", QStringLiteral("&Delete Node"), ctrl(Qt::Key_D), false);
  mnuProperties = addItem(mnuEdit, "mnuProperties", QStringLiteral("&Properties"), ctrl(Qt::Key_P), false);
  // Carries Ctrl+O as well; hidden and disabled, so the shortcut stays Open's.
  mnuMode = addItem(mnuEdit, "mnuMode", QStringLiteral("M&ode"), ctrl(Qt::Key_O), false);
  mnuMode->setVisible(false);
  buildUndoItems();
  N4 = addSeparator(mnuEdit, "N4");
  mnuFind = addItem(mnuEdit, "mnuFind", QStringLiteral("&Find..."), ctrl(Qt::Key_F), false);
  mnuFindNext = addItem(mnuEdit, "mnuFindNext", QStringLiteral("Find &Next"), Qt::Key_F3, false);
  mnuFindPrevious = addItem(mnuEdit, "mnuFindPrevious", QStringLiteral("Find &Previous"),
                            QKeySequence(Qt::SHIFT | Qt::Key_F3), false);

  ools1 = addMenu(MainMenu3, "ools1", QStringLiteral("&Tools"));
  mnuSkinChooser = addItem(ools1, "mnuSkinChooser", QStringLiteral("&Options"), {}, true);

  Help1 = addMenu(MainMenu3, "Help1", QStringLiteral("&Help"));
  About1 = addItem(Help1, "About1", QStringLiteral("&About"), ctrl(Qt::Key_T), true);
}

void TfrmMain::buildPopupMenus() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  Complete1 = addItem(PopupMenu1, "Complete1", QStringLiteral("&Complete"), {}, true);
  Hide1 = addItem(PopupMenu1, "Hide1", QStringLiteral("&Hide"), {}, true);

  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  Show1 = addItem(PopupMenu2, "Show1", QStringLiteral("Show"), {}, true);
}

void TfrmMain::buildStatusBar() {
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFixedHeight(kStatusBarHeight);
  paintBackground(StatusBar1, kGradientActiveCaption);
  for (int i = 0; i < kPanelCount; ++i) {
    // A path elided in the middle keeps its file name in sight.
    auto* panel = i == 0 ? new ElidedLabel(StatusBar1) : new QLabel(StatusBar1);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setAlignment(Qt::AlignCenter);
    bool fillsTheRest = kPanelWidths[i] == 0;
    if (fillsTheRest)
      panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // never widens the window
    else
      panel->setFixedWidth(kPanelWidths[i]);
    StatusBar1->addWidget(panel, fillsTheRest ? 1 : 0);
    panels_[i] = panel;
  }
  setStatusBar(StatusBar1);
}

QString TfrmMain::panelText(int panel) const { return panels_.at(panel)->text(); }

void TfrmMain::setPanelText(int panel, const QString& text) { panels_.at(panel)->setText(text); }

void TfrmMain::bindCommand(QToolButton* button, void (TfrmMain::*handler)(QObject*)) {
  connect(button, &QToolButton::clicked, this,
          [this, button, handler] { runCommand(this, [&] { (this->*handler)(button); }); });
}

void TfrmMain::bindCommand(QAction* action, void (TfrmMain::*handler)(QObject*)) {
  connect(action, &QAction::triggered, this,
          [this, action, handler] { runCommand(this, [&] { (this->*handler)(action); }); });
}

void TfrmMain::bindCommands() {
  bindCommand(btnNewTaskList, &TfrmMain::cmdCreateTreeClick);
  bindCommand(mnuNew, &TfrmMain::cmdCreateTreeClick);
  bindCommand(btnOpenTaskList, &TfrmMain::cmdOpenClick);
  bindCommand(mnuOpen, &TfrmMain::cmdOpenClick);
  bindCommand(btnSaveTaskList, &TfrmMain::cmdSaveClick);
  bindCommand(mnuSave, &TfrmMain::cmdSaveClick);
  bindCommand(SaveAs1, &TfrmMain::SaveAs1Click);
  bindCommand(btnProperties, &TfrmMain::btnPropertiesClick);
  bindCommand(mnuProperties, &TfrmMain::btnPropertiesClick);
  bindCommand(mnuMode, &TfrmMain::showMode);
  bindCommand(Hide1, &TfrmMain::Hide1Click);
  bindCommand(Show1, &TfrmMain::Show1Click);
  bindCommand(btnInsertNode, &TfrmMain::cmdNewNodeClick);
  bindCommand(mnuInsert, &TfrmMain::cmdNewNodeClick);
  bindCommand(btnDeleteNode, &TfrmMain::tbDeleteNodeClick);
  bindCommand(Delete1, &TfrmMain::tbDeleteNodeClick);
  bindCommand(Complete1, &TfrmMain::Complete1Click);
  bindCommand(btnExit, &TfrmMain::mnuExitClick);
  bindCommand(mnuExit, &TfrmMain::mnuExitClick);
  bindCommand(mnuSkinChooser, &TfrmMain::mnuSkinChooserClick);
  bindCommand(btnAbout, &TfrmMain::About1Click);
  bindCommand(About1, &TfrmMain::About1Click);
  bindCommand(mnuFind, &TfrmMain::mnuFindClick);
  bindCommand(mnuFindNext, &TfrmMain::mnuFindNextClick);
  bindCommand(mnuFindPrevious, &TfrmMain::mnuFindPreviousClick);
}

}  // namespace qm::ui
