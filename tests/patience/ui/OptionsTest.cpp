// The window's options: "Options.dat" and "Status.Dat" read and applied at the first
// activation, the option commands, Save Options, the two layouts and the card scale.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QTest>
#include <filesystem>

#include "cardtable/CardTableWidget.h"
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

// A window whose data folder is a temporary local application data folder (its "Player.dat"
// already written), on card sets of 71 x 96 cards: "Standard" and a small set "M_Small".
class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
    SavedLocal = LocalAppDataDir;
    SavedDocs = MyDocumentsDir;
    LocalAppDataDir = Root / "local";
    MyDocumentsDir = Root / "docs";
    SetProgramDirForTesting(Root / "prog");
    std::filesystem::create_directories(Root / "prog");
    std::filesystem::create_directories(Data());
    WriteTextFile(Data() + "/Player.dat", "\r\n2051\r\n");
    for (const char* set : {"Standard", "M_Small"}) {
      TTestCardsetOptions o;
      o.Width = 71;
      o.Height = 96;
      WriteTestCardset(Root / "sets", set, o);
    }
  }
  void TearDown() override {
    Form.reset();
    LocalAppDataDir = SavedLocal;
    MyDocumentsDir = SavedDocs;
    SetProgramDirForTesting("");
    DataLocation = 0;
    SetScreenSizeForTesting(std::nullopt);
    Application().ResetForTesting();
  }
  std::string Data() const { return Root / "local/Patience"; }
  // The window shown and past its first activation.
  TForm1& Shown() {
    Form.reset();
    Form = std::make_unique<TForm1>(QStringList{}, TForm1Options{Root / "sets"});
    Form->show();
    QCoreApplication::processEvents();
    Asked.clear();
    return *Form;
  }
  void Choose(const std::string& caption) {
    TMenuItem* item = GetMenuItem(Form->Alphabeticallist1, caption, true);
    ASSERT_NE(item, nullptr) << caption;
    item->Click();
    QCoreApplication::processEvents();
  }
  // The step marked in the menu (0 when none) and the list's text.
  int MarkedStep() const {
    const std::pair<TMenuItem*, int> items[] = {{Form->N60Normal1, -2}, {Form->N751, -1},
                                                {Form->N1001, 1},       {Form->N125Normal1, 2},
                                                {Form->N200Normal1, 3}, {Form->N200Normal2, 5}};
    int marked = 0;
    for (const auto& [item, step] : items)
      if (item->Checked()) marked = marked ? 99 : step;
    return marked;
  }
  bool Extended() const {
    EXPECT_NE(Form->Extended1->Enabled(), Form->Compact1->Enabled());
    EXPECT_EQ(Form->ToolButton18->ImageIndex(), Form->Compact1->Enabled() ? tiExtended : tiCompact);
    return Form->Compact1->Enabled();
  }

  TTempDir Root;
  TVirtualClock Clock;
  TScopedClock ScopedClock{Clock};
  std::vector<TMessageRequest> Asked;
  int Answer = mrNo;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Asked.push_back(r);
    return Answer;
  }};
  std::unique_ptr<TForm1> Form;

 private:
  std::string SavedLocal, SavedDocs;
};

TEST_F(OptionsTest, TheFirstRunStartsFromTheDefaultsAndWritesNothing) {
  TForm1& f = Shown();
  EXPECT_EQ(DataLocation, 3);
  EXPECT_EQ(f.OptionLines.Lines, (std::vector<std::string>{"On", "On", "On", "On", "1", "Extended", "On"}));
  EXPECT_TRUE(Extended());
  EXPECT_TRUE(f.AutoMoveOn());
  EXPECT_EQ(MarkedStep(), 1);
  EXPECT_EQ(f.ComboBox3->currentText(), QStringLiteral("100%"));
  EXPECT_TRUE(f.On1->Checked());
  EXPECT_FALSE(f.Off1->Checked());
  // Changes last only in memory; closing writes nothing.
  f.Off1Click();
  f.AutoMoveOffClick();
  EXPECT_EQ(f.OptionLines[6], "Off");
  EXPECT_EQ(f.OptionLines[0], "Off");
  Answer = mrYes;
  f.close();
  Form.reset();
  EXPECT_FALSE(FileExists(Data() + "/Options.dat"));
  EXPECT_FALSE(FileExists(Data() + "/Status.Dat"));
}

struct TStartCase {
  const char* Name;
  const char* Options;
  bool AutoMove;
  bool Extended;
  int Step;         // the deck's step afterwards
  int Marked;       // the step marked in the menu, 0 for none
  const char* Box;  // the list's text
  bool Redeals;
  bool Refused;  // the too-large message came
};

const TStartCase kStartCases[] = {
    {"CompactWithItsLargestStep", "Off\r\nOn\r\nOn\r\nStars\r\n2\r\nCompact\r\nOff\r\n", false, false, 2, 2,
     "125%", false, false},
    {"CompactRefusesTooLargeAStep", "On\r\nOn\r\nOn\r\nStars\r\n3\r\nCompact\r\nOn\r\n", true, false, 1, 1,
     "100%", true, true},
    {"ExtendedTakesEveryStep", "On\r\nOn\r\nOn\r\nStars\r\n5\r\nExtended\r\n", true, true, 5, 5, "200%", true,
     false},
    {"AStepWithoutAnItemMarksNothing", "On\r\nOn\r\nOn\r\nStars\r\n4\r\nExtended\r\n", true, true, 4, 0,
     "100%", true, false},
    {"LowerCaseAutoMoveCountsAsOff", "on\r\n", false, true, 1, 1, "100%", true, false},
    {"BadStepReadsAsNormal", "On\r\nOn\r\nOn\r\nStars\r\nlarge\r\nExtended\r\n", true, true, 1, 1, "100%",
     true, false},
};

class StartOptions : public OptionsTest, public ::testing::WithParamInterface<TStartCase> {};

TEST_P(StartOptions, AppliedAtTheFirstActivation) {
  const TStartCase& c = GetParam();
  WriteTextFile(Data() + "/Options.dat", c.Options);
  TForm1& f = *(Form = std::make_unique<TForm1>(QStringList{}, TForm1Options{Root / "sets"}));
  f.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(f.AutoMoveOn(), c.AutoMove);
  EXPECT_EQ(Extended(), c.Extended);
  const int step = f.CardTable1->CardDeck()->SizeStep;
  EXPECT_EQ(step == 0 ? 1 : step, c.Step);  // a deck never scaled is at Normal
  EXPECT_EQ(MarkedStep(), c.Marked);
  EXPECT_EQ(f.ComboBox3->currentText().toStdString(), c.Box);
  EXPECT_EQ(f.OptionLines[4], c.Step == 4 ? "4" : std::to_string(c.Step));
  EXPECT_EQ(f.On1->Checked(), c.Redeals);
  EXPECT_EQ(f.AnimatedRedeals(), c.Redeals);
  const bool refused = !Asked.empty() && Asked[0].Text == kTooLarge;
  EXPECT_EQ(refused, c.Refused);
  // The card factors follow the card size.
  EXPECT_FLOAT_EQ(f.Engine->Layout.WidthFactor, float(f.CardTable1->CardDeck()->CardWidth) / 71.0f);
  EXPECT_FLOAT_EQ(f.Engine->Layout.HeightFactor, float(f.CardTable1->CardDeck()->CardHeight) / 96.0f);
}

INSTANTIATE_TEST_SUITE_P(Files, StartOptions, ::testing::ValuesIn(kStartCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(OptionsTest, SaveOptionsWritesBothFilesOnlyWhenAsked) {
  TForm1& f = Shown();
  f.Off1Click();
  Answer = mrNo;
  f.SaveOptions1Click();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text, "Save Options?");
  EXPECT_EQ(Asked[0].Type, mtConfirmation);
  EXPECT_EQ(Asked[0].Buttons, mbYes | mbNo);
  EXPECT_FALSE(FileExists(Data() + "/Options.dat"));
  EXPECT_FALSE(FileExists(Data() + "/Status.Dat"));
  Answer = mrYes;
  f.SaveOptions1Click();
  EXPECT_EQ(ReadFileText(Data() + "/Options.dat"), "On\r\nOn\r\nOn\r\nOn\r\n1\r\nExtended\r\nOff\r\n");
  EXPECT_TRUE(FileExists(Data() + "/Status.Dat"));
  EXPECT_EQ(Asked.size(), 2u);
  // A folder that cannot be written is told, and the files there stay whole.
  const std::string before = ReadFileText(Data() + "/Options.dat");
  std::filesystem::create_directory(Data() + "/Options.dat.tmp");  // nothing can be written beside it
  SetProgramDirForTesting(Root / "prog");
  std::filesystem::remove(Root / "prog");
  WriteTextFile(Root / "prog", "a file, not a folder");
  DataLocation = 1;
  f.SaveOptions1Click();
  ASSERT_EQ(Asked.size(), 4u);
  EXPECT_EQ(Asked[3].Caption, "Notification.");
  EXPECT_EQ(ReadFileText(Data() + "/Options.dat"), before);
}

TEST_F(OptionsTest, OptionsAndTableSettingsLastIntoTheNextRun) {
  {
    TForm1& f = Shown();
    f.ToolButton180Click();  // to Compact
    f.SetScale(-1);
    f.Off1Click();
    f.AutoMoveOffClick();
    f.CardTable1->SetCardSpeed(12);
    Answer = mrYes;
    f.SaveOptions1Click();
  }
  TForm1& g = Shown();
  EXPECT_FALSE(Extended());
  EXPECT_EQ(g.CardTable1->CardDeck()->SizeStep, -1);
  EXPECT_EQ(MarkedStep(), -1);
  EXPECT_EQ(g.ComboBox3->currentText(), QStringLiteral("80%"));
  EXPECT_FALSE(g.AutoMoveOn());
  EXPECT_TRUE(g.Off1->Checked());
  EXPECT_EQ(g.CardTable1->CardSpeed(), 12);
  EXPECT_EQ(g.OptionLines.Lines, (std::vector<std::string>{"Off", "On", "On", "On", "-1", "Compact", "Off"}));
}

TEST_F(OptionsTest, TheLayoutsPlaceTheGameAndFollowTheWindow) {
  TForm1& f = Shown();
  f.resize(1280, 1024);
  QCoreApplication::processEvents();
  Choose("Klondike 1 [Turn over 1]");
  TPatienceEngine& e = *f.Engine;
  // Extended: stretched across the table.
  ASSERT_TRUE(Extended());
  const int extendedStep = e.Layout.ColumnStep;
  EXPECT_GT(extendedStep, 102);
  const int lastPileX = e.Rules.TableauPlaces[6].X;
  EXPECT_EQ(lastPileX, e.Layout.LeftMargin + 6 * extendedStep);
  // Compact: the catalogue's own places for a 71 x 96 card.
  f.ToolButton180Click();
  EXPECT_FALSE(Extended());
  EXPECT_EQ(e.Layout.ColumnStep, 102);
  EXPECT_EQ(e.Rules.TableauPlaces[6].X, 15 + 6 * 102);
  EXPECT_EQ(f.OptionLines[5], "Compact");
  // The menu's Extended brings the stretch back; a narrower window lays it out again.
  f.Extended1->Click();
  EXPECT_EQ(e.Layout.ColumnStep, extendedStep);
  EXPECT_EQ(f.OptionLines[5], "Extended");
  f.resize(900, 700);
  QCoreApplication::processEvents();
  EXPECT_LT(e.Layout.ColumnStep, extendedStep);
  EXPECT_GE(e.Layout.ColumnStep, 102);
  // While a deal runs the layout waits, and follows the window once the deal has ended.
  const int narrowStep = e.Layout.ColumnStep;
  e.Busy = true;
  f.resize(1280, 1024);
  QCoreApplication::processEvents();
  EXPECT_EQ(e.Layout.ColumnStep, narrowStep);
  e.Busy = false;
  QTest::qWait(250);
  EXPECT_EQ(e.Layout.ColumnStep, extendedStep);
  // Every card of the tableau lies on its pile's column.
  for (size_t p = 0; p < e.Rules.TableauPiles.size(); ++p)
    for (const TCard* c : e.Rules.TableauPiles[p])
      if (c) {
        EXPECT_EQ(c->X, e.Rules.TableauPlaces[p].X);
      }
}

TEST_F(OptionsTest, ScaleStepsWithinEachLayout) {
  TForm1& f = Shown();
  f.resize(1280, 1024);
  QCoreApplication::processEvents();
  Choose("Klondike 1 [Turn over 1]");
  TCardDeck& d = *f.CardTable1->CardDeck();
  TPatienceEngine& e = *f.Engine;
  // Extended: the largest step, with the layout grown for it.
  f.ComboBox3->setCurrentIndex(5);
  f.ComboBox30Change(5);
  EXPECT_EQ(d.SizeStep, 5);
  EXPECT_EQ(d.CardWidth, 142);
  EXPECT_FLOAT_EQ(e.Layout.WidthFactor, 2.0f);
  EXPECT_EQ(e.Layout.FanOffset, 40);
  EXPECT_EQ(MarkedStep(), 5);
  EXPECT_TRUE(Asked.empty());
  // Compact refuses it: back to Normal with the message.
  f.Compact1->Click();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text, kTooLarge);
  EXPECT_EQ(Asked[0].Caption, "Notification.");
  EXPECT_EQ(d.SizeStep, 1);
  EXPECT_EQ(d.CardWidth, 71);
  EXPECT_EQ(MarkedStep(), 1);
  EXPECT_EQ(f.OptionLines[4], "1");
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
  // A command of the game running: the list goes back to the step in force.
  f.ToolBarTag = 1;
  f.ComboBox3->setCurrentIndex(4);
  f.ComboBox30Change(4);
  EXPECT_EQ(d.SizeStep, -2);
  EXPECT_EQ(f.ComboBox3->currentText(), QStringLiteral("60%"));
  f.ToolBarTag = 0;
}

}  // namespace
