// How long the table's animations and the game's deals take on the real clock, drawn into a
// memory screen: a 300 pixel MoveCard, the fly-back of a refused drop in Freecell, a plain turn, a
// lifted turn, a new Klondike deal, a new Spider deal and one Spider stock click, each at the
// game's default settings and with the "fast" switch. Every figure is split into the time the
// animation's own steps take and the time the named pauses add (the table's Delay calls, the
// deal's pauses and the waits of sounds played in mode 5). A further run of each action, not
// timed, counts the pixels it sent to the screen and the pixels that really changed there.
//
// The options are the game's defaults (auto-move on, sound on, Extended layout, animated
// redeals on; with "fast": Compact layout, animated redeals off) on a 1280 x 960 table with the
// "Standard" cards. Usage: bench_pacing [repeats]
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchTable.h"
#include "patience/catalogue/GameStart.h"
#include "patience/engine/PatienceEngine.h"
#include "patience/ui/TableSettings.h"
#include "platform/core/Clock.h"

namespace {

constexpr int kW = 1280, kH = 960;
// Set for the run that counts the changed pixels (counting costs time, so that run is not timed).
bool gCountChanges = false;

uint64_t NowUs() {
  return Clock().NowUs();
}

// The window as the engine sees it, with the default options; it keeps the time its pauses take.
class TPacingHost : public TEngineHost {
 public:
  bool Fast = false;
  uint64_t PausedUs = 0;
  void Pause(int ms) override {
    const uint64_t t = NowUs();
    Sleep(ms);
    PausedUs += NowUs() - t;
  }
  void PlaySound(const std::string&, int mode, int ms) override {
    // Mode 5 waits before it plays.
    if (mode != 5 || ms <= 0) return;
    const uint64_t t = NowUs();
    Sleep(ms);
    PausedUs += NowUs() - t;
  }
  bool SoundOn() override { return true; }
  bool AutoMoveOn() override { return FAutoMove; }
  void SetAutoMoveOption(bool on) override { FAutoMove = on; }
  bool ExtendedLayout() override { return !Fast; }
  bool AnimatedRedeals() override { return !Fast; }
  TPoint ScreenSize() override { return TPoint(1280, 1024); }

 private:
  bool FAutoMove = true;
};

// The table settings of the game's window, and what its "fast" switch changes.
void GameSettings(TCardTable& t, bool fast) {
  ApplyGameTableSettings(t);
  if (fast) ApplyFastModeSettings(t);
}

struct TScene {
  TMemorySurface Memory;
  TPacingHost Host;
  std::unique_ptr<TCardTable> Table;
  std::unique_ptr<TPatienceEngine> Engine;

  explicit TScene(bool fast) {
    Host.Fast = fast;
    Memory.CountChanges = gCountChanges;
    Table = std::make_unique<TCardTable>(&Memory, BenchCardsetsDir());
    Table->ApplyBounds(0, 0, kW, kH);
    GradientBackground(*Table);
    GameSettings(*Table, fast);
    Engine = std::make_unique<TPatienceEngine>(*Table, &Host);
    // The screen starts as the table looks.
    Memory.Paint(Table->Buffer);
  }
  uint64_t PausesUs() const { return Table->DelayedUs + Host.PausedUs; }
};

struct TFigure {
  double TotalMs = 0;
  double PausesMs = 0;
  long long SentPx = 0;     // pixels copied to the screen
  long long ChangedPx = 0;  // of those, pixels whose colour changed (counted runs only)
  double StepsMs() const { return TotalMs - PausesMs; }
};

// Runs one measured action; the figure is its wall time, the pauses inside it and its pixels.
template <class F>
TFigure Measure(TScene& scene, F&& action) {
  // A repaint the set-up left owed is served first, as the event loop serves it before the player acts.
  scene.Table->Paint();
  const uint64_t pauses = scene.PausesUs(), start = NowUs();
  const long long sent = scene.Memory.CopiedPixels, changed = scene.Memory.ChangedPixels;
  action();
  const uint64_t end = NowUs();
  return {double(end - start) / 1000.0, double(scene.PausesUs() - pauses) / 1000.0,
          scene.Memory.CopiedPixels - sent, scene.Memory.ChangedPixels - changed};
}

void Deal(TScene& scene, const char* caption, uint32_t seed) {
  scene.Engine->SetRandomSeed(seed);
  if (scene.Engine->Rules.GameName == caption) {
    scene.Engine->NewDeal();
    return;
  }
  if (!StartGameByCaption(*scene.Engine, caption)) {
    std::fprintf(stderr, "No game \"%s\"\n", caption);
    std::exit(2);
  }
}

TCard* LoneCard(TCardTable& t, int x, int y) {
  t.CollectCards();
  TCard* c = t.CardDeck()->NextCard();
  c->FaceUp = true;
  t.AddCard(c, x, y);
  return c;
}

// A card crossing 300 pixels of bare table.
TFigure Move300(bool fast) {
  TScene scene(fast);
  TCard* c = LoneCard(*scene.Table, 100, 500);
  return Measure(scene, [&] { scene.Table->MoveCard(c, 400, 500); });
}

// A turn of a lone card: the squeezed turn (lift off) or the lifted one (lift as set).
TFigure Turn(bool fast, bool lifted) {
  TScene scene(fast);
  if (!lifted) scene.Table->TurnOverAnimationLift = false;
  TCard* c = LoneCard(*scene.Table, 300, 300);
  return Measure(scene, [&] { scene.Table->TurnOverCard(c); });
}

// A Freecell card dragged off its column and let go over the bare table below the columns: the
// drop is refused and the card flies home.
TFigure FlyBack(bool fast, uint32_t seed) {
  TScene scene(fast);
  Deal(scene, "Freecell", seed);
  TCardTable& t = *scene.Table;
  const TCardList& pile = scene.Engine->Rules.TableauPiles[2];
  TCard* c = pile.back();
  const int w = t.CardDeck()->CardWidth, h = t.CardDeck()->CardHeight;
  const int x = c->X + w / 2, y = c->Y + h / 2;
  t.MouseDown(mbLeft, ssLeft, x, y);
  const int tx = x + 150, ty = std::min(y + 250, kH - h);
  for (int k = 1; k <= 10; ++k) t.MouseMove(ssLeft, x + (tx - x) * k / 10, y + (ty - y) * k / 10);
  return Measure(scene, [&] { t.MouseUp(mbLeft, 0, tx, ty); });
}

TFigure NewDeal(bool fast, const char* caption, uint32_t seed) {
  TScene scene(fast);
  // The game is chosen once; the figure is a new deal of it, as the New command deals.
  Deal(scene, caption, seed);
  return Measure(scene, [&] { Deal(scene, caption, seed + 1); });
}

TFigure SpiderStockClick(bool fast, uint32_t seed) {
  TScene scene(fast);
  Deal(scene, "Spider", seed);
  TCardTable& t = *scene.Table;
  const TPoint stock = scene.Engine->StockPlace();
  const int x = stock.X + 20, y = stock.Y + 20;
  return Measure(scene, [&] {
    t.MouseDown(mbLeft, ssLeft, x, y);
    t.MouseUp(mbLeft, 0, x, y);
  });
}

struct TRow {
  const char* Name;
  TFigure Normal, Fast;
  TFigure NormalPixels, FastPixels;  // the counted runs
};

// The median of the repeats by total time.
template <class F>
TFigure Median(int repeats, F&& f) {
  std::vector<TFigure> runs;
  for (int i = 0; i < repeats; ++i) runs.push_back(f(i));
  std::sort(runs.begin(), runs.end(),
            [](const TFigure& a, const TFigure& b) { return a.TotalMs < b.TotalMs; });
  return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  std::vector<TRow> rows;
  auto both = [&](const char* name, auto&& f) {
    TRow row{name,
             Median(repeats, [&](int i) { return f(false, i); }),
             Median(repeats, [&](int i) { return f(true, i); }),
             {},
             {}};
    gCountChanges = true;
    row.NormalPixels = f(false, 0);
    row.FastPixels = f(true, 0);
    gCountChanges = false;
    rows.push_back(row);
  };
  both("MoveCard 300 px", [](bool fast, int) { return Move300(fast); });
  both("Freecell fly-back", [](bool fast, int i) { return FlyBack(fast, 1000 + uint32_t(i)); });
  both("plain turn", [](bool fast, int) { return Turn(fast, false); });
  both("lifted turn", [](bool fast, int) { return Turn(fast, true); });
  both("new Klondike deal",
       [](bool fast, int i) { return NewDeal(fast, "Klondike 1 [Turn over 1]", 2000 + uint32_t(i)); });
  both("new Spider deal", [](bool fast, int i) { return NewDeal(fast, "Spider", 3000 + uint32_t(i)); });
  both("Spider stock click", [](bool fast, int i) { return SpiderStockClick(fast, 4000 + uint32_t(i)); });

  std::printf("Pacing on the real clock, memory screen, %d x %d table, median of %d (ms)\n", kW, kH, repeats);
  std::printf("%-20s | %9s %9s %9s | %9s %9s %9s\n", "", "default", "", "", "fast", "", "");
  std::printf("%-20s | %9s %9s %9s | %9s %9s %9s\n", "action", "steps", "pauses", "total", "steps", "pauses",
              "total");
  for (const TRow& r : rows)
    std::printf("%-20s | %9.1f %9.1f %9.1f | %9.1f %9.1f %9.1f\n", r.Name, r.Normal.StepsMs(),
                r.Normal.PausesMs, r.Normal.TotalMs, r.Fast.StepsMs(), r.Fast.PausesMs, r.Fast.TotalMs);
  std::printf("\nPixels to the screen (megapixels): sent, of them changed, sent / changed\n");
  std::printf("%-20s | %9s %9s %9s | %9s %9s %9s\n", "action", "default", "changed", "ratio", "fast",
              "changed", "ratio");
  auto ratio = [](const TFigure& f) {
    return f.ChangedPx > 0 ? double(f.SentPx) / double(f.ChangedPx) : 0.0;
  };
  for (const TRow& r : rows)
    std::printf("%-20s | %9.2f %9.2f %9.1f | %9.2f %9.2f %9.1f\n", r.Name, r.NormalPixels.SentPx / 1e6,
                r.NormalPixels.ChangedPx / 1e6, ratio(r.NormalPixels), r.FastPixels.SentPx / 1e6,
                r.FastPixels.ChangedPx / 1e6, ratio(r.FastPixels));
  return 0;
}
