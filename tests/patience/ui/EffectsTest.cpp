// The window's effects offscreen on a virtual clock: every winning show to its end with the
// sounds it plays and the window's state put back on every way out (a missing picture, an error,
// a close of the window); the sparkle; the starfield; the scrolling text and the about box; and
// a replay that deals and plays the same whether effects drew meanwhile or not.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPushButton>
#include <tuple>

#include "cardtable/CardTable.h"
#include "cardtable/CardTableWidget.h"
#include "patience/catalogue/GameStart.h"
#include "patience/files/Trace.h"
#include "patience/ui/AboutBox.h"
#include "patience/ui/Flourish.h"
#include "patience/ui/MainForm.h"
#include "patience/ui/Marquee.h"
#include "patience/ui/MenuDraw.h"
#include "patience/ui/ShowCanvas.h"
#include "patience/ui/Starfield.h"
#include "patience/ui/StarfieldView.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Random.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/QtMenus.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/patience/engine/PlayTestUtil.h"
#include "tests/support/TestUtil.h"

namespace {

// The window with the sounds it asks for recorded ("name/mode", "stop name").
class TRecordingForm : public TForm1 {
 public:
  using TForm1::TForm1;
  std::vector<std::string> Played;
  std::string ThrowAt;  // a sound whose playing fails
  std::function<void(const std::string&)> OnSound;
  void PlaySound(const std::string& name, int mode, int ms) override {
    Played.push_back(name + "/" + std::to_string(mode));
    if (OnSound) OnSound(name);
    if (name == ThrowAt) throw std::runtime_error("sound failed");
    TForm1::PlaySound(name, mode, ms);
  }
  void StopSound(const std::string& name) override {
    Played.push_back("stop " + name);
    TForm1::StopSound(name);
  }
};

class EffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
    SetProgramDirForTesting(Prog.Path());
  }
  void TearDown() override {
    Form.reset();
    TraceList.reset();
    SetProgramDirForTesting("");
    SetScreenSizeForTesting(std::nullopt);
    Application().ResetForTesting();
  }
  TRecordingForm& Shown() {
    Form = std::make_unique<TRecordingForm>(QStringList{}, TForm1Options{StandardTestCardsetsDir()});
    Form->resize(900, 700);
    Form->show();
    QCoreApplication::processEvents();
    // A trace of the shows (the start-up trace ended with the first activation).
    TraceList = std::make_unique<TStringList>();
    return *Form;
  }
  void WritePicture(const std::string& name, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    ASSERT_TRUE(image.save(QString::fromStdString(Prog / name), "JPG"));
  }
  // A finished game: open ("O") or closed ("0") in line 2 of its history.
  void Finished(bool open) {
    TStringList& h = Form->Engine->HistoryList;
    while (h.Count() < 3) h.Add("");
    h[2] = open ? "O" : "0";
  }
  // Runs the show of options line 3 and gives the virtual seconds it took.
  double Show(const std::string& kind, bool open) {
    Form->SetOptionLine(3, kind);
    Finished(open);
    const uint64_t start = Clock.NowMs();
    Form->WinAnim();
    return double(Clock.NowMs() - start) / 1000.0;
  }
  void ExpectRestored() {
    TForm1& f = *Form;
    EXPECT_FALSE(f.Busy());
    EXPECT_EQ(f.ToolBarTag, 0);
    EXPECT_TRUE(f.ToolBar1->isEnabled());
    EXPECT_TRUE(f.CardTable1View->isEnabled());
    EXPECT_FALSE(f.ShowRunning());
    EXPECT_TRUE(f.EffectsCanvas->Covered().isEmpty());
    EXPECT_FALSE(f.EffectsCanvas->isVisible());
    EXPECT_FALSE(f.EffectsCanvas->HoldsBitmap()) << "the canvas lets its picture go after a show";
    // Every looped sound was stopped again.
    for (const char* loop : {"Crystal_Whoosh_01.wav", "beepspac.wav"}) {
      const auto& p = Form->Played;
      const bool looped = std::find(p.begin(), p.end(), std::string(loop) + "/3") != p.end();
      const bool stopped = std::find(p.begin(), p.end(), "stop " + std::string(loop)) != p.end();
      EXPECT_EQ(looped, stopped) << loop;
    }
  }
  bool Traced(const std::string& text) const {
    for (const std::string& l : TraceList->Lines)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }

  TTempDir Prog;
  TVirtualClock Clock;
  TScopedClock ScopedClock{Clock};
  std::vector<TMessageRequest> Asked;
  TScopedMessageHook Hook{[this](const TMessageRequest& r) {
    Asked.push_back(r);
    return mrNo;
  }};
  std::unique_ptr<TRecordingForm> Form;
};

}  // namespace

// -----------------------------------------------------------------------------------------------
// The winning shows

TEST_F(EffectsTest, EveryShowRunsToItsEndWithItsSoundsAndPutsTheWindowBack) {
  WritePicture("qv3.jpg", 200, 150);
  WritePicture("Big.jpg", 2560, 480);
  const std::vector<std::string> spaced(8, "spaced.wav/1");
  auto slide = [&](bool open) {
    std::vector<std::string> s = {"explosion.wav/1"};
    s.insert(s.end(), spaced.begin(), spaced.end());
    if (open) s.push_back("congrat.wav/2");
    return s;
  };
  struct TCase {
    std::string Kind;
    bool Open;
    std::vector<std::string> Sounds;
    // At least (the fade's own timer runs on real time: on a busy machine it may take steps the
    // virtual clock does not see).
    double Seconds;
    double Most;
  };
  const std::vector<TCase> cases = {
      {"None", false, {"explosion.wav/2"}, 0, 0.1},
      {"None", true, {"congrat.wav/2"}, 0, 0.1},
      {"On", true, {"explosion.wav/1", "congrat.wav/2"}, 3, 3.2},
      {"Scribble", false, {"explosion.wav/1", "spaced.wav/1"}, 5, 5.2},
      {"Scribble", true, {"explosion.wav/1", "spaced.wav/1", "congrat.wav/2"}, 10, 10.2},
      {"Slide", false, slide(false), 3, 13.5},
      {"Slide", true, slide(true), 10, 20.5},
      {"New", true, {"explosion.wav/1", "spaced.wav/1", "claps.wav/1", "congrat.wav/2"}, 15, 17},
      {"Stars",
       false,
       {"explosion.wav/1", "beepspac.wav/3", "stop beepspac.wav", "thunder_x.wav/2"},
       8.2,
       8.6},
      {"Stars",
       true,
       {"explosion.wav/1", "Crystal_Whoosh_01.wav/3", "stop Crystal_Whoosh_01.wav", "ufo_x.wav/1",
        "beepspac.wav/3", "stop beepspac.wav", "thunder_x.wav/2", "congrat.wav/2"},
       30.2,
       30.7},
  };
  TRecordingForm& f = Shown();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Kind + (c.Open ? " open" : " closed"));
    f.Played.clear();
    const double s = Show(c.Kind, c.Open);
    EXPECT_EQ(f.Played, c.Sounds);
    EXPECT_GE(s, c.Seconds);
    EXPECT_LE(s, c.Most);
    ExpectRestored();
  }
  EXPECT_TRUE(Traced("I See Stars started"));
  EXPECT_TRUE(Traced("Stars to whiteout"));
  EXPECT_TRUE(Traced("Exit WinAnim"));
}

TEST_F(EffectsTest, ShowsEndEarlyAndPutTheWindowBackOnEveryWayOut) {
  TRecordingForm& f = Shown();
  // No qv3.jpg, no Big.jpg: those shows are left out, the rest of the celebration goes on.
  for (const char* kind : {"New", "Slide"}) {
    f.Played.clear();
    EXPECT_LT(Show(kind, true), 3.2);
    EXPECT_EQ(f.Played, (std::vector<std::string>{"explosion.wav/1", "congrat.wav/2"}));
    EXPECT_TRUE(Traced(std::string(kind) + " skipped")) << kind;
    ExpectRestored();
  }

  // Debug > View Winning Animation: the show of an open game on the emptied table.
  f.SetOptionLine(3, "None");
  f.Played.clear();
  f.ViewWinningAnimation1->Click();
  EXPECT_EQ(f.Played, (std::vector<std::string>{"congrat.wav/2"}));
  EXPECT_EQ(f.Engine->HistoryList[2], "0");
  ExpectRestored();

  // A sound that fails in the middle of a looped one ends the show; the loop stops.
  f.ThrowAt = "beepspac.wav";
  Show("Stars", false);
  EXPECT_TRUE(Traced("WinAnim ended by an error"));
  ExpectRestored();
  f.ThrowAt.clear();

  // Closing the window in the middle of the show ends it at once, then asks the question.
  f.Played.clear();
  f.OnSound = [&](const std::string& name) {
    if (name == "Crystal_Whoosh_01.wav") f.close();
  };
  EXPECT_LT(Show("Stars", true), 3.5);
  f.OnSound = nullptr;
  ExpectRestored();
  EXPECT_TRUE(f.isVisible()) << "a show refuses the close itself";
  EXPECT_TRUE(Asked.empty());
  QCoreApplication::processEvents();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Text, "Quit Patience?");
}

TEST_F(EffectsTest, TheWinningAnimationCommandsChooseTheShow) {
  TRecordingForm& f = Shown();
  // The first activation read "On" (the default): shown and kept as I See Stars.
  EXPECT_TRUE(f.Iseestars1->Checked());
  EXPECT_EQ(f.OptionLine(3), "Stars");
  const std::vector<std::pair<TMenuItem*, std::string>> items = {{f.None1, "None"},
                                                                 {f.Scribble1, "Scribble"},
                                                                 {f.New1, "New"},
                                                                 {f.SlideShow1, "Slide"},
                                                                 {f.Iseestars1, "Stars"}};
  for (const auto& [item, value] : items) {
    item->Click();
    EXPECT_EQ(f.OptionLine(3), value);
    for (const auto& [other, v] : items) EXPECT_EQ(other->Checked(), other == item) << value << " " << v;
  }
  EXPECT_EQ(f.WinningAnimation1->Parent(), f.Options1);
}

TEST_F(EffectsTest, TheCardFillTilesEveryFaceOfTheSetTheUserSetFirst) {
  TRecordingForm& f = Shown();
  TTempDir user;
  TTestCardsetOptions options;
  options.Width = 71;
  options.Height = 96;
  options.Tint = 9;
  WriteTestCardset(user.Path(), "Standard", options);
  f.CardTable1->CardDeck()->UserCardsetsDir = user.Path();
  // The window as the fill left it, when the thunder follows it.
  TBitmap c;
  f.OnSound = [&](const std::string& name) {
    if (name == "thunder_x.wav") c = f.EffectsCanvas->Bitmap();
  };
  Show("Stars", false);
  const TCardTable& t = *f.CardTable1;
  // The last face, 13s, lies from the table's corner in columns half a face apart.
  ASSERT_FALSE(c.Empty());
  EXPECT_EQ(PixelToColor(c.RawPixel(t.Left() + 36, t.Top() + 50)), TestFaceColour("13s.bmp", 9));
  EXPECT_EQ(PixelToColor(c.RawPixel(t.Left() + 36 + 35, t.Top() + 96 + 50)), TestFaceColour("13s.bmp", 9));
  ExpectRestored();
}

TEST_F(EffectsTest, TheClockZoomsAndSpinsItsCentreCardWhenItHasOne) {
  TRecordingForm& f = Shown();
  TPatienceEngine& e = *f.Engine;
  e.Rules.GameName = "The Clock";
  // The demonstration on an empty table: no centre card, no zoom.
  e.Rules.FoundationPiles.assign(13, TCardList{nullptr});
  f.Played.clear();
  Show("None", true);
  EXPECT_EQ(f.Played, (std::vector<std::string>{"congrat.wav/2"}));
  // A won clock: its centre pile's third card grows and spins.
  TCardDeck& d = *f.CardTable1->CardDeck();
  TCard* card = d.Cards[3].get();
  card->X = 300;
  card->Y = 200;
  card->FaceUp = true;
  card->Displayed = true;
  f.CardTable1->DrawCard(card, 300, 200, &d, true, 0);
  e.Rules.FoundationPiles[12] = {d.Cards[1].get(), d.Cards[2].get(), card};
  f.Played.clear();
  const double s = Show("None", true);
  EXPECT_EQ(f.Played, (std::vector<std::string>{"spaced.wav/1", "spaced.wav/1", "congrat.wav/2"}));
  EXPECT_GE(s, 2.6);
  ExpectRestored();
}

// -----------------------------------------------------------------------------------------------
// The sparkle

TEST_F(EffectsTest, TheSparkleGlowsOverTheTableForTenFramesThenTheTableShowsAgain) {
  TRecordingForm& f = Shown();
  f.CloseStartScreen();  // a card lands on a table that shows
  TFlourish& s = *f.flourish;
  TCardTable& t = *f.CardTable1;
  const TRect r(100, 100, 200, 226);
  s.Start(r);
  ASSERT_TRUE(s.Running);
  const TRect w = s.WindowRect();
  EXPECT_EQ(w, TRect(t.Left() + 100, t.Top() + 100, t.Left() + 200, t.Top() + 226));
  const uint32_t deal = f.Engine->DealRandom().Seed;
  for (int i = 0; i < 9; ++i) s.Tick();
  // The frame shows the table with glows of yellow in it. The canvas covers the sparkle alone, so
  // taking it off repaints no more than that.
  EXPECT_FALSE(f.EffectsCanvas->Covered().isEmpty());
  EXPECT_EQ(f.EffectsCanvas->geometry(), QRect(w.Left, w.Top, w.Width(), w.Height()));
  int brighter = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x)
      brighter += f.EffectsCanvas->Bitmap().RawPixel(w.Left + x, w.Top + y) !=
                  t.Buffer.RawPixel(r.Left + x, r.Top + y);
  EXPECT_GT(brighter, 50);
  s.Tick();
  EXPECT_FALSE(s.Running);
  EXPECT_TRUE(f.EffectsCanvas->Covered().isEmpty()) << "the plain table shows again";
  EXPECT_FALSE(f.EffectsCanvas->HoldsBitmap()) << "and the window's canvas is let go";
  EXPECT_EQ(f.Engine->DealRandom().Seed, deal) << "the glows never draw from the deal's generator";

  // A new sparkle cuts a running one short; off, nothing sparkles; tiny rectangles are safe.
  s.Start(r);
  s.Tick();
  s.Start(TRect(10, 10, 20, 14));
  EXPECT_EQ(s.FrameCount, 0);
  EXPECT_EQ(s.Left, 10);
  for (int i = 0; i < 10; ++i) s.Tick();
  s.SetEnabled(false);
  s.Start(r);
  EXPECT_FALSE(s.Running);
  s.SetEnabled(true);
  s.Start(r);
  s.Tick();
  s.SetEnabled(false);
  EXPECT_FALSE(s.Running);
  EXPECT_TRUE(f.EffectsCanvas->Covered().isEmpty());
  s.SetFrames(0);
  s.SetInterval(-1);
  EXPECT_EQ(s.Frames, 10);
  EXPECT_EQ(s.Interval, 100);
}

// A foundation's sparkle: 35 frames of 14 glows of radius 3 to 7, 100 ms apart, in the colour the
// engine gives; F12 ends it; the winning show waits for it.
TEST_F(EffectsTest, TheFoundationsSparkleAndWhatWaitsForIt) {
  TRecordingForm& f = Shown();
  f.CloseStartScreen();  // a card lands on a table that shows
  TFlourish& s = *f.flourish;
  f.Sparkle(TRect(100, 100, 200, 226), TPatienceEngine::kLastCardsSparkleColour);
  EXPECT_EQ(std::make_tuple(s.Interval, s.Frames, s.SparksPerFrame, s.MaxRadius, s.Colour),
            std::make_tuple(100, 35, 14, 5, TPatienceEngine::kLastCardsSparkleColour));
  ASSERT_TRUE(s.Running);
  Show("None", true);
  EXPECT_FALSE(s.Running);
  EXPECT_EQ(s.FrameCount, 35) << "every frame was shown";
  ExpectRestored();
  // Back to the start screen during a sparkle: it ends, and sparkles stay on.
  GetMenuItem(f.Alphabeticallist1, "Klondike 1 [Turn over 1]", true)->Click();
  f.Sparkle(TRect(100, 100, 200, 226));
  ASSERT_TRUE(s.Running);
  TScopedMessageHook yes([](const TMessageRequest&) { return mrYes; });
  f.BackToStart1Click();
  EXPECT_FALSE(s.Running);
  EXPECT_TRUE(s.Enabled);
}

// -----------------------------------------------------------------------------------------------
// Starfield, scrolling text, about box

TEST(StarfieldTest, StarsFlyNearerAndAreBornAgainFarAway) {
  TBitmap dc(200, 100);
  dc.Clear(clBlack);
  TRandom& random = ProgramRandom();
  random.Seed = 42;
  Starfield() = TStarfield();
  DrawStarfieldFrame(dc);  // before InitStarfield: nothing
  EXPECT_EQ(random.Seed, 42u);
  InitStarfield(200, 100);
  const TStarfield& field = Starfield();
  EXPECT_EQ(field.S, 75);
  TRandom check(42);
  const int x0 = (check.Random(200) - 100) * 512, y0 = (check.Random(100) - 50) * 512;
  EXPECT_EQ(field.Stars[0].X, x0);
  EXPECT_EQ(field.Stars[0].Y, y0);
  EXPECT_EQ(field.Stars[0].Z, 1);
  EXPECT_EQ(field.Stars[499].Z, 500);
  const uint32_t seed = random.Seed;
  DrawStarfieldFrame(dc);
  // Star 1 at Z = 1: drawn at its full offset with side S, then born again at Z = 500.
  const TStar& s = field.Stars[0];
  EXPECT_EQ(s.PrevSize, 75);
  EXPECT_EQ(s.PrevX, x0 + 100 - 75);
  EXPECT_EQ(s.Z, 500);
  TRandom reborn(seed);
  EXPECT_EQ(s.X, (reborn.Random(200) - 100) * 128);
  EXPECT_EQ(field.Stars[1].Z, 1);
}

// The start screen's starfield: its black and white picture is the one the frames draw on a
// picture of 32 bits, and what a frame sends (the squares that turn black, then those that turn
// white) turns the screen's last picture into the new one, for a small part of its pixels. Small,
// and at the start screen's own size on a maximized window, where the nearest stars cover it.
TEST(StarfieldTest, TheViewSendsOnlyTheSquaresThatChangeAndShowsTheFramesPicture) {
  struct TCase {
    int W, H, FieldW, FieldH, Frames, Every;
  };
  for (const TCase c : {TCase{300, 200, 900, 600, 700, 1}, TCase{723, 418, 1920, 1061, 600, 13}}) {
    SCOPED_TRACE(std::to_string(c.W) + " x " + std::to_string(c.H));
    TStarfieldView view(nullptr);
    view.resize(c.W, c.H);
    ProgramRandom().Seed = 17;
    view.StartField(c.FieldW, c.FieldH);
    TBitmap screen = view.Picture();
    // The same frames on a picture of 32 bits, from the same start.
    TStarfield field = Starfield();
    TBitmap whole(c.W, c.H);
    whole.Clear(clBlack);
    TRandom random = ProgramRandom();
    long long sent = 0;
    for (int f = 0; f < c.Frames; ++f) {
      view.NextFrame();
      for (const TRect& r : view.SentBlack()) FillRect(screen, r, clBlack);
      for (const TRect& r : view.SentWhite()) FillRect(screen, r, clWhite);
      for (const auto* list : {&view.SentBlack(), &view.SentWhite()})
        for (const TRect& r : *list) sent += (long long)r.Width() * r.Height();
      std::swap(field, Starfield());
      std::swap(random, ProgramRandom());
      DrawStarfieldFrame(whole);
      std::swap(field, Starfield());
      std::swap(random, ProgramRandom());
      if (f % c.Every == 0 || f + 1 == c.Frames) {
        ASSERT_TRUE(SamePixels(screen, whole)) << "frame " << f;
        ASSERT_TRUE(SamePixels(view.Picture(), whole)) << "frame " << f;
      }
    }
    EXPECT_LT(sent, (long long)c.Frames * c.W * c.H / 10);
  }
}

// The view of the whole text as the marquee once drew it: the lines one under the other in a strip
// with the control's height of empty space above and below them.
TBitmap StripView(const TddgMarquee& m, int w, int h) {
  const int lh = m.LineHeight();
  TBitmap strip(w, m.Items().Count() * lh + 2 * h);
  strip.Clear(m.Color);
  TCanvas canvas(strip);
  canvas.Font = m.Font;
  canvas.Brush.Style = TBrushStyle::bsClear;
  for (int i = 0; i < m.Items().Count(); ++i) {
    const int top = h + i * lh;
    canvas.TextRect(TRect(0, top, w, strip.Height()), (w - canvas.TextWidth(m.Items()[i])) / 2, top,
                    m.Items()[i]);
  }
  TBitmap view(w, h);
  BitBlt(view, 0, 0, w, h, strip, 0, m.Position());
  return view;
}

TEST(MarqueeTest, OnlyTheLinesInViewAreDrawnAndTheViewIsTheWholeText) {
  TddgMarquee m(nullptr);
  m.Color = 0xE0F0FF;
  m.Font.Size = 12;
  TStringList lines;
  for (int i = 0; i < 30; ++i) lines.Add(i % 4 == 3 ? "" : "Line number " + std::to_string(i));
  m.SetItems(lines);
  m.resize(160, 90);
  m.SetRunning(true);
  ASSERT_TRUE(m.Running());
  const int lh = m.LineHeight();
  int most = 0;
  for (int step = 0; m.Running(); ++step) {
    if (step % 37 == 0) {
      SCOPED_TRACE("position " + std::to_string(m.Position()));
      const TBitmap view = m.View();
      ASSERT_TRUE(SamePixels(view, StripView(m, 160, 90)));
      // The toolkit paints the same view.
      TBitmap painted;
      painted.FromQImage(m.grab().toImage());
      ASSERT_TRUE(SamePixels(painted, view));
    }
    most = std::max(most, m.LinesHeld());
    m.Step();
  }
  EXPECT_LE(most, 90 / lh + 2) << "never more lines than the view holds";
  EXPECT_EQ(m.LinesHeld(), 0);
}

TEST(MarqueeTest, TheTextScrollsThroughAndStops) {
  TddgMarquee m(nullptr);
  int done = 0;
  m.OnDone = [&](TddgMarquee&) { ++done; };
  m.SetRunning(true);  // no lines: nothing
  EXPECT_FALSE(m.Running());
  EXPECT_EQ(done, 0);
  TStringList lines;
  for (int i = 0; i < 10; ++i) lines.Add("line " + std::to_string(i));
  m.SetItems(lines);
  m.resize(100, 75);
  for (bool down : {false, true}) {
    SCOPED_TRACE(down ? "down" : "up");
    m.ScrollDown = down;
    m.SetRunning(true);
    ASSERT_TRUE(m.Running());
    const int lh = m.LineHeight();
    EXPECT_EQ(m.TextRect(), TRect(0, 0, 100, 10 * lh + 150));
    EXPECT_EQ(m.Position(), down ? 10 * lh + 75 : 0);
    int steps = 0;
    while (m.Running() && steps < 10000) {
      m.Step();
      ++steps;
    }
    EXPECT_EQ(steps, 75 + 10 * lh + 1) << "75 + lines steps, then the stop";
  }
  EXPECT_EQ(done, 2);
}

TEST(AboutBoxTest, CreditsScrollOverTheStars) {
  TVirtualClock clock;
  TScopedClock scoped(clock);
  TAboutBox box(nullptr, "Patience.", "v 2.51", 2051);
  EXPECT_EQ(box.size(), QSize(278, 299));
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Patience."));
  EXPECT_EQ(box.BitBtn1->geometry(), QRect(192, 264, 75, 25));
  const std::vector<std::string> lines = box.Marquee->Items().Lines;
  for (const char* want : {"Patience.", "v 2.51", "Prog ID: 2051", "......"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), want), lines.end()) << want;
  EXPECT_EQ(Starfield().S, (139 + 149) >> 2);
  EXPECT_TRUE(box.Marquee->Running());
  int white = 0;
  for (int i = 0; i < 40; ++i) {
    box.AboutBoxIdle();
    clock.Advance(16);
  }
  for (int y = 0; y < box.Stars.Height(); ++y)
    for (int x = 0; x < box.Stars.Width(); ++x) white += box.Stars.RawPixel(x, y) == ColorToPixel(clWhite);
  EXPECT_GT(white, 0);
  // Stopped credits start again.
  box.Marquee->SetRunning(false);
  box.AboutBoxIdle();
  EXPECT_TRUE(box.Marquee->Running());
}

// -----------------------------------------------------------------------------------------------
// Effects and replays

TEST_F(EffectsTest, AReplayDealsAndPlaysTheSameWithEffectsOnAndOff) {
  TRecordingForm& f = Shown();
  FastTable(*f.CardTable1);
  TPatienceEngine& e = *f.Engine;
  auto play = [&](bool effects, const TStringList* replay) {
    f.flourish->SetEnabled(effects);
    e.SetRandomSeed(4711);
    if (e.Rules.GameName == "Klondike")
      e.NewDeal();
    else
      StartGameByCaption(e, "Klondike");
    TRandom choose(5);
    TBitmap sky(300, 200);
    InitStarfield(300, 200);
    if (replay) {
      e.ReplayMoves(*replay);
    } else {
      for (int i = 0; i < 40; ++i) {
        const std::vector<TRecord> moves = LegalMoves(e);
        if (moves.empty()) break;
        const TRecord m = moves[size_t(choose.Random(int(moves.size())))];
        e.MakeMove(TPileKind(m.Kind), m.Pile, m.Index, m.Target);
        // The effects draw between the moves.
        while (f.flourish->Running) f.flourish->Tick();
        DrawStarfieldFrame(sky);
      }
    }
    return PlaySnapshot(e);
  };
  const std::string withEffects = play(true, nullptr);
  const TStringList history = e.HistoryList;
  EXPECT_EQ(play(false, &history), withEffects);
  EXPECT_EQ(play(true, &history), withEffects);
}
