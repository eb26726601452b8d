// The window's trace: the start-up trace during creation and the first activation, the error
// report of a start-up that fails, and the player's trace from the Debug menu.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>

#include "cardtable/SystemDirs.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/patience/ui/WindowTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// A desktop and a home of the test's own; the questions are recorded and answered with Answer.
class DebugTraceTest : public TWindowTest<TForm1> {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FOldDesktop = DesktopDir;
    FOldHome = GetEnv("HOME");
    DesktopDir = Home / "Desktop";
    setenv("HOME", Home.Path().c_str(), 1);
  }
  void TearDown() override {
    Form.reset();
    StopTrace();
    DesktopDir = FOldDesktop;
    setenv("HOME", FOldHome.c_str(), 1);
    TWindowTest::TearDown();
  }
  TForm1& Make(const std::string& cardsets = StandardTestCardsetsDir()) {
    return TWindowTest::Make({}, cardsets);
  }
  bool Traced(const std::string& start) const {
    if (!TraceList) return false;
    for (const std::string& l : TraceList->Lines)
      if (l.find(start) != std::string::npos) return true;
    return false;
  }

  TTempDir Home;
  std::string FOldDesktop, FOldHome;
};

}  // namespace

TEST_F(DebugTraceTest, StartUpIsTracedInMemoryUntilTheFirstActivationEnds) {
  TForm1& f = Make();
  ASSERT_TRUE(Tracing());
  EXPECT_EQ((*TraceList)[0], kStartupTraceHeader);
  EXPECT_EQ((*TraceList)[2], "v 2.51");
  EXPECT_EQ((*TraceList)[3], "2051");
  EXPECT_TRUE(Traced("CardTable created"));
  EXPECT_TRUE(Traced("Application Parameters = 0"));
  f.show();
  QCoreApplication::processEvents();
  ASSERT_TRUE(f.StartupDone);
  EXPECT_FALSE(Tracing());
  EXPECT_FALSE(FileExists(Home / "Desktop/debug.txt"));
  EXPECT_FALSE(FileExists(Home / "Desktop/PatienceErrorReport.txt"));
  EXPECT_TRUE(Asked.empty());
}

TEST_F(DebugTraceTest, AFailedStartWritesTheReportAndEnds) {
  // No card sets where the window is told to look.
  Make(Home / "no-cardsets");
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Caption, "Patience Error Report.");
  EXPECT_EQ(Asked[0].Buttons, mbOK);
  EXPECT_EQ(Asked[0].Text.rfind("Patience fatal exception trace\r\n", 0), 0u);
  EXPECT_NE(Asked[0].Text.find("\r\nException in FormCreate"), std::string::npos);
  EXPECT_EQ(ReadFileText(Home / "Desktop/PatienceErrorReport.txt"), Asked[0].Text + "\r\n");
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(Tracing());
}

TEST_F(DebugTraceTest, TheDebugMenuStartsTheTraceOnceAndClosingEndsIt) {
  TForm1& f = Make();
  f.show();
  QCoreApplication::processEvents();
  const std::string file = Home / "Desktop/debug.txt";
  EXPECT_EQ(f.StartDebugTrace1->Parent(), f.Debug1);
  EXPECT_EQ(f.ViewWinningAnimation1->Parent(), f.Debug1);

  Answer = mrNo;
  f.StartDebugTrace1->Click();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text, "Start trace in debug.dat?");
  EXPECT_EQ(Asked[0].Caption, "Debug Mode.");
  EXPECT_EQ(Asked[0].Buttons, mbYes | mbNo);
  EXPECT_FALSE(Tracing());

  Answer = mrYes;
  f.StartDebugTrace1->Click();
  ASSERT_TRUE(Tracing());
  EXPECT_EQ((*TraceList)[0], "-----------------");
  EXPECT_EQ((*TraceList)[4], "Options:");
  EXPECT_EQ((*TraceList)[12], "-- -- -- -- -- --");
  // A second time asks nothing.
  f.StartDebugTrace1->Click();
  EXPECT_EQ(Asked.size(), 2u);

  // What the window and the engine do is in the file at once.
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  const std::string text = ReadFileText(file);
  for (const char* line : {"Trace Started.", "Rules cleared", "Start StartGame", "Exit StartGame"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(text, TraceList->Text());

  Answer = mrYes;
  EXPECT_TRUE(f.close());
  EXPECT_FALSE(Tracing());
  EXPECT_NE(ReadFileText(file).find("Trace terminated ok"), std::string::npos);
}
