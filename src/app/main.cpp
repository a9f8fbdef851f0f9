#include <QApplication>

#include "ui/pictures.h"
#include "ui/uMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The name, not the display name: that one would be appended to every
  // window title on X11.
  QApplication::setApplicationName(QStringLiteral("Quillmark"));
  // The main window may be hidden while the program runs on; the program
  // ends when the main window's close is allowed.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(qm::ui::programIcon());

  qm::ui::TfrmMain mainWindow;
  mainWindow.show();
  return QApplication::exec();
}
