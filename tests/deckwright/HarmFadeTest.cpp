// The dissolve control and the fading buttons: the blend formula, the step counts and coverage of
// a dissolve, the way back, the setters' limits and the guards, the faces of a button.

#include <gtest/gtest.h>

#include <random>

#include "deckwright/FadeButton.h"
#include "deckwright/HarmFade.h"
#include "platform/core/Clock.h"

namespace {

class HarmFadeTest : public ::testing::Test {
 protected:
  TVirtualClock Time;
  TScopedClock Clock{Time};
  QWidget Owner;
};

TBitmap Filled(int w, int h, TColor c) {
  TBitmap b(w, h);
  b.Clear(c);
  return b;
}

}  // namespace

TEST(BlendRows32Test, EveryByteIsTheWeightedMeanRoundedDown) {
  std::mt19937 rng(5);
  TBitmap a(7, 3), b(7, 3), out(7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) {
      a.SetPixel(x, y, TColor(rng() & 0xFFFFFF));
      b.SetPixel(x, y, TColor(rng() & 0xFFFFFF));
    }
  for (int w = 0; w <= 32; ++w) {
    BlendRows32(a, b, out, w);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7 * 4; ++x) {
        if (x % 4 == 3) continue;
        const int want = (a.ScanLineBytes(y)[x] * (32 - w) + b.ScanLineBytes(y)[x] * w) / 32;
        ASSERT_EQ(out.ScanLineBytes(y)[x], want) << "w " << w;
      }
  }
  BlendRows32(a, b, out, 0);
  EXPECT_TRUE(SamePixels(out, a));
  BlendRows32(a, b, out, 32);
  EXPECT_TRUE(SamePixels(out, b));
}

TEST_F(HarmFadeTest, DissolveCoversEveryPixelInTheCountedSteps) {
  struct Case {
    int W, H, Rate, Steps;
  };
  // 78 x 35 at 125: 21 pixels a step, 130 steps and a last one of none; the about picture
  // 158 x 144: 182 a step, 125 steps and the remaining 2 pixels.
  const Case cases[] = {{78, 35, 125, 131}, {158, 144, 125, 126}, {10, 10, 100, 101}, {10, 10, 1, 2}};
  for (const Case& c : cases) {
    THarmFade fade(&Owner);
    fade.resize(c.W, c.H);
    fade.SetPicFrom(Filled(c.W, c.H, clBlack));
    fade.SetPicTo(Filled(c.W, c.H, TColor(0x3366CC)));
    fade.SetDisolvRate(c.Rate);
    int begins = 0, ends = 0;
    fade.OnBegin = [&](QWidget*) { ++begins; };
    fade.OnEnd = [&](QWidget*) { ++ends; };
    fade.DissolveIn();
    EXPECT_EQ(fade.LastSteps(), c.Steps) << c.W << "x" << c.H;
    EXPECT_TRUE(SamePixels(fade.Shown(), fade.Target()));
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);
    // And back to the start; the pictures and colours are where they were.
    fade.DissolveBack();
    EXPECT_EQ(fade.Shown().Pixel(c.W / 2, c.H / 2), clBlack);
    EXPECT_EQ(fade.PicFrom().Pixel(0, 0), clBlack);
    EXPECT_EQ(fade.ColorFrom(), clBlack);
    EXPECT_EQ(ends, 1);  // going back fires nothing
  }
}

TEST_F(HarmFadeTest, PlainColoursWithoutPicturesAndTheCrossFadeBack) {
  THarmFade fade(&Owner);
  fade.resize(20, 10);
  EXPECT_EQ(fade.Shown().Pixel(3, 3), clBlack);
  EXPECT_EQ(fade.Target().Pixel(3, 3), clWhite);
  fade.DissolveIn();
  EXPECT_EQ(fade.Shown().Pixel(3, 3), clWhite);
  fade.SetBlendRate(3);
  fade.BlendBack();
  EXPECT_EQ(fade.LastSteps(), 4);  // weights 0, 10, 21, 32
  EXPECT_EQ(fade.Shown().Pixel(3, 3), clBlack);
}

TEST_F(HarmFadeTest, SettersKeepTheirLimitsAndTheGuardsHold) {
  THarmFade fade(&Owner);
  fade.resize(10, 10);
  struct Case {
    int Set, Disolv, Blend;
  };
  const Case cases[] = {{0, 1, 1},       {-5, 1, 1},      {50, 50, 50},
                        {100, 100, 100}, {101, 100, 101}, {300, 100, 255}};
  for (const Case& c : cases) {
    fade.SetDisolvRate(c.Set);
    fade.SetBlendRate(c.Set);
    EXPECT_EQ(fade.DisolvRate(), c.Disolv) << c.Set;
    EXPECT_EQ(fade.BlendRate(), c.Blend) << c.Set;
  }
  // The control shrank after the rate was set: the dissolve in refuses, the way back still works.
  fade.SetDisolvRate(100);
  fade.resize(5, 5);
  try {
    fade.DissolveIn();
    FAIL() << "no exception";
  } catch (const EHarmFade& e) {
    EXPECT_STREQ(e.what(), "DisolvRate cannot be > Width * Height!");
  }
  fade.DissolveBack();
  EXPECT_EQ(fade.Shown().Pixel(2, 2), clBlack);
}

TEST_F(HarmFadeTest, ButtonFacesAndSelection) {
  TFadeButton button(&Owner);
  EXPECT_EQ(button.width(), 78);
  EXPECT_EQ(button.height(), 35);
  button.SetColorFrom(TColor(0xB4C8FF));
  button.SetColorTo(TColor(0x8CFFFF));
  button.SetCaption("Faces");
  for (const TBitmap* face : {&button.NormalFace(), &button.HighlightFace()}) {
    EXPECT_EQ(face->Pixel(0, 0), clBlack);  // the outline
    EXPECT_EQ(face->Pixel(77, 34), clBlack);
    EXPECT_NE(face->Pixel(2, 2), clBlack);  // no inset frame yet
  }
  EXPECT_EQ(button.NormalFace().Pixel(1, 30), TColor(0xB4C8FF));
  EXPECT_EQ(button.HighlightFace().Pixel(1, 30), TColor(0x8CFFFF));
  EXPECT_EQ(button.Shown().Pixel(1, 30), TColor(0xB4C8FF));

  button.SetSelected(true);
  for (const TBitmap* face : {&button.NormalFace(), &button.HighlightFace()})
    EXPECT_EQ(face->Pixel(2, 2), clBlack);                   // framed two pixels inside, on both faces
  EXPECT_EQ(button.Shown().Pixel(1, 30), TColor(0x8CFFFF));  // resting on the highlight
  button.RestoreFaces();
  EXPECT_EQ(button.Shown().Pixel(1, 30), TColor(0xB4C8FF));
  // The same value again changes nothing.
  const TBitmap normal = button.NormalFace();
  button.SetSelected(true);
  EXPECT_TRUE(SamePixels(normal, button.NormalFace()));
  EXPECT_EQ(button.Shown().Pixel(1, 30), TColor(0xB4C8FF));
}
