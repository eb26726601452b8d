// The pictures drawn by the build beside the game: one preview for every picture number the
// catalogue uses, and the strip, slide show, backdrop and information panel at the sizes the
// program draws them with.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "patience/catalogue/Catalogue.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"
#include "tests/support/TestUtil.h"

namespace {

TBitmap Picture(const std::string& name) {
  TBitmap b;
  const std::string path = PathJoin(BuiltProgramDir(), name);
  if (ExtractFileExt(name) == ".bmp")
    LoadBmpFile(path, b);
  else
    LoadJpegFile(path, b, true);
  return b;
}

// How many different colours a picture shows in a coarse grid (a plain fill has one).
int Colours(const TBitmap& b) {
  std::set<TColor> seen;
  for (int y = 0; y < b.Height(); y += 7)
    for (int x = 0; x < b.Width(); x += 7) seen.insert(b.Pixel(x, y));
  return int(seen.size());
}

}  // namespace

TEST(PicturesTest, EveryPictureNumberHasItsPreview) {
  if (!DirectoryExists(PathJoin(BuiltProgramDir(), "GameImages")))
    GTEST_SKIP() << "the pictures are not built";
  std::set<int> numbers;
  for (const TGameRef& g : AllGames()) numbers.insert(GameDefinition(g).Picture);
  EXPECT_EQ(numbers.size(), 158u);
  EXPECT_EQ(numbers.count(102), 0u);
  for (int n : numbers) {
    const TBitmap b = Picture("GameImages/" + std::to_string(n) + ".jpg");
    EXPECT_EQ(b.Width(), 402) << n;
    EXPECT_EQ(b.Height(), 290) << n;
    EXPECT_GT(Colours(b), 20) << n;
  }
}

TEST(PicturesTest, TheOtherPicturesHaveTheirSizes) {
  if (!FileExists(PathJoin(BuiltProgramDir(), "qv3.jpg"))) GTEST_SKIP() << "the pictures are not built";
  struct TCase {
    const char* Name;
    int Width, Height;
  };
  for (const TCase& c : {TCase{"qv3.jpg", 804, 144}, TCase{"Big.jpg", 2560, 480},
                         TCase{"backdrop.jpg", 1600, 1000}, TCase{"info.bmp", 320, 440}}) {
    const TBitmap b = Picture(c.Name);
    EXPECT_EQ(b.Width(), c.Width) << c.Name;
    EXPECT_EQ(b.Height(), c.Height) << c.Name;
    EXPECT_GT(Colours(b), 20) << c.Name;
  }
  // The information panel leaves a light field for its text from y 250 down.
  const TBitmap info = Picture("info.bmp");
  for (int y = 262; y < 420; y += 20) {
    const TColor c = info.Pixel(160, y);
    EXPECT_GT(int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF), 600) << y;
  }
}
