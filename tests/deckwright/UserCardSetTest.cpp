// The user card set folder: options.txt, the name checks (unsafe names included), making a set
// from the template (whole or not at all, however the maker stops), deleting it, and the card
// file names the game loads.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "cardtable/CardDeck.h"
#include "deckwright/UserCardSet.h"
#include "platform/core/Files.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace {

class UserCardSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Cardsets = Dir / "Cardsets";
    User = Dir / "Patience/CardSets";
    ForceDirectories(User);
    TTestCardsetOptions o;
    o.Width = 89;
    o.Height = 123;
    WriteTestCardset(Cardsets, "C_1", o);
  }
  TTempDir Dir;
  std::string Cardsets, User;
};

}  // namespace

TEST(SetOptions, LinesRoundTripAndBadLinesKeepDefaults) {
  for (int type : {0, 1})
    for (int rank : {0, 1, 2})
      for (bool border : {false, true})
        for (bool large : {false, true}) {
          const TSetOptions o{type, rank, border, large};
          const TStringList lines = OptionLines(o);
          ASSERT_EQ(lines.Count(), 4);
          EXPECT_EQ(lines[0], std::to_string(type));
          EXPECT_EQ(lines[1], std::to_string(rank));
          EXPECT_EQ(lines[2], border ? "1" : "0");
          EXPECT_EQ(lines[3], large ? "1" : "0");
          EXPECT_EQ(ParseOptionLines(lines), o);
        }
  struct Case {
    TStringList Lines;
    TSetOptions Want;
  };
  const Case cases[] = {
      {{}, TSetOptions{}},
      {{"", "", "", ""}, TSetOptions{}},
      {{"x", "7", "yes", "2"}, TSetOptions{1, 1, false, true}},  // large: any non-zero number
      {{" 0 ", "2"}, TSetOptions{0, 2, false, false}},
      {{"-1", "-1", "1", "0"}, TSetOptions{1, 1, true, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseOptionLines(c.Lines), c.Want) << c.Lines.Text();
}

TEST_F(UserCardSetTest, NameChecksInTheDialogsOrder) {
  ForceDirectories(Cardsets + "/U_Sea");
  ForceDirectories(User + "/U_forest");
  struct Case {
    std::string Name;
    TNameCheck Want;
  };
  const Case cases[] = {
      {"", TNameCheck::Empty},
      {"my_set", TNameCheck::Underscore},
      {"sea", TNameCheck::Used},  // in the card sets folder, another spelling
      {"Forest", TNameCheck::Used},
      {"a/b", TNameCheck::Invalid},
      {"x/../../y", TNameCheck::Invalid},
      {"..", TNameCheck::Invalid},
      {"a..b", TNameCheck::Invalid},
      {"bad:name", TNameCheck::Invalid},
      {"tab\tname", TNameCheck::Invalid},
      {"quote\"", TNameCheck::Invalid},
      {"dot.", TNameCheck::Invalid},
      {"Holiday 2026", TNameCheck::Ok},
      {"Été", TNameCheck::Ok},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckNewSetName(c.Name, Cardsets, User), c.Want) << c.Name;
  EXPECT_EQ(NameCheckMessage(TNameCheck::Underscore), "No underscores allowed in name.");
  EXPECT_EQ(NameCheckMessage(TNameCheck::Used), "Name already used.");
  EXPECT_EQ(NameCheckMessage(TNameCheck::Invalid), "Invalid Name.");
  EXPECT_EQ(NameCheckMessage(TNameCheck::Empty), "");
}

TEST_F(UserCardSetTest, NewSetIsACopyOfTheTemplate) {
  WriteTextFile(Cardsets + "/C_1/readme.txt", "extra");
  // Into the user card sets folder when there is one, else beside the template.
  for (const std::string& user : {User, std::string()}) {
    const TCreateSetResult r = CreateUserSet("Holiday", Cardsets, user);
    ASSERT_EQ(r.Check, TNameCheck::Ok) << r.Message;
    EXPECT_EQ(r.Folder, PathJoin(user.empty() ? Cardsets : user, "U_Holiday"));
    std::vector<std::string> want = ListFiles(Cardsets + "/C_1"), got = ListFiles(r.Folder);
    std::sort(want.begin(), want.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, want);
    EXPECT_EQ(ReadFileText(r.Folder + "/01c.bmp"), ReadFileText(Cardsets + "/C_1/01c.bmp"));
    EXPECT_EQ(CreateUserSet("holiday", Cardsets, user).Check, TNameCheck::Used);
    ASSERT_TRUE(DeleteUserSet(user.empty() ? Cardsets : user, "U_Holiday").empty());
    EXPECT_FALSE(DirectoryExists(r.Folder));
  }
}

TEST_F(UserCardSetTest, RefusalsMakeNothing) {
  // An unsafe name never leaves the card sets folder.
  EXPECT_EQ(CreateUserSet("x/../../escape", Cardsets, User).Message, "Invalid Name.");
  EXPECT_FALSE(DirectoryExists(Dir / "escape"));
  EXPECT_FALSE(DirectoryExists(User + "/U_x"));
  // A template without its faces is refused before a folder is made.
  DeleteFile(Cardsets + "/C_1/07h.bmp");
  const TCreateSetResult r = CreateUserSet("Broken", Cardsets, User);
  EXPECT_NE(r.Check, TNameCheck::Ok);
  EXPECT_NE(r.Message.find("C_1"), std::string::npos);
  EXPECT_NE(r.Message.find("07h.bmp"), std::string::npos);
  EXPECT_FALSE(DirectoryExists(User + "/U_Broken"));
  EXPECT_EQ(MissingTemplateFiles(Cardsets), std::vector<std::string>{"07h.bmp"});
}

namespace {

int g_killAt = 0;
int g_steps = 0;

std::vector<std::string> SortedFiles(const std::string& folder) {
  std::vector<std::string> files = ListFiles(folder, true);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

// The maker killed at every step of New: after the start-up tidying the set is there whole (the
// template's files and the options) or not at all, and its name is free again.
TEST_F(UserCardSetTest, ANewSetKilledAtEveryStepIsWholeOrNone) {
  std::vector<std::string> whole = SortedFiles(Cardsets + "/C_1");
  whole.push_back("options.txt");
  std::sort(whole.begin(), whole.end());
  const TSetOptions options{0, 2, true, false};
  int killed = 0;
  for (int step = 1; step < 1000; ++step) {
    SCOPED_TRACE("killed at step " + std::to_string(step));
    const pid_t child = ::fork();
    if (child == 0) {
      g_killAt = step;
      // A kill loses nothing the disk cache holds, so the child need not wait for the disk.
      SetDurableCallsForTesting({[](int) { return 0; }, nullptr});
      SetAtomicWriteProbeForTesting([](const char*, const std::string&) {
        if (++g_steps == g_killAt) ::raise(SIGKILL);
      });
      CreateUserSet("Holiday", Cardsets, User, &options);
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    RemoveUnfinishedSets(User);
    if (!WIFSIGNALED(status)) break;
    ++killed;
    EXPECT_TRUE(ListSubfolders(User, true).empty());
    EXPECT_EQ(CheckNewSetName("Holiday", Cardsets, User), TNameCheck::Ok);
  }
  EXPECT_GT(killed, 200);
  EXPECT_EQ(ListSubfolders(User, true), std::vector<std::string>{"U_Holiday"});
  EXPECT_EQ(SortedFiles(User + "/U_Holiday"), whole);
  EXPECT_EQ(LoadSetOptions(User, Cardsets, "U_Holiday"), options);
  // A set being made by a live maker is left alone.
  ForceDirectories(User + "/.U_Other" + kUnfinishedMark + std::to_string(::getppid()));
  EXPECT_EQ(RemoveUnfinishedSets(User), 0);
}

TEST_F(UserCardSetTest, OptionsOfAnOpenedSetUserFolderFirst) {
  ForceDirectories(User + "/U_A");
  ForceDirectories(Cardsets + "/U_A");
  OptionLines(TSetOptions{0, 2, true, true}).SaveToFile(Cardsets + "/U_A/options.txt");
  EXPECT_EQ(LoadSetOptions(User, Cardsets, "U_A"), (TSetOptions{0, 2, true, true}));
  OptionLines(TSetOptions{1, 0, false, false}).SaveToFile(User + "/U_A/options.txt");
  EXPECT_EQ(LoadSetOptions(User, Cardsets, "U_A"), (TSetOptions{1, 0, false, false}));
  // No file: the dialog's defaults, never the previous set's lines.
  EXPECT_EQ(LoadSetOptions(User, Cardsets, "U_None"), TSetOptions{});
}

TEST_F(UserCardSetTest, DeleteLeavesSubfoldersAndSaysSo) {
  ForceDirectories(User + "/U_Keep/inner");
  WriteTextFile(User + "/U_Keep/01c.bmp", "x");
  const std::string message = DeleteUserSet(User, "U_Keep");
  EXPECT_NE(message.find("could not be removed"), std::string::npos);
  EXPECT_FALSE(FileExists(User + "/U_Keep/01c.bmp"));
  EXPECT_TRUE(DirectoryExists(User + "/U_Keep/inner"));
  // Never the root itself, nor a path outside it.
  EXPECT_FALSE(DeleteUserSet(User, "").empty());
  EXPECT_FALSE(DeleteUserSet(User, "..").empty());
  EXPECT_TRUE(DirectoryExists(User));
}

TEST(CardFileNames, EveryCardOfTheMakersDeck) {
  TCard card(nullptr);
  const char* suits = "cdhs";
  for (int v = 0; v < 13; ++v)
    for (int s = 0; s < 4; ++s) {
      card.Suit = TCardSuit(s);
      card.Value = TCardValue(v);
      const std::string nn = (v + 1 < 10 ? "0" : "") + std::to_string(v + 1);
      EXPECT_EQ(CardBitmapName(card), nn + suits[s] + ".bmp");
    }
  card.Suit = csJoker;
  const char* jokers[] = {"01joker.bmp", "02joker.bmp", "01joker.bmp", "02joker.bmp"};
  for (int j = 0; j < 4; ++j) {
    card.Value = TCardValue(j);
    EXPECT_EQ(CardBitmapName(card), jokers[j]);
  }
  EXPECT_EQ(BackBitmapName(7), "Back7.bmp");
}
