#include "patience/files/Trace.h"

#include <QLocale>
#include <QTime>

#include <cctype>
#include <fstream>

#include "cardtable/SystemDirs.h"
#include "patience/files/DataFolder.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"

std::unique_ptr<TStringList> TraceList;
int TraceDepth = 0;

namespace {

// The running trace is the player's (saved line by line), not the start-up trace.
bool UserTrace = false;
// Lines of the user trace already in "debug.txt".
int SavedLines = 0;
std::function<void(const std::string&)> TestHook;

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  if (s.size() <= prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// Appends the lines not yet written; a failed write is tried again with the next line.
void AppendUnsavedLines() {
  if (SavedLines > TraceList->Count()) SavedLines = 0;
  const std::string folder = TraceFolder();
  if (folder.empty()) return;
  const std::string path = ResolvePath(PathJoin(folder, kDebugTraceFile));
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return;
  std::string text;
  for (int i = SavedLines; i < TraceList->Count(); ++i) text += (*TraceList)[i] + "\r\n";
  out << text;
  out.flush();
  if (out) SavedLines = TraceList->Count();
}

}  // namespace

std::string TraceFolder() {
  if (!DesktopDir.empty() && (DirectoryExists(DesktopDir) || ForceDirectories(DesktopDir))) return DesktopDir;
  const std::string home = GetEnv("HOME");
  if (!home.empty() && DirectoryExists(home)) return home;
  const std::string data = DataFolder();
  return DirectoryExists(data) ? data : std::string();
}

void SetTraceHookForTesting(std::function<void(const std::string& Msg)> hook) {
  TestHook = std::move(hook);
}

void Trace(const std::string& Msg) {
  if (!TraceList) return;
  if (TestHook) TestHook(Msg);
  if (StartsWithNoCase(Msg, "Start")) {
    ++TraceDepth;
    TraceList->Add(" ");
  }
  const std::string time =
      QLocale().toString(QTime::currentTime(), QLocale::LongFormat).trimmed().toStdString();
  TraceList->Add(std::string(TraceDepth > 0 ? 3 * TraceDepth : 0, ' ') + Msg + " " + time);
  if (StartsWithNoCase(Msg, "Exit")) {
    --TraceDepth;
    TraceList->Add(" ");
  }
  if (UserTrace) AppendUnsavedLines();
}

void StartStartupTrace(const std::string& programPath) {
  TraceList = std::make_unique<TStringList>();
  TraceDepth = 0;
  SavedLines = 0;
  UserTrace = false;
  TraceList->Add(kStartupTraceHeader);
  TraceList->Add(programPath);
  TraceList->Add(VersionText);
  TraceList->Add(std::to_string(ProgramId));
  TraceList->Add("");
}

bool StartUserTrace(const TStringList& optionLines) {
  if (TraceList) return false;
  TraceList = std::make_unique<TStringList>();
  TraceDepth = 0;
  SavedLines = 0;
  UserTrace = true;
  const std::string folder = TraceFolder();
  const std::string file = folder.empty() ? std::string() : PathJoin(folder, kDebugTraceFile);
  if (!file.empty() && FileExists(file) && TraceList->TryLoadFromFile(ResolvePath(file)))
    SavedLines = TraceList->Count();
  else
    TraceList->Clear();
  TraceList->Add("-----------------");
  TraceList->Add(VersionText);
  TraceList->Add("Id: " + std::to_string(ProgramId));
  TraceList->Add("");
  TraceList->Add("Options:");
  for (const std::string& line : optionLines.Lines) TraceList->Add(line);
  TraceList->Add("-- -- -- -- -- --");
  Trace("Trace Started.");
  return true;
}

void StopTrace() {
  TraceList.reset();
  TraceDepth = 0;
  SavedLines = 0;
  UserTrace = false;
}

std::string WriteErrorReport(const std::string& where) {
  if (!TraceList) StartStartupTrace(ProgramDir());
  TStringList& list = *TraceList;
  list.Add("Exception in " + where);
  // Folded into its first line.
  while (list.Count() > 1) {
    list[0] = list[0] + "\r\n" + list[1];
    list.Delete(1);
  }
  const std::string folder = TraceFolder();
  if (!folder.empty()) {
    // A report to read, not a line file: its line breaks stay.
    try {
      WriteFileAtomic(ResolvePath(PathJoin(folder, kErrorReportFile)), list[0] + "\r\n");
    } catch (const Exception&) {
    }
  }
  return list[0];
}
