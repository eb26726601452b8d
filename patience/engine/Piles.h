#pragma once
// The rule predicates and pile helpers every game shares: whether one card follows another under
// a pile's rules, putting a card on a pile, and the words of the card values. Validation, the drag
// lists and the drop handling ask these, so one rule is written once. (The pile-shape helpers
// IsEmpty, TopIndex, TopCard and the King/Ace wraps SpecialCase live with the rules record.)

#include <cstdint>
#include <cstdlib>

#include "patience/engine/Rules.h"

// The foundation label's words of the card values (Ace first), right-aligned to seven characters.
inline constexpr const char* kValueWords[13] = {"    Ace", "    Two", "  Three", "   Four", "   Five",
                                                "    Six", "  Seven", "  Eight", "   Nine", "    Ten",
                                                "   Jack", "  Queen", "   King"};

// Both red or both black.
inline bool SameColourOf(const TCard* a, const TCard* b) {
  return a->IsRed() == b->IsRed();
}

// The card goes into the slot of an empty pile ([nil] becomes [card]) or on top of the others.
inline void PutOnPile(TCardList& pile, TCard* card) {
  if (!pile.empty() && !pile[0])
    pile[0] = card;
  else
    pile.push_back(card);
}

// The two ways a card is judged against the card under it. They really differ:
//  - Drop: a card let go onto a pile's top card. Every value rule counts, the open ranges AnyHigher
//    and AnyLower too; SameSuit gives way to AnySuit and to SameColour; NotSameSuit counts; a joker
//    underneath takes a card of either colour.
//  - Run: cards already lying on each other that are dragged as one. Only the step rules (UpByOne,
//    DownByOne, UpOrDownByOne) and the plain SameSuit, AlternateColour and SameColour count.
// In both, the King-on-Ace and Ace-on-King wraps pass the value rules, never the suit rules.
enum class TFollowing : uint8_t { Drop, Run };

// The value rules: upper's value against lower's.
inline bool ValueFollows(const TPileRules& rules, const TCard* upper, const TCard* lower, TFollowing how) {
  if (SpecialCase(rules, upper, lower)) return true;
  const int d = int(upper->Value) - int(lower->Value);
  if (rules.Has(UpByOne) && d != 1) return false;
  if (rules.Has(DownByOne) && d != -1) return false;
  if (rules.Has(UpOrDownByOne) && std::abs(d) != 1) return false;
  if (how == TFollowing::Run) return true;
  if (rules.Has(AnyHigher) && d <= 0) return false;
  if (rules.Has(AnyLower) && d >= 0) return false;
  return true;
}

// The suit and colour rules: upper's suit against lower's.
inline bool SuitFollows(const TPileRules& rules, const TCard* upper, const TCard* lower, TFollowing how) {
  if (how == TFollowing::Drop) {
    if (rules.Has(SameSuit) && !rules.Has(AnySuit) && !rules.Has(SameColour) && upper->Suit != lower->Suit)
      return false;
    if (rules.Has(NotSameSuit) && upper->Suit == lower->Suit) return false;
    if (lower->Suit == csJoker) return true;
  } else if (rules.Has(SameSuit) && upper->Suit != lower->Suit) {
    return false;
  }
  if (rules.Has(AlternateColour) && SameColourOf(upper, lower)) return false;
  if (rules.Has(SameColour) && !SameColourOf(upper, lower)) return false;
  return true;
}

// Whether upper may lie on lower under the rules (both cards present).
inline bool Follows(const TPileRules& rules, const TCard* upper, const TCard* lower, TFollowing how) {
  return ValueFollows(rules, upper, lower, how) && SuitFollows(rules, upper, lower, how);
}

// A whole suit for a WholeSuitsOnly foundation is a run down by one that keeps the foundation's
// SameSuit and AlternateColour rules; none of its other rules (the wraps among them) apply.
inline TPileRules WholeSuitRules(const TPileRules& foundation) {
  TPileRules run{DownByOne};
  if (foundation.Has(SameSuit)) run.Include(SameSuit);
  if (foundation.Has(AlternateColour)) run.Include(AlternateColour);
  return run;
}

// Whether the cards of the pile from slot `from` to the top each follow the card under them.
inline bool IsRun(const TPileRules& rules, const TCardList& pile, int from, TFollowing how) {
  for (size_t k = size_t(from) + 1; k < pile.size(); ++k)
    if (!Follows(rules, pile[k], pile[k - 1], how)) return false;
  return true;
}
