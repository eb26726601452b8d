// The one main of every test binary: it owns the application the whole run shares, the programs'
// own with their default handler of failures. A failure that reaches that handler fails the test
// in hand, unless the test answers the message boxes itself (it then sees the handler's box).
//
// No test ever reaches the real home folder: HOME and the XDG folders point into a temporary
// folder for the whole run, removed at its end.
#include <gtest/gtest.h>

#include "platform/ui/DefaultHandler.h"
#include "platform/ui/Dialogs.h"
#include "tests/support/TestUtil.h"

namespace {

class TTestApplication : public TGuiApplication {
 public:
  using TGuiApplication::TGuiApplication;
  void ReportFailure(const std::string& message) override {
    if (MessageHookSet())
      TGuiApplication::ReportFailure(message);
    else
      ADD_FAILURE() << "an event handler failed: " << message;
  }
};

}  // namespace

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
    TTestApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  return result;
}
