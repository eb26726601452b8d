#pragma once
// Saved games: a ".ppg" file in the data folder's "Save Games" subfolder holds the text of a
// game's move history, CR LF lines:
//   line 0        the game's caption, exactly as the game menus show it
//   line 1        the seed of the deal, decimal
//   line 2        "0" for a closed game, anything else (the game writes "O") for an open one
//   3+4k .. 6+4k  move k: source kind (0..7), source pile, card index, target drop index
// Opening a game deals it again from the seed and replays the moves, so a file is checked whole
// before anything is dealt: a damaged or cut file is refused, never half replayed.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/core/StringList.h"

inline constexpr const char* kSaveGamesFolder = "Save Games";
inline constexpr const char* kSavedGameFilter = "Patience games (*.ppg)";
// A saved game larger than this is no file this game wrote.
inline constexpr std::uintmax_t kMaxSavedGameBytes = 16u << 20;

// The data folder's "Save Games".
std::string SaveGamesFolder(const std::string& dataDir);

// A saved game that passed the check: its lines, and the seed read from line 1.
struct TSavedGame {
  TStringList Lines;
  uint32_t Seed = 0;
  bool Closed = false;  // line 2 is "0"
  int Moves() const { return (Lines.Count() - 3) / 4; }
};

// A seed line: a decimal from -2^31 to 2^32 - 1 (the game writes it signed), wrapped to 32 bits.
std::optional<uint32_t> ParseSeed(const std::string& line);

// Checks the lines of a saved game: three header lines, a game that knowGame accepts, a seed,
// and whole move records of four numbers with a kind of 0..7. Answers the game, or nothing with
// the reason in error.
std::optional<TSavedGame> CheckSavedGame(const TStringList& lines,
                                         const std::function<bool(const std::string&)>& knownGame,
                                         std::string& error);
// Reads and checks a file (missing, unreadable and oversized files are refused too).
std::optional<TSavedGame> ReadSavedGame(const std::string& path,
                                        const std::function<bool(const std::string&)>& knownGame,
                                        std::string& error);

// Writes the history to path through a temporary file (the old file stays whole on failure).
// False with the reason in error when it could not be written.
bool WriteSavedGame(const std::string& path, const TStringList& history, std::string& error);

// Marks the game of a saved-game file closed: line 2 becomes "0" when it is not already (a
// missing or unreadable file is left alone).
void CloseGameFile(const std::string& path);

// Deletes every ".ppg" file (extension in any case) in folder and all its subfolders; folders
// stay. Answers how many files were deleted.
int DeleteSavedGames(const std::string& folder);

// The name the save dialog proposes: the game's name, a blank, the date and the time, with
// every "/" and ":" turned into "-" (and no other character that cannot stand in a file name).
std::string ProposedSaveName(const std::string& gameName, const std::string& dateTime);
