// Finding the card sets folder and loading sets: the search order, "Config.txt", backs, user
// sets, scale steps, and loading that either succeeds whole or changes nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "cardtable/CardDeck.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace fs = std::filesystem;

namespace {

// Runs a search from a given current folder, program folder and PATH, with a scripted prompt.
class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OldCwd = GetCurrentDir();
    OldPath = GetEnv("PATH");
    fs::create_directories(Root / "cwd");
    fs::create_directories(Root / "prog");
    SetCurrentDir(Root / "cwd");
    SetProgramDirForTesting(Root / "prog");
    setenv("PATH", "/nonexistent", 1);
    SetCardsetsPrompt([this](TCardTable*) {
      ++Prompts;
      return Answer;
    });
  }
  void TearDown() override {
    SetCurrentDir(OldCwd);
    SetProgramDirForTesting("");
    setenv("PATH", OldPath.c_str(), 1);
    SetCardsetsPrompt(nullptr);
  }
  void MakeSets(const std::string& parent) { WriteTestCardset(PathJoin(parent, "Cardsets"), "Standard"); }

  TTempDir Root;
  std::string OldCwd, OldPath;
  TCardsetsPromptAnswer Answer;
  int Prompts = 0;
};

TEST_F(SearchTest, CurrentFolderBeatsProgramFolderBeatsConfig) {
  MakeSets(Root / "cwd");
  MakeSets(Root / "prog");
  MakeSets(Root / "cfg");
  WriteTextFile(Root / "cwd/Config.txt", (Root / "cfg/Cardsets") + "\r\n");
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "cwd/Cardsets");
  fs::remove_all(Root / "cwd/Cardsets");
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "prog/Cardsets");
  fs::remove_all(Root / "prog/Cardsets");
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "cfg/Cardsets");
  EXPECT_EQ(Prompts, 0);
}

TEST_F(SearchTest, FolderNamesMatchIgnoringCase) {
  WriteTestCardset(Root / "cwd/CardSets", "standard");
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "cwd/CardSets");
}

TEST_F(SearchTest, ABadConfigGoesToTheDialogWithoutSearchingThePath) {
  MakeSets(Root / "onpath");
  setenv("PATH", (Root / "onpath").c_str(), 1);
  WriteTextFile(Root / "cwd/Config.txt", "/no/such/folder\r\n");
  Answer = {false, ""};
  EXPECT_THROW(FindCardsetsDir(nullptr), ECardTableError);
  EXPECT_EQ(Prompts, 1);
  // An empty Config.txt names no folder either, and does not crash the search.
  WriteTextFile(Root / "cwd/Config.txt", "");
  EXPECT_THROW(FindCardsetsDir(nullptr), ECardTableError);
  EXPECT_EQ(Prompts, 2);
}

TEST_F(SearchTest, PathEntriesAreSearchedInOrderSkippingEmptyOnes) {
  MakeSets(Root / "second");
  setenv("PATH", ("::" + (Root / "first") + ":" + (Root / "second") + "/:" + (Root / "third")).c_str(), 1);
  MakeSets(Root / "third");
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "second/Cardsets");
}

TEST_F(SearchTest, TheDialogAnswerIsCheckedAndRemembered) {
  MakeSets(Root / "named");
  Answer = {false, Root / "named/Cardsets"};
  try {
    FindCardsetsDir(nullptr);
    FAIL();
  } catch (const ECardTableError& e) {
    EXPECT_STREQ(e.what(), "Cardsets directory not found.");
  }
  EXPECT_FALSE(FileExists(Root / "cwd/Config.txt"));  // a cancel writes nothing

  Answer = {true, Root / "nowhere"};
  EXPECT_THROW(FindCardsetsDir(nullptr), ECardTableError);
  EXPECT_FALSE(FileExists(Root / "cwd/Config.txt"));

  Answer = {true, (Root / "named/Cardsets") + "/ "};
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "named/Cardsets");
  TStringList l;
  l.LoadFromFile(Root / "cwd/Config.txt");
  EXPECT_EQ(l.Lines, std::vector<std::string>{Root / "named/Cardsets"});
  // Next time the file answers.
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "named/Cardsets");
  EXPECT_EQ(Prompts, 3);
}

TEST_F(SearchTest, AReadOnlyCurrentFolderDoesNotStopTheStart) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes to read-only folders";
  MakeSets(Root / "named");
  fs::permissions(Root / "cwd", fs::perms::owner_read | fs::perms::owner_exec);
  Answer = {true, Root / "named/Cardsets"};
  EXPECT_EQ(FindCardsetsDir(nullptr), Root / "named/Cardsets");
  fs::permissions(Root / "cwd", fs::perms::owner_all);
}

TEST_F(SearchTest, WithoutPromptOrFolderTheDeckIsNotMade) {
  SetCardsetsPrompt(nullptr);
  EXPECT_THROW(TCardDeck deck(nullptr), ECardTableError);
  MakeSets(Root / "cwd");
  TCardDeck deck(nullptr);
  EXPECT_EQ(deck.CardsetsDir, Root / "cwd/Cardsets");
}

class LoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteTestCardset(Sets.Path(), "Standard", Std);
    Deck = std::make_unique<TCardDeck>(nullptr, Sets.Path());
  }
  TTempDir Sets, User;
  TTestCardsetOptions Std;
  std::unique_ptr<TCardDeck> Deck;
};

TEST_F(LoadTest, BacksRunWithoutGapsFromOne) {
  TTestCardsetOptions gap;
  gap.Backs = 3;
  gap.ExtraBacks = {5};
  WriteTestCardset(Sets.Path(), "Gap", gap);
  Deck->SetDeckName("Gap");
  EXPECT_EQ(Deck->BackCount, 3);
  TTestCardsetOptions none;
  none.Backs = 0;
  WriteTestCardset(Sets.Path(), "NoBacks", none);
  EXPECT_THROW(Deck->SetDeckName("NoBacks"), ECardTableError);
  EXPECT_EQ(Deck->DeckName, "Gap");
  EXPECT_EQ(Deck->BackCount, 3);
}

TEST_F(LoadTest, AFailedLoadLeavesTheDeckAsItWas) {
  TTestCardsetOptions broken;
  broken.Tint = 0x030303;
  broken.Skip = {"Bottom04.bmp"};
  WriteTestCardset(Sets.Path(), "Broken", broken);
  Deck->SetCardBack(2);
  TBitmap face = Deck->CardByIndex(7)->Face, back = Deck->Back, bottom = Deck->PileBottoms[0];
  TCard* card = Deck->CardByIndex(7);
  EXPECT_THROW(Deck->SetDeckName("Broken"), Exception);
  EXPECT_EQ(Deck->DeckName, "Standard");
  EXPECT_EQ(Deck->CardBack, 2);
  EXPECT_EQ(Deck->CardByIndex(7), card);
  EXPECT_TRUE(SamePixels(card->Face, face));
  EXPECT_TRUE(SamePixels(Deck->Back, back));
  EXPECT_TRUE(SamePixels(Deck->PileBottoms[0], bottom));

  // A damaged face is refused the same way, naming the file.
  TTestCardsetOptions damaged;
  damaged.Tint = 0x030303;
  WriteTestCardset(Sets.Path(), "Damaged", damaged);
  WriteTextFile(Sets / "Damaged/07h.bmp", "BM garbage");
  try {
    Deck->SetDeckName("Damaged");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("07h.bmp"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Deck->DeckName, "Standard");
  // The count change reloads all-or-nothing too.
  fs::remove(Sets / "Standard/01joker.bmp");
  EXPECT_THROW(Deck->SetCardCount(54), Exception);
  EXPECT_EQ(Deck->CardCount, 52);
  EXPECT_EQ(Deck->CardByIndex(7), card);
}

TEST_F(LoadTest, SetNamesMustStayInsideTheFolders) {
  fs::create_directories(Sets / "sub");
  WriteTestCardset(Sets / "sub", "Inner");
  for (const char* bad : {"", ".", "..", "sub/Inner", "../x", "a\\b"}) {
    Deck->SetDeckName(bad);
    EXPECT_EQ(Deck->DeckName, "Standard") << bad;
  }
  Deck->SetDeckName("Missing");  // no such folder: ignored
  EXPECT_EQ(Deck->DeckName, "Standard");
}

TEST_F(LoadTest, UserSetsTakeFacesFromTheirFolderAndExtrasFromTheirs) {
  TTestCardsetOptions user;
  user.Tint = 0x050505;
  user.Extras = false;
  user.Skip = {"05h.bmp"};
  WriteTestCardset(User.Path(), "U_Mine", user);
  // The same set name in the card sets folder supplies what the user folder lacks.
  TTestCardsetOptions base;
  base.Tint = 0x0A0A0A;
  WriteTestCardset(Sets.Path(), "U_Mine", base);
  Deck->SetUserCardsetsDir(User.Path());
  Deck->SetDeckName("U_Mine");
  EXPECT_EQ(Deck->CardByIndex(1)->Face.Pixel(0, 0), TestFaceColour("01c.bmp", 0x050505));
  // Five of hearts is the 19th card of a fresh pack.
  EXPECT_EQ(Deck->CardByIndex(19)->Face.Pixel(0, 0), TestFaceColour("05h.bmp", 0x0A0A0A));
  EXPECT_EQ(Deck->Back.Pixel(0, 0), TestBackColour(1, 0x050505));
  EXPECT_EQ(Deck->PileBottoms[6].Pixel(0, 0), 0x0A0B0C + 0x0A0A0A);  // shade from the card sets folder

  // Once the user folder holds the masks, every extra comes from there.
  TTestCardsetOptions full;
  full.Tint = 0x070707;
  WriteTestCardset(User.Path(), "U_Full", full);
  Deck->SetDeckName("U_Full");
  EXPECT_EQ(Deck->PileBottoms[6].Pixel(0, 0), 0x0A0B0C + 0x070707);
}

TEST_F(LoadTest, JokersShareTwoPicturesAndTemplateSetsHaveTheirOwnWholeShadow) {
  Deck->SetCardCount(56);
  EXPECT_EQ(Deck->CardByIndex(53)->Face.Pixel(0, 0), TestFaceColour("01joker.bmp"));
  EXPECT_EQ(Deck->CardByIndex(54)->Face.Pixel(0, 0), TestFaceColour("02joker.bmp"));
  EXPECT_EQ(Deck->CardByIndex(55)->Face.Pixel(0, 0), TestFaceColour("01joker.bmp"));
  EXPECT_EQ(Deck->CardByIndex(56)->Face.Pixel(0, 0), TestFaceColour("02joker.bmp"));
  EXPECT_TRUE(SamePixels(Deck->Shadow02, Deck->PileBottoms[6]));  // a copy of the shade
  TTestCardsetOptions tmpl;
  tmpl.Shadow02 = true;
  WriteTestCardset(Sets.Path(), "c_1", tmpl);
  Deck->SetDeckName("c_1");
  EXPECT_EQ(Deck->Shadow02.Pixel(0, 0), 0x0D0E0F);
}

TEST(ScaleTableTest, RowsByName) {
  EXPECT_EQ(ScaleForStep("Standard", -2), 0.599f);
  EXPECT_EQ(ScaleForStep("Standard", -1), 0.797f);
  EXPECT_EQ(ScaleForStep("Standard", 0), 1.0f);
  EXPECT_EQ(ScaleForStep("Standard", 1), 1.0f);
  EXPECT_EQ(ScaleForStep("Standard", 5), 2.0f);
  EXPECT_EQ(ScaleForStep("standard", -2), 0.59f);  // names compare exactly
  EXPECT_EQ(ScaleForStep("Hard-a-port", -1), 0.83889f);
  EXPECT_EQ(ScaleForStep("Xskat-french-large", 2), 1.251f);
  EXPECT_EQ(ScaleForStep("Xpat2-nox-large", -2), 0.614f);
  EXPECT_EQ(ScaleForStep("Mine", -1), 0.7608f);
  EXPECT_EQ(ScaleForStep("Standard", 6), 1.0f);
  EXPECT_EQ(ScaleForStep("Standard", -3), 1.0f);
}

class ScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TTestCardsetOptions big;
    big.Width = 71;
    big.Height = 96;
    big.ShadowSize = 4;
    WriteTestCardset(Sets.Path(), "Standard", big);
    WriteTestCardset(Sets.Path(), "Other", big);
    Deck = std::make_unique<TCardDeck>(nullptr, Sets.Path());
  }
  TTempDir Sets;
  std::unique_ptr<TCardDeck> Deck;
};

TEST_F(ScaleTest, EveryStepGivesTheCardSizeOfItsScale) {
  struct Row {
    int step, w, h;
  };
  // Round half to even: 106.5 -> 106.
  for (Row r : {Row{-2, 43, 58}, Row{-1, 57, 77}, Row{0, 71, 96}, Row{1, 71, 96}, Row{2, 89, 120},
                Row{3, 106, 144}, Row{4, 124, 168}, Row{5, 142, 192}}) {
    Deck->SetSizeStep(r.step);
    EXPECT_EQ(Deck->SizeStep, r.step);
    EXPECT_EQ(Deck->CardWidth, r.w) << r.step;
    EXPECT_EQ(Deck->CardHeight, r.h) << r.step;
    EXPECT_EQ(Deck->CardByIndex(30)->Face.Width(), r.w);
    EXPECT_EQ(Deck->CardMask.Width(), r.w);
    EXPECT_EQ(Deck->InverseMask.Height(), r.h);
    EXPECT_EQ(Deck->PileBottoms[3].Width(), r.w);
    // Save-unders are made when something is drawn, at the size it is drawn: none yet.
    EXPECT_TRUE(Deck->Places[38].Background.Empty());
    EXPECT_TRUE(Deck->CardByIndex(30)->Background.Empty());
    EXPECT_TRUE(Deck->ShadowBackgrounds[1].Empty());
    // The inverse mask stays the exact complement of the scaled mask.
    for (int y = 0; y < r.h; y += 7)
      for (int x = 0; x < r.w; x += 5)
        ASSERT_EQ(Deck->InverseMask.Pixel(x, y), 0xFFFFFF - Deck->CardMask.Pixel(x, y));
  }
  Deck->SetSizeStep(6);
  EXPECT_EQ(Deck->SizeStep, 5);
  Deck->SetSizeStep(-3);
  EXPECT_EQ(Deck->SizeStep, 5);
}

TEST_F(ScaleTest, TheStepsRowFollowsTheSetName) {
  Deck->SetSizeStep(-2);
  EXPECT_EQ(Deck->Scale, 0.599f);
  Deck->SetDeckName("Other");
  EXPECT_EQ(Deck->Scale, 0.59f);
  EXPECT_EQ(Deck->CardWidth, 42);  // 71 * 0.59 = 41.89
  EXPECT_EQ(Deck->SizeStep, -2);
}

TEST_F(ScaleTest, DirectScalesAreBoundedAndKeepTheBack) {
  Deck->SetCardBack(3);
  Deck->SetPictureScale(0.2f);
  EXPECT_EQ(Deck->Scale, 1.0f);
  EXPECT_EQ(Deck->SizeStep, 0);
  Deck->SetPictureScale(0.21f);
  EXPECT_EQ(Deck->Scale, 0.21f);
  EXPECT_EQ(Deck->SizeStep, 1);
  EXPECT_EQ(Deck->CardBack, 3);
  EXPECT_EQ(Deck->Back.Width(), 15);  // 71 * 0.21 = 14.91
  Deck->SetPictureScale(1000.0f);     // refused: would allocate gigabytes
  EXPECT_EQ(Deck->Scale, 0.21f);
  // A step with the same scale changes only the step.
  Deck->SetPictureScale(1.0f);
  Deck->SetSizeStep(0);
  EXPECT_EQ(Deck->SizeStep, 0);
  EXPECT_EQ(Deck->CardWidth, 71);
}

}  // namespace
