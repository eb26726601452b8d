#include "patience/files/Statistics.h"

#include <algorithm>
#include <cmath>

#include "patience/files/DataFolder.h"
#include "patience/files/PlayerSearch.h"
#include "patience/files/RecordNotice.h"
#include "patience/files/Trace.h"
#include "platform/core/Files.h"
#include "platform/core/Numeric.h"
#include "platform/core/Text.h"

namespace {

// The lines of a file, or none when it is missing or cannot be read.
TStringList ReadLines(const std::string& path) {
  TStringList lines;
  if (FileExists(path) && !lines.TryLoadFromFile(path)) lines.Clear();
  return lines;
}

int NumberAt(const TStringList& lines, int i) {
  return i < lines.Count() ? StrToIntDef(Trim(lines[i]), 0) : 0;
}

// The first n characters of a UTF-8 text (a character is a lead byte and its continuation bytes).
std::string FirstCharacters(const std::string& s, int n) {
  size_t i = 0;
  for (int k = 0; i < s.size() && k < n; ++k) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  }
  return s.substr(0, i);
}

// A failure is told to the player (once for each kind of record) and play goes on.
bool Save(const TStringList& lines, const std::string& path, TRecordKind kind) {
  ForceDirectories(ExtractFileDir(path));
  return SaveRecord(lines, path, kind);
}

}  // namespace

std::string StatisticsFolder(const std::string& dataDir) {
  return PathJoin(dataDir, "Data");
}

std::string CountFilePath(const std::string& gameName, const std::string& dataDir) {
  return PathJoin(StatisticsFolder(dataDir), gameName + ".dat");
}

std::string HighScoreFilePath(const std::string& gameName, const std::string& dataDir) {
  return PathJoin(StatisticsFolder(dataDir), gameName + "_HS.dat");
}

TPlayedWon ReadPlayedWon(const std::string& gameName, const std::string& dataDir) {
  const TStringList lines = ReadLines(CountFilePath(gameName, dataDir));
  // A count below 0 is none a game can reach: it reads as 0.
  return {std::max(0, NumberAt(lines, 0)), std::max(0, NumberAt(lines, 1))};
}

TGameStatistics LoadStats(const std::string& gameName, const std::string& dataDir) {
  ForceDirectories(StatisticsFolder(dataDir));
  TGameStatistics stats;
  const TPlayedWon counts = ReadPlayedWon(gameName, dataDir);
  stats.Played = counts.Played;
  stats.Won = counts.Won;
  const TStringList hs = ReadLines(HighScoreFilePath(gameName, dataDir));
  for (int e = 0; e < kHighScoreEntries; ++e) {
    THighScore& entry = stats.Entries[size_t(e)];
    entry.Name = 3 * e < hs.Count() ? hs[3 * e] : "";
    entry.Date = 3 * e + 1 < hs.Count() ? hs[3 * e + 1] : "";
    entry.Points = NumberAt(hs, 3 * e + 2);
  }
  return stats;
}

TStringList CountLines(const TGameStatistics& stats) {
  return TStringList{IntToStr(stats.Played), IntToStr(stats.Won)};
}

TStringList HighScoreLines(const TGameStatistics& stats) {
  TStringList lines;
  for (const THighScore& e : stats.Entries) {
    lines.Add(e.Name);
    lines.Add(e.Date);
    lines.Add(IntToStr(e.Points));
  }
  return lines;
}

bool SaveCounts(const std::string& gameName, const std::string& dataDir, const TGameStatistics& stats) {
  return Save(CountLines(stats), CountFilePath(gameName, dataDir), TRecordKind::Statistics);
}

bool SaveHighScores(const std::string& gameName, const std::string& dataDir, const TGameStatistics& stats) {
  return Save(HighScoreLines(stats), HighScoreFilePath(gameName, dataDir), TRecordKind::Statistics);
}

int HighScorePosition(const TGameStatistics& stats, int points) {
  int i = 0;
  // The bound is tested first: a score not above the twentieth entry reads no entry beyond it.
  while (i < kHighScoreEntries && stats.Entries[size_t(i)].Points >= points) ++i;
  return i < kHighScoreEntries ? i : -1;
}

TStatsPercent StatsPercent(const TGameStatistics& stats) {
  if (stats.Played <= 0) return {};
  const float played = float(stats.Played);
  // More won than played (a damaged file) shows as all won.
  const int won = std::clamp(stats.Won, 0, stats.Played);
  return {float(stats.Played - won) / played * 100.0f, float(won) / played * 100.0f};
}

std::string PercentText(float percent, char decimalPoint) {
  // Four decimals as a fixed-point value, rounded half to even like the conversion it mirrors.
  const long long scaled = static_cast<long long>(std::nearbyint(double(percent) * 10000.0));
  const bool negative = scaled < 0;
  const long long v = negative ? -scaled : scaled;
  std::string text = (negative ? "-" : "") + IntToStr(v / 10000);
  std::string frac = IntToStr(10000 + v % 10000).substr(1);
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  if (!frac.empty()) text += decimalPoint + frac;
  return text;
}

int BarTop(int h, float percent) {
  return h - int(std::nearbyint(double(h - 10) * double(percent) / 100.0));
}

std::string DefaultPlayerName(const std::string& dataDir) {
  TStringList lines = ReadLines(PathJoin(dataDir, "Player.dat"));
  MendPlayerLines(lines);
  return lines.Count() > 0 ? lines[0] : "";
}

std::string TypedName(const std::string& typed) {
  return FirstCharacters(Trim(OneLine(typed)), kHighScoreNameLength);
}

bool StorePlayerName(const std::string& dataDir, const std::string& name) {
  const std::string path = PathJoin(dataDir, "Player.dat");
  TStringList lines = ReadLines(path);
  MendPlayerLines(lines);
  if (lines.Count() == 0) lines.Add("");
  if (lines.Count() == 1) lines.Add(IntToStr(ProgramId));
  lines[0] = TypedName(name);
  return Save(lines, path, TRecordKind::PlayerName);
}

int CountFinishedGame(const std::string& gameName, const std::string& dataDir, int points, bool won,
                      const std::string& today, const TAskName& askName) {
  TGameStatistics stats = LoadStats(gameName, dataDir);
  // A count at the top of its range stays there.
  stats.Played = SaturatingAdd(stats.Played, 1);
  if (won) stats.Won = SaturatingAdd(stats.Won, 1);
  SaveCounts(gameName, dataDir, stats);

  const int i = HighScorePosition(stats, points);
  if (i >= 0) {
    for (int k = kHighScoreEntries - 1; k > i; --k) stats.Entries[size_t(k)] = stats.Entries[size_t(k - 1)];
    const std::string defaultName = DefaultPlayerName(dataDir);
    const std::string name = TypedName(askName ? askName(i + 1, points, defaultName) : defaultName);
    if (name != defaultName) StorePlayerName(dataDir, name);
    stats.Entries[size_t(i)] = THighScore{name, today, points};
    SaveHighScores(gameName, dataDir, stats);
  } else if (!FileExists(HighScoreFilePath(gameName, dataDir))) {
    SaveHighScores(gameName, dataDir, stats);
  }
  return i + 1;
}
