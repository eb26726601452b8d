// The sound layer on SDL's dummy output (which plays in real time): the playbacks a sample allows
// and which one a further playback takes over, looping and stopping, streams, the file channel's
// four ways of playing, silence without a file (the window's tests take the device away), the
// device resting while nothing plays, and sounds decoded when first played into the samples a
// decode at load time gives.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/audio/Audio.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace {

class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteToneWav(Dir / "short.wav", 60);
    WriteToneWav(Dir / "Long.wav", 400);
    ASSERT_TRUE(Audio.Init(44100)) << "the dummy audio driver should open";
  }

  // A playback of the sample, started.
  HCHANNEL Start(HSAMPLE sample) {
    const HCHANNEL c = Audio.SampleGetChannel(sample);
    EXPECT_NE(c, 0u);
    EXPECT_TRUE(Audio.ChannelPlay(c, false));
    return c;
  }

  TTempDir Dir;
  TAudio Audio;
};

TEST_F(AudioTest, SampleAllowsItsPlaybacksAndAFurtherOneTakesOverTheLongestRunning) {
  struct TCase {
    int Max;
    int Started;
  };
  for (const TCase c : {TCase{3, 3}, TCase{3, 4}, TCase{3, 6}, TCase{1, 2}}) {
    SCOPED_TRACE(testing::Message() << "max " << c.Max << ", started " << c.Started);
    const HSAMPLE s = Audio.SampleLoad(Dir / "Long.wav", c.Max);
    ASSERT_NE(s, 0u);
    std::vector<HCHANNEL> channels;
    for (int i = 0; i < c.Started; ++i) {
      channels.push_back(Start(s));
      Sleep(5);  // each later than the one before
    }
    // The last Max playbacks play; every earlier one was taken over and is stale.
    for (int i = 0; i < c.Started; ++i) {
      const bool live = i >= c.Started - c.Max;
      EXPECT_EQ(Audio.ChannelIsActive(channels[size_t(i)]), live ? 1 : 0) << "playback " << i;
      EXPECT_EQ(Audio.ChannelSetVolume(channels[size_t(i)], 50.0f), live) << "playback " << i;
    }
    Audio.SampleStop(s);
    for (HCHANNEL ch : channels) EXPECT_EQ(Audio.ChannelIsActive(ch), 0);
  }
}

TEST_F(AudioTest, EndedPlaybackLeavesItsPlaceFreeAndWaitingEndsWithTheSound) {
  const HSAMPLE s = Audio.SampleLoad(Dir / "short.wav", 3);
  ASSERT_NE(s, 0u);
  EXPECT_NEAR(Audio.LengthMs(s), 60, 2);
  const HCHANNEL a = Start(s);
  const uint64_t t0 = Clock().NowMs();
  Audio.WaitWhileActive(a);
  const uint64_t waited = Clock().NowMs() - t0;
  EXPECT_EQ(Audio.ChannelIsActive(a), 0);
  EXPECT_GE(waited, 40u);
  EXPECT_LT(waited, 60u + 250u + 100u);
  // The ended playback's place is taken before any running one's.
  const HCHANNEL b = Start(Audio.SampleLoad(Dir / "Long.wav", 2));
  const HCHANNEL c = Start(s);
  EXPECT_EQ(Audio.ChannelIsActive(b), 1);
  EXPECT_EQ(Audio.ChannelIsActive(c), 1);
}

TEST_F(AudioTest, LoopPlaysOnUntilStoppedAndIsNotWaitedFor) {
  const HSAMPLE s = Audio.SampleLoad(Dir / "short.wav", 3);
  const HCHANNEL loop = Audio.SampleGetChannel(s);
  ASSERT_TRUE(Audio.ChannelSetLoop(loop, true));
  EXPECT_TRUE(Audio.ChannelLoops(loop));
  ASSERT_TRUE(Audio.ChannelPlay(loop, false));
  const uint64_t t0 = Clock().NowMs();
  Audio.WaitWhileActive(loop);
  EXPECT_LT(Clock().NowMs() - t0, 2000u);  // a wait for a loop would never end
  Sleep(200);                              // more than three passes
  EXPECT_EQ(Audio.ChannelIsActive(loop), 1);
  const HCHANNEL once = Start(s);
  EXPECT_TRUE(Audio.ChannelStop(loop));
  EXPECT_EQ(Audio.ChannelIsActive(loop), 0);
  EXPECT_EQ(Audio.ChannelIsActive(once), 1);
}

TEST_F(AudioTest, StreamIsItsOwnChannelAndPlayingItAgainDoesNotRestartIt) {
  const HSTREAM m = Audio.StreamCreateFile(Dir / "Long.wav");
  ASSERT_NE(m, 0u);
  EXPECT_EQ(Audio.SampleGetChannel(m), 0u);  // not a sample
  EXPECT_TRUE(Audio.ChannelSetVolume(m, 40.0f));
  EXPECT_TRUE(Audio.ChannelSetLoop(m, false));
  ASSERT_TRUE(Audio.ChannelPlay(m, false));
  Sleep(250);
  EXPECT_TRUE(Audio.ChannelPlay(m, false));  // still the first pass: it ends within 400 ms
  Audio.WaitWhileActive(m);
  EXPECT_EQ(Audio.ChannelIsActive(m), 0);
  ASSERT_TRUE(Audio.ChannelPlay(m, false));  // ended: starts from the beginning
  EXPECT_EQ(Audio.ChannelIsActive(m), 1);
  EXPECT_TRUE(Audio.ChannelStop(m));
  EXPECT_EQ(Audio.ChannelIsActive(m), 0);
}

TEST_F(AudioTest, FileChannelPlaysOneFileAtATime) {
  const std::string longer = Dir / "long.WAV";  // found whatever its case
  EXPECT_TRUE(Audio.PlayFile(longer, SND_FILENAME | SND_ASYNC));
  EXPECT_TRUE(Audio.FilePlaying());
  // Something plays: "no stop" fails, a plain play replaces it.
  EXPECT_FALSE(Audio.PlayFile(Dir / "short.wav", SND_FILENAME | SND_ASYNC | SND_NOSTOP));
  const uint64_t t0 = Clock().NowMs();
  EXPECT_TRUE(Audio.PlayFile(Dir / "short.wav", SND_FILENAME | SND_SYNC));
  const uint64_t waited = Clock().NowMs() - t0;
  EXPECT_FALSE(Audio.FilePlaying());
  EXPECT_GE(waited, 40u);
  EXPECT_LT(waited, 300u);
  EXPECT_TRUE(Audio.PlayFile(Dir / "short.wav", SND_FILENAME | SND_ASYNC | SND_NOSTOP));
  // A loop goes on past its length until everything is stopped.
  EXPECT_TRUE(Audio.PlayFile(Dir / "short.wav", SND_FILENAME | SND_ASYNC | SND_LOOP));
  Sleep(200);
  EXPECT_TRUE(Audio.FilePlaying());
  EXPECT_TRUE(Audio.PlayFile("", SND_ASYNC));
  EXPECT_FALSE(Audio.FilePlaying());
}

TEST_F(AudioTest, MissingOrUnreadableFilesAreSilentFailures) {
  WriteTextFile(Dir / "noise.wav", "not a sound at all");
  for (const std::string name : {"absent.wav", "noise.wav"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Audio.SampleLoad(Dir / name, 3), 0u);
    EXPECT_EQ(Audio.StreamCreateFile(Dir / name), 0u);
    const uint64_t t0 = Clock().NowMs();
    EXPECT_FALSE(Audio.PlayFile(Dir / name, SND_FILENAME | SND_SYNC));
    EXPECT_LT(Clock().NowMs() - t0, 2000u);  // bounded: a hang, not a slow machine
  }
  // Calls on no handle fail quietly.
  EXPECT_EQ(Audio.SampleGetChannel(0), 0u);
  EXPECT_FALSE(Audio.ChannelPlay(0, false));
  EXPECT_EQ(Audio.ChannelIsActive(0), 0);
  EXPECT_FALSE(Audio.ChannelStop(12345));
  EXPECT_FALSE(Audio.SampleStop(0));
}

// While something plays the device mixes; once the last playback has ended or been stopped it
// rests (no mixing, no callback), and the next playback of any kind wakes it.
TEST_F(AudioTest, TheDeviceRestsWhileNothingPlaysAndWakesForTheNextSound) {
  EXPECT_TRUE(Audio.DevicePaused()) << "opened with nothing to play";
  int rests = 0;
  Audio.SetOnIdle([&] { ++rests; });
  const HSAMPLE s = Audio.SampleLoad(Dir / "short.wav", 3);
  const HCHANNEL a = Start(s);
  EXPECT_FALSE(Audio.DevicePaused());
  Audio.WaitWhileActive(a);
  ASSERT_EQ(Audio.ChannelIsActive(a), 0);
  // The ending and the rest happen in one step of the mixer: seen ended, it rests.
  EXPECT_TRUE(Audio.DevicePaused()) << "nothing plays after the sound ended";
  EXPECT_EQ(rests, 1);

  // Two playbacks: stopping one leaves the device mixing the other; stopping that one rests it.
  const HCHANNEL b = Start(Audio.SampleLoad(Dir / "Long.wav", 2));
  const HCHANNEL c = Start(s);
  EXPECT_FALSE(Audio.DevicePaused());
  Audio.ChannelStop(b);
  EXPECT_FALSE(Audio.DevicePaused()) << "one sound still plays";
  Audio.ChannelStop(c);
  EXPECT_TRUE(Audio.DevicePaused());

  // A loop keeps it mixing until stopped; the file channel wakes it like any other.
  const HCHANNEL loop = Audio.SampleGetChannel(s);
  Audio.ChannelSetLoop(loop, true);
  ASSERT_TRUE(Audio.ChannelPlay(loop, false));
  Sleep(150);  // more than two passes
  EXPECT_FALSE(Audio.DevicePaused());
  Audio.ChannelStop(loop);
  EXPECT_TRUE(Audio.DevicePaused());
  EXPECT_TRUE(Audio.PlayFile(Dir / "short.wav", SND_FILENAME | SND_SYNC));
  EXPECT_TRUE(Audio.DevicePaused());
  ASSERT_TRUE(Audio.PlayFile(Dir / "short.wav", SND_FILENAME | SND_ASYNC));
  EXPECT_FALSE(Audio.DevicePaused());
  Audio.StopFile();
  EXPECT_TRUE(Audio.DevicePaused());

  // Put to sleep at rest, the device's thread wakes for the next sound and mixes it to its end.
  Audio.ReleaseIdle();
  const HCHANNEL late = Start(s);
  EXPECT_FALSE(Audio.DevicePaused());
  const uint64_t t0 = Clock().NowMs();
  Audio.WaitWhileActive(late);
  EXPECT_EQ(Audio.ChannelIsActive(late), 0) << "the sound was mixed";
  EXPECT_GE(Clock().NowMs() - t0, 40u);
  EXPECT_TRUE(Audio.DevicePaused());
  // Asleep again, the device closes.
  Audio.ReleaseIdle();
  Audio.Free();
  EXPECT_FALSE(Audio.Ready());
}

// A load decodes nothing. A sample keeps its file's bytes once it has played (a mono file stays
// mono) and makes the device's form of them for its playbacks, let go when none plays; a stream
// keeps its decoded sound. What plays is, byte for byte, what a decode of the file gives.
TEST_F(AudioTest, SoundsAreDecodedWhenFirstPlayedIntoTheSamplesOfTheirFile) {
  const std::string file = Dir / "short.wav";
  Mix_Chunk* loaded = Mix_LoadWAV(file.c_str());
  ASSERT_NE(loaded, nullptr);
  const std::vector<uint8_t> expected(loaded->abuf, loaded->abuf + loaded->alen);
  Mix_FreeChunk(loaded);
  const size_t fileBytes = ReadFileBytes(file).size();
  ASSERT_GT(expected.size(), fileBytes) << "the device's form is stereo, the file mono";

  const HSAMPLE s = Audio.SampleLoad(file, 3);
  const HSTREAM m = Audio.StreamCreateFile(file);
  ASSERT_NE(s, 0u);
  ASSERT_NE(m, 0u);
  EXPECT_EQ(Audio.HeldBytes(s), 0u);
  EXPECT_EQ(Audio.HeldBytes(m), 0u);

  const HCHANNEL a = Start(s);
  EXPECT_EQ(Audio.DecodedData(a), expected);
  EXPECT_EQ(Audio.HeldBytes(s), fileBytes + expected.size());
  Audio.ReleaseIdle();
  EXPECT_EQ(Audio.HeldBytes(s), fileBytes + expected.size()) << "it still plays";
  Audio.WaitWhileActive(a);
  Audio.ReleaseIdle();
  EXPECT_EQ(Audio.HeldBytes(s), fileBytes);
  // Played again from the bytes kept: the same samples.
  const HCHANNEL b = Start(s);
  EXPECT_EQ(Audio.DecodedData(b), expected);

  // The stream, decoded ahead, keeps its sound.
  ASSERT_TRUE(Audio.Prepare(m));
  EXPECT_EQ(Audio.HeldBytes(m), expected.size());
  Audio.ReleaseIdle();
  EXPECT_EQ(Audio.HeldBytes(m), expected.size());
  EXPECT_EQ(Audio.DecodedData(m), expected);
  EXPECT_EQ(Audio.LengthMs(m), 60);
}

}  // namespace
