// The saved-game file on its own: the check that refuses damaged and cut files before anything
// is dealt, seeds of every range, closing a file, the proposed name and deleting saved games.
#include <gtest/gtest.h>

#include "patience/files/SavedGame.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace {

bool Known(const std::string& name) {
  return name == "Klondike 1 [Turn over 1]" || name == "Spider";
}

TStringList Game(std::vector<std::string> moves = {"2", "3", "5", "7", "6", "0", "0", "0"}) {
  TStringList l{"Spider", "-1234567890", "O"};
  for (auto& m : moves) l.Add(m);
  return l;
}

TEST(SavedGameFile, WholeFilesPass) {
  std::string error;
  auto g = CheckSavedGame(Game(), Known, error);
  ASSERT_TRUE(g) << error;
  EXPECT_EQ(g->Seed, uint32_t(-1234567890));
  EXPECT_EQ(g->Moves(), 2);
  EXPECT_FALSE(g->Closed);
  TStringList closed = Game({});
  closed[2] = "0";
  g = CheckSavedGame(closed, Known, error);
  ASSERT_TRUE(g) << error;
  EXPECT_TRUE(g->Closed);
  EXPECT_EQ(g->Moves(), 0);  // three lines: the deal alone
}

TEST(SavedGameFile, DamagedFilesAreRefusedWithAReason) {
  struct TCase {
    std::string What;
    std::function<void(TStringList&)> Damage;
    std::string Reason;
  } cases[] = {
      {"unknown game", [](TStringList& l) { l[0] = "Nonesuch"; }, "there is no game \"Nonesuch\""},
      {"empty name", [](TStringList& l) { l[0] = ""; }, "there is no game \"\""},
      {"seed text", [](TStringList& l) { l[1] = "seed"; }, "line 2 is no seed"},
      {"seed too large", [](TStringList& l) { l[1] = "4294967296"; }, "line 2 is no seed"},
      {"seed too small", [](TStringList& l) { l[1] = "-2147483649"; }, "line 2 is no seed"},
      {"seed empty", [](TStringList& l) { l[1] = ""; }, "line 2 is no seed"},
      {"kind 8", [](TStringList& l) { l[3] = "8"; }, "line 4 is no move"},
      {"kind -1", [](TStringList& l) { l[7] = "-1"; }, "line 8 is no move"},
      {"pile text", [](TStringList& l) { l[4] = "x"; }, "line 5 is no move"},
      {"index float", [](TStringList& l) { l[5] = "1.5"; }, "line 6 is no move"},
      {"target huge", [](TStringList& l) { l[6] = "99999999999"; }, "line 7 is no move"},
      {"stray line", [](TStringList& l) { l.Add(""); }, "the last move is cut short"},
      {"garbage",
       [](TStringList& l) {
         l.Lines = {"\x01\x02", "\xff"};
       },
       "the file ends before the game's name, seed and state"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TStringList l = Game();
    c.Damage(l);
    std::string error;
    EXPECT_FALSE(CheckSavedGame(l, Known, error));
    EXPECT_EQ(error, c.Reason);
  }
}

TEST(SavedGameFile, SeedsOfEveryRangeWrapToThirtyTwoBits) {
  struct TCase {
    std::string Line;
    uint32_t Seed;
  } cases[] = {{"0", 0u},
               {"-1", 0xFFFFFFFFu},
               {"-2147483648", 0x80000000u},
               {"2147483647", 0x7FFFFFFFu},
               {"4294967295", 0xFFFFFFFFu},
               {" 42 ", 42u}};
  for (const TCase& c : cases) {
    auto s = ParseSeed(c.Line);
    ASSERT_TRUE(s) << c.Line;
    EXPECT_EQ(*s, c.Seed) << c.Line;
  }
}

TEST(SavedGameFile, FilesAreReadCheckedWrittenAndClosed) {
  TTempDir dir;
  const std::string path = SaveGamesFolder(dir.Path()) + "/a.ppg";
  ForceDirectories(SaveGamesFolder(dir.Path()));
  std::string error;
  ASSERT_TRUE(WriteSavedGame(path, Game(), error)) << error;
  EXPECT_EQ(ReadFileText(path), "Spider\r\n-1234567890\r\nO\r\n2\r\n3\r\n5\r\n7\r\n6\r\n0\r\n0\r\n0\r\n");
  auto g = ReadSavedGame(path, Known, error);
  ASSERT_TRUE(g) << error;
  EXPECT_EQ(g->Lines.Lines, Game().Lines);
  CloseGameFile(path);
  TStringList closed = Game();
  closed[2] = "0";
  EXPECT_EQ(ReadSavedGame(path, Known, error)->Lines.Lines, closed.Lines);

  EXPECT_FALSE(ReadSavedGame(dir / "missing.ppg", Known, error));
  EXPECT_EQ(error, "the file cannot be found");
  EXPECT_FALSE(ReadSavedGame(dir.Path(), Known, error));  // a folder
  CloseGameFile(dir / "missing.ppg");                     // nothing happens
  EXPECT_FALSE(FileExists(dir / "missing.ppg"));
  // A write into a folder that cannot exist fails with a reason, and leaves the old file.
  WriteTextFile(dir / "plainfile", "x");
  EXPECT_FALSE(WriteSavedGame(dir / "plainfile/b.ppg", Game(), error));
  EXPECT_FALSE(error.empty());
}

TEST(SavedGameFile, DeleteTakesEveryPpgOfTheTreeAndNothingElse) {
  TTempDir dir;
  const std::string root = SaveGamesFolder(dir.Path());
  for (const char* f : {"a.ppg", "B.PPG", "sub/c.Ppg", "sub/deeper/d.ppg", "keep.txt", "sub/keep.ppg.bak"}) {
    ForceDirectories(ExtractFileDir(PathJoin(root, f)));
    WriteTextFile(PathJoin(root, f), "x");
  }
  EXPECT_EQ(DeleteSavedGames(root), 4);
  EXPECT_TRUE(FileExists(PathJoin(root, "keep.txt")));
  EXPECT_TRUE(FileExists(PathJoin(root, "sub/keep.ppg.bak")));
  EXPECT_TRUE(DirectoryExists(PathJoin(root, "sub/deeper")));
  EXPECT_EQ(DeleteSavedGames(dir / "nothing here"), 0);
}

TEST(SavedGameFile, TheProposedName) {
  EXPECT_EQ(ProposedSaveName("Spider", "12/9/26 1:32:05 AM"), "Spider 12-9-26 1-32-05 AM");
  EXPECT_EQ(ProposedSaveName("Freecell 4x4", "2026-12-09 01:32:05"), "Freecell 4x4 2026-12-09 01-32-05");
}

}  // namespace
