// The sprite's zoom and spin on the program's clock: frames come once per display frame, the scale
// and the angle follow the time (a slow machine draws fewer frames but reaches the same size), the
// scale never passes its cap, and the table is exactly as before when the effect ends.
#include <gtest/gtest.h>

#include "tests/cardtable/CardTableFixture.h"

namespace {

class SpriteTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
    Table->ApplyBounds(0, 0, 400, 300);
    for (int i = 0; i < 3; ++i) {
      TCard* c = Deck().NextCard();
      c->FaceUp = true;
      Table->AddCard(c, 100 + 12 * i, 100 + 9 * i);
    }
    Card = Table->TableCards[2];
    Surface.Flush();
    Before = Table->Buffer;
  }
  TCard* Card = nullptr;
  TBitmap Before;
};

TEST_F(SpriteTest, AZoomGrowsWithTheTimeAndLeavesNoTrace) {
  TSprite& s = Table->Sprite();
  const uint64_t start = VClock.NowMs();
  s.Zoom(Card, 600, 0.005f, false);
  // 600 ms in frames of 16 ms: 38 frames, the last one cut at 600 ms.
  EXPECT_EQ(s.FramesDrawn, 38);
  EXPECT_FLOAT_EQ(s.Scale, 1.0f + 0.005f * 600 / 16);
  EXPECT_EQ(VClock.NowMs() - start, 608u);
  EXPECT_FALSE(s.Visible);
  EXPECT_TRUE(SameBitmaps(Before, Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
  // Grown and shrunk back: about twice as long, ending no smaller than the card.
  s.Zoom(Card, 600, 0.005f, true);
  EXPECT_GE(s.Scale, 1.0f);
  EXPECT_GT(s.FramesDrawn, 70);
  EXPECT_TRUE(SameBitmaps(Before, Table->Buffer));
  EXPECT_TRUE(Consistent());
}

TEST_F(SpriteTest, ASlowMachineDrawsFewerFramesToTheSameSize) {
  TSprite& s = Table->Sprite();
  // Every picture takes 50 ms to reach the screen.
  Surface.OnCopy = [this] { VClock.Advance(50); };
  s.Zoom(Card, 2000, 0.01f, false);
  Surface.OnCopy = nullptr;
  EXPECT_LT(s.FramesDrawn, 45);
  EXPECT_FLOAT_EQ(s.Scale, 1.0f + 0.01f * 2000 / 16);
  EXPECT_TRUE(SameBitmaps(Before, Table->Buffer));
}

TEST_F(SpriteTest, TheScaleIsCapped) {
  TSprite& s = Table->Sprite();
  s.Zoom(Card, 3000, 0.5f, false);
  EXPECT_EQ(s.Scale, TSprite::kMaxScale);
  EXPECT_TRUE(SameBitmaps(Before, Table->Buffer));
  // Without the table's own pacing the effect keeps its nominal frame and still ends.
  Table->FramePeriodMs = 0;
  s.Zoom(Card, 160, 0.01f, false);
  EXPECT_EQ(s.FramesDrawn, 10);
  EXPECT_TRUE(SameBitmaps(Before, Table->Buffer));
}

TEST_F(SpriteTest, ASpinTurnsByTheTimeAndLeavesNoTrace) {
  TSprite& s = Table->Sprite();
  Table->RotateCard(Card, 0.5f);
  Surface.Flush();
  const TBitmap turned = Table->Buffer;
  s.Spin(Card, 2000, -0.1309f);
  EXPECT_EQ(s.FramesDrawn, 125);
  EXPECT_NEAR(s.Angle, 0.5f - 0.1309f * 125, 1e-3);
  EXPECT_EQ(s.Scale, 1.0f);
  EXPECT_TRUE(SameBitmaps(turned, Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

}  // namespace
