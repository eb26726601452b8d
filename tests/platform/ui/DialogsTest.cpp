// Message boxes through the test hook: the captions of each type, MessageBox flags and answers,
// the beep; the application's quit flag and the screen size seam.
#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

TEST(MessageBoxes, MessageDlgCarriesTheSystemCaptionOfItsType) {
  Application().Title = "Patience";
  std::vector<TMessageRequest> asked;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    asked.push_back(r);
    return mrYes;
  });
  EXPECT_EQ(MessageDlg("Quit Patience?", mtConfirmation, mbYes | mbNo), mrYes);
  MessageDlg("w", mtWarning, mbOK);
  MessageDlg("e", mtError, mbOK);
  MessageDlg("i", mtInformation, mbOK);
  MessageDlg("c", mtCustom, mbOK);
  ShowMessage("plain");
  ASSERT_EQ(asked.size(), 6u);
  EXPECT_EQ(asked[0].Caption, "Confirm");
  EXPECT_EQ(asked[0].Text, "Quit Patience?");
  EXPECT_EQ(asked[0].Buttons, mbYes | mbNo);
  EXPECT_EQ(asked[1].Caption, "Warning");
  EXPECT_EQ(asked[2].Caption, "Error");
  EXPECT_EQ(asked[3].Caption, "Information");
  EXPECT_EQ(asked[4].Caption, "Patience");
  EXPECT_EQ(asked[5].Caption, "Patience");
  EXPECT_EQ(asked[5].Buttons, mbOK);
}

TEST(MessageBoxes, MessageBoxMapsFlagsAndAnswers) {
  std::vector<TMessageRequest> asked;
  int answer = mrOk;
  TScopedMessageHook hook([&](const TMessageRequest& r) {
    asked.push_back(r);
    return answer;
  });
  EXPECT_EQ(MessageBox("Scale ... - Reset", "Notification.", MB_OK), IDOK);
  answer = mrNo;
  EXPECT_EQ(MessageBox("Start trace in debug.dat?", "Debug Mode.", MB_YESNO | MB_ICONQUESTION), IDNO);
  answer = mrYes;
  EXPECT_EQ(MessageBox("?", "T", MB_YESNOCANCEL | MB_ICONWARNING), IDYES);
  // A box closed without a button gives the cancelling answer its buttons have.
  answer = mrNone;
  EXPECT_EQ(MessageBox("?", "T", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBox("?", "T", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBox("?", "T", MB_OK | MB_ICONERROR), IDOK);
  ASSERT_EQ(asked.size(), 6u);
  EXPECT_EQ(asked[0].Caption, "Notification.");
  EXPECT_EQ(asked[0].Buttons, mbOK);
  EXPECT_EQ(asked[1].Caption, "Debug Mode.");
  EXPECT_EQ(asked[1].Type, mtConfirmation);
  EXPECT_EQ(asked[1].Buttons, mbYes | mbNo);
  EXPECT_EQ(asked[2].Type, mtWarning);
  EXPECT_EQ(asked[2].Buttons, mbYes | mbNo | mbCancel);
  EXPECT_EQ(asked[5].Type, mtError);
}

TEST(MessageBoxes, BeepsAreCountedWhileHooked) {
  TScopedMessageHook hook([](const TMessageRequest&) { return mrOk; });
  EXPECT_EQ(BeepCount(), 0);
  Beep();
  Beep();
  EXPECT_EQ(BeepCount(), 2);
}

TEST(ApplicationState, TerminateBeforeTheLoopIsRemembered) {
  // Qt itself would forget a quit asked for before its loop runs; the flag keeps it for main().
  Application().ResetForTesting();
  EXPECT_FALSE(Application().Terminated());
  Application().Terminate();
  EXPECT_TRUE(Application().Terminated());
  Application().ResetForTesting();
  EXPECT_FALSE(Application().Terminated());
}

TEST(ApplicationState, ScreenSizeCanBeSetForTests) {
  const TPoint real = ScreenSize();
  EXPECT_GT(real.X, 0);
  SetScreenSizeForTesting(TPoint(640, 480));
  EXPECT_EQ(ScreenSize(), TPoint(640, 480));
  SetScreenSizeForTesting(std::nullopt);
  EXPECT_EQ(ScreenSize(), real);
}
