#include "platform/core/Files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

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
    std::vector<uint8_t> data = ReadFileBytes(from);
    WriteFileAtomic(to, std::string(data.begin(), data.end()));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

static std::vector<std::string> ListEntries(const std::string& path, bool wantDirs) {
  std::vector<std::string> out;
  std::string dir = ResolvePath(path);
  DIR* h = ::opendir(dir.c_str());
  if (!h) return out;
  while (dirent* e = ::readdir(h)) {
    if (e->d_name[0] == '.') continue;
    std::string full = PathJoin(dir, e->d_name);
    struct stat st;
    if (::stat(full.c_str(), &st) != 0) continue;
    if (wantDirs ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode)) out.push_back(e->d_name);
  }
  ::closedir(h);
  return out;
}

std::vector<std::string> ListSubfolders(const std::string& path) {
  return ListEntries(path, true);
}
std::vector<std::string> ListFiles(const std::string& path) {
  return ListEntries(path, false);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::string p = ResolvePath(path);
  FILE* f = std::fopen(p.c_str(), "rb");
  if (!f || IsDir(p)) {
    if (f) std::fclose(f);
    throw EFileError("Cannot open file \"" + path + "\"");
  }
  std::vector<uint8_t> data;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
  bool bad = std::ferror(f);
  std::fclose(f);
  if (bad) throw EFileError("Cannot read file \"" + path + "\"");
  return data;
}

std::string ReadFileText(const std::string& path) {
  std::vector<uint8_t> d = ReadFileBytes(path);
  return std::string(d.begin(), d.end());
}

void WriteFileAtomic(const std::string& path, const std::string& data) {
  std::string target = ResolvePath(path);
  std::string dir = ExtractFileDir(target);
  static std::mt19937 rng{std::random_device{}()};
  std::string tmp = PathJoin(dir.empty() ? "." : dir,
                             "." + ExtractFileName(target) + ".tmp" + std::to_string(rng() % 1000000));
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) throw EFileError("Cannot create file \"" + path + "\": " + std::strerror(errno));
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || ::rename(tmp.c_str(), target.c_str()) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    throw EFileError("Cannot write file \"" + path + "\": " + std::strerror(err));
  }
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
