// The rotated image renderer: sizes, pixel mapping, mirror, background key, hot spot and the
// refusals that keep it safe.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "cardtable/ImageArrayUnit.h"
#include "platform/graphics/Bitmap.h"

namespace {

// Every pixel of a card-sized picture has its own colour: red from x, green from y.
TColor Marker(int x, int y) {
  return RGB(x * 3 + 1, y * 2 + 1, 77);
}

TBitmap MarkedPicture(int w = 71, int h = 96) {
  TBitmap bmp(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bmp.SetPixel(x, y, Marker(x, y));
  return bmp;
}

// The source pixel a marker colour came from; (-1, -1) for any other colour.
TPoint Decode(TColor c) {
  const int r = GetRValue(c), g = GetGValue(c);
  if (GetBValue(c) != 77 || (r - 1) % 3 != 0 || (g - 1) % 2 != 0) return TPoint(-1, -1);
  return TPoint((r - 1) / 3, (g - 1) / 2);
}

// Mean position (x2, to stay integral) of the result pixels showing source pixel p, or its
// neighbours when nearest sampling dropped p itself; (-1, -1) when none.
TPoint Landing2(const TBitmap& bmp, TPoint p) {
  for (int reach = 0; reach <= 1; ++reach) {
    long long sx = 0, sy = 0, n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) {
        const TPoint s = Decode(bmp.Pixel(x, y));
        if (std::abs(s.X - p.X) <= reach && std::abs(s.Y - p.Y) <= reach) sx += x, sy += y, ++n;
      }
    if (n > 0) return TPoint(int(2 * sx / n), int(2 * sy / n));
  }
  return TPoint(-1, -1);
}

class ImageArrayTest : public testing::Test {
 protected:
  void SetUp() override {
    picture = MarkedPicture();
    array.LoadFromBitmap(picture);
  }
  TBitmap Render(float angle, float scale, bool mirror = false, bool white = false,
                 TPoint centre = TPoint(35, 48)) {
    TBitmap out;
    EXPECT_TRUE(array.DrawRotated(out, centre, angle, origin, scale, mirror, white));
    return out;
  }

  TBitmap picture;
  TImageArray array;
  TPoint origin;
};

constexpr float kQuarter = std::numbers::pi_v<float> / 2;
constexpr float kHalf = std::numbers::pi_v<float>;

}  // namespace

TEST_F(ImageArrayTest, LoadKeepsEveryPixelAndTheBottomLeftKey) {
  EXPECT_EQ(array.Width(), 71);
  EXPECT_EQ(array.Height(), 96);
  EXPECT_EQ(array.BackgroundPixel(), Marker(0, 95));
  EXPECT_EQ(array.Pixel(70, 0), ColorToPixel(Marker(70, 0)));
  EXPECT_EQ(array.Pixel(12, 34), ColorToPixel(Marker(12, 34)));
}

TEST_F(ImageArrayTest, AngleZeroScaleOneIsIdentityAndMirrorFlips) {
  TBitmap same = Render(0, 1.0f);
  EXPECT_TRUE(SamePixels(same, picture));
  EXPECT_EQ(origin, TPoint(35, 48));
  EXPECT_EQ(same.PixelFormat, TPixelFormat::pf24bit);

  TBitmap flipped = Render(0, 1.0f, true);
  ASSERT_EQ(flipped.Width(), 71);
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 71; ++x) ASSERT_EQ(flipped.Pixel(x, y), Marker(70 - x, y)) << x << "," << y;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 71; ++x) ASSERT_EQ(flipped.RawPixel(x, y) >> 24, 0xFFu);
}

TEST_F(ImageArrayTest, ScaledSizesRoundHalfToEven) {
  TBitmap small = Render(0, 0.599f);
  EXPECT_EQ(small.Width(), 43);   // Round(42.529)
  EXPECT_EQ(small.Height(), 58);  // Round(57.504)
  const float g = 1.0f / 0.599f;
  for (int y = 0; y < 58; ++y)
    for (int x = 0; x < 43; ++x)
      ASSERT_EQ(small.Pixel(x, y), Marker(int(double(g) * x), int(double(g) * y))) << x << "," << y;
  EXPECT_EQ(small.Pixel(42, 57), Marker(70, 95));

  TBitmap big = Render(0, 2.0f);
  EXPECT_EQ(big.Width(), 142);
  EXPECT_EQ(big.Height(), 192);
  EXPECT_EQ(big.Pixel(141, 191), Marker(70, 95));
  EXPECT_EQ(big.Pixel(3, 5), Marker(1, 2));

  TBitmap step = Render(0, 1.5f);  // 106.5 rounds to 106
  EXPECT_EQ(step.Width(), 106);
  EXPECT_EQ(step.Height(), 144);
}

TEST_F(ImageArrayTest, QuarterTurnIsCounterClockwise) {
  TBitmap out = Render(kQuarter, 1.0f);
  ASSERT_EQ(out.Width(), 96);
  ASSERT_EQ(out.Height(), 71);
  for (int y = 0; y < 71; ++y)
    for (int x = 0; x < 96; ++x) ASSERT_EQ(out.Pixel(x, y), Marker(70 - y, x)) << x << "," << y;
  EXPECT_EQ(origin, TPoint(48, 35));
}

TEST_F(ImageArrayTest, HalfTurnIsPointMirror) {
  TBitmap out = Render(kHalf, 1.0f);
  ASSERT_EQ(out.Width(), 71);
  ASSERT_EQ(out.Height(), 96);
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 71; ++x) ASSERT_EQ(out.Pixel(x, y), Marker(70 - x, 95 - y)) << x << "," << y;
}

TEST_F(ImageArrayTest, SmallTurnFillsCornersWithKeyOrWhite) {
  TBitmap out = Render(0.1f, 1.0f);
  // |Round(96 sin .1)| + |Round(71 cos .1)| = 10 + 71; |Round(71 sin .1)| + |Round(96 cos .1)| = 7 + 96.
  ASSERT_EQ(out.Width(), 81);
  ASSERT_EQ(out.Height(), 103);
  const TColor key = Marker(0, 95);
  for (TPoint p : {TPoint(0, 0), TPoint(80, 0), TPoint(0, 102), TPoint(80, 102)})
    EXPECT_EQ(out.Pixel(p.X, p.Y), key) << p.X << "," << p.Y;
  EXPECT_EQ(out.Pixel(40, 51), Marker(35, 47));  // the centre stays put (96 rows: 47 and 48 share it)
  // Here the row numerator (96 + Round(...) - 1) is -1, which halves toward zero to row 0: the
  // picture's top edge, not background.
  for (int x = 65; x <= 70; ++x) EXPECT_EQ(out.Pixel(x, 0), Marker(x, 0)) << x;
  // Drawn transparently, the corners key out as the bottom-left pixel.
  EXPECT_EQ(out.TransparentColor(), key);

  TBitmap white = Render(0.1f, 1.0f, false, true);
  for (TPoint p : {TPoint(0, 0), TPoint(80, 0), TPoint(0, 102), TPoint(80, 102)})
    EXPECT_EQ(white.Pixel(p.X, p.Y), clWhite);
  EXPECT_EQ(white.Pixel(40, 51), Marker(35, 47));
}

TEST_F(ImageArrayTest, FortyFiveDegreesOnASquare) {
  TImageArray square;
  square.LoadFromBitmap(MarkedPicture(50, 50));
  TBitmap out;
  TPoint o;
  ASSERT_TRUE(square.DrawRotated(out, TPoint(25, 25), std::numbers::pi_v<float> / 4, o, 2.0f, false, true));
  // 2 * Round(50 * 0.7071 * 2) = 2 * 71.
  EXPECT_EQ(out.Width(), 142);
  EXPECT_EQ(out.Height(), 142);
  EXPECT_EQ(o, TPoint(71, 71));
  EXPECT_EQ(out.Pixel(0, 0), clWhite);
  EXPECT_EQ(out.Pixel(141, 141), clWhite);
  // Turned counter-clockwise, the source's top-right corner points up and its top-left one left.
  const TPoint top = Decode(out.Pixel(71, 2));
  EXPECT_GE(top.X, 47);
  EXPECT_LE(top.Y, 2);
  const TPoint left = Decode(out.Pixel(2, 71));
  EXPECT_LE(left.X, 2);
  EXPECT_LE(left.Y, 2);
}

TEST(ImageArrayPrecisionTest, EveryPixelAsExtendedPrecisionMapsIt) {
  // The renderer rounds in double and settles near-halves in long double; the result must be
  // the mapping computed throughout in extended precision.
  const int W = 31, H = 47;
  TImageArray array;
  array.LoadFromBitmap(MarkedPicture(W, H));
  for (float angle : {0.1f, 0.5f, 1.0f, kQuarter, 2.0f, kHalf, 4.0f, -0.3f, 1e-7f, 3 * kQuarter})
    for (float scale : {1.0f, 0.599f, 1.5f, 2.3f, 0.25f})
      for (bool mirror : {false, true}) {
        SCOPED_TRACE(testing::Message() << "angle " << angle << " scale " << scale << " mirror " << mirror);
        TBitmap out;
        TPoint origin;
        ASSERT_TRUE(array.DrawRotated(out, TPoint(15, 23), angle, origin, scale, mirror, true));
        const long double s = float(std::sin(double(angle))), c = float(std::cos(double(angle)));
        const long double g = 1.0f / scale;
        for (int y = 0; y < out.Height(); ++y)
          for (int x = 0; x < out.Width(); ++x) {
            const int K = 2 * x - (out.Width() - 1), L = 2 * y - (out.Height() - 1);
            long long sx = (W + std::llrint(g * (c * K - s * L)) - 1) / 2;
            const long long sy = (H + std::llrint(g * (s * K + c * L)) - 1) / 2;
            if (mirror) sx = W - 1 - sx;
            const TColor want = sx >= 0 && sx < W && sy >= 0 && sy < H ? Marker(int(sx), int(sy)) : clWhite;
            ASSERT_EQ(out.Pixel(x, y), want) << x << "," << y;
          }
      }
}

TEST_F(ImageArrayTest, CentreLandsInTheMiddleAtAnyAngle) {
  for (float angle : {0.0f, 0.3f, 1.0f, kQuarter, 2.0f, kHalf, -0.7f, 5.5f})
    for (float scale : {0.5f, 1.0f, 1.25f}) {
      TBitmap out = Render(angle, scale);
      EXPECT_EQ(origin, TPoint(out.Width() / 2, out.Height() / 2)) << angle << " " << scale;
    }
}

TEST_F(ImageArrayTest, HotSpotFollowsThePixelItNames) {
  // Origin is where the source point lands: find its marker in the result.
  for (float angle : {0.0f, 0.4f, kQuarter, 2.5f, kHalf, -1.1f})
    for (bool mirror : {false, true})
      for (TPoint p : {TPoint(10, 20), TPoint(35, 80), TPoint(60, 48), TPoint(35, 10), TPoint(5, 90)}) {
        SCOPED_TRACE(testing::Message()
                     << "angle " << angle << " mirror " << mirror << " point " << p.X << "," << p.Y);
        TBitmap out = Render(angle, 1.0f, mirror, false, p);
        const TPoint at2 = Landing2(out, p);
        ASSERT_NE(at2, TPoint(-1, -1));
        EXPECT_LE(std::abs(2 * origin.X - at2.X), 3);
        EXPECT_LE(std::abs(2 * origin.Y - at2.Y), 3);
      }
  // Upright and unscaled the hot spot is the point itself (a point below the centre stays below).
  Render(0, 1.0f, false, false, TPoint(10, 80));
  EXPECT_EQ(origin, TPoint(10, 80));
  Render(0, 2.0f, false, false, TPoint(10, 80));
  EXPECT_EQ(origin, TPoint(71 + 2 * (10 - 35), 96 + 2 * (80 - 48)));
}

TEST_F(ImageArrayTest, TargetTransparentFlagIsKept) {
  TBitmap out(5, 5);
  out.Transparent = true;
  out.PixelFormat = TPixelFormat::pf32bit;
  array.DrawRotated(out, TPoint(35, 48), 0.2f, origin, 1.0f, false, false);
  EXPECT_TRUE(out.Transparent);
  EXPECT_EQ(out.PixelFormat, TPixelFormat::pf24bit);
  out.Transparent = false;
  array.DrawRotated(out, TPoint(35, 48), 0.2f, origin, 1.0f, false, false);
  EXPECT_FALSE(out.Transparent);
}

TEST(ImageArrayRefusalTest, EmptySourceGivesEmptyResult) {
  TImageArray array;
  TBitmap out(4, 4);
  TPoint origin(9, 9);
  EXPECT_FALSE(array.DrawRotated(out, TPoint(0, 0), 0.5f, origin, 1.0f, false, false));
  EXPECT_TRUE(out.Empty());
  EXPECT_EQ(origin, TPoint(0, 0));

  array.LoadFromBitmap(TBitmap(10, 0));
  EXPECT_EQ(array.BackgroundPixel(), clBlack);
  EXPECT_FALSE(array.DrawRotated(out, TPoint(0, 0), 0.0f, origin, 1.0f, false, false));
  EXPECT_TRUE(out.Empty());
}

TEST(ImageArrayRefusalTest, BadScalesAndAnglesAreRefused) {
  TImageArray array;
  array.LoadFromBitmap(MarkedPicture(20, 30));
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  for (float scale : {0.0f, -1.0f, -0.0f, nan, inf}) {
    TBitmap out(3, 3);
    TPoint origin(1, 1);
    EXPECT_FALSE(array.DrawRotated(out, TPoint(10, 15), 0.3f, origin, scale, false, false)) << scale;
    EXPECT_TRUE(out.Empty());
    EXPECT_EQ(origin, TPoint(0, 0));
  }
  TBitmap out;
  TPoint origin;
  EXPECT_FALSE(array.DrawRotated(out, TPoint(10, 15), nan, origin, 1.0f, false, false));
  EXPECT_FALSE(array.DrawRotated(out, TPoint(10, 15), inf, origin, 1.0f, false, false));
}

TEST(ImageArrayRefusalTest, HugeScaleIsRefusedWithoutOverflow) {
  TImageArray array;
  array.LoadFromBitmap(MarkedPicture(71, 96));
  TBitmap out(2, 2);
  TPoint origin;
  EXPECT_FALSE(array.DrawRotated(out, TPoint(35, 48), 0.0f, origin, 1.0e6f, false, false));
  EXPECT_TRUE(out.Empty());
  EXPECT_FALSE(array.DrawRotated(out, TPoint(35, 48), 0.7f, origin, 3.0e38f, false, false));
  EXPECT_FALSE(array.DrawRotated(out, TPoint(35, 48), 0.0f, origin, 1000.0f, false, false));  // 71000 wide
  EXPECT_FALSE(array.DrawRotated(out, TPoint(35, 48), 0.0f, origin, 100.0f, false, false));   // 68 M pixels
  // The largest sizes that are allowed still render.
  EXPECT_TRUE(array.DrawRotated(out, TPoint(35, 48), 0.0f, origin, 20.0f, false, false));
  EXPECT_EQ(out.Width(), 1420);
  EXPECT_EQ(out.Pixel(1419, 1919), Marker(70, 95));
  // A tiny scale leaves nothing to draw but is no error.
  EXPECT_TRUE(array.DrawRotated(out, TPoint(35, 48), 0.3f, origin, 1.0e-30f, false, false));
  EXPECT_TRUE(out.Empty());
}

TEST(ImageArrayRefusalTest, PicturesWiderThan16BitsWork) {
  TBitmap wide(40000, 2);
  for (int x = 0; x < 40000; ++x) {
    wide.SetPixel(x, 0, RGB(x & 0xFF, x >> 8, 1));
    wide.SetPixel(x, 1, RGB(x & 0xFF, x >> 8, 2));
  }
  TImageArray array;
  array.LoadFromBitmap(wide);
  EXPECT_EQ(array.Width(), 40000);
  TBitmap out;
  TPoint origin;
  ASSERT_TRUE(array.DrawRotated(out, TPoint(20000, 1), 0.0f, origin, 0.5f, true, false));
  EXPECT_EQ(out.Width(), 20000);
  EXPECT_EQ(out.Height(), 1);
  EXPECT_EQ(out.Pixel(0, 0), wide.Pixel(39999, 0));
  EXPECT_EQ(out.Pixel(19999, 0), wide.Pixel(1, 0));
  EXPECT_EQ(origin.X, 10000);
}

TEST(ImageArrayStorageTest, ResizingKeepsColumnsAndReloadReplaces) {
  TImageArray array;
  array.LoadFromBitmap(MarkedPicture(4, 5));
  array.SetWidth(6);
  EXPECT_EQ(array.Pixel(3, 4), ColorToPixel(Marker(3, 4)));
  EXPECT_EQ(array.Pixel(5, 4), ColorToPixel(clBlack));
  array.SetHeight(3);
  EXPECT_EQ(array.Height(), 3);
  EXPECT_EQ(array.Pixel(3, 2), ColorToPixel(Marker(3, 2)));
  array.SetHeight(7);
  EXPECT_EQ(array.Pixel(2, 1), ColorToPixel(Marker(2, 1)));
  array.SetWidth(-3);
  EXPECT_EQ(array.Width(), 0);

  // A smaller picture after a larger one: nothing of the old one shows.
  array.LoadFromBitmap(MarkedPicture(71, 96));
  const TBitmap small = MarkedPicture(9, 7);
  array.LoadFromBitmap(small);
  TBitmap out;
  TPoint origin;
  ASSERT_TRUE(array.DrawRotated(out, TPoint(4, 3), 0.0f, origin, 1.0f, false, false));
  EXPECT_TRUE(SamePixels(out, small));
}

TEST(ImageArrayStorageTest, VectorBetween) {
  TVector v;
  TImageArray::VectorBetween(TPoint(1, 1), TPoint(4, 5), v);
  EXPECT_FLOAT_EQ(v.Length, 5.0f);
  EXPECT_FLOAT_EQ(v.X0, 0.6f);
  EXPECT_FLOAT_EQ(v.Y0, 0.8f);
  TImageArray::VectorBetween(TPoint(3, 3), TPoint(3, 3), v);
  EXPECT_EQ(v.Length, 0.0f);
  EXPECT_EQ(v.X0, 1.0f);
  EXPECT_EQ(v.Y0, 0.0f);
}

TEST(LiftDarkPixelsTest, RaisesRedBelowSum30) {
  TBitmap bmp(4, 1);
  bmp.SetPixel(0, 0, RGB(9, 10, 10));   // sum 29
  bmp.SetPixel(1, 0, RGB(10, 10, 10));  // sum 30
  bmp.SetPixel(2, 0, clBlack);
  bmp.SetPixel(3, 0, RGB(0, 0, 29));
  bmp.PixelFormat = TPixelFormat::pf32bit;
  TImageArray::LiftDarkPixels(bmp);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(30, 10, 10));
  EXPECT_EQ(bmp.Pixel(1, 0), RGB(10, 10, 10));
  EXPECT_EQ(bmp.Pixel(2, 0), RGB(30, 0, 0));
  EXPECT_EQ(bmp.Pixel(3, 0), RGB(30, 0, 29));
  EXPECT_EQ(bmp.PixelFormat, TPixelFormat::pf24bit);
  EXPECT_EQ(bmp.RawPixel(2, 0) >> 24, 0xFFu);
}
