#include "cardtable/SystemDirs.h"

#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/core/Text.h"

#ifndef PATIENCE_INSTALL_PREFIX
#define PATIENCE_INSTALL_PREFIX "/usr/local"
#endif

std::string MyDocumentsDir;
std::string DesktopDir;
std::string AppDataDir;
std::string CommonDesktopDir;
std::string LocalAppDataDir;
std::string ProgramFilesDir;
std::string MyPicturesDir;

namespace {

// A folder is usable when it exists or can be made (its parent exists).
std::string Usable(const std::string& dir) {
  if (dir.empty() || dir[0] != '/') return {};
  std::string d = ExcludeTrailingSeparator(dir);
  if (DirectoryExists(d)) return d;
  const std::string parent = ExtractFileDir(d);
  return DirectoryExists(parent) ? d : std::string();
}

// XDG_<key>_DIR from user-dirs.dirs, with $HOME expanded; empty when absent.
std::string UserDir(const std::string& key) {
  const std::string home = GetEnv("HOME");
  std::string config = GetEnv("XDG_CONFIG_HOME");
  if (config.empty()) config = PathJoin(home, ".config");
  TStringList l;
  if (!l.TryLoadFromFile(PathJoin(config, "user-dirs.dirs"))) return {};
  const std::string prefix = "XDG_" + key + "_DIR=";
  for (const auto& raw : l.Lines) {
    std::string line = Trim(raw);
    if (line.rfind(prefix, 0) != 0) continue;
    std::string v = line.substr(prefix.size());
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    if (v.rfind("$HOME", 0) == 0) v = home + v.substr(5);
    if (v.empty() || v[0] != '/') return {};
    // A folder set to home itself means "not set" in this scheme.
    if (ExcludeTrailingSeparator(v) == ExcludeTrailingSeparator(home)) return {};
    return v;
  }
  return {};
}

std::string FromEnvOr(const char* var, const std::string& fallback) {
  std::string v = GetEnv(var);
  return (!v.empty() && v[0] == '/') ? v : fallback;
}

}  // namespace

std::string SpecialFolderPath(int csidl) {
  const std::string home = GetEnv("HOME");
  auto userDir = [&](const char* key, const char* fallback) {
    std::string d = UserDir(key);
    if (d.empty() && !home.empty()) d = PathJoin(home, fallback);
    return Usable(d);
  };
  switch (csidl) {
    case CSIDL_PERSONAL:
      return userDir("DOCUMENTS", "Documents");
    case CSIDL_DESKTOPDIRECTORY:
      return userDir("DESKTOP", "Desktop");
    case CSIDL_MYPICTURES:
      return userDir("PICTURES", "Pictures");
    case CSIDL_APPDATA:
      return Usable(FromEnvOr("XDG_CONFIG_HOME", home.empty() ? "" : PathJoin(home, ".config")));
    case CSIDL_LOCAL_APPDATA:
      return Usable(FromEnvOr("XDG_DATA_HOME", home.empty() ? "" : PathJoin(home, ".local/share")));
    case CSIDL_PROGRAM_FILES:
      return Usable(PATIENCE_INSTALL_PREFIX);
    default:
      return {};
  }
}

void InitSystemDirs() {
  MyDocumentsDir = SpecialFolderPath(CSIDL_PERSONAL);
  DesktopDir = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
  AppDataDir = SpecialFolderPath(CSIDL_APPDATA);
  CommonDesktopDir = SpecialFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY);
  LocalAppDataDir = SpecialFolderPath(CSIDL_LOCAL_APPDATA);
  ProgramFilesDir = SpecialFolderPath(CSIDL_PROGRAM_FILES);
  MyPicturesDir = SpecialFolderPath(CSIDL_MYPICTURES);
}

void DoneSystemDirs() {
  MyDocumentsDir.clear();
  DesktopDir.clear();
  AppDataDir.clear();
  CommonDesktopDir.clear();
  LocalAppDataDir.clear();
  ProgramFilesDir.clear();
  MyPicturesDir.clear();
}
