#pragma once
// The game's debug trace: one list of text lines. During start-up it is the start-up trace, kept
// in memory for the error report; a trace the player starts from the Debug menu is saved to
// "debug.txt" on the desktop after every line. A line beginning "Start" opens a nesting level,
// one beginning "Exit" closes it; nested lines are indented three spaces a level.
//
// The user trace is appended to its file line by line (the file of an earlier session is loaded
// first and kept, so the file always equals the list); nothing in Trace pumps events, so a traced
// move or deal is never entered again from inside its own trace line.

#include <functional>
#include <memory>
#include <string>

#include "platform/core/StringList.h"

// The first line of a start-up trace (a user trace never begins with it).
inline constexpr const char* kStartupTraceHeader = "Patience fatal exception trace";
// The program's version as the trace, the about box and the scrolling text show it.
inline constexpr const char* VersionText = "v 2.51";
inline constexpr const char* kDebugTraceFile = "debug.txt";
inline constexpr const char* kErrorReportFile = "PatienceErrorReport.txt";

// Null while no trace runs.
extern std::unique_ptr<TStringList> TraceList;
extern int TraceDepth;

// Appends one line (with the time) to the running trace; does nothing while none runs.
void Trace(const std::string& Msg);
// Whether a trace runs (TraceList is not null).
inline bool Tracing() {
  return TraceList != nullptr;
}

// Tests hear every traced message (while a trace runs), whatever becomes of the list; an empty
// function ends it.
void SetTraceHookForTesting(std::function<void(const std::string& Msg)> hook);

// The folder "debug.txt" and the error report go to: the desktop (made when missing), else the
// home folder, else the data folder.
std::string TraceFolder();

// Starts the start-up trace with its five header lines: the header, the program's path, the
// version, the program id, an empty line. Replaces any running trace.
void StartStartupTrace(const std::string& programPath);
// Starts the player's trace: an existing "debug.txt" is loaded and the new trace goes on after
// it; then the separator, the version, "Id: " and the id, an empty line, "Options:", the option
// lines, "-- -- -- -- -- --" and the line "Trace Started.". False, and nothing done, while a
// trace runs.
bool StartUserTrace(const TStringList& optionLines);
// Ends the trace (the start-up trace at the end of the first activation, the user trace when the
// window closes); the list is freed.
void StopTrace();

// The error report of a start-up failure in where ("FormCreate" or "FormActivate"): the line
// "Exception in " + where is added, the list folded into one text (its lines joined by CR LF)
// and saved as "PatienceErrorReport.txt" in the trace folder. Returns the folded text; with no
// trace running, a list is made of the header and that line. A failing save is ignored.
std::string WriteErrorReport(const std::string& where);
