// Pictures of the real window for a person to look at: run under a display with
// PATIENCE_SCREENSHOT_DIR set (the test is skipped otherwise), for example
//   PATIENCE_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24"
//     tests/test_patience_ui --gtest_filter='Screenshot*'
// The card sets come from the program folder (bin/Cardsets).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "platform/core/Files.h"
#include "platform/ui/QtMenus.h"
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
