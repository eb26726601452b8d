// The shared rule predicates and pile helpers: a card following another as a drop and as part of a
// dragged run (where the two really differ: the open value ranges, SameSuit beside AnySuit or
// SameColour, NotSameSuit, a joker underneath), whole suits, and putting a card on a pile.

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "patience/engine/Piles.h"

namespace {

class PilesTest : public ::testing::Test {
 protected:
  // "7s", "Kh", "Ac"; "Jk" is a joker.
  TCard* C(const std::string& name) {
    static const std::string values = "A23456789TJQK";
    static const std::string suits = "cdhs";
    TCard& c = Cards.emplace_back(nullptr);
    if (name == "Jk") {
      c.Suit = csJoker;
      return &c;
    }
    c.Value = TCardValue(values.find(name[0]));
    c.Suit = TCardSuit(suits.find(name[1]));
    return &c;
  }
  std::deque<TCard> Cards;
};

TEST_F(PilesTest, FollowsAsADropAndInARun) {
  struct Row {
    TPileRules Rules;
    const char* Upper;
    const char* Lower;
    bool Drop;
    bool Run;
  };
  const Row rows[] = {
      // The step rules count alike.
      {{DownByOne}, "6h", "7s", true, true},
      {{DownByOne}, "8h", "7s", false, false},
      {{UpByOne}, "8h", "7s", true, true},
      {{UpOrDownByOne}, "8h", "7s", true, true},
      {{UpOrDownByOne}, "7h", "7s", false, false},
      // The open ranges count for a drop only.
      {{AnyHigher}, "Qs", "7s", true, true},
      {{AnyHigher}, "5s", "7s", false, true},
      {{AnyLower}, "9s", "7s", false, true},
      {{UpByOne, AnyLower}, "8h", "7s", false, true},
      // The wraps pass the value rules, not the suit rules, and only when the game has them.
      {{DownByOne, KingOnAce, SameSuit}, "Kc", "Ac", true, true},
      {{DownByOne, KingOnAce, SameSuit}, "Kd", "Ac", false, false},
      {{DownByOne, SameSuit}, "Kc", "Ac", false, false},
      {{UpByOne, AceOnKing}, "As", "Kh", true, true},
      {{UpByOne, KingOnAce}, "As", "Kh", false, false},
      // Suits and colours.
      {{SameSuit}, "2s", "7s", true, true},
      {{SameSuit}, "2c", "7s", false, false},
      {{AlternateColour}, "2h", "7s", true, true},
      {{AlternateColour}, "2c", "7s", false, false},
      {{SameColour}, "2c", "7s", true, true},
      {{SameColour}, "2d", "7s", false, false},
      // SameSuit gives way to AnySuit and SameColour on a drop, never in a run.
      {{SameSuit, AnySuit}, "2h", "7s", true, false},
      {{SameSuit, SameColour}, "2c", "7s", true, false},
      {{SameSuit, SameColour}, "2h", "7s", false, false},
      // NotSameSuit counts on a drop only.
      {{NotSameSuit}, "6s", "7s", false, true},
      {{NotSameSuit}, "6c", "7s", true, true},
      // A joker underneath takes either colour on a drop, not in a run.
      {{AlternateColour}, "5s", "Jk", true, false},
      {{SameColour}, "5h", "Jk", true, false},
      {{SameSuit}, "5h", "Jk", false, false},
      {{}, "5h", "Jk", true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.Upper) + " on " + row.Lower);
    const TCard* upper = C(row.Upper);
    const TCard* lower = C(row.Lower);
    EXPECT_EQ(Follows(row.Rules, upper, lower, TFollowing::Drop), row.Drop);
    EXPECT_EQ(Follows(row.Rules, upper, lower, TFollowing::Run), row.Run);
  }
}

TEST_F(PilesTest, WholeSuitsRunDownByOneUnderTheFoundationsSuitRules) {
  struct Row {
    const char* Name;
    TPileRules Foundation;
    std::vector<std::string> Pile;  // bottom card first
    int From;
    bool Run;
  };
  const Row rows[] = {
      {"one suit down", {WholeSuitsOnly, SameSuit}, {"Kh", "Qh", "Jh", "Th"}, 0, true},
      {"a suit changes", {WholeSuitsOnly, SameSuit}, {"Kh", "Qh", "Jd", "Th"}, 0, false},
      {"suits free without SameSuit", {WholeSuitsOnly}, {"Kh", "Qh", "Jd", "Th"}, 0, true},
      {"colours alternate", {WholeSuitsOnly, AlternateColour}, {"Kh", "Qs", "Jd", "Tc"}, 0, true},
      {"colours repeat", {WholeSuitsOnly, AlternateColour}, {"Kh", "Qs", "Jc", "Th"}, 0, false},
      // The foundation's value rules and SameColour are not the run's.
      {"up is no run", {WholeSuitsOnly, UpByOne}, {"Th", "Jh"}, 0, false},
      {"SameColour ignored", {WholeSuitsOnly, SameColour}, {"Kh", "Qs"}, 0, true},
      {"no wrap", {WholeSuitsOnly, KingOnAce}, {"Ah", "Kh"}, 0, false},
      {"counted from the slot", {WholeSuitsOnly, SameSuit}, {"2c", "9h", "8h"}, 1, true},
      {"one card", {WholeSuitsOnly}, {"5h"}, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TCardList pile;
    for (const std::string& n : row.Pile) pile.push_back(C(n));
    EXPECT_EQ(IsRun(WholeSuitRules(row.Foundation), pile, row.From, TFollowing::Run), row.Run);
  }
}

TEST_F(PilesTest, PutOnPileFillsTheEmptySlotOrGoesOnTop) {
  TCard* a = C("Ah");
  TCard* b = C("2h");
  TCardList pile = EmptyPile();
  PutOnPile(pile, a);
  EXPECT_EQ(pile, TCardList({a}));
  PutOnPile(pile, b);
  EXPECT_EQ(pile, TCardList({a, b}));
  // A list with no slot at all takes the card too.
  TCardList none;
  PutOnPile(none, a);
  EXPECT_EQ(none, TCardList({a}));
}

TEST_F(PilesTest, ValueWordsAreRightAlignedToSevenCharacters) {
  EXPECT_STREQ(kValueWords[cvAce], "    Ace");
  EXPECT_STREQ(kValueWords[cvTen], "    Ten");
  EXPECT_STREQ(kValueWords[cvKing], "   King");
  for (const char* w : kValueWords) EXPECT_EQ(std::string(w).size(), 7u) << w;
}

}  // namespace
