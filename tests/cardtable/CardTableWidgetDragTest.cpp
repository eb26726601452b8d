// Dragging through the Qt widget (offscreen): mouse presses, moves and releases as the platform
// delivers them, with the owner answering the drop; presses that arrive in the middle of an
// animation; and drags that lose the mouse.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "cardtable/CardTableWidget.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

class WidgetDragTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    WriteTableCardset(CardsetsDir, "Standard");
    Window = std::make_unique<QWidget>();
    Window->resize(600, 450);
    View = new TCardTableWidget(Window.get());
    Table = std::make_unique<TCardTable>(View, CardsetsDir);
    Table->DragAndDrop = true;
    Table->ShadowMode = smOriginal;
    Table->OnCardDropEvent = [this](TCard* c, int x, int y, int, int, int index) {
      Drops.push_back({x, y, index});
      if (Answer) Answer(c, index);
    };
    Table->OnCardRestoredEvent = [this] { ++Restored; };
    Table->OnTableClickEvent = [this](int x, int y, TMouseButton) { TableClicks.push_back(TPoint(x, y)); };
    Window->show();
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    Table.reset();
    Window.reset();
    TCardTableTest::TearDown();
  }
  TCard* Show(int x, int y) {
    TCard* c = Deck().NextCard();
    c->FaceUp = true;
    Table->AddCard(c, x, y);
    return c;
  }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(at), QPointF(at), QPointF(View->mapToGlobal(at)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(View, &e);
  }
  void Press(QPoint at) { Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
  void MoveHeld(QPoint at) { Send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
  void Release(QPoint at) { Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
  TBitmap Grabbed() {
    TBitmap b;
    b.FromQImage(View->grab().toImage());
    return b;
  }
  std::unique_ptr<QWidget> Window;
  TCardTableWidget* View = nullptr;
  std::vector<std::array<int, 3>> Drops;
  std::vector<TPoint> TableClicks;
  std::function<void(TCard*, int)> Answer;
  int Restored = 0;
};

TEST_F(WidgetDragTest, ADragOntoADropPointIsAcceptedOnTheScreen) {
  TCard* a = Show(50, 50);
  Table->SetDropPoints({{300, 200}, {100, 300}});
  Answer = [this](TCard*, int index) {
    const TPoint p = Table->DropPoints[size_t(index)];
    Table->DropCard(p.X, p.Y);
  };
  Press(QPoint(60, 60));
  EXPECT_TRUE(Table->Dragging);
  for (int i = 1; i <= 10; ++i) MoveHeld(QPoint(60 + 25 * i, 60 + 15 * i));
  // The moves of one display frame wait for it; its timer shows the last.
  Table->PresentFrame();
  EXPECT_EQ(Table->ShadedDropPoint, 0);
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
  Release(QPoint(310, 210));
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0], (std::array<int, 3>{310, 210, 0}));
  EXPECT_EQ(a->X, 300);
  EXPECT_EQ(a->Y, 200);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
}

TEST_F(WidgetDragTest, AReleaseElsewhereIsRefusedAndTheCardFliesHome) {
  TCard* a = Show(50, 50);
  Table->SetDropPoints({{300, 200}});
  Answer = [this](TCard*, int index) {
    if (index < 0) Table->RestoreCard();
  };
  Press(QPoint(60, 60));
  MoveHeld(QPoint(200, 100));
  Release(QPoint(200, 100));
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0][2], -1);
  EXPECT_EQ(Restored, 1);
  EXPECT_EQ(a->X, 50);
  EXPECT_EQ(Table->TableCards[1], a);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
}

// Sends a press to the table from the middle of its next repaint.
class TPressDuringPaint : public QObject {
 public:
  TPressDuringPaint(QWidget* view, QPoint at) : FView(view), FAt(at) {}
  bool Sent = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!Sent && watched == FView && event->type() == QEvent::Paint) {
      Sent = true;
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(FAt), QPointF(FAt),
                        QPointF(FView->mapToGlobal(FAt)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(FView, &press);
    }
    return false;
  }

 private:
  QWidget* FView;
  QPoint FAt;
};

TEST_F(WidgetDragTest, PressesDuringAnAnimationStartNoDrag) {
  TCard* a = Show(50, 50);
  TCard* b = Show(300, 300);
  TPressDuringPaint filter(View, QPoint(b->X + 5, b->Y + 5));
  View->installEventFilter(&filter);
  Table->MoveCard(a, 400, 60);
  View->removeEventFilter(&filter);
  EXPECT_TRUE(filter.Sent);
  EXPECT_FALSE(Table->Dragging);
  EXPECT_EQ(Table->DragCard, nullptr);
  EXPECT_EQ(TableClicks, std::vector<TPoint>{TPoint(305, 305)});
  Release(QPoint(305, 305));
  EXPECT_TRUE(Drops.empty());
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
}

TEST_F(WidgetDragTest, ADragThatLosesTheMouseEndsWhereThePointerWasLastSeen) {
  Show(50, 50);
  Answer = [this](TCard*, int) { Table->RestoreCard(); };
  Press(QPoint(60, 60));
  MoveHeld(QPoint(150, 120));
  QEvent deactivate(QEvent::WindowDeactivate);
  QCoreApplication::sendEvent(View, &deactivate);
  ASSERT_EQ(Drops.size(), 1u);
  EXPECT_EQ(Drops[0][0], 150);
  EXPECT_EQ(Restored, 1);
  // A release that went astray: the next move comes with the button up.
  Press(QPoint(60, 60));
  MoveHeld(QPoint(90, 90));
  Send(QEvent::MouseMove, QPoint(95, 92), Qt::NoButton, Qt::NoButton);
  ASSERT_EQ(Drops.size(), 2u);
  EXPECT_EQ(Drops[1][0], 95);
  EXPECT_FALSE(Table->Dragging);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
}

}  // namespace
