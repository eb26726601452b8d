// The catalogue: one row per game, in catalogue order, each in a function of its own (one
// function for all of them takes the compiler minutes). Klondike (4) and Freecell NxM (102) take
// inputs and are built in CatalogueInputs.cpp. Places use the notation of CatalogueDsl.h: LM, TM,
// SRY, CS and RS are LeftMargin, TopMargin, SecondRowY, ColumnStep and RowStep; c and r are the
// column and row of a run.

#include <iterator>

#include "patience/catalogue/CatalogueDsl.h"
#include "patience/catalogue/CatalogueRows.h"

using namespace catalogue_dsl;

// Rows name only the fields a game sets; the rest keep their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Layouts several games share.

// used by 2, 40, 49, 60
const TPlaces kFourSeasonsCross = {At(LM + 3 * CS, TM), ForC(LM + c * CS, TM + RS, 2, 4),
                                   At(LM + 3 * CS, TM + 2 * RS)};

// used by 2, 40, 49, 60, 139
const TPlaces kFourSeasonsCorners = {Grid(LM + 2 * CS + c * (2 * CS), TM + r * (2 * RS), 0, 1, 0, 1)};

// used by 28, 34, 77, 89, 90, 136
const TPlaces kSevenAndSixRows = {ForC(LM + c * CS, TM, 1, 7), ForC(LM + c * CS, TM + 2 * RS + 40, 1, 6)};

// used by 37, 87
const TPlaces kCongressTableau = {ForR(LM + 2 * CS, TM + r * RS, 0, 3), ForR(LM + 5 * CS, TM + r * RS, 0, 3)};

// used by 37, 87
const TPlaces kCongressFoundations = {ForR(LM + 3 * CS, TM + r * RS, 0, 3),
                                      ForR(LM + 4 * CS, TM + r * RS, 0, 3)};

// used by 38, 39, 86, 96
const TPlaces kTwoRowsOfSix = {Grid(LM + c * CS, TM + r * (2 * RS + 40), 0, 1, 2, 7)};

// used by 38, 39, 86, 89, 90, 96
const TPlaces kTwoFoundationColumns = {ForR(LM + 8 * CS, TM + r * (RS + 20), 0, 3),
                                       ForR(LM + 9 * CS, TM + r * (RS + 20), 0, 3)};

// used by 91, 95
const TPlaces kCastleWings = {ForR(LM, TM + r * RS, 0, 3), ForR(LM + 5 * CS + 45, TM + r * RS, 0, 3)};

// used by 97, 98, 99, 100, 101, 156
const TPlaces kFanOfEighteen = {
    ForC(LM + c * (2 * CS), TM + RS - 20, 0, 4), ForC(LM + c * (2 * CS), TM + 2 * RS - 30, 0, 4),
    ForC(LM + c * (2 * CS), TM + 3 * RS - 40, 0, 4), ForC(LM + c * (2 * CS), TM + 4 * RS - 50, 0, 2)};

// used by 114, 115
const TPlaces kClockFace = {At(LM + Rounded(6.6_k * CS), TM + Rounded(0.15_k * RS)),
                            At(LM + Rounded(7.6_k * CS), TM + Rounded(0.9_k * RS)),
                            At(LM + 8 * CS, TM + Rounded(1.75_k * RS)),
                            At(LM + Rounded(7.6_k * CS), TM + Rounded(2.6_k * RS)),
                            At(LM + Rounded(6.6_k * CS), TM + Rounded(3.35_k * RS)),
                            At(LM + 5 * CS, TM + Rounded(3.5_k * RS)),
                            At(LM + Rounded(3.4_k * CS), TM + Rounded(3.35_k * RS)),
                            At(LM + Rounded(2.4_k * CS), TM + Rounded(2.6_k * RS)),
                            At(LM + 2 * CS, TM + Rounded(1.75_k * RS)),
                            At(LM + Rounded(2.4_k * CS), TM + Rounded(0.9_k * RS)),
                            At(LM + Rounded(3.4_k * CS), TM + Rounded(0.15_k * RS)),
                            At(LM + 5 * CS, TM),
                            At(LM + 5 * CS, TM + Rounded(1.75_k * RS))};

const std::vector<float> kClockAngles = {
    -0.5235988f, -1.0471976f, -1.5707964f, -2.0943952f, -2.6179938f, 3.1415927f, 2.6179938f,
    2.0943952f,  1.5707964f,  1.0471976f,  0.5235988f,  0,           0};

// clang-format off
TGameDef Entry1() {
  return {.Entry = 1, .Name = "Canfield", .HelpCode = "4p2c", .Picture = 1, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromReserve, FromWaste,
                                DragWholePile, RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 13, .FaceUp = true},
          .Stock = {.DealCount = 3, .PassesAllowed = 0}};
}

TGameDef Entry2() {
  return {.Entry = 2, .Name = "Four Seasons", .HelpCode = "7wqb", .Picture = 2, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 5, .Places = kFourSeasonsCross,
                      .Rules = {DownByOne, KingOnAce, AnySuit, Squared, FromTableau, FromWaste}},
          .Foundations = {.Count = 4, .Places = kFourSeasonsCorners,
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry3() {
  return {.Entry = 3, .Name = "Streets", .HelpCode = "6rxv", .Picture = 3, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = {ForC(LM + c*CS, TM + 4*RS - 75, 0, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FanUpward, FromTableau, FromWaste,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry5() {
  return {.Entry = 5, .Name = "Yukon", .HelpCode = "7stq", .Picture = 5, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 6, 7, 8, 9, 10, 11},
                      .FaceDownPerPile = {0, 1, 2, 3, 4, 5, 6}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealPileByPile}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry6() {
  return {.Entry = 6, .Name = "The Demon", .HelpCode = "8xm6", .Picture = 6, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromReserve, FromWaste,
                                DragWholePile, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 40, .FaceUp = true},
          .Stock = {.Decks = 2, .DealCount = 3, .PassesAllowed = 0}};
}

TGameDef Entry7() {
  return {.Entry = 7, .Name = "Flower Garden", .HelpCode = "0vn2", .Picture = 7, .DealMode = dmFastDeal,
          .Tableau = {.Count = 6, .CardsPerPile = {6, 6, 6, 6, 6, 6}, .Places = {ForC(LM + c*CS, SRY, 1, 6)},
                      .Rules = {DownByOne, AnySuit, Fanned, FromReserve, FromTableau, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 16, .FaceUp = true, .VerticalFan = true, .AllPlayable = true}};
}

TGameDef Entry8() {
  return {.Entry = 8, .Name = "Forty Thieves", .HelpCode = "8lkj", .Picture = 8, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry9() {
  return {.Entry = 9, .Name = "Acme", .HelpCode = "3up1", .Picture = 9, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, SameSuit, Fanned, FromReserve, FromWaste, RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Reserve = {.Count = 13, .FaceUp = true},
          .Stock = {.DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry10() {
  return {.Entry = 10, .Name = "Blind Alleys", .HelpCode = "8h4j", .Picture = 10, .DealMode = dmFastDeal,
          .Tableau = {.Count = 6, .CardsPerPile = {3, 3, 3, 3, 3, 3}, .FaceDownPerPile = {2, 2, 2, 2, 2, 2},
                      .Places = {ForC(LM + c*CS, SRY, 1, 6)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry11() {
  return {.Entry = 11, .Name = "Aunt Mary", .HelpCode = "8buh", .Picture = 11, .DealMode = dmFastDeal,
          .Tableau = {.Count = 6, .CardsPerPile = {6, 6, 6, 6, 6, 6}, .FaceDownPerPile = {0, 1, 2, 3, 4, 5},
                      .Places = {ForC(LM + c*CS, SRY, 1, 6)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry12() {
  return {.Entry = 12, .Name = "Blondes and Brunettes", .HelpCode = "4n1v", .Picture = 12,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 9, .Places = {ForC(LM + c*CS, SRY + RS - 30, 1, 9)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromWaste, NoReserveOntoCard,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, SRY - 15, 2, 9)},
                          .Rules = {UpByOne, AceOnKing, AlternateColour, BaseOnly}},
          .Reserve = {.Count = 10, .FaceUp = true, .VerticalFan = true, .Origin = At(LM + 2*CS, -1)},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry13() {
  return {.Entry = 13, .Name = "Board Patience", .HelpCode = "7eat", .Picture = 13, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 5, 5, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, AlternateColour, Fanned, FromTableau,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}}};
}

TGameDef Entry14() {
  return {.Entry = 14, .Name = "Brigade", .HelpCode = "6cbp", .Picture = 14, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, AnySuit, Fanned, FromReserve, FromTableau, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Reserve = {.Count = 13, .FaceUp = true, .VerticalFan = true, .AllPlayable = true,
                      .Origin = At(LM + 7*CS, 0)}};
}

TGameDef Entry15() {
  return {.Entry = 15, .Name = "Deuces", .HelpCode = "6ks3", .Picture = 15, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, KingOnAce, SameSuit, Fanned, FromTableau, FromWaste, DragAnyFaceUp,
                                DealFaceUp, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, EmptyTakesTwo, DealAllBases}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry16() {
  return {.Entry = 16, .Name = "Diplomat", .HelpCode = "9wac", .Picture = 16, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry17() {
  return {.Entry = 17, .Name = "Klondike 3 [Double]", .HelpCode = "1jar", .Picture = 17,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 9, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7, 8, 9},
                      .Places = {ForC(LM + c*CS, SRY, 1, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 0}};
}

TGameDef Entry18() {
  return {.Entry = 18, .Name = "Alaska", .HelpCode = "0qe9", .Picture = 18, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 6, 7, 8, 9, 10, 11},
                      .FaceDownPerPile = {0, 1, 2, 3, 4, 5, 6}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {UpOrDownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealPileByPile}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry19() {
  return {.Entry = 19, .Name = "American Toad", .HelpCode = "5o9w", .Picture = 19, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, KingOnAce, SameSuit, Fanned, FromReserve, FromWaste, DragWholePile,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 20, .FaceUp = true, .VerticalFan = true},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry20() {
  return {.Entry = 20, .Name = "Superior Canfield", .HelpCode = "17ms", .Picture = 20, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromReserve, FromTableau,
                                FromWaste, FromWasteAlways, DragAnyFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 13, .FaceUp = true, .VerticalFan = true},
          .Stock = {.DealCount = 3, .PassesAllowed = 0}};
}

TGameDef Entry21() {
  return {.Entry = 21, .Name = "Strategy", .HelpCode = "88u1", .Picture = 21, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 8, .LeftEmpty = 8, .Places = {ForC(LM + c*CS, SRY, 1, 8)},
                      .Rules = {AnySuit, Fanned, BaseOnly, NoTableauOntoCard}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases, NoStockOntoCard,
                                    OnlyWhenStockEmpty, AutoMoveForced}},
          .Stock = {.DealCount = 1, .Rules = {DragFromDeck}}};
}

TGameDef Entry22() {
  return {.Entry = 22, .Name = "Fortress", .HelpCode = "2htf", .Picture = 22, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 6, 5, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {UpOrDownByOne, SameSuit, Fanned, FromTableau, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry23() {
  return {.Entry = 23, .Name = "Thirteen Up", .HelpCode = "76wg", .Picture = 23, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, KingOnAce, SameSuit, Fanned, FromTableau, FromWaste, DragAnyFaceUp,
                                DealFaceUp, RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, EmptyTakesTwo, DealAllBases}},
          .Reserve = {.Count = 13, .FaceUp = true, .VerticalFan = true, .AllPlayable = true},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry24() {
  return {.Entry = 24, .Name = "Sir Tommy", .HelpCode = "7ho9", .Picture = 24, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 4, .LeftEmpty = 4, .Places = {ForC(LM + c*CS, SRY, 1, 4)},
                      .Rules = {AnySuit, Fanned, BaseOnly, NoTableauOntoCard}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 1, 4)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, AutoMoveForced}},
          .Stock = {.DealCount = 1, .Rules = {DragFromDeck}}};
}

TGameDef Entry25() {
  return {.Entry = 25, .Name = "Lady Betty", .HelpCode = "92ex", .Picture = 25, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 6, .LeftEmpty = 6, .Places = {ForC(LM + c*CS, SRY, 1, 6)},
                      .Rules = {AnySuit, Fanned, BaseOnly, NoTableauOntoCard}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, AutoMoveForced}},
          .Stock = {.DealCount = 1, .Rules = {DragFromDeck}}};
}

TGameDef Entry26() {
  return {.Entry = 26, .Name = "Xantia", .HelpCode = "0n4x", .Picture = 26, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 6, 5, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, SameSuit, Fanned, FromTableau, DragRuns,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, FirstSetsBase}}};
}

TGameDef Entry27() {
  return {.Entry = 27, .Name = "Agnes Sorel", .HelpCode = "4ze4", .Picture = 27, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, KingOnAce, SameColour, Fanned, DragRuns, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry28() {
  return {.Entry = 28, .Name = "Baker's Dozen", .HelpCode = "5mi6", .Picture = 28, .DealMode = dmFastDeal,
          .Tableau = {.Count = 13, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = kSevenAndSixRows,
                      .Rules = {DownByOne, AnySuit, Fanned, DealByRows, DealFaceUp, KingsToBottom}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 8*CS, TM + r*(RS + 20), 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry29() {
  return {.Entry = 29, .Name = "Freecell", .HelpCode = "2r1o", .Picture = 29, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {7, 7, 7, 7, 6, 6, 6, 6},
                      .Places = {ForC(LM + c*CS, SRY, 1, 8)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DragRuns,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 5, 8)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 4, .FreeCells = true, .Origin = At(LM, TM)}};
}

TGameDef Entry30() {
  return {.Entry = 30, .Name = "Baker's Game", .HelpCode = "6h7p", .Picture = 30, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {7, 7, 7, 7, 6, 6, 6, 6},
                      .Places = {ForC(LM + c*CS, SRY, 0, 7)},
                      .Rules = {DownByOne, SameSuit, Fanned, FromReserve, FromTableau, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 4, 7)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 4, .FreeCells = true, .Origin = At(LM - CS, TM)}};
}

TGameDef Entry31() {
  return {.Entry = 31, .Name = "Busy Aces", .HelpCode = "9acz", .Picture = 31, .DealMode = dmFastDeal,
          .Tableau = {.Count = 12, .Places = {Grid(LM + c*CS, SRY + r*RS, 0, 1, 3, 8)},
                      .Rules = {DownByOne, SameSuit, Squared, FromTableau, FromWaste}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry32() {
  return {.Entry = 32, .Name = "Canister", .HelpCode = "0z02", .Picture = 32, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {6, 6, 7, 7, 7, 7, 6, 6},
                      .Places = {ForC(LM + c*CS, SRY, 0, 7)},
                      .Rules = {UpOrDownByOne, AlternateColour, Fanned, EmptyTakesKing, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry33() {
  return {.Entry = 33, .Name = "Carlton", .HelpCode = "13xq", .Picture = 33, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {8, 7, 6, 5, 4, 3, 2, 1},
                      .Places = {ForC(LM + c*CS, TM + 3*RS - 75, 1, 8)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FanUpward, FromTableau, DragRuns,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM + 4*RS - 75, 1, 8)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = -1}};
}

TGameDef Entry34() {
  return {.Entry = 34, .Name = "Castles in Spain", .HelpCode = "3ar2", .Picture = 34, .DealMode = dmFastDeal,
          .Tableau = {.Count = 13, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = kSevenAndSixRows,
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 8*CS, TM + r*(RS + 20), 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry35() {
  return {.Entry = 35, .Name = "Chameleon", .HelpCode = "0wmm", .Picture = 35, .DealMode = dmFastDeal,
          .Tableau = {.Count = 3, .Places = {ForC(LM + c*CS, SRY, 3, 5)},
                      .Rules = {DownByOne, KingOnAce, AnySuit, Fanned, FromReserve, FromWaste, DragWholePile,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 12, .FaceUp = true},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry36() {
  return {.Entry = 36, .Name = "Chessboard", .HelpCode = "58is", .Picture = 36, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 6, 5, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, SameSuit, Fanned, FromTableau,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, FirstSetsBase}}};
}

TGameDef Entry37() {
  return {.Entry = 37, .Name = "Congress", .HelpCode = "15pv", .Picture = 37, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 8, .Places = kCongressTableau,
                      .Rules = {DownByOne, AnySuit, Squared, FromTableau, FromWaste, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = kCongressFoundations,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry38() {
  return {.Entry = 38, .Name = "Corona", .HelpCode = "2pnl", .Picture = 38,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 12, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = kTwoRowsOfSix,
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, DealByRows, DealFaceUp,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = kTwoFoundationColumns,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry39() {
  return {.Entry = 39, .Name = "Courtyard", .HelpCode = "6fz8", .Picture = 39, .DealMode = dmCompactFan,
          .Tableau = {.Count = 12, .Places = kTwoRowsOfSix,
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, DragRuns, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = kTwoFoundationColumns,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry40() {
  return {.Entry = 40, .Name = "Czarina", .HelpCode = "13kx", .Picture = 40, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 5, .Places = kFourSeasonsCross,
                      .Rules = {DownByOne, KingOnAce, AnySuit, Squared, FromTableau, RefillFromStock,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = kFourSeasonsCorners,
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry41() {
  return {.Entry = 41, .Name = "Double Canfield", .HelpCode = "87z8", .Picture = 41, .DealMode = dmFastDeal,
          .Tableau = {.Count = 6, .Places = {ForC(LM + c*CS, SRY, 3, 8)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromReserve, FromWaste,
                                DragWholePile, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 40, .FaceUp = true},
          .Stock = {.Decks = 2, .DealCount = 3, .PassesAllowed = 0}};
}

TGameDef Entry42() {
  return {.Entry = 42, .Name = "Double Rail", .HelpCode = "6jho", .Picture = 42, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 5, .Places = {ForC(LM + c*CS, SRY, 3, 7)},
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, FromWaste, DragAnyFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry43() {
  return {.Entry = 43, .Name = "Easthaven", .HelpCode = "3u0e", .Picture = 43, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3},
                      .FaceDownPerPile = {2, 2, 2, 2, 2, 2, 2}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, DragRuns, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry44() {
  return {.Entry = 44, .Name = "Egyptian Pyramid", .HelpCode = "80mc", .Picture = 44, .DealMode = dmFastDeal,
          .Tableau = {.Count = 15,
                      .Places = {At(LM + 5*CS - Div(CS, 2), TM - 15),
                                 ForC(LM - 2*Div(CS, 2) + c*CS, TM + RS - 30, 5, 6),
                                 ForC(LM - 3*Div(CS, 2) + c*CS, TM + 2*RS - 45, 5, 7),
                                 ForC(LM - 4*Div(CS, 2) + c*CS, TM + 3*RS - 60, 5, 8),
                                 ForC(LM - 5*Div(CS, 2) + c*CS, TM + 4*RS - 75, 5, 9)},
                      .Rules = {RefillEmptyPiles, NoDropTarget}},
          .Foundations = {.Count = 4,
                          .Places = {At(LM + 3*CS, TM + Div(RS, 2)), At(LM + 6*CS, TM + Div(RS, 2)),
                                     At(LM + 2*CS, TM + RS), At(LM + 7*CS, TM + RS)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases, AutoMoveOnRequest}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry45() {
  return {.Entry = 45, .Name = "Eight Off", .HelpCode = "3uxy", .Picture = 45, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {6, 6, 6, 6, 6, 6, 6, 6},
                      .Places = {ForC(LM + c*CS, SRY, 1, 8)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForR(LM, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 8, .FreeCells = true, .DealtToCells = 4, .Origin = At(LM, TM)}};
}

TGameDef Entry46() {
  return {.Entry = 46, .Name = "Emperor", .HelpCode = "4c36", .Picture = 46, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .FaceDownPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry47() {
  return {.Entry = 47, .Name = "Falling Star", .HelpCode = "6qpe", .Picture = 47,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY + RS - 30, 2, 9)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromWaste, NoReserveOntoCard,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, SRY - 15, 2, 9)},
                          .Rules = {UpByOne, AceOnKing, AlternateColour, BaseOnly}},
          .Reserve = {.Count = 11, .FaceUp = true, .Origin = At(LM + 2*CS, -1)},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry48() {
  return {.Entry = 48, .Name = "Fanny", .HelpCode = "3ek9", .Picture = 48, .DealMode = dmFastDeal,
          .Tableau = {.Count = 5, .LeftEmpty = 5, .Places = {ForC(LM + c*CS, SRY, 4, 8)},
                      .Rules = {AnySuit, Fanned, BaseOnly, NoReserveOntoCard, NoTableauOntoCard}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 1, 8)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, AutoMoveForced}},
          .Reserve = {.Count = 12, .FaceUp = true, .VerticalFan = true},
          .Stock = {.Decks = 2, .DealCount = 1, .Rules = {DragFromDeck}}};
}

TGameDef Entry49() {
  return {.Entry = 49, .Name = "Florentine Patience", .HelpCode = "7zmt", .Picture = 49,
          .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 5, .Places = kFourSeasonsCross,
                      .Rules = {DownByOne, KingOnAce, AnySuit, Squared, FromTableau, FromWaste}},
          .Foundations = {.Count = 4, .Places = kFourSeasonsCorners,
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Stock = {.DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry50() {
  return {.Entry = 50, .Name = "Fly", .HelpCode = "93sp", .Picture = 50, .DealMode = dmFastDeal,
          .Tableau = {.Count = 5, .LeftEmpty = 5, .Places = {ForC(LM + c*CS, SRY, 4, 8)},
                      .Rules = {AnySuit, Fanned, BaseOnly, FromTableau, NoReserveOntoCard,
                                NoTableauOntoCard}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 1, 8)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, DealAllBases, FoundationsPlayable,
                                    AutoMoveForced}},
          .Reserve = {.Count = 13, .FaceUp = true, .VerticalFan = true},
          .Stock = {.Decks = 2, .DealCount = 1, .Rules = {DragFromDeck}}};
}

TGameDef Entry51() {
  return {.Entry = 51, .Name = "Fortune's Favor", .HelpCode = "42b6", .Picture = 51, .DealMode = dmFastDeal,
          .Tableau = {.Count = 12, .Places = {Grid(LM + c*CS, SRY + r*RS, 0, 1, 1, 6)},
                      .Rules = {DownByOne, SameSuit, Squared, FromTableau, RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry52() {
  return {.Entry = 52, .Name = "Forty and Eight", .HelpCode = "54dw", .Picture = 52, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {5, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry53() {
  return {.Entry = 53, .Name = "Gargantua", .HelpCode = "4dy9", .Picture = 53, .DealMode = dmFastDeal,
          .Tableau = {.Count = 9, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7, 8, 9},
                      .Places = {ForC(LM + c*CS, SRY, 1, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry54() {
  return {.Entry = 54, .Name = "Giant", .HelpCode = "6t10", .Picture = 54, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragRuns}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, FoundationsPlayable}},
          .Stock = {.Decks = 2, .DealCount = -1}};
}

TGameDef Entry55() {
  return {.Entry = 55, .Name = "Indian", .HelpCode = "7zu6", .Picture = 55, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .FaceDownPerPile = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, NotSameSuit, Fanned, FromTableau, FromWaste, DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry56() {
  return {.Entry = 56, .Name = "Khedive", .HelpCode = "3lnp", .Picture = 56, .DealMode = dmFastDeal,
          .Tableau = {.Count = 25,
                      .Places = {At(LM + 4*CS + Div(CS, 2), TM - 15),
                                 ForC(LM + Div(CS, 2) + c*CS, TM + RS - 30, 3, 5),
                                 ForC(LM + Div(CS, 2) + c*CS, TM + 2*RS - 45, 2, 6),
                                 ForC(LM + Div(CS, 2) + c*CS, TM + 3*RS - 60, 1, 7),
                                 ForC(LM + Div(CS, 2) + c*CS, TM + 4*RS - 75, 0, 8)},
                      .Rules = {RefillEmptyPiles, NoDropTarget}},
          .Foundations = {.Count = 8,
                          .Places = {At(LM + 3*CS, TM - 15), At(LM + 6*CS, TM - 15),
                                     At(LM + 2*CS, TM + Div(RS, 2)), At(LM + 7*CS, TM + Div(RS, 2)),
                                     At(LM + CS, TM + RS), At(LM + 8*CS, TM + RS), At(LM, TM + RS),
                                     At(LM + 9*CS, TM + RS)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, FirstSetsBase, AutoMoveOnRequest}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry57() {
  return {.Entry = 57, .Name = "King Albert", .HelpCode = "0f3o", .Picture = 57, .DealMode = dmFastDeal,
          .Tableau = {.Count = 9, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7, 8, 9},
                      .Places = {ForC(LM + c*CS, SRY, 0, 8)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 4, 7)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 7, .FaceUp = true, .VerticalFan = true, .AllPlayable = true,
                      .Origin = At(0, -1)},
          .Stock = {.Rules = {AlternateStockPlace, StockAtPoint}, .Point = At(LM + 3*CS, TM)}};
}

TGameDef Entry58() {
  return {.Entry = 58, .Name = "Kingdom", .HelpCode = "0d9p", .Picture = 58, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY + RS, 1, 8)},
                      .Rules = {RefillEmptyPiles, NoDropTarget}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, SRY + 2*RS, 1, 8)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, DealOneBase, AutoMoveOnRequest}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry59() {
  return {.Entry = 59, .Name = "Lady Palk", .HelpCode = "7i3v", .Picture = 59, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, AnySuit, Fanned, EmptyTakesKing, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry60() {
  return {.Entry = 60, .Name = "Little Windmill", .HelpCode = "1d9o", .Picture = 60,
          .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 5, .Places = kFourSeasonsCross,
                      .Rules = {DownByOne, AnySuit, Squared, FromTableau, FromWaste}},
          .Foundations = {.Count = 4, .Places = kFourSeasonsCorners,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealOneBase}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry61() {
  return {.Entry = 61, .Name = "Maria", .HelpCode = "0wm9", .Picture = 61, .DealMode = dmFastDeal,
          .Tableau = {.Count = 9, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = {ForC(LM + c*CS, SRY, 1, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry62() {
  return {.Entry = 62, .Name = "Midshipman", .HelpCode = "80mm", .Picture = 62, .DealMode = dmFastDeal,
          .Tableau = {.Count = 9, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .FaceDownPerPile = {2, 2, 2, 2, 2, 2, 2, 2, 2}, .Places = {ForC(LM + c*CS, SRY, 1, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry63() {
  return {.Entry = 63, .Name = "Milligan Harp", .HelpCode = "35dc", .Picture = 63, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7, 8},
                      .Places = {ForC(LM + c*CS, SRY, 1, 8)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragRuns,
                                DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 1, 8)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = -1}};
}

TGameDef Entry64() {
  return {.Entry = 64, .Name = "Number Ten", .HelpCode = "82em", .Picture = 64, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .FaceDownPerPile = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragRuns,
                                DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry65() {
  return {.Entry = 65, .Name = "Octagon", .HelpCode = "7wvi", .Picture = 65, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .CardsPerPile = {5, 5, 5, 5},
                      .Places = {Grid(LM + 2*CS - 20 + c*(2*CS + 40), TM + RS - 20 + r*(2*RS + 40),
                                      0, 1, 0, 1)},
                      .Rules = {DownByOne, SameSuit, Squared, FromTableau, DealFaceUp, DealPileByPile,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 8,
                          .Places = {At(LM + 3*CS, TM + RS), At(LM + 2*CS, TM + 2*RS),
                                     At(LM + 3*CS, TM + 3*RS), At(LM + 4*CS, TM + 2*RS), At(LM + 3*CS, TM),
                                     At(LM + CS, TM + 2*RS), At(LM + 3*CS, TM + 4*RS),
                                     At(LM + 5*CS, TM + 2*RS)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 3}};
}

TGameDef Entry66() {
  return {.Entry = 66, .Name = "Spider", .HelpCode = "4zaq", .Picture = 66,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 6, 6, 6, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, SameSuit, AnySuit, Fanned, FromTableau, DragRuns, DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.Decks = 2, .DealCount = -2}};
}

TGameDef Entry67() {
  return {.Entry = 67, .Name = "Raglan", .HelpCode = "6ilq", .Picture = 67, .DealMode = dmFastDeal,
          .Tableau = {.Count = 9, .CardsPerPile = {7, 7, 7, 6, 5, 4, 3, 2, 1},
                      .Places = {ForC(LM + c*CS, SRY, 0, 8)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 4, 7)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Reserve = {.Count = 6, .FaceUp = true, .VerticalFan = true, .AllPlayable = true,
                      .Origin = At(LM + CS, -1)}};
}

TGameDef Entry68() {
  return {.Entry = 68, .Name = "Rainbow", .HelpCode = "7l87", .Picture = 68, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, KingOnAce, AnySuit, Fanned, FromReserve, FromWaste, DragWholePile,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 13, .FaceUp = true},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry69() {
  return {.Entry = 69, .Name = "Red and Black", .HelpCode = "8cvf", .Picture = 69, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragRuns}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, AlternateColour, EmptyTakesAce, DealAllBases}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry70() {
  return {.Entry = 70, .Name = "Russian Solitaire", .HelpCode = "4jxh", .Picture = 70, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 6, 7, 8, 9, 10, 11},
                      .FaceDownPerPile = {0, 1, 2, 3, 4, 5, 6}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealPileByPile}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry71() {
  return {.Entry = 71, .Name = "Black Widow", .HelpCode = "3z5j", .Picture = 71,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 6, 6, 6, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, DragRuns, DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.Decks = 2, .DealCount = -2}};
}

TGameDef Entry72() {
  return {.Entry = 72, .Name = "Scorpion", .HelpCode = "09im", .Picture = 72, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {7, 7, 7, 7, 7, 7, 7},
                      .FaceDownPerPile = {3, 3, 3, 3, 0, 0, 0}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry73() {
  return {.Entry = 73, .Name = "Simple Simon", .HelpCode = "7icu", .Picture = 73, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {8, 8, 8, 7, 6, 5, 4, 3, 2, 1},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, SameSuit, AnySuit, Fanned, FromTableau, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 6, 9)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}}};
}

TGameDef Entry74() {
  return {.Entry = 74, .Name = "Simplicity", .HelpCode = "6kmx", .Picture = 74, .DealMode = dmFastDeal,
          .Tableau = {.Count = 12, .Places = {Grid(LM + c*CS, TM + r*RS, 1, 2, 3, 8)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Squared, FromTableau, FromWaste}},
          .Foundations = {.Count = 4, .Places = {Grid(LM + 2*CS + c*(7*CS), TM + r*(3*RS), 0, 1, 0, 1)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry75() {
  return {.Entry = 75, .Name = "Single Rail", .HelpCode = "01m4", .Picture = 75, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, FromWaste, DragAnyFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry76() {
  return {.Entry = 76, .Name = "Somerset", .HelpCode = "25h0", .Picture = 76, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7, 8, 8, 8},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 6, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry77() {
  return {.Entry = 77, .Name = "Spanish Patience", .HelpCode = "3x5x", .Picture = 77, .DealMode = dmFastDeal,
          .Tableau = {.Count = 13, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = kSevenAndSixRows,
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 8*CS, TM + r*(RS + 20), 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry78() {
  return {.Entry = 78, .Name = "Spiderette", .HelpCode = "7bl1", .Picture = 78,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, AnySuit, Fanned, FromTableau, DragRuns, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -2}};
}

TGameDef Entry79() {
  return {.Entry = 79, .Name = "Squadron", .HelpCode = "0wmn", .Picture = 79,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 10, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp,
                                StretchVertically}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 3, .FreeCells = true, .DealtToCells = 3,
                      .Origin = At(LM + CS, TM + 4*RS - 75)},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry80() {
  return {.Entry = 80, .Name = "Square", .HelpCode = "1r39", .Picture = 80, .DealMode = dmFastDeal,
          .Tableau = {.Count = 12,
                      .Places = {ForR(LM + 3*CS, TM + r*RS, 0, 3), ForC(LM + c*CS, TM, 4, 7),
                                 ForR(LM + 8*CS, TM + 3*RS + r*-RS, 0, 3)},
                      .Rules = {DownByOne, KingOnAce, SameSuit, Squared, FromTableau, FromWaste, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {Grid(LM + c*CS, TM + r*RS, 2, 3, 4, 7)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, EmptyTakesTwo}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry81() {
  return {.Entry = 81, .Name = "Steps", .HelpCode = "43cj", .Picture = 81, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 3, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry82() {
  return {.Entry = 82, .Name = "Storehouse", .HelpCode = "2tnp", .Picture = 82, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, KingOnAce, SameSuit, Fanned, FromReserve, FromWaste, DragWholePile,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, EmptyTakesTwo, DealAllBases}},
          .Reserve = {.Count = 13, .FaceUp = true},
          .Stock = {.DealCount = 1, .PassesAllowed = 3}};
}

TGameDef Entry83() {
  return {.Entry = 83, .Name = "Auld Lang Syne", .HelpCode = "2tb9", .Picture = 83,
          .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)}, .Rules = {Fanned, NoDropTarget}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, DealAllBases, AutoMoveOnRequest}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry84() {
  return {.Entry = 84, .Name = "Tam O'Shanter", .HelpCode = "5702", .Picture = 84,
          .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)}, .Rules = {Fanned, NoDropTarget}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, AutoMoveOnRequest}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry85() {
  return {.Entry = 85, .Name = "Thumb and Pouch", .HelpCode = "0ug8", .Picture = 85, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, NotSameSuit, Fanned, FromTableau, FromWaste, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry86() {
  return {.Entry = 86, .Name = "Triple Line", .HelpCode = "9lr9", .Picture = 86,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 12, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = kTwoRowsOfSix,
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, DragRuns, DealByRows,
                                DealFaceUp, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = kTwoFoundationColumns,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry87() {
  return {.Entry = 87, .Name = "Twin Queens", .HelpCode = "9fqr", .Picture = 87, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 8, .Places = kCongressTableau,
                      .Rules = {DownByOne, KingOnAce, SameSuit, Squared, FromTableau, FromWaste,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = kCongressFoundations,
                          .Rules = {UpByOne, AceOnKing, SameSuit, EmptyTakesKing}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry88() {
  return {.Entry = 88, .Name = "Variegated Canfield", .HelpCode = "6ack", .Picture = 88,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 5, .Places = {ForC(LM + c*CS, SRY, 3, 7)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromReserve, FromWaste,
                                DragWholePile, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Reserve = {.Count = 13, .FaceUp = true},
          .Stock = {.Decks = 2, .DealCount = 3, .PassesAllowed = 3}};
}

TGameDef Entry89() {
  return {.Entry = 89, .Name = "Waning Moon", .HelpCode = "56we", .Picture = 89,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 13, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = kSevenAndSixRows,
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = kTwoFoundationColumns,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1, .Rules = {AlternateWastePlace}}};
}

TGameDef Entry90() {
  return {.Entry = 90, .Name = "Lucas", .HelpCode = "2cvn", .Picture = 90,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 13, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = kSevenAndSixRows,
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, FromWaste, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 8, .Places = kTwoFoundationColumns,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 2, .Rules = {AlternateWastePlace}}};
}

TGameDef Entry91() {
  return {.Entry = 91, .Name = "Beleaguered Castle", .HelpCode = "3l2d", .Picture = 91,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {6, 6, 6, 6, 6, 6, 6, 6}, .Places = kCastleWings,
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp,
                                FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 4*CS + 45, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.DealCount = 1, .Rules = {AlternateStockPlace, StockAtPoint},
                    .Point = At(LM + 4*CS + 45, TM)}};
}

TGameDef Entry92() {
  return {.Entry = 92, .Name = "Westcliff", .HelpCode = "26sm", .Picture = 92, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .FaceDownPerPile = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DragRuns,
                                DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry93() {
  return {.Entry = 93, .Name = "Whitehead", .HelpCode = "0bok", .Picture = 93, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, SameColour, Fanned, FromTableau, FromWaste, DragRuns,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry94() {
  return {.Entry = 94, .Name = "Will o the Wisp", .HelpCode = "92k0", .Picture = 94,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 7, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3},
                      .FaceDownPerPile = {2, 2, 2, 2, 2, 2, 2}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, AnySuit, Fanned, FromTableau, DragRuns, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -2}};
}

TGameDef Entry95() {
  return {.Entry = 95, .Name = "Streets and Alleys", .HelpCode = "3037", .Picture = 95,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {7, 7, 7, 7, 6, 6, 6, 6}, .Places = kCastleWings,
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, FromWaste, DealByRows, DealFaceUp,
                                FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 4*CS + 45, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1, .Rules = {AlternateStockPlace, StockAtPoint},
                    .Point = At(LM + 4*CS + 45, TM)}};
}

TGameDef Entry96() {
  return {.Entry = 96, .Name = "Blockade", .HelpCode = "69ut", .Picture = 96,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 12, .Places = kTwoRowsOfSix,
                      .Rules = {DownByOne, SameSuit, Fanned, FromTableau, DragRuns, RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = kTwoFoundationColumns,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2, .DealCount = -1}};
}

TGameDef Entry97() {
  return {.Entry = 97, .Name = "Fan", .HelpCode = "1rs7", .Picture = 97, .DealMode = dmFastDeal,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1},
                      .Places = kFanOfEighteen,
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DealByRows, DealFaceUp,
                                DealPileByPile, FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + 2*CS + c*(2*CS), TM - 10, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Rules = {AlternateStockPlace}}};
}

TGameDef Entry98() {
  return {.Entry = 98, .Name = "La Belle Lucie", .HelpCode = "94f9", .Picture = 98, .DealMode = dmFastDeal,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1},
                      .Places = kFanOfEighteen,
                      .Rules = {DownByOne, SameSuit, Fanned, DealByRows, DealFaceUp, DealPileByPile,
                                FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + 2*CS + c*(2*CS), TM - 10, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = -4, .PassesAllowed = 2, .Rules = {AlternateStockPlace, StockAtPoint},
                    .Point = At(LM, TM)}};
}

TGameDef Entry99() {
  return {.Entry = 99, .Name = "Fascination Fan", .HelpCode = "69bi", .Picture = 99, .DealMode = dmFastDeal,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1},
                      .Places = kFanOfEighteen,
                      .Rules = {DownByOne, AlternateColour, Fanned, DealByRows, DealPileByPile, FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + 2*CS + c*(2*CS), TM - 10, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = -4, .PassesAllowed = 6, .Rules = {AlternateStockPlace, StockAtPoint},
                    .Point = At(LM, TM)}};
}

TGameDef Entry100() {
  return {.Entry = 100, .Name = "Scotch Patience", .HelpCode = "71r9", .Picture = 100, .DealMode = dmFastDeal,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1},
                      .Places = kFanOfEighteen,
                      .Rules = {DownByOne, AnySuit, Fanned, DealByRows, DealFaceUp, DealPileByPile,
                                FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + 2*CS + c*(2*CS), TM - 10, 0, 3)},
                          .Rules = {UpByOne, AlternateColour, EmptyTakesAce}}};
}

TGameDef Entry101() {
  return {.Entry = 101, .Name = "Shamrocks", .HelpCode = "3c4z", .Picture = 101, .DealMode = dmFastDeal,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1},
                      .Places = kFanOfEighteen,
                      .Rules = {UpOrDownByOne, AnySuit, Fanned, DealByRows, DealFaceUp, DealPileByPile,
                                FanSideways, ThreeCardLimit}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + 2*CS + c*(2*CS), TM - 10, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry103() {
  return {.Entry = 103, .Name = "Cruel", .HelpCode = "0qp8", .Picture = 103, .DealMode = dmFastDeal,
          .Tableau = {.Count = 12, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = {Grid(LM + c*CS, TM + r*(2*RS + 40), 0, 1, 1, 6)},
                      .Rules = {DownByOne, SameSuit, Fanned, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 8*CS, TM + r*(RS + 20), 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.DealCount = -3, .PassesAllowed = 0}};
}

TGameDef Entry104() {
  return {.Entry = 104, .Name = "Rainfall", .HelpCode = "6yy4", .Picture = 104, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 2, 5)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromReserve, FromWaste,
                                DragWholePile, RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Reserve = {.Count = 13, .FaceUp = true},
          .Stock = {.DealCount = 1, .PassesAllowed = 3}};
}

TGameDef Entry105() {
  return {.Entry = 105, .Name = "Zebra", .HelpCode = "6pk1", .Picture = 105, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, FromWaste, DealFaceUp,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, AlternateColour, EmptyTakesAce, DealAllBases}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 2}};
}

TGameDef Entry106() {
  return {.Entry = 106, .Name = "Gypsy", .HelpCode = "8115", .Picture = 106, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3},
                      .FaceDownPerPile = {2, 2, 2, 2, 2, 2, 2, 2}, .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromTableau, DragRuns, DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, FoundationsPlayable}},
          .Stock = {.Decks = 2, .DealCount = -1}};
}

TGameDef Entry107() {
  return {.Entry = 107, .Name = "Bastion", .HelpCode = "7t4e", .Picture = 107, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 6, 6, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {UpOrDownByOne, SameSuit, Fanned, FromReserve, FromTableau, DragRuns,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 6, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 2, .FreeCells = true, .DealtToCells = 2, .Origin = At(LM + 3*CS, TM)}};
}

TGameDef Entry108() {
  return {.Entry = 108, .Name = "Forecell", .HelpCode = "4ang", .Picture = 108, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {7, 7, 7, 7, 6, 6, 6, 6},
                      .Places = {ForC(LM + c*CS, SRY, 1, 8)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DragRuns,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 5, 8)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 4, .FreeCells = true, .DealtToCells = 4, .Origin = At(LM, TM)}};
}

TGameDef Entry109() {
  return {.Entry = 109, .Name = "Milligan Cell", .HelpCode = "5ecs", .Picture = 109, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY, 0, 7)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragRuns, DealFaceUp,
                                UnlimitedMoves}},
          .Foundations = {.Count = 8,
                          .Places = {ForR(LM + 8*CS, TM + r*RS, 0, 3), ForR(LM + 9*CS, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 3, .FreeCells = true, .Origin = At(LM + 2*CS, TM)},
          .Stock = {.Decks = 2, .DealCount = -1}};
}

TGameDef Entry110() {
  return {.Entry = 110, .Name = "Four Colours", .HelpCode = "1l9v", .Picture = 110, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {13, 13, 13, 13, 0, 0, 0},
                      .Places = {ForC(LM + c*CS, SRY, 1, 7)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DragRuns,
                                DealFaceUp, DealPileByPile, DealBySuit, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 5, 8)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 4, .FreeCells = true, .Origin = At(LM, TM)},
          .Special = TGameSpecial::FourColours};
}

TGameDef Entry111() {
  return {.Entry = 111, .Name = "Sea Towers", .HelpCode = "784z", .Picture = 111, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {6, 6, 6, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, SameSuit, Fanned, FromReserve, FromTableau, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 0, 1), ForC(LM + c*CS, TM, 8, 9)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 4, .FreeCells = true, .DealtToCells = 2, .Origin = At(LM + 2*CS, TM)}};
}

TGameDef Entry112() {
  return {.Entry = 112, .Name = "Spidercells", .HelpCode = "4foz", .Picture = 112, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {7, 7, 7, 7, 6, 6, 6, 6},
                      .Places = {ForC(LM + c*CS, SRY, 0, 7)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DragRuns,
                                DealByRows, DealFaceUp, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 4, 7)},
                          .Rules = {DownByOne, AlternateColour, EmptyTakesKing, WholeSuitsOnly}},
          .Reserve = {.Count = 4, .FreeCells = true, .Origin = At(LM - CS, TM)}};
}

TGameDef Entry113() {
  return {.Entry = 113, .Name = "Tuxedo", .HelpCode = "1bvz", .Picture = 113, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {8, 7, 7, 8, 7, 7, 8},
                      .Places = {ForC(LM + c*CS, SRY, 1, 7)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragRuns, DealByRows, DealFaceUp,
                                UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {ForR(LM, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 7, .FreeCells = true, .Origin = At(LM, TM)}};
}

TGameDef Entry114() {
  return {.Entry = 114, .Name = "The Clock", .HelpCode = "8tuz", .Picture = 114, .DealMode = dmFastDeal,
          .Tableau = {.Count = 0},
          .Foundations = {.Count = 13, .Places = kClockFace, .Angles = kClockAngles,
                          .Rules = {FoundationsPlayable, ClockFoundations, DealToFoundations, UseDropAngles,
                                    ValueIsPileIndex, NoUndo, NoAnimations}},
          .Special = TGameSpecial::Clock};
}

TGameDef Entry115() {
  return {.Entry = 115, .Name = "The Dial", .HelpCode = "5h2k", .Picture = 115, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 0},
          .Foundations = {.Count = 13, .Places = kClockFace, .Angles = kClockAngles,
                          .Rules = {AlternateColour, ClockFoundations, UseDropAngles, ValueIsPileIndex,
                                    NoUndo, NoAnimations}},
          .Stock = {.DealCount = 1, .PassesAllowed = 3},
          .Special = TGameSpecial::Dial};
}

TGameDef Entry116() {
  return {.Entry = 116, .Name = "Burleigh", .HelpCode = "3k14", .Picture = 116, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 12, .Places = {Grid(LM + c*CS, TM + r*RS, 0, 1, 1, 6)},
                      .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, AnySuit, Squared, RefillFromStock,
                                DealFaceUp, RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM + 2*RS, 2, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1, .Rules = {AlternateWastePlace, SpecialStock}, .StockFromTop = true},
          .Special = TGameSpecial::Burleigh};
}

TGameDef Entry117() {
  return {.Entry = 117, .Name = "One Foundation", .HelpCode = "5q26", .Picture = 117, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, TM + Rounded(1.25_k*RS), 1, 7)},
                      .Rules = {Fanned, FanUpward, DealByRows, DealFaceUp, NoDropTarget}},
          .Foundations = {.Count = 1, .Places = {At(LM + 4*CS, TM + Rounded(2.5_k*RS))},
                          .Angles = {-1.5707964f},
                          .Rules = {UpOrDownByOne, AnySuit, BaseOnly, UseDropAngles}},
          .Stock = {.DealCount = 1, .Rules = {SpecialStock}},
          .Special = TGameSpecial::OneFoundation};
}

TGameDef Entry118() {
  return {.Entry = 118, .Name = "Concentration", .HelpCode = "46um", .Picture = 118, .DealMode = dmFastDeal,
          .Tableau = {.Count = 52, .Places = {Grid(5 + c*Rounded(0.9_k*CS), TM + r*RS, 0, 3, 0, 12)},
                      .Rules = {DealFaceDown, PairGame}},
          .Foundations = {.Count = 0, .Rules = {RemovePairs, AutoMoveOnRequest, NoUndo}},
          .Stock = {.Rules = {AlternateStockPlace, StockBelowTableau}}};
}

TGameDef Entry119() {
  return {.Entry = 119, .Name = "Doublets", .HelpCode = "7reb", .Picture = 119, .DealMode = dmFastDeal,
          .Tableau = {.Count = 12, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .FaceDownPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = {Grid(LM + c*CS, SRY + r*Rounded(1.2_k*RS), 0, 1, 0, 5)},
                      .Rules = {Fanned, DealByRows, RefillEmptyPiles, PairGame, ShowSelection}},
          .Foundations = {.Count = 0, .Rules = {RemovePairs, AutoMoveOnRequest, NoUndo}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry120() {
  return {.Entry = 120, .Name = "Simple Pairs", .HelpCode = "3fjn", .Picture = 120,
          .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 9, .Places = {Grid(LM + c*CS, TM + r*RS, 0, 2, 2, 4)},
                      .Rules = {RefillEmptyPiles, PairGame, ShowSelection}},
          .Foundations = {.Count = 0, .Rules = {RemovePairs, AutoMoveOnRequest, NoUndo}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry121() {
  return {.Entry = 121, .Name = "Scorpion II", .HelpCode = "2ysp", .Picture = 121, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {7, 7, 7, 7, 7, 7, 7},
                      .FaceDownPerPile = {3, 3, 3, 0, 0, 0, 0}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry122() {
  return {.Entry = 122, .Name = "Double Scorpion", .HelpCode = "3sfi", .Picture = 122, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {11, 11, 11, 11, 10, 10, 10, 10, 10, 10},
                      .FaceDownPerPile = {4, 4, 4, 4, 4, 0, 0, 0, 0, 0},
                      .Places = {ForC(LM + c*CS, SRY, 1, 10)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 1, 8)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.Decks = 2, .DealCount = -1}};
}

TGameDef Entry123() {
  return {.Entry = 123, .Name = "Hopping Spider", .HelpCode = "8iwi", .Picture = 123, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 6, 7, 8, 9, 10, 11},
                      .FaceDownPerPile = {0, 0, 1, 2, 3, 4, 5}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, KingOnAce, AlternateColour, Fanned, FromTableau, DragAnyFaceUp,
                                DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, AlternateColour, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry124() {
  return {.Entry = 124, .Name = "Antarctic", .HelpCode = "64gz", .Picture = 124, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameColour, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, SameColour, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry125() {
  return {.Entry = 125, .Name = "Arctic", .HelpCode = "9mar", .Picture = 125, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry126() {
  return {.Entry = 126, .Name = "Baby Spiderette", .HelpCode = "0b51", .Picture = 126,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, AnySuit, Fanned, FromTableau, DragRuns, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, EmptyTakesKing, WholeSuitsOnly}},
          .Stock = {.DealCount = -2}};
}

TGameDef Entry127() {
  return {.Entry = 127, .Name = "Daybreak in Hell", .HelpCode = "0fe4", .Picture = 127,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 7, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4},
                      .Places = {At(LM + CS + Div(CS, 2), TM + RS + Div(RS, 2)),
                                 At(LM + 2*CS + Div(CS, 2), TM + 2*Div(RS, 2)),
                                 At(LM + 3*CS + Div(CS, 2), TM + Div(RS, 2) + Div(RS, 4)),
                                 At(LM + 4*CS + Div(CS, 2), TM + Div(RS, 2)),
                                 At(LM + 5*CS + Div(CS, 2), TM + Div(RS, 2) + Div(RS, 4)),
                                 At(LM + 6*CS + Div(CS, 2), TM + 2*Div(RS, 2)),
                                 At(LM + 7*CS + Div(CS, 2), TM + RS + Div(RS, 2))},
                      .Rules = {UpByOne, AnySuit, Fanned, EmptyTakesAce, DragRuns, DealByRows, DealFaceUp,
                                RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {Grid(LM + c*(9*CS), TM + r*(3*RS + 60), 0, 1, 0, 1)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing, DealAllBases}},
          .Stock = {.DealCount = -1, .Rules = {AlternateStockPlace}}};
}

TGameDef Entry128() {
  return {.Entry = 128, .Name = "Blitzkreig", .HelpCode = "849z", .Picture = 128,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 4, .CardsPerPile = {6, 6, 6, 6},
                      .Places = {At(LM, TM), At(LM + 8*CS, TM), At(LM + 8*CS, TM + 3*RS), At(LM, TM + 3*RS)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragRuns, DealByRows,
                                UnlimitedMoves}},
          .Foundations = {.Count = 4,
                          .Places = {At(LM + 4*CS, TM), At(LM + 6*CS, TM + 2*RS), At(LM + 4*CS, TM + 4*RS),
                                     At(LM + 2*CS, TM + 2*RS)}, .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 2, .FreeCells = true, .Origin = At(LM + Rounded(2.5_k*CS), TM + 2*RS)},
          .Stock = {.DealCount = 1, .PassesAllowed = 5,
                    .Rules = {AlternateWastePlace, AlternateStockPlace, StockAtPoint},
                    .Point = At(LM + 4*CS, TM + RS), .WastePoint = At(LM + 4*CS, TM + 3*RS)}};
}

TGameDef Entry129() {
  return {.Entry = 129, .Name = "Break 147", .HelpCode = "3xo7", .Picture = 129, .DealMode = dmFastDeal,
          .Tableau = {.Count = 11,
                      .Places = {ForC(LM + c*CS, TM + 2*RS - 40, 3, 4),
                                 ForR(LM + 5*CS, TM - Div(RS, 2) - 40 + r*RS, 2, 3),
                                 ForR(LM + 6*CS, TM - Div(2*RS, 2) - 40 + r*RS, 2, 4),
                                 ForR(LM + 7*CS, TM - Div(3*RS, 2) - 40 + r*RS, 2, 5)},
                      .Rules = {DealFaceDown, RefillEmptyPiles, NoDropTarget}},
          .Foundations = {.Count = 6, .Places = {Grid(LM + c*(4*CS), TM + r*(4*RS - 80), 0, 1, 0, 2)},
                          .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, SameColour, FirstSetsBase,
                                    EachSetsBase}},
          .Stock = {.DealCount = 1, .Rules = {DragFromDeck, AlternateStockPlace, StockAtPoint},
                    .Point = At(LM + 50, TM + 2*RS - 40)}};
}

TGameDef Entry130() {
  return {.Entry = 130, .Name = "Totem Poll", .HelpCode = "3uuk", .Picture = 130, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {5, 3, 2, 1, 1, 2, 3, 5},
                      .FaceDownPerPile = {4, 2, 1, 0, 0, 1, 2, 4},
                      .Places = {ForC(LM + c*CS, TM + 50, 0, 3), ForC(LM + c*CS, TM + 50, 5, 8)},
                      .Rules = {UpByOne, AlternateColour, Fanned, EmptyTakesAce, DragRuns, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 4*CS, TM + r*RS, 0, 3)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing}},
          .Stock = {.DealCount = -1, .Rules = {AlternateStockPlace, StockAtPoint},
                    .Point = At(LM + 4*CS, TM + 4*RS)}};
}

TGameDef Entry131() {
  return {.Entry = 131, .Name = "Cone of Silence", .HelpCode = "91k5", .Picture = 131, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 2, 3, 4, 3, 2, 1},
                      .Places = {ForC(LM + c*CS, TM, 1, 7)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DragRuns,
                                DealByRows, DealFaceUp, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 8*CS, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 3, .FreeCells = true, .CellsVertical = true, .Origin = At(LM, TM + RS)},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry132() {
  return {.Entry = 132, .Name = "Sunset Boulevard", .HelpCode = "4xd0", .Picture = 132,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .CardsPerPile = {13, 13, 13, 13}, .Places = {ForC(LM + c*CS, SRY, 0, 3)},
                      .Rules = {Fanned, NoTableauOntoCard, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 6, .Places = {ForC(LM + c*CS, TM, 0, 5)},
                          .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, AnySuit, FirstSetsBase,
                                    EachSetsBase}}};
}

TGameDef Entry133() {
  return {.Entry = 133, .Name = "Mesmer-eyes", .HelpCode = "5cj7", .Picture = 133, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {2, 3, 4, 5, 6, 6, 5, 4, 3, 2},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry134() {
  return {.Entry = 134, .Name = "Arched Klondike", .HelpCode = "0ntx", .Picture = 134, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {5, 3, 2, 1, 2, 3, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {UpByOne, AlternateColour, Fanned, EmptyTakesAce, DragAnyFaceUp, DealByRows}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry135() {
  return {.Entry = 135, .Name = "Bull's Eye", .HelpCode = "7t45", .Picture = 135, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {7, 7, 7, 7, 7, 7, 7},
                      .Places = {ForC(LM + c*CS, SRY, 2, 8)},
                      .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, AnySuit, Fanned, FromTableau, FromWaste,
                                DealByRows, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, BaseOnly}},
          .Stock = {.Decks = 2, .DealCount = 1, .PassesAllowed = 4}};
}

TGameDef Entry136() {
  return {.Entry = 136, .Name = "Butcher's Knife", .HelpCode = "99wl", .Picture = 136,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 13, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
                      .Places = kSevenAndSixRows,
                      .Rules = {DownByOne, Fanned, FromTableau, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 8*CS, TM + r*(RS + 20), 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, FoundationsPlayable}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry137() {
  return {.Entry = 137, .Name = "Eight Down", .HelpCode = "60q6", .Picture = 137, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .CardsPerPile = {8, 7, 6, 5, 5, 6, 7, 8},
                      .Places = {ForC(LM + c*CS, TM + RS, 1, 8)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragRuns, DealByRows,
                                DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForR(LM, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 8, .FreeCells = true, .Origin = At(LM, TM)}};
}

TGameDef Entry138() {
  return {.Entry = 138, .Name = "Empress", .HelpCode = "68qb", .Picture = 138, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 4, .Places = {Grid(LM + 2*CS + c*(4*CS), TM + RS + r*(2*RS), 0, 1, 0, 1)},
                      .Rules = {DownByOne, AnySuit, Squared, FromTableau, FromWaste}},
          .Foundations = {.Count = 4,
                          .Places = {At(LM + 4*CS, TM + RS), At(LM + 3*CS, TM + 2*RS),
                                     At(LM + 5*CS, TM + 2*RS), At(LM + 4*CS, TM + 3*RS)},
                          .Rules = {UpByOne, AceOnKing, SameSuit, EmptyTakesKing, DealAllBases}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry139() {
  return {.Entry = 139, .Name = "Flowers in May", .HelpCode = "43sp", .Picture = 139,
          .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 4,
                      .Places = {At(LM + 3*CS, TM), At(LM + 2*CS, TM + RS), At(LM + 4*CS, TM + RS),
                                 At(LM + 3*CS, TM + 2*RS)},
                      .Rules = {DownByOne, KingOnAce, AnySuit, Squared, FromReserve, FromTableau, FromWaste,
                                FromWasteAlways, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = kFourSeasonsCorners,
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealOneBase}},
          .Reserve = {.Count = 1, .FreeCells = true, .Origin = At(LM + 2*CS, TM + RS)},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry140() {
  return {.Entry = 140, .Name = "Flyaway Home", .HelpCode = "9zmt", .Picture = 140,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1},
                      .Places = {Grid(LM + c*CS, TM + r*(2*RS + 40), 0, 1, 0, 8)},
                      .Rules = {DownByOne, Fanned, EmptyTakesKing, DealByRows, DealFaceUp}},
          .Foundations = {.Count = 4, .Places = {ForR(LM + 9*CS, TM + r*(RS + 20), 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1, .Rules = {AlternateStockPlace, StockBelowTableau}}};
}

TGameDef Entry141() {
  return {.Entry = 141, .Name = "Holding Pattern", .HelpCode = "9dym", .Picture = 141,
          .DealMode = dmFastDeal | dmCompactFan,
          .Tableau = {.Count = 4, .CardsPerPile = {3, 1, 1, 3},
                      .Places = {ForC(LM + c*CS, TM, 1, 2), ForC(LM + c*CS, TM, 7, 8)},
                      .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, FromExcept,
                                DragRuns, DealByRows, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {Grid(LM + c*CS, TM + r*RS, 1, 2, 4, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Reserve = {.Count = 8, .FreeCells = true, .Origin = At(LM, TM + 4*RS)},
          .Stock = {.DealCount = 1, .Rules = {AlternateStockPlace, StockBelowTableau}},
          .Except = {.Count = 2, .CardsPerPile = {20, 20}, .ByPositionTable = true,
                     .Positions = {At(LM, TM), At(LM + 9*CS, TM)}}};
}

TGameDef Entry142() {
  return {.Entry = 142, .Name = "Freespace", .HelpCode = "0exx", .Picture = 142, .DealMode = dmFastDeal,
          .Tableau = {.Count = 5, .LeftEmpty = 5, .Places = {ForC(LM + c*CS, SRY, 2, 6)},
                      .Rules = {UpOrDownByOne, AnySuit, Fanned, BaseOnly, FromReserve, FromTableau}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 1, 8)},
                          .Rules = {UpByOne, AnySuit, EmptyTakesAce, DealAllBases}},
          .Reserve = {.Count = 13, .FaceUp = true, .VerticalFan = true},
          .Stock = {.Decks = 2, .DealCount = 1, .Rules = {DragFromDeck}}};
}

TGameDef Entry143() {
  return {.Entry = 143, .Name = "Idiot's Array", .HelpCode = "0lkp", .Picture = 143, .DealMode = dmFastDeal,
          .Tableau = {.Count = 8, .Places = {ForC(LM + c*CS, SRY, 2, 9)},
                      .Rules = {UpByOne, Fanned, FromTableau, FromWaste, DealFaceUp}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 2, 9)},
                          .Rules = {DownByOne, SameSuit, EmptyTakesKing}},
          .Stock = {.Decks = 2, .DealCount = 1}};
}

TGameDef Entry144() {
  return {.Entry = 144, .Name = "Obrai-Skai", .HelpCode = "6kvd", .Picture = 144, .DealMode = dmFastDeal,
          .Tableau = {.Count = 6, .CardsPerPile = {6, 6, 6, 6, 6, 6}, .Places = {ForC(LM + c*CS, SRY, 2, 7)},
                      .Rules = {DownByOne, Fanned, FromReserve, FromTableau, FromExcept, DealByRows,
                                DealFaceUp, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 3, .FreeCells = true, .CellsVertical = true, .Origin = At(LM + 9*CS, SRY)},
          .Stock = {.DealCount = 1},
          .Except = {.Count = 1, .CardsPerPile = {16}, .FaceUp = true, .ByPositionTable = true,
                     .Positions = {At(LM, SRY)}}};
}

TGameDef Entry145() {
  return {.Entry = 145, .Name = "Double Yukon", .HelpCode = "8d2m", .Picture = 145, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {5, 7, 8, 9, 10, 11, 12, 13, 14, 15},
                      .FaceDownPerPile = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealPileByPile}},
          .Foundations = {.Count = 8, .Places = {ForC(LM + c*CS, TM, 1, 8)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.Decks = 2}};
}

TGameDef Entry146() {
  return {.Entry = 146, .Name = "Moosehide", .HelpCode = "9ucl", .Picture = 146, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 6, 7, 8, 9, 10, 11},
                      .FaceDownPerPile = {0, 1, 2, 3, 4, 5, 6}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, NotSameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealPileByPile}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 2, 5)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}}};
}

TGameDef Entry147() {
  return {.Entry = 147, .Name = "Ace In The Hole", .HelpCode = "2mhx", .Picture = 147, .DealMode = dmFastDeal,
          .Tableau = {.Count = 6, .CardsPerPile = {1, 2, 3, 4, 5, 6}, .Places = {ForC(LM + c*CS, SRY, 0, 5)},
                      .Rules = {DownByOne, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows, DealFaceUp,
                                DealPileByPile}},
          .Foundations = {.Count = 1, .Places = {At(LM + 3*CS, TM)},
                          .Rules = {UpByOne, AceOnKing, EmptyTakesAce, AutoMoveOnRequest}},
          .Stock = {.DealCount = -1}};
}

TGameDef Entry148() {
  return {.Entry = 148, .Name = "Australian Patience", .HelpCode = "3pr9", .Picture = 148,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {4, 4, 4, 4, 4, 4, 4},
                      .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealFaceUp, DealPileByPile}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 1}};
}

TGameDef Entry149() {
  return {.Entry = 149, .Name = "Yukon Cells", .HelpCode = "9dgz", .Picture = 149, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 6, 7, 8, 9, 10, 11},
                      .FaceDownPerPile = {0, 1, 2, 3, 4, 5, 6}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealPileByPile, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 2, .FreeCells = true, .Origin = At(LM, TM)}};
}

TGameDef Entry150() {
  return {.Entry = 150, .Name = "Finnish Solitaire", .HelpCode = "4jqd", .Picture = 150,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .CardsPerPile = {1, 6, 7, 8, 9, 10, 11},
                      .FaceDownPerPile = {0, 1, 2, 3, 4, 5, 6}, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, SameSuit, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows,
                                DealPileByPile, UnlimitedMoves}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Reserve = {.Count = 2, .FreeCells = true, .Origin = At(LM, TM)}};
}

TGameDef Entry151() {
  return {.Entry = 151, .Name = "Good Measure", .HelpCode = "7pb9", .Picture = 151, .DealMode = dmFastDeal,
          .Tableau = {.Count = 10, .CardsPerPile = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5},
                      .Places = {ForC(LM + c*CS, SRY, 0, 9)},
                      .Rules = {DownByOne, AnySuit, Fanned, DealByRows, DealFaceUp, KingsToBottom}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealTwoBases}}};
}

TGameDef Entry152() {
  return {.Entry = 152, .Name = "Black Hole", .HelpCode = "5jdx", .Picture = 152, .DealMode = dmFastDeal,
          .Tableau = {.Count = 17, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = {ForC(LM + c*(2*CS), TM, 0, 4), At(LM, TM + RS), At(LM + 2*CS, TM + RS),
                                 At(LM + 6*CS, TM + RS), At(LM + 8*CS, TM + RS), At(LM, TM + 2*RS),
                                 At(LM + 2*CS, TM + 2*RS), At(LM + 6*CS, TM + 2*RS), At(LM + 8*CS, TM + 2*RS),
                                 ForC(LM + CS + c*(2*CS), TM + 3*RS, 0, 3)},
                      .Rules = {DownByOne, Fanned, DealByRows, DealFaceUp, DealPileByPile, NoDropTarget,
                                FanSideways}},
          .Foundations = {.Count = 1, .Places = {At(LM + 4*CS + 20, TM + Truncated(1.5_k*RS))},
                          .Rules = {UpOrDownByOne, KingOnAce, AceOnKing, DealOneBase, AceOfSpadesBase}},
          .Stock = {.Rules = {AlternateStockPlace, StockAtPoint},
                    .Point = At(LM + 4*CS + 20, TM + Truncated(1.5_k*RS))}};
}

TGameDef Entry153() {
  return {.Entry = 153, .Name = "Box Fan", .HelpCode = "1lpq", .Picture = 153, .DealMode = dmFastDeal,
          .Tableau = {.Count = 16, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = {Grid(LM + 2*CS + c*(2*CS), TM + r*RS, 0, 3, 0, 3)},
                      .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DealByRows, DealFaceUp,
                                DealPileByPile, FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForR(LM, TM + r*RS, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.Rules = {AlternateStockPlace, StockAtPoint}, .Point = At(LM, TM)}};
}

TGameDef Entry154() {
  return {.Entry = 154, .Name = "Demon Fan", .HelpCode = "2w4u", .Picture = 154, .DealMode = dmFastDeal,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2},
                      .Places = {ForC(LM + 2*CS + c*(2*CS), TM, 0, 3),
                                 ForC(LM + 2*CS + c*(2*CS), TM + RS - 10, 0, 3),
                                 ForC(LM + 2*CS + c*(2*CS), TM + 2*RS - 20, 0, 3),
                                 ForC(LM + 2*CS + c*(2*CS), TM + 3*RS - 30, 0, 3),
                                 At(LM + 2*CS, TM + 4*RS - 40), At(LM + 4*CS, TM + 4*RS - 40)},
                      .Rules = {DownByOne, AlternateColour, Fanned, DealByRows, DealPileByPile, FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForR(LM, TM + RS - 10 + r*(RS - 10), 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = -4, .PassesAllowed = 6, .Rules = {AlternateStockPlace, StockAtPoint},
                    .Point = At(LM, TM)}};
}

TGameDef Entry155() {
  return {.Entry = 155, .Name = "Trefoil", .HelpCode = "7dws", .Picture = 155, .DealMode = dmFastDeal,
          .Tableau = {.Count = 16, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
                      .Places = {ForC(LM + c*(2*CS), TM + RS - 20, 0, 4),
                                 ForC(LM + c*(2*CS), TM + 2*RS - 30, 0, 4),
                                 ForC(LM + c*(2*CS), TM + 3*RS - 40, 0, 4), At(LM, TM + 4*RS - 50)},
                      .Rules = {DownByOne, SameSuit, Fanned, DealByRows, DealFaceUp, DealPileByPile,
                                FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + 2*CS + c*(2*CS), TM - 10, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce, DealAllBases}},
          .Stock = {.DealCount = -4, .PassesAllowed = 2}};
}

TGameDef Entry156() {
  return {.Entry = 156, .Name = "Super Flower Garden", .HelpCode = "9vou", .Picture = 156,
          .DealMode = dmFastDeal,
          .Tableau = {.Count = 18, .CardsPerPile = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1},
                      .Places = kFanOfEighteen,
                      .Rules = {DownByOne, Fanned, DealByRows, DealFaceUp, DealPileByPile, FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + 2*CS + c*(2*CS), TM - 10, 0, 3)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = -4, .PassesAllowed = 2}};
}

TGameDef Entry157() {
  return {.Entry = 157, .Name = "Whitehorse", .HelpCode = "8gx1", .Picture = 157, .DealMode = dmFastDeal,
          .Tableau = {.Count = 7, .Places = {ForC(LM + c*CS, SRY, 0, 6)},
                      .Rules = {DownByOne, AlternateColour, Fanned, DragAnyFaceUp, RefillEmptyPiles}},
          .Foundations = {.Count = 4, .Places = {ForC(LM + c*CS, TM, 3, 6)},
                          .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
          .Stock = {.DealCount = 3, .PassesAllowed = 0}};
}

TGameDef Entry158() {
  return {.Entry = 158, .Name = "Aces Up", .HelpCode = "acesup", .Picture = 158, .DealMode = kDealModeNotSet,
          .Tableau = {.Count = 4, .Places = {ForC(LM + c*CS, SRY, 1, 4)},
                      .Rules = {Fanned, FromTableau, DealFaceUp, NothingOntoCard}},
          .Foundations = {.Count = 1, .Places = {At(LM + 3*CS - 2, TM)}, .Rules = {FirstSetsBase}},
          .Stock = {.DealCount = -1},
          .Special = TGameSpecial::AcesUp};
}

TGameDef Entry159() {
  return {.Entry = 159, .Name = "Osmosis", .HelpCode = "osmos", .Picture = 159, .DealMode = dmFastDeal,
          .Tableau = {.Count = 4, .CardsPerPile = {4, 4, 4, 4}, .Places = {ForR(LM + 5*CS, TM + r*RS, 0, 3)},
                      .Rules = {Fanned, DealByRows, NoDropTarget, FanSideways}},
          .Foundations = {.Count = 4, .Places = {ForR(LM, TM + r*RS, 0, 3)},
                          .Rules = {SameSuit, BaseOnly, RankInPrevious}},
          .Stock = {.DealCount = 3, .PassesAllowed = 0,
                    .Rules = {AlternateWastePlace, AlternateStockPlace, StockAtPoint},
                    .Point = At(LM + Rounded(2.5_k*CS), TM + RS),
                    .WastePoint = At(LM + Rounded(2.5_k*CS), TM + 2*RS)}};
}

// clang-format on

}  // namespace

std::vector<TGameDef> CatalogueRows() {
  static constexpr TGameDef (*const kEntries[])() = {
      Entry1,   Entry2,   Entry3,   Entry5,   Entry6,   Entry7,   Entry8,   Entry9,   Entry10,  Entry11,
      Entry12,  Entry13,  Entry14,  Entry15,  Entry16,  Entry17,  Entry18,  Entry19,  Entry20,  Entry21,
      Entry22,  Entry23,  Entry24,  Entry25,  Entry26,  Entry27,  Entry28,  Entry29,  Entry30,  Entry31,
      Entry32,  Entry33,  Entry34,  Entry35,  Entry36,  Entry37,  Entry38,  Entry39,  Entry40,  Entry41,
      Entry42,  Entry43,  Entry44,  Entry45,  Entry46,  Entry47,  Entry48,  Entry49,  Entry50,  Entry51,
      Entry52,  Entry53,  Entry54,  Entry55,  Entry56,  Entry57,  Entry58,  Entry59,  Entry60,  Entry61,
      Entry62,  Entry63,  Entry64,  Entry65,  Entry66,  Entry67,  Entry68,  Entry69,  Entry70,  Entry71,
      Entry72,  Entry73,  Entry74,  Entry75,  Entry76,  Entry77,  Entry78,  Entry79,  Entry80,  Entry81,
      Entry82,  Entry83,  Entry84,  Entry85,  Entry86,  Entry87,  Entry88,  Entry89,  Entry90,  Entry91,
      Entry92,  Entry93,  Entry94,  Entry95,  Entry96,  Entry97,  Entry98,  Entry99,  Entry100, Entry101,
      Entry103, Entry104, Entry105, Entry106, Entry107, Entry108, Entry109, Entry110, Entry111, Entry112,
      Entry113, Entry114, Entry115, Entry116, Entry117, Entry118, Entry119, Entry120, Entry121, Entry122,
      Entry123, Entry124, Entry125, Entry126, Entry127, Entry128, Entry129, Entry130, Entry131, Entry132,
      Entry133, Entry134, Entry135, Entry136, Entry137, Entry138, Entry139, Entry140, Entry141, Entry142,
      Entry143, Entry144, Entry145, Entry146, Entry147, Entry148, Entry149, Entry150, Entry151, Entry152,
      Entry153, Entry154, Entry155, Entry156, Entry157, Entry158, Entry159};
  std::vector<TGameDef> rows;
  rows.reserve(std::size(kEntries));
  for (auto entry : kEntries) rows.push_back(entry());
  return rows;
}
