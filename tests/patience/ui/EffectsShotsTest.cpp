// Pictures of the effects for a person to look at: a dealt game sparkling, each winning show in
// several frames, the about box. Run under a display with PATIENCE_SCREENSHOT_DIR set (skipped
// otherwise), for example
//   cd build-asan/tests && PATIENCE_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb
//     xvfb-run -a -s "-screen 0 1280x1024x24" ./test_patience_ui --gtest_filter='EffectsShots*'
// The pictures, sounds and card sets come from the program folder (bin/).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "cardtable/CardTable.h"
#include "patience/catalogue/GameStart.h"
#include "patience/ui/AboutBox.h"
#include "patience/ui/MainForm.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace {

std::string ShotDir() {
  return qEnvironmentVariable("PATIENCE_SCREENSHOT_DIR").toStdString();
}

void SaveScreen(const std::string& name) {
  QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(PathJoin(ShotDir(), name)));
}

// Pictures taken at these seconds into the call that follows.
void ShotsAt(QObject* context, const std::string& name, const std::vector<double>& seconds) {
  for (size_t i = 0; i < seconds.size(); ++i)
    QTimer::singleShot(int(seconds[i] * 1000), context,
                       [name, i] { SaveScreen(name + "-" + std::to_string(i + 1) + ".png"); });
}

}  // namespace

TEST(EffectsShots, SparkleShowsAndAboutBox) {
  if (ShotDir().empty() || QGuiApplication::platformName() == "offscreen")
    GTEST_SKIP() << "no display asked for";
  SetProgramDirForTesting(BuiltProgramDir());
  {
    TForm1 form({}, TForm1Options{PathJoin(BuiltProgramDir(), "Cardsets")});
    form.show();
    QTest::qWait(800);
    ASSERT_TRUE(StartGameByCaption(*form.Engine, "Klondike 1 [Turn over 1]"));
    QTest::qWait(500);

    const TPoint f = form.Engine->Rules.FoundationPlaces[0];
    const TCardDeck& d = *form.CardTable1->CardDeck();
    form.Sparkle(TRect(f.X - 15, f.Y - 15, f.X + d.CardWidth + 15, f.Y + d.CardHeight + 15));
    ShotsAt(&form, "sparkle", {0.15, 0.45, 0.75});
    QTest::qWait(1300);

    struct TShow {
      std::string Kind;
      std::vector<double> Seconds;
    };
    const std::vector<TShow> shows = {
        {"Slide", {1.0, 4.5, 8.0, 10.8, 14.0}},
        {"New", {4.0, 6.5, 10.0, 14.0}},
        {"Scribble", {4.0, 6.5, 9.5}},
        {"Stars", {5.0, 12.0, 19.0, 22.0, 24.5, 27.0, 29.5}},
    };
    for (const TShow& s : shows) {
      form.SetOptionLine(3, s.Kind);
      TStringList& h = form.Engine->HistoryList;
      while (h.Count() < 3) h.Add("");
      h[2] = "O";
      ShotsAt(&form, "show-" + s.Kind, s.Seconds);
      form.WinAnim();
      QTest::qWait(300);
    }
    SaveScreen("after-shows.png");

    TAboutBox box(&form, "Patience.", "v 2.51", 2051);
    box.show();
    ShotsAt(&box, "about", {0.6, 1.8, 3.5, 6.0});
    QTest::qWait(6500);
    box.accept();
    form.hide();
  }
  SetProgramDirForTesting("");
}
