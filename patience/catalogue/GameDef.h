#pragma once
// One game of the catalogue as data: the values its setup stores in the rules record, with the
// pile places as formulas over the layout variables. A field left at its default here is one
// the game does not set, so it keeps the value ClearRules gives it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "patience/catalogue/PlaceExpr.h"
#include "patience/engine/Rules.h"

// DealMode of a game that does not write it.
constexpr int kDealModeNotSet = -1;

struct TTableauDef {
  int Count = 0;
  std::vector<int> CardsPerPile;     // empty: one card a pile
  std::vector<int> FaceDownPerPile;  // empty: the ClearRules value
  int LeftEmpty = 0;
  TPlaces Places;  // exactly Count places
  TPileRules Rules;
};

struct TFoundationsDef {
  int Count = 0;
  TPlaces Places;             // exactly Count places
  std::vector<float> Angles;  // radians; empty for all but the clock games and One Foundation
  TPileRules Rules;
};

struct TReserveDef {
  int Count = 0;
  bool FreeCells = false;
  bool FaceUp = false;
  bool VerticalFan = false;
  bool AllPlayable = false;
  bool CellsVertical = false;
  int DealtToCells = 0;
  std::optional<TPlacePoint> Origin;  // none: (0, 0)
};

struct TStockDef {
  int Decks = 0;  // 2: two packs
  int DealCount = 0;
  int PassesAllowed = 1;  // 0: unlimited
  TPileRules Rules;
  std::optional<TPlacePoint> Point;
  std::optional<TPlacePoint> WastePoint;
  bool StockFromTop = false;
};

struct TExceptPilesDef {
  int Count = 0;
  std::vector<int> CardsPerPile;
  bool FaceUp = false;
  bool ByPositionTable = false;
  TPlaces Positions;
};

struct TGameDef {
  int Entry = 0;         // catalogue number, 1..159
  std::string Name;      // the menu caption and the key of saved games and statistics
  std::string HelpCode;  // help topic "pati" + code
  int Picture = 0;       // "GameImages/<n>.jpg"
  int DealMode = kDealModeNotSet;
  TTableauDef Tableau;
  TFoundationsDef Foundations;
  TReserveDef Reserve;
  TStockDef Stock;
  TExceptPilesDef Except;
  TGameSpecial Special = TGameSpecial::None;
};
