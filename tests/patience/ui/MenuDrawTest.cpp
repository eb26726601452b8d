// The item painter drawn into bitmaps, and the look-up of commands by caption.
#include <gtest/gtest.h>

#include "cardtable/Backdrop.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ToolbarImages.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace {

constexpr int kW = 160, kH = 22;

TBitmap Draw(TMenuItem& item, bool selected, int height = kH) {
  TBitmap b(kW, height);
  b.Clear(TColor(0x123456));
  TCanvas canvas(b);
  BaseMenuDraw(item, canvas, selected, TRect(0, 0, kW, height));
  return b;
}

bool HasColour(const TBitmap& b, const TRect& r, TColor c) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (b.Pixel(x, y) == c) return true;
  return false;
}

// The darkest channel value in r (text is smoothed, so its colour shows in its darkest pixels).
int Darkest(const TBitmap& b, const TRect& r) {
  int d = 255;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const TColor c = b.Pixel(x, y);
      d = std::min({d, GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  return d;
}

}  // namespace

TEST(BaseMenuDraw, SelectedEnabledItemShowsTheFramedGradient) {
  TMenuItem item("Klondike1", "Klondike");
  const TBitmap b = Draw(item, true);
  // A black frame round the whole item.
  for (int x = 0; x < kW; ++x) {
    EXPECT_EQ(b.Pixel(x, 0), clBlack);
    EXPECT_EQ(b.Pixel(x, kH - 1), clBlack);
  }
  EXPECT_EQ(b.Pixel(0, kH / 2), clBlack);
  EXPECT_EQ(b.Pixel(kW - 1, kH / 2), clBlack);
  // Inside, the diagonal gradient of a bitmap two pixels smaller: white at its top left, close to
  // $9B9BFF at its bottom right.
  TBitmap expected(kW - 2, kH - 2);
  FillGradientRect(expected, TRect(0, 0, kW - 2, kH - 2), kMenuHighlightFrom, kMenuHighlightTo,
                   TGradientStyle::gsDiagonalLeftRight);
  EXPECT_EQ(b.Pixel(1, 1), expected.Pixel(0, 0));
  EXPECT_EQ(b.Pixel(kW - 2, kH - 2), expected.Pixel(kW - 3, kH - 3));
  EXPECT_EQ(b.Pixel(10, kH - 3), expected.Pixel(9, kH - 4));  // the band is not drawn
  // Black text on it, starting past the band.
  EXPECT_LT(Darkest(b, TRect(30, 2, 80, kH - 2)), 60);
  EXPECT_GE(Darkest(b, TRect(1, 1, 28, kH - 1)), 150);  // no text over the band
}

TEST(BaseMenuDraw, OtherItemsShowTheBandAndAWhiteTextArea) {
  TMenuItem item("Klondike1", "Klondike");
  const TBitmap b = Draw(item, false);
  const TBitmap& band = MenuBandBitmap();
  for (int x = 0; x < kMenuBandWidth; ++x) {
    EXPECT_EQ(b.Pixel(x, 0), band.Pixel(x % band.Width(), 0)) << x;
    EXPECT_EQ(b.Pixel(x, kH - 1), band.Pixel(x % band.Width(), (kH - 1) % band.Height())) << x;
  }
  EXPECT_EQ(b.Pixel(kMenuBandWidth, kH - 1), clWhite);
  EXPECT_EQ(b.Pixel(kW - 1, 0), clWhite);
  EXPECT_LT(Darkest(b, TRect(30, 2, 80, kH - 2)), 60);
}

TEST(BaseMenuDraw, ADisabledItemNeverShowsTheGradient) {
  TMenuItem item("Klondike1", "Klondike");
  item.SetEnabled(false);
  const TBitmap selected = Draw(item, true);
  const TBitmap plain = Draw(item, false);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(selected.Pixel(x, y), plain.Pixel(x, y)) << x << "," << y;
  EXPECT_EQ(selected.Pixel(kW - 1, 0), clWhite);
  // Its text is light grey, never black.
  const int darkest = Darkest(plain, TRect(30, 2, 80, kH - 2));
  EXPECT_LT(darkest, 250);
  EXPECT_GE(darkest, GetRValue(kMenuTextDisabled) - 8);
}

TEST(BaseMenuDraw, GlyphsOwnPictureOrTheCheckMark) {
  const TImageList& images = ToolbarImages();
  // Neither a picture nor a check: the band alone.
  TMenuItem plain("P1", "Plain");
  TBitmap b = Draw(plain, false);
  const TBitmap& band = MenuBandBitmap();
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kMenuBandWidth; ++x)
      ASSERT_EQ(b.Pixel(x, y), band.Pixel(x % band.Width(), y % band.Height()));

  // Checked without a picture: image 10 at (5, 2), over the band.
  TMenuItem checked("C1", "Checked");
  checked.SetChecked(true);
  b = Draw(checked, false);
  TBitmap withBand = Draw(plain, false);
  {
    TCanvas c(withBand);
    images.Draw(c, 5, 2, tiCheck, true);
  }
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kMenuBandWidth; ++x) ASSERT_EQ(b.Pixel(x, y), withBand.Pixel(x, y));

  // A picture of its own wins, checked or not.
  TMenuItem own("O1", "Own");
  own.SetImageIndex(tiQuit);
  own.SetChecked(true);
  b = Draw(own, false);
  TBitmap ownExpected = Draw(plain, false);
  {
    TCanvas c(ownExpected);
    images.Draw(c, 5, 2, tiQuit, true);
  }
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kMenuBandWidth; ++x) ASSERT_EQ(b.Pixel(x, y), ownExpected.Pixel(x, y));

  // Disabled: the same picture greyed.
  own.SetEnabled(false);
  b = Draw(own, false);
  TBitmap greyed = Draw(plain, false);
  {
    TCanvas c(greyed);
    images.Draw(c, 5, 2, tiQuit, false);
  }
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kMenuBandWidth; ++x) ASSERT_EQ(b.Pixel(x, y), greyed.Pixel(x, y));
  EXPECT_FALSE(HasColour(b, TRect(5, 2, 21, 18), TColor(0x2828C8)));  // no red of the enabled glyph
}

TEST(BaseMenuDraw, SeparatorIsALineNearTheBottom) {
  TMenuItem line("N1", "-");
  const int h = 10;
  const TBitmap b = Draw(line, false, h);
  for (int x = kMenuBandWidth + 2; x < kW; ++x) EXPECT_EQ(b.Pixel(x, h - 4), kMenuLineColour) << x;
  EXPECT_EQ(b.Pixel(kMenuBandWidth + 1, h - 4), clWhite);
  EXPECT_EQ(b.Pixel(kMenuBandWidth + 10, h - 5), clWhite);
  EXPECT_EQ(b.Pixel(kMenuBandWidth + 10, h - 3), clWhite);
}

TEST(BaseMenuDraw, OnlyTheFirstAmpersandIsRemoved) {
  TMenuItem twice("A1", "&&Foo");
  TMenuItem once("A2", "&Foo");
  TMenuItem literal("A3", "Foo");
  const TBitmap a = Draw(twice, false), b = Draw(once, false), c = Draw(literal, false);
  bool sameAsOnce = true, sameAsLiteral = true;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      sameAsOnce &= a.Pixel(x, y) == b.Pixel(x, y);
      sameAsLiteral &= a.Pixel(x, y) == c.Pixel(x, y);
    }
  EXPECT_FALSE(sameAsOnce);  // "&Foo" keeps its ampersand on screen
  EXPECT_FALSE(sameAsLiteral);
  TMenuItem plainAmp("A4", "&Foo");
  plainAmp.SetCaption("&&Foo");
  const TBitmap d = Draw(plainAmp, false);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(a.Pixel(x, y), d.Pixel(x, y));
}

TEST(BaseMenuDraw, EveryItemOfATreeGetsThePainter) {
  TMenuItem root("Root");
  root.Add("A", "A")->Add("B", "B")->Add("C", "C");
  OwnerDrawAll(root);
  int withPainter = 0;
  root.ForEach([&](TMenuItem& item) { withPainter += item.OnDrawItem ? 1 : 0; });
  EXPECT_EQ(withPainter, 3);
}

TEST(ToolbarImagesTest, TheStripAndTheBand) {
  const TImageList& images = ToolbarImages();
  EXPECT_EQ(images.Count(), int(tiImageCount));
  EXPECT_EQ(images.Width(), 16);
  // Every glyph draws something and leaves some of its square free.
  for (int i = 0; i < images.Count(); ++i) {
    const QImage g = images.Image(i);
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) opaque += qAlpha(g.pixel(x, y)) > 0;
    EXPECT_GT(opaque, 10) << i;
    EXPECT_LT(opaque, 256) << i;
  }
  const TBitmap& band = MenuBandBitmap();
  EXPECT_EQ(band.Width(), 32);
  EXPECT_EQ(band.Height(), 27);
  EXPECT_EQ(band.Pixel(0, 0), TColor(0xFEF1D7));
  EXPECT_EQ(band.Pixel(31, 26), clWhite);
}

// -----------------------------------------------------------------------------------------------
// GetMenuItem

namespace {

struct TLookupTree {
  TMenuItem Root{"Alphabeticallist1", "Alphabetical Games"};
  TMenuItem* AB = Root.Add("AB1", "A - B");
  TMenuItem* Acme = AB->Add("Acme1", "Acme");
  TMenuItem* Deeper = AB->Add("Deeper1", "Deeper");
  TMenuItem* Twin = Deeper->Add("Twin1", "Twin");
  TMenuItem* CE = Root.Add("CE1", "C - E");
  TMenuItem* Canfield = CE->Add("Canfield1", "&Canfield");
  TMenuItem* Twin2 = CE->Add("Twin2", "Twin");
  TMenuItem* Direct = Root.Add("Direct1", "Direct");
  TMenuItem* Leaf = Root.Add("Leaf1", "Leaf");
};

}  // namespace

TEST(GetMenuItemTest, DirectChildrenFirstThenDepthFirst) {
  TLookupTree t;
  EXPECT_EQ(GetMenuItem(&t.Root, "Direct", false), t.Direct);
  EXPECT_EQ(GetMenuItem(&t.Root, "direct", true), t.Direct);
  // Hot-key markers and case are ignored on both sides.
  EXPECT_EQ(GetMenuItem(&t.Root, "canfield", true), t.Canfield);
  EXPECT_EQ(GetMenuItem(&t.Root, "&ACME", true), t.Acme);
  // A caption only a grandchild has: nil unless recursive.
  EXPECT_EQ(GetMenuItem(&t.Root, "Acme", false), nullptr);
  // Depth first in menu order: the earlier group's deeper item wins over a later group's child.
  EXPECT_EQ(GetMenuItem(&t.Root, "Twin", true), t.Twin);
  // A group is found by its own caption without recursion.
  EXPECT_EQ(GetMenuItem(&t.Root, "C - E", false), t.CE);
  EXPECT_EQ(GetMenuItem(&t.Root, "Nothing", true), nullptr);
  EXPECT_EQ(GetMenuItem(nullptr, "Acme", true), nullptr);
  EXPECT_EQ(GetMenuItem(t.Leaf, "Acme", true), nullptr);
}

TEST(GetMenuItemTest, AMatchAtOneLevelBeatsADeeperEarlierOne) {
  TMenuItem root("Root");
  TMenuItem* group = root.Add("G1", "Group");
  group->Add("X1", "Target");
  TMenuItem* direct = root.Add("X2", "Target");
  EXPECT_EQ(GetMenuItem(&root, "Target", true), direct);
  EXPECT_EQ(GetMenuItem(&root, "Target", false), direct);
}
