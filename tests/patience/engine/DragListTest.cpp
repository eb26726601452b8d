// The drag lists and drop points handed to the table: the order of the drop points (tableau,
// foundations, then only the empty cells), the run walks and their limits, whole piles,
// foundations that may be played from, the angles of turned foundations and the list of one nil
// that forbids every drag.

#include <gtest/gtest.h>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

std::string Names(const TCardList& cards) {
  std::string out;
  for (const TCard* c : cards) out += (out.empty() ? "" : " ") + CardName(c);
  return out;
}

class DragListTest : public TLabTest {};

TEST_F(DragListTest, DropPointsAreTableauThenFoundationsThenTheEmptyCellsOnly) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, DragRuns, FromTableau};
  });
  Arrange(Rig, {.Tableau = {{"9c", "8d"}, {}, {"Kh"}, {"2s"}},
                .Foundations = {{"Ac"}},
                .Reserve = {"5h", "", "6c", ""}});
  const auto& drops = E().DropPointList;
  ASSERT_EQ(drops.size(), 4u + 4u + 2u);
  const auto& r = E().Rules;
  EXPECT_EQ(drops[0], TPoint(r.TableauPiles[0][1]->X, r.TableauPiles[0][1]->Y));
  EXPECT_EQ(drops[1], r.TableauPlaces[1]);
  for (int f = 0; f < 4; ++f) EXPECT_EQ(drops[size_t(4 + f)], r.FoundationPlaces[size_t(f)]);
  EXPECT_EQ(drops[8], E().CellPlace(2));
  EXPECT_EQ(drops[9], E().CellPlace(4));
  EXPECT_EQ(r.Tableau.EmptyPiles, 1);
  EXPECT_EQ(r.Reserve.EmptyCells, 2);
  // Filling cell 2 shifts the point of cell 4 down by one index.
  ASSERT_TRUE(E().MakeMove(pkTableau, 3, 0, 8));
  ASSERT_EQ(E().DropPointList.size(), 9u);
  EXPECT_EQ(E().DropPointList[8], E().CellPlace(4));
  EXPECT_EQ(E().Rules.Tableau.EmptyPiles, 2);
  EXPECT_EQ(E().Rules.Reserve.EmptyCells, 1);
  // Reserve slots (nil included), then the tableau tops of the walk.
  EXPECT_EQ(Names(E().DraggableList), "5h 2s 6c -- 8d 9c Kh");
}

TEST_F(DragListTest, RunsStopAtTheFirstBreakAndAtTheCellLimit) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, DragRuns, FromTableau};
  });
  // 7h lies on 8d (both red): only 7h and the 6s on it may go, though two empty cells would carry
  // three cards.
  Arrange(Rig,
          {.Tableau = {{"Tc", "9d", "8d", "7h", "6s"}, {"Ks"}, {"Qs"}, {"Js"}}, .Reserve = {"2c", "2d"}});
  EXPECT_EQ(Names(E().DraggableList), "2c 2d -- -- 6s 7h Ks Qs Js");
  // An unbroken run: as many as the cells carry (fewer above the card than SuperMove, here 3).
  Arrange(Rig,
          {.Tableau = {{"Tc", "9d", "8s", "7h", "6s"}, {"Ks"}, {"Qs"}, {"Js"}}, .Reserve = {"2c", "2d"}});
  EXPECT_EQ(Names(E().DraggableList), "2c 2d -- -- 6s 7h 8s Ks Qs Js");
  // No empty cell and no empty pile: a single card at a time (SuperMove(0) is 1).
  Arrange(Rig, {.Tableau = {{"Tc", "9d", "8s", "7h", "6s"}, {"Ks"}, {"Qs"}, {"Js"}},
                .Reserve = {"2c", "2d", "2h", "2s"}});
  EXPECT_EQ(Names(E().DraggableList), "2c 2d 2h 2s 6s Ks Qs Js");
  // The walk compares suits whatever AnySuit says (Spider moves suited runs only).
  E().Rules.Tableau.Rules = {Fanned, DownByOne, SameSuit, AnySuit, DragRuns};
  E().Rules.Reserve.FreeCells = false;
  Arrange(Rig, {.Tableau = {{"9s", "8s", "7h", "6h"}, {"Ks"}, {"Qs"}, {"Js"}}});
  EXPECT_EQ(Names(E().DraggableList), "6h 7h Ks Qs Js");
}

TEST_F(DragListTest, AnyFaceUpCardWithFreeCellsCarriesAtMostTheEmptyCells) {
  Choose([](TGameRules& r) { r.Tableau.Rules = {Fanned, DragAnyFaceUp, FromTableau}; });
  Arrange(Rig,
          {.Tableau = {{"_Kc", "Qh", "5s", "9d", "2c"}, {"Ks"}, {"Qs"}, {"Js"}}, .Reserve = {"3c", "3d"}});
  ASSERT_EQ(E().Rules.Reserve.EmptyCells, 2);
  // Qh has three cards on it: not draggable; 5s with two is; the face-down King never.
  EXPECT_EQ(Names(E().DraggableList), "3c 3d -- -- 2c 9d 5s Ks Qs Js");
  E().Rules.Tableau.Rules.Include(UnlimitedMoves);
  E().SetLists();
  EXPECT_EQ(Names(E().DraggableList), "3c 3d -- -- 2c 9d 5s Qh Ks Qs Js");
}

TEST_F(DragListTest, WholePilesFoundationsAndTheNilList) {
  Choose([](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DragWholePile, FromTableau};
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce, FoundationsPlayable};
    r.Reserve.Count = 0;
    r.Reserve.FreeCells = false;
  });
  Arrange(Rig,
          {.Tableau = {{"9c", "8d", "7c"}, {"Ks"}, {}, {"Js"}}, .Foundations = {{"Ah", "2h"}, {}, {"Ad"}}});
  // Tops, the bottom of each longer pile, then the foundation tops.
  EXPECT_EQ(Names(E().DraggableList), "7c 9c Ks -- Js 2h Ad");
  // Nothing on the table to drag: a list of one nil, never an empty list.
  E().Rules.Tableau.Rules = {Fanned, NoDropTarget, DragRuns};
  E().Rules.Foundations.Rules = {UpByOne};
  Arrange(Rig, {.Tableau = {{}, {}, {}, {}}, .Foundations = {{"Ah"}}});
  EXPECT_EQ(Names(E().DraggableList), "--");
  EXPECT_EQ(E().DropPointList.size(), 4u) << "no tableau points under NoDropTarget";
}

TEST_F(DragListTest, FannedFoundationsAndTurnedOnes) {
  // Foundations that fan sideways offer the top card's X.
  Choose([](TGameRules& r) {
    r.Foundations.Rules = {SameSuit, BaseOnly, RankInPrevious};
    r.Reserve.Count = 0;
    r.Reserve.FreeCells = false;
  });
  Arrange(Rig, {.Tableau = {{"9c"}, {}, {}, {}}, .Foundations = {{"5c", "Kc", "2c"}}});
  const TCard* top = E().Rules.FoundationPiles[0].back();
  EXPECT_EQ(E().DropPointList[4], TPoint(top->X, E().Rules.FoundationPlaces[0].Y));

  // The Clock: thirteen turned foundations with their angles, no tableau, and a foundation whose
  // top shows its own number is not offered.
  TEngineRig clock;
  FastTable(*clock.Table);
  clock.Deal("The Clock", 5);
  const TPatienceEngine& c = *clock.Engine;
  ASSERT_EQ(c.DropPointList.size(), 13u);
  ASSERT_EQ(c.DropAngleList.size(), 13u);
  for (size_t i = 0; i < 13; ++i) EXPECT_EQ(c.DropAngleList[i], c.Rules.FoundationAngles[i]);
  EXPECT_EQ(clock.Table->DropAngles, c.DropAngleList);
  for (size_t i = 0; i < 13; ++i) {
    const TCard* t = TopCard(c.Rules.FoundationPiles[i]);
    const bool offered =
        std::find(c.DraggableList.begin(), c.DraggableList.end(), t) != c.DraggableList.end();
    EXPECT_EQ(offered, int(t->Value) != int(i)) << i;
  }
}

}  // namespace
