#pragma once
// Files and folders. Every name is matched without regard to case: ResolvePath walks a path
// component by component against the real directory entries, so "CardSets/standard/back1.BMP"
// finds "Cardsets/Standard/Back1.bmp". Components that do not exist keep the spelling given.

#include <cstdint>
#include <string>
#include <vector>

// The path with each existing component replaced by its spelling on disk.
std::string ResolvePath(const std::string& path);

// Joins with exactly one "/" between the parts; an empty part is skipped.
std::string PathJoin(const std::string& a, const std::string& b);
template <typename... Rest>
std::string PathJoin(const std::string& a, const std::string& b, const Rest&... rest) {
  return PathJoin(PathJoin(a, b), rest...);
}
// Removes trailing "/" (the root "/" stays).
std::string ExcludeTrailingSeparator(const std::string& path);
// Text up to the last separator ("" when there is none); "/a/b" gives "/a".
std::string ExtractFileDir(const std::string& path);
// Text after the last separator.
std::string ExtractFileName(const std::string& path);
// Extension with its dot, "" when none.
std::string ExtractFileExt(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& ext);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and its missing parents; true when the folder exists afterwards.
bool ForceDirectories(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
bool CopyFile(const std::string& from, const std::string& to);
// Sub-folder names (not paths) in directory order; names beginning with "." are left out unless
// withDotNames (a copy that must take everything asks for them).
std::vector<std::string> ListSubfolders(const std::string& path, bool withDotNames = false);
// File names in a folder, the same way.
std::vector<std::string> ListFiles(const std::string& path, bool withDotNames = false);

// What a file is read as. Each kind has a size cap far above any real file of its kind, so that a
// damaged or hostile file costs a bounded amount of memory and time.
enum class TFileKind {
  Text,           // line files and other text: 16 MiB
  Settings,       // settings files ("Status.Dat", "Options.dat", ...): 4 MiB
  Picture,        // pictures in general (backgrounds, the game's own pictures): 160 MiB
  CardPicture,    // one picture of a card set: 16 MiB
  SourcePicture,  // a photo the card-set maker turns into cards: 1 GiB
};
uint64_t MaxFileSize(TFileKind kind);

// The whole file. Only regular files are read (a FIFO, a device or a folder is refused at once,
// never waited on), and at most MaxFileSize(kind) bytes: a larger file, or one that keeps growing
// while it is read, is refused. Raises EFileError naming the file and saying why.
std::string ReadFileText(const std::string& path, TFileKind kind);
std::vector<uint8_t> ReadFileBytes(const std::string& path, TFileKind kind);
// As above as text.
std::string ReadFileText(const std::string& path);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// Replaces the file in one step: the data goes to a new temporary file beside the target (created
// exclusively), is flushed to the disk, and is renamed over the target; the folder is flushed too.
// A target that is a symbolic link is written through it (the link stays); an existing target's
// permissions are kept. Temporaries that a killed writer left behind for this target are removed
// after a successful write. Raises EFileError naming the file on failure; the old file is then
// untouched and no temporary is left.
void WriteFileAtomic(const std::string& path, const std::string& data);

// Sets a damaged file aside beside itself without replacing one set aside before: path + suffix,
// else path + suffix + "2", "3" and so on. Returns the new path, or "" when the file stays where it
// is (it cannot be renamed, or 99 damaged copies are kept already).
std::string SetFileAside(const std::string& path, const std::string& suffix = ".bad");

// Flushes a folder's entries (names created, renamed or removed in it) to the disk; a file system
// that cannot is passed over.
void SyncFolder(const std::string& path);

// A process of this id (another than this one) has ended: what it left half-written may go.
bool ProcessGone(long pid);
// One to ten decimal digits and nothing else (a process id in a file name).
bool AllDigits(const std::string& s);

// Removes the temporaries that writers killed halfway left in folder (and, depth levels down, in
// its sub-folders): WriteFileAtomic's ".<name>.tmp<process>-<letters>" of a process that is gone.
// Answers how many went.
int RemoveStaleTemporaries(const std::string& folder, int depth = 0);

// Removes a file that a download left when it was cut short ("<name>.part"), unless a running
// download still holds it (a download keeps its part file locked while it writes). True when the
// file is gone.
bool RemoveStalePartFile(const std::string& path);

// The calls that make a write last: flushing a file's data and renaming the temporary over the
// target. Tests record them to check their order; {} (or a null member) restores the system's.
struct TDurableCalls {
  int (*Sync)(int fd) = nullptr;
  int (*Rename)(const char* from, const char* to) = nullptr;
};
TDurableCalls SetDurableCallsForTesting(TDurableCalls calls);

// Test hook: called at each step of WriteFileAtomic ("open", "write", "sync", "rename") with the
// temporary's path. nullptr (the default) calls nothing.
using TAtomicWriteProbe = void (*)(const char* step, const std::string& temporary);
void SetAtomicWriteProbeForTesting(TAtomicWriteProbe probe);

// The folder of the running program, without a trailing separator.
std::string ProgramDir();
// Overrides ProgramDir (tests); an empty value restores the real one.
void SetProgramDirForTesting(const std::string& dir);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dir);
std::string GetEnv(const std::string& name);
