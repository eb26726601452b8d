// The window's sounds on SDL's dummy output: the sample player with every sound in "Sounds", the
// file player when one is missing or the Debug switch asks for it, silence without a device or a
// folder; the points of the scored sounds with sound on and off; the play modes, music and
// stopping.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <cstdlib>

#include "cardtable/CardTable.h"
#include "patience/files/DataFolder.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"
#include "tests/cardtable/TestCardset.h"
#include "tests/support/TestUtil.h"

namespace {

// Long enough that a sound still plays when a loaded machine gets round to looking.
constexpr int kToneMs = 1000;
// Upper bounds on real waits catch a hang, not a slow machine: a busy test run can stall a thread
// for most of a second. Which waits happened shows in the lower bounds and in what still plays.
constexpr uint64_t kSlackMs = 3000;
// Music lasts past the start screen the first activation shows after starting it.
constexpr int kMusicMs = 5000;

// A program folder whose "Sounds" holds every sound as a short tone (the music too: the decoder
// goes by the content), and a window started on it with a trace running.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().ResetForTesting();
    SetScreenSizeForTesting(TPoint(1280, 1024));
    SetProgramDirForTesting(Prog.Path());
    DataLocation = 1;
    ForceDirectories(Prog / "Sounds");
    for (const char* n : SampleNames) WriteToneWav(PathJoin(Prog.Path(), "Sounds", n), kToneMs);
    for (const char* n : StreamNames) WriteToneWav(PathJoin(Prog.Path(), "Sounds", n), kMusicMs);
    TraceList = std::make_unique<TStringList>();
    // The start-up trace ends with the first activation: its lines are heard as they come.
    SetTraceHookForTesting([this](const std::string& msg) { Traces.push_back(msg); });
  }
  void TearDown() override {
    Form.reset();
    SetTraceHookForTesting(nullptr);
    TraceList.reset();
    DataLocation = 0;
    SetProgramDirForTesting("");
    SetScreenSizeForTesting(std::nullopt);
    Application().ResetForTesting();
  }
  TForm1& Make() {
    Form = std::make_unique<TForm1>(QStringList{}, TForm1Options{StandardTestCardsetsDir()});
    // The sounds are set up in the background; the tests read what came of it.
    Form->WaitForSounds();
    DataLocation = 1;  // whatever the window decided, this test's folder
    return *Form;
  }
  bool Traced(const std::string& text) const {
    for (const std::string& l : Traces)
      if (l.rfind(text, 0) == 0) return true;
    return false;
  }
  // The last sample started still plays.
  bool SamplePlaying() const { return Form->Sounds.Audio.ChannelIsActive(Form->Sounds.LastChannel) == 1; }
  int Points() const { return Form->Engine->Rules.Points; }

  TTempDir Prog;
  std::vector<std::string> Traces;
  TScopedMessageHook Hook{[](const TMessageRequest&) { return mrNo; }};
  std::unique_ptr<TForm1> Form;
};

TEST_F(SoundTest, EverySoundLoadsIntoItsSlotAndTheSamplePlayerPlays) {
  TForm1& f = Make();
  EXPECT_TRUE(f.Sounds.SoundViaBass);
  EXPECT_TRUE(Traced("BassInit succesfull"));
  for (int i = 0; i < 33; ++i) {
    const bool used = i <= 20 || i >= 30;
    EXPECT_EQ(f.Sounds.SoundHandles[size_t(i)] != 0, used) << "slot " << i;
  }
  // Names are found in any case.
  for (const char* name : {"drag.wav", "r2.wav", "BEEPSPAC.WAV", "CHIME.wav"}) {
    SCOPED_TRACE(name);
    f.Sound(name, 1, 100);
    EXPECT_TRUE(SamplePlaying());
  }
  const HCHANNEL last = f.Sounds.LastChannel;
  f.Sound("no-such-sound.wav", 1, 100);
  EXPECT_EQ(f.Sounds.LastChannel, last);
}

TEST_F(SoundTest, AMissingSoundLeavesTheFilePlayerWhichPlaysTheFilesThatExist) {
  struct TCase {
    const char* Remove;  // a file, "*" for the whole folder
    const char* Trace;
  };
  for (const TCase c : {TCase{"ufo_x.wav", "LoadSam fail BassSound false"},
                        TCase{"xmas.mp3", "LoadStream fail BassSound false"}, TCase{"*", "LoadSam fail"}}) {
    SCOPED_TRACE(c.Remove);
    const std::string removed =
        std::string(c.Remove) == "*" ? Prog / "Sounds" : PathJoin(Prog.Path(), "Sounds", c.Remove);
    const std::string away = Prog / "away";
    ASSERT_TRUE(RenameFile(removed, away));
    Traces.clear();
    TForm1& f = Make();
    EXPECT_FALSE(f.Sounds.SoundViaBass);
    EXPECT_TRUE(Traced(c.Trace));
    // No music, one sound at a time from its file, and a missing file is silent.
    f.Stream("blub.mp3", 1);
    EXPECT_EQ(f.Sounds.Audio.ChannelIsActive(f.Sounds.SoundHandles[30]), 0);
    f.Sound("drop.wav", 1, 100);
    EXPECT_EQ(f.Sounds.Audio.FilePlaying(), std::string(c.Remove) != "*");
    f.Sound("ufo_x.wav", 1, 100);
    EXPECT_EQ(f.Sounds.Audio.FilePlaying(),
              std::string(c.Remove) != "*" && std::string(c.Remove) != "ufo_x.wav");
    EXPECT_EQ(Points(), -1);
    Form.reset();
    ASSERT_TRUE(RenameFile(away, removed));
  }
}

TEST_F(SoundTest, ScoredSoundsCountWhetherSoundIsOnOrOff) {
  struct TEvent {
    const char* Name;
    int Points;
    int Foundation;
  };
  const TEvent events[] = {{"drop.wav", -1, 0},   {"success.wav", 50, 1}, {"undo.wav", -5, 0},
                           {"waste.wav", -10, 0}, {"drop0.wav", 0, 0},    {"waste0.wav", 0, 0},
                           {"claps.wav", 0, 0},   {"DROP.WAV", 0, 0}};
  for (const char* line : {"On", "Off", "on"}) {
    TForm1& f = Make();
    f.SetOptionLine(1, line);
    const bool plays = std::string(line) == "On";
    EXPECT_EQ(f.SoundOn(), plays);
    for (const TEvent& e : events) {
      SCOPED_TRACE(std::string(line) + " " + e.Name);
      f.Sounds.Audio.SampleStop(f.Sounds.SoundHandles[7]);
      const int points = Points(), foundation = f.Engine->Rules.FoundationCount;
      const HCHANNEL before = f.Sounds.LastChannel;
      f.Sound(e.Name, 1, 100);
      EXPECT_EQ(Points() - points, e.Points);
      EXPECT_EQ(f.Engine->Rules.FoundationCount - foundation, e.Foundation);
      EXPECT_EQ(f.Sounds.LastChannel != before, plays);
    }
    // The points label follows.
    EXPECT_EQ(f.PointsLabel->text().toStdString(), "  Points = " + std::to_string(Points()) + "  ");
  }
}

TEST_F(SoundTest, PlayModesWaitAsTheyShouldAndNeverHang) {
  TForm1& f = Make();
  struct TCase {
    int Mode;
    int Ms;
    bool PlayFirst;  // a sound plays already
    int MinMs, MaxMs;
    bool PlaysAfter;
  };
  const TCase cases[] = {
      {1, 100, false, 0, 60, true},                         // play and go on
      {2, 100, false, kToneMs - 30, kToneMs + 300, false},  // play and wait for the end
      {3, 100, false, 0, 60, true},                         // loop
      {4, 100, true, kToneMs - 60, kToneMs + 300, true},    // after the previous sound
      {5, 120, false, 120, 250, true},                      // wait, then play
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Mode);
    if (c.PlayFirst) f.Sound("chime.wav", 1, 100);
    const uint64_t t0 = Clock().NowMs();
    f.Sound("ring.wav", c.Mode, c.Ms);
    const uint64_t took = Clock().NowMs() - t0;
    EXPECT_GE(took, uint64_t(c.MinMs));
    EXPECT_LE(took, uint64_t(c.MaxMs) + kSlackMs);
    EXPECT_EQ(SamplePlaying(), c.PlaysAfter);
    f.SoundStop("ring.wav", false);
    f.SoundStop("chime.wav", false);
  }
  // A loop plays on past its length and stops by name; what comes after it does not wait for it.
  f.Sound("deal.wav", 3, 100);
  const HCHANNEL loop = f.Sounds.LastChannel;
  Sleep(kToneMs + 100);
  EXPECT_EQ(f.Sounds.Audio.ChannelIsActive(loop), 1);
  const uint64_t t0 = Clock().NowMs();
  f.Sound("drag.wav", 4, 100);
  EXPECT_LT(Clock().NowMs() - t0, kSlackMs);
  f.StopSound("deal.wav");
  EXPECT_EQ(f.Sounds.Audio.ChannelIsActive(loop), 0);
}

TEST_F(SoundTest, MusicPlaysUnlessSoundIsExactlyOffAndStopsByName) {
  for (const char* line : {"On", "on", "Off"}) {
    SCOPED_TRACE(line);
    TForm1& f = Make();
    f.SetOptionLine(1, line);
    f.Stream("NEW-5848.mp3", 0);
    const HSTREAM s = f.Sounds.SoundHandles[31];
    EXPECT_EQ(f.Sounds.Audio.ChannelIsActive(s), std::string(line) != "Off" ? 1 : 0);
    f.SoundStop("new-5848.mp3", true);
    EXPECT_EQ(f.Sounds.Audio.ChannelIsActive(s), 0);
  }
  EXPECT_EQ(StartMusicName(12, 20) + StartMusicName(12, 31) + StartMusicName(12, 19) + StartMusicName(1, 25),
            "xmas.mp3xmas.mp3blub.mp3blub.mp3");
  // The first activation starts the day's music once, not looped.
  TForm1& f = Make();
  f.show();
  f.FormActivate();
  EXPECT_TRUE(Traced("Music streamed") && f.DirectX1->Checked());
  const QDate today = QDate::currentDate();
  const HSTREAM music =
      f.Sounds.SoundHandles[StartMusicName(today.month(), today.day()) == "xmas.mp3" ? 32 : 30];
  EXPECT_EQ(f.Sounds.Audio.ChannelIsActive(music), 1);
  EXPECT_FALSE(f.Sounds.Audio.ChannelLoops(music));
}

TEST_F(SoundTest, SoundLineOfTheOptionsFileDecidesSoundAndMusicAtStart) {
  struct TCase {
    const char* Line;
    bool On;
  };
  for (const TCase c : {TCase{"On", true}, TCase{"Off", false}}) {
    SCOPED_TRACE(c.Line);
    WriteTextFile(Prog / "Options.dat", std::string("On\r\n") + c.Line + "\r\n");
    TForm1& f = Make();
    f.show();
    f.FormActivate();
    EXPECT_EQ(f.On2->Checked(), c.On);
    EXPECT_EQ(f.Off2->Checked(), !c.On);
    EXPECT_EQ(f.OptionLine(1), c.On ? "On" : "Off");
    const QDate today = QDate::currentDate();
    const HSTREAM music =
        f.Sounds.SoundHandles[StartMusicName(today.month(), today.day()) == "xmas.mp3" ? 32 : 30];
    EXPECT_EQ(f.Sounds.Audio.ChannelIsActive(music), c.On ? 1 : 0);
    Form.reset();
  }
}

TEST_F(SoundTest, OptionAndBackEndCommandsKeepTheirChecks) {
  TForm1& f = Make();
  EXPECT_EQ(f.Sound2->Parent(), f.Options1);
  EXPECT_EQ(f.SoundSystem1->Parent(), f.Debug1);
  for (TMenuItem* item : {f.Off2, f.On2}) {
    item->Click();
    EXPECT_EQ(f.OptionLine(1), item == f.On2 ? "On" : "Off");
    EXPECT_TRUE(f.On2->Checked() != f.Off2->Checked() && item->Checked());
  }
  // "Win": sounds come from their files on one channel; "DirectX" brings the sample player back.
  f.Win321->Click();
  EXPECT_TRUE(!f.Sounds.SoundViaBass && f.Win321->Checked() && !f.DirectX1->Checked());
  f.Sound("drop.wav", 1, 100);
  EXPECT_TRUE(f.Sounds.Audio.FilePlaying());
  f.SoundStop("anything", false);
  EXPECT_FALSE(f.Sounds.Audio.FilePlaying());
  f.DirectX1->Click();
  EXPECT_TRUE(f.Sounds.SoundViaBass && f.DirectX1->Checked() && !f.Win321->Checked());
}

// The window is made and shown while the sounds are set up on a thread of their own; the first
// activation's music starts once they are, with the set-up's trace lines before it.
TEST_F(SoundTest, TheFirstActivationsMusicWaitsForTheSoundsNotTheWindow) {
  TForm1Options options{StandardTestCardsetsDir()};
  options.SoundsInBackground = true;
  Form = std::make_unique<TForm1>(QStringList{}, options);
  DataLocation = 1;
  TForm1& f = *Form;
  f.show();
  f.FormActivate();
  for (int i = 0; i < 2000 && !Traced("Music streamed"); ++i) {
    QCoreApplication::processEvents();
    Sleep(5);
  }
  ASSERT_TRUE(Traced("Music streamed"));
  EXPECT_TRUE(f.DirectX1->Checked());
  const auto at = [&](const std::string& text) {
    return std::find_if(Traces.begin(), Traces.end(),
                        [&](const std::string& l) { return l.rfind(text, 0) == 0; });
  };
  EXPECT_LT(at("BassInit succesfull"), at("Music streamed"));
  EXPECT_FALSE(f.Sounds.SettingUp());
}

TEST_F(SoundTest, WithoutADeviceAllIsSilentButThePointsCount) {
  const char* old = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = old ? old : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  TForm1& f = Make();
  if (old)
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
  EXPECT_FALSE(f.Sounds.SoundViaBass);
  EXPECT_TRUE(Traced("BassInit failed"));
  const uint64_t t0 = Clock().NowMs();
  for (int mode = 1; mode <= 4; ++mode) f.Sound("success.wav", mode, 100);
  EXPECT_LT(Clock().NowMs() - t0, kSlackMs);
  EXPECT_EQ(Points(), 4 * 50);
  EXPECT_FALSE(f.Sounds.Audio.FilePlaying());
  f.show();
  f.FormActivate();
  EXPECT_TRUE(Traced("Shuffle sound played"));
  EXPECT_TRUE(f.Win321->Checked());
}

}  // namespace
