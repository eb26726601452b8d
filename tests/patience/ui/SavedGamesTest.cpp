// Saved games over the whole catalogue: random legal play (with refused drops, stock clicks and
// redeals), saved to a file, opened in a fresh engine and replayed from the seed: the same
// position, points and history. Files cut at every line, or damaged in any line, are refused
// before anything is dealt, except cuts between whole moves, which are shorter games.
#include <gtest/gtest.h>

#include "patience/ui/SavedGames.h"
#include "platform/core/Files.h"
#include "tests/patience/engine/PlayTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// Plays up to moves random actions the rules allow (one in ten a refused drag).
void PlayRandomly(TEngineRig& rig, uint32_t seed, int moves) {
  TPatienceEngine& e = *rig.Engine;
  TRandom rng(seed * 2246822519u + 3u);
  for (int i = 0; i < moves; ++i) {
    std::vector<TRecord> legal = LegalMoves(e);
    if (rng.Random(10) == 0) {
      const std::vector<TRecord> wrong = RefusedDrags(e);
      if (!wrong.empty()) legal = {wrong[size_t(rng.Random(int(wrong.size())))]};
    }
    if (legal.empty()) return;
    const TRecord r = legal[size_t(rng.Random(int(legal.size())))];
    if (r.Kind == pkRedeal)
      e.ReDealWastepileExecute();
    else
      e.MakeMove(TPileKind(r.Kind), r.Pile, r.Index, r.Target);
  }
}

struct TOpened {
  std::unique_ptr<TEngineRig> Rig;
  bool Dealt = false;
};

// A fresh engine that opened the file.
TOpened Open(const std::string& path, std::string& error) {
  TOpened o;
  const std::optional<TSavedGame> game = ReadMenuSavedGame(path, error);
  if (!game) return o;
  o.Rig = std::make_unique<TEngineRig>();
  FastTable(*o.Rig->Table);
  o.Dealt = ReplaySavedGame(*o.Rig->Engine, *game, path);
  return o;
}

constexpr int kSlices = 8;
constexpr int kMoves = 40;

class SavedGamesAllGames : public ::testing::TestWithParam<int> {};

TEST_P(SavedGamesAllGames, SavedOpenedAndReplayedComeBackExactly) {
  TTempDir dir;
  const auto& captions = AllCaptions();
  int games = 0, records = 0;
  for (size_t g = size_t(GetParam()); g < captions.size(); g += kSlices) {
    const uint32_t seed = uint32_t(0x9E3779B9u * (g + 1));
    SCOPED_TRACE(captions[g] + " seed " + std::to_string(seed));
    TEngineRig rig;
    FastTable(*rig.Table);
    rig.Deal(captions[g], seed);
    rig.Host.AutoMove = g % 3 == 0;
    PlayRandomly(rig, seed, kMoves);
    const TPatienceEngine& e = *rig.Engine;
    const std::string path = dir / ("game " + std::to_string(g) + ".ppg");
    std::string error;
    ASSERT_TRUE(WriteSavedGame(path, e.HistoryList, error)) << error;

    TOpened opened = Open(path, error);
    ASSERT_TRUE(opened.Rig) << error;
    ASSERT_TRUE(opened.Dealt);
    const TPatienceEngine& o = *opened.Rig->Engine;
    EXPECT_EQ(PlaySnapshot(o), PlaySnapshot(e));
    EXPECT_EQ(o.HistoryList.Lines, e.HistoryList.Lines);
    EXPECT_EQ(o.Rules.Points, e.Rules.Points);
    EXPECT_EQ(o.Rules.FoundationCount, e.Rules.FoundationCount);
    EXPECT_EQ(o.Won(), e.Won());
    EXPECT_EQ(o.Rules.SaveName, path);
    EXPECT_TRUE(PlayIsSound(o, *opened.Rig->Table));
    ++games;
    records += (e.HistoryList.Count() - 3) / 4;
  }
  std::printf("slice %d: %d games saved and replayed, %d records\n", GetParam(), games, records);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, SavedGamesAllGames, ::testing::Range(0, kSlices));

// Every cut of a saved game: before the three header lines or inside a move it is refused; at
// a move's end it is the shorter game it then is.
TEST(SavedGames, CutAtEveryLine) {
  TTempDir dir;
  for (const char* game : {"Klondike 1 [Turn over 1]", "Spider", "Aces Up"}) {
    SCOPED_TRACE(game);
    TEngineRig rig;
    FastTable(*rig.Table);
    rig.Deal(game, 4242);
    PlayRandomly(rig, 4242, 10);
    const TStringList full = rig.Engine->HistoryList;
    ASSERT_GT(full.Count(), 7);
    for (int n = 0; n < full.Count(); ++n) {
      SCOPED_TRACE("cut after " + std::to_string(n) + " lines");
      TStringList cut;
      cut.Lines.assign(full.Lines.begin(), full.Lines.begin() + n);
      const std::string path = dir / "cut.ppg";
      cut.SaveToFile(path);
      std::string error;
      TOpened opened = Open(path, error);
      const bool whole = n >= 3 && (n - 3) % 4 == 0;
      EXPECT_EQ(bool(opened.Rig), whole) << error;
      if (!whole) {
        EXPECT_FALSE(error.empty());
        continue;
      }
      ASSERT_TRUE(opened.Dealt);
      EXPECT_EQ(opened.Rig->Engine->HistoryList.Lines, cut.Lines);
    }
  }
}

// A damaged line anywhere but the open/closed mark is refused; the mark only opens or closes.
TEST(SavedGames, DamagedLinesAreRefused) {
  TTempDir dir;
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("Freecell", 77);
  PlayRandomly(rig, 77, 8);
  const TStringList full = rig.Engine->HistoryList;
  for (const char* junk : {"x", "", "1e3", "--1", "99999999999"}) {
    for (int k = 0; k < full.Count(); ++k) {
      if (k == 2) continue;
      SCOPED_TRACE("line " + std::to_string(k) + " := \"" + std::string(junk) + "\"");
      TStringList bad = full;
      bad[k] = junk;
      const std::string path = dir / "bad.ppg";
      bad.SaveToFile(path);
      std::string error;
      EXPECT_FALSE(Open(path, error).Rig);
      EXPECT_FALSE(error.empty());
    }
  }
  // Binary junk of every length up to a page.
  for (size_t len : {1u, 7u, 100u, 4096u}) {
    std::string bytes(len, '\0');
    for (size_t i = 0; i < len; ++i) bytes[i] = char((i * 131 + 7) & 0xFF);
    WriteTextFile(dir / "junk.ppg", bytes);
    std::string error;
    EXPECT_FALSE(Open(dir / "junk.ppg", error).Rig) << len;
  }
}

TEST(SavedGames, ClosedFilesOpenClosedAndThreeLinesOnlyDeal) {
  TTempDir dir;
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("Spider", 99);
  const std::string dealt = PlaySnapshot(*rig.Engine);
  TStringList lines = rig.Engine->HistoryList;
  ASSERT_EQ(lines.Count(), 3);
  for (const char* mark : {"O", "0"}) {
    lines[2] = mark;
    const std::string path = dir / "three.ppg";
    lines.SaveToFile(path);
    std::string error;
    TOpened opened = Open(path, error);
    ASSERT_TRUE(opened.Rig) << error;
    EXPECT_EQ(PlaySnapshot(*opened.Rig->Engine), dealt);
    EXPECT_EQ(opened.Rig->Engine->HistoryList[2], mark);
    EXPECT_EQ(opened.Rig->Host.Caption,
              std::string("Patience. Game: three.ppg  [") + (mark[0] == '0' ? "Closed" : "Open") + " Game]");
  }
}

}  // namespace
