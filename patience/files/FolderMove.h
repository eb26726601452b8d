#pragma once
// Moving the game's data from one folder to another as one transaction.
//
// Everything is first copied into a hidden folder in the new place (kMoveFolder + "/copy") and
// flushed to the disk; nothing the player uses is touched yet. Then the journal is written beside
// the copies: from that moment the move is decided. The copies are renamed into place, a file of
// the new place that one of them replaces being kept aside (kMoveFolder + "/replaced") until the
// move is done, and "Player.dat", the file that makes the new place current, comes last of all.
// Then the old files go, "Player.dat" first, and the hidden folder with them.
//
// A start that finds the hidden folder in one of the three places finishes the move when its
// journal was written and takes the copies away when it was not, so the next start is on the old
// folder or on the new one, complete either way. A move whose old "Player.dat" cannot be deleted
// (a read-only old folder) names the old folder in the new place's kMovedFromFile, and the search
// for "Player.dat" passes over it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/StringList.h"

inline constexpr const char* kMoveFolder = ".Patience-move";

struct TFolderMove {
  std::string Old;
  std::string New;
  std::vector<std::string> Files;          // names of files of Old to take, those present
  std::vector<std::string> Folders;        // names of folders of Old to take whole, every entry in them
  bool CardSets = true;                    // Old/CardSets: the user sets ("U_") whole, other sets' card backs
  bool Player = false;                     // "Player.dat" too, installed last
  std::optional<TStringList> PlayerLines;  // the new "Player.dat", in place of Old's
  bool RemoveOld = false;                  // Old itself goes when the move leaves it empty
};

// True when the move is done. False when nothing changed: a copy failed and the player was told
// (a beep and kFileHandlingError); the old folder stays complete and in use. Old files that cannot
// be deleted after the move are told the same way and stay; the move is done all the same. The
// move holds the data lock (DataLock.h); when another process keeps it, the player is told that
// instead and nothing changes.
bool MoveFolder(const TFolderMove& move);

// At start-up, before "Player.dat" is searched: finishes a move that was decided, or takes back
// the copies of one that was not, in each of the three places. It holds the data lock, so a move
// that another process is making is never touched: this waits for it to end. Never raises; what
// it does is traced.
void FinishDataMoves();

// A user card set: a folder whose name begins with "U_" in either case.
bool IsUserSetFolder(const std::string& name);

// Tests: called before each step of a move ("journal", "install <path>", "player", "installed",
// "delete <path>") with the path relative to its folder; answering false makes that step fail.
// An empty hook brings the plain steps back; returns the hook it replaced.
using TMoveStepHook = std::function<bool(const std::string& step)>;
TMoveStepHook SetMoveStepHookForTesting(TMoveStepHook hook);
