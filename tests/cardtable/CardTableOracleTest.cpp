// Seeded random sequences of everything the table draws: deals from a drawn pile, cards added,
// removed, moved, turned to an angle and turned over, dragged by the mouse (from the list or the
// stock, over drop points) and dropped or sent home, places shown and hidden, backgrounds changed,
// the table resized and collected. After every step a fresh recomposition must equal the buffer and
// the screen at rest must equal the buffer; at the end, taking everything off leaves the bare
// background.
//
// The sequences keep to how the table is used: cards rest beside the stock pile and the place
// markers (which are never lifted under cards), a dealt card is moved off the pile at once, and a
// card that starts its move under others is moved to a free spot.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "platform/core/Random.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

constexpr int kPileX = 10, kPileY = 10;
constexpr int kSlots = 6;

class OracleSequenceTest : public TCardTableTest, public ::testing::WithParamInterface<uint32_t> {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
    Table->ApplyBounds(0, 0, 640, 480);
    Table->SetPlaceDeckOffset(7);
    TBitmap tile(37, 23);
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 37; ++x) tile.SetPixel(x, y, RGB(x * 6, 90 + y * 5, 140));
    tile.SaveToFile(Dir / "tile.bmp");
  }

  int R(int n) { return Rng.Random(n); }
  bool Chance(int percent) { return R(100) < percent; }
  float AnyAngle() {
    static const float kAngles[] = {0.0f, 0.25f, -0.5f, 1.5707964f, 2.0f, -1.5707964f, 3.1415927f};
    return kAngles[R(7)];
  }
  TCard* AnyListed() {
    return Table->TableCount ? Table->TableCards[size_t(1 + R(Table->TableCount))] : nullptr;
  }
  TPoint AnySpot() { return TPoint(60 + R(Table->Width() - 100), 10 + R(Table->Height() - 60)); }
  // A spot where an upright card would touch no other card.
  bool FreeSpot(const TCard* self, TPoint& p) {
    for (int attempt = 0; attempt < 60; ++attempt) {
      p = AnySpot();
      const TRect r = Bounds(p.X, p.Y, 30, 40);
      bool free = true;
      for (int i = 1; i <= Table->TableCount && free; ++i) {
        const TCard* c = Table->TableCards[size_t(i)];
        if (c == self) continue;
        const TRect o = Table->CardRect(c);
        free =
            o.Right + 2 <= r.Left || r.Right + 2 <= o.Left || o.Bottom + 2 <= r.Top || r.Bottom + 2 <= o.Top;
      }
      if (free) return true;
    }
    return false;
  }
  bool Covered(const TCard* c) {
    const TRect r = Table->CardRect(c);
    for (int i = Table->DisplayIndex(c) + 1; i <= Table->TableCount; ++i)
      if (!IntersectRect(r, Table->CardRect(Table->TableCards[size_t(i)])).IsEmpty()) return true;
    return false;
  }
  bool PileDrawn() {
    for (int i = Deck().Dealt + 1; i <= Deck().CardCount; ++i)
      if (Deck().Cards[size_t(i)]->Displayed) return true;
    return false;
  }
  void MoveOff(TCard* c) {
    if (!c) return;
    TPoint p;
    if (FreeSpot(c, p)) Table->MoveCard(c, p.X, p.Y);
  }

  // A drag by the mouse from a listed card or the stock, answered with a drop or a restore.
  std::string DragOp() {
    Table->DragAndDrop = true;
    Table->DragFromDeck = Chance(50);
    Table->DragFaceDown = true;
    Table->LiftOffset = Chance(50);
    Table->HQDragShade = Chance(50);
    Table->SetAutoShadeMode(1 + R(3));
    Table->SetHQDragShadeColour(R(8));
    TDropPoints points;
    TDropAngles angles;
    for (int i = R(4); i > 0; --i) {
      points.push_back(AnySpot());
      angles.push_back(Chance(30) ? 0.4f * float(R(5) - 2) : 0.0f);
    }
    Table->SetDropPoints(points);
    Table->SetDropAngles(Chance(50) ? angles : TDropAngles{});
    TPoint at(kPileX + 5, kPileY + 5);
    if (Chance(75)) {
      TCard* c = AnyListed();
      if (!c) return "drag (none)";
      at = TPoint(c->X + 1 + R(28), c->Y + 1 + R(38));
    }
    Table->OnCardDropEvent = [this](TCard*, int, int, int, int, int index) {
      if (Chance(40)) {
        Table->RestoreCard();
        return;
      }
      const TPoint p = index >= 0 ? Table->DropPoints[size_t(index)] : AnySpot();
      Table->DropCard(p.X, p.Y, Chance(70), Chance(25) ? AnyAngle() : 0.0f);
    };
    Table->MouseDown(mbLeft, ssLeft, at.X, at.Y);
    if (!Table->DragCard) return "drag (no card)";
    TPoint last = at;
    for (int i = R(7); i > 0; --i) {
      last = Chance(50) || points.empty() ? AnySpot() : points[size_t(R(int(points.size())))];
      last.X += R(20) - 10;
      last.Y += R(20) - 10;
      Table->MouseMove(ssLeft, last.X, last.Y);
    }
    Table->MouseUp(mbLeft, 0, last.X, last.Y);
    if (Table->DragCard) return "drag (unanswered)";
    ++Drags;
    return "drag";
  }

  // One random step; returns its name.
  std::string Step() {
    if (R(100) < 12) return DragOp();
    const int op = R(100);
    if (op < 15) {
      if (!PileDrawn()) Table->DrawDeck(kPileX, kPileY);
      MoveOff(Table->DealCard());
      return "deal";
    }
    if (op < 18) {
      // A fan dealt down a column, each card overlapping the one before.
      if (!PileDrawn()) Table->DrawDeck(kPileX, kPileY);
      TPoint p;
      if (!FreeSpot(nullptr, p)) return "fan (no room)";
      const int n = 2 + R(4);
      for (int k = 0; k < n; ++k)
        if (TCard* c = Table->DealCard()) {
          c->FaceUp = k == n - 1 || Chance(30);
          Table->MoveCard(c, p.X, std::min(p.Y + 12 * k, Table->Height() - 40));
        }
      return "fan";
    }
    if (op < 20) {
      if (Deck().CardsLeft(false) == 0) return "deal nth (empty)";
      MoveOff(Table->DealNthCard(1 + R(Deck().CardsLeft(false)), kPileX, kPileY));
      return "deal nth";
    }
    if (op < 30) {
      std::vector<TCard*> off;
      for (int i = 1; i <= Deck().Dealt; ++i)
        if (!Deck().Cards[size_t(i)]->Displayed && Deck().Cards[size_t(i)]->State == 1)
          off.push_back(Deck().Cards[size_t(i)].get());
      if (off.empty()) return "add (none)";
      TCard* c = off[size_t(R(int(off.size())))];
      c->FaceUp = Chance(70);
      const TPoint p = AnySpot();
      Table->AddCard(c, p.X, p.Y, Chance(30) ? AnyAngle() : 0.0f);
      return "add";
    }
    if (op < 40) {
      if (TCard* c = AnyListed()) Table->RemoveCard(c);
      return "remove";
    }
    if (op < 55) {
      TCard* c = AnyListed();
      if (!c) return "move (none)";
      TPoint p = AnySpot();
      if (Covered(c) && !FreeSpot(c, p)) return "move (no room)";
      Table->FastMovementMode = Chance(50);
      Table->SlowMoveRegion = Chance(30);
      Table->MoveCard(c, p.X, p.Y);
      return "move";
    }
    if (op < 65) {
      if (TCard* c = AnyListed()) Table->RotateCard(c, AnyAngle());
      return "rotate";
    }
    if (op < 75) {
      TCard* c = AnyListed();
      if (!c) return "turn (none)";
      static const int kSpeeds[] = {0, 8, 13, 40};
      Table->SetTurnOverAnimationSpeed(kSpeeds[R(4)]);
      Table->TurnOverAnimationLift = Chance(50);
      Table->LiftOffset = Chance(50);
      Table->TurnOverAnimationVertical = Chance(60);
      Table->TurnOverCard(c);
      return "turn";
    }
    if (op < 80) {
      switch (R(4)) {
        case 0:
          Table->SetColor(RGB(R(256), R(256), R(256)));
          return "colour";
        case 1: {
          TBackdrop& bd = Table->BackDrop();
          bd.SetNewMode(Chance(70));
          bd.SetNewColorFrom(RGB(R(256), R(256), R(256)));
          bd.SetNewColorTo(RGB(R(256), R(256), R(256)));
          bd.SetNewType(TGradientStyle(R(4)));
          bd.SetDirection(TFillDirection(R(4)));
          if (!bd.Enabled())
            bd.SetEnabled(true);
          else
            Table->BackdropChanged();
          return "gradient";
        }
        default:
          Table->SetStretchBackground(Chance(50));
          Table->SetBackgroundPicture(Dir / "tile.bmp");
          return "picture";
      }
    }
    if (op < 87) {
      const int k = R(kSlots);
      if (Deck().Places[size_t(TCardTable::FirstPlaceIndex(k))].Shown)
        Table->HidePlace(k, 1, nullptr, true);
      else
        Table->ShowPlace(k, 10, 70 + 55 * k, 1, nullptr, Chance(40) ? 0.6f * float(R(5) - 2) : 0.0f, true);
      return "place";
    }
    if (op < 90) {
      Table->DrawDeck(kPileX + R(3), kPileY + R(3));
      return "draw pile";
    }
    if (op < 92) {
      Table->CollectCards();
      Deck().Shuffle(Rng);
      Table->DrawDeck(kPileX, kPileY);
      return "collect";
    }
    if (op < 94) {
      Table->ApplyBounds(0, 0, Chance(50) ? 560 : 640, Chance(50) ? 420 : 480);
      return "resize";
    }
    // A few changes while the screen is held, then one paint.
    Table->SetScreenUpdates(false);
    for (int i = 0; i < 3; ++i)
      if (TCard* c = AnyListed()) {
        if (Chance(50))
          Table->RotateCard(c, AnyAngle());
        else
          Table->RemoveCard(c);
      }
    Table->SetScreenUpdates(true);
    Table->Paint();
    return "held";
  }

  TRandom Rng;
  int Drags = 0;
};

TEST_P(OracleSequenceTest, BufferAndScreenMatchAFreshRecompositionAfterEveryStep) {
  Rng = TRandom(GetParam());
  Deck().Shuffle(Rng);
  Table->ShadowMode = Chance(50) ? smDarken : smOriginal;
  Table->DrawDeck(kPileX, kPileY);
  for (int step = 1; step <= 160; ++step) {
    const std::string name = Step();
    ASSERT_TRUE(Consistent()) << "step " << step << ": " << name;
    ASSERT_TRUE(ScreenAtRest()) << "step " << step << ": " << name;
  }
  EXPECT_GE(Drags, 8);
  // Everything off: the bare background.
  while (Table->TableCount > 0) Table->RemoveCard(AnyListed());
  Table->EraseStockPile();
  Table->HidePlaces();
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

INSTANTIATE_TEST_SUITE_P(Seeds, OracleSequenceTest, ::testing::Values(1u, 42u, 2024u, 99991u));

}  // namespace
