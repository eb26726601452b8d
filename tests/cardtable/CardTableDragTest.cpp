// Dragging on the table core: the drop shade decision and the step lengths on hand-worked tables,
// then press, move and release sequences with the owner's answers (drop, restore), checked against
// a fresh recomposition of the table, the screen at rest, and the events raised.
#include <gtest/gtest.h>

#include <functional>

#include "platform/graphics/Raster.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

constexpr float kQuarter = 1.5707964f;

// ---------------------------------------------------------------------------------------------
// The drop shade decision

const TPoint kCard(30, 40);
const TPoint kNoOrigin(-1000, -1000);

TRect Face(int x, int y) {
  return Bounds(x, y, kCard.X, kCard.Y);
}

TEST(DropShadeTest, LargestOverlapTakesTheEarlierPointOnATie) {
  const TDropPoints points = {{100, 100}, {140, 100}, {300, 300}};
  std::vector<int> stack;
  // Halfway between the first two: 10 x 40 over each.
  EXPECT_EQ(DecideDropShade(3, points, kCard, kNoOrigin, Face(120, 100), {}, stack, -1),
            (TDropShadeChange{false, 0}));
  EXPECT_EQ(stack, std::vector<int>{0});
  // One pixel towards the second: it wins, the first is hidden first.
  EXPECT_EQ(DecideDropShade(3, points, kCard, kNoOrigin, Face(121, 100), {}, stack, 0),
            (TDropShadeChange{true, 1}));
  // Still the second: nothing changes.
  EXPECT_EQ(DecideDropShade(3, points, kCard, kNoOrigin, Face(135, 110), {}, stack, 1), TDropShadeChange{});
  // Touching edges are no overlap: hidden.
  EXPECT_EQ(DecideDropShade(3, points, kCard, kNoOrigin, Face(170, 100), {}, stack, 1),
            (TDropShadeChange{true, -1}));
  // The point where the drag began is never shaded, however well the card covers it.
  EXPECT_EQ(DecideDropShade(3, points, kCard, {100, 100}, Face(100, 100), {}, stack, -1), TDropShadeChange{});
  EXPECT_EQ(DecideDropShade(3, points, kCard, {100, 100}, Face(115, 100), {}, stack, -1),
            (TDropShadeChange{false, 1}));
}

TEST(DropShadeTest, LastEnteredFallsBackToThePointEnteredBefore) {
  const TDropPoints points = {{100, 100}, {125, 100}, {400, 400}};
  std::vector<int> stack;
  // Only the first is met (edges included: 100 + 30 = 130 > 125 would meet both, so start left).
  EXPECT_EQ(DecideDropShade(1, points, kCard, kNoOrigin, Face(70, 100), {}, stack, -1),
            (TDropShadeChange{false, 0}));
  // The card's right edge touches the second point's left edge: entered.
  EXPECT_EQ(DecideDropShade(1, points, kCard, kNoOrigin, Face(95, 100), {}, stack, 0),
            (TDropShadeChange{true, 1}));
  EXPECT_EQ(stack, (std::vector<int>{0, 1}));
  // Back out of the second: the first again.
  EXPECT_EQ(DecideDropShade(1, points, kCard, kNoOrigin, Face(80, 100), {}, stack, 1),
            (TDropShadeChange{true, 0}));
  EXPECT_EQ(stack, std::vector<int>{0});
  // Out of both: hidden.
  EXPECT_EQ(DecideDropShade(1, points, kCard, kNoOrigin, Face(20, 20), {}, stack, 0),
            (TDropShadeChange{true, -1}));
  EXPECT_TRUE(stack.empty());
}

TEST(DropShadeTest, TheOverlapStackHoldsTenPoints) {
  TDropPoints points;
  for (int i = 0; i < 14; ++i) points.push_back({100 + i, 100});
  std::vector<int> stack;
  const TDropShadeChange c = DecideDropShade(1, points, kCard, kNoOrigin, Face(105, 100), {}, stack, -1);
  EXPECT_EQ(stack.size(), size_t(kOverlapStackSize));
  EXPECT_EQ(c.Show, 9);
}

TEST(DropShadeTest, UnderThePointerTakesTwoMovesToGoBackToAnEarlierPoint) {
  const TDropPoints points = {{100, 100}, {200, 100}};
  std::vector<int> stack;
  // The pointer on the far edge pixel of the second point counts as inside.
  EXPECT_EQ(DecideDropShade(2, points, kCard, kNoOrigin, Face(0, 0), {230, 140}, stack, -1),
            (TDropShadeChange{false, 1}));
  // Straight into the first: the first move only hides the second...
  EXPECT_EQ(DecideDropShade(2, points, kCard, kNoOrigin, Face(0, 0), {110, 110}, stack, 1),
            (TDropShadeChange{true, -1}));
  // ...the next one shows the first.
  EXPECT_EQ(DecideDropShade(2, points, kCard, kNoOrigin, Face(0, 0), {111, 110}, stack, -1),
            (TDropShadeChange{false, 0}));
  EXPECT_EQ(stack, std::vector<int>{0});
  EXPECT_EQ(DecideDropShade(2, points, kCard, kNoOrigin, Face(0, 0), {231, 110}, stack, 0),
            (TDropShadeChange{true, -1}));
}

// ---------------------------------------------------------------------------------------------
// Step lengths and the lifted turn, worked by hand

TEST(MoveStepTest, StepLengthsOfAStandardCard) {
  // A 71 x 96 card at CardSpeed 32: half a card is 35 x 48, an eighth 8 x 12.
  struct TCase {
    long long Dx, Dy;
    int Covering;
    bool Slow, Wait;
    TMoveStep Expected;
  };
  const TCase cases[] = {
      {100, 10, 0, false, true, {32, false}},  // free and fast: always CardSpeed
      {3, 0, 0, false, true, {32, false}},     // (StepTowards stops it at the target)
      {100, 10, 3, true, true, {35, false}},   // under three cards: CardSpeed + 3, no slowing
      {60, 0, 0, true, true, {25, false}},     // 60 - 35
      {200, 0, 0, true, true, {32, false}},    // capped at CardSpeed
      {0, 60, 0, true, true, {12, false}},     // 60 - 48
      {36, 0, 0, true, true, {1, false}},      // just outside half a card: 36 - 35
      {35, 0, 0, true, true, {1, false}},      // inside: creeping, no wait yet
      {9, 12, 0, true, true, {1, false}},      // beyond an eighth across
      {8, 12, 0, true, true, {1, true}},       // within an eighth both ways: wait 2 ms
      {8, 13, 0, true, true, {1, false}},
      {8, 12, 0, true, false, {1, false}},  // no waiting without SMR_WaitMode
  };
  for (const TCase& c : cases)
    EXPECT_EQ(MoveStepLength(c.Dx, c.Dy, 71, 96, 32, c.Covering, c.Slow, c.Wait), c.Expected)
        << c.Dx << ", " << c.Dy << " covering " << c.Covering;
}

TEST(LiftTurnScheduleTest, SidewaysAndAtTheCappedSpeed) {
  // Sideways on a 71-wide card at 8: quarters of 17, the shadow 71 wide and never wider than the
  // card. It shrinks by 32 a frame in the first quarter, grows by 32 in the second.
  const std::vector<TLiftTurnFrame> sideways = {{8, 8, 39},   {16, 16, 7},  {24, 24, 39},
                                                {32, 32, 71}, {40, 24, 71}, {48, 16, 71},
                                                {56, 8, 71},  {64, 0, 71},  {71, 0, 71}};
  EXPECT_EQ(LiftTurnSchedule(71, 8, 71, 71), sideways);
  // Upright at 32 (the cap of a speed of 40): the first frame is already in the second quarter.
  const std::vector<TLiftTurnFrame> fast = {{32, 32, 134}, {64, 0, 134}, {96, 0, 96}};
  EXPECT_EQ(LiftTurnSchedule(96, 32, 96, 134), fast);
}

// ---------------------------------------------------------------------------------------------
// Drags on the table

class DragTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
    Table->ApplyBounds(0, 0, 400, 300);
    Table->ShadowMode = smOriginal;
    Table->HQDragShade = false;
    Table->DragAndDrop = true;
    Table->OnCardClickEvent = [this](TCard* c, TMouseButton) { Clicked.push_back(c); };
    Table->OnTableClickEvent = [this](int x, int y, TMouseButton) { TableClicks.push_back(TPoint(x, y)); };
    Table->OnCardDropEvent = [this](TCard* c, int x, int y, int rx, int ry, int index) {
      Drops.push_back({c, x, y, rx, ry, index});
      if (Answer) Answer(c, index);
    };
    Table->OnCardRestoredEvent = [this] {
      ++Restored;
      // The card is held over its home with its shadow while the owner hears of it.
      EXPECT_TRUE(Table->DragCard && Table->DragCard->Displayed);
      if (Table->ShadowMode == smOriginal) {
        EXPECT_TRUE(HeldAsDrawn());
      }
    };
  }
  TCard* Show(int x, int y, float angle = 0.0f, bool faceUp = true) {
    TCard* c = Deck().NextCard();
    c->FaceUp = faceUp;
    Table->AddCard(c, x, y, angle);
    return c;
  }
  // A drag by the mouse: press at (x, y), move through the points, release at the last one.
  void Drag(int x, int y, std::initializer_list<TPoint> path) {
    Table->MouseDown(mbLeft, ssLeft, x, y);
    TPoint last(x, y);
    for (const TPoint& p : path) {
      Table->MouseMove(ssLeft, p.X, p.Y);
      last = p;
    }
    Table->MouseUp(mbLeft, 0, last.X, last.Y);
  }
  // The table recomposed afresh with the dragged card held where it is, over its plain shadow.
  ::testing::AssertionResult HeldAsDrawn() {
    TBitmap b = OracleCompose(*Table);
    if (TCard* c = Table->DragCard) {
      const TCardDeck& d = *c->Deck;
      const int s = d.Shadow01.Width();
      BitBlt(b, c->X + s, c->Y + d.Shadow01.Height() + s, d.Shadow00.Width(), d.Shadow00.Height(), d.Shadow00,
             0, 0, TRasterOp::And);
      BitBlt(b, c->X + d.CardWidth, c->Y + s, d.Shadow01.Width(), d.Shadow01.Height(), d.Shadow01, 0, 0,
             TRasterOp::And);
      BitBlt(b, c->X, c->Y, d.CardWidth, d.CardHeight, d.CardMask, 0, 0, TRasterOp::And);
      BitBlt(b, c->X, c->Y, d.CardWidth, d.CardHeight, c->FaceUp ? c->Face : d.Back, 0, 0, TRasterOp::Paint);
    }
    return SameBitmaps(b, Table->Buffer);
  }
  struct TDrop {
    TCard* Card;
    int X, Y, RelX, RelY, Index;
  };
  std::vector<TCard*> Clicked;
  std::vector<TPoint> TableClicks;
  std::vector<TDrop> Drops;
  std::function<void(TCard*, int)> Answer;
  int Restored = 0;
};

TEST_F(DragTest, ADropOnAShadedPointIsReportedAndAccepted) {
  TCard* a = Show(50, 50);
  TCard* b = Show(200, 50);
  Table->SetDropPoints({{100, 150}, {300, 150}});
  Table->MouseDown(mbLeft, ssLeft, 60, 60);
  ASSERT_TRUE(Table->Dragging);
  EXPECT_EQ(Table->DragCard, a);
  EXPECT_EQ(Table->DragIndex, 1);
  EXPECT_EQ(Table->TableCount, 1);
  EXPECT_EQ(Clicked, std::vector<TCard*>{a});
  EXPECT_EQ(Surface.Cursor, crDrag);
  EXPECT_TRUE(HeldAsDrawn());
  // Over the first point: the shade shows under the card.
  Table->MouseMove(ssLeft, 105, 165);
  EXPECT_EQ(Table->ShadedDropPoint, 0);
  EXPECT_TRUE(Table->SnappedToDrop);
  EXPECT_EQ(a->X, 95);
  EXPECT_TRUE(HeldAsDrawn());
  EXPECT_TRUE(ScreenAtRest());
  Table->MouseUp(mbLeft, 0, 107, 166);
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0].Card, a);
  EXPECT_EQ(Drops[0].Index, 0);
  EXPECT_EQ(Drops[0].X, 107);
  EXPECT_EQ(Drops[0].RelX, 10);
  EXPECT_EQ(Drops[0].RelY, 10);
  EXPECT_FALSE(Table->Dragging);
  EXPECT_EQ(Table->DragCard, a);  // waiting for the answer, the shade gone
  EXPECT_EQ(Surface.Cursor, crDefault);
  EXPECT_TRUE(HeldAsDrawn());
  Table->DropCard(100, 150);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_EQ(a->X, 100);
  EXPECT_EQ(a->Y, 150);
  EXPECT_EQ(Table->TableCards[2], a);
  EXPECT_EQ(Table->TableCards[1], b);
  EXPECT_FALSE(Table->DisableCardClicks);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DragTest, AReleaseElsewhereGivesMinusOneAndARefusalFliesTheCardHome) {
  // A fan of four: the second is taken from the middle.
  TCard* fan[4];
  for (int i = 0; i < 4; ++i) fan[i] = Show(100, 50 + 15 * i);
  Table->SetDropPoints({{300, 200}});
  Answer = [this](TCard*, int) { Table->RestoreCard(); };
  Drag(110, 70, {{150, 120}, {250, 100}, {260, 110}});
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0].Index, -1);
  EXPECT_EQ(Restored, 1);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_EQ(fan[1]->X, 100);
  EXPECT_EQ(fan[1]->Y, 65);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Table->TableCards[size_t(i + 1)], fan[i]);
  EXPECT_FALSE(Table->DisableCardClicks);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DragTest, WithLiftOffsetTheCardIsHeldUpAndSetDown) {
  Table->LiftOffset = true;
  TCard* a = Show(50, 50);
  Show(150, 150);
  Table->MouseDown(mbLeft, ssLeft, 60, 60);
  EXPECT_EQ(a->X, 47);  // held up and to the left by the shadow size
  EXPECT_EQ(Table->GrabX, 13);
  EXPECT_TRUE(HeldAsDrawn());
  Table->MouseMove(ssLeft, 300, 250);
  Table->MouseUp(mbLeft, 0, 300, 250);
  EXPECT_TRUE(HeldAsDrawn());
  Table->DropCard(200, 40, true, 0.0f);
  EXPECT_EQ(a->X, 200);
  EXPECT_EQ(a->Y, 40);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  // Refused with the lift: home again exactly.
  Answer = [this](TCard*, int) { Table->RestoreCard(); };
  Drag(210, 50, {{100, 200}});
  EXPECT_EQ(a->X, 200);
  EXPECT_EQ(a->Y, 40);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DragTest, DropsWithoutFlightAndTurnedOnLanding) {
  TCard* a = Show(50, 50);
  Drag(60, 60, {{200, 200}});
  Table->DropCard(120, 100, false, 0.5f);
  EXPECT_EQ(a->Angle, 0.5f);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  Drag(a->X + 15, a->Y + 20, {{300, 100}});
  EXPECT_TRUE(HeldAsDrawn());
  Table->DropCard(250, 150, true, -0.7f);
  EXPECT_EQ(a->Angle, -0.7f);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DragTest, ATurnedCardIsDraggedUprightAndRestoredAtItsAngle) {
  TCard* a = Show(150, 100, kQuarter);
  TCard* over = Show(160, 130);
  Answer = [this](TCard*, int) { Table->RestoreCard(); };
  Table->MouseDown(mbLeft, ssLeft, 155, 105);
  EXPECT_EQ(a->Angle, 0.0f);
  EXPECT_FLOAT_EQ(Table->DragAngle, kQuarter);
  EXPECT_TRUE(HeldAsDrawn());
  EXPECT_TRUE(ScreenAtRest());
  Table->MouseMove(ssLeft, 40, 40);
  Table->MouseUp(mbLeft, 0, 40, 40);
  EXPECT_FLOAT_EQ(a->Angle, kQuarter);
  EXPECT_EQ(Table->TableCards[1], a);
  EXPECT_EQ(Table->TableCards[2], over);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DragTest, TheStockGivesItsNextCardAndTakesItBack) {
  Table->DragFromDeck = true;
  Table->SetPlaceDeckOffset(3);
  Table->DrawDeck(10, 10);
  const int dealt = Deck().Dealt;
  TCard* next = Deck().Cards[size_t(dealt + 1)].get();
  // A press on the pile's lowest corner hits a card under the top one; the top one is taken.
  Table->MouseDown(mbLeft, ssLeft, 27, 49);
  ASSERT_EQ(Table->DragCard, next);
  EXPECT_TRUE(Table->DraggingFromDeck);
  EXPECT_EQ(Table->DragIndex, 0);
  EXPECT_EQ(Clicked, std::vector<TCard*>{next});
  EXPECT_EQ(next->State, 1);
  EXPECT_TRUE(HeldAsDrawn());
  Answer = [this](TCard*, int) { Table->RestoreCard(); };
  Table->MouseMove(ssLeft, 200, 200);
  Table->MouseUp(mbLeft, 0, 200, 200);
  EXPECT_EQ(Restored, 1);
  EXPECT_EQ(Deck().Dealt, dealt);
  EXPECT_EQ(next->State, 0);
  EXPECT_EQ(Table->TableCount, 0);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  // Accepted, it is dealt and listed.
  Answer = [this](TCard*, int) { Table->DropCard(150, 150); };
  Drag(15, 15, {{160, 160}});
  EXPECT_EQ(Deck().Dealt, dealt + 1);
  EXPECT_EQ(Table->TableCards[1], next);
  EXPECT_TRUE(Consistent());
}

TEST_F(DragTest, TheCardStopsAtTheEdgesOfTheTable) {
  TCard* a = Show(50, 50);
  Table->MouseDown(mbLeft, ssLeft, 60, 60);
  Table->MouseMove(ssLeft, 1000, 1000);
  EXPECT_EQ(a->X, 400 - 30);
  EXPECT_EQ(a->Y, 300 - 40);
  Table->MouseMove(ssLeft, -50, -50);
  EXPECT_EQ(a->X, 0);
  EXPECT_EQ(a->Y, 0);
  EXPECT_TRUE(HeldAsDrawn());
  EXPECT_TRUE(ScreenAtRest());
  // Nobody listens for the drop: the table restores the card itself.
  Table->OnCardDropEvent = nullptr;
  Table->MouseUp(mbLeft, 0, -50, -50);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_TRUE(Consistent());
  EXPECT_EQ(a->X, 50);
}

TEST_F(DragTest, TheHighQualityShadeComesAndGoesWithoutATrace) {
  Table->HQDragShade = true;
  Table->ShadowMode = smDarken;
  Show(50, 50);
  Table->SetDropPoints({{200, 100}, {50, 50}});
  Table->SetDropAngles({0.0f, 0.3f});
  Answer = [this](TCard*, int) { Table->RestoreCard(); };
  // Over the first point and off again, over the origin (never shaded), and released on the first.
  Drag(60, 60, {{210, 110}, {120, 200}, {60, 60}, {215, 105}});
  EXPECT_EQ(Drops[0].Index, 0);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  EXPECT_FALSE(Deck().HQShadeCached);
}

TEST_F(DragTest, PressesDuringAnAnimationStartNoDrag) {
  TCard* a = Show(50, 50);
  TCard* b = Show(200, 200);
  // A press arriving while a card flies: it reaches only the table click.
  bool pressed = false;
  int clickAtSeen = 0;
  Surface.OnCopy = [&] {
    if (pressed) return;
    pressed = true;
    Table->MouseDown(mbLeft, ssLeft, b->X + 5, b->Y + 5);
    Table->ClickAt(mbLeft, 0, b->X + 5, b->Y + 5);
    clickAtSeen = int(Clicked.size());
  };
  Table->FastMovementMode = true;
  Table->MoveCard(a, 300, 60);
  Surface.OnCopy = nullptr;
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(Table->Dragging);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_EQ(clickAtSeen, 0);
  EXPECT_EQ(TableClicks, std::vector<TPoint>{TPoint(205, 205)});
  EXPECT_TRUE(Consistent());
  // Afterwards the same press drags.
  Table->MouseDown(mbLeft, ssLeft, b->X + 5, b->Y + 5);
  EXPECT_EQ(Table->DragCard, b);
}

TEST_F(DragTest, NoSecondDragWhileADropAwaitsItsAnswer) {
  TCard* a = Show(50, 50);
  TCard* b = Show(200, 200);
  Drag(60, 60, {{120, 120}});
  ASSERT_EQ(Table->DragCard, a);
  Clicked.clear();
  // Presses of every kind now are ignored: no drag, no click.
  Table->MouseDown(mbLeft, ssLeft, 205, 205);
  Table->MouseDown(mbRight, ssRight, 205, 205);
  Table->ClickAt(mbLeft, 0, 205, 205);
  Table->MouseDown(mbLeft, ssLeft, 390, 290);
  Table->MouseMove(ssLeft, 300, 10);
  Table->MouseUp(mbLeft, 0, 300, 10);
  EXPECT_EQ(Table->DragCard, a);
  EXPECT_TRUE(Clicked.empty());
  EXPECT_TRUE(TableClicks.empty());
  EXPECT_EQ(Drops.size(), 1u);
  EXPECT_TRUE(HeldAsDrawn());
  Table->RestoreCard();
  EXPECT_TRUE(Consistent());
  Table->MouseDown(mbLeft, ssLeft, 205, 205);
  EXPECT_EQ(Table->DragCard, b);
}

TEST_F(DragTest, AnswersWithoutADragDoNothing) {
  Show(50, 50);
  const TBitmap before = Table->Buffer;
  Table->DropCard(100, 100);
  Table->RestoreCard();
  EXPECT_EQ(Restored, 0);
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
  EXPECT_TRUE(Consistent());
}

TEST_F(DragTest, AReplayedPressAndDropNeedNoRelease) {
  TCard* a = Show(50, 50);
  Table->DisableCardClicks = true;  // as the game holds it during a replay
  Table->ClickAt(mbLeft, 0, 55, 55);
  ASSERT_EQ(Table->DragCard, a);
  EXPECT_TRUE(Table->Dragging);
  Table->DropCard(250, 200);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_FALSE(Table->Dragging);
  EXPECT_TRUE(Table->DisableCardClicks);
  EXPECT_EQ(a->X, 250);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DragTest, ALostCaptureEndsTheDragWhereThePointerWasLastSeen) {
  Show(50, 50);
  Table->SetDropPoints({{200, 100}});
  Table->MouseDown(mbLeft, ssLeft, 60, 60);
  Table->MouseMove(ssLeft, 212, 115);
  Table->MouseCaptureLost();
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0].X, 212);
  EXPECT_EQ(Drops[0].Index, 0);
  EXPECT_FALSE(Table->Dragging);
  Table->MouseCaptureLost();  // nothing more
  EXPECT_EQ(Drops.size(), 1u);
  Table->DropCard(200, 100);
  EXPECT_TRUE(Consistent());
}

TEST_F(DragTest, FaceDownCardsAndOtherButtonsDoNotDrag) {
  TCard* down = Show(50, 50, 0.0f, false);
  TCard* up = Show(200, 50);
  Table->MouseDown(mbLeft, ssLeft, 55, 55);
  EXPECT_FALSE(Table->Dragging);
  Table->MouseDown(mbRight, ssRight, 205, 55);
  EXPECT_FALSE(Table->Dragging);
  EXPECT_EQ(Clicked, (std::vector<TCard*>{down, up}));
  Table->DragFaceDown = true;
  Table->MouseDown(mbLeft, ssLeft, 55, 55);
  EXPECT_EQ(Table->DragCard, down);
}

TEST_F(DragTest, ABackgroundRebuiltDuringADragLiesUnderTheCardAndItsShadow) {
  TBitmap tile(50, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) tile.SetPixel(x, y, RGB(4 * x, 5 * y, 90));
  tile.SaveToFile(Dir / "tile.bmp");
  const struct {
    const char* Name;
    std::function<void()> Rebuild;
  } cases[] = {
      {"a new colour", [&] { Table->SetColor(RGB(30, 120, 60)); }},
      {"a gradient",
       [&] {
         TBackdrop& bd = Table->BackDrop();
         bd.SetNewMode(true);
         bd.SetNewColorFrom(RGB(0, 20, 40));
         bd.SetNewColorTo(RGB(200, 120, 240));
         bd.SetEnabled(true);
       }},
      {"a picture", [&] { Table->SetBackgroundPicture(Dir / "tile.bmp"); }},
      {"a resize", [&] { Table->ApplyBounds(0, 0, 420, 310); }},
  };
  Table->SetDropPoints({{200, 150}});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Table->CollectCards();
    Table->BackDrop().SetEnabled(false);
    Table->SetColor(0xFF8080);
    Table->ApplyBounds(0, 0, 400, 300);
    TCard* a = Show(50, 50);
    Show(120, 60);
    // Held over the drop point with its shade, the background changes under it.
    Table->MouseDown(mbLeft, ssLeft, 60, 60);
    Table->MouseMove(ssLeft, 210, 160);
    ASSERT_TRUE(Table->SnappedToDrop);
    c.Rebuild();
    EXPECT_TRUE(HeldAsDrawn());
    // It moves on over the new background and leaves none of the old one behind.
    Table->MouseMove(ssLeft, 110, 120);
    EXPECT_TRUE(HeldAsDrawn());
    EXPECT_TRUE(ScreenAtRest());
    Table->MouseUp(mbLeft, 0, 110, 120);
    // Waiting for the owner's answer, the background changes again; the card flies home.
    c.Rebuild();
    EXPECT_TRUE(HeldAsDrawn());
    Table->RestoreCard();
    EXPECT_EQ(a->X, 50);
    EXPECT_TRUE(Consistent());
    EXPECT_TRUE(ScreenAtRest());
  }
}

TEST_F(DragTest, TheScreenFollowsTheBufferInTheMiddleOfADrag) {
  for (bool lift : {false, true})
    for (TShadowMode mode : {smOriginal, smDarken}) {
      SCOPED_TRACE(std::string(lift ? "lifted " : "not lifted ") +
                   (mode == smOriginal ? "plain" : "darkened"));
      Table->CollectCards();
      Table->LiftOffset = lift;
      Table->ShadowMode = mode;
      Table->SetDropPoints({{200, 150}});
      Show(50, 50);
      Show(60, 70);
      Surface.Flush();
      // Each step copies what it changed, the card's shadow and the drop shade included: the
      // screen equals the buffer without waiting for a repaint.
      Table->MouseDown(mbLeft, ssLeft, 70, 80);
      ASSERT_TRUE(Table->Dragging);
      EXPECT_FALSE(Surface.InvalidatePending);
      EXPECT_TRUE(SameBitmaps(Table->Buffer, Surface.Screen));
      for (const TPoint& p : {TPoint(120, 120), TPoint(210, 165), TPoint(330, 250), TPoint(205, 160)}) {
        Table->MouseMove(ssLeft, p.X, p.Y);
        EXPECT_FALSE(Surface.InvalidatePending);
        EXPECT_TRUE(SameBitmaps(Table->Buffer, Surface.Screen)) << p.X << "," << p.Y;
      }
      Table->MouseUp(mbLeft, 0, 205, 160);
      EXPECT_TRUE(SameBitmaps(Table->Buffer, Surface.Screen));
      Table->RestoreCard();
      EXPECT_TRUE(SameBitmaps(Table->Buffer, Surface.Screen));
      EXPECT_TRUE(Consistent());
    }
}

// The card follows the pointer at the display's rate: the first step after a rest is shown at once,
// the steps that come before the next frame is due are shown together when it comes (the surface's
// timer), and the release shows the last of them at once. Steps that depend only on where the
// pointer is (the largest-overlap shade) wait for the frame and only its last is drawn; those whose
// shade depends on the way the card came (the point entered last) are all drawn as they come. At
// every frame the screen is what a table copying every step at once shows.
TEST_F(DragTest, ADragIsShownOncePerDisplayFrameWithTheSamePixels) {
  for (int mode : {3, 1}) {
    SCOPED_TRACE(mode);
    TRecordingSurface stepwise;
    TCardTable reference(&stepwise, CardsetsDir);
    for (TCardTable* t : {Table.get(), &reference}) {
      t->CollectCards();
      t->ApplyBounds(0, 0, 400, 300);
      t->ShadowMode = smOriginal;
      t->HQDragShade = false;
      t->DragAndDrop = true;
      t->SetAutoShadeMode(mode);
      t->SetDropPoints({{200, 150}, {230, 160}});
      for (const TPoint& p : {TPoint(50, 50), TPoint(60, 70)}) {
        TCard* c = t->CardDeck()->NextCard();
        c->FaceUp = true;
        t->AddCard(c, p.X, p.Y);
      }
    }
    Surface.FrameTimer = true;
    Surface.Flush();
    stepwise.Flush();
    int presents = 0;
    Surface.OnCopy = [&] { ++presents; };
    for (TCardTable* t : {Table.get(), &reference}) t->MouseDown(mbLeft, ssLeft, 70, 80);
    EXPECT_EQ(presents, 1);
    EXPECT_TRUE(SameBitmaps(stepwise.Screen, Surface.Screen));
    for (int frame = 0; frame < 3; ++frame) {
      SCOPED_TRACE(frame);
      Surface.FrameAskedMs = -1;
      // Four moves inside one frame, over the drop points and off them: none shows yet.
      for (const TPoint& p : {TPoint(120, 120), TPoint(215, 165), TPoint(330, 250), TPoint(240 + frame, 170)})
        for (TCardTable* t : {Table.get(), &reference}) t->MouseMove(ssLeft, p.X, p.Y);
      EXPECT_EQ(presents, 1 + frame);
      EXPECT_EQ(Surface.FrameAskedMs, Table->FramePeriodMs) << "the frame is asked for once";
      EXPECT_FALSE(SameBitmaps(stepwise.Screen, Surface.Screen));
      VClock.Advance(Table->FramePeriodMs);
      Table->PresentFrame();
      EXPECT_EQ(presents, 2 + frame);
      EXPECT_TRUE(SameBitmaps(stepwise.Screen, Surface.Screen));
      EXPECT_TRUE(SameBitmaps(reference.Buffer, Table->Buffer));
      EXPECT_EQ(Table->ShadedDropPoint, reference.ShadedDropPoint);
    }
    // Moves after the frame: the release shows them, and the card flies home on both alike.
    for (TCardTable* t : {Table.get(), &reference}) {
      t->MouseMove(ssLeft, 250, 200);
      t->MouseMove(ssLeft, 255, 205);
    }
    EXPECT_FALSE(SameBitmaps(stepwise.Screen, Surface.Screen));
    Answer = [this](TCard*, int) { Table->RestoreCard(); };
    Table->MouseUp(mbLeft, 0, 255, 205);
    reference.MouseUp(mbLeft, 0, 255, 205);
    Answer = nullptr;
    EXPECT_TRUE(SameBitmaps(reference.Buffer, Table->Buffer));
    EXPECT_TRUE(Consistent());
    EXPECT_TRUE(ScreenAtRest());
    // A frame that comes after the drag has nothing left to show.
    const int after = presents;
    Table->PresentFrame();
    EXPECT_EQ(presents, after);
    Surface.OnCopy = nullptr;
  }
}

}  // namespace
