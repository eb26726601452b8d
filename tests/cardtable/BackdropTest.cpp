// The table's gradient backdrop (band mode, two-colour mode, change events) and the two-colour
// rectangle fill.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cardtable/Backdrop.h"
#include "platform/graphics/Bitmap.h"

namespace {

constexpr TColor kSentinel = RGB(1, 2, 3);

TBitmap Filled(int w, int h, TColor c = kSentinel) {
  TBitmap bmp(w, h);
  bmp.Clear(c);
  return bmp;
}

// Every pixel outside r still holds the sentinel.
::testing::AssertionResult UntouchedOutside(const TBitmap& bmp, const TRect& r) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (!r.Contains(TPoint(x, y)) && bmp.Pixel(x, y) != kSentinel)
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << " was written";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult AllOpaque(const TBitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if ((bmp.RawPixel(x, y) >> 24) != 0xFF)
        return ::testing::AssertionFailure() << "pixel " << x << "," << y << " lost its X byte";
  return ::testing::AssertionSuccess();
}

int Channel(TColor c, int which) {
  return which == 0 ? GetRValue(c) : which == 1 ? GetGValue(c) : GetBValue(c);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Band mode

TEST(BackdropBandsTest, GreyRampOf2PxBandsOn512Width) {
  TBackdrop bd;
  bd.SetEnabled(true);
  TBitmap bmp = Filled(512, 3);
  bd.PaintBitmap(bmp);
  for (int i = 0; i < 256; ++i)
    for (int y = 0; y < 3; ++y) {
      ASSERT_EQ(bmp.Pixel(2 * i, y), RGB(i, i, i)) << i;
      ASSERT_EQ(bmp.Pixel(2 * i + 1, y), RGB(i, i, i)) << i;
    }
  EXPECT_TRUE(AllOpaque(bmp));
}

TEST(BackdropBandsTest, EveryDirectionCoversAllWithoutGaps) {
  // 640 is 2.5 px a band: bands of 3 px at half-to-even starts, later bands overdrawing.
  struct Case {
    TFillDirection dir;
    int w, h;
  };
  const Case cases[] = {{TFillDirection::drLeftRight, 640, 2}, {TFillDirection::drRightLeft, 640, 2},
                        {TFillDirection::drUpDown, 2, 640},    {TFillDirection::drDownUp, 2, 640},
                        {TFillDirection::drLeftRight, 100, 2}, {TFillDirection::drDownUp, 2, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(FillDirectionName(c.dir)) + " " + std::to_string(c.w) + "x" +
                 std::to_string(c.h));
    TBackdrop bd;
    bd.SetEnabled(true);
    bd.SetDirection(c.dir);
    TBitmap bmp = Filled(c.w, c.h);
    bd.PaintBitmap(bmp);
    const bool across = c.w > c.h;
    const bool reversed = c.dir == TFillDirection::drRightLeft || c.dir == TFillDirection::drDownUp;
    const int E = across ? c.w : c.h;
    int last = -1;
    for (int k = 0; k < E; ++k) {
      const int pos = reversed ? E - 1 - k : k;  // walk from the dark end
      const TColor col = across ? bmp.Pixel(pos, 0) : bmp.Pixel(0, pos);
      ASSERT_NE(col, kSentinel) << k;
      const int v = GetRValue(col);
      ASSERT_EQ(col, RGB(v, v, v));
      ASSERT_GE(v, last) << k;
      last = v;
    }
    if (E >= 256) {  // narrower, later bands overdraw the first ones
      EXPECT_EQ(across ? bmp.Pixel(reversed ? E - 1 : 0, 1) : bmp.Pixel(1, reversed ? E - 1 : 0), clBlack);
    }
    EXPECT_GE(last, 254);
  }
}

TEST(BackdropBandsTest, FixedChannelsKeepTheirStartValue) {
  TBackdrop bd;
  bd.SetEnabled(true);
  bd.SetChangeRColour(false);
  bd.SetStartR(77);
  bd.SetChangeBColour(false);
  bd.SetStartB(200);
  bd.SetStartG(5);  // ignored: green runs
  TBitmap bmp = Filled(256, 1);
  bd.PaintBitmap(bmp);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(bmp.Pixel(i, 0), RGB(77, i, 200)) << i;
}

TEST(BackdropBandsTest, TinyAndEmptyBitmaps) {
  TBackdrop bd;
  bd.SetEnabled(true);
  TBitmap one = Filled(1, 1);
  bd.PaintBitmap(one);
  EXPECT_EQ(GetRValue(one.Pixel(0, 0)), GetGValue(one.Pixel(0, 0)));
  TBitmap empty;
  bd.PaintBitmap(empty);
  TBitmap flat(300, 0);
  bd.PaintBitmap(flat);
  EXPECT_EQ(flat.Width(), 300);
}

TEST(BackdropTest, DisabledPaintsNothing) {
  TBackdrop bd;
  TBitmap bmp = Filled(40, 30);
  bd.PaintBitmap(bmp);
  EXPECT_TRUE(UntouchedOutside(bmp, TRect()));
  bd.SetNewMode(true);
  bd.SetNewColorTo(clWhite);
  bd.PaintBitmap(bmp);
  EXPECT_TRUE(UntouchedOutside(bmp, TRect()));
}

TEST(BackdropTest, NewModePaintsTheTwoColourGradient) {
  TBackdrop bd;
  bd.SetEnabled(true);
  bd.SetNewMode(true);
  bd.SetNewColorFrom(RGB(0, 0, 0));
  bd.SetNewColorTo(RGB(0, 0, 200));
  bd.SetNewType(TGradientStyle::gsVertical);
  TBitmap bmp = Filled(10, 100);
  bd.PaintBitmap(bmp);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(bmp.Pixel(9, 50), RGB(0, 0, 100));
  EXPECT_EQ(bmp.Pixel(5, 99), RGB(0, 0, 198));
  EXPECT_EQ(bmp.PixelFormat, TPixelFormat::pf32bit);
}

TEST(BackdropTest, DefaultsAndNames) {
  TBackdrop bd;
  EXPECT_EQ(bd.StartR(), 0);
  EXPECT_TRUE(bd.ChangeRColour() && bd.ChangeGColour() && bd.ChangeBColour());
  EXPECT_EQ(bd.Direction(), TFillDirection::drLeftRight);
  EXPECT_FALSE(bd.Enabled());
  EXPECT_FALSE(bd.NewMode());
  EXPECT_EQ(bd.NewColorFrom(), clBlack);
  EXPECT_EQ(bd.NewType(), TGradientStyle::gsHorizontal);
  EXPECT_FALSE(bd.RefreshEvent());

  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(FillDirectionFromName(FillDirectionName(TFillDirection(i))), TFillDirection(i));
    EXPECT_EQ(GradientStyleFromName(GradientStyleName(TGradientStyle(i))), TGradientStyle(i));
  }
  EXPECT_EQ(FillDirectionName(TFillDirection::drDownUp), "drDownUp");
  EXPECT_EQ(GradientStyleName(TGradientStyle::gsDiagonalRightLeft), "gsDiagonalRightLeft");
  EXPECT_FALSE(FillDirectionFromName("drleftright"));
  EXPECT_FALSE(GradientStyleFromName(""));
  EXPECT_TRUE(GradientStyleName(TGradientStyle(9)).empty());
}

// ---------------------------------------------------------------------------------------------
// Change events

TEST(BackdropEventsTest, SettersFireByMode) {
  TBackdrop bd;
  int fired = 0;
  bd.SetRefreshEvent([&] { ++fired; });
  struct Step {
    const char* what;
    std::function<void()> act;
    int fires;
  };
  const std::vector<Step> steps = {
      {"StartR in band mode", [&] { bd.SetStartR(10); }, 1},
      {"StartR same value", [&] { bd.SetStartR(10); }, 0},
      {"StartG", [&] { bd.SetStartG(1); }, 1},
      {"StartB", [&] { bd.SetStartB(1); }, 1},
      {"ChangeRColour", [&] { bd.SetChangeRColour(false); }, 1},
      {"ChangeGColour", [&] { bd.SetChangeGColour(false); }, 1},
      {"ChangeBColour", [&] { bd.SetChangeBColour(false); }, 1},
      {"Direction", [&] { bd.SetDirection(TFillDirection::drUpDown); }, 1},
      {"NewColorFrom in band mode", [&] { bd.SetNewColorFrom(clRed); }, 0},
      {"NewColorTo in band mode", [&] { bd.SetNewColorTo(clBlue); }, 0},
      {"NewType in band mode", [&] { bd.SetNewType(TGradientStyle::gsVertical); }, 0},
      {"Enabled off (already off)", [&] { bd.SetEnabled(false); }, 0},
      {"Enabled on", [&] { bd.SetEnabled(true); }, 1},
      {"Enabled on again", [&] { bd.SetEnabled(true); }, 0},
      {"Enabled off", [&] { bd.SetEnabled(false); }, 0},
      {"NewMode on", [&] { bd.SetNewMode(true); }, 1},
      {"NewMode on again", [&] { bd.SetNewMode(true); }, 0},
      {"StartR in new mode", [&] { bd.SetStartR(99); }, 0},
      {"Direction in new mode", [&] { bd.SetDirection(TFillDirection::drDownUp); }, 0},
      {"NewColorFrom in new mode", [&] { bd.SetNewColorFrom(clLime); }, 1},
      {"NewColorTo in new mode", [&] { bd.SetNewColorTo(clWhite); }, 1},
      {"NewType in new mode", [&] { bd.SetNewType(TGradientStyle::gsDiagonalLeftRight); }, 1},
      {"NewType same", [&] { bd.SetNewType(TGradientStyle::gsDiagonalLeftRight); }, 0},
      {"NewMode off", [&] { bd.SetNewMode(false); }, 1},
  };
  for (const Step& s : steps) {
    fired = 0;
    s.act();
    EXPECT_EQ(fired, s.fires) << s.what;
  }
  // Values set while their mode was off are stored all the same.
  EXPECT_EQ(bd.StartR(), 99);
  EXPECT_EQ(bd.Direction(), TFillDirection::drDownUp);
  EXPECT_EQ(bd.NewColorFrom(), clLime);
  EXPECT_FALSE(bd.Enabled());
}

// ---------------------------------------------------------------------------------------------
// FillGradientRect

TEST(FillGradientRectTest, EqualColoursFillOnlyTheRect) {
  TBitmap bmp = Filled(20, 20);
  const TRect r(3, 4, 10, 15);
  FillGradientRect(bmp, r, RGB(10, 20, 30), RGB(10, 20, 30), TGradientStyle::gsDiagonalLeftRight);
  EXPECT_TRUE(UntouchedOutside(bmp, r));
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) ASSERT_EQ(bmp.Pixel(x, y), RGB(10, 20, 30));
  EXPECT_TRUE(AllOpaque(bmp));
  EXPECT_EQ(bmp.PixelFormat, TPixelFormat::pf32bit);
}

TEST(FillGradientRectTest, SystemColoursAreConvertedInBothBranches) {
  TBitmap bmp = Filled(4, 4);
  FillGradientRect(bmp, TRect(0, 0, 4, 4), clBtnFace, clBtnFace, TGradientStyle::gsHorizontal);
  EXPECT_EQ(bmp.Pixel(2, 2), ColorToRGB(clBtnFace));
  FillGradientRect(bmp, TRect(0, 0, 4, 4), clBtnFace, clBlack, TGradientStyle::gsVertical);
  EXPECT_EQ(bmp.Pixel(2, 0), ColorToRGB(clBtnFace));
}

TEST(FillGradientRectTest, VerticalRowsStepByTruncatedFractions) {
  TBitmap one = Filled(5, 1);
  FillGradientRect(one, TRect(0, 0, 5, 1), RGB(9, 8, 7), clWhite, TGradientStyle::gsVertical);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(one.Pixel(x, 0), RGB(9, 8, 7));

  // Falling red: 200 + d * -200 div 3 truncates toward zero (134, not 133).
  TBitmap bmp = Filled(2, 3);
  FillGradientRect(bmp, TRect(0, 0, 2, 3), RGB(200, 0, 10), RGB(0, 255, 10), TGradientStyle::gsVertical);
  EXPECT_EQ(bmp.Pixel(1, 0), RGB(200, 0, 10));
  EXPECT_EQ(bmp.Pixel(1, 1), RGB(134, 85, 10));
  EXPECT_EQ(bmp.Pixel(1, 2), RGB(67, 170, 10));  // 200 - 133; never quite ColorTo

  // Monotonic ramp over a tall rect, rows uniform, last row R0 + (H-1)*dR div H.
  TBitmap tall = Filled(3, 300);
  FillGradientRect(tall, TRect(0, 0, 3, 300), RGB(0, 255, 0), RGB(255, 0, 0), TGradientStyle::gsVertical);
  for (int y = 1; y < 300; ++y) {
    ASSERT_GE(GetRValue(tall.Pixel(0, y)), GetRValue(tall.Pixel(0, y - 1)));
    ASSERT_LE(GetGValue(tall.Pixel(0, y)), GetGValue(tall.Pixel(0, y - 1)));
    ASSERT_EQ(tall.Pixel(2, y), tall.Pixel(0, y));
  }
  EXPECT_EQ(tall.Pixel(0, 299), RGB(254, 1, 0));
}

TEST(FillGradientRectTest, HorizontalColumnsStepAcrossAndRowsRepeat) {
  TBitmap bmp = Filled(30, 10);
  const TRect r(2, 1, 27, 9);  // W = 25
  FillGradientRect(bmp, r, RGB(0, 100, 250), RGB(250, 100, 0), TGradientStyle::gsHorizontal);
  EXPECT_TRUE(UntouchedOutside(bmp, r));
  for (int x = r.Left; x < r.Right; ++x) {
    const int d = x - r.Left;
    ASSERT_EQ(bmp.Pixel(x, r.Top), RGB(d * 250 / 25, 100, 250 + d * -250 / 25)) << x;
    for (int y = r.Top + 1; y < r.Bottom; ++y) ASSERT_EQ(bmp.Pixel(x, y), bmp.Pixel(x, r.Top));
  }
  EXPECT_EQ(bmp.Pixel(26, 5), RGB(240, 100, 10));
  EXPECT_TRUE(AllOpaque(bmp));
}

TEST(FillGradientRectTest, DiagonalFollowsTheSumOfFractions) {
  // v = Trunc((dy/H + dx/W) * 512); channel = start + v * delta div 1024. The exact rational
  // value is the oracle (for these sizes the extended-precision sum never crosses an integer).
  const TColor from = RGB(250, 10, 128), to = RGB(5, 240, 128);
  for (const TRect& r : {TRect(0, 0, 6, 3), TRect(1, 2, 38, 19), TRect(0, 0, 160, 90), TRect(4, 4, 5, 5)}) {
    const int W = r.Width(), H = r.Height();
    TBitmap lr = Filled(r.Right + 2, r.Bottom + 2), rl = lr;
    FillGradientRect(lr, r, from, to, TGradientStyle::gsDiagonalLeftRight);
    FillGradientRect(rl, r, from, to, TGradientStyle::gsDiagonalRightLeft);
    EXPECT_TRUE(UntouchedOutside(lr, r));
    EXPECT_TRUE(UntouchedOutside(rl, r));
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const long long v = 512LL * (y * W + x * H) / (1LL * W * H);
        TColor want = 0;
        for (int ch = 0; ch < 3; ++ch) {
          const int s = Channel(from, ch), d = Channel(to, ch) - s;
          want |= (s + int(v * d / 1024)) << (8 * ch);
        }
        ASSERT_EQ(lr.Pixel(r.Left + x, r.Top + y), want) << x << "," << y;
        // The right-left fill is the mirror image.
        ASSERT_EQ(rl.Pixel(r.Right - 1 - x, r.Top + y), want) << x << "," << y;
      }
    EXPECT_EQ(lr.Pixel(r.Left, r.Top), from);
    EXPECT_EQ(rl.Pixel(r.Right - 1, r.Top), from);
  }
}

TEST(FillGradientRectTest, DiagonalAsExtendedPrecisionSumsIt) {
  // The fill sums in double and settles near-integers in long double; every pixel must match the
  // sum formed in extended precision, also on sizes where most sums are exact integers.
  const TColor from = RGB(0, 255, 7), to = RGB(255, 0, 200);
  for (const TRect& r : {TRect(0, 0, 1024, 64), TRect(0, 0, 640, 480), TRect(3, 1, 1920 + 3, 1 + 135)}) {
    TBitmap bmp(r.Right, r.Bottom);
    FillGradientRect(bmp, r, from, to, TGradientStyle::gsDiagonalLeftRight);
    const int W = r.Width(), H = r.Height();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const int v = int(((long double)y / H + (long double)x / W) * 512);
        TColor want = 0;
        for (int ch = 0; ch < 3; ++ch) {
          const int s = Channel(from, ch), d = Channel(to, ch) - s;
          want |= (s + v * d / 1024) << (8 * ch);
        }
        ASSERT_EQ(bmp.Pixel(r.Left + x, r.Top + y), want) << x << "," << y;
      }
  }
}

TEST(FillGradientRectTest, OverhangingRectIsClippedAndKeepsItsGeometry) {
  for (TGradientStyle style : {TGradientStyle::gsHorizontal, TGradientStyle::gsVertical,
                               TGradientStyle::gsDiagonalLeftRight, TGradientStyle::gsDiagonalRightLeft}) {
    SCOPED_TRACE(std::string(GradientStyleName(style)));
    // The same gradient drawn whole on a big bitmap, and overhanging every side of a small one.
    TBitmap big = Filled(60, 60);
    FillGradientRect(big, TRect(10, 10, 50, 45), clRed, clAqua, style);
    TBitmap small = Filled(20, 15);
    FillGradientRect(small, TRect(-10, -10, 30, 25), clRed, clAqua, style);
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(small.Pixel(x, y), big.Pixel(x + 20, y + 20)) << x << "," << y;

    TBitmap edge = Filled(20, 20);
    FillGradientRect(edge, TRect(15, -5, 40, 5), clRed, clAqua, style);
    EXPECT_TRUE(UntouchedOutside(edge, TRect(15, 0, 20, 5)));
    FillGradientRect(edge, TRect(-100, -100, -1, -1), clRed, clAqua, style);
    FillGradientRect(edge, TRect(25, 25, 90, 90), clRed, clAqua, style);
    EXPECT_TRUE(UntouchedOutside(edge, TRect(15, 0, 20, 5)));
  }
}

TEST(FillGradientRectTest, ZeroSizesAndUnknownStyleDrawNothing) {
  TBitmap bmp = Filled(10, 10);
  FillGradientRect(bmp, TRect(2, 2, 2, 8), clRed, clBlue, TGradientStyle::gsHorizontal);
  FillGradientRect(bmp, TRect(2, 2, 8, 2), clRed, clBlue, TGradientStyle::gsVertical);
  FillGradientRect(bmp, TRect(8, 8, 2, 2), clRed, clBlue, TGradientStyle::gsDiagonalLeftRight);
  FillGradientRect(bmp, TRect(8, 8, 2, 2), clRed, clRed, TGradientStyle::gsDiagonalLeftRight);
  FillGradientRect(bmp, TRect(0, 0, 10, 10), clRed, clBlue, TGradientStyle(9));
  EXPECT_TRUE(UntouchedOutside(bmp, TRect()));

  TBitmap empty;
  FillGradientRect(empty, TRect(0, 0, 10, 10), clRed, clBlue, TGradientStyle::gsDiagonalRightLeft);
  EXPECT_TRUE(empty.Empty());

  TBitmap dot = Filled(3, 3);
  FillGradientRect(dot, TRect(1, 1, 2, 2), clRed, clBlue, TGradientStyle::gsDiagonalRightLeft);
  EXPECT_EQ(dot.Pixel(1, 1), clRed);
  EXPECT_TRUE(UntouchedOutside(dot, TRect(1, 1, 2, 2)));
}
