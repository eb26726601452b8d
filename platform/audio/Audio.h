#pragma once
// Sound output over SDL2_mixer, in two forms:
//
// - Samples, channels and streams. A sample is a sound loaded once; each playback of it runs on a
//   channel got from the sample, at most MaxPlaybacks at a time: asking for one more takes over the
//   playback that has run longest. A stream is a longer sound (music) that is its own channel.
//   Channels are set (volume, loop) before they play and can be asked whether they still play.
//   Handles are non-zero; 0 means failure. A handle of a playback that was taken over is stale:
//   every call on it fails or answers "stopped".
// - Playing a file by name on one channel of its own, as a desktop's simple sound call does:
//   play and go on, play and wait, loop, play unless something plays, and stop all.
//
// Without an audio device everything is silent: Init answers false, loads fail, PlayFile answers
// false at once and no call ever waits. Every wait is bounded by the length of what plays.
//
// A load only checks that the file is there and that a decoder takes it; the sound is decoded when
// it first plays (or when Prepare asks for it ahead). A stream keeps its decoded sound. A sample
// keeps the file's bytes, as recorded (a mono file stays mono), and makes the device's form of it
// for its playbacks, let go again by ReleaseIdle once none of them plays; the samples the device
// plays are those a decode of the file at load time gave.
//
// The device rests (paused: no mixing, no callback) whenever nothing plays, and wakes for the next
// playback; once ReleaseIdle has been called its thread sleeps too.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using HSAMPLE = uint32_t;
using HSTREAM = uint32_t;  // a stream is also a channel
using HCHANNEL = uint32_t;

// Flags of PlayFile.
constexpr unsigned SND_SYNC = 0x0000;
constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_LOOP = 0x0008;
constexpr unsigned SND_NOSTOP = 0x0010;
constexpr unsigned SND_FILENAME = 0x20000;

class TAudio {
 public:
  TAudio() = default;
  ~TAudio();
  TAudio(const TAudio&) = delete;
  TAudio& operator=(const TAudio&) = delete;

  // Opens the default output device at this rate (stereo, 16 bit). False without a device.
  bool Init(int frequency = 44100);
  bool Ready() const { return FOpen; }
  // Stops everything, frees every sample and stream and closes the device.
  void Free();

  // Loads a sound file (WAVE, MP3, ...) whose playbacks override the longest-running one beyond
  // maxPlaybacks. 0 when the device is closed or the file is missing or unreadable.
  HSAMPLE SampleLoad(const std::string& file, int maxPlaybacks);
  HSTREAM StreamCreateFile(const std::string& file);
  // Decodes a sample's or stream's sound now rather than when it first plays. False when it
  // cannot be decoded.
  bool Prepare(uint32_t handle);
  // Lets go of the device's form of every sample none of whose playbacks plays (the file's bytes
  // stay); with nothing playing, the device's thread also sleeps until the next playback. Called on
  // the thread that plays the sounds.
  void ReleaseIdle();
  // Called when the device goes to rest (nothing plays any more), on the audio thread or on the
  // thread that stopped the last sound; it must not call back into this object.
  void SetOnIdle(std::function<void()> onIdle);
  // The device rests.
  bool DevicePaused() const;
  // Bytes held for the sound of a sample or stream: the file's bytes kept and its decoded form.
  size_t HeldBytes(uint32_t handle) const;
  // The decoded sound a sample or stream plays (its device form, decoded now if need be).
  std::vector<uint8_t> DecodedData(uint32_t handle);
  // A channel for one playback of the sample, not yet playing (volume 100, no loop).
  HCHANNEL SampleGetChannel(HSAMPLE sample);
  // Volume in percent, 0 .. 100.
  bool ChannelSetVolume(HCHANNEL channel, float percent);
  bool ChannelSetLoop(HCHANNEL channel, bool loop);
  bool ChannelLoops(HCHANNEL channel) const;
  // Starts the channel from the beginning unless it plays already (then, with restart, it starts
  // over).
  bool ChannelPlay(HCHANNEL channel, bool restart);
  // 1 while the channel plays, 0 once it stopped or ended (and for stale or unknown handles).
  int ChannelIsActive(HCHANNEL channel) const;
  bool ChannelStop(HCHANNEL channel);
  // Stops every playback of the sample.
  bool SampleStop(HSAMPLE sample);
  // Length of one pass of the channel's or sample's sound in milliseconds (0 when unknown).
  int LengthMs(uint32_t handle);

  // Plays the file at path (flags above; SND_FILENAME is implied). Another file playing is
  // stopped first (also when this one cannot play), except with SND_NOSTOP, which then fails. SND_SYNC
  // returns when the sound has ended (bounded by its length). False when nothing could be played. A
  // nullptr/empty path stops whatever plays.
  bool PlayFile(const std::string& path, unsigned flags);
  void StopFile();
  // The file channel plays.
  bool FilePlaying() const;

  // Waits (on the program's clock, a few ms at a time) until the channel has stopped, at most
  // its remaining length plus a margin; a looping channel is not waited for.
  void WaitWhileActive(HCHANNEL channel);

 private:
  struct TSound;
  struct TSlot {
    int Mixer = -1;          // the mixer channel
    HCHANNEL Handle = 0;     // the playback that holds it
    uint64_t StartedMs = 0;  // when it last started playing
    bool Loop = false;
    int Volume = 128;
  };
  struct TSound {
    std::string Path;
    std::vector<uint8_t> Encoded;  // a sample's file, read at its first playback
    void* Chunk = nullptr;         // Mix_Chunk: the device's form
    bool Stream = false;
    int MaxPlaybacks = 1;
    std::vector<TSlot> Slots;
  };
  struct TRef {
    uint32_t Sound = 0;
    int Slot = 0;
  };

  uint32_t NewHandle();
  void* LoadChunk(const std::string& file) const;
  // A decoder takes the file.
  bool Decodable(const std::string& file) const;
  // The sound's device form, made if need be; nullptr when it cannot be decoded.
  void* Decoded(TSound& sound);
  TSound* FindSound(uint32_t handle);
  // Starts a mixer channel on a chunk and wakes the device; false when the mixer refuses.
  bool StartChannel(int mixer, void* chunk, bool loop);
  // Lets the device's thread run again after ReleaseIdle put it to sleep.
  void Wake();
  int ChunkLengthMs(const void* chunk) const;
  const TSlot* SlotOf(HCHANNEL channel) const;
  TSlot* SlotOf(HCHANNEL channel);
  const TSound* SoundOf(HCHANNEL channel) const;
  TSound* SoundOf(HCHANNEL channel);
  uint32_t Add(const std::string& file, bool stream, int maxPlaybacks);

  bool FOpen = false;
  uint32_t FDevice = 0;  // the SDL audio device the mixer opened
  bool FHeld = false;    // this thread holds the device's lock: its thread sleeps
  int FFrequency = 44100;
  int FChannels = 2;
  uint16_t FFormat = 0;
  int FMixerChannels = 1;  // channel 0 is the file channel
  uint32_t FNext = 0;
  std::map<uint32_t, TSound> FSounds;   // by sample or stream handle
  std::map<HCHANNEL, TRef> FPlaybacks;  // live channel handles
  std::map<std::string, void*> FFiles;  // chunks of PlayFile, by path
  uint64_t FFileStartedMs = 0;
};
