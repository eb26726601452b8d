// The parts of a copy that differ from the screen: every differing pixel is covered, nothing outside
// the copied rectangles is, no pixel is sent twice, pixels the screen does not show go whole, and
// the parts stay few however the differences are scattered.
#include <gtest/gtest.h>

#include <random>

#include "cardtable/ScreenDiff.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Raster.h"

namespace {

TScreenPixels PixelsOf(const TBitmap& b) {
  return {b.ScanLine(0), b.Width(), b.Width(), b.Height()};
}

// How often each pixel is covered by the parts.
std::vector<int> Coverage(const std::vector<TRect>& parts, int w, int h) {
  std::vector<int> n(size_t(w) * size_t(h), 0);
  for (const TRect& r : parts)
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) ++n[size_t(y) * size_t(w) + size_t(x)];
  return n;
}

struct TScatter {
  const char* Name;
  int Spots;     // changed spots
  int SpotSize;  // their size
  bool TopByte;  // the screen differs only in the byte that is not compared
};

TEST(ScreenDiffTest, PartsCoverEveryDifferenceInsideTheCopiesOnce) {
  const int w = 300, h = 200;
  const TScatter cases[] = {{"nothing", 0, 0, false},      {"one strip", 1, 40, false},
                            {"a few spots", 6, 5, false},  {"many single pixels", 3000, 1, false},
                            {"everything", 1, 400, false}, {"only the unused byte", 0, 0, true}};
  for (const TScatter& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap buffer(w, h), screen(w, h);
    FillRect(buffer, TRect(0, 0, w, h), TColor(0x336699));
    FillRect(screen, TRect(0, 0, w, h), TColor(0x336699));
    if (c.TopByte)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) screen.ScanLine(y)[x] ^= 0xFF000000u;
    std::mt19937 rng(uint32_t(c.Spots * 7 + c.SpotSize));
    for (int i = 0; i < c.Spots; ++i) {
      const int x = int(rng() % w), y = int(rng() % h);
      FillRect(buffer, TRect(x, y, std::min(w, x + c.SpotSize), std::min(h, y + c.SpotSize / 2 + 1)),
               TColor(rng() & 0xFFFFFF));
    }
    // Two overlapping copies and one partly outside the buffer.
    const std::vector<TRect> copies = {TRect(10, 10, 200, 150), TRect(120, 60, 290, 190),
                                       TRect(250, 150, 400, 300)};
    const std::vector<TRect> parts = ChangedParts(buffer, PixelsOf(screen), copies);
    const std::vector<int> n = Coverage(parts, w + 200, h + 200);
    int inside = 0;
    for (int y = 0; y < h + 200; ++y)
      for (int x = 0; x < w + 200; ++x) {
        const int covered = n[size_t(y) * size_t(w + 200) + size_t(x)];
        ASSERT_LE(covered, 1) << "sent twice at " << x << "," << y;
        const bool copied = std::any_of(copies.begin(), copies.end(), [&](const TRect& r) {
          return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
        });
        const bool onBuffer = x < w && y < h;
        if (covered) {
          ASSERT_TRUE(copied && onBuffer) << "outside the copies at " << x << "," << y;
          ++inside;
        }
        if (copied && onBuffer && !SameRGB(buffer.RawPixel(x, y), screen.RawPixel(x, y))) {
          ASSERT_EQ(covered, 1) << "a difference not sent at " << x << "," << y;
        }
      }
    EXPECT_LE(parts.size(), 3u * 64u);
    if (c.Spots == 0) {
      EXPECT_EQ(inside, 0);
    }
  }
}

TEST(ScreenDiffTest, WhatTheScreenDoesNotShowGoesWhole) {
  TBitmap buffer(100, 80), screen(60, 50);
  FillRect(buffer, TRect(0, 0, 100, 80), clWhite);
  FillRect(screen, TRect(0, 0, 60, 50), clWhite);
  // Nothing differs where the screen's pixels are known: only the rest of the copy goes.
  std::vector<TRect> parts;
  AddChangedParts(buffer, PixelsOf(screen), TRect(40, 30, 90, 70), parts);
  const std::vector<int> n = Coverage(parts, 100, 80);
  for (int y = 30; y < 70; ++y)
    for (int x = 40; x < 90; ++x) {
      EXPECT_EQ(n[size_t(y) * 100 + size_t(x)], x >= 60 || y >= 50) << x << "," << y;
    }
  // No screen at all: the copy as it is.
  parts.clear();
  AddChangedParts(buffer, TScreenPixels{}, TRect(40, 30, 90, 70), parts);
  EXPECT_EQ(parts, std::vector<TRect>{TRect(40, 30, 90, 70)});
}

}  // namespace
