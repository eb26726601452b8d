// Pictures of the real window for a person to look at: run under a display with
// PATIENCE_SCREENSHOT_DIR set (the test is skipped otherwise), for example
//   cd build-asan/tests && PATIENCE_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb
//     xvfb-run -a -s "-screen 0 1280x1024x24" ./test_patience_ui --gtest_filter='Screenshot*'
// The card sets come from the program folder (bin/Cardsets, or PATIENCE_BIN_DIR when set).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "cardtable/CardTableWidget.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "platform/core/Files.h"
#include "platform/ui/QtMenus.h"
#include "platform/ui/ToolBar.h"
#include "tests/support/TestUtil.h"

namespace {

std::string ShotDir() {
  return qEnvironmentVariable("PATIENCE_SCREENSHOT_DIR").toStdString();
}

void Settle(int ms = 300) {
  QTest::qWait(ms);
}

bool SaveScreen(const std::string& name) {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QPixmap shot = screen->grabWindow(0);
  return shot.save(QString::fromStdString(PathJoin(ShotDir(), name)));
}

// Opens the submenu of item in an open menu, with the item highlighted.
TModelMenu* OpenSubmenu(TModelMenu* menu, TMenuItem* item) {
  QAction* a = menu->ActionOf(item);
  if (!a) return nullptr;
  menu->setActiveAction(a);
  Settle(100);
  auto* sub = qobject_cast<TModelMenu*>(a->menu());
  if (sub && !sub->isVisible()) sub->popup(menu->mapToGlobal(menu->actionGeometry(a).topRight()));
  Settle(100);
  return sub;
}

}  // namespace

TEST(Screenshot, MenusAndADealtGame) {
  if (ShotDir().empty() || QGuiApplication::platformName() == "offscreen")
    GTEST_SKIP() << "no display asked for";
  const std::string cardsets = PathJoin(BuiltProgramDir(), "Cardsets");
  ASSERT_TRUE(DirectoryExists(cardsets)) << cardsets;
  TForm1 form({}, TForm1Options{cardsets});
  form.show();
  Settle(600);

  // 1. The Game menu: glyphs, a separator, the pointer on "Full Screen   F11".
  TModelMenu* game = form.ToolBar1->MenuOf(form.Game1);
  ASSERT_NE(game, nullptr);
  form.ToolBar1->setActiveAction(form.ToolBar1->ActionOf(form.Game1));
  Settle();
  game->setActiveAction(game->ActionOf(form.FullScreenF111));
  Settle();
  EXPECT_TRUE(SaveScreen("menu-game.png"));
  game->close();
  Settle();

  // 2. Game Type > Alphabetical Games > K - P with one item selected. For the picture the driver
  // also greys one item and checks another, to show how the painter draws those states.
  TMenuItem* kp = form.Alphabeticallist1->Find("K - P");
  TMenuItem* disabled = kp->Find("Klondike 3 [Double]");
  TMenuItem* checked = kp->Find("Klondike 1 [Turn over 1]");
  TMenuItem* selected = kp->Find("Klondike 2 [Turn over 3]");
  disabled->SetEnabled(false);
  checked->SetChecked(true);
  TModelMenu* types = form.ToolBar1->MenuOf(form.ChooseGame1);
  form.ToolBar1->setActiveAction(form.ToolBar1->ActionOf(form.ChooseGame1));
  Settle();
  TModelMenu* alpha = OpenSubmenu(types, form.Alphabeticallist1);
  ASSERT_NE(alpha, nullptr);
  TModelMenu* kpMenu = OpenSubmenu(alpha, kp);
  ASSERT_NE(kpMenu, nullptr);
  kpMenu->setActiveAction(kpMenu->ActionOf(selected));
  Settle();
  EXPECT_TRUE(SaveScreen("menu-game-type.png"));
  // The pointer on the disabled item: drawn as not selected.
  kpMenu->setActiveAction(kpMenu->ActionOf(disabled));
  Settle();
  EXPECT_TRUE(SaveScreen("menu-disabled-selected.png"));
  types->close();
  disabled->SetEnabled(true);
  checked->SetChecked(false);
  Settle();

  // 3. A game dealt from each list; the last one pictured, then full screen.
  GetMenuItem(form.N800x600Games1, "Yukon", true)->Click();
  GetMenuItem(form.ChooseGame1->Find("Freecell Type"), "Freecell 10x6", true)->Click();
  GetMenuItem(form.Alphabeticallist1, "Klondike 2 [Turn over 3]", true)->Click();
  Settle();
  EXPECT_TRUE(SaveScreen("dealt-klondike.png"));
  form.FullScreenF111Click();
  Settle();
  EXPECT_TRUE(SaveScreen("full-screen.png"));
  form.FullScreenF111Click();
  Settle();
  EXPECT_TRUE(SaveScreen("full-screen-off.png"));
  // 4. Closing asks; the picture is taken while the question is up, then it is answered "No".
  QTimer::singleShot(500, [] {
    SaveScreen("quit-question.png");
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  form.Engine->Busy = true;  // so the window can go without the question
  form.hide();
}

// Play by mouse: a card in mid-drag over its target, the Redeal button on the empty stock, the
// table after an undo, and the window before any game.
TEST(Screenshot, PlayingKlondike) {
  if (ShotDir().empty() || QGuiApplication::platformName() == "offscreen")
    GTEST_SKIP() << "no display asked for";
  const std::string cardsets = PathJoin(BuiltProgramDir(), "Cardsets");
  ASSERT_TRUE(DirectoryExists(cardsets)) << cardsets;
  TForm1 form({}, TForm1Options{cardsets});
  form.show();
  Settle(600);
  EXPECT_TRUE(SaveScreen("before-a-game.png"));

  form.ToolButton16->click();  // auto-move off, so an Ace waits on the tableau
  GetMenuItem(form.Alphabeticallist1, "Klondike 2 [Turn over 3]", true)->Click();
  TPatienceEngine& e = *form.Engine;
  auto aceOnTop = [&]() -> TCard* {
    for (const TCardList& p : e.Rules.TableauPiles)
      if (TCard* top = TopCard(p); top && top->FaceUp && top->Value == cvAce) return top;
    return nullptr;
  };
  for (uint32_t seed = 1; seed < 400 && !aceOnTop(); ++seed) {
    e.SetRandomSeed(seed);
    form.NewGame->click();
  }
  TCard* ace = aceOnTop();
  ASSERT_NE(ace, nullptr);
  Settle();

  // The Ace held over the first foundation: its shadow and the drop shade show.
  QWidget* view = form.CardTable1View;
  const QPoint from(ace->X + 30, ace->Y + 40);
  const TPoint place = e.Rules.FoundationPlaces[0];
  const QPoint to = from + QPoint(place.X - ace->X + 8, place.Y - ace->Y + 10);
  QTest::mousePress(view, Qt::LeftButton, {}, from);
  for (int i = 1; i <= 20; ++i) {
    QTest::mouseMove(view, from + (to - from) * i / 20);
    QTest::qWait(10);
  }
  Settle();
  EXPECT_TRUE(SaveScreen("mid-drag.png"));
  QTest::mouseRelease(view, Qt::LeftButton, {}, to);
  Settle();

  // Through the stock to its end: the Redeal button sits on the empty stock.
  const TPoint stock = e.StockPlace();
  for (int i = 0; i < 30 && e.Deck().CardsLeft(false) > 0; ++i) {
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(stock.X + 35, stock.Y + 48));
    QTest::qWait(50);
  }
  Settle();
  EXPECT_TRUE(form.ReDealButton2->isVisible());
  EXPECT_TRUE(SaveScreen("redeal-offered.png"));
  form.ReDealButton2->click();
  Settle();
  EXPECT_TRUE(SaveScreen("redealt.png"));
  form.ToolButton9->click();
  Settle();
  EXPECT_TRUE(SaveScreen("undone.png"));
  form.Engine->Busy = true;  // so the window can go without the question
  form.hide();
}
