// Move validation: whether one card may go onto one pile. The only place where the value, suit
// and empty-pile rules of the record are applied; drops ask it once, auto-move once per
// foundation. It changes nothing: the base a first card sets on an empty foundation is taken as
// that card here and fixed only when the card is really put down.

#include <algorithm>
#include <cstdlib>

#include "patience/engine/PatienceEngine.h"

namespace {

const TCard* SlotOf(const std::vector<TCardList>& piles, TPilePos pos) {
  if (pos.Pile < 0 || pos.Pile >= int(piles.size())) return nullptr;
  const TCardList& pile = piles[size_t(pos.Pile)];
  if (pos.Index < 0 || pos.Index >= int(pile.size())) return nullptr;
  return pile[size_t(pos.Index)];
}

}  // namespace

bool TPatienceEngine::ValidDrop(const TCard* card, TPileKind targetKind, TPilePos target,
                                TPileKind sourceKind, TPilePos source) const {
  if (!card) return false;
  const TGameRules& r = Rules;

  // A free cell takes any one card; Four Colours keeps one card of a suit in its cells.
  if (targetKind == pkReserve) {
    if (FSpecial == TGameSpecial::FourColours)
      for (size_t k = 0; k < 4 && k < r.ReserveCards.size(); ++k) {
        const TCard* c = r.ReserveCards[k];
        if (c && c != card && c->Suit == card->Suit) return false;
      }
    return true;
  }

  const bool foundation = targetKind == pkFoundation;
  const TPileRules& rules = foundation ? r.Foundations.Rules : r.Tableau.Rules;
  const std::vector<TCardList>& piles = foundation ? r.FoundationPiles : r.TableauPiles;
  if (target.Pile < 0 || target.Pile >= int(piles.size())) return false;
  const TCard* targetCard = SlotOf(piles, target);

  if (foundation && FSpecial == TGameSpecial::AcesUp) {
    // A discard pile: a card goes when another of the first four piles shows a higher card of its
    // suit (an Ace counts high). Aces stay.
    if (card->Value == cvAce) return false;
    for (int p = 0; p < 4 && p < int(r.TableauPiles.size()); ++p) {
      if (p == source.Pile) continue;
      const TCard* top = TopCard(r.TableauPiles[size_t(p)]);
      if (top && top->Suit == card->Suit && (top->Value == cvAce || top->Value > card->Value)) return true;
    }
    return false;
  }

  if (!foundation && rules.Has(ThreeCardLimit) && target.Index == 2) return false;
  if (rules.Has(OnlyWhenStockEmpty) && FDeck->CardsLeft(false) > 0) return false;

  const int v = card->Value;
  if (targetCard) {
    if ((rules.Has(NoReserveOntoCard) && sourceKind == pkReserve) ||
        (rules.Has(NoTableauOntoCard) && sourceKind == pkTableau) ||
        (rules.Has(NoWasteOntoCard) && sourceKind == pkWaste) ||
        (rules.Has(NoStockOntoCard) && sourceKind == pkStock) || rules.Has(NothingOntoCard))
      return false;
    if (!SpecialCase(rules, card, targetCard)) {
      const int d = v - int(targetCard->Value);
      if (rules.Has(UpByOne) && d != 1) return false;
      if (rules.Has(DownByOne) && d != -1) return false;
      if (rules.Has(UpOrDownByOne) && std::abs(d) != 1) return false;
      if (rules.Has(AnyHigher) && d <= 0) return false;
      if (rules.Has(AnyLower) && d >= 0) return false;
    }
    const bool joker = targetCard->Suit == csJoker;
    if (rules.Has(SameSuit) && !rules.Has(AnySuit) && !rules.Has(SameColour) &&
        card->Suit != targetCard->Suit)
      return false;
    if (!joker && rules.Has(AlternateColour) && card->IsRed() == targetCard->IsRed()) return false;
    if (!joker && rules.Has(SameColour) && card->IsRed() != targetCard->IsRed()) return false;
    if (rules.Has(NotSameSuit) && card->Suit == targetCard->Suit) return false;
    if (rules.Has(ValueIsPileIndex) && v != target.Pile) return false;
    if (rules.Has(RankInPrevious) && target.Pile > 0) {
      const int prev = target.Pile - 1;
      if (prev >= int(r.FoundationPiles.size())) return false;
      const TCardList& below = r.FoundationPiles[size_t(prev)];
      if (std::none_of(below.begin(), below.end(), [v](const TCard* c) { return c && int(c->Value) == v; }))
        return false;
    }
    if (sourceKind == pkTableau && targetKind == pkTableau && source.Pile == target.Pile) return false;
    return true;
  }

  // An empty pile.
  bool result = false;
  if (rules.Has(BaseOnly) || rules.Has(FirstSetsBase)) {
    if (foundation) {
      // The first card on an empty foundation of a base-setting game is its own base.
      const TCard* base = r.Foundations.BaseCard;
      if (rules.Has(FirstSetsBase) && (!base || rules.Has(EachSetsBase))) base = card;
      const bool previousHolds = !rules.Has(RankInPrevious) || target.Pile == 0 ||
                                 (target.Pile - 1 < int(r.FoundationPiles.size()) &&
                                  !IsEmpty(r.FoundationPiles[size_t(target.Pile - 1)]));
      if (base && base->Value == card->Value && previousHolds) result = true;
    } else if (sourceKind == pkStock) {
      result = true;
    }
    if (!rules.Has(FromTableau)) return result;
  }
  if (rules.Has(FromReserve) && sourceKind == pkReserve) result = true;
  if (rules.Has(FromWaste) && sourceKind == pkWaste) {
    const bool reserveEmpty =
        std::none_of(r.ReserveCards.begin(), r.ReserveCards.end(), [](const TCard* c) { return c; });
    if (reserveEmpty || !rules.Has(FromReserve) || rules.Has(FromWasteAlways)) result = true;
  }
  if (targetKind == pkTableau && sourceKind == pkTableau && r.Reserve.FreeCells && source.Pile >= 0 &&
      source.Pile < int(r.TableauPiles.size())) {
    // The cards lying on the dragged one move with it through the cells and the other empty
    // piles; the target is one of the empty piles.
    const int above = TopIndex(r.TableauPiles[size_t(source.Pile)]) - source.Index;
    if (above >= SuperMove(r.Tableau.EmptyPiles - 1)) return false;
  }
  if (rules.Has(FromTableau) && (sourceKind == pkTableau || sourceKind == pkFoundation)) result = true;
  if (rules.Has(FromExcept) && sourceKind == pkExcept) result = true;
  if ((rules.Has(EmptyTakesAce) && v == cvAce) || (rules.Has(EmptyTakesKing) && v == cvKing) ||
      (rules.Has(EmptyTakesTwo) && v == cvTwo) || (rules.Has(EmptyTakesJack) && v == cvJack))
    result = true;
  if (rules.Has(ValueIsPileIndex) && v == target.Pile) result = true;
  return result;
}
