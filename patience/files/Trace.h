#pragma once
// The game's debug trace: one list of text lines. During start-up it is the start-up trace, kept
// in memory for the error report; a trace the player starts from the Debug menu is saved to
// "debug.txt" on the desktop after every line. A line beginning "Start" opens a nesting level,
// one beginning "Exit" closes it; nested lines are indented three spaces a level.

#include <memory>
#include <string>

#include "platform/core/StringList.h"

// The first line of a start-up trace (a user trace never begins with it).
inline constexpr const char* kStartupTraceHeader = "Patience fatal exception trace";

// Null while no trace runs.
extern std::unique_ptr<TStringList> TraceList;
extern int TraceDepth;

// Appends one line (with the time) to the running trace; does nothing while none runs.
void Trace(const std::string& Msg);
