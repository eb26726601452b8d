// The window's options: "Options.dat" and "Status.Dat" applied at the first activation, Save
// Options, a second run, the two layouts and the card scale.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace {

constexpr const char* kTooLarge = "Scale for this deck, in this layout mode, is too large - Reset";

// A window whose data folder is a temporary local folder (its "Player.dat" written), on sets of
// 71 x 96 cards: "Standard" and "M_Small".
class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
    std::swap(LocalAppDataDir, SavedLocal);
    LocalAppDataDir = Root / "local";
    SetProgramDirForTesting(Root / "prog");
    std::filesystem::create_directories(Data());
    WriteTextFile(Data() + "/Player.dat", "\r\n2051\r\n");
    TTestCardsetOptions cards;
    cards.Width = 71;
    cards.Height = 96;
    for (const char* set : {"Standard", "M_Small"}) WriteTestCardset(Root / "sets", set, cards);
  }
  void TearDown() override {
    Form.reset();
    LocalAppDataDir = SavedLocal;
    SetProgramDirForTesting("");
    DataLocation = 0;
    SetScreenSizeForTesting(std::nullopt);
    Application().ResetForTesting();
  }
  std::string Data() const { return Root / "local/Patience"; }
  TForm1& Shown(const char* options = nullptr) {
    if (options) WriteTextFile(Data() + "/Options.dat", options);
    Form.reset();
    Form = std::make_unique<TForm1>(QStringList{}, TForm1Options{Root / "sets"});
    Form->show();
    QCoreApplication::processEvents();
    return *Form;
  }
  void Klondike() {
    Form->resize(1280, 1024);
    GetMenuItem(Form->Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
    QCoreApplication::processEvents();
  }
  // The step marked in the menu (0 none, 99 more than one).
  int MarkedStep() const {
    const std::pair<TMenuItem*, int> items[] = {{Form->N60Normal1, -2}, {Form->N751, -1},
                                                {Form->N1001, 1},       {Form->N125Normal1, 2},
                                                {Form->N200Normal1, 3}, {Form->N200Normal2, 5}};
    int marked = 0;
    for (const auto& [item, step] : items)
      if (item->Checked()) marked = marked ? 99 : step;
    return marked;
  }
  // The " Statistics " menu as the menu bar offers it.
  bool StatisticsOffered() const {
    QCoreApplication::processEvents();
    const QAction* a = Form->ToolBar1->ActionOf(Form->Statistics1);
    return a && a->isEnabled();
  }
  bool Extended() const {
    EXPECT_NE(Form->Extended1->Enabled(), Form->Compact1->Enabled());
    EXPECT_EQ(Form->ToolButton18->ImageIndex(), Form->Compact1->Enabled() ? tiExtended : tiCompact);
    return Form->Compact1->Enabled();
  }

  TTempDir Root;
  TVirtualClock Clock;
  TScopedClock ScopedClock{Clock};
  std::vector<std::string> Asked;
  int Answer = mrNo;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Asked.push_back(r.Caption + ": " + r.Text);
    return Answer;
  }};
  std::unique_ptr<TForm1> Form;
  std::string SavedLocal;
};

struct TStartCase {
  const char* Name;
  const char* Options;  // null: no file
  bool AutoMove, Extended;
  int Step;         // in force afterwards (a deck never scaled is at Normal)
  int Marked;       // in the menu, 0 for none
  const char* Box;  // the list's text
  bool Redeals, Refused;
  bool Scoring = true;
};

const TStartCase kStartCases[] = {
    {"NoFileGivesTheDefaults", nullptr, true, true, 1, 1, "100%", true, false},
    {"CompactWithItsLargestStep", "Off\r\nOn\r\nOn\r\nStars\r\n2\r\nCompact\r\nOff\r\n", false, false, 2, 2,
     "125%", false, false},
    {"CompactRefusesTooLargeAStep", "On\r\nOn\r\nOn\r\nStars\r\n3\r\nCompact\r\n", true, false, 1, 1, "100%",
     true, true},
    {"ExtendedTakesEveryStep", "On\r\nOn\r\nOn\r\nStars\r\n5\r\nExtended\r\n", true, true, 5, 5, "200%", true,
     false},
    {"AStepWithoutAnItemMarksNothing", "On\r\nOn\r\nOn\r\nStars\r\n4\r\n", true, true, 4, 0, "100%", true,
     false},
    {"ScoringOff", "On\r\nOn\r\nOff\r\n", true, true, 1, 1, "100%", true, false, false},
};

class StartOptions : public OptionsTest, public ::testing::WithParamInterface<TStartCase> {};

TEST_P(StartOptions, AppliedAtTheFirstActivation) {
  const TStartCase& c = GetParam();
  TForm1& f = Shown(c.Options);
  EXPECT_EQ(f.AutoMoveOn(), c.AutoMove);
  EXPECT_EQ(Extended(), c.Extended);
  const TCardDeck& d = *f.CardTable1->CardDeck();
  EXPECT_EQ(d.SizeStep == 0 ? 1 : d.SizeStep, c.Step);
  EXPECT_EQ(MarkedStep(), c.Marked);
  EXPECT_EQ(f.ComboBox3->currentText().toStdString(), c.Box);
  EXPECT_EQ(f.OptionLines[4], std::to_string(c.Step));
  EXPECT_EQ(f.On1->Checked(), c.Redeals);
  EXPECT_EQ(f.AnimatedRedeals(), c.Redeals);
  EXPECT_EQ(Asked, c.Refused ? std::vector<std::string>{std::string("Notification.: ") + kTooLarge}
                             : std::vector<std::string>{});
  // Scoring and statistics: the points, the high-score button and the statistics menu with it.
  EXPECT_EQ(f.ScoringOn(), c.Scoring);
  EXPECT_EQ(std::make_tuple(f.On3->Checked(), f.Off3->Checked(), f.OptionLines[2]),
            std::make_tuple(c.Scoring, !c.Scoring, std::string(c.Scoring ? "On" : "Off")));
  for (bool shown : {f.PointsLabel->isEnabledTo(&f), f.ToolButton1->isEnabledTo(&f), f.Statistics1->Enabled(),
                     StatisticsOffered()})
    EXPECT_EQ(shown, c.Scoring);
  // The card factors follow the card size.
  EXPECT_FLOAT_EQ(f.Engine->Layout.WidthFactor, float(d.CardWidth) / 71.0f);
  EXPECT_FLOAT_EQ(f.Engine->Layout.HeightFactor, float(d.CardHeight) / 96.0f);
}

INSTANTIATE_TEST_SUITE_P(Files, StartOptions, ::testing::ValuesIn(kStartCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Scoring switched off in a game: the points show 0, the statistics are not offered, the game
// ends uncounted, and it stays so through later deals and an opened game; on again, the points of
// the game in play show.
TEST_F(OptionsTest, ScoringOffCountsNothingAndOnShowsThePointsAgain) {
  TForm1& f = Shown();
  Klondike();
  EXPECT_TRUE(StatisticsOffered());
  f.Engine->Rules.Points = 37;
  f.Off3->Click();
  EXPECT_EQ(f.PointsLabel->text().toStdString(), "  Points = 0  ");
  EXPECT_FALSE(StatisticsOffered());
  f.NewExecute();
  EXPECT_FALSE(FileExists(Data() + "/Data/Klondike 1 [Turn over 1].dat")) << "nothing counted";
  EXPECT_FALSE(StatisticsOffered()) << "after a new deal";
  GetMenuItem(f.Alphabeticallist1, "Spider", true)->Click();
  EXPECT_FALSE(StatisticsOffered()) << "after another game";
  WriteTextFile(Data() + "/game.ppg", "Freecell\r\n7\r\nO\r\n");
  ASSERT_TRUE(f.LoadGame(Data() + "/game.ppg"));
  EXPECT_FALSE(StatisticsOffered()) << "after an opened game";
  EXPECT_FALSE(f.ToolButton1->isEnabled());
  f.Engine->Rules.Points = 12;
  f.On3->Click();
  EXPECT_EQ(f.PointsLabel->text().toStdString(), "  Points = 12  ");
  EXPECT_EQ(f.OptionLines[2], "On");
  EXPECT_TRUE(StatisticsOffered());
  f.NewExecute();
  EXPECT_TRUE(StatisticsOffered());
}

TEST_F(OptionsTest, SavedOptionsAndTableSettingsLastIntoTheNextRun) {
  {
    TForm1& f = Shown();
    f.ToolButton180Click();  // to Compact
    f.SetScale(-1);
    f.Off1Click();
    f.AutoMoveOffClick();
    f.Off3->Click();
    f.CardTable1->SetCardSpeed(12);
    f.SaveOptions1Click();  // "No": nothing written
    EXPECT_FALSE(FileExists(Data() + "/Options.dat") || FileExists(Data() + "/Status.Dat"));
    Answer = mrYes;
    f.SaveOptions1Click();
    EXPECT_EQ(Asked, std::vector<std::string>(2, "Confirm: Save Options?"));
    // Closing writes nothing.
    f.On1Click();
    f.close();
  }
  TForm1& g = Shown();
  // The winning animation's "On" was taken as I See Stars and saved so.
  EXPECT_EQ(ReadFileText(Data() + "/Options.dat"), "Off\r\nOn\r\nOff\r\nStars\r\n-1\r\nCompact\r\nOff\r\n");
  EXPECT_FALSE(g.ScoringOn());
  EXPECT_TRUE(g.Off3->Checked());
  EXPECT_FALSE(StatisticsOffered());
  EXPECT_FALSE(Extended());
  EXPECT_EQ(g.CardTable1->CardDeck()->SizeStep, -1);
  EXPECT_EQ(MarkedStep(), -1);
  EXPECT_EQ(g.ComboBox3->currentText(), QStringLiteral("80%"));
  EXPECT_FALSE(g.AutoMoveOn());
  EXPECT_TRUE(g.Off1->Checked());
  EXPECT_EQ(g.CardTable1->CardSpeed(), 12);
  // A folder that cannot be written is told, and the files there stay whole.
  std::filesystem::remove_all(Root / "prog");
  WriteTextFile(Root / "prog", "a file, not a folder");
  DataLocation = 1;
  Asked.clear();
  Answer = mrYes;
  g.SaveOptions1Click();
  ASSERT_EQ(Asked.size(), 2u);
  EXPECT_EQ(Asked[1].rfind("Notification.: The options could not be saved", 0), 0u);
}

TEST_F(OptionsTest, TheLayoutsPlaceTheGameAndFollowTheWindow) {
  TForm1& f = Shown();
  Klondike();
  TPatienceEngine& e = *f.Engine;
  // Extended: stretched across the table; Compact: the catalogue's places for a 71 x 96 card.
  ASSERT_TRUE(Extended());
  const int extendedStep = e.Layout.ColumnStep;
  EXPECT_GT(extendedStep, 102);
  EXPECT_EQ(e.Rules.TableauPlaces[6].X, e.Layout.LeftMargin + 6 * extendedStep);
  f.ToolButton180Click();
  EXPECT_FALSE(Extended());
  EXPECT_EQ(e.Rules.TableauPlaces[6].X, 15 + 6 * 102);
  EXPECT_EQ(f.OptionLines[5], "Compact");
  f.Extended1->Click();
  EXPECT_EQ(e.Layout.ColumnStep, extendedStep);
  EXPECT_EQ(f.OptionLines[5], "Extended");
  // A narrower window lays it out again, once a running deal has ended.
  f.resize(900, 700);
  QCoreApplication::processEvents();
  const int narrowStep = e.Layout.ColumnStep;
  EXPECT_LT(narrowStep, extendedStep);
  EXPECT_GE(narrowStep, 102);
  e.Busy = true;
  f.resize(1280, 1024);
  QCoreApplication::processEvents();
  EXPECT_EQ(e.Layout.ColumnStep, narrowStep);
  e.Busy = false;
  // The window looks again on a timer; a loaded machine may serve it late.
  for (int i = 0; i < 100 && e.Layout.ColumnStep != extendedStep; ++i) QTest::qWait(50);
  EXPECT_EQ(e.Layout.ColumnStep, extendedStep);
}

TEST_F(OptionsTest, ScaleStepsWithinEachLayout) {
  TForm1& f = Shown();
  Klondike();
  TCardDeck& d = *f.CardTable1->CardDeck();
  f.Compact1->Click();
  struct TStep {
    const char* Deck;
    int Asked, Got;
    bool Refused;
  };
  const TStep steps[] = {{"Standard", 2, 2, false}, {"Standard", 3, 1, true},   {"Standard", -2, -2, false},
                         {"M_Small", 1, -2, true},  {"M_Small", -2, -2, false}, {"M_Small", 2, -2, true}};
  for (const TStep& s : steps) {
    SCOPED_TRACE(std::string(s.Deck) + " " + std::to_string(s.Asked));
    d.SetDeckName(s.Deck);
    Asked.clear();
    f.SetScale(s.Asked);
    EXPECT_EQ(d.SizeStep, s.Got);
    EXPECT_EQ(MarkedStep(), s.Got);
    EXPECT_EQ(f.OptionLines[4], std::to_string(s.Got));
    EXPECT_EQ(Asked.size(), s.Refused ? 1u : 0u);
  }
  // While a command of the game runs the list goes back to the step in force.
  f.ToolBarTag = 1;
  f.ComboBox3->setCurrentIndex(4);
  f.ComboBox30Change(4);
  EXPECT_EQ(f.ComboBox3->currentText(), QStringLiteral("60%"));
  f.ToolBarTag = 0;
}

TEST_F(OptionsTest, ExtendedRefusesCardsTooLargeForTheTable) {
  TForm1& f = Shown();
  TPatienceEngine& e = *f.Engine;
  TCardDeck& d = *f.CardTable1->CardDeck();
  auto settle = [&](int width, int height) {
    f.resize(width, height);
    for (int i = 0; i < 20; ++i) QTest::qWait(20);
  };
  // After each refusal: one message, Normal cards marked and kept, the last pile inside the table.
  auto refused = [&] {
    const int right = e.Rules.TableauPlaces[size_t(e.Rules.Tableau.Count - 1)].X + d.CardWidth;
    const bool ok = Asked == std::vector<std::string>{std::string("Notification.: ") + kTooLarge} &&
                    d.SizeStep == 1 && MarkedStep() == 1 && f.OptionLines[4] == "1" &&
                    right <= f.CardTable1->Width();
    Asked.clear();
    return ok;
  };
  // Klondike at 800 x 600: 125 % would put its seventh column off the table.
  settle(800, 600);
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  f.SetScale(2);
  EXPECT_TRUE(refused());
  // A wide window takes 150 %; made narrower, it sets the cards back.
  settle(1280, 1024);
  f.SetScale(3);
  EXPECT_EQ(d.SizeStep, 3);
  settle(900, 700);
  EXPECT_TRUE(refused());
  // A new game that the cards in force make too wide: Spider's ten columns at 150 %.
  settle(1280, 1024);
  f.SetScale(3);
  GetMenuItem(f.Alphabeticallist1, "Spider", true)->Click();
  EXPECT_TRUE(refused());
}

// Where Normal does not fit the table, the Extended layout takes the largest smaller size that
// does, with the same message: Freecell and Spider on an 800 x 600 screen.
TEST_F(OptionsTest, ExtendedTakesASmallerSizeWhereNormalDoesNotFit) {
  SetScreenSizeForTesting(TPoint(800, 600));
  for (const char* game : {"Freecell", "Spider"}) {
    SCOPED_TRACE(game);
    TForm1& f = Shown();
    f.resize(800, 600);
    QCoreApplication::processEvents();
    const TPatienceEngine& e = *f.Engine;
    const TCardDeck& d = *f.CardTable1->CardDeck();
    ASSERT_TRUE(Extended());
    ASSERT_EQ(MarkedStep(), 1);
    GetMenuItem(f.Alphabeticallist1, game, true)->Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(Asked, std::vector<std::string>{std::string("Notification.: ") + kTooLarge});
    Asked.clear();
    EXPECT_LT(d.SizeStep, 1);
    EXPECT_EQ(MarkedStep(), d.SizeStep);
    EXPECT_EQ(f.OptionLines[4], std::to_string(d.SizeStep));
    // Every column inside the table, the last one's cards too.
    const TCardList& last = e.Rules.TableauPiles.back();
    EXPECT_LE(e.Rules.TableauPlaces.back().X + d.CardWidth, f.CardTable1->Width());
    EXPECT_LE(last.back()->Y + d.CardHeight, f.CardTable1->Height());
    EXPECT_TRUE(f.Engine->DealtGameFits());
  }
}

}  // namespace
