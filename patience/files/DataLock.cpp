#include "patience/files/DataLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "patience/files/PlayerSearch.h"
#include "patience/files/Trace.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/ui/Dialogs.h"

namespace {

// The lock of this process: the locked folders and how many holders share them.
struct TProcessLock {
  std::vector<int> Fds;
  int Holders = 0;
};

TProcessLock& Lock() {
  static TProcessLock lock;
  return lock;
}

TDataLockWaitHook& WaitHook() {
  static TDataLockWaitHook hook;
  return hook;
}

int& WaitMs() {
  static int ms = kDataLockWaitMs;
  return ms;
}

// The folder a place lies in, or the nearest one above it that exists.
std::string ExistingFolderAbove(const std::string& place) {
  std::string folder = ExtractFileDir(ExcludeTrailingSeparator(place));
  while (!folder.empty() && !DirectoryExists(folder)) {
    const std::string up = ExtractFileDir(folder);
    if (up == folder) return {};
    folder = up;
  }
  return folder;
}

struct TLockTarget {
  int Fd = -1;
  dev_t Dev = 0;
  ino_t Ino = 0;
  std::string Path;
};

// The folders to lock, opened, each once however often it is named, in one order for every
// process (by device and inode), so that two processes never wait for each other's second lock.
std::vector<TLockTarget> OpenTargets() {
  std::vector<std::string> paths;
  if (!PlaceFolder(1).empty()) paths.push_back(PlaceFolder(1));
  for (int location : {2, 3})
    if (!PlaceFolder(location).empty()) paths.push_back(ExistingFolderAbove(PlaceFolder(location)));
  std::vector<TLockTarget> targets;
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
      if (fd >= 0) ::close(fd);
      ::Trace("Data lock: cannot open " + path);
      continue;
    }
    const bool seen = std::any_of(targets.begin(), targets.end(), [&](const TLockTarget& t) {
      return t.Dev == st.st_dev && t.Ino == st.st_ino;
    });
    if (seen) {
      ::close(fd);
      continue;
    }
    targets.push_back({fd, st.st_dev, st.st_ino, path});
  }
  std::sort(targets.begin(), targets.end(), [](const TLockTarget& a, const TLockTarget& b) {
    return std::pair(a.Dev, a.Ino) < std::pair(b.Dev, b.Ino);
  });
  return targets;
}

void CloseAll(std::vector<int>& fds) {
  for (int fd : fds) ::close(fd);  // closing drops the lock
  fds.clear();
}

}  // namespace

TDataLock::~TDataLock() {
  if (!FHeld) return;
  TProcessLock& lock = Lock();
  if (--lock.Holders == 0) CloseAll(lock.Fds);
}

bool TDataLock::Take() {
  if (FHeld) return true;
  TProcessLock& lock = Lock();
  if (lock.Holders > 0) {
    ++lock.Holders;
    return FHeld = true;
  }
  TSystemClock clock;
  const uint64_t start = clock.NowMs();
  bool waiting = false;
  const std::vector<TLockTarget> targets = OpenTargets();
  for (const TLockTarget& target : targets) lock.Fds.push_back(target.Fd);
  for (const TLockTarget& target : targets) {
    while (::flock(target.Fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK) {
        // A file system without locks (some network ones): this folder goes unlocked.
        ::Trace("Data lock: " + target.Path + " cannot be locked: " + std::strerror(errno));
        break;
      }
      if (!waiting) {
        waiting = true;
        ::Trace("Data lock: waiting for another Patience or Deckwright");
        if (WaitHook()) WaitHook()();
      }
      if (clock.NowMs() - start >= uint64_t(std::max(WaitMs(), 0))) {
        CloseAll(lock.Fds);
        ::Trace("Data lock: still held by another process; nothing done");
        Beep();
        MessageBox(kDataFolderBusy, "Notification.", MB_OK);
        return false;
      }
      clock.Sleep(20);
    }
  }
  lock.Holders = 1;
  return FHeld = true;
}

TDataLockWaitHook SetDataLockWaitHookForTesting(TDataLockWaitHook hook) {
  return std::exchange(WaitHook(), std::move(hook));
}

int SetDataLockWaitForTesting(int ms) {
  return std::exchange(WaitMs(), ms);
}
