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
// Sub-folder names (not paths), dot-names skipped, in directory order.
std::vector<std::string> ListSubfolders(const std::string& path);
// File names in a folder, dot-names skipped.
std::vector<std::string> ListFiles(const std::string& path);

// The whole file; raises EFileError naming the file when it cannot be read.
std::string ReadFileText(const std::string& path);
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Writes a temporary file in the same folder and renames it over the target.
// Raises EFileError naming the file on failure; the old file is then untouched.
void WriteFileAtomic(const std::string& path, const std::string& data);

// The folder of the running program, without a trailing separator.
std::string ProgramDir();
// Overrides ProgramDir (tests); an empty value restores the real one.
void SetProgramDirForTesting(const std::string& dir);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dir);
std::string GetEnv(const std::string& name);
