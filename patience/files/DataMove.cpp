#include "patience/files/DataMove.h"

#include <QRadioButton>
#include <cctype>
#include <charconv>
#include <exception>
#include <span>
#include <utility>

#include "cardtable/CardDeck.h"
#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "patience/files/FileLocForm.h"
#include "patience/files/PlayerSearch.h"
#include "patience/files/ShellFiles.h"
#include "patience/files/Trace.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialogs.h"

namespace {

// The data files a move takes along, in the order they are listed.
const char* const kMovedFiles[] = {"Player.dat", "Options.dat",      "Status.dat", "debug.dat",
                                   "fav.dat",    "internetinfo.dat", "Scoring.dat"};
const char* const kMovedFolders[] = {"Save Games", "Data"};
// What the start-up move takes: "Player.dat", "Options.dat" and "Scoring.dat" went before it.
const char* const kStartupFiles[] = {"debug.dat", "fav.dat", "internetinfo.dat", "Scoring.dat", "Status.dat"};
const char* const kTextMigrated[] = {"Player.dat", "Options.dat", "Scoring.dat"};

std::string LocalPatience() {
  return LocalAppDataDir.empty() ? std::string() : PathJoin(LocalAppDataDir, "Patience");
}
std::string DocumentsPatience() {
  return MyDocumentsDir.empty() ? std::string() : PathJoin(MyDocumentsDir, "Patience");
}

// The folder of a location as the moves read it: 1 the program folder, 2 documents, any other
// value local application data.
std::string FolderOf(int location) {
  if (location == 1) return ProgramDir();
  if (location == 2) return DocumentsPatience();
  return LocalPatience();
}

// The location of the player's own folders: local application data when known, else documents,
// else (no home at all) the program folder.
int UserLocation() {
  if (!LocalAppDataDir.empty()) return 3;
  if (!MyDocumentsDir.empty()) return 2;
  return 1;
}

bool IsUserSet(const std::string& name) {
  return name.size() >= 2 && std::toupper(static_cast<unsigned char>(name[0])) == 'U' && name[1] == '_';
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

void FileHandlingError() {
  ::Beep();
  MessageBox(kFileHandlingError, "Notification.", MB_OK);
}

// Those of the names present in a folder, as paths with their spelling on disk.
std::vector<std::string> Present(const std::string& folder, std::span<const char* const> files,
                                 std::span<const char* const> folders) {
  std::vector<std::string> list;
  if (folder.empty()) return list;
  for (const char* f : files)
    if (FileExists(PathJoin(folder, f))) list.push_back(ResolvePath(PathJoin(folder, f)));
  for (const char* f : folders)
    if (DirectoryExists(PathJoin(folder, f))) list.push_back(ResolvePath(PathJoin(folder, f)));
  return list;
}

// What a card-set copy brought over, so that exactly that is deleted afterwards.
struct TCardSetCopy {
  std::vector<std::string> UserSets;    // Old/CardSets/U_...
  std::vector<std::string> BackFiles;   // Old/CardSets/<set>/...back...
  std::vector<std::string> SetFolders;  // Old/CardSets/<set> of the standard sets
  std::string Folder;                   // Old/CardSets
};

bool CopyCardSets(const std::string& Old, const std::string& New, TCopyJournal& journal,
                  TCardSetCopy& copied) {
  const std::string from = ResolvePath(PathJoin(Old, "CardSets"));
  copied.Folder = from;
  const std::vector<std::string> sets = ListSubfolders(from);
  if (sets.empty()) return true;
  const std::string to = ResolvePath(PathJoin(New, "CardSets"));
  if (!journal.MakeFolder(to)) return false;
  for (const std::string& name : sets) {
    const std::string set = PathJoin(from, name);
    if (IsUserSet(name)) {
      copied.UserSets.push_back(set);
      continue;
    }
    copied.SetFolders.push_back(set);
    std::vector<std::string> backs;
    CollectCardBackFiles(set, backs);
    if (backs.empty()) continue;
    if (ShellFiles(backs, ResolvePath(PathJoin(to, name)), 1, &journal) != 0) return false;
    copied.BackFiles.insert(copied.BackFiles.end(), backs.begin(), backs.end());
  }
  return copied.UserSets.empty() || ShellFiles(copied.UserSets, to, 1, &journal) == 0;
}

void DeleteMovedCardSets(const TCardSetCopy& copied, bool oldIsProgramFolder) {
  if (!copied.UserSets.empty() && ShellFiles(copied.UserSets, "", 0) != 0) ::Beep();
  // The program's own sets stay whole; elsewhere only what was copied goes, and a set's folder
  // only when nothing else is left in it.
  if (oldIsProgramFolder) return;
  if (!copied.BackFiles.empty() && ShellFiles(copied.BackFiles, "", 0) != 0) ::Beep();
  for (const std::string& set : copied.SetFolders) RemoveEmptyFolder(set);
  RemoveEmptyFolder(copied.Folder);
}

// The first half of a move: copies the present files and folders and the card sets from Old to
// New (made first when makeNew). On any failure every copy is taken back, the error is shown and
// false is answered: the old folder stays complete and in use.
bool CopyData(const std::string& Old, const std::string& New, bool makeNew,
              std::span<const char* const> files, TCardSetCopy& copied) {
  TCopyJournal journal;
  bool ok = !makeNew || DirectoryExists(New) || journal.MakeFolder(New);
  const std::vector<std::string> list = Present(Old, files, kMovedFolders);
  if (ok && !list.empty()) ok = ShellFiles(list, New, 1, &journal) == 0;
  if (ok) ok = CopyCardSets(Old, New, journal, copied);
  if (ok) return true;
  journal.Undo();
  FileHandlingError();
  return false;
}

// The second half: deletes from Old what CopyData brought over.
void DeleteCopiedData(const std::string& Old, std::span<const char* const> files,
                      const TCardSetCopy& copied) {
  for (const char* name : files)
    if (FileExists(PathJoin(Old, name))) DeleteFile(PathJoin(Old, name));
  const std::vector<std::string> folders = Present(Old, {}, kMovedFolders);
  if (!folders.empty() && ShellFiles(folders, "", 0) != 0) FileHandlingError();
  DeleteMovedCardSets(copied, SameFolder(Old, ProgramDir()));
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

// Brings the text files back after a move that could not finish.
void MoveTextFilesBack(const std::string& from, const std::string& to) {
  for (const char* name : kTextMigrated) MoveTextFile(name, from, to);
}

}  // namespace

std::string UserCardsetsDirOf(int location) {
  if (location == 1) return {};
  const std::string folder = location == 2 ? DocumentsPatience() : LocalPatience();
  return folder.empty() ? std::string() : PathJoin(folder, "CardSets");
}

bool MoveTextFile(const std::string& Name, const std::string& FromFolder, const std::string& ToFolder) {
  try {
    const std::string from = PathJoin(FromFolder, Name);
    if (FromFolder.empty() || ToFolder.empty() || !FileExists(from)) return false;
    // The same file under two spellings is already where it should be.
    if (SameFolder(FromFolder, ToFolder)) return false;
    TStringList lines;
    lines.LoadFromFile(from);
    if (!ForceDirectories(ToFolder)) return false;
    lines.SaveToFile(PathJoin(ToFolder, Name));
    DeleteFile(from);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void CollectCardBackFiles(const std::string& Folder, std::vector<std::string>& List) {
  const std::string folder = ResolvePath(Folder);
  for (const std::string& name : ListFiles(folder))
    if (ContainsBack(name)) List.push_back(PathJoin(folder, name));
}

bool MoveCardSets(const std::string& OldFolder, const std::string& NewFolder) {
  if (SameFolder(OldFolder, NewFolder)) return false;
  TCopyJournal journal;
  TCardSetCopy copied;
  if (!CopyCardSets(OldFolder, NewFolder, journal, copied)) {
    journal.Undo();
    ::Beep();
    return false;
  }
  Application().ProcessMessages();
  DeleteMovedCardSets(copied, SameFolder(OldFolder, ProgramDir()));
  return true;
}

bool MoveDataFiles(int FromLocation, int ToLocation) {
  const std::string Old = FolderOf(FromLocation);
  const std::string New = FolderOf(ToLocation);
  if (Old.empty() || New.empty() || SameFolder(Old, New)) return true;
  TCardSetCopy copied;
  if (!CopyData(Old, New, ToLocation > 1, kStartupFiles, copied)) return false;
  DeleteCopiedData(Old, kStartupFiles, copied);
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
  int Count = 0;       // its lines; a line with an unreadable id is dropped and leaves 1
  bool Reset = false;  // the settings beside it are dropped
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

void DeleteResetSettings(const TPlayerDat& dat) {
  if (!dat.Reset || dat.Origin == 0) return;
  const std::string folder = FolderOf(dat.Origin);
  for (const char* name : {"Options.dat", "Status.dat", "Player.dat"})
    if (FileExists(PathJoin(folder, name))) DeleteFile(PathJoin(folder, name));
}

// The text files go ahead from the documents folder to the local one; false when one could not.
bool MoveTextFilesAhead(bool reset) {
  for (const char* name : kTextMigrated) {
    if (reset && std::string(name) == "Player.dat") continue;
    if (!FileExists(PathJoin(DocumentsPatience(), name))) continue;
    if (!MoveTextFile(name, DocumentsPatience(), LocalPatience())) return false;
  }
  return true;
}

// Data kept in the documents folder moves to the local folder where there is one.
void MoveDocumentsToLocal(const TPlayerDat& dat) {
  if (dat.Origin != 2 || LocalAppDataDir.empty() || SameFolder(DocumentsPatience(), LocalPatience())) return;
  ::Trace("File move attempt for v2050");
  DataLocation = 3;
  if (MoveTextFilesAhead(dat.Reset)) {
    ::Trace("File move attempt ok");
  } else {
    MoveTextFilesBack(LocalPatience(), DocumentsPatience());
    DataLocation = 2;
    ::Trace("File move exception");
  }
}

// The first run, a one-line file or an unreadable id: only the name line is kept, and the player
// chooses where the data goes.
void AskDataLocation(TPlayerDat& dat, QWidget* Owner) {
  if (dat.Lines.Count() == 0) dat.Lines.Add("");
  dat.Lines.Lines.resize(1);
  dat.Lines.Add(std::to_string(ProgramId));
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
  SavePlayerDat(dat.Lines);
}

// A first run makes the data folder; data found elsewhere than the chosen location moves there.
void SettleDataFolder(int origin) {
  if (origin == 0) {
    const std::string folder = FolderOf(DataLocation);
    if (!folder.empty()) ForceDirectories(PathJoin(folder, "Data"));
    return;
  }
  if (origin == DataLocation || SameFolder(FolderOf(origin), FolderOf(DataLocation))) return;
  ::Trace("Change DataLocation attempt");
  try {
    if (MoveDataFiles(origin, DataLocation)) {
      ::Trace("Change DataLocation ok");
    } else {
      // The other data stayed behind: the text files that went ahead come back to it.
      MoveTextFilesBack(FolderOf(DataLocation), FolderOf(origin));
      DataLocation = origin;
      ::Trace("Change DataLocation attempt failed");
    }
  } catch (const std::exception&) {
    ::Trace("Change DataLocation attempt failed");
  }
}

}  // namespace

void FindDataFolder(TCardDeck* Deck, bool FastMode, QWidget* Owner) {
  DataLocation = 0;
  TPlayerDat dat = ReadPlayerDat();
  DecideReset(dat, FastMode);
  DeleteResetSettings(dat);
  if (dat.Count >= 2) {
    // More than two lines count as the normal two.
    DataLocation = dat.Origin;
    MoveDocumentsToLocal(dat);
  }
  if (dat.Count < 2) {
    AskDataLocation(dat, Owner);
  } else if (dat.Reset) {
    ::Trace("Reset Patience Configuration. Rewrite Player.dat");
    dat.Lines[1] = std::to_string(ProgramId);
    SavePlayerDat(dat.Lines);
  }
  SettleDataFolder(dat.Origin);
  SetDeckUserDir(Deck);
  Application().ProcessMessages();
}

bool ChangeSaveDataLocation(TCardDeck* Deck, bool* Busy, QWidget* Owner) {
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

  try {
    TCardSetCopy copied;
    // On a failure everything stays where it was and in use.
    if (!CopyData(Old, New, location > 1, kMovedFiles, copied)) return false;
    DataLocation = location;
    SetDeckUserDir(Deck);

    DeleteCopiedData(Old, kMovedFiles, copied);
    Application().ProcessMessages();
    if (!SameFolder(Old, ProgramDir())) RemoveEmptyFolder(Old);
  } catch (const std::exception&) {
    // A failure after the switch leaves the copies in use; one before it changed nothing.
  }
  return DataLocation != oldLocation;
}
