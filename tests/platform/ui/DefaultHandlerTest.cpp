// The programs' default handler of failures: an exception that leaves the handling of an event (a
// timer, a posted event, a click, a paint) is told in one error box captioned with the
// program's title, shown from the loop once the event is done, and the loop goes on.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <stdexcept>

#include "platform/core/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/DefaultHandler.h"
#include "platform/ui/Dialogs.h"

namespace {

// A widget whose press and paint handlers fail as told. Its press runs under RunHandled, as the
// presses of our own widgets do; its paint leaves the failure to the application.
class TFailingWidget : public QWidget {
 public:
  std::function<void()> Fail = [] {};
  bool Painting = false;
  int Handled = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override {
    ++Handled;
    RunHandled(Fail);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    Painting = true;
    const struct TDone {
      bool& Flag;
      ~TDone() { Flag = false; }
    } done{Painting};
    Fail();
  }
};

class TFailingObject : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("The state file is damaged.");
    return QObject::event(e);
  }
};

class DefaultHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().Title = "Deckwright";
    Widget.resize(60, 40);
    Widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Widget));
  }
  void TearDown() override { Application().Title.clear(); }

  // Runs a loop of its own over what is posted; true when it went on to its next event and quit.
  bool RunLoop() {
    bool later = false;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
      later = true;
      QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    loop.exec();
    return later;
  }

  std::vector<TMessageRequest> Boxes;
  std::vector<bool> WhilePainting;
  TFailingWidget Widget;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Boxes.push_back(r);
    WhilePainting.push_back(Widget.Painting);
    return mrOk;
  }};
};

TEST_F(DefaultHandlerTest, AFailedEventIsToldInOneBoxAndTheLoopGoesOn) {
  TFailingObject object;
  struct TCase {
    const char* What;
    std::function<void()> Event;
    std::string Told;
  };
  const TCase cases[] = {
      {"timer", [] { QTimer::singleShot(0, [] { throw Exception("No CardBacks Found."); }); },
       "No CardBacks Found."},
      {"posted event", [&] { QCoreApplication::postEvent(&object, new QEvent(QEvent::User)); },
       "The state file is damaged."},
      {"click", [&] { QTest::mouseClick(&Widget, Qt::LeftButton); }, "Cannot open \"Back1.bmp\""},
      {"paint", [&] { Widget.repaint(); }, "Cannot open \"Back1.bmp\""},
      {"not an exception of ours", [] { QTimer::singleShot(0, [] { throw 42; }); },
       "The command failed for a reason it did not tell."},
  };
  Widget.Fail = [] { throw EFileError("Cannot open \"Back1.bmp\""); };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    Boxes.clear();
    WhilePainting.clear();
    c.Event();
    EXPECT_TRUE(RunLoop());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, c.Told);
    EXPECT_EQ(Boxes[0].Caption, "Deckwright");
    EXPECT_EQ(Boxes[0].Type, mtError);
    EXPECT_EQ(Boxes[0].Buttons, mbOK);
    // Never from inside the paint that failed.
    EXPECT_FALSE(WhilePainting[0]);
  }
}

TEST_F(DefaultHandlerTest, FailuresWhileABoxWaitsMakeNoMoreBoxes) {
  // A paint that fails every time, three times before the loop comes round: one box.
  Widget.Fail = [] { throw EFileError("Cannot open \"Back1.bmp\""); };
  for (int i = 0; i < 3; ++i) Widget.repaint();
  Widget.Fail = [] {};
  RunLoop();
  EXPECT_EQ(Boxes.size(), 1u);
  // Once that box is answered, the next failure has a box of its own.
  Widget.Fail = [] { throw EFileError("Cannot open \"06d.bmp\""); };
  QTest::mouseClick(&Widget, Qt::LeftButton);
  RunLoop();
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[1].Text, "Cannot open \"06d.bmp\"");
}

}  // namespace
