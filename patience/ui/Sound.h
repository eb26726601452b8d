#pragma once
// The game's sounds: the 21 samples and 3 music streams of the program folder's "Sounds", played
// by one of two back ends. With the sample player (SoundViaBass) every sound is loaded once at
// start and up to three playbacks of one sample sound together, and music plays. Without it
// (no audio device, or a sound file missing) each sound is played from its file on one channel,
// one at a time, and there is no music; a file that is missing is silent. The start-up music of
// the day is decoded with the set-up, every other sound when it first plays (TAudio).
//
// The score is not kept here: the window's Sound routine (the engine's) adds the points of the
// scored names and then asks the window to play, which is this class.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/Audio.h"

// Samples in handle-slot order.
inline constexpr std::array<const char*, 21> SampleNames = {"congrat.wav",
                                                            "applause3.wav",
                                                            "BEEPSPAC.wav",
                                                            "chime.wav",
                                                            "spaced.wav",
                                                            "claps.wav",
                                                            "drag.wav",
                                                            "drop.wav",
                                                            "explosion.wav",
                                                            "fanfare_x.wav",
                                                            "Crystal_Whoosh_01.wav",
                                                            "R2.wav",
                                                            "ring.wav",
                                                            "scream_x.wav",
                                                            "shuffle.wav",
                                                            "success.wav",
                                                            "thunder_x.wav",
                                                            "ufo_x.wav",
                                                            "undo.wav",
                                                            "waste.wav",
                                                            "deal.wav"};
// Music, in handle slots 30 .. 32.
inline constexpr std::array<const char*, 3> StreamNames = {"blub.mp3", "New-5848.mp3", "xmas.mp3"};
inline constexpr int kFirstStreamSlot = 30;

// The start-up music of a day: "xmas.mp3" from 20 to 31 December, else "blub.mp3".
std::string StartMusicName(int month, int day);

class TSoundSystem {
 public:
  using TTraceFn = std::function<void(const std::string&)>;

  // The sample player plays (false: each sound from its file).
  bool SoundViaBass = false;
  // 0 .. 20 samples, 30 .. 32 streams; 0 where nothing loaded.
  std::array<uint32_t, 33> SoundHandles{};
  // The channel UseBass started last.
  HCHANNEL LastChannel = 0;
  TAudio Audio;

  TSoundSystem() = default;
  ~TSoundSystem();
  TSoundSystem(const TSoundSystem&) = delete;
  TSoundSystem& operator=(const TSoundSystem&) = delete;

  // Called on any thread when the device goes to rest; the window lets go of the decoded samples
  // then (ReleaseIdle, on its own thread). Set before the set-up.
  std::function<void()> OnIdle;

  // Opens the device and loads the sounds from soundsDir. The first sound that does not load
  // ends the loading and leaves the file player in charge (no music).
  void SetUp(const std::string& soundsDir, const TTraceFn& trace);
  // Lets go of the device's form of the samples that no longer play.
  void ReleaseIdle();
  // The same on a thread of its own: opening a device (or finding none) and decoding the sounds
  // takes a while, and the window need not wait for it. done is called on that thread at the end.
  // Play, Stream and SoundStop wait for it; everything else reads the settings after FinishSetUp.
  void SetUpInBackground(const std::string& soundsDir, std::function<void()> done);
  // Waits for a set-up in the background, then hands its trace lines to trace (once).
  void FinishSetUp(const TTraceFn& trace);
  // A set-up in the background has not been finished with FinishSetUp.
  bool SettingUp() const { return FSettingUp; }

  // Plays a sound by name (any case) with the chosen back end. Modes: 1 play and go on, 2 play
  // and wait until it ends, 3 loop, 4 play after the previous sound, 5 wait ms, then play.
  void Play(const std::string& Name, int Mode, int Milliseconds);
  // The sample player's part of Play; an unknown name does nothing.
  void UseBass(const std::string& Name, int Mode, int Milliseconds);
  // The file player's part of Play.
  void UseFile(const std::string& Name, int Mode, int Milliseconds);
  // Plays a music stream (NoLoop 1: once; anything else: looped); only with the sample player.
  // A stream already playing plays on.
  void Stream(const std::string& Name, int NoLoop);
  // Stops one sound by name with the sample player (IsStream: the stream, else every playback of
  // the sample); with the file player whatever plays.
  void SoundStop(const std::string& Name, bool IsStream);

 private:
  // Waits for the set-up thread.
  void Join();
  std::string FSoundsDir;
  std::thread FSetUpThread;
  bool FSettingUp = false;
  std::vector<std::string> FSetUpTrace;
};
