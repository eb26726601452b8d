#include "patience/files/FolderMove.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "patience/files/DataFolder.h"
#include "patience/files/DataLock.h"
#include "patience/files/DataMove.h"
#include "patience/files/PlayerSearch.h"
#include "patience/files/ShellFiles.h"
#include "patience/files/Trace.h"
#include "platform/core/Files.h"
#include "platform/core/Text.h"
#include "platform/ui/Dialogs.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kJournalFile = "journal";
constexpr const char* kCopyFolder = "copy";
constexpr const char* kReplacedFolder = "replaced";
constexpr const char* kJournalTitle = "Patience data move";
constexpr const char* kCopied = "copied";
constexpr const char* kInstalled = "installed";
constexpr const char* kPlayerDat = "Player.dat";

TMoveStepHook& Hook() {
  static TMoveStepHook hook;
  return hook;
}

bool Step(const std::string& step) {
  return !Hook() || Hook()(step);
}

std::string WorkOf(const std::string& place) {
  return PathJoin(place, kMoveFolder);
}

bool Lexists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsRealFolder(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void RemoveTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
}

void FileHandlingError() {
  ::Beep();
  MessageBox(kFileHandlingError, "Notification.", MB_OK);
}

// What a move takes from Old and deletes there once it is done.
struct TJournal {
  std::string State;
  std::string Old;
  bool RemoveOld = false;
  std::vector<std::string> Files;    // relative to Old, "Player.dat" first
  std::vector<std::string> Folders;  // relative to Old, deepest first; each goes only when empty

  TStringList Lines() const {
    TStringList lines{kJournalTitle, State, Old, RemoveOld ? "remove" : "keep"};
    for (const std::string& f : Files) lines.Add("F " + f);
    for (const std::string& f : Folders) lines.Add("D " + f);
    return lines;
  }
  bool Save(const std::string& work) const {
    return Step("journal") && Lines().TrySaveToFile(PathJoin(work, kJournalFile));
  }
  static std::optional<TJournal> Read(const std::string& work) {
    TStringList lines;
    const std::string path = PathJoin(work, kJournalFile);
    if (!FileExists(path) || !lines.TryLoadFromFile(path) || lines.Count() < 4 || lines[0] != kJournalTitle)
      return std::nullopt;
    TJournal j;
    j.State = lines[1];
    j.Old = lines[2];
    j.RemoveOld = lines[3] == "remove";
    if ((j.State != kCopied && j.State != kInstalled) || j.Old.empty()) return std::nullopt;
    for (int i = 4; i < lines.Count(); ++i) {
      const std::string& l = lines[i];
      if (l.size() > 2 && l[1] == ' ' && (l[0] == 'F' || l[0] == 'D'))
        (l[0] == 'F' ? j.Files : j.Folders).push_back(l.substr(2));
    }
    return j;
  }
};

// Every file and folder below root + rel, as paths relative to root: files in listing order,
// folders deepest first.
void Walk(const std::string& root, const std::string& rel, std::vector<std::string>& files,
          std::vector<std::string>& folders) {
  const std::string dir = PathJoin(root, rel);
  for (const std::string& name : ListFiles(dir, true)) files.push_back(PathJoin(rel, name));
  for (const std::string& name : ListSubfolders(dir, true)) {
    Walk(root, PathJoin(rel, name), files, folders);
    folders.push_back(PathJoin(rel, name));
  }
}

// Old/CardSets into copy/CardSets: user sets whole, the card-back files of every other set.
bool StageCardSets(const std::string& Old, const std::string& copy) {
  const std::string from = ResolvePath(PathJoin(Old, "CardSets"));
  const std::vector<std::string> sets = ListSubfolders(from, true);
  const std::string to = PathJoin(copy, "CardSets");
  std::vector<std::string> userSets;
  for (const std::string& name : sets) {
    const std::string set = PathJoin(from, name);
    if (IsUserSetFolder(name)) {
      userSets.push_back(set);
      continue;
    }
    std::vector<std::string> backs;
    CollectCardBackFiles(set, backs);
    if (!backs.empty() && ShellFiles(backs, PathJoin(to, name), 1) != 0) return false;
  }
  return userSets.empty() || ShellFiles(userSets, to, 1) == 0;
}

// The staged "Player.dat": the lines given, else Old's, else a fresh one.
bool StagePlayer(const TFolderMove& m, const std::string& copy) {
  const std::string old = PathJoin(m.Old, kPlayerDat);
  if (!m.PlayerLines && FileExists(old)) return ShellFiles({ResolvePath(old)}, copy, 1) == 0;
  const TStringList lines = m.PlayerLines ? *m.PlayerLines : TStringList{"", IntToStr(ProgramId)};
  return lines.TrySaveToFile(PathJoin(copy, kPlayerDat));
}

// What the move deletes from Old afterwards: exactly what was copied, "Player.dat" first; the
// program folder's own card sets stay.
TJournal PlanDeletes(const TFolderMove& m, const std::string& copy) {
  TJournal j;
  j.State = kCopied;
  j.Old = ResolvePath(m.Old);
  j.RemoveOld = m.RemoveOld;
  const bool programFolder = SameFolder(m.Old, ProgramDir());
  if (m.Player && FileExists(PathJoin(m.Old, kPlayerDat))) j.Files.push_back(kPlayerDat);
  std::vector<std::string> files, folders;
  Walk(copy, "", files, folders);
  auto standardSetPart = [](const std::string& rel) {
    const size_t slash = rel.find('/');
    if (!SameText(rel.substr(0, slash), "CardSets")) return false;
    if (slash == std::string::npos) return true;
    return !IsUserSetFolder(rel.substr(slash + 1, rel.find('/', slash + 1) - slash - 1));
  };
  for (const std::string& f : files)
    if (!SameText(f, kPlayerDat) && !(programFolder && standardSetPart(f))) j.Files.push_back(f);
  for (const std::string& f : folders)
    if (!(programFolder && standardSetPart(f))) j.Folders.push_back(f);
  return j;
}

// A folder of the copy where the new place has a file, or a file where it has a folder: the copies
// could not go into place.
bool Collides(const std::string& copy, const std::string& New) {
  std::vector<std::string> files, folders;
  Walk(copy, "", files, folders);
  for (const std::string& f : files)
    if (IsRealFolder(ResolvePath(PathJoin(New, f)))) return true;
  for (const std::string& f : folders) {
    const std::string target = ResolvePath(PathJoin(New, f));
    if (Lexists(target) && !DirectoryExists(target)) return true;
  }
  return false;
}

void SyncTree(const std::string& root) {
  std::vector<std::string> files, folders;
  Walk(root, "", files, folders);
  for (const std::string& f : folders) SyncFolder(PathJoin(root, f));
  SyncFolder(root);
}

// Copies and plans; false (the work folder gone again) when a copy failed.
bool Stage(const TFolderMove& m, const std::string& work, TJournal& journal) {
  const std::string copy = PathJoin(work, kCopyFolder);
  std::vector<std::string> list;
  for (const std::string& name : m.Files)
    if (!SameText(name, kPlayerDat) && FileExists(PathJoin(m.Old, name)))
      list.push_back(ResolvePath(PathJoin(m.Old, name)));
  for (const std::string& name : m.Folders)
    if (DirectoryExists(PathJoin(m.Old, name))) list.push_back(ResolvePath(PathJoin(m.Old, name)));
  bool ok = ForceDirectories(copy) && (list.empty() || ShellFiles(list, copy, 1) == 0);
  if (ok && m.CardSets) ok = StageCardSets(m.Old, copy);
  if (ok && m.Player) ok = StagePlayer(m, copy);
  if (ok) ok = !Collides(copy, m.New);
  if (ok) {
    journal = PlanDeletes(m, copy);
    SyncTree(work);
    SyncFolder(m.New);
    ok = journal.Save(work);
  }
  if (!ok) RemoveTree(work);
  return ok;
}

// One file or folder put into place, so that a failure can take it back.
struct TInstalled {
  std::string Staged, Target, Aside;
  bool MadeFolder = false;
};

class TInstaller {
 public:
  TInstaller(std::string place, std::vector<TInstalled>* done)
      : FNew(std::move(place)), FWork(WorkOf(FNew)), FCopy(PathJoin(FWork, kCopyFolder)), FDone(done) {}

  // Everything but "Player.dat", flushed; then "Player.dat".
  bool Run() {
    if (!Folder("")) return false;
    for (const std::string& f : FTouched) SyncFolder(f);
    if (FileExists(PathJoin(FCopy, kPlayerDat)) && !(Step("player") && File(kPlayerDat))) return false;
    SyncFolder(FNew);
    return true;
  }

 private:
  bool Folder(const std::string& rel) {
    const std::string staged = PathJoin(FCopy, rel);
    const std::string target = ResolvePath(rel.empty() ? FNew : PathJoin(FNew, rel));
    for (const std::string& name : ListSubfolders(staged, true)) {
      const std::string sub = PathJoin(rel, name);
      const std::string t = ResolvePath(PathJoin(target, name));
      if (!DirectoryExists(t)) {
        if (!Step("install " + sub) || ::mkdir(t.c_str(), 0777) != 0) return false;
        Record({{}, t, {}, true});
      }
      if (!Folder(sub)) return false;
    }
    for (const std::string& name : ListFiles(staged, true))
      if (!(rel.empty() && SameText(name, kPlayerDat)) &&
          !(Step("install " + PathJoin(rel, name)) && File(PathJoin(rel, name))))
        return false;
    FTouched.insert(target);
    return true;
  }

  bool File(const std::string& rel) {
    const std::string staged = PathJoin(FCopy, rel);
    const std::string target = ResolvePath(PathJoin(FNew, rel));
    std::string aside;
    if (Lexists(target)) {
      aside = FreeAsideName(rel);
      if (aside.empty() || ::rename(target.c_str(), aside.c_str()) != 0) return false;
    }
    if (::rename(staged.c_str(), target.c_str()) != 0) {
      if (!aside.empty()) ::rename(aside.c_str(), target.c_str());
      return false;
    }
    Record({staged, target, aside, false});
    return true;
  }

  // Where a replaced file waits: replaced/rel, numbered when an earlier attempt left one there.
  std::string FreeAsideName(const std::string& rel) const {
    const std::string base = PathJoin(FWork, kReplacedFolder, rel);
    if (!ForceDirectories(ExtractFileDir(base))) return {};
    for (int n = 1; n < 100; ++n) {
      const std::string name = n == 1 ? base : base + "." + std::to_string(n);
      if (!Lexists(name)) return name;
    }
    return {};
  }

  void Record(TInstalled step) {
    if (FDone) FDone->push_back(std::move(step));
  }

  std::string FNew, FWork, FCopy;
  std::vector<TInstalled>* FDone;
  std::set<std::string> FTouched;
};

// Takes back what an install put into place, newest first.
void Uninstall(const std::vector<TInstalled>& done) {
  for (auto it = done.rbegin(); it != done.rend(); ++it) {
    if (it->MadeFolder) {
      ::rmdir(it->Target.c_str());
      continue;
    }
    ::rename(it->Target.c_str(), it->Staged.c_str());
    if (!it->Aside.empty()) ::rename(it->Aside.c_str(), it->Target.c_str());
  }
}

// Adds folder to place's record of the places it left behind.
void NameLeftBehind(const std::string& place, const std::string& folder) {
  TStringList lines;
  const std::string path = PathJoin(place, kMovedFromFile);
  if (FileExists(path)) lines.TryLoadFromFile(path);
  for (const std::string& l : lines.Lines)
    if (l == folder) return;
  lines.Add(folder);
  if (!lines.TrySaveToFile(path)) Trace("Could not write " + path);
}

// The old files go, and the work folder. False when some old file could not be deleted.
bool Clear(const std::string& place, const TJournal& j) {
  bool ok = true;
  for (const std::string& rel : j.Files) {
    const std::string path = ResolvePath(PathJoin(j.Old, rel));
    if (Lexists(path) && !(Step("delete " + rel) && ShellFiles({path}, "", 0) == 0)) ok = false;
  }
  for (const std::string& rel : j.Folders) RemoveEmptyFolder(PathJoin(j.Old, rel));
  if (FileExists(PathJoin(j.Old, kPlayerDat))) {
    // The old place keeps a "Player.dat" that must not be found before the new one.
    NameLeftBehind(place, j.Old);
  } else if (FileExists(PathJoin(j.Old, kMovedFromFile))) {
    DeleteFile(PathJoin(j.Old, kMovedFromFile));  // what it said is void now that it is out of use
  }
  if (j.RemoveOld) RemoveEmptyFolder(j.Old);
  RemoveTree(WorkOf(place));
  return ok;
}

// The second half of a decided move: into place, "installed" noted, the old files deleted.
enum class TFinish { NotInstalled, OldFilesStay, Done };
TFinish Finish(const std::string& place, TJournal& j, std::vector<TInstalled>* done) {
  if (j.State == kCopied) {
    if (!TInstaller(place, done).Run()) return TFinish::NotInstalled;
    j.State = kInstalled;
    if (Step("installed")) j.Lines().TrySaveToFile(PathJoin(WorkOf(place), kJournalFile));
  }
  if (Clear(place, j)) return TFinish::Done;
  Trace("Data move: some old files could not be deleted from " + j.Old);
  return TFinish::OldFilesStay;
}

// Finishes or takes back a move into place that a stopped run left; false when it stays.
bool SettleMoveInto(const std::string& place) {
  const std::string work = WorkOf(place);
  if (!IsRealFolder(ResolvePath(work))) return true;
  std::optional<TJournal> j = TJournal::Read(work);
  if (!j) {
    RemoveTree(work);
    if (!SameFolder(place, ProgramDir())) RemoveEmptyFolder(place);
    Trace("A data move cut short before it was decided was taken back: " + place);
    return true;
  }
  if (Finish(place, *j, nullptr) == TFinish::NotInstalled) {
    Trace("A data move into " + place + " could not be finished; it is tried again at the next start");
    return false;
  }
  Trace("A data move into " + place + " was finished");
  return true;
}

}  // namespace

bool IsUserSetFolder(const std::string& name) {
  return name.size() >= 2 && std::toupper(static_cast<unsigned char>(name[0])) == 'U' && name[1] == '_';
}

TMoveStepHook SetMoveStepHookForTesting(TMoveStepHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

bool MoveFolder(const TFolderMove& move) {
  if (move.Old.empty() || move.New.empty() || SameFolder(move.Old, move.New)) return false;
  TDataLock lock;
  if (!lock.Take()) return false;
  const bool madeNew = !DirectoryExists(move.New);
  const std::string work = WorkOf(move.New);
  // A move into this place that a stopped run left comes first.
  bool ok = (!madeNew || ForceDirectories(move.New)) && SettleMoveInto(move.New) &&
            !Lexists(ResolvePath(work)) && ForceDirectories(work);
  TJournal journal;
  if (ok) ok = Stage(move, work, journal);
  std::vector<TInstalled> done;
  const TFinish finish = ok ? Finish(move.New, journal, &done) : TFinish::NotInstalled;
  if (finish == TFinish::NotInstalled) {
    // Nothing of the new place stays changed.
    Uninstall(done);
    RemoveTree(work);
    if (madeNew) RemoveEmptyFolder(move.New);
    FileHandlingError();
    return false;
  }
  if (finish == TFinish::OldFilesStay) FileHandlingError();
  return true;
}

void FinishDataMoves() {
  // A move that another process is making is not touched: this waits until it is done.
  TDataLock lock;
  if (!lock.Take()) return;
  std::vector<std::string> seen;
  for (int location : {3, 2, 1}) {
    const std::string place = PlaceFolder(location);
    if (place.empty() || !DirectoryExists(place)) continue;
    if (std::any_of(seen.begin(), seen.end(), [&](const std::string& s) { return SameFolder(s, place); }))
      continue;
    seen.push_back(place);
    try {
      SettleMoveInto(place);
    } catch (const std::exception& e) {
      Trace(std::string("A data move could not be settled: ") + e.what());
    }
  }
}
