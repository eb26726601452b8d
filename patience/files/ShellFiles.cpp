#include "patience/files/ShellFiles.h"

#include <filesystem>
#include <system_error>

#include "platform/core/Files.h"

namespace fs = std::filesystem;

namespace {

TFileStepHook& StepHook() {
  static TFileStepHook hook;
  return hook;
}

bool StepAllowed(int mode, const std::string& source, const std::string& target) {
  const TFileStepHook& hook = StepHook();
  return !hook || hook(mode, source, target);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

bool SamePath(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

bool CopyOneFile(const std::string& source, const std::string& target, TCopyJournal& journal) {
  if (SamePath(source, target)) return false;
  if (!StepAllowed(1, source, target)) return false;
  const bool existed = Exists(target);
  if (!CopyFile(source, target)) return false;
  if (!existed) journal.Created.push_back(target);
  return true;
}

bool MakeFolder(const std::string& path, TCopyJournal& journal) {
  return journal.MakeFolder(path);
}

// Copies source (a file or a folder) to target, folders merged.
bool CopyItem(const std::string& source, const std::string& target, TCopyJournal& journal) {
  if (!IsFolder(source)) return CopyOneFile(source, target, journal);
  if (SamePath(source, target)) return false;
  // A folder must never be copied into itself.
  std::error_code ec;
  const fs::path s = fs::weakly_canonical(source, ec);
  const fs::path t = fs::weakly_canonical(target, ec);
  const std::string ss = s.string() + "/";
  if (t.string().rfind(ss, 0) == 0) return false;
  if (!MakeFolder(target, journal)) return false;
  // Every entry, dot-names too: the folder is deleted whole once the move is done.
  for (const std::string& name : ListSubfolders(source, true))
    if (!CopyItem(PathJoin(source, name), ResolvePath(PathJoin(target, name)), journal)) return false;
  for (const std::string& name : ListFiles(source, true))
    if (!CopyItem(PathJoin(source, name), ResolvePath(PathJoin(target, name)), journal)) return false;
  return true;
}

}  // namespace

bool TCopyJournal::MakeFolder(const std::string& path) {
  if (path.empty()) return false;
  if (IsFolder(path)) return true;
  if (Exists(path)) return false;  // a file stands where the folder should go
  const std::string parent = ExtractFileDir(path);
  if (!parent.empty() && parent != path && !MakeFolder(parent)) return false;
  std::error_code ec;
  if (!fs::create_directory(path, ec) && !IsFolder(path)) return false;
  Created.push_back(path);
  return true;
}

void TCopyJournal::Undo() {
  for (auto it = Created.rbegin(); it != Created.rend(); ++it) {
    std::error_code ec;
    fs::remove(*it, ec);  // a folder goes only when empty
  }
  Created.clear();
}

TFileStepHook SetFileStepHookForTesting(TFileStepHook hook) {
  TFileStepHook old = std::move(StepHook());
  StepHook() = std::move(hook);
  return old;
}

int ShellFiles(const std::vector<std::string>& List, const std::string& Destination, int Mode,
               TCopyJournal* Journal) {
  if (List.empty() || Mode > 1 || Mode < 0) return 1;
  if (Mode == 0) {
    // Every path is tried; the result tells whether all went.
    bool ok = true;
    for (const std::string& item : List) {
      const std::string path = ResolvePath(ExcludeTrailingSeparator(item));
      if (!Exists(path)) continue;
      if (!StepAllowed(0, path, "")) {
        ok = false;
        continue;
      }
      std::error_code ec;
      fs::remove_all(path, ec);
      if (ec) ok = false;
    }
    return ok ? 0 : 1;
  }
  TCopyJournal own;
  TCopyJournal& journal = Journal ? *Journal : own;
  bool ok = !Destination.empty() && MakeFolder(ResolvePath(ExcludeTrailingSeparator(Destination)), journal);
  const std::string dest = ResolvePath(ExcludeTrailingSeparator(Destination));
  for (size_t i = 0; ok && i < List.size(); ++i) {
    const std::string source = ResolvePath(ExcludeTrailingSeparator(List[i]));
    if (!Exists(source)) {
      ok = false;
      break;
    }
    ok = CopyItem(source, ResolvePath(PathJoin(dest, ExtractFileName(source))), journal);
  }
  if (!ok && !Journal) own.Undo();
  return ok ? 0 : 1;
}

bool SameFolder(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  const std::string ra = ResolvePath(ExcludeTrailingSeparator(a));
  const std::string rb = ResolvePath(ExcludeTrailingSeparator(b));
  return IsFolder(ra) && IsFolder(rb) && SamePath(ra, rb);
}

void RemoveEmptyFolder(const std::string& path) {
  if (path.empty()) return;
  const std::string p = ResolvePath(ExcludeTrailingSeparator(path));
  if (!IsFolder(p)) return;
  std::error_code ec;
  fs::remove(p, ec);
}
