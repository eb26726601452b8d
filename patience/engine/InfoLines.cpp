#include "patience/engine/InfoLines.h"

#include "patience/engine/PatienceEngine.h"

namespace {

TCardList Cards(const TCardList& list) {
  TCardList out;
  for (TCard* c : list)
    if (c) out.push_back(c);
  return out;
}

}  // namespace

std::string InfoCardText(const TCard& card) {
  static const char* const values[13] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
  static const char* const suits[5] = {"Club", "Diamond", "Heart", "Spade", "Joker"};
  const int v = int(card.Value) % 13;
  const int s = card.Suit <= csJoker ? int(card.Suit) : 4;
  return std::string(" ") + values[v] + ":" + suits[s] + " ";
}

std::string InfoCardLine(const TCardList& cards) {
  std::string line = "  Top: ";
  const TCardList present = Cards(cards);
  for (int i = int(present.size()) - 1, n = 0; i >= 0 && n < 3; --i, ++n)
    line += InfoCardText(*present[size_t(i)]);
  return line;
}

std::vector<std::string> InfoLines(const TPatienceEngine& engine) {
  const TGameRules& r = engine.Rules;
  std::vector<std::string> lines;
  const int stock = engine.Deck().CardsLeft(false);
  if (stock > 0) lines.push_back("Cards in stock = " + std::to_string(stock));
  const TCardList waste = Cards(r.WasteCards);
  if (!waste.empty()) {
    lines.push_back("Cards in waste = " + std::to_string(waste.size()));
    lines.push_back(InfoCardLine(waste));
  }
  const TCardList reserve = Cards(r.ReserveCards);
  if (!reserve.empty() && !r.Reserve.FreeCells && r.Reserve.Origin.Y != -1 && !r.Reserve.VerticalFan) {
    lines.push_back("Cards in reserve = " + std::to_string(reserve.size()));
    lines.push_back(InfoCardLine(reserve));
  }
  lines.push_back("--------------------");
  return lines;
}
