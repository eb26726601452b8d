#pragma once
// The one clock every wait and timing read goes through: monotonic milliseconds, never the
// time of day. Tests install a virtual clock so animations and paced deals run instantly.

#include <cstdint>

class TClock {
 public:
  virtual ~TClock() = default;
  // Milliseconds since an arbitrary start; never goes backwards.
  virtual uint64_t NowMs() = 0;
  // The same clock in microseconds, for measuring (as fine as the clock is).
  virtual uint64_t NowUs() { return NowMs() * 1000; }
  // Waits at least ms milliseconds (0 yields).
  virtual void Sleep(int ms) = 0;
};

// The real monotonic clock.
class TSystemClock : public TClock {
 public:
  uint64_t NowMs() override;
  uint64_t NowUs() override;
  void Sleep(int ms) override;
};

// Time moves only when someone sleeps or calls Advance.
class TVirtualClock : public TClock {
 public:
  uint64_t NowMs() override { return Now; }
  void Sleep(int ms) override {
    if (ms > 0) Now += uint64_t(ms);
    ++Sleeps;
    SleptMs += ms > 0 ? uint64_t(ms) : 0;
  }
  void Advance(int ms) { Now += uint64_t(ms); }
  uint64_t Now = 1000;
  uint64_t Sleeps = 0;
  uint64_t SleptMs = 0;
};

// The clock in force; the system clock unless one was installed.
TClock& Clock();
// Installs a clock (not owned); nullptr restores the system clock.
void SetClock(TClock* clock);

inline uint64_t GetTickCount() {
  return Clock().NowMs();
}
inline void Sleep(int ms) {
  Clock().Sleep(ms);
}

// Installs a clock for the lifetime of a scope.
class TScopedClock {
 public:
  explicit TScopedClock(TClock& c) { SetClock(&c); }
  ~TScopedClock() { SetClock(nullptr); }
  TScopedClock(const TScopedClock&) = delete;
  TScopedClock& operator=(const TScopedClock&) = delete;
};
