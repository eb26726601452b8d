// Pictures of the records' windows for a person to look at: run under a display with
// PATIENCE_SCREENSHOT_DIR set (skipped otherwise), for example
//   cd build-asan/tests && PATIENCE_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb
//     xvfb-run -a -s "-screen 0 1280x1024x24" ./test_patience_ui --gtest_filter='RecordScreenshot*'
// It writes the statistics window, the new high score and the high-score table after a win, the
// favourites dialog, and the open and save dialogs over a dealt game.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTest>

#include "patience/files/DataFolder.h"
#include "patience/files/SavedGame.h"
#include "patience/files/Statistics.h"
#include "patience/ui/FavouritesForm.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ModalDialogs.h"
#include "patience/ui/StatisticsForm.h"
#include "platform/core/Files.h"
#include "platform/ui/ToolBar.h"
#include "tests/patience/engine/PlayTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

std::string ShotDir() {
  return qEnvironmentVariable("PATIENCE_SCREENSHOT_DIR").toStdString();
}

void Settle(int ms = 300) {
  QTest::qWait(ms);
}

void SaveScreen(const std::string& name) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  EXPECT_TRUE(shot.save(QString::fromStdString(PathJoin(ShotDir(), name)))) << name;
}

// Shows the dialog as the player would see it, takes the picture, then answers.
int Shoot(QDialog& d, const std::string& name, int answer = QDialog::Accepted) {
  d.show();
  d.raise();
  d.activateWindow();
  Settle(500);
  SaveScreen(name);
  d.hide();
  return answer;
}

}  // namespace

TEST(RecordScreenshot, StatisticsHighScoresFavouritesAndFileDialogs) {
  if (ShotDir().empty() || QGuiApplication::platformName() == "offscreen")
    GTEST_SKIP() << "no display asked for";
  const std::string cardsets = PathJoin(BuiltProgramDir(), "Cardsets");
  ASSERT_TRUE(DirectoryExists(cardsets)) << cardsets;
  const std::string data = DataFolder();
  const std::string game = "Klondike 1 [Turn over 1]";
  // Figures of earlier play.
  TGameStatistics s;
  s.Played = 7;
  s.Won = 2;
  const char* names[] = {"Ann", "Bob", "Cy", "Di", "Ed"};
  for (int i = 0; i < 5; ++i) s.Entries[size_t(i)] = {names[i], "3/12/26", 900 - 130 * i};
  SaveCounts(game, data, s);
  SaveHighScores(game, data, s);
  ForceDirectories(SaveGamesFolder(data));
  for (const char* f : {"Spider 8-12-26 9-15-02 PM.ppg", "Freecell evening.ppg"})
    WriteTextFile(PathJoin(SaveGamesFolder(data), f), "Spider\r\n1\r\nO\r\n");

  TForm1 form({}, TForm1Options{cardsets});
  form.show();
  Settle(800);
  form.AutoMoveOffClick();
  form.Engine->SetRandomSeed(2024);
  GetMenuItem(form.Alphabeticallist1, game, true)->Click();
  Settle(1500);

  {
    TScopedModalHook hook([](QDialog& d) { return Shoot(d, "statistics.png"); });
    form.ViewStatistics1->Click();
  }
  {
    TScopedModalHook hook([](QDialog& d) { return Shoot(d, "favourites.png"); });
    form.FavouritesList.Assign({"Spider", "Aces Up", "Yukon"});
    form.EditFavouriteMenu1->Click();
  }
  {
    TScopedModalHook hook([&](QDialog& d) {
      auto& f = dynamic_cast<QFileDialog&>(d);
      Shoot(d, "save-dialog.png");
      f.selectFile(QStringLiteral("screenshot game"));
      return int(QDialog::Accepted);
    });
    form.Save1->Click();
  }
  {
    TScopedModalHook hook([&](QDialog& d) { return Shoot(d, "open-dialog.png", QDialog::Rejected); });
    form.Open1->Click();
  }

  // A win: the last card to a foundation.
  TPatienceEngine& e = *form.Engine;
  TRecord home{};
  bool found = false;
  for (int i = 0; i < 200 && !found; ++i) {
    for (const TRecord& r : LegalMoves(e)) {
      int kind = 0;
      TPilePos pos;
      if (r.Kind != pkStockClick && r.Kind != pkRedeal && TargetOf(e, r.Target, kind, pos) &&
          kind == pkFoundation)
        home = r, found = true;
    }
    if (!found) e.MakeMove(pkStockClick, 0, 0, 0);
  }
  ASSERT_TRUE(found);
  e.Rules.FoundationCount = 51;
  e.Rules.Points = 640;
  {
    TScopedModalHook hook([](QDialog& d) {
      auto& f = dynamic_cast<TDataForm&>(d);
      f.Edit1->setText("Player One");
      return Shoot(d, "new-high-score.png");
    });
    e.MakeMove(TPileKind(home.Kind), home.Pile, home.Index, home.Target);
  }
  ASSERT_TRUE(e.Won());
  {
    TScopedModalHook hook([](QDialog& d) { return Shoot(d, "high-scores-after-win.png"); });
    form.ToolButton1->click();
  }
}
