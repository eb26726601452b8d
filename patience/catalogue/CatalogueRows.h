#pragma once
// The catalogue's own pieces, assembled into the full list by Catalogue.cpp.

#include <vector>

#include "patience/catalogue/GameDef.h"

// Every entry that is a plain row (all but Klondike and Freecell NxM), in catalogue order.
std::vector<TGameDef> CatalogueRows();
// Klondike, selector 1 (one card a turn, one pass) or 2 (three cards, unlimited passes).
TGameDef KlondikeGame(int selector);
// Freecell with the given columns and free cells.
TGameDef FreecellNxMGame(int columns, int cells);
