#pragma once
// Helpers shared by the catalogue tests.

#include <string>

#include "patience/catalogue/Catalogue.h"

// The layout variables for a 71 x 96 card at factor 1.0: LeftMargin 15, TopMargin 15,
// SecondRowY 170, ColumnStep 102, RowStep 155 (a default TLayoutVars).
inline const TLayoutVars kDefaultLayout{};

// A fresh record with the game set up as a menu choice does it.
inline TGameRules Applied(const TGameRef& game, const TLayoutVars& vars = kDefaultLayout) {
  TGameRules rules;
  ApplyRules(game, rules, false);
  ComputePlaces(game, vars, rules);
  return rules;
}

inline TGameRef Game(const std::string& caption) {
  auto game = FindGame(caption);
  if (!game) throw std::runtime_error("no game " + caption);
  return *game;
}
