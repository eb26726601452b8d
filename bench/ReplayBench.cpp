// How long opening a saved game takes: a 300-move game (random legal play, made here) written to
// a file, then read, checked, dealt from its seed and replayed on a fresh table with a memory
// screen and the real clock, as the Open command does it. Prints the replay of the moves alone
// and the whole open with the deal's own pacing, each the best and the median of several runs.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/BenchTable.h"
#include "patience/catalogue/GameStart.h"
#include "patience/files/SavedGame.h"
#include "patience/ui/SavedGames.h"

namespace {

constexpr int kMoves = 300;
constexpr int kRuns = 7;

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

struct TRig {
  TMemorySurface Surface;
  TCardTable Table;
  TEngineHost Host;
  TPatienceEngine Engine;
  TRig() : Table(&Surface, BenchCardsetsDir()), Engine(Table, &Host) {
    Table.SetBounds(0, 0, 1280, 960);
    Table.ApplyBounds(0, 0, 1280, 960);
  }
};

// The piles a card lies in, as a record names its source; false when it lies in none.
bool SourceOf(const TPatienceEngine& e, const TCard* c, int& kind, int& pile, int& index) {
  const TGameRules& r = e.Rules;
  auto in = [&](const std::vector<TCardList>& piles, int k) {
    for (size_t p = 0; p < piles.size(); ++p)
      for (size_t i = 0; i < piles[p].size(); ++i)
        if (piles[p][i] == c) {
          kind = k, pile = int(p), index = int(i);
          return true;
        }
    return false;
  };
  if (in(r.TableauPiles, pkTableau) || in(r.FoundationPiles, pkFoundation) || in(r.ExceptPileCards, pkExcept))
    return true;
  for (size_t s = 0; s < r.ReserveCards.size(); ++s)
    if (r.ReserveCards[s] == c) return kind = pkReserve, pile = index = int(s), true;
  for (size_t s = 0; s < r.WasteCards.size(); ++s)
    if (r.WasteCards[s] == c) return kind = pkWaste, pile = index = int(s), true;
  return false;
}

// A game of kMoves records that all move something: random drags of the draggable cards tried
// on the drop points, stock clicks when nothing goes; refused tries are left out of the file.
TStringList MakeGame(const char* caption, uint32_t seed) {
  TRig rig;
  rig.Table.SetCardSpeed(4096);
  rig.Table.SetTurnOverAnimationSpeed(0);
  rig.Engine.SetRandomSeed(seed);
  StartGameByCaption(rig.Engine, caption);
  TPatienceEngine& e = rig.Engine;
  TStringList game;
  for (int k = 0; k < 3; ++k) game.Add(e.HistoryList[k]);
  TRandom rng(seed);
  int tries = 0;
  while ((game.Count() - 3) / 4 < kMoves && tries < 200000) {
    ++tries;
    bool moved = false;
    std::vector<TCard*> cards;
    for (TCard* c : e.DraggableList)
      if (c) cards.push_back(c);
    if (!cards.empty() && !e.DropPointList.empty() && rng.Random(5) != 0) {
      TCard* c = cards[size_t(rng.Random(int(cards.size())))];
      int kind = 0, pile = 0, index = 0;
      if (SourceOf(e, c, kind, pile, index))
        moved = e.MakeMove(kind, pile, index, rng.Random(int(e.DropPointList.size())));
    } else {
      const int before = e.UndoPointer;
      if (e.CanRedeal())
        e.ReDealWastepileExecute();
      else
        e.MakeMove(pkStockClick, 0, 0, 0);
      moved = e.UndoPointer != before;
    }
    const int n = e.HistoryList.Count();
    if (moved)
      for (int k = n - 4; k < n; ++k) game.Add(e.HistoryList[k]);
  }
  return game;
}

void Report(const char* what, std::vector<double> t) {
  std::sort(t.begin(), t.end());
  std::printf("  %-44s best %7.1f ms   median %7.1f ms\n", what, t.front() * 1000, t[t.size() / 2] * 1000);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string path = "/tmp/patience-replay-bench.ppg";
  std::printf("Opening a saved game of %d moves (real clock, 1280 x 960 table, memory screen):\n", kMoves);
  for (const char* caption : {"Spider", "Klondike 1 [Turn over 1]", "Freecell"}) {
    const TStringList game = MakeGame(caption, 20261209);
    std::string error;
    if (!WriteSavedGame(path, game, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    std::vector<double> moves, whole;
    for (int run = 0; run < kRuns; ++run) {
      TRig rig;
      const auto t0 = std::chrono::steady_clock::now();
      const std::optional<TSavedGame> saved = ReadMenuSavedGame(path, error);
      if (!saved) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
      }
      ReplaySavedGame(rig.Engine, *saved, path);
      const auto t1 = std::chrono::steady_clock::now();
      whole.push_back(Seconds(t0, t1));
      // The moves alone: the same file replayed onto a fresh deal of its game.
      TRig again;
      again.Engine.SetRandomSeed(saved->Seed);
      StartGameByCaption(again.Engine, saved->Lines[0]);
      const auto t2 = std::chrono::steady_clock::now();
      {
        TSavedGame onlyMoves = *saved;
        // ReplaySavedGame deals again; ReplayMoves alone replays onto the deal made above, with
        // the same top speeds the open uses.
        TCardTable& t = again.Table;
        const int speed = t.CardSpeed(), turn = t.TurnOverAnimationSpeed();
        t.SetCardSpeed(speed * 64);
        t.SetTurnOverAnimationSpeed(turn * 64);
        t.TurnOverAnimationLift = false;
        t.SlowMoveRegion = false;
        t.SMR_WaitMode = false;
        again.Engine.ReplayMoves(onlyMoves.Lines);
      }
      const auto t3 = std::chrono::steady_clock::now();
      moves.push_back(Seconds(t2, t3));
      if (run == 0 && again.Engine.HistoryList.Lines != saved->Lines.Lines)
        std::printf("  (the replay's history differs from the file)\n");
    }
    std::printf("%s: %d records\n", caption, (game.Count() - 3) / 4);
    Report("replay of the moves (goal <= 200 ms)", moves);
    Report("whole open: check, deal with its pauses, replay", whole);
  }
  std::remove(path.c_str());
  return 0;
}
