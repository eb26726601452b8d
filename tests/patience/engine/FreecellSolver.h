#pragma once
// The solver fc-solve (Debian package freecell-solver-bin) as a judge and a player of the free-cell
// games: the engine's position in the solver's board format, a solution, and each solver move as a
// history record of the engine.

#include <string>
#include <vector>

#include "tests/patience/engine/PlayTestUtil.h"

// The solver's program, or "" when it is not installed.
std::string SolverPath();

// The position in the solver's board format: the foundations' tops, the free cells by slot ("-"
// empty), then one line per column, bottom card first.
std::string SolverBoard(const TPatienceEngine& e);

struct TSolution {
  bool Solved = false;
  std::vector<std::string> Moves;
};
// Solves a board with the solver's options ("-g freecell").
TSolution Solve(const std::string& board, const std::string& options);

// The foundation a card goes to: the one its suit is built on, or the first empty one for an Ace;
// -1 when none takes it.
int FoundationFor(const TPatienceEngine& e, const TCard* c);

// One solver move as a record of the engine; false when the line names no card the engine has.
bool SolverRecord(const TPatienceEngine& e, const std::string& line, TRecord& rec);
