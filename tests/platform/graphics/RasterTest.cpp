#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Raster.h"
#include "tests/platform/graphics/GraphicsTestUtil.h"

namespace {

// The reference: every destination pixel of the rectangle looked at on its own, with bounds checks,
// reading from a snapshot of the source taken before the copy (which is what an overlapping copy
// must amount to).
uint32_t Apply(TRasterOp op, uint32_t d, uint32_t s) {
  switch (op) {
    case TRasterOp::Copy:
      return s | kOpaque;
    case TRasterOp::And:
      return (d & s) | kOpaque;
    case TRasterOp::Paint:
      return d | s | kOpaque;
    case TRasterOp::NotCopy:
      return ~s | kOpaque;
  }
  return 0;
}

bool Inside(const TBitmap& b, int64_t x, int64_t y) {
  return x >= 0 && y >= 0 && x < b.Width() && y < b.Height();
}

void RefBitBlt(TBitmap& dst, int x, int y, int w, int h, const TBitmap& srcNow, int sx, int sy,
               TRasterOp op) {
  const TBitmap src = srcNow;
  for (int64_t j = 0; j < h; ++j)
    for (int64_t i = 0; i < w; ++i) {
      const int64_t tx = x + i, ty = y + j, ux = sx + i, uy = sy + j;
      if (!Inside(dst, tx, ty) || !Inside(src, ux, uy)) continue;
      dst.ScanLine(int(ty))[tx] = Apply(op, dst.RawPixel(int(tx), int(ty)), src.RawPixel(int(ux), int(uy)));
    }
}

void RefStretch(TBitmap& dst, int x, int y, int w, int h, const TBitmap& srcNow, int sx, int sy, int sw,
                int sh, TRasterOp op) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  const TBitmap src = srcNow;
  for (int64_t j = 0; j < h; ++j)
    for (int64_t i = 0; i < w; ++i) {
      const int64_t tx = x + i, ty = y + j;
      const int64_t ux = sx + (i * sw) / w, uy = sy + (j * sh) / h;
      if (!Inside(dst, tx, ty) || !Inside(src, ux, uy)) continue;
      dst.ScanLine(int(ty))[tx] = Apply(op, dst.RawPixel(int(tx), int(ty)), src.RawPixel(int(ux), int(uy)));
    }
}

constexpr TRasterOp kOps[] = {TRasterOp::Copy, TRasterOp::And, TRasterOp::Paint, TRasterOp::NotCopy};

}  // namespace

TEST(BitBltTest, EachOperationPixelByPixel) {
  TBitmap src(2, 1), dst(2, 1);
  src.SetPixel(0, 0, 0x0F0F0F);
  src.SetPixel(1, 0, 0x00FF33);
  const TColor before[2] = {0x3355AA, 0xF0F0F0};
  struct Case {
    TRasterOp op;
    TColor expect[2];
  } cases[] = {
      {TRasterOp::Copy, {0x0F0F0F, 0x00FF33}},
      {TRasterOp::And, {0x03050A, 0x00F030}},
      {TRasterOp::Paint, {0x3F5FAF, 0xF0FFF3}},
      {TRasterOp::NotCopy, {0xF0F0F0, 0xFF00CC}},
  };
  for (const Case& c : cases) {
    dst.SetPixel(0, 0, before[0]);
    dst.SetPixel(1, 0, before[1]);
    BitBlt(dst, 0, 0, 2, 1, src, 0, 0, c.op);
    EXPECT_EQ(dst.Pixel(0, 0), c.expect[0]) << int(c.op);
    EXPECT_EQ(dst.Pixel(1, 0), c.expect[1]) << int(c.op);
    ExpectOpaque(dst);
  }
}

TEST(BitBltTest, ClipsAtEveryEdgeOfBothBitmaps) {
  const TBitmap src = Pattern(7, 5, 1);
  const TBitmap base = Pattern(9, 6, 2);
  struct Case {
    int x, y, w, h, sx, sy;
  } cases[] = {
      {0, 0, 7, 5, 0, 0},
      {-3, 0, 7, 5, 0, 0},
      {0, -2, 7, 5, 0, 0},
      {5, 0, 7, 5, 0, 0},
      {0, 4, 7, 5, 0, 0},
      {-3, -2, 20, 20, 0, 0},
      {2, 1, 7, 5, -2, 0},
      {2, 1, 7, 5, 0, -3},
      {2, 1, 7, 5, 3, 2},
      {2, 1, 9, 9, -4, -4},
      {8, 5, 3, 3, 6, 4},
      {9, 0, 3, 3, 0, 0},
      {0, 6, 3, 3, 0, 0},
      {0, 0, 3, 3, 7, 0},
      {0, 0, 3, 3, 0, 5},
      {-7, 0, 7, 5, 0, 0},
      {0, -5, 7, 5, 0, 0},
      {1, 1, 0, 5, 0, 0},
      {1, 1, 5, 0, 0, 0},
      {1, 1, -3, 5, 0, 0},
      {1, 1, 5, -2, 0, 0},
      {INT_MIN, 0, 5, 5, 0, 0},
      {0, 0, INT_MAX, INT_MAX, 0, 0},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
      {-1, -1, INT_MAX, 3, INT_MIN, 0},
  };
  for (TRasterOp op : kOps)
    for (const Case& c : cases) {
      TBitmap got = base, want = base;
      BitBlt(got, c.x, c.y, c.w, c.h, src, c.sx, c.sy, op);
      RefBitBlt(want, c.x, c.y, std::min(c.w, 64), std::min(c.h, 64), src, c.sx, c.sy, op);
      EXPECT_SAME_PIXELS(got, want) << "op " << int(op) << " at " << c.x << "," << c.y << " " << c.w << "x"
                                    << c.h << " from " << c.sx << "," << c.sy;
    }
}

TEST(BitBltTest, NegativeStartShiftsTheSourceAlong) {
  // Copying to (-2, -1) shows source pixel (2, 1) at the destination's origin.
  const TBitmap src = Pattern(6, 4, 3);
  TBitmap dst(6, 4);
  dst.Clear(clWhite);
  BitBlt(dst, -2, -1, 6, 4, src, 0, 0);
  EXPECT_EQ(dst.RawPixel(0, 0), src.RawPixel(2, 1));
  EXPECT_EQ(dst.RawPixel(3, 2), src.RawPixel(5, 3));
  EXPECT_EQ(dst.Pixel(4, 0), clWhite);
  EXPECT_EQ(dst.Pixel(0, 3), clWhite);
  // And a negative source start moves the drawn part right and down instead.
  dst.Clear(clWhite);
  BitBlt(dst, 0, 0, 6, 4, src, -2, -1);
  EXPECT_EQ(dst.Pixel(1, 0), clWhite);
  EXPECT_EQ(dst.Pixel(0, 1), clWhite);
  EXPECT_EQ(dst.RawPixel(2, 1), src.RawPixel(0, 0));
  EXPECT_EQ(dst.RawPixel(5, 3), src.RawPixel(3, 2));
}

TEST(BitBltTest, RandomRectanglesMatchTheReference) {
  std::mt19937 rng(12345);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int n = 0; n < 400; ++n) {
    const TBitmap src = Pattern(pick(1, 12), pick(1, 12), n);
    TBitmap got = Pattern(pick(1, 12), pick(1, 12), n + 1000), want = got;
    const int x = pick(-14, 14), y = pick(-14, 14), w = pick(-2, 16), h = pick(-2, 16);
    const int sx = pick(-14, 14), sy = pick(-14, 14);
    const TRasterOp op = kOps[n % 4];
    BitBlt(got, x, y, w, h, src, sx, sy, op);
    RefBitBlt(want, x, y, w, h, src, sx, sy, op);
    EXPECT_SAME_PIXELS(got, want) << "case " << n;
  }
}

TEST(BitBltTest, OverlappingCopiesWithinOneBitmapInEveryDirection) {
  for (TRasterOp op : kOps)
    for (int ddx = -3; ddx <= 3; ++ddx)
      for (int ddy = -3; ddy <= 3; ++ddy) {
        TBitmap got = Pattern(16, 12, 7), want = got;
        BitBlt(got, 4 + ddx, 3 + ddy, 9, 7, got, 4, 3, op);
        RefBitBlt(want, 4 + ddx, 3 + ddy, 9, 7, want, 4, 3, op);
        EXPECT_SAME_PIXELS(got, want) << "op " << int(op) << " shift " << ddx << "," << ddy;
      }
}

TEST(BitBltTest, OverlappingCopyClippedAtTheEdges) {
  TBitmap got = Pattern(10, 10, 8), want = got;
  BitBlt(got, 3, -2, 12, 12, got, -1, 0);
  RefBitBlt(want, 3, -2, 12, 12, want, -1, 0, TRasterOp::Copy);
  EXPECT_SAME_PIXELS(got, want);
}

TEST(BitBltTest, ResultsKeepTheXByteOpaque) {
  // Pixels written through ScanLine by other code may carry 0 in the X byte.
  TBitmap src(4, 4), dst(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      src.ScanLine(y)[x] = 0x00123456;
      dst.ScanLine(y)[x] = 0x00FFFFFF;
    }
  for (TRasterOp op : kOps) {
    TBitmap d = dst;
    BitBlt(d, 0, 0, 4, 4, src, 0, 0, op);
    ExpectOpaque(d);
    TBitmap s = dst;
    StretchBlt(s, 0, 0, 4, 4, src, 0, 0, 2, 2, op);
    ExpectOpaque(s);
  }
}

TEST(BitBltTest, EmptyBitmapsDrawNothing) {
  TBitmap empty, dst = Pattern(3, 3, 1);
  const TBitmap before = dst;
  BitBlt(dst, 0, 0, 3, 3, empty, 0, 0);
  StretchBlt(dst, 0, 0, 3, 3, empty, 0, 0, 1, 1);
  Draw(dst, 0, 0, empty);
  EXPECT_SAME_PIXELS(dst, before);
  BitBlt(empty, 0, 0, 3, 3, dst, 0, 0);
  EXPECT_TRUE(empty.Empty());
}

TEST(StretchBltTest, IdenticalSizesStayPixelAligned) {
  const TBitmap src = Pattern(13, 9, 4);
  TBitmap dst(13, 9);
  StretchBlt(dst, 0, 0, 13, 9, src, 0, 0, 13, 9);
  EXPECT_SAME_PIXELS(dst, src);
}

TEST(StretchBltTest, EnlargeDoublesEachPixel) {
  const TBitmap src = Pattern(3, 2, 5);
  TBitmap dst(6, 4);
  StretchBlt(dst, 0, 0, 6, 4, src, 0, 0, 3, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.RawPixel(x, y), src.RawPixel(x / 2, y / 2)) << x << "," << y;
}

TEST(StretchBltTest, ShrinkTakesEveryOtherPixel) {
  const TBitmap src = Pattern(8, 6, 6);
  TBitmap dst(4, 3);
  StretchBlt(dst, 0, 0, 4, 3, src, 0, 0, 8, 6);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.RawPixel(x, y), src.RawPixel(2 * x, 2 * y));
}

TEST(StretchBltTest, OnePixelSourceFillsTheTarget) {
  const TBitmap src = Pattern(5, 5, 9);
  TBitmap dst(7, 7);
  dst.Clear(clWhite);
  StretchBlt(dst, 1, 2, 4, 3, src, 3, 1, 1, 1);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) {
      const bool in = x >= 1 && x < 5 && y >= 2 && y < 5;
      if (in)
        EXPECT_EQ(dst.RawPixel(x, y), src.RawPixel(3, 1));
      else
        EXPECT_EQ(dst.Pixel(x, y), clWhite);
    }
  // And onto a one-pixel target: the source's first pixel of the rectangle.
  TBitmap one(1, 1);
  StretchBlt(one, 0, 0, 1, 1, src, 2, 3, 3, 2);
  EXPECT_EQ(one.RawPixel(0, 0), src.RawPixel(2, 3));
}

TEST(StretchBltTest, ZeroOrNegativeSizesDrawNothing) {
  const TBitmap src = Pattern(5, 5, 9);
  const TBitmap base = Pattern(6, 6, 10);
  const int sizes[][4] = {{0, 3, 3, 3}, {3, 0, 3, 3},  {3, 3, 0, 3},
                          {3, 3, 3, 0}, {-3, 3, 3, 3}, {3, 3, -3, -3}};
  for (const auto& s : sizes) {
    TBitmap dst = base;
    StretchBlt(dst, 0, 0, s[0], s[1], src, 0, 0, s[2], s[3]);
    EXPECT_SAME_PIXELS(dst, base);
  }
  TBitmap dst = base;
  StretchDraw(dst, TRect(4, 4, 4, 9), src);
  StretchDraw(dst, TRect(4, 4, 2, 2), src);
  EXPECT_SAME_PIXELS(dst, base);
}

TEST(StretchBltTest, RandomRectanglesMatchTheReference) {
  std::mt19937 rng(777);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int n = 0; n < 400; ++n) {
    const TBitmap src = Pattern(pick(1, 10), pick(1, 10), n);
    TBitmap got = Pattern(pick(1, 14), pick(1, 14), n + 1000), want = got;
    const int x = pick(-12, 14), y = pick(-12, 14), w = pick(-1, 25), h = pick(-1, 25);
    const int sx = pick(-8, 10), sy = pick(-8, 10), sw = pick(-1, 14), sh = pick(-1, 14);
    const TRasterOp op = kOps[n % 4];
    StretchBlt(got, x, y, w, h, src, sx, sy, sw, sh, op);
    RefStretch(want, x, y, w, h, src, sx, sy, sw, sh, op);
    EXPECT_SAME_PIXELS(got, want) << "case " << n << ": " << x << "," << y << " " << w << "x" << h << " from "
                                  << sx << "," << sy << " " << sw << "x" << sh;
  }
}

TEST(StretchBltTest, HugeCoordinatesNeitherOverflowNorLoop) {
  const TBitmap src = Pattern(4, 4, 1);
  TBitmap got = Pattern(8, 8, 2), want = got;
  StretchBlt(got, -1000000000, -1000000000, INT_MAX, INT_MAX, src, 0, 0, 4, 4);
  // The target rectangle starts far up-left; the bitmap sees samples from its middle part.
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const int64_t ux = ((int64_t(x) + 1000000000) * 4) / INT_MAX,
                    uy = ((int64_t(y) + 1000000000) * 4) / INT_MAX;
      want.ScanLine(y)[x] = src.RawPixel(int(ux), int(uy));
    }
  EXPECT_SAME_PIXELS(got, want);
  TBitmap before = got;
  StretchBlt(got, 0, 0, 8, 8, src, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  StretchBlt(got, 0, 0, 8, 8, src, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_SAME_PIXELS(got, before);
}

TEST(StretchBltTest, StretchWithinOneBitmap) {
  TBitmap got = Pattern(12, 12, 3), want = got;
  StretchBlt(got, 2, 2, 10, 10, got, 0, 0, 5, 5, TRasterOp::Paint);
  RefStretch(want, 2, 2, 10, 10, want, 0, 0, 5, 5, TRasterOp::Paint);
  EXPECT_SAME_PIXELS(got, want);
}

TEST(RasterDrawTest, OpaqueDrawCopiesEverything) {
  TBitmap src = Pattern(4, 3, 1);
  src.SetPixel(0, 2, clBlack);  // key colour, not used while Transparent is off
  TBitmap dst(6, 6);
  dst.Clear(clWhite);
  Draw(dst, 1, 2, src);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.RawPixel(1 + x, 2 + y), src.RawPixel(x, y) | kOpaque);
  EXPECT_EQ(dst.Pixel(0, 0), clWhite);
}

TEST(RasterDrawTest, TransparentDrawLeavesOutTheBottomLeftColour) {
  TBitmap src(3, 3);
  src.Clear(clRed);
  src.SetPixel(1, 1, clBlue);
  src.SetPixel(2, 0, clRed | 0x010000);  // one step away from the key: drawn
  src.Transparent = true;
  ASSERT_EQ(src.TransparentColor(), clRed);
  TBitmap dst(5, 5);
  dst.Clear(clWhite);
  Draw(dst, -1, 1, src);  // clipped on the left too
  EXPECT_EQ(dst.Pixel(0, 2), clBlue);
  EXPECT_EQ(dst.Pixel(1, 1), clRed | 0x010000);
  EXPECT_EQ(dst.Pixel(0, 1), clWhite);
  EXPECT_EQ(dst.Pixel(0, 3), clWhite);
  EXPECT_EQ(dst.Pixel(1, 3), clWhite);
  ExpectOpaque(dst);
}

TEST(RasterDrawTest, KeyMatchesOnRGBOnlyNotTheXByte) {
  TBitmap src(2, 1);
  src.ScanLine(0)[0] = 0x000000FF;  // key colour blue (B in the low byte) with X = 0
  src.ScanLine(0)[1] = 0xFF00FF00;
  TBitmap dst(2, 1);
  dst.Clear(clWhite);
  DrawTransparent(dst, 0, 0, src, clBlue);
  EXPECT_EQ(dst.Pixel(0, 0), clWhite);
  EXPECT_EQ(dst.Pixel(1, 0), clLime);
}

TEST(RasterDrawTest, ExplicitKeyAndOverlapWithinOneBitmap) {
  TBitmap got = Pattern(10, 10, 4);
  for (int x = 0; x < 10; ++x) got.SetPixel(x, 4, clFuchsia);
  TBitmap want = got;
  DrawTransparent(got, 0, 0, got, clFuchsia);  // onto itself: no change
  EXPECT_SAME_PIXELS(got, want);
  // Shifted one down-right within the same bitmap: the snapshot semantics of the reference.
  TBitmap got2 = want;
  const TBitmap snapshot = want;
  DrawTransparent(got2, 1, 1, got2, clFuchsia);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      uint32_t expect = snapshot.RawPixel(x, y);
      if (x >= 1 && y >= 1 && !SameRGB(snapshot.RawPixel(x - 1, y - 1), ColorToPixel(clFuchsia)))
        expect = snapshot.RawPixel(x - 1, y - 1);
      EXPECT_EQ(got2.RawPixel(x, y), expect) << x << "," << y;
    }
}

TEST(RasterDrawTest, StretchDrawHonoursTransparency) {
  TBitmap src(2, 2);
  src.Clear(clBlack);
  src.SetPixel(1, 0, clYellow);
  src.Transparent = true;
  TBitmap dst(4, 4);
  dst.Clear(clWhite);
  StretchDraw(dst, TRect(0, 0, 4, 4), src);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dst.Pixel(x, y), (x >= 2 && y < 2) ? clYellow : clWhite) << x << "," << y;
  src.Transparent = false;
  StretchDraw(dst, TRect(0, 0, 4, 4), src);
  EXPECT_EQ(dst.Pixel(0, 3), clBlack);
  // Clipped on every side.
  TBitmap clipped(3, 3);
  clipped.Clear(clWhite);
  StretchDraw(clipped, TRect(-1, -1, 4, 4), Pattern(5, 5, 2));
  TBitmap want(3, 3);
  want.Clear(clWhite);
  RefStretch(want, -1, -1, 5, 5, Pattern(5, 5, 2), 0, 0, 5, 5, TRasterOp::Copy);
  EXPECT_SAME_PIXELS(clipped, want);
}

TEST(RasterFillTest, FillRectClipsAndUsesSystemColours) {
  TBitmap b(5, 4);
  b.Clear(clWhite);
  FillRect(b, TRect(-2, 2, 3, 10), clRed);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), (x < 3 && y >= 2) ? clRed : clWhite);
  FillRect(b, TRect(3, 3, 1, 1), clBlue);  // inverted: nothing
  FillRect(b, TRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), clNavy);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), clNavy);
  FillRect(b, TRect(0, 0, 1, 1), clBtnFace);
  EXPECT_EQ(b.Pixel(0, 0), ColorToRGB(clBtnFace));
  ExpectOpaque(b);
}

TEST(RasterFillTest, FrameRectIsOnePixelJustInside) {
  TBitmap b(6, 5);
  b.Clear(clWhite);
  FrameRect(b, TRect(1, 1, 5, 4), clBlack);
  const char* want[] = {
      "......", ".####.", ".#..#.", ".####.", "......",
  };
  ExpectMask(b, want, clBlack);
  // Thin rectangles become lines; edges off the bitmap are cut.
  b.Clear(clWhite);
  FrameRect(b, TRect(0, 2, 6, 3), clBlack);
  FrameRect(b, TRect(4, -5, 5, 100), clBlack);
  const char* thin[] = {
      "....#.", "....#.", "######", "....#.", "....#.",
  };
  ExpectMask(b, thin, clBlack);
  // Two pixels wide or high: both edges drawn.
  b.Clear(clWhite);
  FrameRect(b, TRect(0, 0, 2, 2), clBlack);
  FrameRect(b, TRect(3, 1, 6, 3), clBlack);
  FrameRect(b, TRect(0, 2, 2, 5), clBlack);
  const char* two[] = {
      "##....", "##.###", "##.###", "##....", "##....",
  };
  ExpectMask(b, two, clBlack);
  b.Clear(clWhite);
  FrameRect(b, TRect(-1, -1, 7, 6), clBlack);  // every side outside: nothing
  FrameRect(b, TRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), clBlack);
  FrameRect(b, TRect(2, 2, 2, 4), clBlack);  // empty
  const char* none[] = {"......", "......", "......", "......", "......"};
  ExpectMask(b, none, clBlack);
}

TEST(RasterFillTest, PatternIsTiledFromTheBitmapOrigin) {
  const TBitmap brush = Pattern(3, 2, 11);
  TBitmap b(10, 7);
  b.Clear(clWhite);
  PatternFill(b, TRect(2, 1, 12, 6), brush);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 10; ++x) {
      if (x >= 2 && y >= 1 && y < 6)
        EXPECT_EQ(b.RawPixel(x, y), brush.RawPixel(x % 3, y % 2) | kOpaque) << x << "," << y;
      else
        EXPECT_EQ(b.Pixel(x, y), clWhite) << x << "," << y;
    }
  TBitmap before = b;
  PatternFill(b, TRect(0, 0, 10, 7), TBitmap());
  EXPECT_SAME_PIXELS(b, before);
}

TEST(RasterFillTest, InvertFlipsColourBitsOnly) {
  TBitmap b(2, 1);
  b.SetPixel(0, 0, 0x123456);
  b.ScanLine(0)[1] = 0x00000000;
  InvertBitmap(b);
  EXPECT_EQ(b.Pixel(0, 0), 0xEDCBA9);
  EXPECT_EQ(b.RawPixel(1, 0), 0xFFFFFFFFu);
  InvertBitmap(b);
  EXPECT_EQ(b.Pixel(0, 0), 0x123456);
  ExpectOpaque(b);
}

TEST(BitmapTest, SizeTransparencyKeyAndCopies) {
  TBitmap b = Pattern(4, 3, 1);
  const TBitmap orig = b;
  b.SetSize(6, 2);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(b.RawPixel(x, 1), orig.RawPixel(x, 1));
  EXPECT_EQ(b.Pixel(5, 0), clBlack);
  EXPECT_EQ(b.Pixel(6, 0), -1);
  EXPECT_EQ(b.TransparentColor(), PixelToColor(b.RawPixel(0, 1)));
  EXPECT_EQ(TBitmap().TransparentColor(), clBlack);
  b.SetSize(-1, 5);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(ColorToPixel(RGB(1, 2, 3)), 0xFF010203u);
  EXPECT_EQ(PixelToColor(0xFF010203u), RGB(1, 2, 3));
}
