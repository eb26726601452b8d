#pragma once
// Another process holding the data lock (a start or a move under way elsewhere) for as long as a
// test wants: made once the process holds it, gone once it has let it go.

#include <sys/wait.h>
#include <unistd.h>

#include "patience/files/DataLock.h"

class TDataLockHolder {
 public:
  TDataLockHolder() {
    int held[2], go[2];
    if (::pipe(held) != 0 || ::pipe(go) != 0) return;
    FPid = ::fork();
    if (FPid == 0) {
      ::close(held[0]);
      ::close(go[1]);
      TDataLock lock;
      char ch = lock.Take() ? 'h' : 'n';
      if (::write(held[1], &ch, 1) != 1 || ::read(go[0], &ch, 1) < 0) ::_exit(1);
      ::_exit(0);
    }
    ::close(held[1]);
    ::close(go[0]);
    FGo = go[1];
    char ch = 0;
    FHeld = ::read(held[0], &ch, 1) == 1 && ch == 'h';
    ::close(held[0]);
  }
  ~TDataLockHolder() { Release(); }
  TDataLockHolder(const TDataLockHolder&) = delete;
  TDataLockHolder& operator=(const TDataLockHolder&) = delete;

  bool Held() const { return FHeld; }
  // Lets the lock go and waits for the process to end.
  void Release() {
    if (FPid <= 0) return;
    ::close(FGo);  // the holder reads the end of the pipe
    ::waitpid(FPid, nullptr, 0);
    FPid = -1;
  }

 private:
  pid_t FPid = -1;
  int FGo = -1;
  bool FHeld = false;
};
