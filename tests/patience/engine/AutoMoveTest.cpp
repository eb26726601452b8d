// Auto-move: the safety test (colours, suits, two packs, no direction), the order of candidates,
// the requests that force a move (a middle click, a right click on the table), the game that moves
// only on request, and bases, which only the player sets.

#include <gtest/gtest.h>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

std::vector<std::string> UpTo(char suit, int count) {
  std::vector<std::string> out;
  for (int v = 0; v < count; ++v) out.push_back(std::string(1, "A23456789TJQK"[v]) + suit);
  return out;
}

class AutoMoveTest : public TLabTest {
 protected:
  void Klondike() {
    Choose([](TGameRules& r) {
      r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, EmptyTakesKing, DragRuns};
      r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce};
    });
  }
  bool KeepsBack(const std::string& card) { return E().AutoMoveKeepsBack(C(card)); }
};

TEST_F(AutoMoveTest, AlternateColoursWaitForBothFoundationsOfTheOtherColour) {
  Klondike();
  // A red Five needs both black foundations at Three or more; Aces and Twos always go.
  Arrange(Rig,
          {.Tableau = {{"Qd"}}, .Foundations = {UpTo('c', 3), UpTo('s', 2), UpTo('h', 4), UpTo('d', 1)}});
  EXPECT_TRUE(KeepsBack("5h"));
  EXPECT_FALSE(KeepsBack("2d"));
  Arrange(Rig, {.Tableau = {{"Qd"}}, .Foundations = {UpTo('c', 3), UpTo('s', 3), UpTo('h', 4)}});
  EXPECT_FALSE(KeepsBack("5h"));
  EXPECT_TRUE(KeepsBack("6h"));
  // One black foundation is not enough, however high.
  Arrange(Rig, {.Tableau = {{"Qd"}}, .Foundations = {UpTo('c', 9), {}, UpTo('h', 4)}});
  EXPECT_TRUE(KeepsBack("5h"));
  EXPECT_FALSE(KeepsBack("Ad"));
}

TEST_F(AutoMoveTest, SuitsDirectionsAndTwoPacks) {
  Klondike();
  Arrange(Rig, {.Tableau = {{"Qd"}}, .Foundations = {UpTo('c', 3)}});
  TPileRules& t = R().Tableau.Rules;
  TPileRules& f = R().Foundations.Rules;
  // Building by suit with one pack never needs a card back.
  t = {Fanned, DownByOne, SameSuit};
  EXPECT_FALSE(KeepsBack("4c"));
  // No rule that decides: kept back.
  t = {Fanned, DownByOne};
  EXPECT_TRUE(KeepsBack("4c"));
  // Foundations with no direction: kept back unless forced.
  f = {SameSuit, EmptyTakesAce};
  t = {Fanned, DownByOne, SameSuit};
  EXPECT_TRUE(KeepsBack("4c"));
  // Two packs, building by suit: both foundations of the suit started, the lower one at most two
  // below the card.
  f = {UpByOne, SameSuit, EmptyTakesAce};
  R().Stock.Decks = 2;
  EXPECT_TRUE(KeepsBack("5c"));
  R().FoundationPiles[1] = {CardNamed(E(), "Ac")};
  EXPECT_TRUE(KeepsBack("5c"));
  R().FoundationPiles[1] = {CardNamed(E(), "Ac"), CardNamed(E(), "2c"), CardNamed(E(), "3c")};
  R().FoundationPiles[0] = {CardNamed(E(), "Ac"), CardNamed(E(), "2c"), CardNamed(E(), "3c")};
  EXPECT_FALSE(KeepsBack("5c"));
  EXPECT_TRUE(KeepsBack("6c"));
}

TEST_F(AutoMoveTest, CandidatesGoWasteReserveFromTheLastThenTableau) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour};
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce, AutoMoveForced};
    r.Reserve.FreeCells = false;
    r.Reserve.AllPlayable = true;
    r.Reserve.VerticalFan = true;
  });
  Arrange(Rig, {.Tableau = {{"9c", "Ac"}, {"Ah"}}, .Reserve = {"Ad", "As"}, .Waste = {"2h", "2c"}});
  E().AutoMoveOnClick();
  const std::vector<TRecord> records = HistoryRecords(E());
  ASSERT_EQ(records.size(), 6u);
  std::string order;
  for (const TRecord& r : records) order += std::to_string(r.Kind);
  // The waste's Two waits for its Ace; reserve slots from the last; tableau piles in order.
  EXPECT_EQ(order, "112424");
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(AutoMoveTest, RequestsForceTheMoveAndTheOptionStaysAsItWas) {
  Klondike();
  Arrange(Rig, {.Tableau = {{"9c", "5h"}, {"Ad"}}, .Foundations = {UpTo('h', 4)}});
  Rig.Host.AutoMove = false;
  // The pass with the option on moves the Ace but keeps the red Five back.
  E().AutoMoveOnClick();
  EXPECT_TRUE(Rig.Host.AutoMove);
  EXPECT_EQ(HistoryRecords(E()).size(), 1u);
  EXPECT_EQ(R().TableauPiles[0].back(), CardNamed(E(), "5h"));
  // A middle click moves it all the same.
  TCard* five = CardNamed(E(), "5h");
  Rig.Table->MouseDown(mbMiddle, 0, five->X + 3, five->Y + 3);
  EXPECT_EQ(TopCard(R().FoundationPiles[0]), five);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  // A right click on the bare table runs one forced pass and leaves the option off.
  E().AutoMoveOffClick();
  Arrange(Rig, {.Tableau = {{"9c", "6h"}, {"Kd"}}, .Foundations = {UpTo('h', 5)}});
  Rig.Table->MouseDown(mbRight, 0, 1000, 800);
  EXPECT_EQ(TopCard(R().FoundationPiles[0]), CardNamed(E(), "6h"));
  EXPECT_FALSE(Rig.Host.AutoMove);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(AutoMoveTest, GamesThatMoveOnlyOnRequest) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour};
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce, AutoMoveOnRequest};
  });
  Arrange(Rig, {.Tableau = {{"Ac"}, {"Ad"}}});
  Rig.Host.AutoMove = true;
  E().Automove(nullptr);
  Rig.Table->MouseDown(mbRight, 0, 1000, 800);
  EXPECT_TRUE(HistoryRecords(E()).empty());
  TCard* ace = CardNamed(E(), "Ad");
  Rig.Table->MouseDown(mbMiddle, 0, ace->X + 3, ace->Y + 3);
  EXPECT_EQ(HistoryRecords(E()).size(), 1u);
  EXPECT_EQ(TopCard(R().FoundationPiles[0]), ace);
}

TEST_F(AutoMoveTest, OnlyThePlayerSetsABase) {
  // Xantia: the first card on an empty foundation fixes the base. The pass at the end of the deal
  // leaves the foundations alone.
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    TEngineRig rig;
    FastTable(*rig.Table);
    rig.Host.AutoMove = true;
    rig.Deal("Xantia", seed);
    TPatienceEngine& e = *rig.Engine;
    EXPECT_EQ(e.Rules.Foundations.BaseCard, nullptr);
    EXPECT_TRUE(HistoryRecords(e).empty());
    EXPECT_EQ(rig.Host.FoundationLabel, "   Move");
    // The player puts a card up: it fixes the base, and auto-move follows with the same value.
    TRecord first{};
    for (const TRecord& m : LegalMoves(e)) {
      int kind = 0;
      TPilePos pos;
      if (TargetOf(e, m.Target, kind, pos) && kind == pkFoundation) {
        first = m;
        break;
      }
    }
    ASSERT_EQ(first.Kind, pkTableau);
    const TCard* base = e.Rules.TableauPiles[size_t(first.Pile)][size_t(first.Index)];
    ASSERT_TRUE(e.MakeMove(TPileKind(first.Kind), first.Pile, first.Index, first.Target));
    EXPECT_EQ(e.Rules.Foundations.BaseCard, base);
    EXPECT_NE(rig.Host.FoundationLabel, "   Move");
    for (const TCardList& f : e.Rules.FoundationPiles) {
      if (!IsEmpty(f)) {
        EXPECT_EQ(f[0]->Value, base->Value);
      }
    }
    EXPECT_TRUE(PlayIsSound(e, *rig.Table));
  }
}

TEST_F(AutoMoveTest, AcesAndTwosGoBeforeTheOtherColourHasStarted) {
  Klondike();
  // Only one red foundation started; no black one.
  Arrange(Rig, {.Tableau = {{"2d"}, {"As"}, {"2h"}, {}}, .Foundations = {UpTo('d', 1), {}, {}, {}}});
  EXPECT_FALSE(KeepsBack("2d"));
  EXPECT_FALSE(KeepsBack("As"));
  EXPECT_FALSE(KeepsBack("2h"));
  EXPECT_TRUE(KeepsBack("3d"));
  // A pass takes the Two up (and the Ace after it: one card per pass, chained).
  E().Automove(nullptr);
  EXPECT_EQ(R().FoundationPiles[0].back(), CardNamed(E(), "2d"));
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

}  // namespace
