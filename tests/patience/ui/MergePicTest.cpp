// The picture cross-fade: strips fade in one after another by blends of about half, the last
// strip ends exact, Stop leaves the target as it is, and a show without a picture never starts.
#include <gtest/gtest.h>

#include "patience/ui/MergePic.h"
#include "platform/core/Exceptions.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Raster.h"
#include "tests/support/TestUtil.h"

namespace {

// A picture of strips of plain colours, strip k in colours[k]; extra columns at the right.
TBitmap StripPicture(const std::vector<TColor>& colours, int stripWidth, int height, int extra) {
  TBitmap b;
  b.SetSize(int(colours.size()) * stripWidth + extra, height);
  FillRect(b, TRect(0, 0, b.Width(), height), clFuchsia);
  for (size_t k = 0; k < colours.size(); ++k)
    FillRect(b, TRect(int(k) * stripWidth, 0, int(k + 1) * stripWidth, height), colours[k]);
  return b;
}

class MergePicTest : public ::testing::Test {
 protected:
  // Writes the picture as a BMP and loads it with the given strip count.
  void Load(const TBitmap& picture, int strips) {
    SaveBmp24(Dir / "strip.bmp", picture);
    Pic.Strips = strips;
    Pic.LoadPicture(Dir / "strip.bmp");
  }
  int Ticks(int most) {
    int n = 0;
    while (Pic.Running && n < most) {
      Pic.Tick();
      ++n;
    }
    return n;
  }
  TTempDir Dir;
  TMergePic Pic;
  TBitmap Canvas;
};

}  // namespace

TEST_F(MergePicTest, StripsFadeInTurnAndTheLastEndsExact) {
  struct TCase {
    std::vector<TColor> Colours;
    int StripWidth, Extra, Steps;
    TRect Target;
  };
  const TCase cases[] = {
      // One strip, the start screen's default steps, drawn at its own size.
      {{0x3060C0}, 40, 0, 20, TRect(10, 5, 50, 25)},
      // Eight strips of ten steps stretched over a larger target; a remainder column is ignored.
      {{clRed, clLime, clBlue, clYellow, clAqua, clWhite, clGray, 0x204080}, 8, 3, 10, TRect(0, 0, 64, 40)},
      // Two strips shrunk.
      {{clWhite, 0x102030}, 30, 1, 5, TRect(3, 3, 18, 13)},
  };
  for (const TCase& c : cases) {
    Load(StripPicture(c.Colours, c.StripWidth, 20, c.Extra), int(c.Colours.size()));
    EXPECT_EQ(Pic.StripWidth, c.StripWidth);
    EXPECT_EQ(Pic.StripHeight, 20);
    Canvas.SetSize(80, 50);
    FillRect(Canvas, TRect(0, 0, 80, 50), clBlack);
    Pic.StepsPerStrip = c.Steps;
    std::vector<TRect> painted;
    Pic.OnPaint = [&](const TRect& r) { painted.push_back(r); };
    Pic.Start(&Canvas, c.Target.Left, c.Target.Top, c.Target.Width(), c.Target.Height());
    ASSERT_TRUE(Pic.Running);
    // One blend: about half way from black.
    Pic.Tick();
    const TColor first = Canvas.Pixel(c.Target.Left, c.Target.Top);
    for (int shift : {0, 8, 16}) {
      const int want = ((int(c.Colours[0] >> shift) & 0xFF) * 127 + 127) / 255;
      EXPECT_EQ(int(first >> shift) & 0xFF, want);
    }
    const int steps = 1 + Ticks(1000);
    EXPECT_EQ(steps, c.Steps * int(c.Colours.size()));
    EXPECT_FALSE(Pic.Running);
    EXPECT_EQ(Pic.Strip, 0);
    EXPECT_EQ(int(painted.size()), steps);
    EXPECT_EQ(painted.back(), c.Target);
    // Exactly the last strip inside, untouched outside.
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 80; ++x) {
        const bool in = x >= c.Target.Left && x < c.Target.Right && y >= c.Target.Top && y < c.Target.Bottom;
        ASSERT_EQ(Canvas.Pixel(x, y), in ? c.Colours.back() : clBlack) << x << "," << y;
      }
  }
}

TEST_F(MergePicTest, StopInMidShowLeavesTheTargetAndRewinds) {
  Load(StripPicture({clRed, clBlue}, 10, 10, 0), 2);
  Canvas.SetSize(10, 10);
  FillRect(Canvas, TRect(0, 0, 10, 10), clWhite);
  Pic.Start(&Canvas, 0, 0, 10, 10);
  for (int i = 0; i < 25; ++i) Pic.Tick();
  EXPECT_EQ(Pic.Strip, 1);
  const TBitmap before = Canvas;
  Pic.Stop();
  EXPECT_FALSE(Pic.Running);
  EXPECT_EQ(Pic.Strip, 0);
  EXPECT_EQ(Pic.StepCount, 0);
  Pic.Tick();  // a tick after the stop changes nothing
  EXPECT_TRUE(SamePixels(Canvas, before));
}

TEST_F(MergePicTest, NoPictureNoShowAndAFailedLoadKeepsTheOld) {
  Canvas.SetSize(10, 10);
  Pic.Start(&Canvas, 0, 0, 10, 10);
  EXPECT_FALSE(Pic.Running);
  EXPECT_FALSE(Pic.HasPicture());
  EXPECT_THROW(Pic.LoadPicture(Dir / "missing.jpg"), std::exception);
  EXPECT_FALSE(Pic.HasPicture());
  Load(StripPicture({clRed}, 12, 6, 0), 1);
  WriteTextFile(Dir / "bad.jpg", "not a picture");
  EXPECT_THROW(Pic.LoadPicture(Dir / "bad.jpg"), std::exception);
  EXPECT_EQ(Pic.Bitmap.Width(), 12);
  // A strip count of 0 is taken as one strip.
  Load(StripPicture({clRed}, 12, 6, 0), 0);
  EXPECT_EQ(Pic.StripWidth, 12);
}
