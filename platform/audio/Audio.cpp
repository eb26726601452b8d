#include "platform/audio/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

#include "platform/core/Clock.h"
#include "platform/core/Files.h"

namespace {

// Added to every bounded wait: the device's buffer may hold the sound a little past its length.
constexpr int kWaitMarginMs = 250;
// How long a waiting loop sleeps between looks.
constexpr int kPollMs = 2;
// The channel of PlayFile.
constexpr int kFileChannel = 0;

Mix_Chunk* Chunk(void* p) {
  return static_cast<Mix_Chunk*>(p);
}

// SDL numbers its open devices from 1; the mixer opens one of them and keeps it to itself.
constexpr SDL_AudioDeviceID kMaxDeviceId = 64;

// The device the mixer plays on, shared by every TAudio of the process (the mixer has one device),
// and whom to tell when it goes to rest.
SDL_AudioDeviceID gDevice = 0;
int gOpenCount = 0;
std::function<void()> gOnIdle;

std::vector<bool> OpenDevices() {
  std::vector<bool> open(kMaxDeviceId + 1, false);
  for (SDL_AudioDeviceID id = 1; id <= kMaxDeviceId; ++id)
    open[id] = SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED;
  return open;
}

// A playback ended or was stopped (the mixer holds its lock): with nothing left playing the device
// rests until the next playback wakes it. A stopped channel is told of before it stops counting as
// playing; one that ended has stopped counting already.
void ChannelFinished(int channel) {
  if (gDevice == 0 || Mix_Playing(-1) - Mix_Playing(channel) > 0) return;
  SDL_PauseAudioDevice(gDevice, 1);
  if (gOnIdle) gOnIdle();
}

}  // namespace

TAudio::~TAudio() {
  Free();
}

bool TAudio::Init(int frequency) {
  if (FOpen) return true;
  // The program answers SIGTERM and SIGINT itself (it ends as its Quit command would); the audio
  // library would otherwise take them over and swallow them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  const std::vector<bool> before = OpenDevices();
  if (Mix_OpenAudio(frequency, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  if (gOpenCount++ == 0) {
    const std::vector<bool> after = OpenDevices();
    gDevice = 0;
    for (SDL_AudioDeviceID id = 1; id <= kMaxDeviceId && gDevice == 0; ++id)
      if (after[id] && !before[id]) gDevice = id;
    Mix_ChannelFinished(ChannelFinished);
  }
  FDevice = gDevice;
  // Nothing plays yet.
  if (FDevice) SDL_PauseAudioDevice(FDevice, 1);
  int freq = frequency, channels = 2;
  Uint16 format = MIX_DEFAULT_FORMAT;
  if (Mix_QuerySpec(&freq, &format, &channels) != 0) {
    FFrequency = freq;
    FFormat = format;
    FChannels = channels;
  }
  FMixerChannels = 1;
  Mix_AllocateChannels(FMixerChannels);
  FOpen = true;
  return true;
}

void TAudio::Free() {
  if (!FOpen) return;
  // The device's thread must run to end.
  Wake();
  SetOnIdle(nullptr);
  Mix_HaltChannel(-1);
  for (auto& [handle, sound] : FSounds)
    if (sound.Chunk) Mix_FreeChunk(Chunk(sound.Chunk));
  for (auto& [path, chunk] : FFiles) Mix_FreeChunk(Chunk(chunk));
  FSounds.clear();
  FPlaybacks.clear();
  FFiles.clear();
  if (--gOpenCount == 0) {
    Mix_ChannelFinished(nullptr);
    gDevice = 0;
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  FOpen = false;
  FDevice = 0;
}

void TAudio::SetOnIdle(std::function<void()> onIdle) {
  if (!FOpen || !FDevice) return;
  // Not while the audio thread may be telling of a rest.
  SDL_LockAudioDevice(FDevice);
  gOnIdle = std::move(onIdle);
  SDL_UnlockAudioDevice(FDevice);
}

bool TAudio::DevicePaused() const {
  return FOpen && FDevice && SDL_GetAudioDeviceStatus(FDevice) == SDL_AUDIO_PAUSED;
}

bool TAudio::StartChannel(int mixer, void* chunk, bool loop) {
  // Started and woken in one step: the playback cannot end (and put the device to rest) in between.
  if (FDevice) SDL_LockAudioDevice(FDevice);
  const bool started = Mix_PlayChannel(mixer, Chunk(chunk), loop ? -1 : 0) >= 0;
  if (started && FDevice) SDL_PauseAudioDevice(FDevice, 0);
  if (FDevice) SDL_UnlockAudioDevice(FDevice);
  if (started) Wake();
  return started;
}

void TAudio::Wake() {
  if (!FHeld) return;
  FHeld = false;
  SDL_UnlockAudioDevice(FDevice);
}

uint32_t TAudio::NewHandle() {
  if (++FNext == 0) ++FNext;
  return FNext;
}

void* TAudio::LoadChunk(const std::string& file) const {
  if (!FOpen) return nullptr;
  const std::string path = ResolvePath(file);
  if (!FileExists(path)) return nullptr;
  return Mix_LoadWAV(path.c_str());
}

int TAudio::ChunkLengthMs(const void* chunk) const {
  if (!chunk) return 0;
  const Uint16 format = FFormat ? FFormat : Uint16(MIX_DEFAULT_FORMAT);
  const int bytesPerFrame = FChannels * int(SDL_AUDIO_BITSIZE(format) / 8);
  if (bytesPerFrame <= 0 || FFrequency <= 0) return 0;
  const uint64_t frames = static_cast<const Mix_Chunk*>(chunk)->alen / uint64_t(bytesPerFrame);
  return int(frames * 1000 / uint64_t(FFrequency));
}

bool TAudio::Decodable(const std::string& file) const {
  if (!FOpen) return false;
  const std::string path = ResolvePath(file);
  if (!FileExists(path)) return false;
  // A decoder picked by the content, as a load picks it, reads the file's header but not its sound.
  SDL_RWops* bytes = SDL_RWFromFile(path.c_str(), "rb");
  Mix_Music* music = bytes ? Mix_LoadMUS_RW(bytes, 1) : nullptr;
  if (!music) return false;
  Mix_FreeMusic(music);
  return true;
}

void* TAudio::Decoded(TSound& sound) {
  if (sound.Chunk || !FOpen) return sound.Chunk;
  if (sound.Stream) {
    sound.Chunk = LoadChunk(sound.Path);
    return sound.Chunk;
  }
  if (sound.Encoded.empty()) {
    try {
      sound.Encoded = ReadFileBytes(ResolvePath(sound.Path));
    } catch (const std::exception&) {
      return nullptr;
    }
  }
  // The same decoder as a load from the file, over its bytes.
  SDL_RWops* bytes = SDL_RWFromConstMem(sound.Encoded.data(), int(sound.Encoded.size()));
  sound.Chunk = bytes ? Mix_LoadWAV_RW(bytes, 1) : nullptr;
  return sound.Chunk;
}

TAudio::TSound* TAudio::FindSound(uint32_t handle) {
  auto it = FSounds.find(handle);
  return it == FSounds.end() ? nullptr : &it->second;
}

bool TAudio::Prepare(uint32_t handle) {
  TSound* sound = FindSound(handle);
  return sound && Decoded(*sound);
}

void TAudio::ReleaseIdle() {
  if (!FOpen) return;
  // A paused device still wakes its thread for every buffer it would have played; held by this
  // thread, the device's lock keeps it asleep until the next playback.
  if (FDevice && !FHeld && Mix_Playing(-1) == 0) {
    SDL_LockAudioDevice(FDevice);
    FHeld = true;
  }
  for (auto& [handle, sound] : FSounds) {
    if (sound.Stream || !sound.Chunk) continue;
    const bool playing = std::any_of(sound.Slots.begin(), sound.Slots.end(),
                                     [](const TSlot& s) { return s.Handle != 0 && Mix_Playing(s.Mixer); });
    if (playing) continue;
    Mix_FreeChunk(Chunk(sound.Chunk));
    sound.Chunk = nullptr;
  }
}

size_t TAudio::HeldBytes(uint32_t handle) const {
  auto it = FSounds.find(handle);
  if (it == FSounds.end()) return 0;
  const TSound& sound = it->second;
  return sound.Encoded.size() + (sound.Chunk ? size_t(static_cast<const Mix_Chunk*>(sound.Chunk)->alen) : 0);
}

std::vector<uint8_t> TAudio::DecodedData(uint32_t handle) {
  TSound* sound = FindSound(handle);
  if (!sound) {
    auto p = FPlaybacks.find(handle);
    if (p != FPlaybacks.end()) sound = FindSound(p->second.Sound);
  }
  const Mix_Chunk* chunk = sound ? Chunk(Decoded(*sound)) : nullptr;
  if (!chunk) return {};
  return std::vector<uint8_t>(chunk->abuf, chunk->abuf + chunk->alen);
}

uint32_t TAudio::Add(const std::string& file, bool stream, int maxPlaybacks) {
  if (!Decodable(file)) return 0;
  TSound sound;
  sound.Path = file;
  sound.Stream = stream;
  sound.MaxPlaybacks = std::max(1, maxPlaybacks);
  for (int i = 0; i < sound.MaxPlaybacks; ++i) {
    TSlot slot;
    slot.Mixer = FMixerChannels++;
    sound.Slots.push_back(slot);
  }
  Mix_AllocateChannels(FMixerChannels);
  const uint32_t handle = NewHandle();
  if (stream) {
    // A stream is its own channel, for good.
    sound.Slots[0].Handle = handle;
    FPlaybacks[handle] = TRef{handle, 0};
  }
  FSounds.emplace(handle, std::move(sound));
  return handle;
}

HSAMPLE TAudio::SampleLoad(const std::string& file, int maxPlaybacks) {
  return Add(file, false, maxPlaybacks);
}

HSTREAM TAudio::StreamCreateFile(const std::string& file) {
  return Add(file, true, 1);
}

HCHANNEL TAudio::SampleGetChannel(HSAMPLE sample) {
  auto it = FSounds.find(sample);
  if (it == FSounds.end() || it->second.Stream) return 0;
  TSound& sound = it->second;
  // A slot that is free or whose playback has ended; else the one that has played longest.
  int pick = -1;
  for (int i = 0; i < int(sound.Slots.size()); ++i) {
    const TSlot& s = sound.Slots[size_t(i)];
    if (s.Handle == 0 || !Mix_Playing(s.Mixer)) {
      pick = i;
      break;
    }
  }
  if (pick < 0) {
    pick = 0;
    for (int i = 1; i < int(sound.Slots.size()); ++i)
      if (sound.Slots[size_t(i)].StartedMs < sound.Slots[size_t(pick)].StartedMs) pick = i;
  }
  TSlot& slot = sound.Slots[size_t(pick)];
  Mix_HaltChannel(slot.Mixer);
  if (slot.Handle) FPlaybacks.erase(slot.Handle);
  slot.Handle = NewHandle();
  slot.Loop = false;
  slot.Volume = MIX_MAX_VOLUME;
  slot.StartedMs = 0;
  FPlaybacks[slot.Handle] = TRef{sample, pick};
  return slot.Handle;
}

TAudio::TSlot* TAudio::SlotOf(HCHANNEL channel) {
  auto p = FPlaybacks.find(channel);
  if (p == FPlaybacks.end()) return nullptr;
  auto s = FSounds.find(p->second.Sound);
  if (s == FSounds.end()) return nullptr;
  return &s->second.Slots[size_t(p->second.Slot)];
}

const TAudio::TSlot* TAudio::SlotOf(HCHANNEL channel) const {
  return const_cast<TAudio*>(this)->SlotOf(channel);
}

TAudio::TSound* TAudio::SoundOf(HCHANNEL channel) {
  auto p = FPlaybacks.find(channel);
  return p == FPlaybacks.end() ? nullptr : FindSound(p->second.Sound);
}

const TAudio::TSound* TAudio::SoundOf(HCHANNEL channel) const {
  return const_cast<TAudio*>(this)->SoundOf(channel);
}

bool TAudio::ChannelSetVolume(HCHANNEL channel, float percent) {
  TSlot* slot = SlotOf(channel);
  if (!slot) return false;
  const float p = std::clamp(percent, 0.0f, 100.0f);
  slot->Volume = int(std::lround(p * MIX_MAX_VOLUME / 100.0f));
  Mix_Volume(slot->Mixer, slot->Volume);
  return true;
}

bool TAudio::ChannelSetLoop(HCHANNEL channel, bool loop) {
  TSlot* slot = SlotOf(channel);
  if (!slot) return false;
  slot->Loop = loop;
  return true;
}

bool TAudio::ChannelLoops(HCHANNEL channel) const {
  const TSlot* slot = SlotOf(channel);
  return slot && slot->Loop;
}

bool TAudio::ChannelPlay(HCHANNEL channel, bool restart) {
  TSlot* slot = SlotOf(channel);
  TSound* sound = SoundOf(channel);
  if (!slot || !sound) return false;
  if (Mix_Playing(slot->Mixer)) {
    if (!restart) return true;
    Mix_HaltChannel(slot->Mixer);
  }
  void* chunk = Decoded(*sound);
  if (!chunk) return false;
  Mix_Volume(slot->Mixer, slot->Volume);
  if (!StartChannel(slot->Mixer, chunk, slot->Loop)) return false;
  slot->StartedMs = Clock().NowMs();
  return true;
}

int TAudio::ChannelIsActive(HCHANNEL channel) const {
  const TSlot* slot = SlotOf(channel);
  return slot && Mix_Playing(slot->Mixer) ? 1 : 0;
}

bool TAudio::ChannelStop(HCHANNEL channel) {
  TSlot* slot = SlotOf(channel);
  if (!slot) return false;
  Mix_HaltChannel(slot->Mixer);
  return true;
}

bool TAudio::SampleStop(HSAMPLE sample) {
  auto it = FSounds.find(sample);
  if (it == FSounds.end()) return false;
  for (const TSlot& s : it->second.Slots) Mix_HaltChannel(s.Mixer);
  return true;
}

int TAudio::LengthMs(uint32_t handle) {
  TSound* sound = FindSound(handle);
  if (!sound) sound = SoundOf(handle);
  if (!sound) return 0;
  if (sound->Chunk) return ChunkLengthMs(sound->Chunk);
  // Decoded for the length alone: let go again unless it plays.
  const int ms = ChunkLengthMs(Decoded(*sound));
  if (!sound->Stream) ReleaseIdle();
  return ms;
}

void TAudio::WaitWhileActive(HCHANNEL channel) {
  const TSlot* slot = SlotOf(channel);
  if (!slot || slot->Loop || !ChannelIsActive(channel)) return;
  const uint64_t until = slot->StartedMs + uint64_t(LengthMs(channel)) + kWaitMarginMs;
  while (ChannelIsActive(channel) && Clock().NowMs() < until) Sleep(kPollMs);
}

// -----------------------------------------------------------------------------------------------
// The file channel

bool TAudio::FilePlaying() const {
  return FOpen && Mix_Playing(kFileChannel);
}

void TAudio::StopFile() {
  if (FOpen) Mix_HaltChannel(kFileChannel);
}

bool TAudio::PlayFile(const std::string& path, unsigned flags) {
  if (path.empty()) {
    StopFile();
    return true;
  }
  if (!FOpen) return false;
  if ((flags & SND_NOSTOP) && FilePlaying()) return false;
  // A new sound replaces the one playing, even when its own file fails.
  Mix_HaltChannel(kFileChannel);
  void* chunk = nullptr;
  const std::string resolved = ResolvePath(path);
  auto it = FFiles.find(resolved);
  if (it != FFiles.end()) {
    chunk = it->second;
  } else {
    chunk = LoadChunk(resolved);
    if (!chunk) return false;
    FFiles.emplace(resolved, chunk);
  }
  Mix_Volume(kFileChannel, MIX_MAX_VOLUME);
  const bool loop = (flags & SND_LOOP) && (flags & SND_ASYNC);
  if (!StartChannel(kFileChannel, chunk, loop)) return false;
  FFileStartedMs = Clock().NowMs();
  if (!(flags & SND_ASYNC)) {
    const uint64_t until = FFileStartedMs + uint64_t(ChunkLengthMs(chunk)) + kWaitMarginMs;
    while (Mix_Playing(kFileChannel) && Clock().NowMs() < until) Sleep(kPollMs);
  }
  return true;
}
