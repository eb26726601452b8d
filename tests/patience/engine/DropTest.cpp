// Drop handling: refused drops, runs onto fanned piles, cards leaving foundations, refills of
// emptied piles, whole suits, The Clock's turn of a pile, the turned-up marker, the win test in its
// three forms, and a drop let go exactly on another pile's point.

#include <gtest/gtest.h>

#include <climits>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

class DropTest : public TLabTest {
 protected:
  // Tableau built down in alternate colours, foundations up in suit from the Ace.
  void FoundationGame() {
    Choose([](TGameRules& r) {
      r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau};
      r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce};
    });
  }
};

// A suit's cards from the Ace up to (not including) the top'th.
std::vector<std::string> Suit(char s, int top) {
  std::vector<std::string> out;
  for (int v = 0; v < top; ++v) out.push_back(std::string(1, "A23456789TJQK"[v]) + s);
  return out;
}

void NoCells(TGameRules& r) {
  r.Reserve.Count = 0;
  r.Reserve.FreeCells = false;
}

TEST_F(DropTest, RefusedDropsKeepTheirRecordCostTheUndoPointsAndFlyHome) {
  Choose([](TGameRules& r) { r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau}; });
  Arrange(Rig, {.Tableau = {{"9c", "8d"}, {"Ks"}, {}, {}}});
  const TPoint home(C("8d")->X, C("8d")->Y);
  // Let go over no drop point, then onto a pile that does not take it.
  EXPECT_FALSE(E().MakeMove(pkTableau, 0, 1, -1));
  EXPECT_FALSE(E().MakeMove(pkTableau, 0, 1, Drop(pkTableau, 1)));
  EXPECT_EQ(HistoryRecords(E()), (std::vector<TRecord>{{2, 0, 1, -1}, {2, 0, 1, 1}}));
  EXPECT_EQ(R().Points, 2 * E().ScoreValues.Undo);
  EXPECT_EQ(E().UndoPointer, 0) << "a refused move writes no undo record";
  EXPECT_FALSE(E().CanUndo());
  EXPECT_EQ(TPoint(C("8d")->X, C("8d")->Y), home);
  EXPECT_EQ(R().TableauPiles[0].back(), C("8d"));
  EXPECT_EQ(Rig.Host.CountSounds("drop.wav"), 2) << "each flight home plays the quiet drop";
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  // The same through the mouse: let go where no pile is.
  TCardTable& t = *Rig.Table;
  t.MouseDown(mbLeft, 0, home.X + 3, home.Y + 3);
  ASSERT_EQ(t.DragCard, C("8d"));
  t.MouseMove(0, 900, 800);
  t.MouseUp(mbLeft, 0, 900, 800);
  EXPECT_EQ(HistoryRecords(E()).back(), (TRecord{2, 0, 1, -1}));
  EXPECT_EQ(R().Points, 3 * E().ScoreValues.Undo);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

// Points stop at the ends of their range whatever the scoring values say: none wraps round.
TEST_F(DropTest, PointsStopAtTheEndsOfTheirRange) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour};
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce, FoundationsPlayable};
  });
  Arrange(Rig, {.Tableau = {{"3s"}, {}, {}, {}}, .Foundations = {{"Ah", "2h"}}});
  E().ScoreValues = {INT_MAX, INT_MIN, INT_MIN, 0};
  // Two refused drops at the lowest value.
  EXPECT_FALSE(E().MakeMove(pkTableau, 0, 0, -1));
  EXPECT_FALSE(E().MakeMove(pkTableau, 0, 0, -1));
  EXPECT_EQ(R().Points, INT_MIN);
  // Leaving a foundation takes the lowest value off, and the drop adds the highest.
  R().Points = 0;
  ASSERT_TRUE(E().MakeMove(pkFoundation, 0, 1, Drop(pkTableau, 0)));
  EXPECT_EQ(R().Points, INT_MAX);
}

TEST_F(DropTest, ARunOfFiveLandsFannedAndOneUndoTakesItBack) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau, DragRuns};
    NoCells(r);
  });
  Arrange(Rig, {.Tableau = {{"Ad", "9s", "8h", "7c", "6h", "5s"}, {"Kc", "Qd", "Jc", "Th"}, {}, {}}});
  const std::string before = PlaySnapshot(E());
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 1, Drop(pkTableau, 1)));
  const TCardList& target = R().TableauPiles[1];
  ASSERT_EQ(target.size(), 9u);
  for (size_t k = 4; k < 9; ++k) EXPECT_EQ(target[k]->Y, target[3]->Y + int(k - 3) * E().TableauFan) << k;
  EXPECT_EQ(E().UndoList.Lines, (std::vector<std::string>{"2", "2", "-7", "4"}));
  E().Undo1Click();
  EXPECT_EQ(PlaySnapshot(E()), before);
  E().Redo1Click();
  EXPECT_EQ(R().TableauPiles[1].size(), 9u);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(DropTest, ACardLeavingAFoundationCountsOffAndUndoCountsItAgain) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour};
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce, FoundationsPlayable};
  });
  Arrange(Rig, {.Tableau = {{"3s"}, {}, {}, {}}, .Foundations = {{"Ah", "2h"}}});
  ASSERT_EQ(R().FoundationCount, 2);
  ASSERT_TRUE(E().MakeMove(pkFoundation, 0, 1, Drop(pkTableau, 0)));
  EXPECT_EQ(R().FoundationCount, 1);
  EXPECT_EQ(R().Points, E().ScoreValues.Drop - E().ScoreValues.Success);
  // Undo puts it back and counts it again (it used to stay one short, and no win could follow).
  E().Undo1Click();
  EXPECT_EQ(R().FoundationCount, 2);
  EXPECT_EQ(R().Points, E().ScoreValues.Drop - E().ScoreValues.Success) << "undo gives no points back";
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  E().Redo1Click();
  EXPECT_EQ(R().FoundationCount, 1);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

// A card onto a foundation sparkles pink; from the card that plays the last cards' sound on
// (the 44th of one pack), yellow.
TEST_F(DropTest, TheFoundationsSparklePinkThenYellowForTheLastCards) {
  FoundationGame();
  Arrange(Rig, {.Tableau = {{"Js", "Ts"}, {}, {}, {}},
                .Foundations = {Suit('c', 11), Suit('d', 11), Suit('h', 11), Suit('s', 9)}});
  ASSERT_EQ(R().FoundationCount, 42);
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 1, Drop(pkFoundation, 3)));
  EXPECT_EQ(Rig.Host.SparkleColour, TPatienceEngine::kSparkleColour);
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 0, Drop(pkFoundation, 3)));
  EXPECT_EQ(R().FoundationCount, 44);
  EXPECT_EQ(Rig.Host.SparkleColour, TPatienceEngine::kLastCardsSparkleColour);
  EXPECT_EQ(Rig.Host.Sparkles, 2);
}

TEST_F(DropTest, WithoutTableauRulesALeavingCardScoresAsADrop) {
  // The Clock: every move goes from one foundation to another, so the count only grows.
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("The Clock", 11);
  TPatienceEngine& e = *rig.Engine;
  const std::vector<TRecord> moves = LegalMoves(e);
  ASSERT_FALSE(moves.empty());
  const TRecord m = moves.front();
  const TCard* moved = e.Rules.FoundationPiles[size_t(m.Pile)].back();
  const int count = e.Rules.FoundationCount, points = e.Rules.Points;
  const int successes = rig.Host.CountSounds("success.wav");
  ASSERT_TRUE(e.MakeMove(TPileKind(m.Kind), m.Pile, m.Index, m.Target));
  const int scored = rig.Host.CountSounds("success.wav") - successes;
  EXPECT_EQ(e.Rules.FoundationCount, count + scored);
  EXPECT_EQ(e.Rules.Points, points + scored * e.ScoreValues.Success + e.ScoreValues.Drop);
  // The card went under its pile, which shows a new card; the pile lies at its place, turned.
  const int b = moved->Value;
  const TCardList& pile = e.Rules.FoundationPiles[size_t(b)];
  EXPECT_EQ(pile.front(), moved);
  EXPECT_TRUE(pile.back()->FaceUp);
  for (const TCard* c : pile) {
    EXPECT_EQ(TPoint(c->X, c->Y), e.Rules.FoundationPlaces[size_t(b)]);
    EXPECT_EQ(c->Angle, e.Rules.FoundationAngles[size_t(b)]);
  }
  EXPECT_FALSE(e.CanUndo()) << "The Clock has no undo";
  EXPECT_TRUE(PlayIsSound(e, *rig.Table));
}

TEST_F(DropTest, EmptiedPilesAreRefilledAndUndoTakesBackBoth) {
  struct TCase {
    TPileRules Extra;
    bool Reserve;
    std::string Expected;  // the card that refills pile 0
    bool Cells = false;    // the reserve is free cells: the card leaves its cell, and comes back to it
  };
  for (const TCase& c : {TCase{{}, false, "Qd"}, TCase{{RefillFromStock}, false, "7s"},
                         TCase{{FromReserve}, true, "9d"}, TCase{{FromReserve}, true, "9d", true}}) {
    Choose(
        [&](TGameRules& r) {
          r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, RefillEmptyPiles};
          for (size_t i = 0; i < 80; ++i)
            if (c.Extra.Bits.test(i)) r.Tableau.Rules.Include(TPileRule(i));
          NoCells(r);
          if (c.Reserve) r.Reserve.Count = c.Cells ? 4 : 2;
          r.Reserve.FreeCells = c.Cells;
        },
        std::string(c.Cells ? "Lab cells " : "Lab ") + c.Expected);
    TPosition p{.Tableau = {{"5h"}, {"6s"}, {}, {}}, .Waste = {"Kc", "Qd"}, .Stock = {"7s"}};
    if (c.Reserve) p.Reserve = {"Jc", "9d"};
    if (c.Cells) p.Reserve = {"Jc", "9d", "", ""};
    Arrange(Rig, p);
    const std::string before = PlaySnapshot(E());
    ASSERT_TRUE(E().MakeMove(pkTableau, 0, 0, Drop(pkTableau, 1)));
    ASSERT_EQ(CardName(TopCard(R().TableauPiles[0])), CardName(C(c.Expected)));
    EXPECT_TRUE(C(c.Expected)->FaceUp);
    EXPECT_EQ(TPoint(C(c.Expected)->X, C(c.Expected)->Y), R().TableauPlaces[0]);
    EXPECT_EQ(E().UndoList[E().UndoPointer - 2], "102");
    EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
    E().Undo1Click();
    EXPECT_EQ(PlaySnapshot(E()), before) << c.Expected;
    EXPECT_EQ(E().UndoPointer, 0);
    E().Redo1Click();
    EXPECT_EQ(TopCard(R().TableauPiles[0]), C(c.Expected));
    EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  }
}

TEST_F(DropTest, CellsWithEveryCardPlayableCloseUpAndUndoOpensThemAgain) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau, FromReserve};
    r.Reserve.AllPlayable = true;
  });
  Arrange(Rig, {.Tableau = {{"Qd"}, {"5s"}, {}, {}}, .Reserve = {"Jc", "9d", "", ""}});
  const std::string before = PlaySnapshot(E());
  // From the first cell onto the tableau: the later card closes up into the first cell.
  ASSERT_TRUE(E().MakeMove(pkReserve, 0, 0, Drop(pkTableau, 0)));
  EXPECT_EQ(R().ReserveCards, (TCardList{C("9d"), nullptr, nullptr, nullptr}));
  EXPECT_EQ(TPoint(C("9d")->X, C("9d")->Y), E().CellPlace(1));
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  E().Undo1Click();
  EXPECT_EQ(PlaySnapshot(E()), before);
  // From one cell to another: the cell the card went to stays where it was.
  ASSERT_TRUE(E().MakeMove(pkReserve, 1, 0, Drop(pkReserve, 3)));
  EXPECT_EQ(R().ReserveCards, (TCardList{C("Jc"), nullptr, nullptr, C("9d")}));
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  E().Undo1Click();
  EXPECT_EQ(PlaySnapshot(E()), before);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(DropTest, AWholeSuitGoesUpAsOneAndCannotBeUndone) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau, DragRuns, UnlimitedMoves};
    r.Foundations.Rules = {DownByOne, AlternateColour, EmptyTakesKing, WholeSuitsOnly};
  });
  Arrange(Rig,
          {.Tableau = {{"5s", "Kc", "Qd", "Jc", "Td", "9c", "8d", "7c", "6d", "5c", "4d", "3c", "2d", "Ac"},
                       {"Kh"},
                       {},
                       {}}});
  // Another move first, so that there is something to undo.
  ASSERT_TRUE(E().MakeMove(pkTableau, 1, 0, Drop(pkTableau, 2)));
  ASSERT_TRUE(E().CanUndo());
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 1, Drop(pkFoundation, 0)));
  EXPECT_EQ(R().FoundationCount, 13);
  EXPECT_EQ(Rig.Host.CountSounds("success.wav"), 13);
  EXPECT_EQ(R().FoundationPiles[0], (TCardList{C("Ac")}));
  EXPECT_EQ(R().TableauPiles[0], (TCardList{C("5s")}));
  EXPECT_FALSE(E().CanUndo());
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  // Only a whole suit: a King alone is refused.
  EXPECT_FALSE(E().MakeMove(pkTableau, 2, 0, Drop(pkFoundation, 1)));
}

TEST_F(DropTest, OnlyATurnedCardIsMarkedAndUndoTurnsItDownAQuarterStepUnder) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour};
    r.Tableau.CardsPerPile = {2, 1, 1, 1};
  });
  Arrange(Rig, {.Tableau = {{"_9c", "8d"}, {"9s"}, {"9h", "8s"}, {"9d"}}});
  const TPoint home(C("8d")->X, C("8d")->Y);
  ASSERT_EQ(home.Y, R().TableauPlaces[0].Y + QuarterStep(E().TableauFan));
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 1, Drop(pkTableau, 1)));
  EXPECT_TRUE(C("9c")->FaceUp);
  EXPECT_EQ(E().UndoList[1], "-2");
  // A move that uncovers a card already face up is not marked.
  ASSERT_TRUE(E().MakeMove(pkTableau, 2, 1, Drop(pkTableau, 3)));
  EXPECT_EQ(E().UndoList[5], "4");
  E().Undo1Click();
  E().Undo1Click();
  EXPECT_FALSE(C("9c")->FaceUp);
  EXPECT_TRUE(C("9h")->FaceUp);
  EXPECT_EQ(TPoint(C("8d")->X, C("8d")->Y), home);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(DropTest, TheWinIsFoundOnceAndNothingMovesAfterIt) {
  FoundationGame();
  Arrange(Rig, {.Tableau = {{"Ks"}, {}, {}, {}},
                .Foundations = {Suit('c', 13), Suit('d', 13), Suit('h', 13), Suit('s', 12)}});
  ASSERT_EQ(R().FoundationCount, 51);
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 0, Drop(pkFoundation, 3)));
  EXPECT_TRUE(E().Won());
  EXPECT_TRUE(R().GameClosed);
  EXPECT_EQ(Rig.Host.WinShows, 1);
  ASSERT_EQ(Rig.Host.Recorded.size(), 1u);
  EXPECT_TRUE(Rig.Host.Recorded[0].Won);
  EXPECT_EQ(E().HistoryList[2], "0");
  EXPECT_EQ(Rig.Host.Caption, "Patience. Game: Lab  [Closed Game]");
  EXPECT_EQ(Rig.Table->Draggable, (TCardList{nullptr}));
  EXPECT_TRUE(LegalMoves(E()).empty());
  // A replayed drag of a card of the won game is refused, and the list stays closed.
  EXPECT_FALSE(E().MakeMove(pkFoundation, 3, 12, Drop(pkTableau, 0)));
  EXPECT_EQ(Rig.Table->Draggable, (TCardList{nullptr}));
  // Undo opens the game again; winning it again is not recorded a second time.
  E().Undo1Click();
  EXPECT_FALSE(E().Won());
  EXPECT_FALSE(R().GameClosed);
  EXPECT_NE(Rig.Table->Draggable, (TCardList{nullptr}));
  E().Redo1Click();
  EXPECT_TRUE(E().Won());
  EXPECT_EQ(Rig.Table->Draggable, (TCardList{nullptr}));
  EXPECT_EQ(Rig.Host.Recorded.size(), 1u);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  // Replaying the closed game wins it again without counting it again.
  const TStringList saved = E().HistoryList;
  ASSERT_EQ(saved[2], "0");
  E().NewDeal();
  ASSERT_FALSE(E().Won());
  ASSERT_EQ(E().HistoryList[2], "O");
  Arrange(Rig, {.Tableau = {{"Ks"}, {}, {}, {}},
                .Foundations = {Suit('c', 13), Suit('d', 13), Suit('h', 13), Suit('s', 12)}});
  E().ReplayMoves(saved);
  EXPECT_TRUE(E().Won());
  EXPECT_EQ(Rig.Host.Recorded.size(), 1u);
}

TEST_F(DropTest, TwoPacksWinAt104AndAcesUpWithFourAcesLeft) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned};
    r.Foundations.Count = 8;
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce};
    r.Stock.Decks = 2;
  });
  std::vector<std::vector<std::string>> foundations;
  for (int pack = 0; pack < 2; ++pack)
    for (char s : std::string("cdhs")) {
      std::vector<std::string> pile;
      for (int v = 0; v < 13; ++v) pile.push_back(std::string(1, "A23456789TJQK"[v]) + s);
      if (pack == 1 && s == 's') pile.pop_back();
      foundations.push_back(pile);
    }
  Arrange(Rig, {.Tableau = {{"Ks"}, {}, {}, {}}, .Foundations = foundations});
  ASSERT_EQ(R().FoundationCount, 103);
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 0, Drop(pkFoundation, 7)));
  EXPECT_TRUE(E().Won());

  // Aces Up: 48 discards with a card left on each of the four piles.
  TEngineRig aces;
  FastTable(*aces.Table);
  aces.Deal("Aces Up", 1);
  std::vector<std::string> discards;
  for (char s : std::string("cdhs"))
    for (int v = 1; v < 13; ++v)
      if (!(s == 'c' && v == 1)) discards.push_back(std::string(1, "A23456789TJQK"[v]) + s);
  Arrange(aces, {.Tableau = {{"Ac"}, {"Ad", "2c"}, {"Ah"}, {"As"}}, .Foundations = {discards}});
  ASSERT_EQ(aces.Engine->Rules.FoundationCount, 47);
  ASSERT_TRUE(aces.Engine->MakeMove(pkTableau, 1, 1, DropIndexOf(*aces.Engine, pkFoundation, 0)));
  EXPECT_TRUE(aces.Engine->Won());
  EXPECT_EQ(aces.Host.WinShows, 1);
}

TEST_F(DropTest, AWinByAutoMoveStartsNoFurtherPass) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour};
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce};
  });
  auto upTo = [](char s) {
    std::vector<std::string> out;
    for (int v = 0; v < 12; ++v) out.push_back(std::string(1, "A23456789TJQK"[v]) + s);
    return out;
  };
  Arrange(Rig, {.Tableau = {{"Kc"}, {"Kd"}, {"Kh"}, {"Ks"}},
                .Foundations = {upTo('c'), upTo('d'), upTo('h'), upTo('s')}});
  Rig.Host.Traces.clear();
  E().AutoMoveOnClick();
  EXPECT_TRUE(E().Won());
  EXPECT_EQ(HistoryRecords(E()).size(), 4u);
  int passes = 0;
  for (const std::string& t : Rig.Host.Traces) passes += t == "Start Automove";
  EXPECT_EQ(passes, 4);
  EXPECT_FALSE(Rig.Host.Traced("Exit Automove - No move made"));
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(DropTest, ACardLetGoExactlyOnAnotherPilesPointLandsThere) {
  // The dragged card lies exactly on the target's point when it is let go; its own pile comes
  // first in the search and must not be taken for the target.
  Choose([](TGameRules& r) { r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau}; });
  Arrange(Rig, {.Tableau = {{"8d"}, {"9c"}, {}, {}}});
  TCardTable& t = *Rig.Table;
  const TPoint target = E().DropPointList[1];
  t.MouseDown(mbLeft, 0, C("8d")->X + 4, C("8d")->Y + 4);
  ASSERT_EQ(t.DragCard, C("8d"));
  t.MouseMove(0, target.X + t.GrabX, target.Y + t.GrabY);
  ASSERT_EQ(TPoint(C("8d")->X, C("8d")->Y), target);
  t.MouseUp(mbLeft, 0, target.X + t.GrabX, target.Y + t.GrabY);
  EXPECT_EQ(R().TableauPiles[1].back(), C("8d"));
  EXPECT_EQ(C("8d")->Y, target.Y + E().TableauFan);
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

}  // namespace
