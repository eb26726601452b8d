// The Qt widget that shows the table (offscreen): synchronous partial repaints that show the buffer,
// mouse input with capture and the double click as a second press, following the parent's size,
// the minimum window size and the screen cursor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include "cardtable/CardTableWidget.h"
#include "platform/graphics/Raster.h"
#include "tests/cardtable/CardTableFixture.h"

namespace {

class WidgetTest : public TCardTableTest {
 protected:
  void SetUp() override {
    TCardTableTest::SetUp();
    WriteTableCardset(CardsetsDir, "Standard");
    Window = std::make_unique<QWidget>();
    Window->resize(700, 520);
    View = new TCardTableWidget(Window.get());
    Table = std::make_unique<TCardTable>(View, CardsetsDir);
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
  // What the widget paints, as a bitmap.
  TBitmap Grabbed() {
    TBitmap b;
    b.FromQImage(View->grab().toImage());
    return b;
  }
  // A mouse event delivered to the window, as the platform delivers it.
  void SendToWindow(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QWindow* w = Window->windowHandle();
    ASSERT_NE(w, nullptr);
    QMouseEvent e(type, QPointF(at), QPointF(at), QPointF(Window->mapToGlobal(at)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  }
  void SendToView(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(at), QPointF(at), QPointF(View->mapToGlobal(at)), button, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(View, &e);
  }
  std::unique_ptr<QWidget> Window;
  TCardTableWidget* View = nullptr;
};

TEST_F(WidgetTest, CopiesRepaintAtOnceAndShowTheBuffer) {
  EXPECT_EQ(Table->Width(), 500);
  EXPECT_EQ(View->geometry(), QRect(0, 0, 500, 400));
  Show(40, 40);
  Table->FramePeriodMs = 0;  // every step's copy goes out at once
  const int painted = View->PaintCount();
  Table->MoveCard(Show(100, 50), 300, 200);  // each step repaints before the next one
  EXPECT_GT(View->PaintCount(), painted + 5);
  // A copy sends what differs from the window's picture: a changed rectangle repaints, an unchanged
  // one sends nothing.
  FillRect(Table->Buffer, TRect(12, 14, 25, 22), TColor(0x3366CC));
  const int before = View->PaintCount();
  Table->CopyToScreen(10, 10, 20, 20);
  EXPECT_EQ(View->PaintCount(), before + 1);
  Table->CopyToScreen(10, 10, 20, 20);
  EXPECT_EQ(View->PaintCount(), before + 1);
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
  // Held updates paint nothing; an invalidation paints from the event loop what differs.
  const int grabbed = View->PaintCount();
  Table->SetScreenUpdates(false);
  FillRect(Table->Buffer, TRect(40, 30, 60, 50), TColor(0x33CC66));
  Table->CopyToScreen(40, 30, 20, 20);
  EXPECT_EQ(View->PaintCount(), grabbed);
  Table->SetScreenUpdates(true);
  Table->Invalidate();
  EXPECT_EQ(View->PaintCount(), grabbed);
  QCoreApplication::processEvents();
  EXPECT_EQ(View->PaintCount(), grabbed + 1);
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
  // Served while updates are held back, it sends nothing (the window would only get its own
  // picture back); the screen gets the table when they return.
  const int held = View->PaintCount();
  FillRect(Table->Buffer, TRect(70, 30, 90, 50), TColor(0x6633CC));
  Table->Invalidate();
  Table->SetScreenUpdates(false);
  QCoreApplication::processEvents();
  EXPECT_EQ(View->PaintCount(), held);
  Table->SetScreenUpdates(true);
  EXPECT_EQ(View->PaintCount(), held + 1);
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
}

TEST_F(WidgetTest, ADoubleClickIsTwoPresses) {
  TCard* c = Show(100, 100);
  std::vector<TShiftState> presses;
  Table->OnCardClickEvent = [&](TCard* card, TMouseButton b) {
    EXPECT_EQ(card, c);
    EXPECT_EQ(b, mbLeft);
  };
  Table->OnMouseDown = [&](TMouseButton, TShiftState s, int x, int y) {
    presses.push_back(s);
    EXPECT_EQ(x, 110);
    EXPECT_EQ(y, 120);
  };
  const QPoint at(110, 120);
  SendToView(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
  SendToView(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  SendToView(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
  SendToView(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_EQ(presses[0], ssLeft);
  EXPECT_EQ(presses[1], ssLeft | ssDouble);
}

TEST_F(WidgetTest, TheTableKeepsTheMouseFromPressToRelease) {
  Window->resize(800, 600);  // room outside the table
  Table->SetAlign(alNone);
  Table->ApplyBounds(0, 0, 500, 400);
  std::vector<TPoint> moves;
  Table->OnMouseMove = [&](TShiftState, int x, int y) { moves.push_back(TPoint(x, y)); };
  int clicks = 0;
  Table->OnTableClickEvent = [&](int, int, TMouseButton) { ++clicks; };
  SendToWindow(QEvent::MouseButtonPress, QPoint(200, 200), Qt::LeftButton, Qt::LeftButton);
  SendToWindow(QEvent::MouseMove, QPoint(650, 550), Qt::NoButton, Qt::LeftButton);
  SendToWindow(QEvent::MouseButtonRelease, QPoint(650, 550), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(clicks, 1);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back(), TPoint(650, 550));  // outside the table, still its own
}

TEST_F(WidgetTest, TheTableFollowsItsParentAndKeepsTheWindowLargeEnough) {
  EXPECT_GE(Window->minimumWidth(), 500);
  EXPECT_GE(Window->minimumHeight(), 400);
  Show(50, 50);
  Table->SetAlign(alClient);
  Window->resize(820, 610);
  QCoreApplication::processEvents();
  EXPECT_EQ(Table->Width(), 820);
  EXPECT_EQ(Table->Height(), 610);
  EXPECT_EQ(View->geometry(), QRect(0, 0, 820, 610));
  EXPECT_EQ(Table->Buffer.Width(), 820);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
  Window->resize(300, 200);  // below the minimum: the window stays large enough
  QCoreApplication::processEvents();
  EXPECT_GE(Window->width(), 500);
  EXPECT_GE(Table->Width(), 500);
}

TEST_F(WidgetTest, BoundsSetFromOutsideReachTheTable) {
  Show(50, 50);
  View->setGeometry(10, 20, 600, 450);  // as a layout would
  EXPECT_EQ(Table->BoundsRect(), Bounds(10, 20, 600, 450));
  EXPECT_EQ(Table->Buffer.Width(), 600);
  EXPECT_TRUE(Consistent());
  EXPECT_TRUE(SameBitmaps(Table->Buffer, Grabbed()));
}

TEST_F(WidgetTest, TheScreenCursorFollowsTheTable) {
  View->SetScreenCursor(crDrag);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
  EXPECT_EQ(View->ScreenCursor(), crDrag);
  View->SetScreenCursor(crHourGlass);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  View->SetScreenCursor(crDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WidgetTest, ATableOutlivingItsWidgetDrawsNowhere) {
  Show(50, 50);
  Window.reset();
  TCard* c = Show(100, 100);
  Table->MoveCard(c, 200, 120);
  Table->SetColor(0x224466);
  EXPECT_TRUE(Consistent());
}

}  // namespace
