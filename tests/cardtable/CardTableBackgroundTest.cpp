// The table's background and places: pictures tiled and stretched, damaged and missing pictures,
// JPEG decoding, gradients and shading as they come out on the table, place markers upright and
// turned, the drop shade, the drag shadow, table areas and the sprite.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "cardtable/ImageArrayUnit.h"
#include "cardtable/MyGrphx.h"
#include "platform/core/Files.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

class BackgroundTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
    Table->ApplyBounds(0, 0, 250, 150);
  }
  // A picture whose pixels tell their own coordinates.
  std::string CoordinatePicture(const std::string& name, int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGB(x, y, 77));
    b.SaveToFile(Dir / name);
    return Dir / name;
  }
  std::string Jpeg(const std::string& name, TColor c) {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    EXPECT_TRUE(img.save(QString::fromStdString(Dir / name), "JPG", 95));
    return Dir / name;
  }
  TCard* Show(int x, int y, float angle = 0.0f) {
    TCard* c = Deck().NextCard();
    c->FaceUp = true;
    Table->AddCard(c, x, y, angle);
    return c;
  }
  static int Level(int v, int p) { return ShadeTable(GameShadeProfile)(v, p); }
};

TEST_F(BackgroundTest, APictureIsTiledFromTheTopLeftAndCutAtTheEdges) {
  Table->SetBackgroundPicture(CoordinatePicture("tile.bmp", 100, 100));
  EXPECT_EQ(Table->BackgroundPicture(), Dir / "tile.bmp");
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 250; ++x)
      ASSERT_EQ(Table->Buffer.Pixel(x, y), RGB(x % 100, y % 100, 77)) << x << "," << y;
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(BackgroundTest, AStretchedPictureCoversTheTable) {
  Table->SetStretchBackground(true);
  Table->SetBackgroundPicture(CoordinatePicture("tile.bmp", 100, 100));
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 250; ++x)
      ASSERT_EQ(Table->Buffer.Pixel(x, y), RGB(x * 100 / 250, y * 100 / 150, 77)) << x << "," << y;
}

TEST_F(BackgroundTest, AMissingPictureMeansThePlainColour) {
  Show(20, 20);
  Table->SetColor(0x405060);
  Table->SetBackgroundPicture("None");
  Table->SetBackgroundPicture("");
  EXPECT_TRUE(Traces.empty());
  Table->SetBackgroundPicture(Dir / "nothing.bmp");
  EXPECT_EQ(Table->BackgroundPicture(), "None");
  EXPECT_EQ(Table->Buffer.Pixel(200, 100), 0x405060);
  ASSERT_EQ(Traces.size(), 1u);
  EXPECT_NE(Traces[0].find("nothing.bmp"), std::string::npos);
  EXPECT_TRUE(Consistent());
}

TEST_F(BackgroundTest, ADamagedPictureLeavesTheColourAndATrace) {
  Show(20, 20);
  Table->SetBackgroundPicture(CoordinatePicture("good.bmp", 20, 20));
  WriteTextFile(Dir / "bad.bmp", std::string("BM\x36\x00\x00\x00garbage", 13));
  WriteTextFile(Dir / "bad.jpg", std::string("\xFF\xD8\xFF\xE0 truncated", 14));
  WriteTextFile(Dir / "empty.jpg", "");
  int n = 0;
  for (const char* name : {"bad.bmp", "bad.jpg", "empty.jpg"}) {
    Table->SetBackgroundPicture(Dir / name);
    EXPECT_EQ(Table->BackgroundPicture(), "None") << name;
    EXPECT_EQ(Table->Buffer.Width(), 250) << name;
    EXPECT_EQ(Table->Buffer.Pixel(200, 100), Table->Color()) << name;
    ASSERT_EQ(int(Traces.size()), ++n) << name;
    EXPECT_NE(Traces.back().find(name), std::string::npos) << Traces.back();
    EXPECT_TRUE(Consistent()) << name;
    EXPECT_TRUE(ScreenAtRest()) << name;
  }
}

TEST_F(BackgroundTest, AJpegIsDecodedOnlyWhenItsNameChanges) {
  const std::string a = Jpeg("a.jpg", RGB(200, 40, 40)), b = Jpeg("b.JPG", RGB(40, 200, 40));
  Table->SetBackgroundPicture(a);
  EXPECT_EQ(Table->JpegDecodeCount(), 1);
  EXPECT_NEAR(GetRValue(Table->Buffer.Pixel(100, 100)), 200, 3);
  Table->ApplyBounds(0, 0, 300, 200);  // re-applied at the new size from the decoded picture
  Table->RefreshBackground();
  EXPECT_EQ(Table->JpegDecodeCount(), 1);
  EXPECT_EQ(Table->Buffer.Width(), 300);
  EXPECT_NEAR(GetRValue(Table->Buffer.Pixel(299, 199)), 200, 3);
  Table->SetBackgroundPicture(b);  // the extension in any case
  EXPECT_EQ(Table->JpegDecodeCount(), 2);
  EXPECT_NEAR(GetGValue(Table->Buffer.Pixel(10, 10)), 200, 3);
  Table->SetBackgroundPicture(a);
  EXPECT_EQ(Table->JpegDecodeCount(), 3);
  Table->SetJpegPerformance(jpBestSpeed);
  Table->RefreshBackground();
  EXPECT_EQ(Table->JpegDecodeCount(), 4);
  EXPECT_EQ(Table->JpegPerformance(), jpBestSpeed);
}

TEST_F(BackgroundTest, GradientsComeOutOnTheTable) {
  Show(100, 50, 0.3f);
  TBackdrop& bd = Table->BackDrop();
  const TColor from = RGB(0, 20, 40), to = RGB(200, 120, 240);
  bd.SetNewMode(true);
  bd.SetNewColorFrom(from);
  bd.SetNewColorTo(to);
  bd.SetEnabled(true);
  const int W = 250, H = 150;
  auto red = [&](int x, int y) { return GetRValue(Table->Buffer.Pixel(x, y)); };
  // Left to right: the colour steps by whole fractions of the width.
  EXPECT_EQ(Table->Buffer.Pixel(0, 0), from);
  for (int x : {0, 1, 124, 249}) EXPECT_EQ(red(x, 140), x * 200 / W) << x;
  EXPECT_EQ(GetBValue(Table->Buffer.Pixel(249, 0)), 40 + 249 * 200 / W);
  EXPECT_TRUE(Consistent());

  bd.SetNewType(TGradientStyle::gsVertical);
  for (int y : {0, 75, 149}) EXPECT_EQ(red(240, y), y * 200 / H) << y;
  EXPECT_TRUE(Consistent());

  bd.SetNewType(TGradientStyle::gsDiagonalLeftRight);
  EXPECT_EQ(Table->Buffer.Pixel(0, 0), from);
  EXPECT_GT(red(249, 149), 190);
  EXPECT_EQ(red(249, 0), red(0, 149));
  bd.SetNewType(TGradientStyle::gsDiagonalRightLeft);
  EXPECT_EQ(Table->Buffer.Pixel(249, 0), from);
  EXPECT_GT(red(0, 149), 190);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());

  // The bands of the old mode: grey rising left to right to white.
  bd.SetNewMode(false);
  EXPECT_EQ(Table->Buffer.Pixel(0, 10), RGB(0, 0, 0));
  EXPECT_EQ(Table->Buffer.Pixel(249, 10), RGB(255, 255, 255));
  for (int x = 1; x < W; ++x) ASSERT_GE(red(x, 10), red(x - 1, 10)) << x;
  EXPECT_TRUE(Consistent());
}

TEST_F(BackgroundTest, AGradientAndAPictureReplaceEachOther) {
  Table->SetBackgroundPicture(CoordinatePicture("tile.bmp", 50, 50));
  Table->BackDrop().SetEnabled(true);
  EXPECT_EQ(Table->BackgroundPicture(), "None");
  EXPECT_TRUE(Consistent());
  Surface.ResetCounts();
  Table->SetBackgroundPicture(Dir / "tile.bmp");
  EXPECT_FALSE(Table->BackDrop().Enabled());
  EXPECT_EQ(Table->Buffer.Pixel(60, 70), RGB(10, 20, 77));
  // Switching the gradient off brings the colour back.
  Table->BackDrop().SetEnabled(true);
  Table->BackDrop().SetEnabled(false);
  Table->BackdropChanged();
  EXPECT_EQ(Table->Buffer.Pixel(60, 70), Table->Color());
}

TEST_F(BackgroundTest, TheDialogChoosesAPictureOrChangesNothing) {
  const TBitmap before = Table->Buffer;
  EXPECT_FALSE(Table->ChooseBackgroundPicture("/somewhere"));
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
  EXPECT_NE(Surface.LastFilter.find("*.bmp"), std::string::npos);
  EXPECT_NE(Surface.LastFilter.find("*.BMP"), std::string::npos);
  Surface.PictureAnswer = CoordinatePicture("chosen.bmp", 30, 30);
  EXPECT_TRUE(Table->ChooseBackgroundPicture());
  EXPECT_EQ(Table->BackgroundPicture(), Dir / "chosen.bmp");
}

// ---------------------------------------------------------------------------------------------
// Places

TEST_F(BackgroundTest, APlaceShowsOnceAndHidesToWhatLayBeneath) {
  const TBitmap bare = Table->Buffer;
  Table->ShowPlace(0, 20, 20, 3, nullptr, 0.0f, true);
  EXPECT_TRUE(Deck().Places[3].Shown);
  const TBitmap once = Table->Buffer;
  Table->ShowPlace(0, 60, 20, 3, nullptr, 0.0f, true);
  EXPECT_TRUE(SameBitmaps(once, Table->Buffer));
  EXPECT_EQ(Deck().Places[3].X, 20);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  Table->HidePlace(0, 3, nullptr, true);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  Table->HidePlace(0, 3, nullptr, true);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  // Indexes outside their kind are ignored.
  Table->ShowPlace(0, 20, 20, 21, nullptr, 0.0f, true);
  Table->ShowPlace(7, 20, 20, 1, nullptr, 0.0f, true);
  Table->ShowPlace(5, 20, 20, 2, nullptr, 0.0f, true);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  EXPECT_EQ(TCardTable::FirstPlaceIndex(3), 35);
  EXPECT_EQ(TCardTable::FirstPlaceIndex(7), 0);
}

TEST_F(BackgroundTest, ATurnedPlaceReusesItsPictureAtTheSameAngle) {
  const TBitmap bare = Table->Buffer;
  Table->ShowPlace(1, 100, 50, 2, nullptr, 0.7f, true);
  TCardPlace& p = Deck().Places[22];
  EXPECT_GT(p.RotatedWidth, 30);
  EXPECT_TRUE(Consistent());
  Table->HidePlace(1, 2, nullptr, true);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  // Marked, the kept picture shows that it is drawn again as it is.
  const int cx = p.RotatedWidth / 2, cy = p.RotatedHeight / 2;
  p.RotatedImage.SetPixel(cx, cy, 0x010203);
  Table->ShowPlace(1, 100, 50, 2, nullptr, 0.7f, true);
  EXPECT_EQ(Table->Buffer.Pixel(p.RotatedX + cx, p.RotatedY + cy), 0x010203);
  Table->HidePlace(1, 2, nullptr, false);
  Table->ShowPlace(1, 100, 50, 2, nullptr, 0.5f, true);
  EXPECT_NE(Table->Buffer.Pixel(p.RotatedX + p.RotatedWidth / 2, p.RotatedY + p.RotatedHeight / 2), 0x010203);
  EXPECT_TRUE(Consistent());
  Table->HidePlaces();
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(BackgroundTest, APlaceGoesUnderTheDraggedCard) {
  TCard* c = Show(100, 40);
  // A card held up after its release: drawn with its shadow, out of the list.
  Table->RemoveCard(c);
  Table->DragCard = c;
  Table->DrawDragShadow(110, 45, nullptr);
  Table->DrawCard(c, 110, 45, nullptr, true, 0.0f);
  c->Displayed = true;
  Table->Paint();
  const TBitmap held = Table->Buffer;
  Table->ShowPlace(0, 100, 40, 1, nullptr, 0.0f, true);
  EXPECT_TRUE(Table->SnappedToDrop);
  EXPECT_EQ(Table->Buffer.Pixel(115, 60), held.Pixel(115, 60));  // the card still on top
  Table->HidePlace(0, 1, nullptr, true);
  EXPECT_FALSE(Table->SnappedToDrop);
  EXPECT_TRUE(SameBitmaps(held, Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(BackgroundTest, TheHighQualityDropShadeDarkensOrTintsTheTable) {
  const TColor bg = Table->Color();
  const int r = GetRValue(bg), g = GetGValue(bg), b = GetBValue(bg);
  const TBitmap bare = Table->Buffer;
  struct TCase {
    int Mode;
    TColor Inside;
  };
  const int r60 = Level(r, 60), g60 = Level(g, 60), b60 = Level(b, 60);
  const TCase cases[] = {
      {0, RGB(Level(r, 20), Level(g, 20), Level(b, 20))},
      {1, RGB(r, g60, b60)},
      {2, RGB(r60, g, b60)},
      {3, RGB(r60, g60, b)},
      {4, RGB(r, g, b60)},
      {5, RGB(r, g60, b)},
      {6, RGB(r60, g, b)},
      {7, bg},
  };
  for (const TCase& k : cases) {
    Table->SetHQDragShadeColour(k.Mode);
    Table->ShowPlace(6, 40, 30, 1, nullptr, 0.0f, true);
    EXPECT_EQ(Table->Buffer.Pixel(40 + 15, 30 + 20), k.Inside) << k.Mode;
    EXPECT_EQ(Table->Buffer.Pixel(40, 30), bg) << k.Mode;  // the corner lies outside the card's shape
    Table->HidePlace(6, 1, nullptr, true);
    EXPECT_TRUE(SameBitmaps(bare, Table->Buffer)) << k.Mode;
    Deck().HQShadeCached = false;
  }
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(BackgroundTest, ATurnedDropShadeIsNotTakenFromTheUprightOne) {
  Table->SetHQDragShadeColour(0);
  const TBitmap bare = Table->Buffer;
  const TColor dark = RGB(Level(0x80, 20), Level(0x80, 20), Level(0xFF, 20));
  Table->ShowPlace(6, 100, 50, 1, nullptr, 0.0f, true);
  Table->HidePlace(6, 1, nullptr, true);
  // Turned a quarter at the same place: the shade lies across, beyond the upright card's sides.
  Table->ShowPlace(6, 100, 50, 1, nullptr, 1.5707964f, true);
  const TCardPlace& p = Deck().Places[38];
  EXPECT_EQ(p.RotatedWidth, 40);
  EXPECT_EQ(Table->Buffer.Pixel(97, 70), dark);
  EXPECT_EQ(Table->Buffer.Pixel(115, 52), bare.Pixel(115, 52));
  EXPECT_TRUE(ScreenAtRest());
  Table->HidePlace(6, 1, nullptr, true);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
}

TEST_F(BackgroundTest, AShadowLargerThanACardIsTakenOffWhole) {
  TTableCardsetOptions o;
  o.Shadow02 = true;
  o.Shadow02Grow = 6;
  WriteTableCardset(CardsetsDir, "C_1", o);
  Deck().SetDeckName("C_1");
  ASSERT_EQ(Deck().Shadow02.Width(), 36);
  Table->RefreshBackground();
  Table->HQDragShade = false;
  Table->SetDropAngles({0.0f});
  const TBitmap bare = Table->Buffer;
  Table->ShowPlace(6, 50, 40, 1, nullptr, 0.0f, true);
  EXPECT_EQ(Table->Buffer.Pixel(50 + 35, 40 + 20), 0);  // the shadow's own frame, beyond the card
  EXPECT_TRUE(ScreenAtRest());
  Table->HidePlace(6, 1, nullptr, true);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(BackgroundTest, TurnedMarkersStayCentredOnTheirPlaceAfterANewCardSize) {
  Table->ApplyBounds(0, 0, 300, 220);
  Table->ShowPlace(1, 60, 40, 1, nullptr, 0.5f, true);
  Table->ShowPlace(0, 150, 60, 2, nullptr, -1.1f, true);
  Table->ShowPlace(0, 30, 120, 3, nullptr, 0.0f, true);
  // Larger, smaller and back: each time the markers are drawn again over a new background.
  for (int step : {2, -2, 1}) {
    SCOPED_TRACE(step);
    Deck().SetSizeStep(step);
    Table->RefreshBackground();
    EXPECT_TRUE(Consistent());
    EXPECT_TRUE(ScreenAtRest());
  }
  Table->HidePlaces();
  EXPECT_TRUE(SameBitmaps(OracleBackground(*Table), Table->Buffer));
}

TEST_F(BackgroundTest, TheTurnedDropShadeOfTheShadowSetSurvivesAReload) {
  TTableCardsetOptions o;
  o.Shadow02 = true;
  WriteTableCardset(CardsetsDir, "C_2", o);
  Deck().SetDeckName("C_2");
  Table->RefreshBackground();
  Table->HQDragShade = false;
  Table->SetDropAngles({0.4f});
  const TBitmap bare = Table->Buffer;
  Table->ShowPlace(6, 80, 50, 1, nullptr, 0.4f, true);
  // Turned, the set's whole-card shadow is the drop shade, not its "Shade" picture.
  const TBitmap shown = Table->Buffer;
  ASSERT_FALSE(SameBitmaps(bare, shown));
  TCardPlace& p = Deck().Places[38];
  TImageArray& ia = SharedImageArray();
  ia.LoadFromBitmap(*p.Bottom);
  TBitmap fromShade;
  TPoint origin;
  ia.DrawRotated(fromShade, TPoint(p.Bottom->Width() / 2, p.Bottom->Height() / 2), 0.4f, origin, 1.0f, false,
                 false);
  ASSERT_FALSE(SameBitmaps(fromShade, p.RotatedImage));
  // The set is loaded again (another scale and back); the full redraw shows the same shade.
  Deck().SetPictureScale(1.5f);
  Deck().SetPictureScale(1.0f);
  Table->RefreshBackground();
  EXPECT_TRUE(SameBitmaps(shown, Table->Buffer));
  // Hidden and shown again at the same angle, the kept picture is the right one.
  Table->HidePlace(6, 1, nullptr, true);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  Table->ShowPlace(6, 80, 50, 1, nullptr, 0.4f, true);
  EXPECT_TRUE(SameBitmaps(shown, Table->Buffer));
  EXPECT_TRUE(ScreenAtRest());
}

// ---------------------------------------------------------------------------------------------
// The drag shadow

TEST_F(BackgroundTest, TheDragShadowDarkensTheTableBesideTheCard) {
  const TColor bg = Table->Color();
  const TBitmap bare = Table->Buffer;
  const int s = Table->ShadowSize();
  ASSERT_EQ(s, 3);
  // Hard shadow: the strips at level 20 where the masks say.
  Table->SoftShadow = false;
  Table->DrawDragShadow(50, 40, nullptr);
  const TColor dark = RGB(Level(GetRValue(bg), 20), Level(GetGValue(bg), 20), Level(GetBValue(bg), 20));
  EXPECT_EQ(Table->Buffer.Pixel(50 + 30, 40 + s), dark);           // right strip, top
  EXPECT_EQ(Table->Buffer.Pixel(50 + 30 + s - 1, 40 + 39), dark);  // right strip, bottom
  EXPECT_EQ(Table->Buffer.Pixel(50 + s, 40 + 40), dark);           // bottom strip
  EXPECT_EQ(Table->Buffer.Pixel(50 + 30, 40 + s - 1), bg);
  EXPECT_EQ(Table->Buffer.Pixel(50 + s - 1, 40 + 40), bg);
  Table->EraseDragShadow(nullptr);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  // Soft: never lighter than the table, never darker than the hard shade.
  Table->SoftShadow = true;
  Table->DrawDragShadow(50, 40, nullptr);
  for (int y = 40 + s; y < 40 + 40; ++y) {
    const int v = GetBValue(Table->Buffer.Pixel(80, y));
    EXPECT_LE(v, GetBValue(bg));
    EXPECT_GE(v, Level(GetBValue(bg), 0));
  }
  Table->EraseDragShadow(nullptr);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  // The plain strips are ANDed in.
  Table->ShadowMode = smOriginal;
  Table->DrawDragShadow(50, 40, nullptr);
  EXPECT_EQ(Table->Buffer.Pixel(50 + 30, 40 + s), bg & 0x606060);
  EXPECT_EQ(Table->Buffer.Pixel(50 + 31, 40 + s), bg);
  Table->EraseDragShadow(nullptr);
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
}

// ---------------------------------------------------------------------------------------------
// Areas and the sprite

TEST_F(BackgroundTest, AFrameAreaLiesOnItsOutermostPixels) {
  const TBitmap bare = Table->Buffer;
  TTableArea& a = *Table->TableArea(1);
  a.X = 20;
  a.Y = 30;
  a.Width = 40;
  a.Height = 25;
  a.Show();
  for (int x = 20; x < 60; ++x) {
    EXPECT_EQ(Table->Buffer.Pixel(x, 30), clBlack);
    EXPECT_EQ(Table->Buffer.Pixel(x, 54), clBlack);
  }
  EXPECT_EQ(Table->Buffer.Pixel(19, 30), Table->Color());
  EXPECT_EQ(Table->Buffer.Pixel(60, 40), Table->Color());
  EXPECT_EQ(Table->Buffer.Pixel(59, 40), clBlack);
  EXPECT_EQ(Table->Buffer.Pixel(30, 40), Table->Color());
  EXPECT_EQ(Table->BufferCanvas().Brush.Style, TBrushStyle::bsClear);
  a.Show();  // shown twice, hidden once: no ghost
  a.Hide();
  EXPECT_TRUE(SameBitmaps(bare, Table->Buffer));
  EXPECT_TRUE(a.Contains(60, 55));
  EXPECT_FALSE(a.Contains(61, 55));
}

TEST_F(BackgroundTest, AnAreaAboveTheCardsComesBackAfterANewBackground) {
  Show(20, 20);
  TTableArea& a = *Table->TableArea(1);
  a.Image.Picture.SetSize(30, 20);
  a.Image.Picture.Clear(0x00AA00);
  a.Kind = 9;
  a.X = 35;
  a.Y = 30;
  a.Width = 30;
  a.Height = 20;
  a.Image.SetVisible(true);  // only marked
  EXPECT_FALSE(a.Image.Shown);
  a.Show();
  EXPECT_EQ(Table->Buffer.Pixel(40, 35), 0x00AA00);
  Table->SetColor(0x102030);
  EXPECT_EQ(Table->Buffer.Pixel(40, 35), 0x00AA00);  // over the card, on the new background
  a.Hide();
  EXPECT_TRUE(Consistent());
  EXPECT_EQ(Table->Buffer.Pixel(60, 45), 0x102030);
  // Kind 1 with its picture not marked: the area saves, draws nothing.
  a.Kind = 1;
  a.Image.SetVisible(false);
  const TBitmap before = Table->Buffer;
  a.Show();
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
  a.Hide();
}

// Cards drawn, moved or taken away under a shown picture (the table played on, or dealt anew,
// beneath it) make its save-under stale: taken off, it leaves the table as it now is, whole.
TEST_F(BackgroundTest, AnAreaTakenOffAfterTheTableChangedBeneathItLeavesTheTableWhole) {
  TTableArea& a = *Table->TableArea(1);
  const std::function<void()> changes[] = {
      [&] { Show(50, 35); },                                    // a card dealt over it
      [&] { Table->SetColor(0x203040), Show(50, 35); },         // a new background, then a card
      [&] { Table->MoveCard(Table->TableCards[1], 150, 60); },  // a card under it flown away
  };
  for (size_t i = 0; i < std::size(changes); ++i) {
    SCOPED_TRACE(i);
    Table->ClearTable();
    if (i == 2) Show(45, 30);
    a.Image.Picture.SetSize(60, 50);
    a.Image.Picture.Clear(0x00AA00);
    a.Kind = 9;
    a.X = 40;
    a.Y = 25;
    a.Width = 60;
    a.Height = 50;
    a.Image.SetVisible(true);
    a.Show();
    changes[i]();
    a.Hide();
    EXPECT_FALSE(a.Visible);
    EXPECT_TRUE(Consistent());
  }
  // Nothing changed beneath: the save-under goes back as it is, without a redraw.
  Table->ClearTable();
  Show(45, 30);
  const TBitmap before = Table->Buffer;
  a.Image.SetVisible(true);
  a.Show();
  a.Hide();
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
}

TEST_F(BackgroundTest, TheSpriteComesOffWithoutATraceAndReturnsAfterARedraw) {
  TCard* c = Show(60, 40);
  const TBitmap before = Table->Buffer;
  TSprite& s = Table->Sprite();
  s.Source = c->Face;
  s.X = c->X;
  s.Y = c->Y;
  s.Angle = 0.4f;
  s.Scale = 1.5f;
  s.Draw();
  EXPECT_TRUE(s.Visible);
  s.Angle = 0.9f;
  s.Draw();
  EXPECT_TRUE(ScreenAtRest());
  Table->SetColor(0x203040);
  EXPECT_TRUE(s.Visible);
  s.Erase();
  EXPECT_TRUE(Consistent());
  Table->SetColor(before.Pixel(0, 0));
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
}

TEST_F(BackgroundTest, AnOversizedSpritePictureDrawsNothing) {
  const TBitmap before = Table->Buffer;
  TSprite& s = Table->Sprite();
  s.Source.SetSize(40000, 2);  // turned, wider than any picture the renderer makes
  s.Source.Clear(0x123456);
  s.Angle = 0.3f;
  s.Draw();
  s.Erase();
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
}

TEST_F(BackgroundTest, GradientsFitTablesOfAnySize) {
  TBackdrop& bd = Table->BackDrop();
  bd.SetNewMode(true);
  bd.SetNewColorFrom(clBlack);
  bd.SetNewColorTo(clWhite);
  bd.SetEnabled(true);
  for (TPoint size : {TPoint(0, 0), TPoint(1, 1), TPoint(1, 300), TPoint(300, 1), TPoint(3, 2)})
    for (int style = 0; style < 4; ++style) {
      Table->ApplyBounds(0, 0, size.X, size.Y);
      bd.SetNewType(TGradientStyle(style));
      Table->BackdropChanged();
      ASSERT_EQ(Table->Buffer.Width(), size.X);
      if (size.X > 0 && size.Y > 0) {
        EXPECT_EQ(Table->Buffer.Pixel(style == 3 ? size.X - 1 : 0, 0), clBlack);
      }
    }
  // The bands on a table narrower than the 256 bands: the later bands lie over the earlier ones.
  bd.SetNewMode(false);
  Table->ApplyBounds(0, 0, 5, 5);
  const TColor c = Table->Buffer.Pixel(4, 4);
  EXPECT_EQ(GetRValue(c), GetGValue(c));
  EXPECT_GT(GetRValue(c), GetRValue(Table->Buffer.Pixel(0, 0)));
}

// A hidden table that frees its buffer (the game's, while its start screen shows) keeps none: a new
// colour, picture or size waits, and showing the table draws the background and everything on it.
TEST_F(BackgroundTest, AHiddenTableKeepsNoBufferAndDrawsEverythingWhenItShows) {
  Show(20, 20);
  Show(40, 30, 0.4f);
  Table->ShowPlace(1, 150, 20, 1, nullptr, 0.0f, true);
  // By default a hidden table keeps its buffer.
  Table->SetVisible(false);
  Table->SetColor(0x3060A0);
  EXPECT_EQ(Table->Buffer.Width(), 250);
  Table->SetVisible(true);
  Table->FreeBufferWhileHidden = true;
  Table->SetVisible(false);
  EXPECT_TRUE(Table->Buffer.Empty());
  struct TStep {
    const char* Name;
    std::function<void()> Change;
    std::string Picture;
  };
  const std::string tile = CoordinatePicture("tile.bmp", 30, 20);
  const TStep steps[] = {
      {"a colour", [&] { Table->SetColor(0x3060A0); }, "None"},
      {"a picture", [&] { Table->SetBackgroundPicture(tile); }, tile},
      {"a size", [&] { Table->ApplyBounds(0, 0, 320, 200); }, tile},
      {"a missing picture", [&] { Table->SetBackgroundPicture(Dir / "nothing.bmp"); }, "None"},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Change();
    EXPECT_TRUE(Table->Buffer.Empty());
    EXPECT_EQ(Table->BackgroundPicture(), step.Picture);
  }
  Table->SetBackgroundPicture(tile);
  Table->ShowTable();
  EXPECT_EQ(Table->Buffer.Width(), 320);
  EXPECT_EQ(Table->Buffer.Height(), 200);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

}  // namespace
