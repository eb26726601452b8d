// Picture to card: Border faces, Borderless faces and backs pixel by pixel, the corner indices
// for every option, the lifting of black, and a whole set saved and then loaded by the card
// table's deck as the game loads it.

#include <gtest/gtest.h>

#include "cardtable/CardTable.h"
#include "cardtable/ImageArrayUnit.h"
#include "deckwright/Compose.h"
#include "deckwright/Resample.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Raster.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace {

constexpr int W = 89, H = 123;

// A template card: a dark outline ring, paper inside, and a distinct pattern in every pixel so a
// copied area can be recognised.
TBitmap TemplateCard() {
  TBitmap t(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const bool ring = x < 3 || y < 3 || x >= W - 3 || y >= H - 3;
      t.SetPixel(x, y, ring ? TColor(0x303030 + x) : TColor(0x10000 * (x * 2) + 0x100 * (y * 2) + 0x40));
    }
  return t;
}

// A photo-like picture made here: ramps and a black block.
TBitmap Picture(int w = 300, int h = 400) {
  TBitmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool black = x > w / 4 && x < w / 2 && y > h / 3 && y < h / 2;
      p.SetPixel(x, y, black ? clBlack : TColor((x * 255 / w) | ((y * 255 / h) << 8) | 0x600000));
    }
  return p;
}

TBitmap Resampled(TBitmap picture, int w, int h) {
  TBitmap out(w, h);
  FilteredStretch(picture, out, Lanczos3Kernel, 3.0f);
  return out;
}

bool SameArea(const TBitmap& a, const TRect& ra, const TBitmap& b, const TRect& rb) {
  for (int y = 0; y < ra.Height(); ++y)
    for (int x = 0; x < ra.Width(); ++x)
      if (!SameRGB(a.RawPixel(ra.Left + x, ra.Top + y), b.RawPixel(rb.Left + x, rb.Top + y))) return false;
  return true;
}

}  // namespace

TEST(ComposeCardTest, BorderFaceFillsOnlyItsWindow) {
  TBitmap target = TemplateCard(), picture = Picture();
  const TBitmap before = target;
  ComposeCard(target, TemplateCard(), picture, TSetOptions{0, 1, true, true}, true, nullptr, nullptr);
  TBitmap want = Resampled(Picture(), 57, 95);
  TImageArray::LiftDarkPixels(want);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const bool in = kBorderWindow.Contains(TPoint(x, y));
      const bool edge = in && (x == 16 || x == 72 || y == 14 || y == 108);
      if (!in)
        ASSERT_EQ(target.Pixel(x, y), before.Pixel(x, y)) << x << "," << y;
      else if (edge)
        ASSERT_EQ(target.Pixel(x, y), kPictureFrameColour) << x << "," << y;  // drawn after the lift
      else
        ASSERT_EQ(target.Pixel(x, y), want.Pixel(x - 16, y - 14)) << x << "," << y;
    }
}

TEST(ComposeCardTest, FramedCardKeepsTheTemplateRing) {
  // A back, and a face without indices in the corner boxes that a test looks at.
  for (bool face : {false, true}) {
    TBitmap target(W, H), picture = Picture();
    ComposeCard(target, TemplateCard(), picture, TSetOptions{1, 0, false, false}, face, nullptr, nullptr);
    TBitmap work = Resampled(Picture(), W, H);
    FrameRect(work, TRect(0, 0, W, H), kPictureFrameColour);
    TImageArray::LiftDarkPixels(work);
    const TBitmap templ = TemplateCard();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        if (face && IndexArea(0, W, H).Contains(TPoint(x, y))) continue;
        const bool ring = x < 3 || y < 3 || x >= W - 3 || y >= H - 3;
        const uint32_t want = ring ? (templ.RawPixel(x, y) & work.RawPixel(x, y)) : work.RawPixel(x, y);
        ASSERT_TRUE(SameRGB(target.RawPixel(x, y), want)) << face << " " << x << "," << y;
      }
    // The lifted frame is red 30 and the template's ring shows through it.
    EXPECT_EQ(work.Pixel(0, 0), TColor(0x00001E));
  }
}

TEST(ComposeCardTest, BlackBecomesRed30) {
  TBitmap black(200, 200);
  black.Clear(clBlack);
  TBitmap target(W, H);
  ComposeCard(target, TemplateCard(), black, TSetOptions{1, 0, false, false}, false, nullptr, nullptr);
  EXPECT_EQ(target.Pixel(W / 2, H / 2), TColor(0x00001E));
  // The boundary of the lift: a sum of 29 is lifted, 30 is not.
  TBitmap two(2, 1);
  two.SetPixel(0, 0, TColor(0x0A0A09));  // blue 10, green 10, red 9
  two.SetPixel(1, 0, TColor(0x0A0A0A));
  TImageArray::LiftDarkPixels(two);
  EXPECT_EQ(two.Pixel(0, 0), TColor(0x0A0A1E));
  EXPECT_EQ(two.Pixel(1, 0), TColor(0x0A0A0A));
}

// The boxes the indices are copied from and into, 3 pixels in from the side and 4 from the end of
// the template card, in corner order: top left, bottom right, top right, bottom left.
TEST(ComposeCardTest, IndexAreasSitInTheirCorners) {
  const struct {
    TRect Small, Large;
  } kCorners[] = {
      {TRect(3, 4, 16, 33), TRect(3, 4, 23, 38)},
      {TRect(73, 90, 86, 119), TRect(66, 85, 86, 119)},
      {TRect(73, 4, 86, 33), TRect(66, 4, 86, 38)},
      {TRect(3, 90, 16, 119), TRect(3, 85, 23, 119)},
  };
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(IndexArea(c, W, H), kCorners[c].Small) << "corner " << c;
    EXPECT_EQ(LargeIndexArea(c, W, H), kCorners[c].Large) << "corner " << c;
  }
}

TEST(ComposeCardTest, CornerIndicesForEveryOption) {
  const TBitmap templ = TemplateCard();
  for (int rank : {0, 1, 2})
    for (bool large : {false, true})
      for (bool border : {false, true}) {
        TBitmap target(W, H), picture = Picture(), preview(53, 73);
        preview.Clear(clWhite);
        const TSetOptions o{1, rank, border, large};
        ComposeCard(target, templ, picture, o, true, &preview, nullptr);
        const int corners = rank == 0 ? 1 : rank == 1 ? 2 : 4;
        for (int c = 0; c < 4; ++c) {
          const TRect S = IndexArea(c, W, H), L = LargeIndexArea(c, W, H);
          const TRect area = large ? L : S;
          const std::string what = std::to_string(rank) + (large ? " large" : "") +
                                   (border ? " framed" : "") + " corner " + std::to_string(c);
          if (c >= corners) {
            // No index: the picture reaches into the corner.
            EXPECT_FALSE(SameArea(target, S, templ, S)) << what;
            continue;
          }
          if (!large) {
            const TRect inner = border ? TRect(S.Left + 1, S.Top + 1, S.Right - 1, S.Bottom - 1) : S;
            EXPECT_TRUE(SameArea(target, inner, templ, inner)) << what;
          } else {
            TBitmap index(13, 29);
            BitBlt(index, 0, 0, 13, 29, templ, S.Left, S.Top);
            TBitmap big = Resampled(index, 20, 34);
            TImageArray::LiftDarkPixels(big);
            const TRect inner(1, 1, 19, 33);
            EXPECT_TRUE(SameArea(target, TRect(L.Left + 1, L.Top + 1, L.Right - 1, L.Bottom - 1), big, inner))
                << what;
          }
          // The frame lies around the pasted area, or is not there.
          const bool framed = target.Pixel(area.Left, area.Top) == kPictureFrameColour &&
                              target.Pixel(area.Right - 1, area.Bottom - 1) == kPictureFrameColour;
          EXPECT_EQ(framed, border) << what;
        }
        // The preview carries a small index in the top-left corner, taken from the template.
        EXPECT_NE(preview.Pixel(1, 1), clWhite);
      }
}

// A whole user set: made from the template, its faces and a back composed from pictures made
// here and saved as the maker saves them, then loaded by a card table's deck the way the game
// loads a chosen set.
TEST(ComposeCardTest, SavedSetLoadsInTheGame) {
  TTempDir dir;
  const std::string cardsets = dir / "Cardsets", user = dir / "Patience/CardSets";
  TTestCardsetOptions o;
  o.Width = W;
  o.Height = H;
  o.Shadow02 = true;
  WriteTestCardset(cardsets, "C_1", o);
  o.Width = 71;
  o.Height = 96;
  WriteTestCardset(cardsets, "Standard", o);
  const TCreateSetResult made = CreateUserSet("Sea", cardsets, user);
  ASSERT_TRUE(made.Message.empty()) << made.Message;
  const TSetOptions options{1, 2, true, false};
  OptionLines(options).SaveToFile(made.Folder + "/options.txt");

  TCardTable maker(nullptr, cardsets);  // the template deck's loading
  TCardDeck& templ = *maker.CardDeck();
  templ.SetUserCardsetsDir(user);
  templ.SetCardCount(54);
  templ.SetDeckName("U_Sea");
  std::map<std::string, TBitmap> saved;
  for (int i : {1, 14, 52, 53}) {
    TCard* card = templ.CardByIndex(i);
    TBitmap face;
    LoadBmpFile(PathJoin(cardsets, "C_1", CardBitmapName(*card)), face);
    TBitmap picture = Picture(320 + i, 240 + i);
    ComposeCard(card->Face, face, picture, options, true, nullptr, nullptr);
    SaveBmp24(PathJoin(made.Folder, CardBitmapName(*card)), card->Face);
    saved[CardBitmapName(*card)] = card->Face;
  }
  TBitmap back = templ.Back, backTemplate, picture = Picture(500, 700);
  LoadBmpFile(PathJoin(cardsets, "C_1", "01c.bmp"), backTemplate);
  ComposeCard(back, backTemplate, picture, options, false, nullptr, nullptr);
  SaveBmp24(PathJoin(made.Folder, BackBitmapName(2)), back);

  TCardTable game(nullptr, cardsets);
  TCardDeck& deck = *game.CardDeck();
  deck.SetUserCardsetsDir(user);
  deck.SetCardCount(54);
  deck.SetDeckName("U_Sea");
  ASSERT_EQ(deck.DeckName, "U_Sea");
  int checked = 0;
  for (int i = 1; i <= 54; ++i) {
    const TCard* card = deck.CardByIndex(i);
    auto it = saved.find(CardBitmapName(*card));
    if (it == saved.end()) continue;
    EXPECT_TRUE(SamePixels(card->Face, it->second)) << CardBitmapName(*card);
    ++checked;
  }
  EXPECT_EQ(checked, 4);
  EXPECT_EQ(deck.BackCount, 3);
  deck.SetCardBack(2);
  EXPECT_TRUE(SamePixels(deck.Back, back));
}
