#pragma once
// Finding the data folder at start-up and moving it to another place.
//
// "Player.dat" marks the data folder: it is searched in the local application data folder's
// "Patience", then the documents folder's "Patience", then the program folder, and the first
// found decides. Its line 1 is the id of the version that last wrote it; a too old or unreadable
// id resets the configuration. The first run asks where the data goes ("Save Data Location").
//
// A move is one transaction (FolderMove.h): everything is copied and flushed before anything of the
// new place changes, "Player.dat" arrives there last, and the old files go only after it; a move
// that fails, or a run stopped part way, leaves the old folder or the new one complete and in use.
// The same folder reached under two spellings is never moved onto itself.

#include <string>
#include <vector>

class QWidget;
class TCardDeck;
class TStringList;

inline constexpr const char* kFileHandlingError =
    "File handling error. Change Save Data Location using an administrative account.";

// The user card sets folder of a location: none for the program folder (its own "CardSets" holds
// them), else the location's folder + "/CardSets" (documents for 2, local application data
// otherwise).
std::string UserCardsetsDirOf(int location);

// Adds Folder/name for every file of Folder whose name contains "back" in any case.
void CollectCardBackFiles(const std::string& Folder, std::vector<std::string>& List);

// Copies the user card sets (folders beginning "U_" in either case) of Old/CardSets whole, and the
// card-back files of every other set, into New/CardSets; then deletes from Old the user sets, and,
// unless Old is the program folder, the copied back files (a standard set's folder goes only when
// that leaves it empty, and so does Old/CardSets). Nothing changes when a copy fails: the result
// is false and the player was told.
bool MoveCardSets(const std::string& OldFolder, const std::string& NewFolder);

// Start-up only: moves the data of one location's folder to another's, "Player.dat" last (as
// playerLines when given). False when the copy failed: the player was told and nothing changed.
bool MoveDataFiles(int FromLocation, int ToLocation, const TStringList* playerLines = nullptr);

// The start-up step of the game's window: decides DataLocation from "Player.dat" (asking on the
// first run), brings older files along, creates "Data" on the first run and gives the deck its
// user card sets folder. It runs holding the data lock (DataLock.h): false when another start or
// move kept it all the wait, the player was told and nothing was touched (the program ends then).
// Never raises; every failure is traced.
bool FindDataFolder(TCardDeck* Deck, bool FastMode, QWidget* Owner = nullptr);

// The card-set maker's start-up step, holding the data lock too: a move a stopped run left is
// finished or taken back, then Location := the location of "Player.dat" (0 when there is none).
// False when another start or move kept the lock (the player was told; Location is 0).
bool FindMakerDataLocation(int& Location);

// Options > Change Save Data Location, for the game and for the card-set maker: asks with
// "Save Data Location" and moves every data file, the saved games, the statistics and the user
// card sets there, holding the data lock while they move (when another start or move keeps it,
// the player is told and nothing moves). Busy (the game's flag; null for the maker) is set while
// files move. Deck gets the new user card sets folder. The paths in Follow (the open saved game's,
// say) that named files of the old folder name them in the new one afterwards. True when the data
// folder changed.
bool ChangeSaveDataLocation(TCardDeck* Deck, bool* Busy = nullptr, QWidget* Owner = nullptr,
                            const std::vector<std::string*>& Follow = {});

// Where a file inside the folder Old is after a move of Old to New ("" for a file outside Old).
std::string MovedPath(const std::string& path, const std::string& Old, const std::string& New);
