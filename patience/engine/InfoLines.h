#pragma once
// The text of the information overlay: how many cards lie in the stock, the waste and the reserve
// and which cards are on top of the waste and the reserve.

#include <string>
#include <vector>

#include "cardtable/CardDeck.h"

class TPatienceEngine;

// " K:Spade " and the like: value "A", "2" .. "10", "J", "Q", "K", suit "Club", "Diamond",
// "Heart", "Spade" or "Joker", a blank on each side.
std::string InfoCardText(const TCard& card);
// "  Top: " and the top three cards of the list (top card last in the list), topmost first.
std::string InfoCardLine(const TCardList& cards);
// "Cards in stock = n" when the stock holds cards; "Cards in waste = n" and its card line when
// the waste holds cards; "Cards in reserve = n" and its card line when a plain reserve (not free
// cells, not a row, not a vertical fan) holds cards; then a line of dashes.
std::vector<std::string> InfoLines(const TPatienceEngine& engine);
