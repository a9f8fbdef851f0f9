#include <QApplication>
#include <QSessionManager>
#include <QTimer>
#include <optional>

#include "app/test_script.h"
#include "model/huge_pages.h"
#include "stream/task_list_file.h"
#include "ui/dialogs/uAboutBox.h"
#include "ui/dialogs/uOptions.h"
#include "ui/edits/command.h"
#include "ui/main_window/uMain.h"
#include "ui/tray/uMode.h"
#include "ui/tree/pictures.h"

int main(int argc, char* argv[]) {
  using namespace qm::ui;

  // Memory for a big list named on the command line is made ready while Qt
  // starts, ahead of the read; it ends once the main window has read the list.
  std::optional<qm::SlabPrefetch> slabsAhead;
  if (argc > 1) slabsAhead.emplace(qm::isLargeTaskListFile(argv[1]));

  QApplication app(argc, argv);
  // The name, not the display name: that one would be appended to every
  // window title on X11.
  QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
  // The main window may be hidden while the program runs on; the program
  // ends when the main window's close is allowed.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(programIcon());

  // The long-lived windows, main window first; the others start hidden.
  const QStringList arguments = QApplication::arguments();
  TfrmMain mainWindow(arguments.size() > 1 ? arguments.at(1) : QString());
  slabsAhead.reset();

  TfrmMode modeWindow;
  modeWindow.setNoteModeHandler([&mainWindow] { mainWindow.SetMode(); });
  mainWindow.setModeWindow(&modeWindow);

  TAboutBox aboutBox(&mainWindow);
  mainWindow.setAboutBox(&aboutBox);

  runCommand(&mainWindow, [&mainWindow] { mainWindow.SetColor(); });
  TfrmOptions optionsDialog(
      [&mainWindow](QString& directory, QString& scheme) { mainWindow.GetR(&mainWindow, directory, scheme); },
      [&mainWindow](const QString& directory, const QString& scheme) {
        mainWindow.SetR(&mainWindow, directory, scheme);
      },
      &mainWindow);
  runCommand(&mainWindow, [&] {
    optionsDialog.setReminderSetting([&mainWindow] { return mainWindow.remindersOn(); },
                                     [&mainWindow](bool on) { mainWindow.setRemindersOn(on); });
  });
  mainWindow.setOptionsDialog(&optionsDialog);

  // Logging out asks the same question as closing the window; a refused
  // close keeps the session from ending.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                   [&mainWindow](QSessionManager& manager) {
                     if (!manager.allowsInteraction()) return;
                     const bool closed = mainWindow.close();
                     manager.release();
                     if (!closed) manager.cancel();
                   });

  if (!mainWindow.isVisible()) mainWindow.show();
  // Unsaved work that an earlier run left is offered once the window shows,
  // after the start-up above has run as it always does.
  QTimer::singleShot(0, &mainWindow, [&mainWindow] { mainWindow.offerRecovery(); });
  qm::app::runTestScript(mainWindow);
  return QApplication::exec();
}
