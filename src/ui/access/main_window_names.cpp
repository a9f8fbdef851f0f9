#include "ui/access/main_window_names.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "ui/access/captioned_label.h"
#include "ui/main_window/uMain.h"

namespace qm::ui {

void nameMainWindowControls(TfrmMain& window) {
  const std::pair<QWidget*, const char*> named[] = {
      {window.btnNewTaskList, "New Task List"},
      {window.btnOpenTaskList, "Open Task List"},
      {window.btnSaveTaskList, "Save Task List"},
      {window.btnProperties, "Properties"},
      {window.btnInsertNode, "Insert Node"},
      {window.btnDeleteNode, "Delete Node"},
      {window.btnExit, "Exit"},
      {window.btnAbout, "About"},
      {window.ToolBar1, "Toolbar"},
      {window.MainMenu3, "Menu bar"},
      {window.StatusBar1, "Status bar"},
  };
  for (const auto& [control, name] : named) control->setAccessibleName(QString::fromLatin1(name));
  const char* const panelCaptions[TfrmMain::kPanelCount] = {"File name", "Task count", "Blank panel",
                                                            "Started at"};
  for (int i = 0; i < TfrmMain::kPanelCount; ++i)
    if (auto* panel = window.StatusBar1->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i)))
      setAccessibleCaption(panel, QString::fromLatin1(panelCaptions[i]));
}

}  // namespace qm::ui
