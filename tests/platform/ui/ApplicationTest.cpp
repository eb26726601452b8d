// The program's end asked for from outside: SIGTERM and SIGINT reach the handler on the GUI thread
// (not in the signal handler), and once the program stops asking, message boxes answer at once.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <csignal>
#include <thread>

#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

namespace {

TEST(ApplicationTest, EndSignalsReachTheHandlerOnTheGuiThread) {
  int calls = 0;
  Application().OnEndRequest([&] { ++calls; });
  for (int sig : {SIGTERM, SIGINT}) {
    const int before = calls;
    ASSERT_EQ(std::raise(sig), 0);
    // Nothing happens inside the signal handler itself.
    EXPECT_EQ(calls, before);
    for (int i = 0; i < 100 && calls == before; ++i) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(calls, before + 1) << "signal " << sig;
  }
  Application().OnEndRequest([] {});
}

TEST(ApplicationTest, NoQuestionWaitsOnceTheProgramStopsAsking) {
  Application().StopAsking();
  EXPECT_EQ(MessageDlg("Quit Patience?", mtConfirmation, mbYes | mbNo), mrNo);
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbYes | mbNo | mbCancel), mrCancel);
  Application().ResetForTesting();
  EXPECT_TRUE(Application().Asking());
}

}  // namespace
