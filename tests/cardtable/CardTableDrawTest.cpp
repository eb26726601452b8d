// Drawing cards on the table: the display list, the stock pile, removing, turning and lifting, the
// full redraw, and the card animations. Most checks are the two oracles: a fresh recomposition equals
// the buffer, and the screen at rest equals the buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include "tests/cardtable/CardTableFixture.h"

namespace {

constexpr float kQuarter = 1.5707964f;

class DrawTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable(Options);
    Table->ApplyBounds(0, 0, 400, 300);
    Table->SetPlaceDeckOffset(7);
  }
  // The next card of the deck shown at (x, y).
  TCard* Show(int x, int y, float angle = 0.0f, bool faceUp = true) {
    TCard* c = Deck().NextCard();
    c->FaceUp = faceUp;
    Table->AddCard(c, x, y, angle);
    return c;
  }
  // The screen equals the buffer without waiting for a pending repaint.
  ::testing::AssertionResult CopiedAlready() {
    if (Surface.InvalidatePending) return ::testing::AssertionFailure() << "a whole repaint is pending";
    return SameBitmaps(Table->Buffer, Surface.Screen);
  }
  void Settle() {
    Surface.Flush();
    Surface.InvalidatePending = false;
    Surface.ResetCounts();
  }
  TTableCardsetOptions Options;
};

TEST_F(DrawTest, AddingACardTwiceDrawsAndListsItOnce) {
  TCard* c = Show(50, 50);
  const TBitmap once = Table->Buffer;
  Table->AddCard(c, 120, 80);
  Table->AddToDisplayList(c);
  EXPECT_EQ(Table->TableCount, 1);
  EXPECT_TRUE(SameBitmaps(once, Table->Buffer));
  EXPECT_EQ(c->X, 50);
  TCard* hidden = Deck().NextCard();
  Table->AddToDisplayList(hidden);  // not displayed: not listed
  EXPECT_EQ(Table->TableCount, 1);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
}

TEST_F(DrawTest, TheDisplayListTakesNoMoreThanItsCapacity) {
  Deck().SetCardCount(108);
  TCardDeck other(nullptr, CardsetsDir);
  for (int i = 1; i <= 108; ++i) Show((i % 18) * 20, (i / 18) * 45);
  TCard* extra = other.NextCard();
  Table->AddCard(extra, 10, 250);
  EXPECT_EQ(Table->TableCount, kMaxTableCards);
  TCard* refused = other.NextCard();
  const TBitmap full = Table->Buffer;
  Table->AddCard(refused, 60, 250);
  EXPECT_FALSE(refused->Displayed);
  EXPECT_EQ(Table->TableCount, kMaxTableCards);
  EXPECT_TRUE(SameBitmaps(full, Table->Buffer));
  EXPECT_TRUE(Consistent());
  Table->RemoveCard(extra);  // the table must not keep a card of a deck that goes
}

TEST_F(DrawTest, TheStockPileClimbsEveryPlaceDeckOffsetCards) {
  for (int i = 0; i < 28; ++i) Deck().NextCard();
  // 24 stock cards, three of them out of play: 21 drawn, so the top card lies 2 pixels up and left.
  for (int i : {30, 40, 50}) Deck().Cards[size_t(i)]->State = -2;
  Table->DrawDeck(20, 20);
  TCard* top = Deck().Cards[29].get();
  EXPECT_EQ(top->X, 18);
  EXPECT_EQ(top->Y, 18);
  EXPECT_EQ(Deck().Cards[52]->X, 20);
  EXPECT_FALSE(Deck().Cards[30]->Displayed);
  EXPECT_TRUE(top->Displayed);
  EXPECT_EQ(Deck().DeckX, 20);
  EXPECT_EQ(Table->Buffer.Pixel(18 + 15, 18 + 20), Deck().Back.Pixel(15, 20));
  EXPECT_EQ(Table->TableCount, 0);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());

  // 24 live cards: three steps.
  for (int i : {30, 40, 50}) Deck().Cards[size_t(i)]->State = 0;
  Table->DrawDeck(20, 20);
  EXPECT_EQ(top->X, 17);
  EXPECT_TRUE(Consistent());
}

TEST_F(DrawTest, ARedrawnPileLeavesNoStalePixelsOnTheScreen) {
  Table->DrawDeck(20, 20);  // 52 cards: seven pixels up and left
  for (int i = 0; i < 30; ++i) Table->RemoveCard(Table->DealCard());
  Settle();
  Table->DrawDeck(20, 20);  // a lower pile: its old top-left edge must go
  EXPECT_EQ(Deck().Cards[31]->X, 17);
  EXPECT_TRUE(CopiedAlready());
  Table->DrawDeck(200, 120);  // somewhere else: the old pile must go
  EXPECT_TRUE(CopiedAlready());
  EXPECT_TRUE(Consistent());
}

TEST_F(DrawTest, DealingTheNthCardTakesItOffThePile) {
  Table->DrawDeck(20, 20);
  Settle();
  TCard* third = Deck().Cards[3].get();
  const int x = third->X, y = third->Y;
  EXPECT_EQ(Table->DealNthCard(3, 20, 20), third);
  EXPECT_EQ(Deck().Dealt, 1);
  EXPECT_EQ(Deck().Cards[1].get(), third);
  EXPECT_EQ(Table->TableCount, 1);
  EXPECT_EQ(Table->TableCards[1], third);
  EXPECT_EQ(third->X, x);
  EXPECT_EQ(third->Y, y);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
  EXPECT_EQ(Table->DealNthCard(80, 20, 20), nullptr);
  EXPECT_TRUE(Consistent());
}

TEST_F(DrawTest, RemovingACardFromUnderAFanKeepsTheFan) {
  std::vector<TCard*> fan;
  for (int i = 0; i < 5; ++i) fan.push_back(Show(100, 40 + 12 * i));
  Table->RemoveCard(fan[0]);
  EXPECT_EQ(Table->TableCount, 4);
  EXPECT_EQ(Table->TableCards[1], fan[1]);
  EXPECT_TRUE(Consistent());
  Table->RemoveCard(fan[2]);
  EXPECT_EQ(Table->TableCards[2], fan[3]);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
  Table->RemoveCard(fan[2]);  // not displayed any more: nothing
  EXPECT_EQ(Table->TableCount, 3);
  // The lifted cards took fresh save-unders of what truly lies beneath them: taking the fan off
  // from the top leaves the bare table.
  Table->RemoveCard(fan[4]);
  Table->RemoveCard(fan[3]);
  Table->RemoveCard(fan[1]);
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));

  // Ignoring overlaps, the cards over it are not lifted: the removed card's rectangle shows what lay
  // beneath it even where another card covered it.
  TCard* under = Show(250, 40);
  TCard* over = Show(250, 60);
  Table->RemoveCard(under, true);
  EXPECT_TRUE(over->Displayed);
  EXPECT_EQ(Table->Buffer.Pixel(265, 65), Table->Color());
}

TEST_F(DrawTest, AnotherDecksPileIsErasedWhole) {
  TCardDeck other(nullptr, CardsetsDir);
  other.SetCardCount(104);
  Table->DrawDeck(100, 50, &other);
  EXPECT_EQ(other.DeckX, 100);
  EXPECT_TRUE(other.Cards[104]->Displayed);
  Table->EraseStockPile(&other);
  for (int i = 1; i <= 104; ++i) EXPECT_FALSE(other.Cards[size_t(i)]->Displayed) << i;
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DrawTest, AStockCardIsRemovedWithoutTouchingTheList) {
  TCard* shown = Show(150, 50);
  Table->DrawDeck(20, 20);
  TCard* top = Deck().Cards[size_t(Deck().Dealt + 1)].get();
  Table->RemoveCard(top);
  EXPECT_FALSE(top->Displayed);
  EXPECT_EQ(Table->TableCount, 1);
  EXPECT_EQ(Table->TableCards[1], shown);
  EXPECT_TRUE(Consistent());
}

TEST_F(DrawTest, AQuarterTurnedCardKeepsItsCentreAndShowsTheTableAtItsCorners) {
  TCard* c = Show(100, 100, kQuarter);
  // 30 x 40 turned a quarter is 40 x 30, centred where the upright card's centre was.
  EXPECT_EQ(c->RotatedWidth, 40);
  EXPECT_EQ(c->RotatedHeight, 30);
  EXPECT_EQ(c->RotationOrigin, TPoint(20, 15));
  EXPECT_EQ(c->RotatedX, 95);
  EXPECT_EQ(c->RotatedY, 105);
  // Turned counter-clockwise: the table pixel (x, y) of the picture shows face pixel (29 - y, x);
  // outside the card's shape the colour key lets the table through.
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const TColor expected =
          InsideCardShape(29 - y, x, 30, 40, 4) ? c->Face.Pixel(29 - y, x) : Table->Color();
      ASSERT_EQ(Table->Buffer.Pixel(95 + x, 105 + y), expected) << x << "," << y;
    }
  EXPECT_TRUE(CopiedAlready());
}

TEST_F(DrawTest, TurningToThePresentAngleDoesNothing) {
  TCard* c = Show(100, 100, 0.5f);
  Settle();
  const TBitmap before = Table->Buffer;
  Table->RotateCard(c, 0.5f);
  EXPECT_TRUE(Surface.Copies.empty());
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
}

TEST_F(DrawTest, ATurnedCardStaysUnderTheCardsOverItsNewRectangle) {
  TCard* a = Show(100, 100);
  // B lies beside A; a quarter turn makes A reach under it.
  TCard* b = Show(131, 100);
  Table->RotateCard(a, kQuarter);
  EXPECT_EQ(a->RotatedWidth, 40);
  EXPECT_EQ(a->RotatedHeight, 30);
  EXPECT_EQ(Table->TableCards[1], a);
  EXPECT_TRUE(b->Displayed);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
  Table->RotateCard(a, 0.0f);
  EXPECT_TRUE(Consistent());
  Table->RemoveCard(b);
  Table->RemoveCard(a);
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));
}

TEST_F(DrawTest, LiftingCatchesCardsOverEitherSideOfAWideCard) {
  TCard* a = Show(100, 100);
  // B, turned, sticks out of A on the left and on the right.
  TCard* b = Show(100, 100, kQuarter);
  ASSERT_LT(b->RotatedX, 100);
  ASSERT_GT(b->RotatedX + b->RotatedWidth, 130);
  // C lies over B's right end only.
  TCard* c = Show(b->RotatedX + b->RotatedWidth - 2, 95);
  int index = 0;
  TCardList covering;
  TRect bounds;
  Table->LiftCovering(a, nullptr, false, true, index, covering, bounds);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(covering, (TCardList{b, c}));
  Table->RedrawCards(covering);
  EXPECT_TRUE(Consistent());
  Table->RemoveCard(a);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
}

TEST_F(DrawTest, CollectingLeavesAnEmptyTableAndAFullDeck) {
  Table->DrawDeck(20, 20);
  for (int i = 0; i < 6; ++i) Table->MoveCard(Table->DealCard(), 80 + 30 * i, 60 + 10 * i);
  Table->RotateCard(Table->TableCards[3], 0.8f);
  Table->CollectCards();
  EXPECT_EQ(Table->TableCount, 0);
  EXPECT_EQ(Deck().Dealt, 0);
  for (int i = 1; i <= Deck().CardCount; ++i) EXPECT_FALSE(Deck().Cards[size_t(i)]->Displayed);
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());

  Table->DrawDeck(20, 20);
  Show(100, 100);
  Table->ClearTable();
  EXPECT_EQ(Table->TableCount, 0);
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DrawTest, ANewBackgroundKeepsThePileTheCardsAndThePlaces) {
  Table->ShowPlace(0, 300, 200, 1, nullptr, 0.0f, true);
  Table->ShowPlace(1, 200, 200, 2, nullptr, 0.4f, true);
  Table->DrawDeck(20, 20);
  for (int i = 0; i < 4; ++i) Table->MoveCard(Table->DealCard(), 80 + 25 * i, 60);
  Table->RotateCard(Table->TableCards[2], -0.6f);
  Table->SetColor(0x336699);
  for (int i = Deck().Dealt + 1; i <= Deck().CardCount; ++i) EXPECT_TRUE(Deck().Cards[size_t(i)]->Displayed);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  // The save-unders were taken from the new background.
  while (Table->TableCount > 0) Table->RemoveCard(Table->TableCards[size_t(Table->TableCount)]);
  Table->EraseStockPile();
  Table->HidePlaces();
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));
  EXPECT_EQ(Table->Buffer.Pixel(25, 25), 0x336699);
  EXPECT_TRUE(ScreenAtRest());
}

// ---------------------------------------------------------------------------------------------
// Moves

// The new card position of each step, read from the rectangles copied while a card moves right and
// down with FastMovementMode.
std::vector<TPoint> StepsFrom(const std::vector<TRect>& copies, int w, int h, int s) {
  std::vector<TPoint> v;
  for (const TRect& r : copies) v.push_back(TPoint(r.Right - w - s, r.Bottom - h - s));
  return v;
}

TEST_F(DrawTest, AMoveStepsAtCardSpeedAndEndsOnTop) {
  Surface.ShowsScreen = false;  // the copies are read for the steps: whole rectangles
  TCard* a = Show(10, 10);
  TCard* b = Show(200, 200);
  Table->FastMovementMode = true;
  Table->FramePeriodMs = 0;  // every step's copy reaches the screen, to be read one by one
  Settle();
  Table->MoveCard(a, 110, 20);
  // 32, 32, 32, 4 across; down in the first step; then the card is put down without its shadow.
  ASSERT_EQ(Surface.Copies.size(), 5u);
  Surface.Copies.pop_back();
  EXPECT_EQ(StepsFrom(Surface.Copies, 30, 40, 3),
            (std::vector<TPoint>{TPoint(42, 20), TPoint(74, 20), TPoint(106, 20), TPoint(110, 20)}));
  EXPECT_EQ(Table->TableCards[2], a);
  EXPECT_EQ(Table->TableCards[1], b);
  EXPECT_FALSE(Table->DisableCardClicks);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
}

// Without FastMovementMode every step paints the whole table, which during the move sends only
// what the step drew: the same copies as FastMovementMode.
TEST_F(DrawTest, WithoutFastMovementEveryStepPaintsWhatItDrew) {
  Surface.ShowsScreen = false;  // the copies are read for the steps: whole rectangles
  TCard* a = Show(10, 10);
  Table->FramePeriodMs = 0;  // every step's paint reaches the screen
  Settle();
  Table->DisableCardClicks = true;
  Table->MoveCard(a, 110, 20);
  EXPECT_EQ(Surface.Paints, 0);
  const std::vector<TRect> painted = Surface.Copies;
  EXPECT_EQ(painted.size(), 5u);
  EXPECT_TRUE(Table->DisableCardClicks);  // restored to what it was
  EXPECT_TRUE(CopiedAlready());
  Table->FastMovementMode = true;
  Table->MoveCard(a, 10, 10);
  Surface.ResetCounts();
  Table->MoveCard(a, 110, 20);
  EXPECT_EQ(Surface.Copies, painted);
}

TEST_F(DrawTest, SlowMoveRegionCreepsTheLastHalfCard) {
  Options.Width = 71;
  Options.Height = 96;
  Options.Shadow = 4;
  Table.reset();
  WriteTableCardset(CardsetsDir, "Standard", Options);
  MakeTable(Options);
  TCard* a = Show(10, 10);
  Surface.ShowsScreen = false;  // the copies are read for the steps: whole rectangles
  Table->SlowMoveRegion = true;
  Table->FastMovementMode = true;
  Table->FramePeriodMs = 0;
  Table->StepPeriodMs = 0;  // only the waits of the slow region sleep
  Settle();
  const uint64_t sleeps = VClock.Sleeps;
  Table->MoveCard(a, 70, 10);
  ASSERT_EQ(Surface.Copies.size(), 37u);
  Surface.Copies.pop_back();
  std::vector<TPoint> steps = StepsFrom(Surface.Copies, 71, 96, 4);
  EXPECT_EQ(steps[0], TPoint(35, 10));  // min(60 - 35, 32)
  for (size_t i = 1; i < steps.size(); ++i) EXPECT_EQ(steps[i].X, steps[i - 1].X + 1);
  // Within 8 pixels each step first waits 2 ms.
  EXPECT_EQ(VClock.Sleeps - sleeps, 8u);
  EXPECT_TRUE(Consistent());
}

TEST_F(DrawTest, ACardEndingUnderOthersKeepsItsPlace) {
  TCard* a = Show(100, 100);
  TCard* b = Show(105, 105);
  Table->MoveCard(a, 103, 101);
  EXPECT_EQ(Table->TableCards[1], a);
  EXPECT_EQ(Table->TableCards[2], b);
  EXPECT_TRUE(Consistent());
  // Moved out from under, it ends on top.
  Table->MoveCard(a, 250, 100);
  EXPECT_EQ(Table->TableCards[2], a);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DrawTest, TheFirstStepOfATurnedCardReachesTheScreen) {
  TCard* a = Show(100, 100, kQuarter);
  Table->FastMovementMode = true;
  Settle();
  Table->MoveCard(a, 101, 100);
  EXPECT_EQ(a->Angle, 0.0f);
  EXPECT_TRUE(CopiedAlready());
  EXPECT_TRUE(Consistent());
}

// ---------------------------------------------------------------------------------------------
// Turning over

TEST_F(DrawTest, TurningACardThatIsNotShownOnlyFlipsIt) {
  TCard* c = Deck().Cards[1].get();
  Settle();
  const TBitmap before = Table->Buffer;
  Table->TurnOverCard(c);
  EXPECT_TRUE(c->FaceUp);
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
  EXPECT_TRUE(Surface.Copies.empty());
}

TEST_F(DrawTest, ATurnSqueezesTheCardFrameByFrame) {
  Surface.ShowsScreen = false;  // the copies are read for the steps: whole rectangles
  TCard* a = Show(100, 100, 0.0f, false);
  TCard* over = Show(110, 125);
  Table->FramePeriodMs = 0;  // every frame's copy reaches the screen
  Settle();
  Table->TurnOverCard(a);
  EXPECT_TRUE(a->FaceUp);
  EXPECT_EQ(Surface.Copies.size(), 5u);  // 40 pixels at 8 a frame
  EXPECT_TRUE(over->Displayed);
  EXPECT_FALSE(Table->DisableCardClicks);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
  // Sideways, and at speed 0 at once.
  Table->TurnOverAnimationVertical = false;
  Table->TurnOverCard(a);
  EXPECT_FALSE(a->FaceUp);
  EXPECT_TRUE(Consistent());
  Table->SetTurnOverAnimationSpeed(0);
  Settle();
  Table->TurnOverCard(a);
  EXPECT_EQ(Surface.Copies.size(), 1u);
  EXPECT_TRUE(Consistent());
}

TEST_F(DrawTest, ASqueezedFrameStaysInsideTheCard) {
  TCard* a = Show(100, 100);
  const TBitmap before = Table->Buffer;
  for (int p : {-5, 0, 1, 20, 39, 40, 60}) {
    Table->EraseCard(a, nullptr);
    Table->DrawTurnFrame(a, nullptr, p);
    for (int y = 90; y < 150; ++y)
      for (int x = 90; x < 140; ++x)
        if (x < 100 || x >= 130 || y < 100 || y >= 140) {
          ASSERT_EQ(Table->Buffer.Pixel(x, y), before.Pixel(x, y)) << p << " at " << x << "," << y;
        }
  }
}

class KeyHoleTest : public DrawTest {
 protected:
  void SetUp() override {
    Options.KeyHoles = true;
    DrawTest::SetUp();
  }
};

TEST_F(KeyHoleTest, TurningATurnedCardShowsNoneOfItsOldSide) {
  TCard* a = Show(100, 100, 0.6f, true);
  Table->TurnOverCard(a);  // turned cards turn at once
  EXPECT_FALSE(a->FaceUp);
  EXPECT_TRUE(Consistent());
  Table->TurnOverCard(a);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(CopiedAlready());
}

TEST(LiftTurnScheduleTest, FollowsTheQuartersOfTheTurn) {
  // 96 pixels at 8: the shadow starts at 96, may grow to 134 (1.4 x 96) and never shrinks below 96.
  const std::vector<TLiftTurnFrame> expected = {{8, 8, 64},    {16, 16, 32},  {24, 24, 64},  {32, 32, 96},
                                                {40, 40, 128}, {48, 32, 134}, {56, 24, 134}, {64, 16, 134},
                                                {72, 8, 118},  {80, 0, 102},  {88, 0, 96},   {96, 0, 96}};
  EXPECT_EQ(LiftTurnSchedule(96, 8, 96, 134), expected);
  // A shadow smaller than the card never drops below one pixel.
  for (const TLiftTurnFrame& f : LiftTurnSchedule(40, 32, 10, 56)) EXPECT_GE(f.L, 1);
  EXPECT_TRUE(LiftTurnSchedule(0, 8, 10, 10).empty());
  EXPECT_TRUE(LiftTurnSchedule(40, 0, 10, 10).empty());
}

TEST_F(DrawTest, ALiftedTurnPutsTheCardBackTurned) {
  TCard* a = Show(100, 100, 0.0f, false);
  TCard* b = Show(200, 100);
  Table->TurnOverAnimationLift = true;
  Table->LiftOffset = true;
  Table->SetTurnOverAnimationSpeed(40);
  Table->TurnOverCard(a);
  EXPECT_TRUE(a->FaceUp);
  EXPECT_EQ(Table->TurnOverAnimationSpeed(), 40);
  EXPECT_EQ(a->X, 100);
  EXPECT_EQ(Table->TableCards[2], a);
  EXPECT_EQ(Table->TableCards[1], b);
  EXPECT_FALSE(Table->DisableCardClicks);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  // The plain shadow, sideways and without the lift offset.
  Table->ShadowMode = smOriginal;
  Table->TurnOverAnimationVertical = false;
  Table->LiftOffset = false;
  Table->SetTurnOverAnimationSpeed(8);
  Table->TurnOverCard(a);
  EXPECT_FALSE(a->FaceUp);
  EXPECT_TRUE(Consistent());
  Table->SetTurnOverAnimationSpeed(0);
  Table->TurnOverCard(a);
  EXPECT_TRUE(a->FaceUp);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(DrawTest, ACoveredCardTurnsWithoutTheLift) {
  TCard* a = Show(100, 100, 0.0f, false);
  TCard* b = Show(110, 110);
  Table->TurnOverAnimationLift = true;
  Table->LiftOffset = true;
  EXPECT_FALSE(Table->LiftAndTurn(a));
  EXPECT_TRUE(Consistent());
  Table->TurnOverCard(a);
  EXPECT_TRUE(a->FaceUp);
  EXPECT_EQ(Table->TableCards[1], a);
  EXPECT_EQ(Table->TableCards[2], b);
  EXPECT_TRUE(Consistent());
}

// A clock that tells when the table first waits.
struct TWatchedClock : TVirtualClock {
  std::function<void()> OnFirstSleep;
  void Sleep(int ms) override {
    if (OnFirstSleep) std::exchange(OnFirstSleep, nullptr)();
    TVirtualClock::Sleep(ms);
  }
};

// While a card is lifted for its turn, its shadow lies s down and s to the right of it, within the
// size of the set's whole-card shadow (whose soft edge may leave its last row as it was).
TEST_F(DrawTest, ALiftedCardsShadowLiesExactlyBelowAndRightOfIt) {
  TCard* a = Show(100, 80, 0.0f, false);
  Table->LiftOffset = false;
  Table->SetTurnOverAnimationSpeed(0);
  const TBitmap before = Table->Buffer;
  TBitmap lifted;
  TWatchedClock clock;
  clock.OnFirstSleep = [&] { lifted = Table->Buffer; };
  SetClock(&clock);
  EXPECT_TRUE(Table->LiftAndTurn(a));
  SetClock(&VClock);
  ASSERT_EQ(lifted.Width(), before.Width());
  TRect changed(before.Width(), before.Height(), -1, -1);
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x)
      if (lifted.ScanLine(y)[x] != before.ScanLine(y)[x]) {
        changed.Left = std::min(changed.Left, x);
        changed.Top = std::min(changed.Top, y);
        changed.Right = std::max(changed.Right, x + 1);
        changed.Bottom = std::max(changed.Bottom, y + 1);
      }
  const int s = Deck().Shadow01.Width();
  EXPECT_GT(s, 0);
  const TRect shadow = Bounds(100 + s, 80 + s, Deck().Shadow02.Width(), Deck().Shadow02.Height());
  EXPECT_EQ(changed.Left, shadow.Left);
  EXPECT_EQ(changed.Top, shadow.Top);
  EXPECT_EQ(changed.Right, shadow.Right);
  EXPECT_GE(changed.Bottom, shadow.Bottom - 1);
  EXPECT_LE(changed.Bottom, shadow.Bottom);
  EXPECT_TRUE(Consistent());
}

TEST_F(DrawTest, DelayWaitsOnTheProgramClock) {
  const uint64_t start = VClock.NowMs();
  Table->Delay(200);
  EXPECT_EQ(VClock.NowMs() - start, 200u);
  Table->Delay(0);
  Table->Delay(-3);
  EXPECT_EQ(VClock.NowMs() - start, 200u);
}

}  // namespace
