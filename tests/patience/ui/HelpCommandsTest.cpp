// The game's help: the help file the build compiles holds a rules page for every help code of
// the catalogue, with contents and index; F1 opens its contents and F2 (or Help > Rules) the page
// of the game in play; a damaged help file is told as not found and the game plays on.
#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <set>

#include "patience/catalogue/GameStart.h"
#include "patience/catalogue/RulesPage.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/StartScreen.h"
#include "platform/core/Files.h"
#include "platform/help/ChmFile.h"
#include "platform/help/HelpViewer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/platform/help/ChmBytes.h"
#include "tests/support/TestUtil.h"

namespace {

std::string BuiltHelpFile() {
  return PathJoin(BuiltProgramDir(), "Patience.chm");
}

TEST(PatienceHelpFile, HoldsAPageForEveryHelpCodeWithContentsAndIndex) {
  TChmFile chm(BuiltHelpFile());
  ASSERT_TRUE(chm.Ok()) << BuiltHelpFile();
  EXPECT_EQ(chm.DefaultTopic(), "/html/intro.htm");
  std::set<std::string> codes;
  for (const TGameRef& game : AllGames()) {
    const TGameDef& def = GameDefinition(game);
    if (!codes.insert(def.HelpCode).second) continue;
    const auto page = chm.Read(RulesTopic(def.HelpCode));
    ASSERT_TRUE(page) << GameCaption(game) << " " << def.HelpCode;
    EXPECT_NE(page->find("<h1>" + GameCaption(game) + "</h1>"), std::string::npos) << GameCaption(game);
  }
  EXPECT_EQ(codes.size(), 159u);
  // A reader that walks the listing sees them all too: the rules pages, the introduction and playing.
  EXPECT_EQ(chm.Pages().size(), 159u + 2);

  THelpManager manager;
  manager.RegisterViewer(std::make_shared<THTMLHelpViewer>());
  manager.HelpFile = BuiltHelpFile();
  ASSERT_TRUE(manager.HelpContents());
  THelpWindow* w = CurrentHelpWindow();
  EXPECT_EQ(w->ContentsCount(), 159 + 3);  // introduction, playing, the games and a page each
  // Every caption is a keyword of its game's page: the Freecell sizes lead to Freecell's.
  const std::pair<const char*, const char*> keywords[] = {{"Klondike 2 [Turn over 3]", "/html/pati1jaq.htm"},
                                                          {"canfield", "/html/pati4p2c.htm"},
                                                          {"Aces Up", "/html/patiacesup.htm"},
                                                          {"Free cells", "/html/intro.htm"}};
  for (auto [keyword, page] : keywords) {
    EXPECT_TRUE(manager.HelpKeyword(keyword)) << keyword;
    EXPECT_EQ(w->CurrentPage(), page) << keyword;
  }
  for (const TGameRef& game : AllGames())
    if (game.Entry == kEntryFreecellNxM) {
      EXPECT_TRUE(manager.HelpKeyword(GameCaption(game))) << GameCaption(game);
      EXPECT_EQ(w->CurrentPage(), "/html/pati" + GameDefinition(game).HelpCode + ".htm");
    }
  EXPECT_GE(w->IndexCount(), kGameCount);
  manager.ShutDown();
}

class HelpCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
    Form = std::make_unique<TForm1>(QStringList{}, TForm1Options{StandardTestCardsetsDir()});
    // The window names the program folder's help file; the tests use the one the build made.
    HelpManager().HelpFile = BuiltHelpFile();
    Form->show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    Form.reset();
    EXPECT_EQ(CurrentHelpWindow(), nullptr);  // the help closes with the game's window
    SetScreenSizeForTesting(std::nullopt);
    Application().ResetForTesting();
  }
  void Key(Qt::Key key) {
    QTest::keyClick(Form.get(), key);
    QCoreApplication::processEvents();
  }
  std::string Page() { return CurrentHelpWindow() ? CurrentHelpWindow()->CurrentPage() : "(no help window)"; }

  std::vector<TMessageRequest> Asked;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Asked.push_back(r);
    return int(mrNo);
  }};
  std::unique_ptr<TForm1> Form;
};

TEST_F(HelpCommandsTest, F1ShowsTheContentsAndF2TheRulesOfTheGameInPlay) {
  EXPECT_EQ(Form->PatienceHelp1->Caption(), "Help Contents   F1");
  EXPECT_EQ(Form->Rules1->Caption(), "Rules   F2");
  // On the start screen F2 shows the rules of the selected row's game, which stays unplayed.
  TStartScreen& start = *Form->StartScreen;
  ASSERT_TRUE(start.Showing());
  start.SetRow(3);
  Key(Qt::Key_F2);
  EXPECT_EQ(Page(), "/html/pati" + CatalogueGame(start.Cells(0, 3))->Definition().HelpCode + ".htm");
  EXPECT_TRUE(Form->Engine->Rules.GameName.empty());
  Key(Qt::Key_F1);
  ASSERT_NE(CurrentHelpWindow(), nullptr);
  EXPECT_EQ(CurrentHelpWindow()->CurrentTab(), "Contents");
  EXPECT_EQ(Page(), "/html/intro.htm");

  const std::pair<const char*, const char*> games[] = {{"Canfield", "/html/pati4p2c.htm"},
                                                       {"Klondike 1 [Turn over 1]", "/html/pati1jap.htm"},
                                                       {"Osmosis", "/html/patiosmos.htm"}};
  for (auto [caption, page] : games) {
    TMenuItem* item = GetMenuItem(Form->Alphabeticallist1, caption, true);
    ASSERT_NE(item, nullptr) << caption;
    item->Click();
    Key(Qt::Key_F2);
    EXPECT_EQ(Page(), page) << caption;
    Key(Qt::Key_F1);
    Form->Rules1->Click();
    EXPECT_EQ(Page(), page) << caption;
  }
  EXPECT_TRUE(Asked.empty());
}

TEST_F(HelpCommandsTest, AMissingHelpFileIsTold) {
  HelpManager().HelpFile = PathJoin(BuiltProgramDir(), "NoSuchHelp.chm");
  Key(Qt::Key_F1);
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text.rfind("Help file not found", 0), 0u) << Asked[0].Text;
  EXPECT_EQ(CurrentHelpWindow(), nullptr);
}

// The program's help file with its compressed section's frame list damaged (each of these
// overflowed the decompressor's buffer or read outside the section): F1 tells the file as not
// found, and the game in play goes on.
TEST_F(HelpCommandsTest, AHelpFileWithADamagedFrameListIsToldAndTheGamePlaysOn) {
  TChmBytes whole(BuiltHelpFile());
  const uint64_t frames = whole.Frames(), end = whole.Compressed();
  ASSERT_GE(frames, 4u) << "the help file is to have several frames";
  struct TCase {
    std::string What;
    uint64_t Frame, Start;
  };
  std::vector<TCase> cases;
  for (uint64_t i = 0; i + 1 < frames; ++i)
    cases.push_back({"past the next", i, whole.FrameStart(i + 1) + 1});
  for (uint64_t i : {uint64_t(0), frames / 2, frames - 1}) {
    cases.push_back({"past the section's end", i, end + 1});
    cases.push_back({"at 2^32", i, uint64_t(1) << 32});
    cases.push_back({"at 2^63", i, uint64_t(1) << 63});
  }
  // A frame longer than the decompressor's buffer: one start lowered to its forerunner's.
  for (uint64_t i = 1; i + 1 < frames; ++i)
    if (whole.FrameStart(i + 1) - whole.FrameStart(i - 1) > 0x8000 + 6144)
      cases.push_back({"lowered to make a long frame", i, whole.FrameStart(i - 1)});
  ASSERT_GT(cases.size(), 3 * 3 + frames - 1) << "no frame can be made too long";

  TMenuItem* item = GetMenuItem(Form->Alphabeticallist1, "Canfield", true);
  ASSERT_NE(item, nullptr);
  item->Click();
  ASSERT_EQ(Form->Engine->Rules.GameName, "Canfield");
  TTempDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE("frame " + std::to_string(c.Frame) + " " + c.What);
    TChmBytes f(BuiltHelpFile());
    f.Put(f.FrameEntryAt(c.Frame), c.Start, 8);
    const std::string path = dir / "Patience.chm";
    f.Save(path);
    EXPECT_FALSE(TChmFile(path).Ok());
    HelpManager().HelpFile = path;
    Asked.clear();
    Key(Qt::Key_F1);
    std::vector<std::string> told;
    for (const TMessageRequest& r : Asked) told.push_back(r.Text);
    EXPECT_EQ(told, std::vector<std::string>{"Help file not found:\n" + path});
    EXPECT_EQ(CurrentHelpWindow(), nullptr);
    HtmlHelp(nullptr, "", HH_CLOSE_ALL, nullptr);
    EXPECT_EQ(Form->Engine->Rules.GameName, "Canfield");
  }
  // The game is still there to be played: the help of the whole file opens on top of it.
  HelpManager().HelpFile = BuiltHelpFile();
  Key(Qt::Key_F2);
  EXPECT_EQ(Page(), "/html/pati4p2c.htm");
}

}  // namespace
