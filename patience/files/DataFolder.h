#pragma once
// The game's data folder: every file the game writes for its player lives in one folder, chosen
// among three places. The card-set maker finds the same folder the same way.
//
// Until the start-up step has decided it, DataLocation is 0 and DataFolder() gives the documents
// folder's "Patience" (the three-way test's "any other value").

#include <string>

// 0 not decided, 1 the program folder, 2 the documents folder + "/Patience", 3 the local
// application data folder + "/Patience".
extern int DataLocation;

// The version that last wrote "Player.dat" (its line 1), and the lowest that is still read.
inline constexpr int ProgramId = 2051;
inline constexpr int MinPlayerId = 2;

// The folder of a location by the three-way test: 3 local application data + "/Patience",
// 1 the program folder, any other value the documents folder + "/Patience". No trailing "/".
std::string DataFolderOf(int location);
// The folder of the current DataLocation.
std::string DataFolder();
