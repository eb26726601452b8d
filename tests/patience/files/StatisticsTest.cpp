// Statistics and high-score files: counting finished games, the table's order, ties, full
// tables and scores that never enter, damaged and orphaned files, the player's name (pasted with
// line breaks too), records that cannot be written, the figures of the Statistics page, and a
// writer killed in the middle of a write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

#include "patience/files/Favourites.h"
#include "patience/files/RecordNotice.h"
#include "patience/files/Statistics.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/ui/Dialogs.h"
#include "tests/support/TestUtil.h"

namespace {

class StatisticsTest : public ::testing::Test {
 protected:
  TTempDir Dir;
  const std::string Game = "Klondike 1 [Turn over 1]";
  std::vector<std::pair<int, int>> Asked;  // (position, points)
  std::string Typed = "Ann";

  int Count(int points, bool won, const std::string& today = "9/12/26") {
    return CountFinishedGame(Game, Dir.Path(), points, won, today,
                             [this](int pos, int pts, const std::string&) {
                               Asked.emplace_back(pos, pts);
                               return Typed;
                             });
  }
  TStringList Lines(const std::string& path) {
    TStringList l;
    l.LoadFromFile(path);
    return l;
  }
  // A table whose entry i holds points[i] (the rest empty).
  void WriteTable(const std::vector<int>& points) {
    TGameStatistics s;
    for (size_t i = 0; i < points.size(); ++i) s.Entries[i] = {"P" + std::to_string(i), "d", points[i]};
    ASSERT_TRUE(SaveHighScores(Game, Dir.Path(), s));
  }
};

TEST_F(StatisticsTest, AFirstWinIsCountedAndEntersTheTable) {
  EXPECT_EQ(Count(12, true), 1);
  EXPECT_EQ(Lines(CountFilePath(Game, Dir.Path())).Lines, (std::vector<std::string>{"1", "1"}));
  const TStringList hs = Lines(HighScoreFilePath(Game, Dir.Path()));
  ASSERT_EQ(hs.Count(), 60);
  EXPECT_EQ(hs[0], "Ann");
  EXPECT_EQ(hs[1], "9/12/26");
  EXPECT_EQ(hs[2], "12");
  for (int i = 3; i < 60; ++i) EXPECT_EQ(hs[i], i % 3 == 2 ? "0" : "") << "line " << i;
  EXPECT_EQ(Asked, (std::vector<std::pair<int, int>>{{1, 12}}));
  // The name is offered next time.
  EXPECT_EQ(DefaultPlayerName(Dir.Path()), "Ann");
  EXPECT_EQ(Lines(Dir / "Player.dat").Lines, (std::vector<std::string>{"Ann", "2051"}));
}

// Twenty different scores, 100 down to 5.
std::vector<int> Descending() {
  std::vector<int> v;
  for (int p = 100; p >= 5; p -= 5) v.push_back(p);
  return v;
}

TEST_F(StatisticsTest, PositionsOfScoresAmongStoredOnes) {
  struct TCase {
    std::vector<int> Table;
    int Points;
    int Position;  // 0 = does not enter
  } cases[] = {
      {{}, 0, 0},     // nothing at or below zero enters an empty table
      {{}, -666, 0},  // the mark of a game changed after undo
      {{}, 1, 1},
      {{50, 40, 30, 20, 10}, 20, 5},  // equal to entry 3: goes below it
      {{50, 40, 30, 20, 10}, 55, 1},
      {{50, 40, 30, 20, 10}, 10, 0 + 6},  // below the equal last one, into an empty slot
      {std::vector<int>(20, 5), 5, 0},    // a full table: equal to the twentieth
      {std::vector<int>(20, 5), 4, 0},    // below the twentieth
      {std::vector<int>(20, 5), 6, 1},
      {Descending(), 52, 11},  // a full table of different scores: the twentieth falls out
      {Descending(), 6, 20},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "points " << c.Points << " over " << c.Table.size() << " entries");
    WriteTable(c.Table);
    Asked.clear();
    EXPECT_EQ(Count(c.Points, false), c.Position);
    EXPECT_EQ(Asked.size(), c.Position ? 1u : 0u);
    const TGameStatistics s = LoadStats(Game, Dir.Path());
    if (c.Position) {
      EXPECT_EQ(s.Entries[size_t(c.Position - 1)], (THighScore{"Ann", "9/12/26", c.Points}));
      // The entries below moved down one place; the twentieth fell out.
      for (size_t i = size_t(c.Position); i < 20 && i - 1 < c.Table.size(); ++i)
        EXPECT_EQ(s.Entries[i].Points, c.Table[i - 1]);
    } else {
      for (size_t i = 0; i < c.Table.size(); ++i) EXPECT_EQ(s.Entries[i].Points, c.Table[i]);
    }
  }
}

TEST_F(StatisticsTest, CountsAddUpOverGames) {
  Count(0, false);
  Count(10, true);
  Count(-5, false);
  const TGameStatistics s = LoadStats(Game, Dir.Path());
  EXPECT_EQ(s.Played, 3);
  EXPECT_EQ(s.Won, 1);
  EXPECT_EQ(ReadPlayedWon(Game, Dir.Path()).Played, 3);
  EXPECT_EQ(ReadPlayedWon(Game, Dir.Path()).Won, 1);
  EXPECT_EQ(ReadPlayedWon("Never Played", Dir.Path()).Played, 0);
  // A game that never scored still has its high-score file beside its count file.
  EXPECT_TRUE(FileExists(HighScoreFilePath(Game, Dir.Path())));
}

TEST_F(StatisticsTest, DamagedMissingAndOrphanedFilesReadAsZeroAndKeepWhatTheyHold) {
  ForceDirectories(Dir / "Data");
  struct TCase {
    std::string Counts;  // text of the count file ("-" for none)
    std::string Scores;  // text of the high-score file ("-" for none)
    int Played, Won, FirstPoints;
    std::string FirstName;
  } cases[] = {
      {"-", "-", 0, 0, 0, ""},
      {"abc\r\n7\r\n", "-", 0, 7, 0, ""},
      {"5\r\n", "Bo\r\nd\r\nxx\r\n", 5, 0, 0, "Bo"},
      {"-", "Cy\r\nd\r\n40\r\n", 0, 0, 40, "Cy"},  // an orphaned table is read, not overwritten
      {"", "", 0, 0, 0, ""},
      {" 3 \n2", "Di\nd\n 9\n", 3, 2, 9, "Di"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Counts + " | " + c.Scores);
    DeleteFile(CountFilePath(Game, Dir.Path()));
    DeleteFile(HighScoreFilePath(Game, Dir.Path()));
    if (c.Counts != "-") WriteTextFile(CountFilePath(Game, Dir.Path()), c.Counts);
    if (c.Scores != "-") WriteTextFile(HighScoreFilePath(Game, Dir.Path()), c.Scores);
    const TGameStatistics s = LoadStats(Game, Dir.Path());
    EXPECT_EQ(s.Played, c.Played);
    EXPECT_EQ(s.Won, c.Won);
    EXPECT_EQ(s.Entries[0].Points, c.FirstPoints);
    EXPECT_EQ(s.Entries[0].Name, c.FirstName);
    EXPECT_EQ(s.Entries[19], THighScore{});
  }
  // Counting over an orphaned table keeps its entries.
  Count(1, false);
  EXPECT_EQ(LoadStats(Game, Dir.Path()).Entries[0].Name, "Di");
  EXPECT_EQ(LoadStats(Game, Dir.Path()).Entries[1].Name, "Ann");
}

// Counts at the top of their range stay there, and counts below 0 read as none.
TEST_F(StatisticsTest, CountsNeverWrap) {
  ForceDirectories(Dir / "Data");
  WriteTextFile(CountFilePath(Game, Dir.Path()), "2147483647\r\n2147483647\r\n");
  Count(3, true);
  EXPECT_EQ(Lines(CountFilePath(Game, Dir.Path())).Lines,
            (std::vector<std::string>{"2147483647", "2147483647"}));
  WriteTextFile(CountFilePath(Game, Dir.Path()), "-4\r\n-2147483648\r\n");
  EXPECT_EQ(ReadPlayedWon(Game, Dir.Path()).Played, 0);
  EXPECT_EQ(ReadPlayedWon(Game, Dir.Path()).Won, 0);
  Count(3, false);
  EXPECT_EQ(Lines(CountFilePath(Game, Dir.Path())).Lines, (std::vector<std::string>{"1", "0"}));
}

TEST_F(StatisticsTest, StatisticsRoundTripThroughTheirFiles) {
  TGameStatistics s;
  s.Played = 123456;
  s.Won = 654;
  for (int i = 0; i < 20; ++i)
    s.Entries[size_t(i)] = {"Name " + std::to_string(i) + " é", "1/2/26", 1000 - 7 * i};
  ASSERT_TRUE(SaveCounts(Game, Dir.Path(), s));
  ASSERT_TRUE(SaveHighScores(Game, Dir.Path(), s));
  EXPECT_EQ(LoadStats(Game, Dir.Path()), s);
  // CR LF lines, as every data file.
  EXPECT_EQ(ReadFileText(CountFilePath(Game, Dir.Path())), "123456\r\n654\r\n");
}

TEST_F(StatisticsTest, ThePlayersNameIsRewrittenOnlyWhenItChanged) {
  WriteTextFile(Dir / "Player.dat", "Ann\r\n2051\r\nkept\r\n");
  Count(5, true);
  EXPECT_EQ(ReadFileText(Dir / "Player.dat"), "Ann\r\n2051\r\nkept\r\n");
  Typed = "A name far longer than twenty characters";
  Count(6, true);
  EXPECT_EQ(Lines(Dir / "Player.dat").Lines,
            (std::vector<std::string>{"A name far longer th", "2051", "kept"}));
  EXPECT_EQ(LoadStats(Game, Dir.Path()).Entries[0].Name, "A name far longer th");
  // Twenty characters, not twenty bytes.
  Typed = "ééééééééééééééééééééé";
  Count(7, true);
  EXPECT_EQ(LoadStats(Game, Dir.Path()).Entries[0].Name, "éééééééééééééééééééé");
}

// A pasted name with line breaks and other control characters is stored as one line: the table
// keeps its sixty lines and "Player.dat" its two, so nothing reads back shifted.
TEST_F(StatisticsTest, APastedNameIsStoredAsOneLine) {
  Typed = "Ann\r\nSmith\t\x01X\n";
  Count(30, true);
  Typed = "Bo";
  Count(20, true);
  const TStringList hs = Lines(HighScoreFilePath(Game, Dir.Path()));
  EXPECT_EQ(hs.Count(), 60);
  const TGameStatistics s = LoadStats(Game, Dir.Path());
  EXPECT_EQ(s.Entries[0], (THighScore{"Ann Smith X", "9/12/26", 30}));
  EXPECT_EQ(s.Entries[1], (THighScore{"Bo", "9/12/26", 20}));
  StorePlayerName(Dir.Path(), "Cy\r\nDee");
  EXPECT_EQ(Lines(Dir / "Player.dat").Lines, (std::vector<std::string>{"Cy Dee", "2051"}));
  // A "Player.dat" that an earlier version wrote with the name over two lines reads as one name.
  WriteTextFile(Dir / "Player.dat", "Ed\r\nFay\r\n2051\r\n");
  EXPECT_EQ(DefaultPlayerName(Dir.Path()), "Ed Fay");
  StorePlayerName(Dir.Path(), "Gil");
  EXPECT_EQ(Lines(Dir / "Player.dat").Lines, (std::vector<std::string>{"Gil", "2051"}));
}

// Records that cannot be written are told once per kind of file, with the reason; the game goes
// on and what could be written is.
TEST_F(StatisticsTest, RecordsThatCannotBeWrittenAreToldOncePerKind) {
  ResetRecordNoticesForTesting();
  std::vector<std::string> told;
  TScopedMessageHook boxes([&](const TMessageRequest& r) {
    told.push_back(r.Text);
    return mrOk;
  });
  WriteTextFile(Dir / "Data", "a file where the folder should be");
  ForceDirectories(Dir / "Player.dat");  // and a folder where the name goes
  Typed = "Hal";
  EXPECT_EQ(Count(10, true), 1);
  Count(20, true);
  TFavouritesList favourites;
  favourites.Add("Spider");
  EXPECT_FALSE(favourites.SaveToFile(Dir / "Data/fav.dat"));
  EXPECT_FALSE(favourites.SaveToFile(Dir / "Data/fav.dat"));
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told[0].rfind("The statistics and high scores could not be saved.", 0), 0u) << told[0];
  EXPECT_NE(told[0].find(CountFilePath(Game, Dir.Path())), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("Not a directory"), std::string::npos) << told[0];
  EXPECT_EQ(told[1].rfind("Your name could not be saved.", 0), 0u) << told[1];
  EXPECT_EQ(told[2].rfind("The favourites could not be saved.", 0), 0u) << told[2];
  ResetRecordNoticesForTesting();
}

TEST_F(StatisticsTest, PercentagesAndBars) {
  struct TCase {
    int Played, Won;
    std::string Lost, WonText;
    int LostTop, WonTop;  // on an image 201 high
  } cases[] = {
      {0, 0, "0", "0", 201, 201},
      {3, 1, "66.6667", "33.3333", 74, 137},
      {2, 1, "50", "50", 105, 105},
      {4, 4, "0", "100", 201, 10},
      {7, 0, "100", "0", 10, 201},
      {8, 1, "87.5", "12.5", 34, 177},
      // A damaged file's counts: more won than played, and the largest counts there are.
      {3, 5, "0", "100", 201, 10},
      {INT_MAX, INT_MAX, "0", "100", 201, 10},
      {INT_MAX, 0, "100", "0", 10, 201},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Played) + "/" + std::to_string(c.Won));
    TGameStatistics s;
    s.Played = c.Played;
    s.Won = c.Won;
    const TStatsPercent p = StatsPercent(s);
    EXPECT_EQ(PercentText(p.Lost), c.Lost);
    EXPECT_EQ(PercentText(p.Won), c.WonText);
    EXPECT_EQ(BarTop(201, p.Lost), c.LostTop);
    EXPECT_EQ(BarTop(201, p.Won), c.WonTop);
  }
  EXPECT_EQ(PercentText(12.5f, ','), "12,5");
}

// A writer killed at any moment leaves the old file or the new one, whole, never a mixture or a
// cut file.
TEST_F(StatisticsTest, AKillDuringAWriteLosesNothing) {
  TGameStatistics a, b;
  a.Played = 1;
  b.Played = 2;
  for (int i = 0; i < 20; ++i) {
    a.Entries[size_t(i)] = {std::string(20, 'a'), "1/1/26", 100 - i};
    b.Entries[size_t(i)] = {std::string(20, 'b'), "2/2/26", 200 - i};
  }
  ASSERT_TRUE(SaveHighScores(Game, Dir.Path(), a));
  ASSERT_TRUE(SaveCounts(Game, Dir.Path(), a));
  for (int round = 0; round < 40; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int n = 0;; ++n) {
        const TGameStatistics& s = n % 2 ? a : b;
        SaveHighScores(Game, Dir.Path(), s);
        SaveCounts(Game, Dir.Path(), s);
      }
    }
    usleep(useconds_t(200 + 397 * round % 5000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const TGameStatistics read = LoadStats(Game, Dir.Path());
    EXPECT_TRUE(read.Entries == a.Entries || read.Entries == b.Entries) << "round " << round;
    EXPECT_TRUE(read.Played == 1 || read.Played == 2) << "round " << round;
    EXPECT_EQ(Lines(HighScoreFilePath(Game, Dir.Path())).Count(), 60) << "round " << round;
  }
}

}  // namespace
