#include "platform/core/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/Text.h"

namespace {

bool IsDir(const std::string& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

std::vector<std::string> SplitComponents(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '/' || c == '\\') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  return parts;
}

// The entry of dir whose name matches name ignoring case; exact matches win.
std::string MatchEntry(const std::string& dir, const std::string& name) {
  const std::string d = dir.empty() ? "." : dir;
  if (Exists(dir.empty() ? name : (dir == "/" ? "/" + name : dir + "/" + name))) return name;
  DIR* h = ::opendir(d.c_str());
  if (!h) return {};
  std::string found;
  while (dirent* e = ::readdir(h)) {
    if (SameText(e->d_name, name)) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(h);
  return found;
}

std::string g_programDirOverride;

}  // namespace

std::string ResolvePath(const std::string& path) {
  if (path.empty()) return path;
  const bool absolute = path[0] == '/' || path[0] == '\\';
  std::string result = absolute ? "/" : "";
  bool resolving = true;
  for (const auto& part : SplitComponents(path)) {
    std::string name = part;
    if (resolving && part != "." && part != "..") {
      std::string m = MatchEntry(result, part);
      if (m.empty())
        resolving = false;  // the rest does not exist; keep the spelling given
      else
        name = m;
    }
    if (result.empty())
      result = name;
    else if (result == "/")
      result += name;
    else
      result += "/" + name;
  }
  if (result.empty()) result = ".";
  return result;
}

std::string PathJoin(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  std::string l = a;
  while (l.size() > 1 && (l.back() == '/' || l.back() == '\\')) l.pop_back();
  size_t s = 0;
  while (s < b.size() && (b[s] == '/' || b[s] == '\\')) ++s;
  if (l == "/") return "/" + b.substr(s);
  return l + "/" + b.substr(s);
}

std::string ExcludeTrailingSeparator(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  return p;
}

std::string ExtractFileDir(const std::string& path) {
  size_t i = path.find_last_of("/\\");
  if (i == std::string::npos) return {};
  if (i == 0) return "/";
  return path.substr(0, i);
}

std::string ExtractFileName(const std::string& path) {
  size_t i = path.find_last_of("/\\");
  return i == std::string::npos ? path : path.substr(i + 1);
}

std::string ExtractFileExt(const std::string& path) {
  std::string name = ExtractFileName(path);
  size_t i = name.rfind('.');
  return i == std::string::npos ? std::string() : name.substr(i);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  std::string name = ExtractFileName(path);
  size_t i = name.rfind('.');
  std::string base = path.substr(0, path.size() - name.size());
  return base + (i == std::string::npos ? name : name.substr(0, i)) + ext;
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  struct stat st;
  return ::stat(ResolvePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  if (path.empty()) return false;
  return IsDir(ResolvePath(path));
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::string p = ResolvePath(ExcludeTrailingSeparator(path));
  if (IsDir(p)) return true;
  std::string parent = ExtractFileDir(p);
  if (!parent.empty() && parent != p && !IsDir(parent) && !ForceDirectories(parent)) return false;
  return ::mkdir(p.c_str(), 0777) == 0 || IsDir(p);
}

bool DeleteFile(const std::string& path) {
  return ::unlink(ResolvePath(path).c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  return ::rename(ResolvePath(from).c_str(), ResolvePath(to).c_str()) == 0;
}

bool CopyFile(const std::string& from, const std::string& to) {
  try {
    // Any file of ours may be copied (the data folder's move copies pictures too).
    std::vector<uint8_t> data = ReadFileBytes(from, TFileKind::Picture);
    WriteFileAtomic(to, std::string(data.begin(), data.end()));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

static std::vector<std::string> ListEntries(const std::string& path, bool wantDirs, bool withDotNames) {
  std::vector<std::string> out;
  std::string dir = ResolvePath(path);
  DIR* h = ::opendir(dir.c_str());
  if (!h) return out;
  while (dirent* e = ::readdir(h)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == ".." || (name[0] == '.' && !withDotNames)) continue;
    std::string full = PathJoin(dir, e->d_name);
    struct stat st;
    if (::stat(full.c_str(), &st) != 0) continue;
    if (wantDirs ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode)) out.push_back(e->d_name);
  }
  ::closedir(h);
  return out;
}

std::vector<std::string> ListSubfolders(const std::string& path, bool withDotNames) {
  return ListEntries(path, true, withDotNames);
}
std::vector<std::string> ListFiles(const std::string& path, bool withDotNames) {
  return ListEntries(path, false, withDotNames);
}

uint64_t MaxFileSize(TFileKind kind) {
  constexpr uint64_t MiB = 1024 * 1024;
  switch (kind) {
    case TFileKind::Settings:
      return 4 * MiB;
    case TFileKind::Picture:
      return 160 * MiB;
    case TFileKind::CardPicture:
      return 16 * MiB;
    case TFileKind::SourcePicture:
      return 1024 * MiB;
    case TFileKind::Text:
      break;
  }
  return 16 * MiB;
}

namespace {

constexpr uint64_t kGrowthAllowed = 64 * 1024;

std::string MiBText(uint64_t bytes) {
  return std::to_string(bytes / (1024 * 1024)) + " MiB";
}

// Closes a descriptor when it goes out of scope.
struct TFd {
  int fd = -1;
  ~TFd() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path, TFileKind kind) {
  const std::string p = ResolvePath(path);
  const uint64_t cap = MaxFileSize(kind);
  auto fail = [&path](const std::string& why) -> EFileError {
    return EFileError("Cannot open file \"" + path + "\": " + why);
  };
  // The type is checked before the file is opened (opening some devices does something) and again
  // on the open descriptor; the open never waits (a FIFO with no writer would block it).
  struct stat st;
  if (::stat(p.c_str(), &st) != 0) throw fail(std::strerror(errno));
  if (!S_ISREG(st.st_mode)) throw fail("not a regular file");
  TFd f;
  f.fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (f.fd < 0) throw fail(std::strerror(errno));
  if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode)) throw fail("not a regular file");
  if (uint64_t(st.st_size) > cap) throw fail("larger than " + MiBText(cap));
  // A file may grow a little while it is read (a log being written); one that goes on far beyond
  // its size is refused, and so are the files of pseudo file systems (size 0, endless or huge
  // contents: /proc/self/pagemap, say).
  const uint64_t limit = std::min<uint64_t>(cap, uint64_t(st.st_size) + kGrowthAllowed);
  std::vector<uint8_t> data;
  data.reserve(size_t(st.st_size));
  uint8_t buf[65536];
  for (;;) {
    const ssize_t n = ::read(f.fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EFileError("Cannot read file \"" + path + "\": " + std::strerror(errno));
    }
    if (n == 0) break;
    if (data.size() + size_t(n) > limit)
      throw fail(limit == cap ? "larger than " + MiBText(cap) : std::string("it grows while it is read"));
    data.insert(data.end(), buf, buf + n);
  }
  return data;
}

std::string ReadFileText(const std::string& path, TFileKind kind) {
  std::vector<uint8_t> d = ReadFileBytes(path, kind);
  return std::string(d.begin(), d.end());
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  return ReadFileBytes(path, TFileKind::Text);
}

std::string ReadFileText(const std::string& path) {
  return ReadFileText(path, TFileKind::Text);
}

bool ProcessGone(long pid) {
  if (pid <= 0 || pid == long(::getpid())) return false;  // a write of this process may be under way
  return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

bool AllDigits(const std::string& s) {
  return !s.empty() && s.size() <= 10 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

TAtomicWriteProbe g_atomicWriteProbe = nullptr;

void Probe(const char* step, const std::string& temporary) {
  if (g_atomicWriteProbe) g_atomicWriteProbe(step, temporary);
}

// The file a path finally names, through any chain of symbolic links (a relative link counts from
// its own folder). A dangling link names its missing destination, which the write then creates.
std::string FollowLinks(const std::string& path, const std::string& shown) {
  std::string p = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    char buf[4096];
    const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf);
    if (n <= 0 || size_t(n) >= sizeof buf) return p;
    const std::string link(buf, size_t(n));
    const std::string dir = ExtractFileDir(p);
    p = link[0] == '/' ? link : PathJoin(dir.empty() ? "." : dir, link);
  }
  throw EFileError("Cannot write file \"" + shown + "\": " + std::strerror(ELOOP));
}

// The start of every temporary name WriteFileAtomic uses for a target named name.
std::string TemporaryPrefix(const std::string& name) {
  return "." + name + ".tmp";
}

// A temporary of ours whose writer is gone: the writer's process id and six letters, or the
// digits-only form earlier versions used.
bool IsStaleTemporary(const std::string& entry, const std::string& prefix) {
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string rest = entry.substr(prefix.size());
  const size_t dash = rest.find('-');
  const std::string digits = rest.substr(0, dash);
  if (!AllDigits(digits)) return false;
  if (dash == std::string::npos) return true;
  if (rest.size() != dash + 7) return false;
  return ProcessGone(std::stol(digits));
}

// Any file's temporary whose writer is gone: ".<name>.tmp<process>-<six letters>".
bool IsStaleTemporaryOfAnyFile(const std::string& entry) {
  const size_t tmp = entry.rfind(".tmp");
  if (entry.size() < 2 || entry[0] != '.' || tmp == std::string::npos || tmp < 2) return false;
  const std::string rest = entry.substr(tmp + 4);
  const size_t dash = rest.find('-');
  if (dash == std::string::npos || rest.size() != dash + 7 || !AllDigits(rest.substr(0, dash))) return false;
  return ProcessGone(std::stol(rest.substr(0, dash)));
}

void RemoveStaleTemporariesOf(const std::string& dir, const std::string& name) {
  const std::string prefix = TemporaryPrefix(name);
  DIR* h = ::opendir(dir.c_str());
  if (!h) return;
  std::vector<std::string> stale;
  while (dirent* e = ::readdir(h))
    if (IsStaleTemporary(e->d_name, prefix)) stale.push_back(e->d_name);
  ::closedir(h);
  for (const std::string& s : stale) ::unlink(PathJoin(dir, s).c_str());
}

TDurableCalls g_durable;

int SyncCall(int fd) {
  return g_durable.Sync ? g_durable.Sync(fd) : ::fsync(fd);
}
int RenameCall(const char* from, const char* to) {
  return g_durable.Rename ? g_durable.Rename(from, to) : ::rename(from, to);
}

}  // namespace

void SyncFolder(const std::string& path) {
  TFd d;
  d.fd = ::open(ResolvePath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (d.fd >= 0) SyncCall(d.fd);  // some file systems cannot; what was done stays done either way
}

TDurableCalls SetDurableCallsForTesting(TDurableCalls calls) {
  return std::exchange(g_durable, calls);
}

int RemoveStaleTemporaries(const std::string& folder, int depth) {
  const std::string dir = ResolvePath(folder);
  int removed = 0;
  for (const std::string& name : ListFiles(dir, true))
    if (IsStaleTemporaryOfAnyFile(name) && ::unlink(PathJoin(dir, name).c_str()) == 0) ++removed;
  if (depth > 0)
    for (const std::string& sub : ListSubfolders(dir, true)) {
      struct stat st;
      const std::string path = PathJoin(dir, sub);
      if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        removed += RemoveStaleTemporaries(path, depth - 1);
    }
  return removed;
}

bool RemoveStalePartFile(const std::string& path) {
  const std::string p = ResolvePath(path);
  struct stat st;
  if (::lstat(p.c_str(), &st) != 0) return true;
  if (!S_ISREG(st.st_mode)) return false;
  TFd f;
  f.fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
  if (f.fd < 0) return false;
  // A download under way holds the lock; one that was cut short holds nothing.
  if (::flock(f.fd, LOCK_EX | LOCK_NB) != 0) return false;
  return ::unlink(p.c_str()) == 0;
}

void SetAtomicWriteProbeForTesting(TAtomicWriteProbe probe) {
  g_atomicWriteProbe = probe;
}

void WriteFileAtomic(const std::string& path, const std::string& data) {
  const std::string target = FollowLinks(ResolvePath(path), path);
  const std::string dirPart = ExtractFileDir(target);
  const std::string dir = dirPart.empty() ? "." : dirPart;
  const std::string name = ExtractFileName(target);
  auto fail = [&path](const std::string& what, int err) {
    return EFileError("Cannot " + what + " file \"" + path + "\": " + std::strerror(err));
  };

  struct stat old;
  const bool replacing = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

  static thread_local std::mt19937 rng{std::random_device{}() ^ uint32_t(::getpid())};
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const std::string base = PathJoin(dir, TemporaryPrefix(name) + std::to_string(::getpid()) + "-");
  std::string tmp;
  TFd f;
  for (int attempt = 0; attempt < 100 && f.fd < 0; ++attempt) {
    tmp = base;
    for (int i = 0; i < 6; ++i) tmp += kLetters[rng() % 36];
    Probe("open", tmp);
    f.fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (f.fd < 0 && errno != EEXIST) throw fail("create", errno);
  }
  if (f.fd < 0) throw fail("create", EEXIST);

  auto abandon = [&](const std::string& what, int err) {
    ::close(f.fd);
    f.fd = -1;
    ::unlink(tmp.c_str());
    return fail(what, err);
  };
  if (replacing) {
    // The new file takes the old one's permissions and, where we may, its owner.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      const int ignored = ::fchown(f.fd, old.st_uid, old.st_gid);  // only the owner or root may
      (void)ignored;
    }
    if (::fchmod(f.fd, old.st_mode & 07777) != 0) throw abandon("write", errno);
  }
  Probe("write", tmp);
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(f.fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw abandon("write", errno);
    }
    p += n;
    left -= size_t(n);
  }
  Probe("sync", tmp);
  if (SyncCall(f.fd) != 0) throw abandon("write", errno);
  const int fd = f.fd;
  f.fd = -1;
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    throw fail("write", err);
  }
  Probe("rename", tmp);
  if (RenameCall(tmp.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    throw fail("write", err);
  }
  SyncFolder(dir);
  RemoveStaleTemporariesOf(dir, name);
}

std::string SetFileAside(const std::string& path, const std::string& suffix) {
  const std::string from = ResolvePath(path);
  for (int n = 1; n <= 99; ++n) {
    const std::string to = ResolvePath(from + suffix + (n == 1 ? std::string() : std::to_string(n)));
    if (Exists(to)) continue;
    // Renaming without replacing: a set-aside copy is never overwritten, even by a racing writer.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return to;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) return {};
    // A file system that cannot rename without replacing: a new hard link then the old name goes.
    if (::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      return to;
    }
    if (errno == EEXIST) continue;
    return {};
  }
  return {};
}

std::string ProgramDir() {
  if (!g_programDirOverride.empty()) return g_programDirOverride;
  static const std::string dir = [] {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string(".");
    buf[n] = 0;
    return ExtractFileDir(buf);
  }();
  return dir;
}

void SetProgramDirForTesting(const std::string& dir) {
  g_programDirOverride = ExcludeTrailingSeparator(dir);
}

std::string GetCurrentDir() {
  char buf[4096];
  if (!::getcwd(buf, sizeof buf)) return ".";
  return buf;
}

bool SetCurrentDir(const std::string& dir) {
  return ::chdir(ResolvePath(dir).c_str()) == 0;
}

std::string GetEnv(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  return v ? v : "";
}
