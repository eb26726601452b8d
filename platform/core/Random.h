#pragma once
// The programs' pseudo-random generator: a 32-bit seed advanced as seed * 134775813 + 1
// (mod 2^32) before every draw; a draw over N is the upper 32 bits of seed * N, so 0..N-1,
// and a draw over 0 gives 0 but still advances the seed. Saved games replay from a seed,
// so this sequence must never change.

#include <cstdint>

struct TRandom {
  uint32_t Seed = 0;

  constexpr TRandom() = default;
  constexpr explicit TRandom(uint32_t seed) : Seed(seed) {}

  // 0..N-1 (0 when N is 0 or negative).
  constexpr int Random(int n) {
    Seed = Seed * 134775813u + 1u;
    if (n <= 0) return 0;
    return int((uint64_t(Seed) * uint32_t(n)) >> 32);
  }
  // 0 <= x < 1, from the same sequence.
  double RandomFloat() {
    Seed = Seed * 134775813u + 1u;
    return double(Seed) / 4294967296.0;
  }
};

// The program-wide generator (RandSeed of the original programs). Effects draw from it;
// the deal keeps its own generator so that effects never disturb a replay.
TRandom& ProgramRandom();
// Seeds the program-wide generator from the clock (done once at start).
void Randomize();
