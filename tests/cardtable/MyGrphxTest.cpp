// Shade tables, soft-edged shading in both programs' variants, and the radial glow.

#include <gtest/gtest.h>

#include <cmath>

#include "cardtable/MyGrphx.h"
#include "platform/graphics/Bitmap.h"

namespace {

// A bitmap of one colour given as blue, green, red bytes.
TBitmap Uniform(int w, int h, int b, int g, int r) {
  TBitmap bmp(w, h);
  bmp.Clear(RGB(r, g, b));
  return bmp;
}

int B(const TBitmap& bmp, int x, int y) {
  return bmp.ScanLineBytes(y)[x * 4 + 0];
}
int G(const TBitmap& bmp, int x, int y) {
  return bmp.ScanLineBytes(y)[x * 4 + 1];
}
int R(const TBitmap& bmp, int x, int y) {
  return bmp.ScanLineBytes(y)[x * 4 + 2];
}
int X(const TBitmap& bmp, int x, int y) {
  return bmp.ScanLineBytes(y)[x * 4 + 3];
}

// The shade level a pixel of a uniform 255 bitmap ended at, read back through the table.
int LevelOf(const TBitmap& bmp, int x, int y, const TShadeProfile& profile) {
  const TShadeTable& t = ShadeTable(profile);
  int found = -1;
  for (int p = 0; p <= t.Levels(); ++p)
    if (t(255, p) == B(bmp, x, y)) found = p;  // T[255][p] differs for every p
  return found;
}

const TShadeTable& Game() {
  return ShadeTable(GameShadeProfile);
}
const TShadeTable& Maker() {
  return ShadeTable(MakerShadeProfile);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Tables

TEST(ShadeTableTest, GameTableCheckValues) {
  const TShadeTable& t = Game();
  EXPECT_EQ(t.Levels(), 100);
  EXPECT_EQ(t(255, 100), 255);
  EXPECT_EQ(t(255, 0), 155);
  EXPECT_EQ(t(100, 60), 84);
  EXPECT_EQ(t(255, 20), 175);
  for (int p = 0; p <= 100; ++p) EXPECT_EQ(t(0, p), 0);
  for (int v = 0; v < 256; ++v) EXPECT_EQ(t(v, 100), v) << v;  // level 100 keeps every value
}

TEST(ShadeTableTest, MakerTableCheckValues) {
  const TShadeTable& t = Maker();
  EXPECT_EQ(t.Levels(), 75);
  EXPECT_EQ(t(255, 20), 198);
  EXPECT_EQ(t(255, 0), 178);
  EXPECT_EQ(t(255, 75), 253);
  // No level keeps a value: from 64 up even the top level takes at least one off.
  for (int v = 64; v < 256; ++v) EXPECT_LT(t(v, 75), v) << v;
}

TEST(ShadeTableTest, EveryEntryMatchesExactRational) {
  // Round(v * k / 255) has no ties (the fraction is a multiple of 1/255), so exact integer
  // arithmetic is the oracle for both tables.
  for (const TShadeProfile* prof : {&GameShadeProfile, &MakerShadeProfile}) {
    const TShadeTable& t = ShadeTable(*prof);
    for (int p = 0; p <= prof->Levels; ++p) {
      const int k = p - prof->TableOffset + 255;
      for (int v = 0; v < 256; ++v) ASSERT_EQ(t(v, p), (2 * v * k + 255) / 510) << v << " " << p;
    }
  }
}

TEST(ShadeTableTest, BuildShadeTableWithOtherOffset) {
  const TShadeTable t = BuildShadeTable(255, 10);
  EXPECT_EQ(t.Levels(), 10);
  EXPECT_EQ(t(255, 0), 0);
  EXPECT_EQ(t(255, 10), 10);
  EXPECT_EQ(t(128, 10), 5);  // 128 * 10 / 255 = 5.02
}

TEST(DistanceTableTest, RoundedDistances) {
  TLightData t;
  MakeDistanceTable(3, t);
  ASSERT_EQ(t.Side(), 7);
  ASSERT_EQ(t.Data.size(), 49u);
  EXPECT_EQ(t.At(3, 3), 0);
  EXPECT_EQ(t.At(0, 3), 3);
  EXPECT_EQ(t.At(6, 3), 3);
  EXPECT_EQ(t.At(3, 0), 3);
  EXPECT_EQ(t.At(0, 0), 4);  // sqrt 18 = 4.24
  EXPECT_EQ(t.At(4, 5), 2);  // sqrt 5 = 2.24
  EXPECT_EQ(t.At(1, 1), 3);  // sqrt 8 = 2.83

  MakeDistanceTable(-2, t);
  EXPECT_EQ(t.Side(), 0);
  EXPECT_TRUE(t.Data.empty());
  MakeDistanceTable(0, t);
  EXPECT_EQ(t.Side(), 1);
  EXPECT_EQ(t.At(0, 0), 0);
}

// ---------------------------------------------------------------------------------------------
// Game shading

TEST(ShadeBitmapGameTest, HardShadeDarkensEveryChannelToLevel20) {
  TBitmap bmp = Uniform(30, 20, 10, 100, 200);
  bmp.PixelFormat = TPixelFormat::pf32bit;
  ShadeBitmap(bmp, false, false, 0, GameShadeProfile);
  EXPECT_EQ(bmp.PixelFormat, TPixelFormat::pf24bit);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      ASSERT_EQ(B(bmp, x, y), Game()(10, 20));
      ASSERT_EQ(G(bmp, x, y), Game()(100, 20));
      ASSERT_EQ(R(bmp, x, y), Game()(200, 20));
      ASSERT_EQ(X(bmp, x, y), 0xFF);
    }
  TBitmap white = Uniform(5, 5, 255, 255, 255);
  ShadeBitmap(white, false, true, 0, GameShadeProfile);
  EXPECT_EQ(white.Pixel(2, 2), RGB(175, 175, 175));
}

TEST(ShadeBitmapGameTest, SoftRightEdgeAndDownwardRamp) {
  // 200 x 50: the band runs from column 80 (x = 81 counted from 1) and is full for the last 20;
  // the rows ramp by Trunc(y * 2).
  TBitmap bmp = Uniform(200, 50, 255, 255, 255);
  ShadeBitmap(bmp, true, false, 0, GameShadeProfile);
  const TShadeProfile& gp = GameShadeProfile;
  EXPECT_EQ(LevelOf(bmp, 0, 0, gp), 2);
  EXPECT_EQ(LevelOf(bmp, 79, 0, gp), 2);    // band level 0
  EXPECT_EQ(LevelOf(bmp, 100, 0, gp), 21);  // x = 101: 101 - 80
  EXPECT_EQ(LevelOf(bmp, 150, 10, gp), 71);
  EXPECT_EQ(LevelOf(bmp, 150, 40, gp), 82);  // the row ramp wins: Trunc(41 * 2)
  EXPECT_EQ(LevelOf(bmp, 178, 0, gp), 99);
  EXPECT_EQ(LevelOf(bmp, 179, 0, gp), 100);
  EXPECT_EQ(LevelOf(bmp, 199, 0, gp), 100);
  EXPECT_EQ(LevelOf(bmp, 0, 49, gp), 100);  // last row unchanged
  EXPECT_EQ(LevelOf(bmp, 0, 24, gp), 50);
}

TEST(ShadeBitmapGameTest, SoftBottomEdgeAndRightwardRamp) {
  // 50 x 150: the last 100 rows ramp up to 100; the columns ramp by Trunc(x * 2).
  TBitmap bmp = Uniform(50, 150, 255, 255, 255);
  ShadeBitmap(bmp, true, true, 0, GameShadeProfile);
  const TShadeProfile& gp = GameShadeProfile;
  EXPECT_EQ(LevelOf(bmp, 0, 0, gp), 2);
  EXPECT_EQ(LevelOf(bmp, 24, 0, gp), 50);
  EXPECT_EQ(LevelOf(bmp, 49, 0, gp), 100);
  EXPECT_EQ(LevelOf(bmp, 0, 49, gp), 2);  // y = 50: not yet in the band
  EXPECT_EQ(LevelOf(bmp, 0, 50, gp), 2);  // band level 1 < column level 2
  EXPECT_EQ(LevelOf(bmp, 0, 99, gp), 50);
  EXPECT_EQ(LevelOf(bmp, 0, 149, gp), 100);
}

TEST(ShadeBitmapGameTest, SingleFactorLeavesLastRowAndColumnAtLevel99) {
  // 100/7 in single precision times 7 is just below 100.
  TBitmap tall = Uniform(200, 7, 255, 255, 255);
  ShadeBitmap(tall, true, false, 0, GameShadeProfile);
  EXPECT_EQ(LevelOf(tall, 0, 6, GameShadeProfile), 99);
  EXPECT_EQ(B(tall, 0, 6), 254);
  EXPECT_EQ(LevelOf(tall, 0, 0, GameShadeProfile), 14);

  TBitmap wide = Uniform(7, 200, 255, 255, 255);
  ShadeBitmap(wide, true, true, 0, GameShadeProfile);
  EXPECT_EQ(LevelOf(wide, 6, 0, GameShadeProfile), 99);
  EXPECT_EQ(LevelOf(wide, 6, 199, GameShadeProfile), 100);
}

TEST(ShadeBitmapGameTest, SmallBitmapsStayInRange) {
  // Narrower than the band: every column is past the band's end.
  TBitmap bmp = Uniform(10, 3, 255, 255, 255);
  ShadeBitmap(bmp, true, false, 0, GameShadeProfile);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(B(bmp, x, 0), 255);
  TBitmap one = Uniform(1, 1, 200, 200, 200);
  ShadeBitmap(one, true, true, 0, GameShadeProfile);
  EXPECT_EQ(B(one, 0, 0), 200);
}

TEST(ShadeBitmapGameTest, TintModesDarkenTheOtherChannelsAtLevel60) {
  struct Case {
    int mode;
    bool b, g, r;  // channels darkened
  };
  const Case cases[] = {{1, true, true, false},   {2, true, false, true},  {3, false, true, true},
                        {4, true, false, false},  {5, false, true, false}, {6, false, false, true},
                        {7, false, false, false}, {8, true, true, true},   {-1, true, true, true},
                        {100, true, true, true}};
  for (const Case& c : cases)
    for (bool soft : {false, true}) {
      TBitmap bmp = Uniform(130, 9, 40, 150, 230);
      ShadeBitmap(bmp, soft, false, c.mode, GameShadeProfile);
      for (int y : {0, 8})
        for (int x : {0, 129}) {  // the level is ignored: corners of the soft ramp alike
          SCOPED_TRACE(testing::Message()
                       << "mode " << c.mode << " soft " << soft << " at " << x << "," << y);
          EXPECT_EQ(B(bmp, x, y), c.b ? Game()(40, 60) : 40);
          EXPECT_EQ(G(bmp, x, y), c.g ? Game()(150, 60) : 150);
          EXPECT_EQ(R(bmp, x, y), c.r ? Game()(230, 60) : 230);
        }
    }
}

TEST(ShadeBitmapGameTest, EmptyBitmapIsLeftAlone) {
  TBitmap empty;
  ShadeBitmap(empty, true, false, 0, GameShadeProfile);
  ShadeBitmap(empty, true, true, 0, GameShadeProfile);
  TBitmap noRows(10, 0);
  ShadeBitmap(noRows, true, false, 0, GameShadeProfile);
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(noRows.Width(), 10);
}

// ---------------------------------------------------------------------------------------------
// Maker shading

TEST(ShadeBitmapMakerTest, HardShadeMapsWhiteTo198) {
  TBitmap bmp = Uniform(8, 8, 255, 255, 255);
  ShadeBitmap(bmp, false, false, 0, MakerShadeProfile);
  EXPECT_EQ(bmp.Pixel(3, 3), RGB(198, 198, 198));
}

TEST(ShadeBitmapMakerTest, SoftRightEdgeCountsRowsFromZero) {
  // 200 x 50: band from column 105 (c + 1 > 105), full 75 twenty columns before the edge;
  // rows ramp by Trunc(r * 1.5) with r from 0.
  TBitmap bmp = Uniform(200, 50, 255, 255, 255);
  ShadeBitmap(bmp, true, false, 0, MakerShadeProfile);
  const TShadeProfile& mp = MakerShadeProfile;
  EXPECT_EQ(LevelOf(bmp, 0, 0, mp), 0);
  EXPECT_EQ(LevelOf(bmp, 104, 0, mp), 0);
  EXPECT_EQ(LevelOf(bmp, 105, 0, mp), 1);
  EXPECT_EQ(LevelOf(bmp, 178, 0, mp), 74);
  EXPECT_EQ(LevelOf(bmp, 179, 0, mp), 75);
  EXPECT_EQ(LevelOf(bmp, 199, 0, mp), 75);
  EXPECT_EQ(LevelOf(bmp, 0, 49, mp), 73);
  EXPECT_EQ(LevelOf(bmp, 0, 1, mp), 1);
}

TEST(ShadeBitmapMakerTest, SoftBottomEdgeReaches75InLastRow) {
  TBitmap bmp = Uniform(50, 150, 255, 255, 255);
  ShadeBitmap(bmp, true, true, 0, MakerShadeProfile);
  const TShadeProfile& mp = MakerShadeProfile;
  EXPECT_EQ(LevelOf(bmp, 0, 0, mp), 0);
  EXPECT_EQ(LevelOf(bmp, 49, 0, mp), 73);  // Trunc(49 * 1.5)
  EXPECT_EQ(LevelOf(bmp, 0, 74, mp), 0);
  EXPECT_EQ(LevelOf(bmp, 0, 75, mp), 1);
  EXPECT_EQ(LevelOf(bmp, 0, 149, mp), 75);

  // 75 rows or fewer: every row lies in the band.
  TBitmap small = Uniform(4, 10, 255, 255, 255);
  ShadeBitmap(small, true, true, 0, MakerShadeProfile);
  EXPECT_EQ(LevelOf(small, 0, 0, mp), 66);
  EXPECT_EQ(LevelOf(small, 0, 9, mp), 75);
}

TEST(ShadeBitmapMakerTest, SingleFactorTruncatesBelowExactQuotient) {
  // 75/9 in single precision is below 75/9, so row 3 gets 24 where 3 * 75 / 9 = 25.
  TBitmap bmp = Uniform(200, 9, 255, 255, 255);
  ShadeBitmap(bmp, true, false, 0, MakerShadeProfile);
  EXPECT_EQ(LevelOf(bmp, 0, 3, MakerShadeProfile), 24);
  EXPECT_EQ(LevelOf(bmp, 0, 6, MakerShadeProfile), 49);
}

TEST(ShadeBitmapMakerTest, ModesSelectBytesAtThePixelLevel) {
  struct Case {
    int mode;
    bool b, g, r;
  };
  const Case cases[] = {{0, true, true, true},   {1, true, true, false},  {2, true, false, true},
                        {3, false, true, true},  {4, true, false, false}, {5, false, true, false},
                        {6, false, false, true}, {7, true, true, true},   {12, true, true, true},
                        {-3, true, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    TBitmap hard = Uniform(3, 3, 40, 150, 230);
    ShadeBitmap(hard, false, false, c.mode, MakerShadeProfile);
    EXPECT_EQ(B(hard, 1, 1), c.b ? Maker()(40, 20) : 40);
    EXPECT_EQ(G(hard, 1, 1), c.g ? Maker()(150, 20) : 150);
    EXPECT_EQ(R(hard, 1, 1), c.r ? Maker()(230, 20) : 230);

    // Soft: the tint follows the ramp (level 75 in the last row of a bottom edge).
    TBitmap soft = Uniform(50, 150, 40, 150, 230);
    ShadeBitmap(soft, true, true, c.mode, MakerShadeProfile);
    EXPECT_EQ(B(soft, 0, 149), c.b ? Maker()(40, 75) : 40);
    EXPECT_EQ(R(soft, 0, 149), c.r ? Maker()(230, 75) : 230);
    EXPECT_EQ(G(soft, 0, 0), c.g ? Maker()(150, 0) : 150);
  }
}

TEST(ShadeBitmapMakerTest, ActiveProfileChoosesTheVariant) {
  EXPECT_EQ(&ActiveShadeProfile(), &ActiveShadeProfile());
  EXPECT_EQ(ActiveShadeProfile().Levels, 100);
  TBitmap bmp = Uniform(4, 4, 255, 255, 255);
  ShadeBitmap(bmp, false, false, 0);
  EXPECT_EQ(B(bmp, 0, 0), 175);

  UseShadeProfile(MakerShadeProfile);
  TBitmap maker = Uniform(4, 4, 255, 255, 255);
  ShadeBitmap(maker, false, false, 0);
  TBitmap tint = Uniform(4, 4, 255, 255, 255);
  ShadeBitmap(tint, false, false, 7);  // mode 7 darkens in the maker
  UseShadeProfile(GameShadeProfile);
  EXPECT_EQ(B(maker, 0, 0), 198);
  EXPECT_EQ(B(tint, 0, 0), 198);
}

// ---------------------------------------------------------------------------------------------
// Glow

class GlowTest : public testing::Test {
 protected:
  void SetUp() override { MakeDistanceTable(5, table); }
  TLightData table;
};

TEST_F(GlowTest, FullStrengthCentreTakesColourAndRimIsUntouched) {
  TBitmap bmp = Uniform(21, 21, 20, 40, 60);
  const TColor colour = RGB(250, 200, 5);
  BlendRadialGlow(10, 10, 5, colour, 100, table, bmp);
  EXPECT_EQ(bmp.Pixel(10, 10), colour);
  EXPECT_EQ(bmp.PixelFormat, TPixelFormat::pf24bit);
  // Distance 5 (= radius): weight 0.
  EXPECT_EQ(bmp.Pixel(15, 10), RGB(60, 40, 20));
  EXPECT_EQ(bmp.Pixel(10, 5), RGB(60, 40, 20));
  EXPECT_EQ(bmp.Pixel(14, 13), RGB(60, 40, 20));  // distance 5
  EXPECT_EQ(bmp.Pixel(16, 10), RGB(60, 40, 20));  // outside the radius
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(60, 40, 20));
  // Between: strictly between old and colour, moving toward the colour nearer the centre.
  int lastRed = 60;
  for (int dx = 4; dx >= 0; --dx) {
    const int red = GetRValue(bmp.Pixel(10 + dx, 10));
    EXPECT_GT(red, lastRed) << dx;
    lastRed = red;
  }
  EXPECT_EQ(X(bmp, 12, 10), 0xFF);
  // Distance 1 at strength 1.0: Trunc(c * 0.8 + old * 0.2) per channel.
  EXPECT_EQ(bmp.Pixel(11, 10), RGB(212, 168, 8));
}

TEST_F(GlowTest, StrengthIsScaledAndCappedAtOne) {
  TBitmap half = Uniform(11, 11, 0, 0, 0);
  BlendRadialGlow(5, 5, 5, RGB(200, 200, 200), 50, table, half);
  EXPECT_EQ(half.Pixel(5, 5), RGB(100, 100, 100));

  // Strength 255 would weigh the colour 2.55 times and wrap the channel; it is capped at 100.
  TBitmap strong = Uniform(11, 11, 100, 100, 100);
  BlendRadialGlow(5, 5, 5, RGB(255, 255, 255), 255, table, strong);
  EXPECT_EQ(strong.Pixel(5, 5), RGB(255, 255, 255));
  for (int x = 0; x < 11; ++x) EXPECT_GE(GetRValue(strong.Pixel(x, 5)), 100) << x;

  // Only the low byte of Strength counts: 256 + 100 acts as 100.
  TBitmap low = Uniform(11, 11, 0, 0, 0);
  BlendRadialGlow(5, 5, 5, RGB(200, 0, 0), 356, table, low);
  EXPECT_EQ(low.Pixel(5, 5), RGB(200, 0, 0));
}

TEST_F(GlowTest, CornerCentreChangesOnlyTheQuarterInside) {
  TBitmap bmp = Uniform(8, 8, 0, 0, 0);
  BlendRadialGlow(0, 0, 5, RGB(255, 255, 255), 100, table, bmp);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_NE(bmp.Pixel(3, 3), RGB(0, 0, 0));
  EXPECT_EQ(bmp.Pixel(5, 0), RGB(0, 0, 0));
  EXPECT_EQ(bmp.Pixel(7, 7), RGB(0, 0, 0));
  // The row above and the column left do not exist: nothing wraps into the far side.
  for (int y = 0; y < 8; ++y) EXPECT_EQ(bmp.Pixel(7, y), RGB(0, 0, 0)) << y;
  for (int x = 0; x < 8; ++x) EXPECT_EQ(bmp.Pixel(x, 7), RGB(0, 0, 0)) << x;

  TBitmap other = Uniform(8, 8, 0, 0, 0);
  BlendRadialGlow(7, 7, 5, RGB(255, 255, 255), 100, table, other);
  EXPECT_EQ(other.Pixel(7, 7), RGB(255, 255, 255));
  for (int y = 0; y < 8; ++y) EXPECT_EQ(other.Pixel(0, y), RGB(0, 0, 0)) << y;

  // Centre outside the bitmap: only the overlapping part is touched, and far away nothing.
  TBitmap outside = Uniform(8, 8, 0, 0, 0);
  BlendRadialGlow(-3, 4, 5, RGB(255, 255, 255), 100, table, outside);
  EXPECT_NE(outside.Pixel(0, 4), RGB(0, 0, 0));
  EXPECT_EQ(outside.Pixel(2, 4), RGB(0, 0, 0));  // distance 5
  BlendRadialGlow(1000, -1000, 5, RGB(255, 255, 255), 100, table, outside);
  BlendRadialGlow(2147483000, 2147483000, 5, RGB(255, 255, 255), 100, table, outside);
}

TEST_F(GlowTest, RadiusZeroMismatchedTableAndEmptyBitmapDoNothing) {
  TBitmap bmp = Uniform(5, 5, 9, 9, 9);
  const TBitmap before = bmp;
  TLightData zero;
  MakeDistanceTable(0, zero);
  BlendRadialGlow(2, 2, 0, clWhite, 100, zero, bmp);
  EXPECT_TRUE(SamePixels(bmp, before));
  BlendRadialGlow(2, 2, 7, clWhite, 100, table, bmp);  // table made for 5
  EXPECT_TRUE(SamePixels(bmp, before));
  BlendRadialGlow(2, 2, -1, clWhite, 100, table, bmp);
  EXPECT_TRUE(SamePixels(bmp, before));
  TBitmap empty;
  BlendRadialGlow(0, 0, 5, clWhite, 100, table, empty);
  EXPECT_TRUE(empty.Empty());
}
