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

  if (!AutoMoveFromSources(card, forced, asked)) {
    Trace("Exit Automove - No move made");
    return false;
  }
  Trace("Exit Automove");
  return FDropSucceeded;
}

// Tries the sources in turn (the waste's top card, the reserve's playable cards from the last slot,
// the piles' top cards) until one card, or the card asked for, has a foundation to go to;
// false when none has.
bool TPatienceEngine::AutoMoveFromSources(const TCard* card, bool forced, bool asked) {
  const TCardList& waste = Rules.WasteCards;
  if (!waste.empty() && (!card || card == waste.back())) {
    const int last = int(waste.size()) - 1;
    if (ValidAutoMove(pkWaste, {last, last}, forced, asked)) return true;
  }
  const TReserve& reserve = Rules.Reserve;
  const int slotCount = int(Rules.ReserveCards.size());
  const int lowest = (reserve.AllPlayable || reserve.FreeCells) ? 0 : slotCount - 1;
  for (int s = slotCount - 1; s >= lowest && s >= 0; --s) {
    const TCard* c = Rules.ReserveCards[size_t(s)];
    if (!c || (card && card != c)) continue;
    if (ValidAutoMove(pkReserve, {s, s}, forced, asked)) return true;
  }
  for (int p = 0; p < int(Rules.TableauPiles.size()); ++p) {
    const TCard* top = TopCard(Rules.TableauPiles[size_t(p)]);
    if (!top || (card && card != top)) continue;
    if (ValidAutoMove(pkTableau, {p, TopIndex(Rules.TableauPiles[size_t(p)])}, forced, asked)) return true;
  }
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

namespace {

// The value an empty foundation starts from (0: the ace).
int FoundationStart(const TPileRules& f, const TCard* baseCard) {
  if (f.Has(EmptyTakesTwo)) return 1;
  if (f.Has(EmptyTakesJack)) return 10;
  if (f.Has(EmptyTakesKing)) return 12;
  if ((f.Has(BaseOnly) || f.Has(FirstSetsBase)) && baseCard) return baseCard->Value;
  return 0;
}

int ColourOf(int suit) {
  return suit == csDiamond || suit == csHeart ? 0 : 1;
}

// The other suit of a suit's colour.
int SiblingSuit(int suit) {
  switch (suit) {
    case csClub:
      return csSpade;
    case csSpade:
      return csClub;
    case csDiamond:
      return csHeart;
    case csHeart:
      return csDiamond;
    default:
      return suit;
  }
}

// The foundations' values counted on from the start value in the building direction, so that a
// foundation that builds round the corner stays in order.
struct TFoundationOrder {
  bool Up = true;
  int Start = 0;
  int operator()(int v) const {
    if (Up) return (Start != 0 && v < Start) ? v + 13 : v;
    return (Start != 12 && v > Start) ? v - 13 : v;
  }
};

// The started foundations per colour (0 red, 1 black) and per suit, with their lowest and highest
// ordered top values, and whether they are near enough to a card of ordered value Value that the
// tableau no longer needs it.
class TFoundationTops {
 public:
  TFoundationTops(const std::vector<TCardList>& piles, const TFoundationOrder& order, int value, int packs)
      : FUp(order.Up), FValue(value), FPacks(packs) {
    const int b = order.Start;
    std::fill(std::begin(FColourLow), std::end(FColourLow), FUp ? b + 12 : b - 12);
    std::fill(std::begin(FSuitLow), std::end(FSuitLow), FUp ? b + 12 : b - 12);
    std::fill(std::begin(FColourHigh), std::end(FColourHigh), b);
    std::fill(std::begin(FSuitHigh), std::end(FSuitHigh), b);
    for (const TCardList& pile : piles)
      if (const TCard* top = TopCard(pile)) Count(top->Suit, order(top->Value));
  }
  bool ColourReady(int c) const { return FColourCount[c] >= FPacks && Near(FColourLow[c], FColourHigh[c]); }
  bool SuitReady(int s, int needed) const {
    return FSuitCount[s] >= needed && Near(FSuitLow[s], FSuitHigh[s]);
  }

 private:
  void Count(int s, int n) {
    const int c = ColourOf(s);
    ++FColourCount[c];
    ++FSuitCount[s];
    FColourLow[c] = std::min(FColourLow[c], n);
    FColourHigh[c] = std::max(FColourHigh[c], n);
    FSuitLow[s] = std::min(FSuitLow[s], n);
    FSuitHigh[s] = std::max(FSuitHigh[s], n);
  }
  bool Near(int low, int high) const { return FUp ? low >= FValue - 2 : high <= FValue + 2; }

  bool FUp;
  int FValue;
  int FPacks;
  int FColourCount[2] = {0, 0};
  int FSuitCount[5] = {0, 0, 0, 0, 0};
  int FColourLow[2] = {}, FColourHigh[2] = {}, FSuitLow[5] = {}, FSuitHigh[5] = {};
};

// By the tableau's building rule: whether the tableau may still want the card, given how far the
// foundations it could go onto have come.
bool TableauMayNeed(const TPileRules& t, const TCard& card, const TFoundationTops& tops, bool up,
                    bool twoPacks) {
  const int colour = ColourOf(card.Suit), other = 1 - colour;
  const int suit = card.Suit;
  if (t.Has(AlternateColour)) return !tops.ColourReady(other);
  if (t.Has(SameSuit)) return twoPacks ? !tops.SuitReady(suit, 2) : false;
  if (t.Has(SameColour)) return !tops.ColourReady(colour);
  if (t.Has(NotSameSuit))
    return !(tops.ColourReady(other) && tops.SuitReady(SiblingSuit(suit), twoPacks ? 2 : 1));
  if (t.Has(NoDropTarget)) return false;
  if (t.Has(AnySuit) && t.Has(up ? DownByOne : UpByOne)) return !(tops.ColourReady(0) && tops.ColourReady(1));
  return true;
}

}  // namespace

bool TPatienceEngine::AutoMoveKeepsBack(const TCard* card) const {
  const TPileRules& f = Rules.Foundations.Rules;
  const bool up = f.Has(UpByOne);
  const bool down = !up && f.Has(DownByOne);
  if (!up && !down) return true;
  const TFoundationOrder order{up, FoundationStart(f, Rules.Foundations.BaseCard)};
  const int r = order(card->Value);
  // The start card and the one after it always go.
  if ((up ? r - order.Start : order.Start - r) < 2) return false;
  const bool twoPacks = Rules.Stock.Decks == 2;
  const TFoundationTops tops(Rules.FoundationPiles, order, r, twoPacks ? 4 : 2);
  return TableauMayNeed(Rules.Tableau.Rules, *card, tops, up, twoPacks);
}
