// The one main of every test binary: it owns the QApplication the whole run shares.
//
// No test ever reaches the real home folder: HOME and the XDG folders point into a temporary
// folder for the whole run, removed at its end.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/TestUtil.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  TTempDir home;
  qputenv("HOME", QByteArray::fromStdString(home.Path()));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home / ".config"));
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home / ".local/share"));
  qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(home / ".cache"));
  int result = 0;
  {
    QApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  return result;
}
