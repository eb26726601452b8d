// The two entries that take inputs: Klondike (one card or three a turn) and Freecell NxM.

#include <stdexcept>
#include <string>

#include "patience/catalogue/CatalogueDsl.h"
#include "patience/catalogue/CatalogueRows.h"

using namespace catalogue_dsl;

// Rows name only the fields a game sets; the rest keep their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

TGameDef KlondikeGame(int selector) {
  if (selector != 1 && selector != 2) throw std::out_of_range("Klondike selector must be 1 or 2");
  const bool one = selector == 1;
  return {
      .Entry = 4,
      .Name = one ? "Klondike 1 [Turn over 1]" : "Klondike 2 [Turn over 3]",
      .HelpCode = one ? "1jap" : "1jaq",
      .Picture = 4,
      .DealMode = dmFastDeal,
      .Tableau = {.Count = 7,
                  .CardsPerPile = {1, 2, 3, 4, 5, 6, 7},
                  .Places = {ForC(LM + c * CS, SRY, 0, 6)},
                  .Rules = {DownByOne, AlternateColour, Fanned, EmptyTakesKing, DragAnyFaceUp, DealByRows}},
      .Foundations = {.Count = 4,
                      .Places = {ForC(LM + c * CS, TM, 2, 5)},
                      .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
      .Stock = {.DealCount = one ? 1 : 3, .PassesAllowed = one ? 1 : 0}};
}

namespace {

// Column of the free cells' origin; the cells themselves start one column to its right.
int CellOriginColumn(int cells) {
  if (cells <= 5) return 5 - cells;
  if (cells == 6) return -1;
  return cells == 7 ? 2 : 1;
}

}  // namespace

TGameDef FreecellNxMGame(int columns, int cells) {
  if (columns < 1 || columns > 10 || cells < 0 || cells > 8)
    throw std::out_of_range("Freecell NxM takes 1..10 columns and 0..8 cells");
  // 52 div Columns each, one more on the first (52 mod Columns) + 1 piles. The counts add up to
  // 53; the deal stops when the pack runs out, so the last of those piles gets one card less.
  std::vector<int> cardsPerPile(size_t(columns), 52 / columns);
  for (int p = 0; p <= 52 % columns; ++p) cardsPerPile[size_t(p)] += 1;
  return {
      .Entry = 102,
      .Name = "Freecell " + std::to_string(columns) + "x" + std::to_string(cells),
      .HelpCode = "2r1o",
      .Picture = 29,
      .DealMode = dmFastDeal,
      .Tableau = {.Count = columns,
                  .CardsPerPile = cardsPerPile,
                  .Places = {PlaceRun(LM + c * CS, SRY, 10 - columns, 9, 0, 0)},  // the piles end at column 9
                  .Rules = {DownByOne, AlternateColour, Fanned, FromReserve, FromTableau, DragRuns,
                            DealByRows, DealFaceUp}},
      .Foundations = {.Count = 4,
                      .Places = cells <= 6 ? TPlaces{ForC(LM + c * CS, TM, 6, 9)}
                                           : TPlaces{ForR(LM, TM + r * RS, 0, 3)},
                      .Rules = {UpByOne, SameSuit, EmptyTakesAce}},
      .Reserve = {
          .Count = cells, .FreeCells = true, .Origin = PointAt(LM + CellOriginColumn(cells) * CS, TM)}};
}
