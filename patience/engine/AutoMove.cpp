// Auto-move: cards played to the foundations for the player, one per pass, each pass replaying its
// move as a drop. While the option is on a drop is followed by another pass until none moves a
// card. The safety test keeps back cards the tableau may still need, unless the move is forced
// (a card asked for by a middle click, a forced pass, or a game whose foundations always take).

#include <algorithm>

#include "patience/engine/EngineScopes.h"
#include "patience/engine/PatienceEngine.h"

bool TPatienceEngine::AutoMoveActive() const {
  return FTable && !FQuiet && !FReplaying && (FAutoMoveForcedOn || FHost->AutoMoveOn());
}

void TPatienceEngine::AutoMoveOnClick() {
  Trace("Auto Move On");
  FHost->SetAutoMoveOption(true);
  Automove(nullptr);
}

void TPatienceEngine::AutoMoveOffClick() {
  Trace("Auto Move Off");
  FHost->SetAutoMoveOption(false);
}

void TPatienceEngine::AutomoveToggle() {
  if (CommandRunning()) return;
  if (FHost->AutoMoveOn())
    AutoMoveOffClick();
  else
    AutoMoveOnClick();
}

void TPatienceEngine::CardMiddleClicked(TCard* card) {
  Automove(card);
  if (AutoMoveActive()) Automove(nullptr);
}

void TPatienceEngine::ForcedAutoMovePass() {
  const TPileRules& f = Rules.Foundations.Rules;
  if (!FTable || f.Has(AutoMoveOnRequest) || f.Has(WholeSuitsOnly) || Busy || CommandRunning()) return;
  TSetFor<bool> force(FForceAutoMove, true);
  TSetFor<bool> on(FAutoMoveForcedOn, true);
  Automove(nullptr);
}

// The chain of passes runs here rather than through nested drops: a pass's drop only reports
// that it moved a card, and the next pass starts when it has returned.
void TPatienceEngine::Automove(TCard* card) {
  if (FAutoMoveDepth > 0) return;
  TSetFor<int> depth(FAutoMoveDepth, 1);
  bool moved = AutomovePass(card);
  while (moved && !FWon && AutoMoveActive()) moved = AutomovePass(nullptr);
}

bool TPatienceEngine::AutomovePass(TCard* card) {
  const TPileRules& f = Rules.Foundations.Rules;
  if (!FTable || Busy || FWon || f.Has(WholeSuitsOnly) || !FTable->Visible() || FQuiet) return false;
  if (!card && f.Has(AutoMoveOnRequest)) return false;
  Trace(card ? "Start Automove Specific" : "Start Automove");
  TCommandScope scope(*this);
  TTableMotion motion(FTable);
  motion.NoSlowMove();
  const bool forced = card || f.Has(AutoMoveForced) || FForceAutoMove;
  const bool asked = card != nullptr;
  FDropSucceeded = false;

  auto tried = [&](TPileKind kind, TPilePos pos) {
    if (!ValidAutoMove(kind, pos, forced, asked)) return false;
    Trace("Exit Automove");
    return true;
  };
  const TCardList& waste = Rules.WasteCards;
  if (!waste.empty() && (!card || card == waste.back())) {
    const int last = int(waste.size()) - 1;
    if (tried(pkWaste, {last, last})) return FDropSucceeded;
  }
  const TReserve& reserve = Rules.Reserve;
  const int slotCount = int(Rules.ReserveCards.size());
  const int lowest = (reserve.AllPlayable || reserve.FreeCells) ? 0 : slotCount - 1;
  for (int s = slotCount - 1; s >= lowest && s >= 0; --s) {
    TCard* c = Rules.ReserveCards[size_t(s)];
    if (!c || (card && card != c)) continue;
    if (tried(pkReserve, {s, s})) return FDropSucceeded;
  }
  for (int p = 0; p < int(Rules.TableauPiles.size()); ++p) {
    const TCard* top = TopCard(Rules.TableauPiles[size_t(p)]);
    if (!top || (card && card != top)) continue;
    if (tried(pkTableau, {p, TopIndex(Rules.TableauPiles[size_t(p)])})) return FDropSucceeded;
  }
  Trace("Exit Automove - No move made");
  return false;
}

bool TPatienceEngine::ValidAutoMove(TPileKind kind, TPilePos pos, bool forced, bool asked) {
  const TCard* card = CardAtSource(kind, pos.Pile, pos.Index);
  if (!card) return false;
  const TPileRules& f = Rules.Foundations.Rules;
  int found = -1;
  for (int i = 0; i < int(Rules.FoundationPiles.size()) && i < int(Rules.FoundationPlaces.size()); ++i) {
    const TCardList& pile = Rules.FoundationPiles[size_t(i)];
    // The player, not the machine, chooses the card that fixes a foundation's base.
    if (!asked && IsEmpty(pile) && f.Has(FirstSetsBase) &&
        (!Rules.Foundations.BaseCard || f.Has(EachSetsBase)))
      continue;
    if (ValidDrop(card, pkFoundation, {i, TopIndex(pile)}, kind, pos)) {
      found = i;
      break;
    }
  }
  if (found < 0) return false;
  const TPoint point = FoundationPoint(found);
  const auto it = std::find(DropPointList.begin(), DropPointList.end(), point);
  // A foundation that is no drop target cannot take the card.
  if (it == DropPointList.end()) return false;
  if (!forced && AutoMoveKeepsBack(card)) return false;
  MakeMove(kind, pos.Pile, pos.Index, int(it - DropPointList.begin()));
  return true;
}

bool TPatienceEngine::AutoMoveKeepsBack(const TCard* card) const {
  const TPileRules& f = Rules.Foundations.Rules;
  const TPileRules& t = Rules.Tableau.Rules;
  const TCard* baseCard = Rules.Foundations.BaseCard;
  int b = 0;
  if (f.Has(EmptyTakesTwo))
    b = 1;
  else if (f.Has(EmptyTakesJack))
    b = 10;
  else if (f.Has(EmptyTakesKing))
    b = 12;
  else if ((f.Has(BaseOnly) || f.Has(FirstSetsBase)) && baseCard)
    b = baseCard->Value;
  const bool up = f.Has(UpByOne);
  const bool down = !up && f.Has(DownByOne);
  if (!up && !down) return true;
  auto normal = [&](int v) {
    if (up) return (b != 0 && v < b) ? v + 13 : v;
    return (b != 12 && v > b) ? v - 13 : v;
  };
  const int r = normal(card->Value);
  if ((up ? r - b : b - r) < 2) return false;

  // Started foundations per colour (0 red, 1 black) and per suit, with their lowest and highest
  // normalised top values.
  const int packs = Rules.Stock.Decks == 2 ? 4 : 2;
  int colourCount[2] = {0, 0}, suitCount[5] = {0, 0, 0, 0, 0};
  int colourLow[2], colourHigh[2], suitLow[5], suitHigh[5];
  std::fill(std::begin(colourLow), std::end(colourLow), up ? b + 12 : b - 12);
  std::fill(std::begin(suitLow), std::end(suitLow), up ? b + 12 : b - 12);
  std::fill(std::begin(colourHigh), std::end(colourHigh), b);
  std::fill(std::begin(suitHigh), std::end(suitHigh), b);
  auto colourOf = [](int suit) { return suit == csDiamond || suit == csHeart ? 0 : 1; };
  for (const TCardList& pile : Rules.FoundationPiles) {
    const TCard* top = TopCard(pile);
    if (!top) continue;
    const int n = normal(top->Value);
    const int c = colourOf(top->Suit), s = top->Suit;
    ++colourCount[c];
    ++suitCount[s];
    colourLow[c] = std::min(colourLow[c], n);
    colourHigh[c] = std::max(colourHigh[c], n);
    suitLow[s] = std::min(suitLow[s], n);
    suitHigh[s] = std::max(suitHigh[s], n);
  }
  auto near = [&](int low, int high) { return up ? low >= r - 2 : high <= r + 2; };
  auto colourReady = [&](int c) { return colourCount[c] >= packs && near(colourLow[c], colourHigh[c]); };
  auto suitReady = [&](int s, int needed) { return suitCount[s] >= needed && near(suitLow[s], suitHigh[s]); };
  const int colour = colourOf(card->Suit), other = 1 - colour;
  const int suit = card->Suit;
  // The other suit of the card's colour.
  const int sibling = suit == csClub      ? csSpade
                      : suit == csSpade   ? csClub
                      : suit == csDiamond ? csHeart
                      : suit == csHeart   ? csDiamond
                                          : suit;
  const bool twoPacks = Rules.Stock.Decks == 2;

  if (t.Has(AlternateColour)) return !colourReady(other);
  if (t.Has(SameSuit)) return twoPacks ? !suitReady(suit, 2) : false;
  if (t.Has(SameColour)) return !colourReady(colour);
  if (t.Has(NotSameSuit)) return !(colourReady(other) && suitReady(sibling, twoPacks ? 2 : 1));
  if (t.Has(NoDropTarget)) return false;
  if (t.Has(AnySuit) && t.Has(up ? DownByOne : UpByOne)) return !(colourReady(0) && colourReady(1));
  return true;
}
