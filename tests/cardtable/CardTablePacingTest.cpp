// The pace of the card animations on the program's clock: every step of a move, a turn and a lifted
// turn lasts StepPeriodMs, Delay calls come on top and keep their length, the drawing never waits
// for a display frame, and the screen is updated at most once per frame while the last picture of
// every animation still reaches it.
#include <gtest/gtest.h>

#include <QRegion>
#include <cstdlib>

#include "platform/core/Numeric.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

class PacingTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
    Table->ApplyBounds(0, 0, 600, 400);
    Card = Deck().NextCard();
    Card->FaceUp = true;
    Table->AddCard(Card, 20, 100);
    Surface.Flush();
    Surface.ResetCounts();
    Surface.OnCopy = [this] { CopyTimes.push_back(VClock.NowMs()); };
  }
  // The milliseconds an action takes on the virtual clock.
  template <class F>
  uint64_t Elapsed(F&& action) {
    const uint64_t start = VClock.NowMs();
    action();
    return VClock.NowMs() - start;
  }
  // Steps and 2 ms waits of a move of the card along X, by the table's own step rule.
  std::pair<int, int> MoveSteps(int from, int to) const {
    int steps = 0, waits = 0;
    const TCardDeck& d = *Table->CardDeck();
    while (from != to) {
      const TMoveStep s = MoveStepLength(std::abs(from - to), 0, d.CardWidth, d.CardHeight,
                                         Table->CardSpeed(), 0, Table->SlowMoveRegion, Table->SMR_WaitMode);
      from = from < to ? std::min(from + s.Step, to) : std::max(from - s.Step, to);
      ++steps;
      waits += s.Wait;
    }
    return {steps, waits};
  }
  TCard* Card = nullptr;
  std::vector<uint64_t> CopyTimes;
};

struct TMoveCase {
  const char* Name;
  bool SlowMoveRegion;
  int StepMs;
  int Distance;
};

TEST_F(PacingTest, EveryMoveStepLastsTheStepPeriodAndTheWaitsComeOnTop) {
  const TMoveCase cases[] = {
      {"plain", false, 3, 320},
      {"slow region with its 2 ms waits", true, 3, 200},
      {"a longer step period", false, 5, 96},
      {"no step period: only the waits", true, 0, 200},
  };
  for (const TMoveCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Table->SlowMoveRegion = c.SlowMoveRegion;
    Table->SMR_WaitMode = true;
    Table->StepPeriodMs = c.StepMs;
    const int from = Card->X, to = from + c.Distance;
    const auto [steps, waits] = MoveSteps(from, to);
    // The drawing takes no time on this clock, and no step waits for a display frame.
    EXPECT_EQ(Elapsed([&] { Table->MoveCard(Card, to, Card->Y); }), uint64_t(steps * c.StepMs + waits * 2));
    EXPECT_EQ(Card->X, to);
    Table->MoveCard(Card, from, Card->Y);
  }
  EXPECT_TRUE(Consistent());
}

TEST_F(PacingTest, TurnFramesLastTheStepPeriodAndKeepTheirDelays) {
  const TCardDeck& d = *Table->CardDeck();
  Table->SetTurnOverAnimationSpeed(8);
  Table->TurnOverAnimationVertical = true;
  Table->TurnOverAnimationLift = false;
  const int frames = (d.CardHeight + 7) / 8;
  // Each frame: the step, then Delay(1).
  EXPECT_EQ(Elapsed([&] { Table->TurnOverCard(Card); }), uint64_t(frames * (3 + 1)));

  Table->TurnOverAnimationLift = true;
  const size_t lifted =
      LiftTurnSchedule(d.CardHeight, 8, d.Shadow02.Height(), Round(1.4 * d.CardHeight)).size();
  // The lift's pauses of 200, 200 and 100 ms keep their length.
  EXPECT_EQ(Elapsed([&] { Table->TurnOverCard(Card); }), uint64_t(lifted * (3 + 1) + 500));
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(PacingTest, TheScreenIsUpdatedAtMostOncePerFrameAndShowsTheEnd) {
  Table->SlowMoveRegion = false;
  Table->FastMovementMode = true;
  // Two moves of 16 and 10 steps of 3 ms.
  Table->MoveCard(Card, 532, 100);
  Table->MoveCard(Card, 212, 300);
  ASSERT_GE(CopyTimes.size(), 6u);
  // Between frames at least one frame period, except the last picture of each move, shown at once.
  int quick = 0;
  for (size_t i = 1; i < CopyTimes.size(); ++i)
    if (CopyTimes[i] - CopyTimes[i - 1] < uint64_t(Table->FramePeriodMs)) ++quick;
  EXPECT_LE(quick, 2);
  EXPECT_TRUE(ScreenAtRest());

  // Without a frame period every copy goes out as it is made (whole, to be counted).
  Table->FramePeriodMs = 0;
  Surface.ShowsScreen = false;
  Surface.ResetCounts();
  Table->MoveCard(Card, Card->X + 320, Card->Y);
  EXPECT_EQ(Surface.Copies.size(), size_t(MoveSteps(0, 320).first + 1));
}

// Without FastMovementMode every move step paints the whole buffer. The screen already holds all
// but what was drawn since the last present, so that is all that goes: after every present the
// screen is exactly the buffer, as after a whole paint, for a fraction of the pixels. Drawing no
// copy has shown yet (a marker shown without an update, a repaint still waiting for the event
// loop) goes with the first present.
TEST_F(PacingTest, AWholePaintDuringAMoveSendsOnlyWhatWasDrawnSinceTheLastPresent) {
  Table->SlowMoveRegion = true;
  Table->FastMovementMode = false;
  Table->ShowPlace(1, 400, 250, 1, nullptr, 0.0f, false);
  int presents = 0, exact = 0;
  long long pixels = 0;
  size_t seen = 0;
  Surface.OnCopy = [&] {
    ++presents;
    exact += SameBitmaps(Table->Buffer, Surface.Screen) ? 1 : 0;
    // The pixels of the present: its rectangles' union, as a window receives them.
    QRegion present;
    for (; seen < Surface.Copies.size(); ++seen) {
      const TRect& r = Surface.Copies[seen];
      present += QRect(r.Left, r.Top, r.Width(), r.Height());
    }
    for (const QRect& q : present) pixels += (long long)q.width() * q.height();
  };
  Table->MoveCard(Card, 300, 100);
  EXPECT_GE(presents, 4);
  EXPECT_EQ(exact, presents) << "every present leaves the screen as a whole paint would";
  EXPECT_EQ(Surface.Paints, 0);
  // The band the card and its shadow swept, its rectangle once more per present and the marker
  // once: not the 600 x 400 table at every frame.
  const TCardDeck& d = Deck();
  const int s = Table->ShadowSize();
  const long long card = (d.CardWidth + s) * (d.CardHeight + s);
  EXPECT_LE(pixels, 280LL * (d.CardHeight + s) + (presents + 1) * card + d.CardWidth * d.CardHeight);
  EXPECT_LT(pixels * 10, presents * 600LL * 400);

  // A repaint still waiting for the event loop goes with the first present.
  Table->HidePlace(1, 1, nullptr, false);
  Table->Invalidate();
  presents = exact = 0;
  Table->MoveCard(Card, 20, 100);
  EXPECT_EQ(exact, presents);
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(PacingTest, TheCardIsSeenInFlightAndDuringThePausesOfALift) {
  Table->SlowMoveRegion = false;
  Table->FastMovementMode = true;
  std::vector<int> seenX;
  Surface.OnCopy = [&] {
    CopyTimes.push_back(VClock.NowMs());
    seenX.push_back(Card->X);
  };
  Table->MoveCard(Card, 500, 100);
  // Frames of the card between its start and its end reached the screen.
  int between = 0;
  for (int x : seenX) between += x > 20 && x < 500;
  EXPECT_GE(between, 3);

  // The lifted look reaches the screen within a frame of the lift, not after its 200 ms pause.
  Table->TurnOverAnimationLift = true;
  CopyTimes.clear();
  const uint64_t start = VClock.NowMs();
  Table->TurnOverCard(Card);
  ASSERT_FALSE(CopyTimes.empty());
  EXPECT_LE(CopyTimes.front() - start, uint64_t(Table->FramePeriodMs));
  EXPECT_TRUE(ScreenAtRest());
}

// A present sends the parts of its rectangles that differ from the screen: a card creeping one
// pixel a step sends the strips it uncovered and covered and the edges of its pips, not its whole
// rectangle at every frame, and the screen is the buffer after every present all the same.
TEST_F(PacingTest, APresentSendsThePartsThatDifferFromTheScreen) {
  // A face like a real card's: white, with one pip.
  TBitmap& face = Card->Face;
  for (int y = 0; y < face.Height(); ++y)
    for (int x = 0; x < face.Width(); ++x)
      if (face.Pixel(x, y) != clBlack)
        face.SetPixel(x, y, std::abs(x - 15) < 4 && std::abs(y - 20) < 5 ? clRed : clWhite);
  Table->RemoveCard(Card);
  Table->AddCard(Card, 20, 100);
  Table->SlowMoveRegion = true;
  Table->FastMovementMode = true;
  Table->DrawDeck(400, 250);  // more on the table than the card
  Surface.Flush();
  struct TCount {
    long long Sent = 0, Changed = 0;
    int Presents = 0, Exact = 0;
  };
  auto fly = [&](bool showsScreen) {
    Surface.ShowsScreen = showsScreen;
    TCount c;
    TBitmap shown = Surface.Screen;
    size_t seen = Surface.Copies.size();
    Surface.OnCopy = [&] {
      ++c.Presents;
      c.Exact += SameBitmaps(Table->Buffer, Surface.Screen) ? 1 : 0;
      for (; seen < Surface.Copies.size(); ++seen) {
        const TRect& r = Surface.Copies[seen];
        c.Sent += (long long)r.Width() * r.Height();
      }
      for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x)
          c.Changed += !SameRGB(shown.RawPixel(x, y), Surface.Screen.RawPixel(x, y));
      shown = Surface.Screen;
    };
    Table->MoveCard(Card, Card->X + 90, Card->Y + 40);
    Table->MoveCard(Card, Card->X - 90, Card->Y - 40);
    Surface.OnCopy = nullptr;
    return c;
  };
  const TCount whole = fly(false), parts = fly(true);
  EXPECT_GE(parts.Presents, 5);
  EXPECT_EQ(parts.Exact, parts.Presents) << "every present leaves the screen as the buffer";
  EXPECT_LE(parts.Sent, 2 * parts.Changed);
  EXPECT_GE(whole.Sent, 2 * whole.Changed) << "whole rectangles send much more";
  EXPECT_TRUE(ScreenAtRest());

  // A paint or a copy of what the screen already shows sends nothing.
  Surface.ResetCounts();
  Table->Paint();
  Table->Paint();
  Table->CopyToScreen(0, 0, 600, 400);
  EXPECT_EQ(Surface.Paints, 0);
  EXPECT_TRUE(Surface.Copies.empty());
}

}  // namespace
