#include "tests/platform/graphics/GraphicsTestUtil.h"

#include <cstring>
#include <sstream>

TBitmap Pattern(int w, int h, uint32_t seed) {
  TBitmap b(w, h);
  uint32_t s = seed * 2654435761u + 12345u;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      b.ScanLine(y)[x] = kOpaque | (s >> 8);
    }
  return b;
}

::testing::AssertionResult PixelsMatch(const TBitmap& got, const TBitmap& want) {
  if (got.Width() != want.Width() || got.Height() != want.Height())
    return ::testing::AssertionFailure() << "size " << got.Width() << "x" << got.Height() << ", want "
                                         << want.Width() << "x" << want.Height();
  for (int y = 0; y < got.Height(); ++y)
    for (int x = 0; x < got.Width(); ++x)
      if (got.RawPixel(x, y) != want.RawPixel(x, y)) {
        std::ostringstream m;
        m << "pixel (" << x << ", " << y << ") is " << std::hex << got.RawPixel(x, y) << ", want "
          << want.RawPixel(x, y);
        return ::testing::AssertionFailure() << m.str();
      }
  return ::testing::AssertionSuccess();
}

void ExpectOpaque(const TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if ((b.RawPixel(x, y) >> 24) != 0xFF) {
        ADD_FAILURE() << "X byte of (" << x << ", " << y << ") is " << (b.RawPixel(x, y) >> 24);
        return;
      }
}

void ExpectMask(const TBitmap& b, const char* const* rows, TColor c) {
  for (int y = 0; y < b.Height(); ++y) {
    ASSERT_EQ(std::strlen(rows[y]), size_t(b.Width())) << "row " << y;
    for (int x = 0; x < b.Width(); ++x)
      EXPECT_EQ(b.Pixel(x, y) == c, rows[y][x] == '#') << "pixel (" << x << ", " << y << ")";
  }
}
