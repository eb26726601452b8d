// The sounds the build synthesises into the program folder's Sounds/: every name the game plays,
// each one decodable and as short as the place it plays in needs (the deal waits for the shuffle,
// a win for its fanfare).
#include <gtest/gtest.h>

#include <string>

#include "platform/audio/Audio.h"
#include "platform/core/Files.h"
#include "tests/support/TestUtil.h"

namespace {

struct TSoundFile {
  const char* Name;
  int MinMs, MaxMs;
};

// In the order of the game's sample and stream tables.
constexpr TSoundFile kSounds[] = {
    {"congrat.wav", 300, 3000},
    {"applause3.wav", 300, 2000},
    {"BEEPSPAC.wav", 50, 500},
    {"chime.wav", 100, 1000},
    {"spaced.wav", 100, 1500},
    {"claps.wav", 50, 600},
    {"drag.wav", 10, 150},
    {"drop.wav", 10, 150},
    {"explosion.wav", 300, 3000},
    {"fanfare_x.wav", 300, 3000},
    {"Crystal_Whoosh_01.wav", 500, 3000},
    {"R2.wav", 100, 1000},
    {"ring.wav", 100, 1000},
    {"scream_x.wav", 100, 1000},
    {"shuffle.wav", 100, 1000},
    {"success.wav", 50, 500},
    {"thunder_x.wav", 300, 3000},
    {"ufo_x.wav", 100, 1500},
    {"undo.wav", 30, 300},
    {"waste.wav", 50, 600},
    {"deal.wav", 100, 1000},
    {"blub.mp3", 10000, 30000},
    {"New-5848.mp3", 10000, 30000},
    {"xmas.mp3", 10000, 30000},
};

TEST(Sounds, EveryGameSoundIsThereDecodesAndFitsWhereItPlays) {
  TAudio audio;
  ASSERT_TRUE(audio.Init(44100));
  const std::string dir = PathJoin(BuiltProgramDir(), "Sounds");
  for (const TSoundFile& s : kSounds) {
    SCOPED_TRACE(s.Name);
    const std::string path = PathJoin(dir, s.Name);
    // The exact spelling is on disk (the game also finds it in another case).
    ASSERT_EQ(ResolvePath(path), path);
    ASSERT_TRUE(FileExists(path));
    const HSAMPLE h = audio.SampleLoad(path, 3);
    ASSERT_NE(h, 0u);
    const int ms = audio.LengthMs(h);
    EXPECT_GE(ms, s.MinMs);
    EXPECT_LE(ms, s.MaxMs);
  }
}

}  // namespace
