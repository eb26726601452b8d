// TBitmap's own memory: a size change keeps the overlapping part and blackens the rest, or leaves
// every pixel to its caller; copies are deep, and a picture moved away leaves an empty one.
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"

namespace {

// A 4 x 3 picture whose pixel (x, y) is colour 10 * y + x + 1.
TBitmap Numbered() {
  TBitmap b(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) b.SetPixel(x, y, TColor(10 * y + x + 1));
  return b;
}

TEST(BitmapTest, ASizeChangeKeepsTheOverlapAndBlackensTheRest) {
  struct TCase {
    int W, H;
  } cases[] = {{6, 5}, {2, 2}, {4, 5}, {6, 1}, {0, 3}, {-2, 4}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.W) + " x " + std::to_string(c.H));
    TBitmap b = Numbered();
    b.SetSize(c.W, c.H);
    ASSERT_EQ(b.Width(), std::max(c.W, 0));
    ASSERT_EQ(b.Height(), std::max(c.H, 0));
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        EXPECT_EQ(b.Pixel(x, y), x < 4 && y < 3 ? TColor(10 * y + x + 1) : clBlack) << x << "," << y;
        EXPECT_EQ(b.RawPixel(x, y) & kOpaque, kOpaque);
      }
  }
}

TEST(BitmapTest, APictureAboutToBeWrittenIsOnlySized) {
  TBitmap b = Numbered();
  const uint32_t* memory = b.Bits();
  // The same number of pixels in another shape keeps its memory as it is.
  b.SetSize(6, 2, TNewPixels::Overwrite);
  EXPECT_EQ(b.Bits(), memory);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), 2);
  b.SetSize(300, 200, TNewPixels::Overwrite);
  ASSERT_EQ(b.Width(), 300);
  b.Clear(clRed);
  EXPECT_EQ(b.Pixel(299, 199), clRed);
  b.SetSize(0, 0, TNewPixels::Overwrite);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Bits(), nullptr);
}

TEST(BitmapTest, CopiesAreDeepAndAMovedPictureLeavesAnEmptyOne) {
  TBitmap a = Numbered();
  a.Transparent = true;
  a.PixelFormat = TPixelFormat::pf32bit;
  TBitmap copy(a);
  TBitmap assigned(7, 7);
  assigned = a;
  for (const TBitmap* b : {&copy, &assigned}) {
    EXPECT_TRUE(SamePixels(*b, a));
    EXPECT_NE(b->Bits(), a.Bits());
    EXPECT_TRUE(b->Transparent);
    EXPECT_EQ(b->PixelFormat, TPixelFormat::pf32bit);
  }
  copy.SetPixel(0, 0, clWhite);
  EXPECT_EQ(a.Pixel(0, 0), TColor(1));

  TBitmap moved(std::move(a));
  EXPECT_EQ(moved.Pixel(3, 2), TColor(24));
  EXPECT_TRUE(a.Empty());  // NOLINT(bugprone-use-after-move): what a move leaves is the point
  EXPECT_EQ(a.Width(), 0);
  TBitmap target(2, 2);
  target = std::move(moved);
  EXPECT_EQ(target.Width(), 4);
  EXPECT_TRUE(moved.Empty());  // NOLINT(bugprone-use-after-move)
  // An empty picture copies as empty.
  TBitmap empty;
  target = empty;
  EXPECT_TRUE(target.Empty());
}

}  // namespace
