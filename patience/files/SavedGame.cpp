#include "patience/files/SavedGame.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "patience/files/Trace.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

namespace {

bool ParseNumber(const std::string& line, long long min, long long max, long long& value) {
  const std::string s = Trim(line);
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || end == s.c_str() || *end != '\0' || v < min || v > max) return false;
  value = v;
  return true;
}

}  // namespace

std::string SaveGamesFolder(const std::string& dataDir) {
  return PathJoin(dataDir, kSaveGamesFolder);
}

std::optional<uint32_t> ParseSeed(const std::string& line) {
  long long v = 0;
  if (!ParseNumber(line, -2147483648LL, 4294967295LL, v)) return std::nullopt;
  return uint32_t(v < 0 ? v + 4294967296LL : v);
}

std::optional<TSavedGame> CheckSavedGame(const TStringList& lines,
                                         const std::function<bool(const std::string&)>& knownGame,
                                         std::string& error) {
  if (lines.Count() < 3) {
    error = "the file ends before the game's name, seed and state";
    return std::nullopt;
  }
  if (knownGame && !knownGame(lines[0])) {
    error = "there is no game \"" + lines[0] + "\"";
    return std::nullopt;
  }
  const std::optional<uint32_t> seed = ParseSeed(lines[1]);
  if (!seed) {
    error = "line 2 is no seed";
    return std::nullopt;
  }
  if ((lines.Count() - 3) % 4 != 0) {
    error = "the last move is cut short";
    return std::nullopt;
  }
  for (int k = 3; k < lines.Count(); ++k) {
    long long v = 0;
    const bool kindLine = (k - 3) % 4 == 0;
    if (!ParseNumber(lines[k], kindLine ? 0 : INT32_MIN, kindLine ? 7 : INT32_MAX, v)) {
      error = "line " + IntToStr(k + 1) + " is no move";
      return std::nullopt;
    }
  }
  TSavedGame game;
  game.Lines = lines;
  game.Seed = *seed;
  game.Closed = lines[2] == "0";
  return game;
}

std::optional<TSavedGame> ReadSavedGame(const std::string& path,
                                        const std::function<bool(const std::string&)>& knownGame,
                                        std::string& error) {
  const std::string resolved = ResolvePath(path);
  struct stat st {};
  if (::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "the file cannot be found";
    return std::nullopt;
  }
  if (std::uintmax_t(st.st_size) > kMaxSavedGameBytes) {
    error = "the file is far too large for a saved game";
    return std::nullopt;
  }
  TStringList lines;
  if (!lines.TryLoadFromFile(resolved)) {
    error = "the file cannot be read";
    return std::nullopt;
  }
  return CheckSavedGame(lines, knownGame, error);
}

bool WriteSavedGame(const std::string& path, const TStringList& history, std::string& error) {
  try {
    history.SaveToFile(path);
    return true;
  } catch (const Exception& e) {
    error = e.Message();
    Trace("Saving " + path + " failed: " + error);
    return false;
  }
}

void CloseGameFile(const std::string& path) {
  if (path.empty() || !FileExists(path)) return;
  TStringList lines;
  if (!lines.TryLoadFromFile(path) || lines.Count() < 3 || lines[2] == "0") return;
  lines[2] = "0";
  if (!lines.TrySaveToFile(path)) Trace("Could not mark " + path + " closed");
}

namespace {

// Folders linked into themselves end the descent at this depth.
constexpr int kMaxFolderDepth = 32;

int DeleteSavedGamesIn(const std::string& folder, int depth) {
  int deleted = 0;
  for (const std::string& name : ListFiles(folder))
    if (SameText(ExtractFileExt(name), ".ppg") && DeleteFile(PathJoin(folder, name))) ++deleted;
  if (depth < kMaxFolderDepth)
    for (const std::string& sub : ListSubfolders(folder))
      deleted += DeleteSavedGamesIn(PathJoin(folder, sub), depth + 1);
  return deleted;
}

}  // namespace

int DeleteSavedGames(const std::string& folder) {
  return DeleteSavedGamesIn(folder, 0);
}

std::string ProposedSaveName(const std::string& gameName, const std::string& dateTime) {
  std::string name = gameName + " " + dateTime;
  for (char& c : name)
    if (c == '/' || c == ':' || c == '\0') c = '-';
  return name;
}
