// The start screen: the grid of every game of the chosen group with the figures of the
// statistics files, the filters, keys and the mouse wheel that select and preview, a game
// started from it and the way back, no key reaching it while it is hidden, Reset, a start with
// every picture missing, and the information overlay over a game, which holds every other command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QTest>
#include <QTimer>
#include <map>
#include <set>

#include "cardtable/CardTable.h"
#include "cardtable/CardTableWidget.h"
#include "cardtable/SystemDirs.h"
#include "patience/catalogue/GameStart.h"
#include "patience/files/DataFolder.h"
#include "patience/ui/Flourish.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/Marquee.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ModalDialogs.h"
#include "patience/ui/StarfieldView.h"
#include "patience/ui/StartScreen.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/patience/ui/WindowTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// A window on the test cards whose data folder is the test's own documents folder, with the
// program folder's generated pictures (or none); questions are answered with Answer.
class StartScreenTest : public TWindowTest<TForm1> {
 protected:
  StartScreenTest() : TWindowTest(mrYes) {}
  void SetUp() override {
    TWindowTest::SetUp();
    // The data folder is the local application data folder's, where "Player.dat" lies.
    FOldDocuments = MyDocumentsDir;
    FOldLocal = LocalAppDataDir;
    MyDocumentsDir = Home / "Documents";
    LocalAppDataDir = Home / "local";
    ForceDirectories(Data());
    WriteTextFile(Home / "local/Patience/Player.dat", "Player\r\n2051\r\n");
  }
  void TearDown() override {
    Form.reset();
    MyDocumentsDir = FOldDocuments;
    LocalAppDataDir = FOldLocal;
    DataLocation = 0;
    SetProgramDirForTesting("");
    TWindowTest::TearDown();
  }
  std::string Data() const { return Home / "local/Patience/Data"; }
  void Figures(const std::string& game, const std::string& text) {
    WriteTextFile(PathJoin(Data(), game + ".dat"), text);
  }
  TForm1& Shown(const std::string& programDir = BuiltProgramDir()) {
    SetProgramDirForTesting(programDir);
    return TWindowTest::Shown();
  }
  TStartScreen& S() { return *Form->StartScreen; }
  std::vector<std::string> Rows() {
    std::vector<std::string> out;
    for (int r = 1; r < S().RowCount(); ++r)
      out.push_back(S().Cells(0, r) + "|" + S().Cells(1, r) + "|" + S().Cells(2, r));
    return out;
  }
  void Choose(QComboBox* box, const std::string& text, void (TStartScreen::*change)()) {
    box->setCurrentIndex(box->findText(QString::fromStdString(text)));
    (S().*change)();
  }
  void Key(int key) {
    QTest::keyClick(S().StringGrid1, Qt::Key(key));
    QCoreApplication::processEvents();
  }

  TTempDir Home;
  std::string FOldDocuments, FOldLocal;
};

}  // namespace

TEST_F(StartScreenTest, EveryGameWithItsFiguresAndTheFilters) {
  Figures("Klondike 1 [Turn over 1]", "5\r\n2\r\n");
  Figures("Freecell", "3\r\n0\r\n");
  Figures("Spider", "7\r\n7\r\n");
  Figures("Yukon", "4\r\n");          // a short file: won 0
  Figures("Canfield", "x\r\ny\r\n");  // not numbers: 0 and 0
  Figures("Scorpion", "1\r\n1\r\n");  // won once
  TForm1& f = Shown();
  ASSERT_TRUE(S().Showing());
  EXPECT_FALSE(f.CardTable1->Visible());
  EXPECT_EQ(S().Cells(0, 0) + S().Cells(1, 0) + S().Cells(2, 0), "GAME NAMEPLAYEDWON");
  // "Alphabetical Games" holds every game once.
  const std::vector<std::string> all = Rows();
  EXPECT_EQ(all.size(), AllCaptions().size());
  std::set<std::string> captions;
  for (int r = 1; r < S().RowCount(); ++r) captions.insert(S().Cells(0, r));
  EXPECT_EQ(captions, std::set<std::string>(AllCaptions().begin(), AllCaptions().end()));
  EXPECT_NE(std::find(all.begin(), all.end(), "Klondike 1 [Turn over 1]|5|2"), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), "Yukon|4|0"), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), "Canfield|0|0"), all.end());

  struct TCase {
    const char* Filter;
    size_t Count;
    std::vector<std::string> Some;
  };
  const size_t n = AllCaptions().size();
  const TCase cases[] = {
      {kFilterWon, 3, {"Klondike 1 [Turn over 1]|5|2", "Spider|7|7", "Scorpion|1|1"}},
      {kFilterNotWon, n - 3, {"Freecell|3|0", "Yukon|4|0"}},
      {kFilterNotPlayed, n - 5, {"Canfield|0|0"}},
      {kFilterAll, n, {"Freecell|3|0"}},
  };
  for (const TCase& c : cases) {
    Choose(S().ComboBox2, c.Filter, &TStartScreen::ComboBox2Change);
    const std::vector<std::string> rows = Rows();
    EXPECT_EQ(rows.size(), c.Count) << c.Filter;
    for (const std::string& want : c.Some)
      EXPECT_NE(std::find(rows.begin(), rows.end(), want), rows.end()) << want;
    // The first row is previewed at once; nothing is dealt and no game is current.
    EXPECT_EQ(S().Row(), 1);
    EXPECT_EQ(f.Engine->Rules.GamePicture, CatalogueGame(S().Cells(0, 1))->Definition().Picture) << c.Filter;
    EXPECT_TRUE(f.Engine->Rules.GameName.empty());
    EXPECT_FALSE(f.CardTable1->Visible());
  }
}

TEST_F(StartScreenTest, GroupsListTheirGamesAndAnEmptyGroupOnlyItsHeader) {
  TForm1& f = Shown();
  Choose(S().ComboBox1, "Favourites", &TStartScreen::ComboBox1Change);
  EXPECT_EQ(S().RowCount(), f.Favourites1->Count() + 1);
  Choose(S().ComboBox1, "Freecell Type", &TStartScreen::ComboBox1Change);
  ASSERT_GT(S().RowCount(), 2);
  TMenuItem* group = f.ChooseGame1->Find("Freecell Type");
  S().GameCaptions.Clear();
  S().GetMenuItems(*group);
  EXPECT_EQ(S().GameCaptions.Count(), S().RowCount() - 1);
  EXPECT_EQ(S().Cells(0, 1), S().GameCaptions[0]);
}

TEST(StartScreenText, GreetsOnItsDaysThenTheVersion) {
  struct TCase {
    int Month, Day;
    const char* Greeting;  // the line after the frame, or none
  };
  for (const TCase c : {TCase{1, 1, "Happy New Year!"}, TCase{12, 24, "Merry Xmas"},
                        TCase{12, 26, "Merry Xmas"}, TCase{12, 27, nullptr}, TCase{1, 2, nullptr}}) {
    SCOPED_TRACE(std::to_string(c.Month) + "/" + std::to_string(c.Day));
    const std::vector<std::string> lines = StartScreenLines(2027, c.Month, c.Day);
    const size_t version = c.Greeting ? 5 : 0;
    ASSERT_GT(lines.size(), version + 3);
    if (c.Greeting) {
      EXPECT_EQ(lines[1], c.Greeting);
    }
    if (c.Month == 1 && c.Day == 1) {
      EXPECT_EQ(lines[2], "2027");
    }
    EXPECT_EQ(lines[version], "Patience.");
    EXPECT_EQ(lines[version + 2], "Prog ID: 2051");
  }
}

// From the smallest window up (700 x 600, the size a restored window takes), every line of the
// text and every game's name shows whole, and the panels share the window without overlapping.
TEST_F(StartScreenTest, EveryTextShowsWholeAtEveryWindowSize) {
  TForm1& f = Shown();
  TFont font;
  font.Size = 12;
  const QFontMetrics text(font.ToQFont());
  int widestLine = 0;
  for (const std::string& line : StartScreenLines(2027, 12, 25))
    widestLine = std::max(widestLine, text.horizontalAdvance(QString::fromStdString(line)));
  const QFontMetrics names(S().StringGrid1->font());
  for (const QSize size : {QSize(700, 600), QSize(800, 600), QSize(1024, 768), QSize(1100, 800),
                           QSize(1280, 1024), QSize(1920, 1080)}) {
    SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
    f.resize(size);
    QCoreApplication::processEvents();
    EXPECT_GE(S().Marquee1->width(), widestLine);
    int widestName = 0;
    for (int r = 1; r < S().RowCount(); ++r)
      widestName = std::max(widestName, names.horizontalAdvance(QString::fromStdString(S().Cells(0, r))));
    EXPECT_GE(S().StringGrid1->columnWidth(0), widestName + 8);
    const QRect client(0, 0, size.width(), size.height());
    const QWidget* panels[] = {S().Panel1, S().Panel2, S().Panel3, S().Panel4};
    for (const QWidget* a : panels) {
      EXPECT_TRUE(client.contains(a->geometry())) << a->objectName().toStdString();
      for (const QWidget* b : panels) {
        if (a == b) continue;
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " and " << b->objectName().toStdString();
      }
    }
  }
}

// The timers that fire, by the object they fire for, while a probe timer of 100 ms (as long as the
// slowest of the start screen's, the picture strip's) fires three times.
std::map<std::string, int> TimersFiring() {
  struct TCount : QObject {
    std::map<QObject*, int> Fired;
    QObject* Probe = nullptr;
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::Timer && watched != Probe) ++Fired[watched];
      return false;
    }
  } count;
  QTimer probe;
  count.Probe = &probe;
  int ticks = 0;
  QObject::connect(&probe, &QTimer::timeout, [&ticks] { ++ticks; });
  qApp->installEventFilter(&count);
  probe.start(100);
  while (ticks < 3) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  qApp->removeEventFilter(&count);
  std::map<std::string, int> out;
  for (const auto& [object, n] : count.Fired) {
    // A timer that fires once is a delayed call; one that fires again runs.
    if (n < 2) continue;
    const QObject* named = object;
    while (named && named->objectName().isEmpty()) named = named->parent();
    out[std::string(object->metaObject()->className()) + " of " +
        (named ? named->objectName().toStdString() : std::string("no named parent"))] += n;
  }
  return out;
}

// Minimized, the start screen runs no timer at all; shown again, the starfield and the text go on.
TEST_F(StartScreenTest, MinimizedNothingRunsAndShownAgainItGoesOn) {
  TForm1& f = Shown();
  ASSERT_TRUE(S().Showing());
  EXPECT_FALSE(TimersFiring().empty()) << "the start screen at rest animates";
  f.showMinimized();
  QCoreApplication::processEvents();
  const std::map<std::string, int> running = TimersFiring();
  std::string names;
  for (const auto& [name, n] : running) names += name + " (" + std::to_string(n) + " times) ";
  EXPECT_TRUE(running.empty()) << "minimized, timers still run: " << names;

  const std::vector<uint8_t> stars = S().Image1->Field().Pixels;
  const int position = S().Marquee1->Position();
  f.showMaximized();
  EXPECT_TRUE(QTest::qWaitFor([&] { return S().Image1->Field().Pixels != stars; }, 10000))
      << "the stars stand still";
  EXPECT_TRUE(QTest::qWaitFor([&] { return S().Marquee1->Position() != position; }, 10000))
      << "the text stands still";
}

TEST_F(StartScreenTest, KeysAndTheWheelSelectAndEnterPlaysThenF12ComesBack) {
  TForm1& f = Shown();
  // The text panel scrolls while the start screen shows.
  ASSERT_NE(S().Marquee1, nullptr);
  EXPECT_TRUE(S().Marquee1->Running());
  // A letter picks the first game beginning with it.
  Key(Qt::Key_S);
  const int s = S().Row();
  EXPECT_EQ(S().Cells(0, s)[0], 'S');
  EXPECT_NE(S().Cells(0, s - 1)[0], 'S');
  // Down and the wheel move one row and preview it.
  Key(Qt::Key_Down);
  EXPECT_EQ(S().Row(), s + 1);
  EXPECT_EQ(f.Engine->Rules.GamePicture, CatalogueGame(S().Cells(0, s + 1))->Definition().Picture);
  S().StringGrid1MouseWheel(false);
  EXPECT_EQ(S().Row(), s);
  Key(Qt::Key_Up);
  EXPECT_EQ(S().Row(), s - 1);
  // At the top the wheel stays.
  S().SetRow(1);
  S().StringGrid1MouseWheel(false);
  EXPECT_EQ(S().Row(), 1);

  // With the table's screen updates off a double click does nothing.
  S().SetRow(s);
  f.CardTable1->SetScreenUpdates(false);
  S().StringGrid1DblClick();
  EXPECT_FALSE(f.CardTable1->Visible());
  f.CardTable1->SetScreenUpdates(true);

  // Enter plays the selected game.
  const std::string game = S().Cells(0, s);
  S().StringGrid1->setFocus();
  Key(Qt::Key_Return);
  EXPECT_EQ(f.Engine->Rules.GameName, game);
  EXPECT_TRUE(f.CardTable1->Visible());
  EXPECT_FALSE(S().Showing());
  EXPECT_FALSE(S().Panel3->isVisible());
  EXPECT_FALSE(S().Marquee1->Running());
  EXPECT_TRUE(f.BackToStart1->Enabled());
  EXPECT_TRUE(f.Info1->Enabled());

  // F12 asks, then the start screen again.
  Answer = mrNo;
  QTest::keyClick(&f, Qt::Key_F12);
  ASSERT_FALSE(Asked.empty());
  EXPECT_EQ(Asked.back().Text, "Return to the Start Screen?");
  EXPECT_TRUE(f.CardTable1->Visible());
  Answer = mrYes;
  QTest::keyClick(&f, Qt::Key_F12);
  EXPECT_TRUE(S().Showing());
  EXPECT_TRUE(S().Marquee1->Running());
  EXPECT_FALSE(f.CardTable1->Visible());
  EXPECT_TRUE(f.Engine->Rules.GameName.empty());
  EXPECT_TRUE(f.GameClosed());
  EXPECT_EQ(f.windowTitle().toStdString(), "Patience.");
  EXPECT_FALSE(f.BackToStart1->Enabled());
  EXPECT_FALSE(f.NewGame1->Enabled());
  // The same game starts again from the grid.
  S().SetRow(s);
  S().StringGrid1MouseDown(Qt::MiddleButton, false);
  EXPECT_EQ(f.Engine->Rules.GameName, game);
  EXPECT_TRUE(f.CardTable1->Visible());
}

TEST_F(StartScreenTest, ResetDeletesTheStatisticsFilesAndShowsZeros) {
  Figures("Spider", "7\r\n7\r\n");
  WriteTextFile(PathJoin(Data(), "Spider_HS.dat"), "a\r\n");
  WriteTextFile(PathJoin(Data(), "keep.txt"), "a\r\n");
  Shown();
  Answer = mrNo;
  Form->Reset1Click();
  EXPECT_TRUE(FileExists(PathJoin(Data(), "Spider.dat")));
  Answer = mrYes;
  Form->Reset1Click();
  EXPECT_EQ(Asked.back().Text, "Reset Statistics & High Scores for ALL games?");
  EXPECT_FALSE(FileExists(PathJoin(Data(), "Spider.dat")));
  EXPECT_FALSE(FileExists(PathJoin(Data(), "Spider_HS.dat")));
  EXPECT_TRUE(FileExists(PathJoin(Data(), "keep.txt")));
  ASSERT_TRUE(S().Showing());
  for (const std::string& row : Rows()) EXPECT_EQ(row.substr(row.size() - 4), "|0|0") << row;
}

TEST_F(StartScreenTest, EveryPictureMissingStillGivesAUsableWindow) {
  TTempDir empty;
  TForm1& f = Shown(empty.Path());
  ASSERT_TRUE(S().Showing());
  EXPECT_FALSE(S().StartPicture.Running);
  EXPECT_TRUE(f.BackdropFile.empty());
  // A plain preview.
  EXPECT_FALSE(S().Image2->Picture.Empty());
  EXPECT_EQ(S().Image2->Picture.Pixel(3, 3), TColor(0x402010));
  // Play, and the overlay drawn plain (on a table that holds the game at Normal size).
  f.resize(1280, 1024);
  S().SetRow(S().FindRowByInitial('K'));
  S().StringGrid1DblClick();
  ASSERT_TRUE(f.CardTable1->Visible());
  f.InfoClick();
  TTableArea& area = *f.CardTable1->TableArea(1);
  EXPECT_TRUE(area.Visible);
  EXPECT_EQ(area.Width, 320);
  EXPECT_EQ(f.ToolBarTag, 1);
  f.InfoClick();
  EXPECT_FALSE(area.Visible);
  EXPECT_EQ(f.ToolBarTag, 0);
  EXPECT_TRUE(f.ToolBar1->isEnabled());
  EXPECT_TRUE(Asked.empty());
}

TEST_F(StartScreenTest, TheOverlayShowsThePilesAndClosesOnAClick) {
  if (!FileExists(PathJoin(BuiltProgramDir(), "info.bmp"))) GTEST_SKIP() << "the pictures are not built";
  TForm1& f = Shown();
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  ASSERT_TRUE(f.CardTable1->Visible());
  // Not while a sparkle runs; then the key I opens it over the table, centred, 100 below the
  // table's top.
  TTableArea& area = *f.CardTable1->TableArea(1);
  f.Sparkle(TRect(10, 10, 100, 140));
  QTest::keyClick(&f, Qt::Key_I);
  EXPECT_FALSE(area.Visible);
  f.flourish->Stop();
  QTest::keyClick(&f, Qt::Key_I);
  ASSERT_TRUE(area.Visible);
  EXPECT_EQ(area.X, f.width() / 2 - area.Width / 2);
  EXPECT_EQ(area.Y, 100);
  EXPECT_EQ(area.Kind, 9);
  EXPECT_TRUE(f.CardTable1->DisableCardClicks);
  EXPECT_FALSE(f.ToolBar1->isEnabled());
  // Text was written into the light field: some dark pixels from y 260 down.
  int dark = 0;
  for (int y = 262; y < 300; ++y)
    for (int x = 22; x < 200; ++x) dark += (area.Image.Picture.Pixel(x, y) & 0xFF) < 80;
  EXPECT_GT(dark, 20);
  // No other command meanwhile; a click on it closes it.
  const std::string seed = f.Engine->HistoryList[1];
  f.NewExecute();
  EXPECT_EQ(f.Engine->HistoryList[1], seed);
  f.CardTable1->MouseDown(mbLeft, {}, area.X + 10, area.Y + 10);
  EXPECT_FALSE(area.Visible);
  EXPECT_FALSE(f.CardTable1->DisableCardClicks);
  EXPECT_TRUE(f.ToolBar1->isEnabled());
}

// A game started from the start screen while another window is in front (a saved game opened
// from it, a dialog over it): when the window comes back, the keyboard is not the hidden grid's,
// and no key of the start screen reaches the grid or its lists while a game is in play.
TEST_F(StartScreenTest, NoKeyOfTheStartScreenReachesItWhileItIsHidden) {
  TForm1& f = Shown();
  const int row = S().FindRowByInitial('K');
  S().SetRow(row);
  S().StringGrid1->setFocus();
  QWidget other;
  other.show();
  other.activateWindow();
  QCoreApplication::processEvents();
  S().Image2DblClick();
  ASSERT_TRUE(f.CardTable1->Visible());
  other.hide();
  f.activateWindow();
  QCoreApplication::processEvents();
  EXPECT_NE(f.focusWidget(), S().StringGrid1);
  EXPECT_NE(QApplication::focusWidget(), S().StringGrid1);
  // Another game in play; the hidden grid still has the first one selected.
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  const std::string seed = f.Engine->HistoryList[1];
  for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Down, Qt::Key_Up, Qt::Key_K, Qt::Key_S})
    QTest::keyClick(&f, Qt::Key(key));
  // Not even a key sent to the hidden grid itself.
  for (int key : {Qt::Key_Down, Qt::Key_Return, Qt::Key_End, Qt::Key_Y})
    QTest::keyClick(S().StringGrid1, Qt::Key(key));
  QCoreApplication::processEvents();
  EXPECT_EQ(f.Engine->Rules.GameName, "Klondike 1 [Turn over 1]");
  EXPECT_EQ(f.Engine->HistoryList[1], seed) << "no deal";
  EXPECT_EQ(S().Row(), row);
  EXPECT_EQ(S().ComboBox1->currentIndex(), 0);
  EXPECT_TRUE(f.CardTable1->Visible());
  EXPECT_FALSE(S().Showing());
}

// While the overlay is open no other command runs, whatever way it is asked for; when it closes
// the table shows whole, even after the cards beneath it were dealt anew; the end of the session
// closes it at once.
TEST_F(StartScreenTest, TheOverlayHoldsEveryOtherCommandAndLeavesTheTableWhole) {
  TTempDir empty;
  TForm1& f = Shown(empty.Path());
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  S().SetRow(S().FindRowByInitial('B'));
  TTableArea& area = *f.CardTable1->TableArea(1);
  // (Not while an ace's sparkle runs.)
  f.flourish->Stop();
  QTest::keyClick(&f, Qt::Key_I);
  ASSERT_TRUE(area.Visible);
  const TStringList history = f.Engine->HistoryList;
  const TBitmap shown = f.CardTable1->Buffer;
  int dialogs = 0;
  TScopedModalHook modal{[&](QDialog&) { return ++dialogs, int(QDialog::Rejected); }};
  // Keys (the hidden grid given the keyboard back as a window manager might), the toolbar, the
  // menu commands, the table's own right click, the scale and the layout.
  S().StringGrid1->setFocus();
  for (int key : {Qt::Key_Return, Qt::Key_F12, Qt::Key_F11, Qt::Key_F2, Qt::Key_B})
    QTest::keyClick(&f, Qt::Key(key));
  for (TToolButton* b : {f.NewGame, f.OpenButton, f.SaveGame, f.ToolButton9, f.ToolButton16, f.ToolButton18})
    b->click();
  for (TMenuItem* item : {f.NewGame1, f.Open1, f.ReStart1, f.BackToStart1, f.FullScreenF111}) item->Click();
  GetMenuItem(f.Alphabeticallist1, "Spider", true)->Click();
  f.CardTable1->MouseDown(mbRight, {}, 5, f.CardTable1->Height() - 5);
  // The scale list is closed to the player; a choice that slips past shows the step in force
  // again (Normal: a deck never scaled).
  EXPECT_FALSE(f.ComboBox3->isEnabled());
  f.ComboBox3->setCurrentIndex(4);
  f.ComboBox30Change(4);
  EXPECT_EQ(f.ComboBox3->currentText(), QStringLiteral("100%"));
  f.ComboBox30Change(0);
  f.SetScale(3);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.Engine->Rules.GameName, "Klondike 1 [Turn over 1]");
  EXPECT_EQ(f.Engine->HistoryList.Lines, history.Lines);
  EXPECT_TRUE(SamePixels(f.CardTable1->Buffer, shown));
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(Asked.empty()) << Asked.front().Text;
  EXPECT_FALSE(f.FullScreen());
  EXPECT_TRUE(area.Visible);
  EXPECT_FALSE(f.ToolBar1->isEnabled());
  EXPECT_EQ(f.CardTable1->CardDeck()->SizeStep, 0);

  // Dealt anew beneath it (as a command that slipped past would), then closed: the table as a
  // full redraw draws it, not the picture saved when it opened.
  f.Engine->NewExecute();
  f.CardTable1->MouseDown(mbLeft, {}, area.X + 10, area.Y + 10);
  ASSERT_FALSE(area.Visible);
  EXPECT_TRUE(f.ComboBox3->isEnabled());
  const TBitmap closed = f.CardTable1->Buffer;
  f.CardTable1->RefreshBackground();
  EXPECT_TRUE(SamePixels(f.CardTable1->Buffer, closed));

  // The session ends while it is open: it closes, and the program ends at once.
  f.flourish->Stop();
  QTest::keyClick(&f, Qt::Key_I);
  ASSERT_TRUE(area.Visible);
  f.EndSession();
  EXPECT_FALSE(area.Visible);
  EXPECT_TRUE(Application().Terminated());
}
