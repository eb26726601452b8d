// The main window offscreen: its menus, the "fast" switch, the screen check, the first
// activation, closing, full screen, games chosen from the three lists, the backdrop and its
// pieces.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include "cardtable/CardTableWidget.h"
#include "patience/files/DataFolder.h"
#include "patience/files/DataLock.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/StartScreen.h"
#include "patience/ui/WindowBackdrop.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/patience/files/DataLockHolder.h"
#include "tests/patience/ui/WindowTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// A window on the test card set, a virtual clock and a screen of 1280 x 1024; the questions it
// asks are recorded and answered with Answer.
class MainFormTest : public TWindowTest<TForm1> {};

}  // namespace

TEST_F(MainFormTest, TheWindowItsMenusAndItsTable) {
  TForm1& f = Make();
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Patience."));
  std::vector<std::string> tops;
  for (int i = 0; i < f.MainMenu1.Count(); ++i) tops.push_back(f.MainMenu1.Items(i)->Caption());
  EXPECT_EQ(tops, (std::vector<std::string>{" Game ", " Game Type ", " Statistics ", " Options ", " Help ",
                                            " Debug "}));
  EXPECT_FALSE(f.Debug1->Visible());
  EXPECT_EQ(f.ChooseGame1->Caption(), " Game Type ");
  EXPECT_EQ(f.Alphabeticallist1->Parent(), f.ChooseGame1);
  // Every item is owner-drawn.
  int drawn = 0, all = 0;
  f.MainMenu1.ForEach([&](TMenuItem& item) {
    ++all;
    drawn += item.OnDrawItem ? 1 : 0;
  });
  EXPECT_EQ(drawn, all);
  // The table as the window sets it up.
  const TCardTable& t = *f.CardTable1;
  EXPECT_EQ(t.Align(), alClient);
  EXPECT_TRUE(t.DragAndDrop);
  EXPECT_EQ(t.PlaceDeckOffset(), 7);
  EXPECT_TRUE(t.SlowMoveRegion);
  EXPECT_TRUE(t.SMR_WaitMode);
  EXPECT_FALSE(t.FastMovementMode);
  EXPECT_TRUE(t.LiftOffset);
  EXPECT_TRUE(t.TurnOverAnimationLift);
  EXPECT_EQ(t.Top(), f.ToolBar1->height() + f.ToolBar->height());
  EXPECT_TRUE(f.GameClosed());
  EXPECT_FALSE(f.Busy());
  EXPECT_EQ(f.ParkedTurnOverSpeed, 8);
  EXPECT_EQ(f.SavedBounds.Height, 600);
  EXPECT_EQ(f.SavedBounds.Width, 700);
  EXPECT_EQ(f.SavedBounds.Left, 100);
  EXPECT_EQ(f.SavedBounds.Top, 100);
  EXPECT_FALSE(f.FastMode);
  EXPECT_TRUE(Asked.empty());
  EXPECT_FALSE(Application().Terminated());
}

TEST_F(MainFormTest, FastAloneSetsTheFastSettings) {
  EXPECT_TRUE(IsFastSwitch({"FAST"}));
  EXPECT_TRUE(IsFastSwitch({"fast"}));
  EXPECT_TRUE(IsFastSwitch({"FaSt"}));
  EXPECT_FALSE(IsFastSwitch({"fast", "x"}));
  EXPECT_FALSE(IsFastSwitch({"x", "fast"}));
  EXPECT_FALSE(IsFastSwitch({"faster"}));
  EXPECT_FALSE(IsFastSwitch({}));

  TForm1& f = Make({"FAST"});
  EXPECT_TRUE(f.FastMode);
  const TCardTable& t = *f.CardTable1;
  EXPECT_EQ(t.ShadowMode, smOriginal);
  EXPECT_FALSE(t.HQDragShade);
  EXPECT_FALSE(t.SlowMoveRegion);
  EXPECT_TRUE(t.FastMovementMode);
  EXPECT_EQ(t.CardSpeed(), 64);
  EXPECT_EQ(t.TurnOverAnimationSpeed(), 32);
  EXPECT_FALSE(t.TurnOverAnimationLift);

  TForm1& g = Make({"fast", "x"});
  EXPECT_FALSE(g.FastMode);
  EXPECT_TRUE(g.CardTable1->SlowMoveRegion);
  EXPECT_EQ(g.CardTable1->CardSpeed(), 32);
  EXPECT_TRUE(g.CardTable1->TurnOverAnimationLift);
}

TEST_F(MainFormTest, ASmallScreenEndsTheProgramAfterTheMessage) {
  SetScreenSizeForTesting(TPoint(799, 600));
  TForm1& f = Make();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text, "Screen resolution must be at least 800 x 600 to play this game.");
  EXPECT_EQ(Asked[0].Caption, "Error");
  EXPECT_EQ(Asked[0].Type, mtError);
  EXPECT_EQ(Asked[0].Buttons, mbOK);
  EXPECT_EQ(BeepCount(), 1);
  EXPECT_TRUE(Application().Terminated());
  // Creation still ran to its end.
  EXPECT_NE(f.Engine, nullptr);

  Application().ResetForTesting();
  SetScreenSizeForTesting(TPoint(800, 600));
  Make();
  EXPECT_EQ(Asked.size(), 1u);
  EXPECT_FALSE(Application().Terminated());
  // The silent check asks nothing.
  SetScreenSizeForTesting(TPoint(1023, 768));
  EXPECT_FALSE(Form->ScreenOk(1024, 768, false));
  EXPECT_EQ(Asked.size(), 1u);
}

// While a start or a move of the data folder is under way in another process, the window waits
// for it and then starts on the data; when it cannot wait any longer it says so and the program
// ends.
TEST_F(MainFormTest, AStartWaitsForAStartOrMoveUnderWayElsewhere) {
  TDataLockHolder other;
  ASSERT_TRUE(other.Held());
  const int wait = SetDataLockWaitForTesting(0);
  Make();
  SetDataLockWaitForTesting(wait);
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text, kDataFolderBusy);
  EXPECT_EQ(Asked[0].Caption, "Notification.");
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(DataLocation, 0);

  Application().ResetForTesting();
  SetDataLockWaitHookForTesting([&] { other.Release(); });  // the other is done while this waits
  Make();
  SetDataLockWaitHookForTesting({});
  EXPECT_EQ(Asked.size(), 1u);
  EXPECT_FALSE(Application().Terminated());
  EXPECT_NE(DataLocation, 0);
}

TEST_F(MainFormTest, TheFirstActivationRunsOnceAfterTheFirstShow) {
  TForm1& f = Make();
  EXPECT_FALSE(f.StartupDone);
  f.show();
  EXPECT_FALSE(f.StartupDone);  // queued, not run inside the show
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.StartupDone);
  // No game yet: the start screen in place of the table, auto-move on.
  EXPECT_FALSE(f.CardTable1->Visible());
  EXPECT_TRUE(f.StartScreen->Showing());
  EXPECT_EQ(f.CardTable1->TableCount, 0);
  EXPECT_TRUE(f.AutoMoveOn());
  EXPECT_EQ(f.CardTable1->MinWidth(), 700);
  EXPECT_EQ(f.CardTable1->MinHeight(), 500);

  // A game shows the table; a later activation (after a dialog, say) leaves everything alone.
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  ASSERT_TRUE(f.CardTable1->Visible());
  f.CardTable1->SetMinWidth(600);
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&f, &activate);
  f.FormActivate();
  EXPECT_TRUE(f.CardTable1->Visible());
  EXPECT_EQ(f.CardTable1->MinWidth(), 600);
}

TEST_F(MainFormTest, GamesFromEachListAreDealt) {
  TForm1& f = Shown();
  struct TCase {
    TMenuItem* Root;
    const char* Caption;
  };
  const TCase cases[] = {{f.Alphabeticallist1, "Klondike 1 [Turn over 1]"},
                         {f.N800x600Games1, "Yukon"},
                         {f.ChooseGame1->Find("Freecell Type"), "Freecell 10x6"}};
  for (const TCase& c : cases) {
    TMenuItem* item = GetMenuItem(c.Root, c.Caption, true);
    ASSERT_NE(item, nullptr) << c.Caption;
    item->Click();
    EXPECT_EQ(f.Engine->Rules.GameName, c.Caption);
    EXPECT_EQ(f.windowTitle().toStdString(), std::string("Patience. Game: ") + c.Caption + "  [Open Game]");
    EXPECT_TRUE(f.CardTable1->Visible());
    EXPECT_GT(f.CardTable1->TableCount, 0) << c.Caption;
    EXPECT_FALSE(f.Busy());
    EXPECT_TRUE(f.ToolBar1->isEnabled());  // disabled during the deal only
    EXPECT_FALSE(f.FoundationLabel->text().isEmpty());
  }
  // Clicking the game in play deals nothing.
  const std::string seed = f.Engine->HistoryList[1];
  GetMenuItem(f.Alphabeticallist1, "Freecell 10x6", true)->Click();
  EXPECT_EQ(f.Engine->HistoryList[1], seed);
}

TEST_F(MainFormTest, ClosingAsksAndIsRefusedSilentlyWhileBusy) {
  TForm1& f = Shown();
  f.Engine->Busy = true;
  EXPECT_FALSE(f.close());
  EXPECT_TRUE(Asked.empty());
  EXPECT_TRUE(f.isVisible());
  f.Engine->Busy = false;
  f.CardTable1->DisableCardClicks = true;  // an animation runs
  EXPECT_FALSE(f.close());
  EXPECT_TRUE(Asked.empty());
  f.CardTable1->DisableCardClicks = false;

  Answer = mrNo;
  EXPECT_FALSE(f.close());
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text, "Quit Patience?");
  EXPECT_EQ(Asked[0].Caption, "Confirm");
  EXPECT_EQ(Asked[0].Type, mtConfirmation);
  EXPECT_EQ(Asked[0].Buttons, mbYes | mbNo);
  EXPECT_TRUE(f.isVisible());

  // Quit Program waits while the game toolbar's Tag is set.
  f.ToolBarTag = 1;
  f.QuitProgram1->Click();
  EXPECT_EQ(Asked.size(), 1u);
  f.ToolBarTag = 0;
  Answer = mrYes;
  f.QuitProgram1->Click();
  EXPECT_EQ(Asked.size(), 2u);
  EXPECT_FALSE(f.isVisible());
}

TEST_F(MainFormTest, F11TwiceRestoresTheWindow) {
  TForm1& f = Shown();
  GetMenuItem(f.Alphabeticallist1, "Klondike 2 [Turn over 3]", true)->Click();
  const int tableTop = f.CardTable1->Top();
  ASSERT_FALSE(f.FullScreen());

  QTest::keyClick(&f, Qt::Key_F11);
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.FullScreen());
  EXPECT_EQ(f.CardTable1->Top(), f.ToolBar1->height());
  EXPECT_FALSE(f.ToolBar->isVisible());
  EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(f.windowState() & Qt::WindowFullScreen);
  EXPECT_EQ(f.SavedTableTop, tableTop);
  EXPECT_TRUE(f.isVisible());

  QTest::keyClick(&f, Qt::Key_F11);
  QCoreApplication::processEvents();
  EXPECT_FALSE(f.FullScreen());
  EXPECT_EQ(f.CardTable1->Top(), tableTop);
  EXPECT_TRUE(f.ToolBar->isVisible());
  EXPECT_FALSE(f.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_FALSE(f.windowState() & Qt::WindowFullScreen);
  EXPECT_TRUE(f.isVisible());
  EXPECT_FALSE(f.WindowStateChanging);
  // The table fills the client area below the bars again.
  EXPECT_EQ(f.CardTable1->Height(), f.height() - tableTop);

  // The menu command does the same.
  f.FullScreenF111->Click();
  EXPECT_TRUE(f.FullScreen());
  f.FullScreenF111->Click();
  EXPECT_FALSE(f.FullScreen());
}

// Before it first shows, the window is maximized and, with no window manager to do it, has the size
// it will have (the work area), so it is laid out once; the table holds no buffer until a game shows
// it.
TEST_F(MainFormTest, TheWindowStartsAtItsFinalSizeAndTheTableWaitsForAGame) {
  TForm1& f = Make();
  ASSERT_FALSE(f.isVisible());
  EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(f.size(), f.screen()->availableGeometry().size());
  EXPECT_FALSE(f.CardTable1->Visible());
  EXPECT_TRUE(f.CardTable1->Buffer.Empty());
  f.show();
  QCoreApplication::processEvents();
  ASSERT_TRUE(f.StartScreen->Showing());
  EXPECT_TRUE(f.CardTable1->Buffer.Empty()) << "the start screen shows instead";
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  EXPECT_EQ(f.CardTable1->Buffer.Width(), f.CardTable1->Width());
}

TEST_F(MainFormTest, FullScreenRemembersTheBoundsOfANormalWindow) {
  TForm1& f = Shown();
  f.setWindowState(Qt::WindowNoState);
  f.setGeometry(50, 60, 900, 700);
  QCoreApplication::processEvents();
  f.FullScreenF111Click();
  EXPECT_EQ(f.SavedBounds.Width, 900);
  EXPECT_EQ(f.SavedBounds.Height, 700);
  EXPECT_EQ(f.SavedBounds.Left, 50);
  EXPECT_EQ(f.SavedBounds.Top, 60);
  f.FullScreenF111Click();
  EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(f.normalGeometry(), QRect(50, 60, 900, 700));
  // Minimized: nothing.
  f.setWindowState(Qt::WindowMinimized);
  f.FullScreenF111Click();
  EXPECT_FALSE(f.FullScreen());
}

TEST_F(MainFormTest, TheDebugMenuComesAndGoesFromTheHelpMenu) {
  TForm1& f = Shown();
  QAction* debug = f.ToolBar1->ActionOf(f.Debug1);
  ASSERT_NE(debug, nullptr);
  EXPECT_FALSE(debug->isVisible());
  f.EnableDebugMenu1->Click();
  QCoreApplication::processEvents();
  EXPECT_TRUE(f.Debug1->Visible());
  EXPECT_TRUE(f.ToolBar1->ActionOf(f.Debug1)->isVisible());
  f.EnableDebugMenu1->Click();
  QCoreApplication::processEvents();
  EXPECT_FALSE(f.ToolBar1->ActionOf(f.Debug1)->isVisible());
}

TEST_F(MainFormTest, TheBackdropPictureIsOptional) {
  TTempDir dir;
  SetProgramDirForTesting(dir.Path());
  Make();
  EXPECT_TRUE(Form->BackdropFile.empty());
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(QColor(10, 200, 30));
  ASSERT_TRUE(picture.save(QString::fromStdString(dir / "BACKDROP.JPG"), "JPG", 95));
  Make();
  EXPECT_EQ(Form->BackdropFile, dir / "BACKDROP.JPG");
  // Only the file is held until the window paints; then its copy stretched to the window, where
  // it shows.
  EXPECT_EQ(Form->Backdrop.HeldPixels(), 0);
  Form->show();
  QCoreApplication::processEvents();
  // Painted over the client area, stretched to it, where the table leaves it bare.
  Form->CardTable1->SetVisible(false);
  QCoreApplication::processEvents();
  const QImage shot = Form->grab().toImage();
  const QColor c = shot.pixelColor(Form->width() / 2, Form->height() - 5);
  EXPECT_NEAR(c.green(), 200, 8);
  EXPECT_NEAR(c.red(), 10, 8);
  // The start screen's panels cover most of the window: only the rest is held.
  EXPECT_GT(Form->Backdrop.HeldPixels(), 0);
  EXPECT_LT(Form->Backdrop.HeldPixels(), (long long)Form->width() * Form->height() / 2);
  SetProgramDirForTesting("");
}

// The backdrop held piece by piece shows exactly what the whole picture stretched to the window
// shows, wherever it is asked for, at whatever size; it holds only what was asked for.
TEST(WindowBackdropTest, PiecesShowTheWholeStretchedPicture) {
  TTempDir dir;
  QImage picture(37, 23, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      picture.setPixelColor(x, y, QColor(x * 7, y * 11, (x * y) % 256));
  const std::string file = dir / "backdrop.bmp";
  ASSERT_TRUE(picture.save(QString::fromStdString(file), "BMP"));
  TBitmap decoded;
  decoded.LoadFromFile(file);
  TWindowBackdrop backdrop;
  backdrop.SetFile(file);
  backdrop.ReadAhead();
  for (const QSize size : {QSize(211, 157), QSize(96, 61)}) {
    SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
    TBitmap whole(size.width(), size.height());
    StretchDraw(whole, TRect(0, 0, size.width(), size.height()), decoded);
    // Two places painted, one of them asked again with more around it.
    const QRegion first = QRegion(5, 7, 40, 30) + QRegion(100 % size.width(), 20, 50, 25);
    TBitmap painted(size.width(), size.height());
    painted.Clear(clBlack);
    {
      QImage target = painted.Image();
      QPainter p(&target);
      backdrop.Paint(p, first, size);
    }
    for (const QRect& r : first& QRect(QPoint(0, 0), size))
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
          ASSERT_EQ(painted.ScanLine(y)[x] & 0xFFFFFF, whole.ScanLine(y)[x] & 0xFFFFFF) << x << ", " << y;
    EXPECT_EQ(backdrop.Held(), first & QRect(QPoint(0, 0), size));
    backdrop.FirstPaintDone();
    TBitmap copy(30, 40);
    backdrop.CopyTo(copy, TRect(20, 15, 50, 55), size);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 30; ++x)
        ASSERT_EQ(copy.ScanLine(y)[x] & 0xFFFFFF, whole.ScanLine(y + 15)[x + 20] & 0xFFFFFF);
    EXPECT_EQ(backdrop.Held(), (first + QRegion(20, 15, 30, 40)) & QRect(QPoint(0, 0), size));
  }
}
