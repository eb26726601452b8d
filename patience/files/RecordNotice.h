#pragma once
// Records the game keeps for the player that could not be written (a full or read-only disk, a
// folder that is gone): the player is told once per kind of file, with the reason, by a notice
// that does not stop play; later failures of that kind are only traced.

#include <string>

class TStringList;

enum class TRecordKind {
  Statistics,  // a game's counts and high scores ("Data/<game>.dat", "<game>_HS.dat")
  PlayerName,  // "Player.dat"
  Scoring,     // "Scoring.dat"
  Favourites,  // "fav.dat"
};

// Tells the player, the first time for this kind in a run, that a record could not be saved and
// why (reason names the file and the system's answer).
void ReportRecordNotSaved(TRecordKind kind, const std::string& reason);
// Saves lines to path; a failure is reported as above. True when saved.
bool SaveRecord(const TStringList& lines, const std::string& path, TRecordKind kind);

// Tests: every kind is told again.
void ResetRecordNoticesForTesting();
