#include "patience/files/PlayerSearch.h"

#include <sys/stat.h>

#include <charconv>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/ShellFiles.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"

namespace {

// The folders a place's kMovedFromFile names, with the file's time of change (0 without one).
struct TMovedFrom {
  std::vector<std::string> Folders;
  long long Stamp = 0;
  bool Names(const std::string& folder) const {
    for (const std::string& f : Folders)
      if (SameFolder(f, folder)) return true;
    return false;
  }
};

TMovedFrom ReadMovedFrom(const std::string& place) {
  TMovedFrom m;
  const std::string path = ResolvePath(PathJoin(place, kMovedFromFile));
  struct stat st;
  TStringList lines;
  if (::stat(path.c_str(), &st) != 0 || !lines.TryLoadFromFile(path)) return m;
  m.Folders = lines.Lines;
  m.Stamp = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
  return m;
}

bool HasPlayerDat(const std::string& folder) {
  return !folder.empty() && FileExists(PathJoin(folder, "Player.dat"));
}

// A place is out of use when another place holding "Player.dat" names it as moved from, and it
// does not name that place back more recently.
bool LeftBehind(int location) {
  const std::string folder = PlaceFolder(location);
  const TMovedFrom own = ReadMovedFrom(folder);
  for (int other = 1; other <= 3; ++other) {
    const std::string o = PlaceFolder(other);
    if (other == location || !HasPlayerDat(o) || SameFolder(o, folder)) continue;
    const TMovedFrom theirs = ReadMovedFrom(o);
    if (theirs.Names(folder) && !(own.Names(o) && own.Stamp >= theirs.Stamp)) return true;
  }
  return false;
}

bool IsNumberLine(const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty()) return false;
  const char* first = t.data() + (t[0] == '+' || t[0] == '-' ? 1 : 0);
  long long v = 0;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size() && first != end;
}

// The id of a version this one knows: a whole number from the lowest still read up to its own.
bool IsKnownIdLine(const std::string& line) {
  const std::string t = Trim(line);
  const char* first = t.data() + (!t.empty() && t[0] == '+' ? 1 : 0);
  int v = 0;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), v);
  return ec == std::errc() && end == t.data() + t.size() && first != end && v >= MinPlayerId &&
         v <= ProgramId;
}

// Lines first to before are one name again, joined with blanks.
void JoinName(TStringList& lines, int before) {
  std::string name = lines[0];
  for (int i = 1; i < before; ++i) name += " " + lines[i];
  lines.Lines.erase(lines.Lines.begin() + 1, lines.Lines.begin() + before);
  lines[0] = OneLine(name);
}

}  // namespace

std::string PlaceFolder(int location) {
  if (location == 3) return LocalAppDataDir.empty() ? std::string() : PathJoin(LocalAppDataDir, "Patience");
  if (location == 2) return MyDocumentsDir.empty() ? std::string() : PathJoin(MyDocumentsDir, "Patience");
  return location == 1 ? ProgramDir() : std::string();
}

int PlayerDatLocation(std::string* Path) {
  int first = 0;
  for (int location : {3, 2, 1}) {
    if (!HasPlayerDat(PlaceFolder(location))) continue;
    if (first == 0) first = location;
    if (LeftBehind(location)) continue;
    first = location;
    break;
  }
  // Places that all name each other: the search order decides.
  if (first != 0 && Path) *Path = ResolvePath(PathJoin(PlaceFolder(first), "Player.dat"));
  return first;
}

bool MendPlayerLines(TStringList& lines) {
  // The id the file ends with follows the name, whatever the name's lines hold (numbers too).
  int last = lines.Count() - 1;
  while (last >= 0 && Trim(lines[last]).empty()) --last;
  if (last >= 2 && IsKnownIdLine(lines[last])) {
    JoinName(lines, last);
    return true;
  }
  // Else the first number after a line that is none.
  if (lines.Count() < 3 || IsNumberLine(lines[1])) return false;
  int id = 2;
  while (id < lines.Count() && !IsNumberLine(lines[id])) ++id;
  if (id == lines.Count()) return false;
  JoinName(lines, id);
  return true;
}
