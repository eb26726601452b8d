#include "patience/files/OptionsFile.h"

#include <charconv>

#include "platform/core/Files.h"
#include "platform/core/Text.h"

namespace {

bool ParseStep(const std::string& text, int& step) {
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(first, last, step);
  return ec == std::errc() && ptr == last && step >= -2 && step <= 5;
}

bool IsOnOff(const std::string& s) {
  return s == "On" || s == "Off";
}

}  // namespace

std::string OptionDefault(int line, bool FastMode) {
  switch (line) {
    case 4:
      return "1";
    case 5:
      return FastMode ? "Compact" : "Extended";
    case 6:
      return FastMode ? "Off" : "On";
    default:
      return "On";
  }
}

bool ValidOptionLine(int line, const std::string& text) {
  int step = 0;
  switch (line) {
    case 0:
      return SameText(text, "On") || SameText(text, "Off");
    case 1:
    case 2:
    case 6:
      return IsOnOff(text);
    case 3:
      return text == "On" || text == "Stars" || text == "None" || text == "Scribble" || text == "New" ||
             text == "Slide";
    case 4:
      return ParseStep(text, step);
    case 5:
      return text == "Extended" || text == "Compact";
    default:
      return true;
  }
}

std::vector<int> RepairOptionLines(TStringList& Lines, bool FastMode) {
  std::vector<int> changed;
  for (int i = 0; i < kOptionLineCount; ++i) {
    if (i < Lines.Count()) {
      if (ValidOptionLine(i, Lines[i])) continue;
      Lines[i] = OptionDefault(i, FastMode);
    } else {
      Lines.Add(OptionDefault(i, FastMode));
    }
    changed.push_back(i);
  }
  return changed;
}

TStringList LoadOptionLines(const std::string& Folder, bool FastMode, std::vector<int>* Repaired) {
  TStringList lines;
  const std::string path = PathJoin(Folder, kOptionsFileName);
  if (!Folder.empty() && FileExists(path) && !lines.TryLoadFromFile(path)) lines.Clear();
  std::vector<int> changed = RepairOptionLines(lines, FastMode);
  if (Repaired) *Repaired = std::move(changed);
  return lines;
}

int OptionScaleStep(const TStringList& Lines) {
  int step = 1;
  if (Lines.Count() > 4 && ParseStep(Lines[4], step)) return step;
  return 1;
}
