// How long opening a saved game takes: a 300-move game (random legal play, made here) written to
// a file, then read, checked, dealt from its seed and replayed on a fresh table with a memory
// screen and the real clock, as the Open command does it. Prints the replay of the moves alone,
// the whole open, and the open of the same file without its moves (the deal, which keeps its own
// pacing); each the best and the median of several runs.
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

// The source of a card as a drop's record names it (the engine's own search); false when it lies
// in no pile.
bool SourceOf(const TPatienceEngine& e, const TCard* c, TPileKind& kind, int& pile, int& index) {
  TPilePos pos;
  if (!e.FindSource(c, kind, pos, pile)) return false;
  index = kind == pkTableau || kind == pkFoundation || kind == pkExcept ? pos.Index : 0;
  return true;
}

// A game of kMoves records that all move something: random drags of the draggable cards tried
// on the drop points, stock clicks when nothing goes; refused tries are left out of the file.
TStringList MakeGame(const char* caption, uint32_t seed) {
  TRig rig;
  rig.Table.SetCardSpeed(4096);
  rig.Table.SetTurnOverAnimationSpeed(0);
  rig.Table.FramePeriodMs = 0;
  rig.Table.StepPeriodMs = 0;
  rig.Engine.SetRandomSeed(seed);
  StartGameByCaption(rig.Engine, caption);
  TPatienceEngine& e = rig.Engine;
  TStringList game;
  for (int k = 0; k < 3; ++k) game.Add(e.HistoryList[k]);
  TRandom rng(seed);
  int tries = 0;
  while ((game.Count() - 3) / 4 < kMoves && tries < 400000) {
    ++tries;
    bool moved = false;
    std::vector<TCard*> cards;
    for (TCard* c : e.DraggableList)
      if (c) cards.push_back(c);
    if (!cards.empty() && !e.DropPointList.empty() && rng.Random(8) != 0) {
      // A random card to each drop point in turn, from a random one, until one takes it.
      TCard* c = cards[size_t(rng.Random(int(cards.size())))];
      TPileKind kind = pkTableau;
      int pile = 0, index = 0;
      const int points = int(e.DropPointList.size());
      const int first = rng.Random(points);
      for (int k = 0; k < points && !moved && SourceOf(e, c, kind, pile, index); ++k, ++tries)
        moved = e.MakeMove(kind, pile, index, (first + k) % points);
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
  std::vector<std::string> games = {"Klondike 1 [Turn over 1]", "Spider", "Yukon"};
  if (argc > 1) games.assign(argv + 1, argv + argc);
  for (const std::string& name : games) {
    const char* caption = name.c_str();
    const TStringList game = MakeGame(caption, 20261209);
    std::string error;
    if (!WriteSavedGame(path, game, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    // The same game without its moves: the deal alone, on the same road.
    TStringList header = game;
    header.Lines.resize(3);
    const std::string dealPath = path + ".deal.ppg";
    WriteSavedGame(dealPath, header, error);
    auto open = [&](const std::string& file, const TStringList* expect) {
      TRig rig;
      const auto t0 = std::chrono::steady_clock::now();
      const std::optional<TSavedGame> saved = ReadMenuSavedGame(file, error);
      if (!saved) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
      }
      ReplaySavedGame(rig.Engine, *saved, file);
      const double t = Seconds(t0, std::chrono::steady_clock::now());
      if (expect && rig.Engine.HistoryList.Lines != expect->Lines)
        std::printf("  (the replay's history differs from the file)\n");
      return t;
    };
    std::vector<double> moves, whole, deal;
    for (int run = 0; run < kRuns; ++run) {
      deal.push_back(open(dealPath, nullptr));
      whole.push_back(open(path, &game));
      // The moves alone: the file's records replayed onto a fresh deal of its game, at the speed
      // the open replays them.
      TRig rig;
      rig.Engine.SetRandomSeed(20261209);
      StartGameByCaption(rig.Engine, caption);
      TReplaySpeed speed(&rig.Table);
      const auto t0 = std::chrono::steady_clock::now();
      rig.Engine.ReplayMoves(game);
      moves.push_back(Seconds(t0, std::chrono::steady_clock::now()));
    }
    std::remove(dealPath.c_str());
    int drops = 0;
    for (int k = 3; k < game.Count(); k += 4) drops += game[k] != "6" && game[k] != "7";
    std::printf("%s: %d records, %d of them drags\n", caption, (game.Count() - 3) / 4, drops);
    Report("replay of the moves (goal <= 200 ms)", moves);
    Report("whole open: read, check, deal, replay", whole);
    Report("the same file without its moves (the deal)", deal);
  }
  std::remove(path.c_str());
  return 0;
}
