#pragma once
// One start-up step or one data-folder move at a time.
//
// The start-up step of either program (a move that a stopped run left finished or taken back,
// "Player.dat" searched and read, the move it decides) and Options > Change Save Data Location run
// while holding the data lock: an exclusive lock on the program folder and on the folders the
// documents and the local application data places lie in (where one of those is missing, the
// nearest folder above it that exists). Every place a move can read or write is below one of
// them, so a second start, or a second program, waits until the first is done, and then finds the
// data complete in one place. The system drops the lock of a process that ends, however it ends
// (kill -9 too), so a run that was stopped part way never keeps the others out; whoever gets the
// lock next settles the move it left. Holders nested in one process share one lock.

#include <functional>

// How long a start or a move waits for another one before it gives up: longer than a move of
// many saved games takes on a busy machine, short enough for a holder that hangs (or a first-run
// question left open) not to keep a start waiting unseen for long.
inline constexpr int kDataLockWaitMs = 120000;

inline constexpr const char* kDataFolderBusy =
    "Another Patience or Deckwright is setting up or moving the data folder. Try again when it has "
    "finished.";

class TDataLock {
 public:
  TDataLock() = default;
  ~TDataLock();
  TDataLock(const TDataLock&) = delete;
  TDataLock& operator=(const TDataLock&) = delete;

  // Waits for the lock up to kDataLockWaitMs; true when it is held. When another process keeps it
  // all that time the player is told (kDataFolderBusy) and the result is false. The wait is for
  // another process, so it runs on the system's clock even where a test installed a virtual one.
  bool Take();
  bool Held() const { return FHeld; }

 private:
  bool FHeld = false;
};

// Tests: called each time a wait for the lock begins because another process holds it. An empty
// hook brings the plain wait back; returns the hook it replaced.
using TDataLockWaitHook = std::function<void()>;
TDataLockWaitHook SetDataLockWaitHookForTesting(TDataLockWaitHook hook);
// Tests: how long Take waits (kDataLockWaitMs by default); returns the time it replaced.
int SetDataLockWaitForTesting(int ms);
