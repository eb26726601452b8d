#pragma once
// Where "Player.dat" lies: the mark of the game's data folder. Both programs look in the same three
// places, in this order: the local application data folder + "/Patience" (location 3), the
// documents folder + "/Patience" (2), the program folder (1). The first found wins, except over a
// place that a finished move left behind: a move whose old "Player.dat" could not be deleted (a
// read-only old folder) names the old place in the new place's kMovedFromFile, and the search
// passes over a place so named.

#include <string>

#include "platform/core/StringList.h"

// The places a move has left behind but could not clear, one folder a line, in the place moved to.
inline constexpr const char* kMovedFromFile = ".Patience-moved-from";

// The location of the first "Player.dat" found, 0 when there is none. Path (when given) receives
// the file as it is spelt on disk.
int PlayerDatLocation(std::string* Path = nullptr);

// The folders of the three places by location (1, 2, 3), "" for a place that is unknown.
std::string PlaceFolder(int location);

// "Player.dat" from a version that stored a typed name with its line breaks: the name runs over
// several lines before the id. When the file's last line that is not blank is the id of a known
// version (from MinPlayerId to ProgramId) and two or more lines come before it, those lines are
// the name, numbers among them too ("Zoe", "7", "2051" is "Zoe 7"); else, when line 1 is no number
// and a later line is, the lines before that one are the name. The name's lines are joined into
// line 0 with blanks; true when the lines were mended.
bool MendPlayerLines(TStringList& lines);
