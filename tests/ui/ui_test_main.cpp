#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/desktop.h"
#include "platform/settings_store.h"

int main(int argc, char* argv[]) {
  // Headless unless told otherwise, also when ctest lists the tests.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
  // Offscreen on Windows reads font files from a folder, by default the
  // system's. Wine passes no QT_ variable on to a program, and its system
  // folder holds no font files (every text would be measured in empty boxes),
  // so under wine the folder comes as QM_TEST_FONTDIR.
  if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
    qputenv("QT_QPA_FONTDIR", qEnvironmentVariableIsEmpty("QM_TEST_FONTDIR")
                                  ? QStandardPaths::writableLocation(QStandardPaths::FontsLocation).toUtf8()
                                  : qgetenv("QM_TEST_FONTDIR"));
#endif
  // Never the user's own settings.
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  // Nor its recovery files.
  QTemporaryDir stateHome;
  qputenv("XDG_STATE_HOME", stateHome.path().toUtf8());

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmark"));
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
