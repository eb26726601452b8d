// Move validation by rule family: value rules and the King/Ace wraps, suit rules, the onto-card
// bans by source, the empty-pile rules by source, the run limit through cells and empty piles, the
// games with rules of their own, and the base a first card sets, which validation never fixes.

#include <gtest/gtest.h>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

class ValidationTest : public TLabTest {
 protected:
  void SetUp() override { Choose(nullptr, "Lab", 1); }
  // Card onto the tableau pile p (its top slot).
  bool OntoPile(const std::string& card, int p, TPileKind sourceKind = pkWaste, TPilePos source = {0, 0}) {
    return E().ValidDrop(C(card), pkTableau, {p, TopIndex(R().TableauPiles[size_t(p)])}, sourceKind, source);
  }
  bool OntoFoundation(const std::string& card, int f, TPileKind sourceKind = pkWaste,
                      TPilePos source = {0, 0}) {
    return E().ValidDrop(C(card), pkFoundation, {f, TopIndex(R().FoundationPiles[size_t(f)])}, sourceKind,
                         source);
  }
};

TEST_F(ValidationTest, ValueRulesAndTheKingAceWraps) {
  Arrange(Rig, {.Tableau = {{"7s"}, {"Ac"}, {"Kh"}, {}}});
  TPileRules& t = R().Tableau.Rules;
  t = {Fanned, DownByOne};
  EXPECT_TRUE(OntoPile("6h", 0));
  EXPECT_FALSE(OntoPile("8h", 0));
  EXPECT_FALSE(OntoPile("5h", 0));
  t = {Fanned, UpByOne};
  EXPECT_TRUE(OntoPile("8h", 0));
  EXPECT_FALSE(OntoPile("6h", 0));
  t = {Fanned, UpOrDownByOne};
  EXPECT_TRUE(OntoPile("8h", 0));
  EXPECT_TRUE(OntoPile("6h", 0));
  EXPECT_FALSE(OntoPile("7h", 0));
  t = {Fanned, AnyHigher};
  EXPECT_TRUE(OntoPile("Qh", 0));
  EXPECT_FALSE(OntoPile("7h", 0));
  t = {Fanned, AnyLower};
  EXPECT_TRUE(OntoPile("2h", 0));
  EXPECT_FALSE(OntoPile("7h", 0));
  // Value rules are conjunctive.
  t = {Fanned, UpByOne, AnyLower};
  EXPECT_FALSE(OntoPile("8h", 0));
  // A King onto an Ace, an Ace onto a King: past the value rules, not past the suit rules.
  t = {Fanned, DownByOne, KingOnAce, SameSuit};
  EXPECT_TRUE(OntoPile("Kc", 1));
  EXPECT_FALSE(OntoPile("Kd", 1));
  t = {Fanned, UpByOne, AceOnKing};
  EXPECT_TRUE(OntoPile("As", 2));
  EXPECT_FALSE(OntoPile("Qs", 2));
}

TEST_F(ValidationTest, SuitRulesAndTheirCombinations) {
  Arrange(Rig, {.Tableau = {{"7s"}, {"7d"}, {}, {}}});
  TPileRules& t = R().Tableau.Rules;
  t = {Fanned, SameSuit};
  EXPECT_TRUE(OntoPile("2s", 0));
  EXPECT_FALSE(OntoPile("2c", 0));
  // SameSuit is switched off by AnySuit and by SameColour here (not in the drag-run walk).
  t = {Fanned, SameSuit, AnySuit};
  EXPECT_TRUE(OntoPile("2h", 0));
  t = {Fanned, SameSuit, SameColour};
  EXPECT_TRUE(OntoPile("2c", 0));
  EXPECT_FALSE(OntoPile("2h", 0));
  t = {Fanned, AlternateColour};
  EXPECT_TRUE(OntoPile("2h", 0));
  EXPECT_TRUE(OntoPile("2c", 1));
  EXPECT_FALSE(OntoPile("2c", 0));
  t = {Fanned, SameColour};
  EXPECT_TRUE(OntoPile("2h", 1));
  EXPECT_FALSE(OntoPile("2s", 1));
  t = {Fanned, NotSameSuit};
  EXPECT_TRUE(OntoPile("2c", 0));
  EXPECT_FALSE(OntoPile("2s", 0));
}

TEST_F(ValidationTest, OntoCardBansGoBySourceKind) {
  Arrange(Rig, {.Tableau = {{"7s"}, {}, {}, {}}});
  TPileRules& t = R().Tableau.Rules;
  struct TBan {
    TPileRule Rule;
    int Banned;
  };
  for (const TBan& b : {TBan{NoReserveOntoCard, pkReserve}, TBan{NoTableauOntoCard, pkTableau},
                        TBan{NoWasteOntoCard, pkWaste}, TBan{NoStockOntoCard, pkStock}}) {
    t = {Fanned, b.Rule};
    for (TPileKind source : {pkStock, pkReserve, pkTableau, pkWaste, pkExcept})
      EXPECT_EQ(OntoPile("6h", 0, source, {2, 0}), source != b.Banned) << int(b.Rule) << " from " << source;
  }
  t = {Fanned, NothingOntoCard};
  for (TPileKind source : {pkStock, pkReserve, pkTableau, pkWaste, pkExcept})
    EXPECT_FALSE(OntoPile("6h", 0, source, {2, 0}));
  // The bans speak of cards only: an empty pile is judged by the empty-pile rules.
  t = {Fanned, NothingOntoCard, FromWaste};
  EXPECT_TRUE(OntoPile("6h", 1, pkWaste));
}

TEST_F(ValidationTest, EmptyPilesTakeCardsBySourceAndByValue) {
  Arrange(Rig, {.Tableau = {{"9c"}, {}, {}, {}}, .Reserve = {"3h"}});
  TPileRules& t = R().Tableau.Rules;
  auto fromEach = [&](const std::string& card) {
    std::string out;
    for (TPileKind source : {pkStock, pkReserve, pkTableau, pkFoundation, pkWaste, pkExcept})
      out += OntoPile(card, 1, source, {0, 0}) ? "1" : "0";
    return out;
  };
  t = {Fanned};
  EXPECT_EQ(fromEach("5d"), "000000");
  t = {Fanned, FromReserve};
  EXPECT_EQ(fromEach("5d"), "010000");
  t = {Fanned, FromTableau};
  EXPECT_EQ(fromEach("5d"), "001100");
  t = {Fanned, FromExcept};
  EXPECT_EQ(fromEach("5d"), "000001");
  // From the waste while the reserve holds cards: only without FromReserve, or with FromWasteAlways.
  t = {Fanned, FromWaste};
  EXPECT_EQ(fromEach("5d"), "000010");
  t = {Fanned, FromWaste, FromReserve};
  EXPECT_EQ(fromEach("5d"), "010000");
  t = {Fanned, FromWaste, FromReserve, FromWasteAlways};
  EXPECT_EQ(fromEach("5d"), "010010");
  R().ReserveCards.assign(4, nullptr);
  t = {Fanned, FromWaste, FromReserve};
  EXPECT_EQ(fromEach("5d"), "010010");
  // By value, from anywhere.
  t = {Fanned, EmptyTakesKing};
  EXPECT_EQ(fromEach("Kd"), "111111");
  EXPECT_EQ(fromEach("Qd"), "000000");
  t = {Fanned, EmptyTakesAce};
  EXPECT_EQ(fromEach("Ad"), "111111");
  t = {Fanned, EmptyTakesTwo};
  EXPECT_EQ(fromEach("2d"), "111111");
  t = {Fanned, EmptyTakesJack};
  EXPECT_EQ(fromEach("Jd"), "111111");
  // The card's value must be the pile's number (pile 1 takes Twos... its index is 1).
  t = {Fanned, ValueIsPileIndex};
  EXPECT_EQ(fromEach("2d"), "111111");
  EXPECT_EQ(fromEach("3d"), "000000");
  // BaseOnly on the tableau: only a card dragged straight from the stock.
  t = {Fanned, BaseOnly, EmptyTakesKing};
  EXPECT_EQ(fromEach("Kd"), "100000");
  t = {Fanned, BaseOnly, FromTableau};
  EXPECT_EQ(fromEach("5d"), "101100");
}

TEST_F(ValidationTest, RunsToEmptyPilesAreLimitedByCellsAndPiles) {
  // Pile 0 holds eleven cards; piles 2 and 3 are empty, all four cells too.
  Arrange(Rig,
          {.Tableau = {{"Kc", "Qd", "Js", "Th", "9c", "8d", "7s", "6h", "5c", "4d", "3s"}, {"2c"}, {}, {}}});
  TPileRules& t = R().Tableau.Rules;
  t = {Fanned, DownByOne, AlternateColour, FromTableau, DragRuns};
  ASSERT_EQ(R().Tableau.EmptyPiles, 2);
  ASSERT_EQ(R().Reserve.EmptyCells, 4);
  EXPECT_EQ(E().SuperMove(2), 20);
  EXPECT_EQ(E().SuperMove(1), 10);
  EXPECT_EQ(E().SuperMove(0), 5);
  // Ten cards (nine above the dragged one) may go to an empty pile, eleven may not.
  EXPECT_TRUE(OntoPile("Qd", 2, pkTableau, {0, 1}));
  EXPECT_FALSE(OntoPile("Kc", 2, pkTableau, {0, 0}));
  // Empty piles do not multiply under EmptyTakesKing; UnlimitedMoves makes it 13.
  t.Include(EmptyTakesKing);
  EXPECT_EQ(E().SuperMove(2), 5);
  EXPECT_FALSE(OntoPile("Qd", 2, pkTableau, {0, 1}));
  t.Include(UnlimitedMoves);
  EXPECT_EQ(E().SuperMove(2), 13);
  EXPECT_TRUE(OntoPile("Kc", 2, pkTableau, {0, 0}));
  // Without free cells there is no limit at all.
  t.Exclude(UnlimitedMoves);
  R().Reserve.FreeCells = false;
  EXPECT_TRUE(OntoPile("Kc", 2, pkTableau, {0, 0}));
}

TEST_F(ValidationTest, PileLimitsStockAndPositionRules) {
  Arrange(Rig, {.Tableau = {{"9c", "8d", "7c"}, {"9h", "8s"}, {}, {}},
                .Foundations = {{"Ac", "2c"}, {}, {}, {}},
                .Stock = {"5d"}});
  TPileRules& t = R().Tableau.Rules;
  t = {Fanned, DownByOne, ThreeCardLimit};
  // Only the third card stops a pile from growing.
  EXPECT_FALSE(OntoPile("6d", 0));
  EXPECT_TRUE(OntoPile("7d", 1));
  t = {Fanned, DownByOne, OnlyWhenStockEmpty};
  EXPECT_FALSE(OntoPile("7d", 1));
  // A tableau card never goes back onto its own pile.
  t = {Fanned};
  EXPECT_FALSE(OntoPile("8d", 0, pkTableau, {0, 1}));
  EXPECT_TRUE(OntoPile("8d", 1, pkTableau, {0, 1}));
  // Foundation k > 0 takes a value only when foundation k - 1 holds it.
  TPileRules& f = R().Foundations.Rules;
  f = {AnyHigher, FromTableau, RankInPrevious};
  Arrange(Rig, {.Tableau = {{"9c"}, {}, {}, {}}, .Foundations = {{"Ac", "3c"}, {"Ad"}, {}, {}}});
  EXPECT_TRUE(OntoFoundation("3d", 1));
  EXPECT_FALSE(OntoFoundation("4d", 1));
}

TEST_F(ValidationTest, GamesWithRulesOfTheirOwn) {
  // Four Colours: a cell takes a card only while no other cell holds its suit.
  Rig.Engine->SetRandomSeed(1);
  ASSERT_TRUE(Rig.Engine->ChooseGame(LabGame("Four Colours")));
  Arrange(Rig, {.Tableau = {{"9c"}, {}, {}, {}}, .Reserve = {"", "4h"}});
  EXPECT_FALSE(E().ValidDrop(C("7h"), pkReserve, {0, 0}, pkTableau, {0, 0}));
  EXPECT_TRUE(E().ValidDrop(C("7s"), pkReserve, {0, 0}, pkTableau, {0, 0}));
  EXPECT_TRUE(E().ValidDrop(C("4h"), pkReserve, {0, 0}, pkReserve, {1, 0}));

  // Aces Up: a card is discarded while another of the first four piles shows a higher card of its
  // suit (an Ace counts high); an Ace never is.
  ASSERT_TRUE(Rig.Engine->ChooseGame(LabGame("Aces Up")));
  Arrange(Rig, {.Tableau = {{"5h"}, {"9h"}, {"Ah"}, {"Kc"}}});
  EXPECT_TRUE(OntoFoundation("5h", 0, pkTableau, {0, 0}));
  EXPECT_FALSE(OntoFoundation("Ah", 0, pkTableau, {2, 0}));
  EXPECT_FALSE(OntoFoundation("Kc", 0, pkTableau, {3, 0}));
  Arrange(Rig, {.Tableau = {{"5h"}, {"9d"}, {"3h"}, {"Kc"}}});
  EXPECT_FALSE(OntoFoundation("5h", 0, pkTableau, {0, 0}));
  // The higher heart on the card's own pile does not count.
  Arrange(Rig, {.Tableau = {{"9h", "5h"}, {"9d"}, {"3h"}, {"Kc"}}});
  EXPECT_FALSE(OntoFoundation("5h", 0, pkTableau, {0, 1}));
}

TEST_F(ValidationTest, BaseRulesAreJudgedWithoutFixingTheBase) {
  TPileRules& f = R().Foundations.Rules;
  f = {UpByOne, SameSuit, FirstSetsBase};
  Arrange(Rig, {.Tableau = {{"9c"}, {}, {}, {}}});
  Rig.Host.FoundationLabel = "   Move";
  // Any first card may set the base; asking changes nothing.
  for (const char* card : {"5d", "Ks", "9c"}) EXPECT_TRUE(OntoFoundation(card, 0)) << card;
  EXPECT_EQ(R().Foundations.BaseCard, nullptr);
  EXPECT_EQ(Rig.Host.FoundationLabel, "   Move");
  // Once a base is fixed, empty foundations take only its value.
  R().Foundations.BaseCard = C("5d");
  EXPECT_TRUE(OntoFoundation("5c", 1));
  EXPECT_FALSE(OntoFoundation("6c", 1));
  // Every card re-fixes it under EachSetsBase.
  f.Include(EachSetsBase);
  EXPECT_TRUE(OntoFoundation("6c", 1));
  // BaseOnly without a base card (it was never dealt) refuses instead of failing.
  f = {UpByOne, BaseOnly};
  R().Foundations.BaseCard = nullptr;
  EXPECT_FALSE(OntoFoundation("5c", 1));
  // The safety test copes with the missing base too (it reads the base value).
  (void)E().AutoMoveKeepsBack(C("5c"));
  // RankInPrevious: an empty foundation past the first needs the one before it started.
  f = {UpByOne, BaseOnly, RankInPrevious};
  R().Foundations.BaseCard = C("5d");
  EXPECT_TRUE(OntoFoundation("5c", 0));
  EXPECT_FALSE(OntoFoundation("5c", 1));
}

}  // namespace
