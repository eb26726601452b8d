#include "patience/files/DataMove.h"

#include <QRadioButton>
#include <cctype>
#include <charconv>
#include <exception>
#include <filesystem>
#include <iterator>
#include <system_error>
#include <utility>

#include "cardtable/CardDeck.h"
#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/DataLock.h"
#include "patience/files/FileLocForm.h"
#include "patience/files/FolderMove.h"
#include "patience/files/PlayerSearch.h"
#include "patience/files/ShellFiles.h"
#include "patience/files/Trace.h"
#include "patience/files/UpdatePart.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

namespace {

// The data files a move takes along, in the order they are listed.
const char* const kMovedFiles[] = {"Player.dat", "Options.dat",      "Status.dat", "debug.dat",
                                   "fav.dat",    "internetinfo.dat", "Scoring.dat"};
const char* const kMovedFolders[] = {"Save Games", "Data"};

std::string LocalPatience() {
  return PlaceFolder(3);
}
std::string DocumentsPatience() {
  return PlaceFolder(2);
}

// The folder of a location as the moves read it: 1 the program folder, 2 documents, any other
// value local application data.
std::string FolderOf(int location) {
  return PlaceFolder(location == 1 || location == 2 ? location : 3);
}

// The location of the player's own folders: local application data when known, else documents,
// else (no home at all) the program folder.
int UserLocation() {
  if (!LocalAppDataDir.empty()) return 3;
  if (!MyDocumentsDir.empty()) return 2;
  return 1;
}

bool ContainsBack(const std::string& name) {
  for (size_t i = 0; i + 4 <= name.size(); ++i) {
    bool match = true;
    for (size_t k = 0; k < 4 && match; ++k)
      match = std::tolower(static_cast<unsigned char>(name[i + k])) == "back"[k];
    if (match) return true;
  }
  return false;
}

void SetDeckUserDir(TCardDeck* deck) {
  if (deck) deck->SetUserCardsetsDir(UserCardsetsDirOf(DataLocation));
}

bool ParseId(const std::string& text, int& id) {
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  if (b == e) return false;
  const char* first = text.data() + b;
  const char* last = text.data() + e;
  if (*first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, id);
  return ec == std::errc() && ptr == last;
}

// Saves "Player.dat" for DataLocation; a failure falls back to the player's own folders.
void SavePlayerDat(const TStringList& lines) {
  auto saveAt = [&](int location) {
    const std::string folder = FolderOf(location);
    if (folder.empty()) return false;
    if (location > 1) ForceDirectories(folder);
    return lines.TrySaveToFile(PathJoin(folder, "Player.dat"));
  };
  if (saveAt(DataLocation)) return;
  ::Trace("Write to dir caused exception");
  ::Beep();
  DataLocation = UserLocation();
  saveAt(DataLocation);  // a second failure is ignored
}

}  // namespace

std::string UserCardsetsDirOf(int location) {
  if (location == 1) return {};
  const std::string folder = location == 2 ? DocumentsPatience() : LocalPatience();
  return folder.empty() ? std::string() : PathJoin(folder, "CardSets");
}

void CollectCardBackFiles(const std::string& Folder, std::vector<std::string>& List) {
  const std::string folder = ResolvePath(Folder);
  for (const std::string& name : ListFiles(folder))
    if (ContainsBack(name)) List.push_back(PathJoin(folder, name));
}

bool MoveCardSets(const std::string& OldFolder, const std::string& NewFolder) {
  TFolderMove move;
  move.Old = OldFolder;
  move.New = NewFolder;
  return MoveFolder(move);
}

namespace {

// Everything of one folder to another: the data files ("Player.dat" last, as playerLines when
// given), the saved games, the statistics and the card sets.
TFolderMove WholeMove(const std::string& Old, const std::string& New, const TStringList* playerLines) {
  TFolderMove move;
  move.Old = Old;
  move.New = New;
  move.Files.assign(std::begin(kMovedFiles), std::end(kMovedFiles));
  move.Folders.assign(std::begin(kMovedFolders), std::end(kMovedFolders));
  move.Player = true;
  if (playerLines) move.PlayerLines = *playerLines;
  move.RemoveOld = !SameFolder(Old, ProgramDir());
  return move;
}

}  // namespace

bool MoveDataFiles(int FromLocation, int ToLocation, const TStringList* playerLines) {
  const std::string Old = FolderOf(FromLocation);
  const std::string New = FolderOf(ToLocation);
  if (Old.empty() || New.empty() || SameFolder(Old, New)) return true;
  if (!MoveFolder(WholeMove(Old, New, playerLines))) return false;
  Application().ProcessMessages();
  if (DataLocation != 2) RemoveEmptyFolder(DocumentsPatience());
  if (DataLocation != 3) RemoveEmptyFolder(LocalPatience());
  return true;
}

namespace {

// What the start-up step found of "Player.dat" and decided from it.
struct TPlayerDat {
  int Origin = 0;  // the location it was found in, 0 nowhere
  std::string Path;
  TStringList Lines;
  int Count = 0;         // its lines; a line with an unreadable id is dropped and leaves 1
  bool Reset = false;    // the settings beside it are dropped
  bool Changed = false;  // the lines are to be written again
};

TPlayerDat ReadPlayerDat() {
  TPlayerDat dat;
  dat.Origin = PlayerDatLocation(&dat.Path);
  if (dat.Origin != 0) {
    ::Trace(dat.Origin == 3 ? "Origin - AppDir" : dat.Origin == 2 ? "Origin - DocDir" : "Origin - Dir");
    if (!dat.Lines.TryLoadFromFile(dat.Path)) {
      ::Trace("Player.dat unreadable");
      dat.Lines.Clear();
    }
    // A name stored with its line breaks is one name again, and the settings stay.
    if (MendPlayerLines(dat.Lines)) {
      ::Trace("Player.dat: the name over several lines was joined");
      if (!dat.Lines.TrySaveToFile(dat.Path)) ::Trace("Player.dat not rewritten");
    }
  }
  dat.Count = dat.Lines.Count();
  ::Trace("Player.dat size - " + std::to_string(dat.Count));
  return dat;
}

// The program id on the second line: an unreadable one is dropped, one below the lowest (or any
// older one in fast mode) resets the settings, another older one is brought up to date in place.
void CheckProgramId(TPlayerDat& dat, bool FastMode) {
  if (dat.Count < 2) return;
  int id = 0;
  if (!ParseId(dat.Lines[1], id)) {
    dat.Reset = true;
    dat.Lines.Delete(1);
    dat.Count = 1;
  } else if (id < MinPlayerId || (id < ProgramId && FastMode)) {
    dat.Reset = true;
  } else if (id < ProgramId) {
    dat.Lines[1] = std::to_string(ProgramId);
    if (!dat.Lines.TrySaveToFile(dat.Path)) ::Trace("Player.dat not rewritten");
  }
}

void DecideReset(TPlayerDat& dat, bool FastMode) {
  CheckProgramId(dat, FastMode);
  if (dat.Count == 1) dat.Reset = true;
  ::Trace(std::string(dat.Reset ? "Reset - True - i " : "Reset - False - i ") + std::to_string(dat.Count));
}

// The settings a reset drops. "Player.dat" itself stays until its new lines replace it, so that a
// start cut short here still finds the data where it was.
void DeleteResetSettings(const TPlayerDat& dat) {
  if (!dat.Reset || dat.Origin == 0) return;
  const std::string folder = FolderOf(dat.Origin);
  for (const char* name : {"Options.dat", "Status.dat"})
    if (FileExists(PathJoin(folder, name))) DeleteFile(PathJoin(folder, name));
}

// The first run, a one-line file or an unreadable id: only the name line is kept, and the player
// chooses where the data goes.
void AskDataLocation(TPlayerDat& dat, QWidget* Owner) {
  if (dat.Lines.Count() == 0) dat.Lines.Add("");
  dat.Lines.Lines.resize(1);
  dat.Lines.Add(std::to_string(ProgramId));
  dat.Changed = true;
  ::Trace("Asking user for DataLocation");
  TFileLoc form(Owner);
  const int answer = AskFileLoc(form);
  if (answer == 1 && !form.RadioButton1->isChecked()) {
    DataLocation = 1;
    ::Trace("Answer was 1");
  } else {
    DataLocation = UserLocation();
    ::Trace("Answer was 3");
  }
}

// "Player.dat" where the data is; the data found elsewhere than the chosen location moves there
// with it, "Player.dat" last. A first run makes the data folder.
void SettleDataFolder(const TPlayerDat& dat) {
  if (dat.Origin == 0) {
    SavePlayerDat(dat.Lines);
    const std::string folder = FolderOf(DataLocation);
    if (!folder.empty()) ForceDirectories(PathJoin(folder, "Data"));
    return;
  }
  if (dat.Origin == DataLocation || SameFolder(FolderOf(dat.Origin), FolderOf(DataLocation))) {
    if (dat.Changed) SavePlayerDat(dat.Lines);
    return;
  }
  ::Trace("Change DataLocation attempt");
  try {
    if (MoveDataFiles(dat.Origin, DataLocation, &dat.Lines)) {
      ::Trace("Change DataLocation ok");
      return;
    }
  } catch (const std::exception&) {
  }
  // The data stayed where it was, and so does its "Player.dat".
  ::Trace("Change DataLocation attempt failed");
  DataLocation = dat.Origin;
  if (dat.Changed) SavePlayerDat(dat.Lines);
}

// Temporaries of writes and downloads that a stopped run left: in the data folder, and the part
// file a download recorded (on the desktop, say) while it is still the file it made.
void RemoveLeftovers() {
  const std::string folder = FolderOf(DataLocation);
  if (folder.empty()) return;
  const int removed = RemoveStaleTemporaries(folder, 3);
  if (removed > 0) ::Trace("Stale temporary files removed: " + std::to_string(removed));
  RemoveStalePartFile(PathJoin(folder, "internetinfo.dat.part"));
  if (RemoveUpdatePartLeftover(folder)) ::Trace("A download's part file was removed");
}

}  // namespace

bool FindDataFolder(TCardDeck* Deck, bool FastMode, QWidget* Owner) {
  DataLocation = 0;
  // From the first look at the places to the end of the move it decides, no other start or move
  // runs beside this one.
  TDataLock lock;
  if (!lock.Take()) return false;
  // A move that a stopped run left half made is finished or taken back first.
  FinishDataMoves();
  TPlayerDat dat = ReadPlayerDat();
  DecideReset(dat, FastMode);
  DeleteResetSettings(dat);
  if (dat.Count >= 2) {
    // More than two lines count as the normal two.
    DataLocation = dat.Origin;
    if (dat.Reset) {
      ::Trace("Reset Patience Configuration. Rewrite Player.dat");
      dat.Lines[1] = std::to_string(ProgramId);
      dat.Changed = true;
    }
    // Data kept in the documents folder moves to the local folder where there is one.
    if (dat.Origin == 2 && !LocalAppDataDir.empty() && !SameFolder(DocumentsPatience(), LocalPatience())) {
      ::Trace("File move attempt for v2050");
      DataLocation = 3;
    }
  } else {
    AskDataLocation(dat, Owner);
  }
  SettleDataFolder(dat);
  SetDeckUserDir(Deck);
  RemoveLeftovers();
  Application().ProcessMessages();
  return true;
}

bool FindMakerDataLocation(int& Location) {
  Location = 0;
  TDataLock lock;
  if (!lock.Take()) return false;
  FinishDataMoves();
  Location = PlayerDatLocation();
  return true;
}

bool ChangeSaveDataLocation(TCardDeck* Deck, bool* Busy, QWidget* Owner,
                            const std::vector<std::string*>& Follow) {
  const int oldLocation = DataLocation;
  const std::string Old = DataFolder();
  int location = oldLocation;
  {
    TFileLoc form(Owner);
    if (oldLocation == 1)
      form.RadioButton2->setChecked(true);
    else
      form.RadioButton1->setChecked(true);
    if (AskFileLoc(form) != 1) return false;
    location = form.RadioButton1->isChecked() ? (LocalAppDataDir.empty() ? 2 : 3) : 1;
  }
  const std::string New = FolderOf(location);
  // The same folder, however it is spelled, is never moved onto itself.
  if (New.empty() || New == Old || SameFolder(New, Old)) return false;

  // Set while files move, and back to what it was afterwards.
  struct TBusyFlag {
    bool* Flag;
    bool Was = false;
    explicit TBusyFlag(bool* f) : Flag(f) {
      if (Flag) Was = std::exchange(*Flag, true);
    }
    ~TBusyFlag() {
      if (Flag) *Flag = Was;
    }
  } busy(Busy);

  // Where the files that are to follow the move will be (those inside the data folder).
  std::vector<std::string> followed;
  for (const std::string* path : Follow)
    followed.push_back(path ? MovedPath(*path, Old, New) : std::string());
  // No start of either program, and no other move, runs beside this one.
  TDataLock lock;
  if (!lock.Take()) return false;
  try {
    // On a failure everything stays where it was and in use.
    if (!MoveFolder(WholeMove(Old, New, nullptr))) return false;
  } catch (const std::exception&) {
    return false;
  }
  DataLocation = location;
  SetDeckUserDir(Deck);
  for (size_t i = 0; i < Follow.size(); ++i)
    if (Follow[i] && !followed[i].empty() && FileExists(followed[i])) *Follow[i] = ResolvePath(followed[i]);
  Application().ProcessMessages();
  return true;
}

std::string MovedPath(const std::string& path, const std::string& Old, const std::string& New) {
  if (path.empty() || Old.empty() || New.empty()) return {};
  std::error_code ec;
  const std::filesystem::path from = std::filesystem::weakly_canonical(ResolvePath(Old), ec);
  if (ec) return {};
  const std::filesystem::path file = std::filesystem::weakly_canonical(ResolvePath(path), ec);
  if (ec) return {};
  const std::filesystem::path rel = file.lexically_relative(from);
  if (rel.empty() || rel.is_absolute() || *rel.begin() == "..") return {};
  return PathJoin(New, rel.string());
}
