// Costs of the card table's drawing on a 1920 x 1080 table with the "Standard" cards (71 x 96):
// - one step of a card crossing the table with its shadow: erase the card and its shadow, draw the
//   shadow and the card, copy the changed rectangle to the screen (memory screen or the Qt widget);
//   for comparison the same step with a whole-table paint;
// - one drag step (card, shadow and drop shade following the pointer);
// - the full redraw with 104 cards on the table, and the background changes that include it;
// - the settings file written to memory and read back.
// The clock is virtual, so frame pacing adds no waiting to the figures.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench/BenchTable.h"
#include "cardtable/CardTableWidget.h"
#include "platform/core/Clock.h"

namespace {

constexpr int kW = 1920, kH = 1080;

// A kW x kH table on the virtual clock, drawn to the memory screen or to a Qt widget in a window.
struct TBenchScene {
  TVirtualClock Clock;
  TScopedClock Scoped{Clock};
  TMemorySurface Memory;
  std::unique_ptr<QWidget> Window;
  TCardTableWidget* View = nullptr;
  std::unique_ptr<TCardTable> Table;

  explicit TBenchScene(bool widget) {
    TTableSurface* surface = &Memory;
    if (widget) {
      Window = std::make_unique<QWidget>();
      Window->resize(kW, kH);
      View = new TCardTableWidget(Window.get());
      surface = View;
    }
    Table = std::make_unique<TCardTable>(surface, BenchCardsetsDir());
    if (Window) Window->show();
    Table->ApplyBounds(0, 0, kW, kH);
  }
};

struct TMoveScene : TBenchScene {
  TCard* Moving = nullptr;

  explicit TMoveScene(bool widget) : TBenchScene(widget) {
    GradientBackground(*Table);
    DealFans(*Table, 40, 10, 60, 60, 180, 22);
    Moving = Table->CardDeck()->NextCard();
    Moving->FaceUp = true;
    Table->AddCard(Moving, 0, 150);
    Table->FastMovementMode = true;
    QCoreApplication::processEvents();
  }
};

// One step of a card crossing the table over the fans, with its shadow. Arguments: shadow mode
// (0 darkened with a soft edge, 1 plain strips), screen (0 memory, 1 Qt widget), copy (0 changed
// rectangle, 1 whole table).
void BM_MoveStep(benchmark::State& state) {
  TMoveScene scene(state.range(1) == 1);
  TCardTable& t = *scene.Table;
  t.ShadowMode = state.range(0) == 0 ? smDarken : smOriginal;
  t.FastMovementMode = state.range(2) == 0;
  int64_t steps = 0;
  bool right = true;
  for (auto _ : state) {
    t.MoveCard(scene.Moving, right ? kW - 71 : 0, 150);
    right = !right;
    // 1849 pixels at 32 a step, then the card is put down without its shadow.
    steps += (kW - 71 + 31) / 32;
  }
  state.counters["steps"] = double(steps);
  state.counters["per_step"] =
      benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MoveStep)
    ->ArgNames({"original", "widget", "whole"})
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 1, 0})
    ->Args({0, 0, 1})
    ->Args({0, 1, 1})
    ->Unit(benchmark::kMillisecond);

// One drag step: the pointer moves 16 pixels along a row of drop points over the fans, the card
// and its darkened shadow follow, and the drop shade (largest overlap) moves from point to point.
// Arguments: high-quality shade (1) or the plain "Shade" picture (0), screen (0 memory, 1 Qt widget).
void BM_DragStep(benchmark::State& state) {
  TMoveScene scene(state.range(1) == 1);
  TCardTable& t = *scene.Table;
  t.DragAndDrop = true;
  t.HQDragShade = state.range(0) == 1;
  TDropPoints points;
  for (int i = 0; i < 10; ++i) points.push_back(TPoint(60 + 180 * i, 400));
  t.SetDropPoints(points);
  t.MouseDown(mbLeft, ssLeft, 10, 160);
  int x = 10, dx = 16, shades = 0, last = -1;
  for (auto _ : state) {
    x += dx;
    if (x > kW - 80 || x < 10) dx = -dx;
    t.MouseMove(ssLeft, x, 420);
    if (t.ShadedDropPoint != last) ++shades;
    last = t.ShadedDropPoint;
  }
  t.MouseUp(mbLeft, 0, x, 420);
  state.counters["shade_changes"] = double(shades);
}
BENCHMARK(BM_DragStep)
    ->ArgNames({"hq", "widget"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

// Writing the settings file's bytes and reading them back into the table (with its redraws).
void BM_StatusRoundTrip(benchmark::State& state) {
  TMoveScene scene(false);
  TCardTable& t = *scene.Table;
  for (auto _ : state) {
    const std::string data = t.StatusData();
    t.ApplyStatusData(data);
  }
}
BENCHMARK(BM_StatusRoundTrip)->Unit(benchmark::kMillisecond);

struct TFullScene : TBenchScene {
  explicit TFullScene(bool widget) : TBenchScene(widget) {
    Table->CardDeck()->SetCardCount(104);
    DealFans(*Table, 104, 13, 40, 60, 142, 28);
    // Two turned cards and four markers, as a game with foundations at an angle would show them.
    Table->RotateCard(Table->TableCards[8], 0.3f);
    Table->RotateCard(Table->TableCards[16], -0.3f);
    for (int i = 1; i <= 4; ++i) Table->ShowPlace(1, 40 + 160 * i, 800, i, nullptr, 0.0f, false);
    QCoreApplication::processEvents();
  }
};

// RedrawAll alone: 104 cards with fresh save-unders (the picture under them already painted).
void BM_RedrawAll104(benchmark::State& state) {
  TFullScene scene(false);
  for (auto _ : state) scene.Table->RedrawAll();
  state.counters["cards"] = double(scene.Table->TableCount);
}
BENCHMARK(BM_RedrawAll104)->Unit(benchmark::kMillisecond);

// A new plain colour: a new buffer, the fill, RedrawAll and the repaint request.
void BM_SetColor104(benchmark::State& state) {
  TFullScene scene(false);
  TColor c = 0x206020;
  for (auto _ : state) {
    scene.Table->SetColor(c);
    c ^= 0x000101;
  }
}
BENCHMARK(BM_SetColor104)->Unit(benchmark::kMillisecond);

// The gradient background painted again, then RedrawAll.
void BM_Gradient104(benchmark::State& state) {
  TFullScene scene(false);
  GradientBackground(*scene.Table);
  for (auto _ : state) scene.Table->BackdropChanged();
}
BENCHMARK(BM_Gradient104)->Unit(benchmark::kMillisecond);

// The whole table to the screen: memory screen (0) or the Qt widget (1).
void BM_PaintWholeTable(benchmark::State& state) {
  TFullScene scene(state.range(0) == 1);
  for (auto _ : state) scene.Table->Paint();
}
BENCHMARK(BM_PaintWholeTable)->ArgName("widget")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
