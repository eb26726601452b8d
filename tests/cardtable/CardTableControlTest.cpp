// The card table control: defaults, setter rules, what reaches the screen, resizing with the owner
// form, card sets replaced under the table, and the press paths of the mouse.
#include <gtest/gtest.h>

#include "platform/graphics/Raster.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

class ControlTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    MakeTable();
  }
  // A few cards dealt and shown, one turned, one face down.
  void DealSome() {
    Table->DrawDeck(5, 5);
    for (int i = 0; i < 4; ++i) {
      TCard* c = Table->DealCard();
      c->FaceUp = i != 2;
      Table->MoveCard(c, 60 + 35 * i, 80 + 6 * i);
    }
    Table->RotateCard(Table->TableCards[2], 0.5f);
  }
};

TEST_F(ControlTest, NewTableHasItsDefaults) {
  TCardTable& t = *Table;
  EXPECT_EQ(t.Width(), 500);
  EXPECT_EQ(t.Height(), 400);
  EXPECT_EQ(t.Buffer.Width(), 500);
  EXPECT_EQ(t.Buffer.Height(), 400);
  EXPECT_EQ(t.Buffer.Pixel(0, 0), 0xFF8080);
  EXPECT_EQ(t.Buffer.Pixel(499, 399), 0xFF8080);
  EXPECT_EQ(t.Color(), 0xFF8080);
  EXPECT_EQ(t.BackgroundPicture(), "None");
  EXPECT_FALSE(t.StretchBackground());
  EXPECT_EQ(t.JpegPerformance(), jpBestQuality);
  EXPECT_EQ(t.CardSpeed(), 32);
  EXPECT_EQ(t.PlaceDeckOffset(), 666);
  EXPECT_EQ(t.AutoShadeMode(), 3);
  EXPECT_EQ(t.HQDragShadeColour(), 1);
  EXPECT_EQ(t.TurnOverAnimationSpeed(), 8);
  EXPECT_TRUE(t.TurnOverAnimationVertical);
  EXPECT_FALSE(t.TurnOverAnimationLift);
  EXPECT_EQ(t.MinWidth(), 500);
  EXPECT_EQ(t.MinHeight(), 400);
  EXPECT_EQ(t.DragCardCursor, crDrag);
  EXPECT_EQ(t.ShadowMode, smDarken);
  EXPECT_TRUE(t.SoftShadow && t.HQDragShade && t.SMR_WaitMode && t.AnimationsOn && t.ScreenUpdates());
  EXPECT_FALSE(t.DragAndDrop || t.DragFromDeck || t.DragFaceDown || t.LiftOffset || t.RepaintLabels ||
               t.AutoResize || t.SlowMoveRegion || t.FastMovementMode || t.DisableCardClicks || t.Dragging ||
               t.CustomStreaming);
  EXPECT_EQ(t.TableCount, 0);
  EXPECT_EQ(t.DragCard, nullptr);
  EXPECT_EQ(t.CardDeck()->DeckName, "Standard");
  EXPECT_EQ(t.CardDeck()->Table, &t);
  // What the surface was told: the bounds, the smallest outer size and the border of the form.
  EXPECT_EQ(Surface.LastBounds, TRect(0, 0, 500, 400));
  EXPECT_EQ(Surface.MinimumSize, TPoint(500, 400));
  EXPECT_EQ(t.FormBorderWidth, 20);
  EXPECT_EQ(t.FormBorderHeight, 40);
  EXPECT_EQ(Surface.Table, &t);
}

TEST_F(ControlTest, SettersKeepTheirRanges) {
  TCardTable& t = *Table;
  t.SetCardSpeed(0);
  t.SetCardSpeed(-5);
  EXPECT_EQ(t.CardSpeed(), 32);
  t.SetCardSpeed(64);
  EXPECT_EQ(t.CardSpeed(), 64);
  t.SetPlaceDeckOffset(0);
  EXPECT_EQ(t.PlaceDeckOffset(), 666);
  t.SetPlaceDeckOffset(7);
  EXPECT_EQ(t.PlaceDeckOffset(), 7);
  t.SetTurnOverAnimationSpeed(-1);
  EXPECT_EQ(t.TurnOverAnimationSpeed(), 8);
  t.SetTurnOverAnimationSpeed(0);
  EXPECT_EQ(t.TurnOverAnimationSpeed(), 0);
  for (int bad : {0, 4, -1}) t.SetAutoShadeMode(bad);
  EXPECT_EQ(t.AutoShadeMode(), 3);
  t.SetAutoShadeMode(1);
  EXPECT_EQ(t.AutoShadeMode(), 1);
  t.SetHQDragShadeColour(5);
  EXPECT_EQ(t.HQDragShadeColour(), 5);
  t.SetHQDragShadeColour(9);  // out of range stores 0, not the old value
  EXPECT_EQ(t.HQDragShadeColour(), 0);
  t.SetHQDragShadeColour(7);
  t.SetHQDragShadeColour(-1);
  EXPECT_EQ(t.HQDragShadeColour(), 0);
  t.SetMinWidth(640);
  EXPECT_EQ(Surface.MinimumSize, TPoint(640, 400));

  // A deck assigned is copied into the table's own deck; nothing happens for none.
  TCardDeck* own = t.CardDeck();
  t.SetCardDeck(nullptr);
  EXPECT_EQ(t.CardDeck(), own);
  TCardDeck other(nullptr, CardsetsDir);
  other.Dealt = 5;
  other.Cards[3]->FaceUp = true;
  t.SetCardDeck(&other);
  EXPECT_EQ(t.CardDeck(), own);
  EXPECT_EQ(own->Dealt, 5);
  EXPECT_TRUE(own->Cards[3]->FaceUp);
}

TEST_F(ControlTest, StretchingReappliesOnlyARealPicture) {
  Surface.ResetCounts();
  Table->SetStretchBackground(true);  // no picture: nothing is redrawn
  EXPECT_EQ(Surface.Invalidates, 0);
  Table->SetStretchBackground(true);
  EXPECT_EQ(Surface.Invalidates, 0);

  TBitmap pic(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) pic.SetPixel(x, y, RGB(x * 20, y * 20, 7));
  pic.SaveToFile(Dir / "tile.bmp");
  Table->SetBackgroundPicture(Dir / "tile.bmp");
  EXPECT_EQ(Table->Buffer.Pixel(499, 399),
            RGB(9 * 20, 9 * 20, 7));  // stretched: the last pixel maps to the last
  Surface.ResetCounts();
  Table->SetStretchBackground(false);
  EXPECT_GT(Surface.Invalidates, 0);
  EXPECT_EQ(Table->Buffer.Pixel(499, 399), RGB(9 * 20, 9 * 20, 7));  // tiled: 499 % 10 = 9
  EXPECT_EQ(Table->Buffer.Pixel(250, 101), RGB(0, 20, 7));
}

TEST_F(ControlTest, CopiesReachTheScreenOnlyWhenVisibleAndUpdating) {
  Surface.ResetCounts();
  Table->CopyToScreen(10, 10, 20, 20);
  ASSERT_EQ(Surface.Copies.size(), 1u);
  EXPECT_EQ(Surface.Copies[0], TRect(10, 10, 30, 30));

  Table->SetScreenUpdates(false);
  Table->CopyToScreen(10, 10, 20, 20);
  Table->Paint();
  Table->SetScreenUpdates(true);
  Table->SetVisible(false);
  Table->CopyToScreen(10, 10, 20, 20);
  Table->Paint();
  EXPECT_FALSE(Surface.ControlVisible);
  Table->SetVisible(true);
  EXPECT_EQ(Surface.Copies.size(), 1u);
  EXPECT_EQ(Surface.Paints, 0);

  // Clipped to the buffer; nothing for empty or far-away rectangles.
  Table->CopyToScreen(-5, 390, 20, 20);
  Table->CopyToScreen(0, 0, 0, 10);
  Table->CopyToScreen(2147483000, 5, 2000, 10);
  Table->CopyToScreen(-2147483000, 5, 2000, 10);
  ASSERT_EQ(Surface.Copies.size(), 2u);
  EXPECT_EQ(Surface.Copies[1], TRect(0, 390, 15, 400));
}

TEST_F(ControlTest, ShowTableShowsPaintsAndRepaintsLabels) {
  Surface.ShowsScreen = false;  // a whole paint, not the parts that differ from the screen
  Table->SetVisible(false);
  Table->RepaintLabels = true;
  Surface.ResetCounts();
  Table->ShowTable();
  EXPECT_TRUE(Table->Visible());
  EXPECT_TRUE(Surface.ControlVisible);
  EXPECT_EQ(Surface.Paints, 1);
  EXPECT_EQ(Surface.LabelRepaints, 1);
  Table->RepaintLabels = false;
  Table->RepaintOwnerLabels();
  Table->RepaintLabels = true;
  Table->SetScreenUpdates(false);
  Table->RepaintOwnerLabels();
  EXPECT_EQ(Surface.LabelRepaints, 1);
}

TEST_F(ControlTest, FormResizeIsRefusedBelowTheMinimum) {
  bool resize = true;
  int w = 499, h = 800;
  Table->FormCanResize(w, h, resize);
  EXPECT_FALSE(resize);
  w = 800, h = 399;
  resize = true;
  Table->FormCanResize(w, h, resize);
  EXPECT_FALSE(resize);
  EXPECT_EQ(Table->BoundsRect(), TRect(0, 0, 500, 400));
}

TEST_F(ControlTest, TableFollowsTheFormAsAlignSays) {
  DealSome();
  bool resize = false;
  int w = 800, h = 600;
  // Outer 720 x 560 with a client of 700 x 520: the table takes the new client size minus its place.
  Table->SetAlign(alClient);
  Table->FormCanResize(w, h, resize);
  EXPECT_TRUE(resize);
  EXPECT_EQ(Table->BoundsRect(), TRect(0, 0, 780, 560));
  EXPECT_EQ(Table->Buffer.Width(), 780);
  EXPECT_EQ(Table->Buffer.Height(), 560);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());

  Table->ApplyBounds(10, 20, 300, 300);
  Table->SetAlign(alLeft);  // only the height follows
  Table->FormCanResize(w, h, resize);
  EXPECT_EQ(Table->BoundsRect(), Bounds(10, 20, 300, 540));
  Table->SetAlign(alTop);  // only the width follows
  Table->FormCanResize(w, h, resize);
  EXPECT_EQ(Table->BoundsRect(), Bounds(10, 20, 770, 540));
  Table->SetAlign(alNone);  // stays
  w = 900;
  Table->FormCanResize(w, h, resize);
  EXPECT_EQ(Table->BoundsRect(), Bounds(10, 20, 770, 540));
  Table->AutoResize = true;  // follows like alClient
  Table->FormCanResize(w, h, resize);
  EXPECT_EQ(Table->BoundsRect(), Bounds(10, 20, 870, 540));

  // A form that reports no client size: the borders measured at construction stand in.
  Surface.Client = TPoint(0, 0);
  w = 820;
  Table->FormCanResize(w, h, resize);
  EXPECT_EQ(Table->BoundsRect(), Bounds(10, 20, 820 - 20 - 10, 600 - 40 - 20));
  EXPECT_TRUE(Consistent());
}

TEST_F(ControlTest, MovingWithoutResizingKeepsTheBuffer) {
  DealSome();
  const TBitmap before = Table->Buffer;
  Surface.ResetCounts();
  Table->ApplyBounds(30, 40, 500, 400);
  EXPECT_EQ(Table->BoundsRect(), Bounds(30, 40, 500, 400));
  EXPECT_EQ(Surface.LastBounds, Bounds(30, 40, 500, 400));
  EXPECT_TRUE(SameBitmaps(before, Table->Buffer));
  EXPECT_EQ(Surface.Invalidates, 0);
}

TEST_F(ControlTest, ResizeWhileUpdatesAreOffIsAppliedWhenTheyReturn) {
  DealSome();
  Table->SetScreenUpdates(false);
  Table->ApplyBounds(0, 0, 640, 480);
  // The control takes its place at once; the buffer follows when updates return.
  EXPECT_EQ(Surface.LastBounds, TRect(0, 0, 640, 480));
  EXPECT_EQ(Table->Buffer.Width(), 500);
  Table->SetScreenUpdates(true);
  EXPECT_EQ(Table->Buffer.Width(), 640);
  EXPECT_EQ(Table->Buffer.Height(), 480);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());

  // A background change during the quiet time builds the buffer at the new size as well.
  Table->SetScreenUpdates(false);
  Table->ApplyBounds(0, 0, 560, 420);
  Table->SetColor(0x204060);
  EXPECT_EQ(Table->Buffer.Width(), 560);
  Table->SetScreenUpdates(true);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(ControlTest, ZeroAndNegativeSizesDrawNothingAndRecover) {
  DealSome();
  Table->ApplyBounds(0, 0, -10, -5);
  EXPECT_EQ(Table->Width(), 0);
  EXPECT_EQ(Table->Height(), 0);
  EXPECT_TRUE(Table->Buffer.Empty());
  // Every kind of drawing on an empty table is a quiet no-op.
  TCard* c = Table->TableCards[1];
  Table->MoveCard(c, 200, 100);
  Table->RotateCard(c, 1.0f);
  Table->TurnOverCard(c);
  Table->ShowPlace(0, 10, 10, 1, nullptr, 0.0f, true);
  Table->ShowPlace(1, 50, 10, 1, nullptr, 0.7f, true);
  Table->DrawDeck(5, 5);
  Table->SetColor(0x123456);
  Table->RemoveCard(Table->TableCards[2]);
  Table->Paint();
  Table->ApplyBounds(0, 0, 300, 200);
  EXPECT_EQ(Table->Buffer.Width(), 300);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
}

TEST_F(ControlTest, ReplacedCardsAreTakenOffTheTable) {
  DealSome();
  Table->ShowPlace(0, 300, 200, 1, nullptr, 0.0f, true);
  Table->DragCard = Table->TableCards[1];
  Table->SetDraggableCards({Table->TableCards[2], Table->TableCards[3]});
  // The card count change frees every card object; the table must let go of all of them.
  Deck().SetCardCount(104);
  EXPECT_EQ(Deck().CardCount, 104);
  EXPECT_EQ(Table->TableCount, 0);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_TRUE(Table->Draggable.empty());
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(ScreenAtRest());
  // The new cards draw as usual.
  Table->DrawDeck(5, 5);
  Table->MoveCard(Table->DealCard(), 100, 100);
  EXPECT_TRUE(Consistent());
}

// ---------------------------------------------------------------------------------------------
// Presses

class PressTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    Table->DrawDeck(5, 5);
    A = Table->DealCard();
    A->FaceUp = true;
    Table->MoveCard(A, 100, 100);
    B = Table->DealCard();
    B->FaceUp = true;
    Table->MoveCard(B, 110, 120);  // over A
    Table->OnCardClickEvent = [this](TCard* c, TMouseButton b) { Clicks.push_back({c, b}); };
    Table->OnTableClickEvent = [this](int x, int y, TMouseButton b) {
      TableClicks.push_back({x, y, int(b)});
    };
  }
  struct TClick {
    TCard* Card;
    TMouseButton Button;
  };
  TCard* A = nullptr;
  TCard* B = nullptr;
  std::vector<TClick> Clicks;
  std::vector<std::array<int, 3>> TableClicks;
};

TEST_F(PressTest, HitTestTakesTheTopmostCardWithItsEdges) {
  EXPECT_EQ(Table->CardAt(115, 125, true), B);
  EXPECT_EQ(Table->CardAt(105, 105, true), A);
  EXPECT_EQ(Table->CardAt(130, 100, true), A);  // right and bottom edges count
  EXPECT_EQ(Table->CardAt(100, 140, true), A);
  EXPECT_EQ(Table->CardAt(140, 160, true), B);
  EXPECT_EQ(Table->CardAt(141, 160, true), nullptr);
  // The stock pile: any drawn stock card stands for the whole stock.
  EXPECT_EQ(Table->CardAt(6, 6, true), Deck().Cards[size_t(Deck().CardCount)].get());
  Table->DisableCardClicks = true;
  EXPECT_EQ(Table->CardAt(115, 125, true), nullptr);
  EXPECT_EQ(Table->CardAt(115, 125, false), B);
}

TEST_F(PressTest, PressesRaiseClickEvents) {
  int downs = 0, ups = 0;
  Table->OnMouseDown = [&](TMouseButton, TShiftState, int, int) { ++downs; };
  Table->OnMouseUp = [&](TMouseButton, TShiftState, int, int) { ++ups; };
  Table->MouseDown(mbLeft, ssLeft, 115, 125);
  Table->MouseUp(mbLeft, 0, 115, 125);
  Table->MouseDown(mbRight, ssRight, 300, 300);
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0].Card, B);
  EXPECT_EQ(Clicks[0].Button, mbLeft);
  ASSERT_EQ(TableClicks.size(), 1u);
  EXPECT_EQ(TableClicks[0], (std::array<int, 3>{300, 300, int(mbRight)}));
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(ups, 0);  // the owner's mouse-up handler is never called

  // While clicks are disabled a press on a card is a press on the table; ClickAt ignores that.
  Table->DisableCardClicks = true;
  Table->MouseDown(mbLeft, ssLeft, 115, 125);
  EXPECT_EQ(TableClicks.size(), 2u);
  Table->ClickAt(mbLeft, 0, 115, 125);
  EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(PressTest, CardsOfAnotherDeckRaiseTheExternalEvent) {
  TCardDeck other(nullptr, CardsetsDir);
  TCard* x = other.Cards[1].get();
  x->State = 1;
  Table->AddCard(x, 300, 50);
  TCard* seen = nullptr;
  Table->OnExternalCardClickEvent = [&](TCard* c, TMouseButton) { seen = c; };
  Table->MouseDown(mbLeft, 0, 305, 55);
  EXPECT_EQ(seen, x);
  EXPECT_TRUE(Clicks.empty());
  Table->RemoveCard(x);
}

TEST_F(PressTest, CardsOutsideTheDraggableListIgnoreALeftPress) {
  Table->DragAndDrop = true;
  Table->SetDraggableCards({A});
  Table->MouseDown(mbLeft, ssLeft, 115, 125);  // B: no drag and no click
  EXPECT_TRUE(Clicks.empty());
  Table->MouseDown(mbRight, ssRight, 115, 125);  // a right press still clicks
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0].Button, mbRight);
}

TEST_F(PressTest, AVisibleAreaTakesThePressesBesideTheCards) {
  TTableArea* area = Table->TableArea(1);
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(Table->TableArea(2), nullptr);
  area->X = 300;
  area->Y = 200;
  area->Width = 50;
  area->Height = 40;
  std::vector<TPoint> hits;
  area->OnClick = [&](int x, int y, TMouseButton) { hits.push_back(TPoint(x, y)); };
  area->Show();
  Table->MouseDown(mbLeft, 0, 350, 240);  // the far corner counts as inside
  Table->MouseDown(mbLeft, 0, 351, 240);
  EXPECT_EQ(hits, (std::vector<TPoint>{TPoint(350, 240)}));
  EXPECT_EQ(TableClicks.size(), 1u);
  area->Hide();
  Table->MouseDown(mbLeft, 0, 320, 220);
  EXPECT_EQ(TableClicks.size(), 2u);
}

}  // namespace
