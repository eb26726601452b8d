// Move validation: whether one card may go onto one pile. The only place where the value, suit
// and empty-pile rules of the record are applied; drops ask it once, auto-move once per
// foundation. It changes nothing: the base a first card sets on an empty foundation is taken as
// that card here and fixed only when the card is really put down.

#include <algorithm>

#include "patience/engine/PatienceEngine.h"
#include "patience/engine/Piles.h"

namespace {

// The move being judged.
struct TDrop {
  const TCard* Card;
  TPileKind TargetKind;
  TPilePos Target;
  TPileKind SourceKind;
  TPilePos Source;
};

const TCard* SlotOf(const std::vector<TCardList>& piles, TPilePos pos) {
  if (pos.Pile < 0 || pos.Pile >= int(piles.size())) return nullptr;
  const TCardList& pile = piles[size_t(pos.Pile)];
  if (pos.Index < 0 || pos.Index >= int(pile.size())) return nullptr;
  return pile[size_t(pos.Index)];
}

// A free cell takes any one card; with oneOfASuit (Four Colours) the cells hold one card of a suit.
bool CheckCellTarget(const TGameRules& r, const TCard* card, bool oneOfASuit) {
  if (!oneOfASuit) return true;
  for (size_t k = 0; k < 4 && k < r.ReserveCards.size(); ++k) {
    const TCard* c = r.ReserveCards[k];
    if (c && c != card && c->Suit == card->Suit) return false;
  }
  return true;
}

// Aces Up's discard pile: a card goes when another of the first four piles shows a higher card of
// its suit (an Ace counts high). Aces stay.
bool CheckAcesUpDiscard(const TGameRules& r, const TCard* card, int sourcePile) {
  if (card->Value == cvAce) return false;
  for (int p = 0; p < 4 && p < int(r.TableauPiles.size()); ++p) {
    if (p == sourcePile) continue;
    const TCard* top = TopCard(r.TableauPiles[size_t(p)]);
    if (top && top->Suit == card->Suit && (top->Value == cvAce || top->Value > card->Value)) return true;
  }
  return false;
}

// The rules that keep a source's cards off a pile's top card.
bool OntoCardBarred(const TPileRules& rules, TPileKind sourceKind) {
  return (rules.Has(NoReserveOntoCard) && sourceKind == pkReserve) ||
         (rules.Has(NoTableauOntoCard) && sourceKind == pkTableau) ||
         (rules.Has(NoWasteOntoCard) && sourceKind == pkWaste) ||
         (rules.Has(NoStockOntoCard) && sourceKind == pkStock) || rules.Has(NothingOntoCard);
}

// RankInPrevious: the foundation before pile holds a card of the value (the first pile needs none).
bool RankShownInPrevious(const TGameRules& r, int value, int pile) {
  if (pile <= 0) return true;
  if (pile - 1 >= int(r.FoundationPiles.size())) return false;
  const TCardList& below = r.FoundationPiles[size_t(pile - 1)];
  return std::any_of(below.begin(), below.end(),
                     [value](const TCard* c) { return c && int(c->Value) == value; });
}

// Onto a pile's top card: no ban on the source, the card follows the top card, and the rules
// that tie a value to the pile hold. A tableau card never goes back onto its own pile.
bool CheckOntoCard(const TGameRules& r, const TPileRules& rules, const TCard* targetCard, const TDrop& d) {
  const int v = d.Card->Value;
  if (OntoCardBarred(rules, d.SourceKind)) return false;
  if (!Follows(rules, d.Card, targetCard, TFollowing::Drop)) return false;
  if (rules.Has(ValueIsPileIndex) && v != d.Target.Pile) return false;
  if (rules.Has(RankInPrevious) && !RankShownInPrevious(r, v, d.Target.Pile)) return false;
  return !(d.SourceKind == pkTableau && d.TargetKind == pkTableau && d.Source.Pile == d.Target.Pile);
}

// BaseOnly and FirstSetsBase: an empty foundation takes a card of the base's value (the first card
// of a base-setting game is its own base; RankInPrevious also wants the previous foundation
// started), an empty tableau pile a card from the stock.
bool TakesBase(const TGameRules& r, const TPileRules& rules, const TDrop& d) {
  if (d.TargetKind != pkFoundation) return d.SourceKind == pkStock;
  const TCard* base = r.Foundations.BaseCard;
  if (rules.Has(FirstSetsBase) && (!base || rules.Has(EachSetsBase))) base = d.Card;
  const int pile = d.Target.Pile;
  const bool previousHolds =
      !rules.Has(RankInPrevious) || pile == 0 ||
      (pile - 1 < int(r.FoundationPiles.size()) && !IsEmpty(r.FoundationPiles[size_t(pile - 1)]));
  return base && base->Value == d.Card->Value && previousHolds;
}

// The sources an empty pile takes cards from; the waste's cards wait for an empty reserve unless
// FromWasteAlways.
bool TakesFromSource(const TGameRules& r, const TPileRules& rules, TPileKind sourceKind) {
  if (rules.Has(FromReserve) && sourceKind == pkReserve) return true;
  if (rules.Has(FromWaste) && sourceKind == pkWaste) {
    const bool reserveEmpty =
        std::none_of(r.ReserveCards.begin(), r.ReserveCards.end(), [](const TCard* c) { return c; });
    if (reserveEmpty || !rules.Has(FromReserve) || rules.Has(FromWasteAlways)) return true;
  }
  if (rules.Has(FromTableau) && (sourceKind == pkTableau || sourceKind == pkFoundation)) return true;
  return rules.Has(FromExcept) && sourceKind == pkExcept;
}

// The values an empty pile takes whatever the source.
bool TakesValue(const TPileRules& rules, int v, int pile) {
  return (rules.Has(EmptyTakesAce) && v == cvAce) || (rules.Has(EmptyTakesKing) && v == cvKing) ||
         (rules.Has(EmptyTakesTwo) && v == cvTwo) || (rules.Has(EmptyTakesJack) && v == cvJack) ||
         (rules.Has(ValueIsPileIndex) && v == pile);
}

// With free cells, the cards lying on a dragged tableau card move with it through the cells and the
// other empty piles; the target is one of the empty piles.
bool RunFitsEmptyPile(const TPatienceEngine& e, const TDrop& d) {
  const TGameRules& r = e.Rules;
  if (d.TargetKind != pkTableau || d.SourceKind != pkTableau || !r.Reserve.FreeCells || d.Source.Pile < 0 ||
      d.Source.Pile >= int(r.TableauPiles.size()))
    return true;
  const int above = TopIndex(r.TableauPiles[size_t(d.Source.Pile)]) - d.Source.Index;
  return above < e.SuperMove(r.Tableau.EmptyPiles - 1);
}

// Into an empty pile: the base rules (alone unless FromTableau joins them), the run limit, then
// the sources and values the pile takes.
bool CheckEmptyTarget(const TPatienceEngine& e, const TPileRules& rules, const TDrop& d) {
  const TGameRules& r = e.Rules;
  bool result = false;
  if (rules.Has(BaseOnly) || rules.Has(FirstSetsBase)) {
    result = TakesBase(r, rules, d);
    if (!rules.Has(FromTableau)) return result;
  }
  if (!RunFitsEmptyPile(e, d)) return false;
  return result || TakesFromSource(r, rules, d.SourceKind) || TakesValue(rules, d.Card->Value, d.Target.Pile);
}

}  // namespace

bool TPatienceEngine::ValidDrop(const TCard* card, TPileKind targetKind, TPilePos target,
                                TPileKind sourceKind, TPilePos source) const {
  if (!card) return false;
  const TGameRules& r = Rules;
  // 1. A free cell.
  if (targetKind == pkReserve) return CheckCellTarget(r, card, FSpecial == TGameSpecial::FourColours);

  // 2. The target pile exists.
  const bool foundation = targetKind == pkFoundation;
  const TPileRules& rules = foundation ? r.Foundations.Rules : r.Tableau.Rules;
  const std::vector<TCardList>& piles = foundation ? r.FoundationPiles : r.TableauPiles;
  if (target.Pile < 0 || target.Pile >= int(piles.size())) return false;

  // 3. Aces Up's discard pile has a rule of its own.
  if (foundation && FSpecial == TGameSpecial::AcesUp) return CheckAcesUpDiscard(r, card, source.Pile);

  // 4. Piles closed to every card for now.
  if (!foundation && rules.Has(ThreeCardLimit) && target.Index == 2) return false;
  if (rules.Has(OnlyWhenStockEmpty) && FDeck->CardsLeft(false) > 0) return false;

  // 5. Onto the pile's top card, or into the empty pile.
  const TDrop drop{card, targetKind, target, sourceKind, source};
  if (const TCard* targetCard = SlotOf(piles, target)) return CheckOntoCard(r, rules, targetCard, drop);
  return CheckEmptyTarget(*this, rules, drop);
}
