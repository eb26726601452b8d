// A window system serves a repaint whenever it likes, also while the table holds its screen updates
// back in the middle of a bulk change (a deal, a cleared table). Such a paint shows nothing new, and
// the window system then takes that part of the screen as painted: the table owes it and must show
// it when its updates return, or old pictures stay on the screen until the next full repaint.

#include <gtest/gtest.h>

#include "platform/graphics/Raster.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

// Serves a pending repaint at once, whether or not the table shows updates; a repaint served while
// they are off paints nothing and tells the table which part it missed (as the Qt widget does).
class TEagerSurface : public TRecordingSurface {
 public:
  void ProcessEvents() override {
    if (!InvalidatePending || !Table) return;
    InvalidatePending = false;
    if (Table->ScreenUpdates())
      BitBlt(Screen, 0, 0, Table->Buffer.Width(), Table->Buffer.Height(), Table->Buffer, 0, 0);
    else
      Table->ScreenMissed(TRect(0, 0, Table->Buffer.Width(), Table->Buffer.Height()));
  }
  // A repaint of one part that the window system asked for on its own (an expose).
  void Expose(const TRect& r) {
    if (Table->ScreenUpdates())
      BitBlt(Screen, r.Left, r.Top, r.Width(), r.Height(), Table->Buffer, r.Left, r.Top);
    else
      Table->ScreenMissed(r);
  }
};

class MissedRepaintTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    WriteTableCardset(CardsetsDir, "Standard");
    Table = std::make_unique<TCardTable>(&Eager, CardsetsDir);
    Table->ApplyBounds(0, 0, 400, 300);
    Table->SetScreenUpdates(true);
    Table->Paint();
  }
  void TearDown() override { Table.reset(); }
  TEagerSurface Eager;
};

TEST_F(MissedRepaintTest, RepaintsServedWhileUpdatesAreOffAreShownWhenTheyReturn) {
  TCardTable& t = *Table;
  TCard* a = t.DealCard();
  ASSERT_NE(a, nullptr);
  t.MoveCard(a, 40, 40);
  ASSERT_TRUE(SameBitmaps(t.Buffer, Eager.Screen));

  // A bulk change: the whole table is asked for again and the event loop runs before it ends.
  t.SetScreenUpdates(false);
  t.ClearTable();
  t.Invalidate();
  t.ProcessEvents();
  EXPECT_FALSE(Eager.InvalidatePending);
  EXPECT_FALSE(t.MissedRect().IsEmpty());
  TCard* b = t.DealCard();
  ASSERT_NE(b, nullptr);
  t.AddCard(b, 200, 120);
  t.SetScreenUpdates(true);

  // Nothing else asks for a repaint: the screen is right all the same.
  EXPECT_TRUE(t.MissedRect().IsEmpty());
  EXPECT_TRUE(SameBitmaps(t.Buffer, Eager.Screen));
  EXPECT_TRUE(Consistent());
}

TEST_F(MissedRepaintTest, ExposesWhileUpdatesAreOffAreCopiedOnlyWhereMissed) {
  TCardTable& t = *Table;
  t.SetScreenUpdates(false);
  const TRect part(10, 20, 110, 90);
  Eager.Expose(part);
  EXPECT_EQ(t.MissedRect(), part);
  FillRect(t.Buffer, TRect(0, 0, 400, 300), 0x00FF00);
  Eager.ResetCounts();
  t.SetScreenUpdates(true);
  ASSERT_EQ(Eager.Copies.size(), 1u);
  EXPECT_EQ(Eager.Copies[0], part);
  EXPECT_TRUE(t.MissedRect().IsEmpty());
}

}  // namespace
