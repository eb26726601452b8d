#pragma once
// Opening a saved game on the play engine: the game is dealt again from the file's seed and
// every recorded move is replayed through the same handling as the player's own presses and
// drops, with the table's animations at top speed. Needs no window: the main window's Open
// command and the tests both come here once the file has passed its check.

#include <memory>
#include <string>

#include "patience/engine/PatienceEngine.h"
#include "patience/files/SavedGame.h"

// Whether a caption names a game of the menus (the check a saved game's first line must pass).
bool IsMenuGame(const std::string& caption);

// Reads and checks a saved-game file against the games of the menus.
std::optional<TSavedGame> ReadMenuSavedGame(const std::string& path, std::string& error);

// The table at replay speed for the life of the object: moves 64 times faster, turns without
// animation, no lift, no slow-move region, no wait for the next frame, each step copying only
// what it changed. Everything is put back afterwards.
class TReplaySpeed {
 public:
  explicit TReplaySpeed(TCardTable* table);
  ~TReplaySpeed();
  TReplaySpeed(const TReplaySpeed&) = delete;
  TReplaySpeed& operator=(const TReplaySpeed&) = delete;

 private:
  struct TSaved;
  std::unique_ptr<TSaved> FSaved;
};

// Deals the saved game's game from its seed and replays its moves; the game in play is then
// the file's (SaveName = path), open or closed as the file says, with the caption that tells
// which. False, with nothing dealt, when its game cannot be started.
bool ReplaySavedGame(TPatienceEngine& engine, const TSavedGame& game, const std::string& path);

// The window caption of a game: "Patience. Game: " + the file's name (or the game's name when
// there is no file) + "  [Open Game]" or "  [Closed Game]".
std::string GameCaptionText(const std::string& gameName, const std::string& saveName, bool closed);
