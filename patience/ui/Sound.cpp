// The game's two sound back ends (TSoundSystem), and the main window's sound routines, its sound
// option commands, the back-end switch of the Debug menu and the start-up music.

#include "patience/ui/Sound.h"

#include <QDate>
#include <exception>
#include <mutex>

#include "cardtable/CardTable.h"
#include "patience/files/Trace.h"
#include "patience/ui/MainForm.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/ui/Application.h"

namespace {

// The sample player's volumes (percent) of a sample and of the music.
constexpr float kSampleVolume = 50.0f;
constexpr float kStreamVolume = 40.0f;
// After starting a sound from its file the game lets it begin before going on.
constexpr int kFileStartMs = 25;
// How long "after the previous sound" waits for the file channel at most, beyond that sound.
constexpr int kFileQueueLimitMs = 5000;

template <size_t N>
int IndexOfName(const std::array<const char*, N>& names, const std::string& name) {
  for (size_t i = 0; i < N; ++i)
    if (SameText(names[i], name)) return int(i);
  return -1;
}

}  // namespace

std::string StartMusicName(int month, int day) {
  return month == 12 && day > 19 ? "xmas.mp3" : "blub.mp3";
}

// -----------------------------------------------------------------------------------------------
// TSoundSystem

void TSoundSystem::SetUp(const std::string& soundsDir, const TTraceFn& trace) {
  FSoundsDir = soundsDir;
  SoundHandles.fill(0);
  if (!Audio.Init(44100)) {
    SoundViaBass = false;
    trace("BassInit failed");
    return;
  }
  trace("BassInit succesfull");
  SoundViaBass = true;
  Audio.SetOnIdle(OnIdle);
  for (size_t i = 0; i < SampleNames.size(); ++i) {
    SoundHandles[i] = Audio.SampleLoad(PathJoin(soundsDir, SampleNames[i]), 3);
    if (!SoundHandles[i]) {
      trace("LoadSam fail BassSound false");
      SoundViaBass = false;
      return;
    }
  }
  for (size_t i = 0; i < StreamNames.size(); ++i) {
    SoundHandles[kFirstStreamSlot + i] = Audio.StreamCreateFile(PathJoin(soundsDir, StreamNames[i]));
    if (!SoundHandles[kFirstStreamSlot + i]) {
      trace("LoadStream fail BassSound false");
      SoundViaBass = false;
      return;
    }
  }
  // The first activation plays the day's music: decoded now, the rest when first played.
  const QDate today = QDate::currentDate();
  const int music = IndexOfName(StreamNames, StartMusicName(today.month(), today.day()));
  if (music >= 0) Audio.Prepare(SoundHandles[size_t(kFirstStreamSlot + music)]);
}

void TSoundSystem::ReleaseIdle() {
  if (!FSettingUp) Audio.ReleaseIdle();
}

namespace {

// The audio library keeps one device for the process: a set-up on its thread and another window's
// closing never run through it at the same time.
std::mutex& DeviceLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

TSoundSystem::~TSoundSystem() {
  Join();
  const std::lock_guard<std::mutex> lock(DeviceLock());
  Audio.Free();
}

void TSoundSystem::SetUpInBackground(const std::string& soundsDir, std::function<void()> done) {
  Join();
  FSettingUp = true;
  FSetUpTrace.clear();
  FSetUpThread = std::thread([this, soundsDir, done = std::move(done)] {
    {
      const std::lock_guard<std::mutex> lock(DeviceLock());
      SetUp(soundsDir, [this](const std::string& line) { FSetUpTrace.push_back(line); });
    }
    if (done) done();
  });
}

void TSoundSystem::Join() {
  if (FSetUpThread.joinable()) FSetUpThread.join();
}

void TSoundSystem::FinishSetUp(const TTraceFn& trace) {
  Join();
  if (!FSettingUp) return;
  FSettingUp = false;
  // Nothing plays yet: the device sleeps until the first sound (on this thread, which plays them).
  Audio.ReleaseIdle();
  for (const std::string& line : FSetUpTrace)
    if (trace) trace(line);
  FSetUpTrace.clear();
}

void TSoundSystem::Play(const std::string& Name, int Mode, int Milliseconds) {
  Join();
  if (SoundViaBass)
    UseBass(Name, Mode, Milliseconds);
  else
    UseFile(Name, Mode, Milliseconds);
}

void TSoundSystem::UseBass(const std::string& Name, int Mode, int Milliseconds) {
  const int i = IndexOfName(SampleNames, Name);
  if (i < 0) return;
  const HCHANNEL channel = Audio.SampleGetChannel(SoundHandles[size_t(i)]);
  Audio.ChannelSetVolume(channel, kSampleVolume);
  switch (Mode) {
    case 1:
    case 2:
      Audio.ChannelSetLoop(channel, false);
      break;
    case 3:
      Audio.ChannelSetLoop(channel, true);
      break;
    case 4:
      Audio.ChannelSetLoop(channel, false);
      // After the previous sound; a looping one is not waited for.
      Audio.WaitWhileActive(LastChannel);
      break;
    case 5:
      Sleep(Milliseconds);
      Audio.ChannelSetLoop(channel, false);
      break;
    default:
      break;
  }
  Audio.ChannelPlay(channel, false);
  LastChannel = channel;
  if (Mode == 2) Audio.WaitWhileActive(channel);
}

void TSoundSystem::UseFile(const std::string& Name, int Mode, int Milliseconds) {
  const std::string path = PathJoin(FSoundsDir, Name);
  switch (Mode) {
    case 1:
      Audio.PlayFile(path, SND_FILENAME | SND_ASYNC);
      Sleep(kFileStartMs);
      break;
    case 2:
      Audio.PlayFile(path, SND_FILENAME | SND_SYNC);
      break;
    case 3:
      Audio.PlayFile(path, SND_FILENAME | SND_ASYNC | SND_LOOP);
      break;
    case 4: {
      // Retried while another sound plays; given up when nothing can play, or after a while
      // (a looping sound never ends).
      const uint64_t until = Clock().NowMs() + kFileQueueLimitMs;
      while (!Audio.PlayFile(path, SND_FILENAME | SND_ASYNC | SND_NOSTOP)) {
        if (!Audio.FilePlaying() || Clock().NowMs() >= until) break;
        Sleep(2);
      }
      break;
    }
    default:
      Sleep(Milliseconds);
      Audio.PlayFile(path, SND_FILENAME | SND_ASYNC);
      break;
  }
}

void TSoundSystem::Stream(const std::string& Name, int NoLoop) {
  Join();
  if (!SoundViaBass) return;
  const int i = IndexOfName(StreamNames, Name);
  if (i < 0) return;
  const HSTREAM s = SoundHandles[size_t(kFirstStreamSlot + i)];
  Audio.ChannelSetVolume(s, kStreamVolume);
  Audio.ChannelSetLoop(s, NoLoop != 1);
  Audio.ChannelPlay(s, false);
}

void TSoundSystem::SoundStop(const std::string& Name, bool IsStream) {
  Join();
  if (!SoundViaBass) {
    Audio.StopFile();
    return;
  }
  if (IsStream) {
    const int i = IndexOfName(StreamNames, Name);
    if (i >= 0) Audio.ChannelStop(SoundHandles[size_t(kFirstStreamSlot + i)]);
  } else {
    const int i = IndexOfName(SampleNames, Name);
    if (i >= 0) Audio.SampleStop(SoundHandles[size_t(i)]);
  }
}

// -----------------------------------------------------------------------------------------------
// The main window

void TForm1::BuildSoundMenus() {
  Sound2 = Options1->Add("Sound2", "Sound");
  On2 = Sound2->Add("On2", "On");
  On2->OnClick = [this](TMenuItem&) { On2Click(); };
  Off2 = Sound2->Add("Off2", "Off");
  Off2->OnClick = [this](TMenuItem&) { Off2Click(); };
  On2->SetChecked(true);
  ModifyScoring1 = Options1->Add("ModifyScoring1", "Modify Scoring System");
  ModifyScoring1->OnClick = [this](TMenuItem&) { ModifyScoring1Click(); };

  SoundSystem1 = Debug1->Add("SoundSystem1", "Sound System");
  DirectX1 = SoundSystem1->Add("DirectX1", "DirectX");
  DirectX1->OnClick = [this](TMenuItem&) { DirectX1Click(); };
  Win321 = SoundSystem1->Add("Win321", "Win");
  Win321->OnClick = [this](TMenuItem&) { Win321Click(); };
}

void TForm1::SetUpSound(bool inBackground) {
  const std::string dir = CardTable1 ? CardTable1->ProgramDir : ProgramDir();
  // The decoded samples go when nothing plays any more.
  Sounds.OnIdle = [this] {
    QMetaObject::invokeMethod(
        this, [this] { Sounds.ReleaseIdle(); }, Qt::QueuedConnection);
  };
  if (!inBackground) {
    Sounds.SetUp(PathJoin(dir, "Sounds"), [this](const std::string& line) { Trace(line); });
    Sounds.ReleaseIdle();
    return;
  }
  // The window shows meanwhile; the first activation's music waits for the sounds if it must.
  Sounds.SetUpInBackground(PathJoin(dir, "Sounds"), [this] {
    QMetaObject::invokeMethod(
        this, [this] { SoundsArrived(); }, Qt::QueuedConnection);
  });
}

void TForm1::WaitForSounds() {
  Sounds.FinishSetUp([this](const std::string& line) { Trace(line); });
}

void TForm1::SoundsArrived() {
  WaitForSounds();
  if (FMusicWaits) {
    FMusicWaits = false;
    StartMusic();
  }
  // The start-up trace ran on for the sounds' lines.
  if (FTraceWaitsForSounds) {
    FTraceWaitsForSounds = false;
    StopTrace();
  }
}

void TForm1::StartMusicWhenReady() {
  if (Sounds.SettingUp())
    FMusicWaits = true;
  else
    StartMusic();
}

void TForm1::Sound(const std::string& Name, int Mode, int Milliseconds) {
  if (Application().Terminated() || !Engine) return;
  // The engine's routine keeps the score and then asks the window to play (PlaySound).
  Engine->Sound(Name, Mode, Milliseconds);
}

void TForm1::PlaySound(const std::string& name, int mode, int ms) {
  if (Application().Terminated() || OptionLine(1) != "On") return;
  Sounds.Play(name, mode, ms);
}

void TForm1::StopSound(const std::string& name) {
  SoundStop(name, false);
}

bool TForm1::SoundOn() {
  return OptionLine(1) == "On";
}

void TForm1::Stream(const std::string& Name, int NoLoop) {
  if (Application().Terminated() || OptionLine(1) == "Off") return;
  Sounds.Stream(Name, NoLoop);
}

void TForm1::SoundStop(const std::string& Name, bool IsStream) {
  Sounds.SoundStop(Name, IsStream);
}

void TForm1::On2Click() {
  if (!On2->Checked()) On2->SetChecked(true);
  if (Off2->Checked()) Off2->SetChecked(false);
  SetOptionLine(1, "On");
}

void TForm1::Off2Click() {
  if (!Off2->Checked()) Off2->SetChecked(true);
  if (On2->Checked()) On2->SetChecked(false);
  SetOptionLine(1, "Off");
}

void TForm1::DirectX1Click() {
  WaitForSounds();
  Sounds.SoundViaBass = true;
  DirectX1->SetChecked(true);
  Win321->SetChecked(false);
}

void TForm1::Win321Click() {
  WaitForSounds();
  Sounds.SoundViaBass = false;
  Win321->SetChecked(true);
  DirectX1->SetChecked(false);
}

void TForm1::StartMusic() {
  WaitForSounds();
  try {
    if (Sounds.SoundViaBass) {
      const QDate today = QDate::currentDate();
      Stream(StartMusicName(today.month(), today.day()), 1);
      DirectX1->SetChecked(true);
      Win321->SetChecked(false);
      Trace("Music streamed");
    } else {
      Sound("shuffle.wav", 1, 100);
      Win321->SetChecked(true);
      DirectX1->SetChecked(false);
      Trace("Shuffle sound played");
    }
  } catch (const std::exception&) {
    Trace("This cant happen");
    Off2Click();
    Off2->SetEnabled(false);
    On2->SetEnabled(false);
  }
}
