// The table textures the build draws into the program folder's "Textures": each one a JPEG that
// tiles without a seam (the table tiles its picture), neither flat nor glaring behind cards.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Jpeg.h"
#include "tests/support/TestUtil.h"

namespace {

double Luma(TColor c) {
  return 0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c);
}

// Mean difference in luma between column (or row) a and b.
double LineDifference(const TBitmap& b, int a, int c, bool columns) {
  const int n = columns ? b.Height() : b.Width();
  double sum = 0;
  for (int i = 0; i < n; ++i)
    sum += std::fabs(columns ? Luma(b.Pixel(a, i)) - Luma(b.Pixel(c, i))
                             : Luma(b.Pixel(i, a)) - Luma(b.Pixel(i, c)));
  return sum / n;
}

}  // namespace

TEST(TexturesTest, EachTextureTilesAndSitsQuietlyBehindCards) {
  for (const char* name : {"felt.jpg", "wood.jpg", "linen.jpg", "slate.jpg"}) {
    SCOPED_TRACE(name);
    const std::string path = PathJoin(BuiltProgramDir(), "Textures", name);
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(ExtractFileName(ResolvePath(path)), name);  // spelt exactly so
    TBitmap b;
    LoadJpegFile(path, b, true);
    ASSERT_GE(b.Width(), 256);
    ASSERT_GE(b.Height(), 256);
    double sum = 0, squares = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const double l = Luma(b.Pixel(x, y));
        sum += l;
        squares += l * l;
      }
    const double n = double(b.Width()) * b.Height();
    const double mean = sum / n, spread = std::sqrt(squares / n - mean * mean);
    EXPECT_GT(mean, 40);
    EXPECT_LT(mean, 225);
    EXPECT_GT(spread, 2.0);  // a texture, not a plain fill
    EXPECT_LT(spread, 40.0);
    // Across the tile's edge the picture changes no more than between neighbours inside it.
    for (bool columns : {true, false}) {
      const int last = (columns ? b.Width() : b.Height()) - 1;
      double inside = 0;
      for (int i = 1; i < 9; ++i) inside += LineDifference(b, last / 9 * i, last / 9 * i + 1, columns);
      inside /= 8;
      EXPECT_LT(LineDifference(b, last, 0, columns), inside * 1.6 + 2.0) << (columns ? "columns" : "rows");
    }
  }
}
