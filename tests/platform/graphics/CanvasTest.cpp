#include <gtest/gtest.h>

#include <QFontDatabase>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"
#include "tests/platform/graphics/GraphicsTestUtil.h"

namespace {

// The family of the font file the tests bring, so nothing depends on installed fonts.
std::string TestFontFamily() {
  static const std::string family = [] {
    const int id = QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? std::string() : families.first().toStdString();
  }();
  return family;
}

class CanvasTest : public testing::Test {
 protected:
  void SetUp() override {
    if (TestFontFamily().empty()) GTEST_SKIP() << "DejaVuSans.ttf is not installed";
    Bmp.SetSize(120, 40);
    Bmp.Clear(clWhite);
    Canvas.Font.Name = TestFontFamily();
    Canvas.Font.Height = 20;
  }

  // Bounding box of the pixels that are not white; empty when there are none.
  TRect Inked() const {
    TRect r(INT32_MAX, INT32_MAX, -1, -1);
    for (int y = 0; y < Bmp.Height(); ++y)
      for (int x = 0; x < Bmp.Width(); ++x)
        if (Bmp.Pixel(x, y) != clWhite)
          r = TRect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                    std::max(r.Bottom, y + 1));
    return r.Right < 0 ? TRect() : r;
  }

  TBitmap Bmp;
  TCanvas Canvas{Bmp};
};

}  // namespace

TEST_F(CanvasTest, TextChangesTheBitmapsOwnPixels) {
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.Font.Color = clBlack;
  const uint32_t* bits = Bmp.Bits();
  Canvas.TextOut(10, 5, "Hello");
  EXPECT_EQ(Bmp.Bits(), bits);  // drawn in place, no copy
  const TRect ink = Inked();
  ASSERT_FALSE(ink.IsEmpty());
  // The ink lies inside the text's cell, which has its top-left corner at (10, 5).
  const int w = Canvas.TextWidth("Hello"), h = Canvas.TextHeight("Hello");
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Right, 10 + w + 1);
  EXPECT_LE(ink.Bottom, 5 + h);
  EXPECT_GT(ink.Width(), w / 2);
  // Capital letters reach well up towards the cell's top.
  EXPECT_LT(ink.Top, 5 + h / 2);
  EXPECT_EQ(Canvas.PenPos, TPoint(10 + w, 5));
  ExpectOpaque(Bmp);
  // Pure black is reached in the stems, so the font colour is used.
  bool black = false;
  for (int y = ink.Top; y < ink.Bottom; ++y)
    for (int x = ink.Left; x < ink.Right; ++x) black |= Bmp.Pixel(x, y) == clBlack;
  EXPECT_TRUE(black);
}

TEST_F(CanvasTest, TextColourAndOpaqueBackground) {
  Canvas.Font.Color = clRed;
  Canvas.Brush.Color = clBlue;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.TextOut(4, 4, "Ab");
  const int w = Canvas.TextWidth("Ab"), h = Canvas.TextHeight("Ab");
  // The whole cell is painted: its corners show the brush.
  EXPECT_EQ(Bmp.Pixel(4, 4), clBlue);
  EXPECT_EQ(Bmp.Pixel(4 + w - 1, 4 + h - 1), clBlue);
  EXPECT_EQ(Bmp.Pixel(4 + w, 4), clWhite);
  EXPECT_EQ(Bmp.Pixel(3, 4), clWhite);
  bool red = false;
  for (int y = 4; y < 4 + h; ++y)
    for (int x = 4; x < 4 + w; ++x) red |= Bmp.Pixel(x, y) == clRed;
  EXPECT_TRUE(red);
  ExpectOpaque(Bmp);
}

TEST_F(CanvasTest, MeasuresFollowTheFont) {
  const int one = Canvas.TextWidth("M"), two = Canvas.TextWidth("MM");
  EXPECT_GT(one, 5);
  EXPECT_NEAR(two, 2 * one, 1);  // advances are fractional
  EXPECT_EQ(Canvas.TextWidth(""), 0);
  const int h20 = Canvas.TextHeight("M");
  EXPECT_GE(h20, 20);
  Canvas.Font.Height = 40;
  EXPECT_GT(Canvas.TextHeight("M"), h20 * 3 / 2);
  Canvas.Font.Height = 0;
  Canvas.Font.Size = 15;  // 15 pt at 96 pixels per inch: 20 px
  EXPECT_EQ(Canvas.Font.PixelSize(), 20);
  EXPECT_EQ(Canvas.TextHeight("M"), h20);
  Canvas.Font.Bold = true;
  EXPECT_GT(Canvas.TextWidth("MMMM"), 4 * one);
  EXPECT_EQ(Canvas.TextExtent("MM"), TPoint(Canvas.TextWidth("MM"), Canvas.TextHeight("MM")));
}

TEST_F(CanvasTest, TextRectIsClippedToItsRectangle) {
  Canvas.Brush.Style = TBrushStyle::bsClear;
  const TRect r(20, 8, 30, 20);
  Canvas.TextRect(r, 15, 2, "WWWWWW");
  const TRect ink = Inked();
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, r.Left);
  EXPECT_GE(ink.Top, r.Top);
  EXPECT_LE(ink.Right, r.Right);
  EXPECT_LE(ink.Bottom, r.Bottom);
  // A solid brush fills exactly the rectangle.
  Bmp.Clear(clWhite);
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = clYellow;
  Canvas.TextRect(r, 15, 2, "WWWWWW");
  EXPECT_EQ(Inked(), r);
  EXPECT_EQ(Bmp.Pixel(20, 8), clYellow);
  ExpectOpaque(Bmp);
}

TEST_F(CanvasTest, TextOffTheBitmapIsHarmless) {
  Canvas.TextOut(-500, -500, "far away");
  Canvas.TextOut(5000, 10, "far away");
  Canvas.TextRect(TRect(-50, -50, -10, -10), -40, -40, "x");
  EXPECT_TRUE(Inked().IsEmpty());
  TBitmap empty;
  TCanvas c(empty);
  c.TextOut(0, 0, "nothing to draw on");
  c.Ellipse(0, 0, 5, 5);
  c.LineTo(5, 5);
  EXPECT_TRUE(empty.Empty());
}

TEST_F(CanvasTest, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  Bmp.SetSize(7, 6);
  Bmp.Clear(clWhite);
  Canvas.Pen.Color = clBlack;
  Canvas.Brush.Color = clRed;
  Canvas.Rectangle(1, 1, 6, 5);
  const char* black[] = {".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."};
  ExpectMask(Bmp, black, clBlack);
  const char* red[] = {".......", ".......", "..###..", "..###..", ".......", "......."};
  ExpectMask(Bmp, red, clRed);
  // A clear brush keeps the inside; a wider pen grows inwards.
  Bmp.Clear(clWhite);
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.Pen.Width = 2;
  Canvas.Rectangle(TRect(0, 0, 7, 6));
  const char* wide[] = {"#######", "#######", "##...##", "##...##", "#######", "#######"};
  ExpectMask(Bmp, wide, clBlack);
  // A clear pen leaves only the fill.
  Bmp.Clear(clWhite);
  Canvas.Pen.Style = TPenStyle::psClear;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Rectangle(5, 4, 1, 1);  // corners in either order
  const char* fill[] = {".......", ".####..", ".####..", ".####..", ".......", "......."};
  ExpectMask(Bmp, fill, clRed);
}

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
  Bmp.SetSize(6, 6);
  Bmp.Clear(clWhite);
  Canvas.MoveTo(0, 0);
  Canvas.LineTo(4, 0);
  Canvas.LineTo(4, 4);
  Canvas.LineTo(0, 0);
  Canvas.MoveTo(0, 5);
  Canvas.LineTo(3, 5);
  const char* want[] = {"#####.", ".#..#.", "..#.#.", "...##.", "....#.", "###..."};
  ExpectMask(Bmp, want, clBlack);
  EXPECT_EQ(Canvas.PenPos, TPoint(3, 5));
  // Far outside the bitmap: clipped, quickly.
  Canvas.MoveTo(-1000000, 2);
  Canvas.LineTo(1000000, 2);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(Bmp.Pixel(x, 2), clBlack) << x;
  ExpectOpaque(Bmp);
}

TEST_F(CanvasTest, CurvedShapesStayInsideTheirBounds) {
  Bmp.SetSize(40, 30);
  Bmp.Clear(clWhite);
  Canvas.Pen.Color = clBlack;
  Canvas.Brush.Color = clLime;
  Canvas.Ellipse(5, 5, 35, 25);
  EXPECT_EQ(Inked(), TRect(5, 5, 35, 25));
  EXPECT_EQ(Bmp.Pixel(20, 15), clLime);  // filled
  EXPECT_EQ(Bmp.Pixel(5, 5), clWhite);   // corners stay out
  EXPECT_EQ(Bmp.Pixel(20, 5), clBlack);  // the outline touches the bounds
  ExpectOpaque(Bmp);

  Bmp.Clear(clWhite);
  Canvas.RoundRect(2, 3, 30, 20, 10, 10);
  EXPECT_EQ(Inked(), TRect(2, 3, 30, 20));
  EXPECT_EQ(Bmp.Pixel(2, 3), clWhite);
  EXPECT_EQ(Bmp.Pixel(16, 3), clBlack);
  EXPECT_EQ(Bmp.Pixel(16, 10), clLime);

  Bmp.Clear(clWhite);
  Canvas.Pen.Style = TPenStyle::psClear;
  Canvas.Polygon({TPoint(0, 0), TPoint(20, 0), TPoint(0, 20)});
  EXPECT_EQ(Bmp.Pixel(2, 2), clLime);
  EXPECT_EQ(Bmp.Pixel(18, 18), clWhite);
  const TRect ink = Inked();
  EXPECT_LE(ink.Right, 21);
  EXPECT_LE(ink.Bottom, 21);
  ExpectOpaque(Bmp);
}

TEST_F(CanvasTest, FillFrameAndDrawPassThrough) {
  Bmp.SetSize(8, 8);
  Bmp.Clear(clWhite);
  Canvas.Brush.Color = clNavy;
  Canvas.FillRect(TRect(0, 0, 2, 2));
  EXPECT_EQ(Bmp.Pixel(1, 1), clNavy);
  Canvas.FrameRect(TRect(2, 2, 8, 8));
  EXPECT_EQ(Bmp.Pixel(2, 7), clNavy);
  EXPECT_EQ(Bmp.Pixel(3, 3), clWhite);
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.FillRect(TRect(4, 4, 6, 6));
  EXPECT_EQ(Bmp.Pixel(4, 4), clWhite);
  TBitmap pic(2, 2);
  pic.Clear(clRed);
  pic.SetPixel(1, 0, clBlack);
  pic.SetPixel(0, 1, clBlack);
  pic.Transparent = true;
  Canvas.Draw(4, 4, pic);
  EXPECT_EQ(Bmp.Pixel(4, 4), clRed);
  EXPECT_EQ(Bmp.Pixel(5, 4), clWhite);
  Canvas.StretchDraw(TRect(4, 0, 8, 4), pic);
  EXPECT_EQ(Bmp.Pixel(5, 1), clRed);
  EXPECT_EQ(Bmp.Pixel(7, 0), clWhite);
}
