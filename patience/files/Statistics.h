#pragma once
// Statistics and high scores of each game, kept in the data folder's "Data" subfolder:
//   "<game>.dat"     line 0 games played, line 1 games won (decimal);
//   "<game>_HS.dat"  twenty entries of three lines, best first: name, date, points.
// An empty entry is an empty name, an empty date and "0". Both files are written through a
// temporary file renamed into place, so a write that is cut short leaves the old file whole.
//
// Reading never fails: a missing file, a missing line or a line that is no number reads as 0
// (or as an empty entry), and a high-score file is read whether or not its count file exists.

#include <array>
#include <functional>
#include <string>

#include "platform/core/StringList.h"

inline constexpr int kHighScoreEntries = 20;
// A name is kept as typed (one line of it, TypedName), up to this many characters.
inline constexpr int kHighScoreNameLength = 20;

struct THighScore {
  std::string Name;
  std::string Date;
  int Points = 0;
  friend bool operator==(const THighScore&, const THighScore&) = default;
};

struct TGameStatistics {
  int Played = 0;
  int Won = 0;
  std::array<THighScore, kHighScoreEntries> Entries{};
  friend bool operator==(const TGameStatistics&, const TGameStatistics&) = default;
};

// The folder of the statistics files of a data folder.
std::string StatisticsFolder(const std::string& dataDir);
// The count file and the high-score file of a game.
std::string CountFilePath(const std::string& gameName, const std::string& dataDir);
std::string HighScoreFilePath(const std::string& gameName, const std::string& dataDir);

// What the start screen shows for a game: how often it was played and won.
struct TPlayedWon {
  int Played = 0;
  int Won = 0;
};
TPlayedWon ReadPlayedWon(const std::string& gameName, const std::string& dataDir);

// Both files of a game ("Data" is made when missing).
TGameStatistics LoadStats(const std::string& gameName, const std::string& dataDir);
// The files as lines: two count lines, and sixty high-score lines.
TStringList CountLines(const TGameStatistics& stats);
TStringList HighScoreLines(const TGameStatistics& stats);
// Write one file each; false when the file could not be written (the old one is then intact).
bool SaveCounts(const std::string& gameName, const std::string& dataDir, const TGameStatistics& stats);
bool SaveHighScores(const std::string& gameName, const std::string& dataDir, const TGameStatistics& stats);

// The index (0..19) at which a score enters the table, or -1 when it does not: a score enters
// only when strictly greater than a stored one, so an equal score goes below the older entries,
// and a score not above the twentieth never enters.
int HighScorePosition(const TGameStatistics& stats, int points);

// The percentages of the Statistics page and their text: computed in single precision, written
// rounded to four decimals without trailing zeros ("33.3333", "50", "0").
struct TStatsPercent {
  float Lost = 0;
  float Won = 0;
};
TStatsPercent StatsPercent(const TGameStatistics& stats);
std::string PercentText(float percent, char decimalPoint = '.');
// The top of a bar of the chart on an image of height h (the bar reaches down to h).
int BarTop(int h, float percent);

// A typed or pasted name as it is stored: one line (line breaks become blanks, other control
// characters go), without blanks at its ends, at most kHighScoreNameLength characters.
std::string TypedName(const std::string& typed);

// The name last typed in a high-score table ("Player.dat" line 0), and storing a new one there.
// A missing "Player.dat" is written with an empty name line and the program id.
std::string DefaultPlayerName(const std::string& dataDir);
bool StorePlayerName(const std::string& dataDir, const std::string& name);

// Asks the player's name for a new entry at position (1..20) with these points; gets the
// default name and answers the name typed.
using TAskName = std::function<std::string(int position, int points, const std::string& defaultName)>;

// Counts one finished game in its files: played + 1 (won + 1 when won), and, when the points
// enter the table, a new entry with the name asked for and today's date. A game that never had a
// high-score file gets one, so the two files stay together. Answers the position the score took
// (1..20) or 0.
int CountFinishedGame(const std::string& gameName, const std::string& dataDir, int points, bool won,
                      const std::string& today, const TAskName& askName);
