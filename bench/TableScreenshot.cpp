// Draws a table offscreen and writes what the widget shows to a PNG: a gradient background, the
// stock pile with its steps, a waste pile, fanned columns, turned cards, empty-pile markers upright
// and turned, the high-quality drop shade and a lifted card with its shadow.
//
//   table_screenshot [out.png]
#include <QApplication>
#include <QImage>
#include <cstdio>

#include "bench/BenchTable.h"
#include "cardtable/CardTableWidget.h"
#include "platform/core/Clock.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string out = argc > 1 ? argv[1] : "table.png";
  TVirtualClock clock;
  TScopedClock scoped(clock);

  QWidget window;
  window.resize(960, 640);
  auto* view = new TCardTableWidget(&window);
  TCardTable table(view, BenchCardsetsDir());
  window.show();
  table.SetAlign(alClient);
  view->FollowForm();
  table.SetPlaceDeckOffset(7);
  GradientBackground(table);
  TCardDeck& d = *table.CardDeck();
  d.Shuffle();

  // Foundations: two empty markers upright, two turned; tableau markers in the empty columns.
  table.ShowPlace(1, 420, 20, 1, nullptr, 0.0f, true);
  table.ShowPlace(1, 510, 20, 2, nullptr, 0.0f, true);
  table.ShowPlace(1, 615, 20, 3, nullptr, 0.35f, true);
  table.ShowPlace(1, 720, 20, 4, nullptr, -0.35f, true);
  table.ShowPlace(0, 620, 160, 1, nullptr, 0.0f, true);
  table.ShowPlace(0, 710, 160, 2, nullptr, 0.0f, true);

  // The stock pile, dealt from into fanned columns: face down, the last card of each face up.
  table.DrawDeck(20, 20);
  for (int col = 0; col < 6; ++col)
    for (int row = 0; row <= col; ++row) {
      TCard* c = table.DealCard();
      if (row == col) table.TurnOverCard(c);
      table.MoveCard(c, 20 + col * 95, 160 + row * 22);
    }
  // A waste pile beside the stock.
  for (int i = 0; i < 3; ++i) {
    TCard* c = table.DealCard();
    c->FaceUp = true;
    table.MoveCard(c, 120 + i * 16, 20);
  }
  // A foundation holding a card, and cards turned at angles.
  TCard* f = table.DealCard();
  f->FaceUp = true;
  table.MoveCard(f, 420, 20);
  const float angles[] = {0.3f, -0.6f, 1.5707964f};
  for (int i = 0; i < 3; ++i) {
    TCard* c = table.DealCard();
    c->FaceUp = i != 1;
    table.MoveCard(c, 120 + i * 130, 470);
    table.RotateCard(c, angles[i]);
  }
  // The drop shade under a free column and a card held over it with its shadow.
  table.ShowPlace(6, 800, 160, 1, nullptr, 0.0f, true);
  TCard* held = table.DealCard();
  table.RemoveCard(held);  // off the top of the pile, into the hand
  held->FaceUp = true;
  table.DragCard = held;
  table.DrawDragShadow(812, 300, nullptr);
  table.DrawCard(held, 812, 300, nullptr, true, 0.0f);
  held->Displayed = true;
  table.CopyToScreen(812, 300, 71 + 4, 96 + 4);
  QCoreApplication::processEvents();

  const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage buffer = table.Buffer.ToQImage();
  if (!shot.save(QString::fromStdString(out))) {
    std::fprintf(stderr, "Cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s: %dx%d, the widget shows %s the buffer\n", out.c_str(), shot.width(), shot.height(),
              shot == buffer ? "exactly" : "something other than");
  return 0;
}
