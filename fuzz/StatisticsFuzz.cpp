// A game's statistics files as the game reads them: the input, split at its first NUL byte, is
// the count file and the high-score file. Reading never fails; the figures shown stay within
// 0-100 percent and the chart; a finished game counted on top of any files adds one played game
// (and one won) without ever wrapping, and its score lands where the table's order says.

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "patience/files/Statistics.h"
#include "platform/core/Files.h"

namespace {

std::string g_dir;
const std::string kGame = "Klondike 1 [Turn over 1]";

void CheckFigures(const TGameStatistics& s) {
  FUZZ_CHECK(s.Played >= 0 && s.Won >= 0, "counts %d, %d", s.Played, s.Won);
  const TStatsPercent p = StatsPercent(s);
  FUZZ_CHECK(p.Lost >= 0 && p.Lost <= 100 && p.Won >= 0 && p.Won <= 100, "percentages %g, %g", double(p.Lost),
             double(p.Won));
  for (float v : {p.Lost, p.Won}) {
    const int top = BarTop(201, v);
    FUZZ_CHECK(top >= 10 && top <= 201, "a bar from %d", top);
    FUZZ_CHECK(!PercentText(v).empty(), "no percentage text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_dir = FuzzScratch("statistics");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = std::min(input.find('\0'), input.size());
  std::filesystem::remove_all(g_dir);
  ForceDirectories(StatisticsFolder(g_dir));
  FuzzWrite(CountFilePath(kGame, g_dir), input.data(), split);
  if (split < input.size())
    FuzzWrite(HighScoreFilePath(kGame, g_dir), input.data() + split + 1, size - split - 1);

  const TGameStatistics before = LoadStats(kGame, g_dir);
  CheckFigures(before);
  const TPlayedWon counts = ReadPlayedWon(kGame, g_dir);
  FUZZ_CHECK(counts.Played == before.Played && counts.Won == before.Won, "two readings differ");
  // A finished game, won when the first byte is odd, with points taken from the input.
  const bool won = size > 0 && (data[0] & 1);
  const int points = size >= 5 ? int(uint32_t(data[1]) | uint32_t(data[2]) << 8 | uint32_t(data[3]) << 16 |
                                     uint32_t(data[4]) << 24)
                               : 0;
  const int position = HighScorePosition(before, points);
  const int took = CountFinishedGame(kGame, g_dir, points, won, "1/1/26",
                                     [](int, int, const std::string&) { return std::string("Fuzz"); });
  FUZZ_CHECK(took == position + 1, "the score took place %d, not %d", took, position + 1);
  const TGameStatistics after = LoadStats(kGame, g_dir);
  CheckFigures(after);
  FUZZ_CHECK(after.Played == (before.Played == INT_MAX ? INT_MAX : before.Played + 1), "played %d after %d",
             after.Played, before.Played);
  FUZZ_CHECK(after.Won == (won && before.Won < INT_MAX ? before.Won + 1 : before.Won), "won %d after %d",
             after.Won, before.Won);
  if (took > 0) FUZZ_CHECK(after.Entries[size_t(took - 1)].Points == points, "the new entry lost its points");
  return 0;
}
