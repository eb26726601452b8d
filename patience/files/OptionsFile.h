#pragma once
// "Options.dat": the game's own seven option lines in the data folder. Line 0 auto move, 1 sound,
// 2 scoring and statistics, 3 winning animation, 4 card scale step, 5 game layout, 6 animated
// redeals. Further lines stay as they are.
//
// On reading, each line is checked alone: a missing line, or one that holds none of its values,
// takes its default and leaves the others as they were. Line 0 keeps "on" and "off" in any case
// (and then counts as off unless it reads exactly "On").

#include <string>
#include <vector>

#include "platform/core/StringList.h"

inline constexpr int kOptionLineCount = 7;
inline constexpr const char* kOptionsFileName = "Options.dat";

// The default of a line; FastMode makes the layout "Compact" and animated redeals "Off".
std::string OptionDefault(int line, bool FastMode);
// Whether a line's text is one of its values.
bool ValidOptionLine(int line, const std::string& text);
// Gives every bad or missing line of 0..6 its default; returns the lines changed.
std::vector<int> RepairOptionLines(TStringList& Lines, bool FastMode);
// The lines of Folder/"Options.dat" (all defaults when it is missing or unreadable), repaired.
TStringList LoadOptionLines(const std::string& Folder, bool FastMode, std::vector<int>* Repaired = nullptr);
// Line 4 as a step (1 when it is no step).
int OptionScaleStep(const TStringList& Lines);
