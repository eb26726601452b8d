#include "platform/core/Clock.h"

#include <chrono>
#include <thread>

uint64_t TSystemClock::NowMs() {
  using namespace std::chrono;
  return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint64_t TSystemClock::NowUs() {
  using namespace std::chrono;
  return uint64_t(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void TSystemClock::Sleep(int ms) {
  if (ms <= 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
TSystemClock g_system;
TClock* g_clock = &g_system;
}  // namespace

TClock& Clock() {
  return *g_clock;
}
void SetClock(TClock* clock) {
  g_clock = clock ? clock : &g_system;
}
