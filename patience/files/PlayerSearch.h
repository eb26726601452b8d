#pragma once
// Where "Player.dat" lies: the mark of the game's data folder. Both programs look in the same three
// places, in this order: the local application data folder + "/Patience" (location 3), the
// documents folder + "/Patience" (2), the program folder (1). The first found wins.

#include <string>

// The location of the first "Player.dat" found, 0 when there is none. Path (when given) receives
// the file as it is spelt on disk.
int PlayerDatLocation(std::string* Path = nullptr);
