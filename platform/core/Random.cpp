#include "platform/core/Random.h"

#include <chrono>

TRandom& ProgramRandom() {
  static TRandom r;
  return r;
}

void Randomize() {
  using namespace std::chrono;
  auto t = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  ProgramRandom().Seed = uint32_t(t);
}
