// The history: a move after an undo cuts the history and closes the game (recorded once), games
// without undo, redo passing over refused records and stopping at the end, a redo whose move
// comes out differently, damaged records refused without harm, and the replay's auto-move.

#include <gtest/gtest.h>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

class HistoryTest : public TLabTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(Choose([](TGameRules& r) {
      r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau, FromReserve, DragRuns};
      r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce};
    }));
    Arrange(Rig, {.Tableau = {{"9c", "8d"}, {"9h"}, {"Ks", "Ac"}, {"7s"}}, .Stock = {"2c"}});
  }
};

TEST_F(HistoryTest, AMoveAfterAnUndoCutsTheHistoryAndClosesTheGameOnce) {
  const int foundation = Drop(pkFoundation, 0);
  ASSERT_TRUE(E().MakeMove(pkTableau, 2, 1, foundation));
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 1, Drop(pkReserve, 0)));
  E().Undo1Click();
  EXPECT_TRUE(E().CanRedo());
  EXPECT_EQ(E().HistoryPointer, 7);
  EXPECT_EQ(E().HistoryList.Count(), 11) << "undo keeps the undone record for redo";
  ASSERT_TRUE(E().MakeMove(pkTableau, 3, 0, Drop(pkTableau, 0)));
  EXPECT_EQ(HistoryRecords(E()), (std::vector<TRecord>{{2, 2, 1, foundation}, {2, 3, 0, 0}}));
  EXPECT_FALSE(E().CanRedo());
  EXPECT_FALSE(Rig.Host.Commands[TEngineCommand::Redo]);
  EXPECT_EQ(R().Points, -666 + E().ScoreValues.Drop);
  EXPECT_EQ(E().HistoryList[2], "0");
  EXPECT_EQ(Rig.Host.Caption, "Patience. Game: Lab  [Closed Game]");
  ASSERT_EQ(Rig.Host.Recorded.size(), 1u);
  EXPECT_FALSE(Rig.Host.Recorded[0].Won);
  EXPECT_EQ(Rig.Host.Recorded[0].Points, -666);
  // Once closed, the game is not recorded again: not by another cut, not by the next deal.
  E().Undo1Click();
  E().MakeMove(pkTableau, 3, 0, Drop(pkTableau, 1));  // even a refused move is a new move
  EXPECT_EQ(HistoryRecords(E()), (std::vector<TRecord>{{2, 2, 1, foundation}, {2, 3, 0, 1}}));
  E().NewDeal();
  EXPECT_EQ(Rig.Host.Recorded.size(), 1u);
  EXPECT_EQ(E().HistoryList[2], "O");
}

TEST_F(HistoryTest, RedoPassesOverRefusedRecordsAndStopsAtTheEnd) {
  ASSERT_TRUE(E().MakeMove(pkTableau, 2, 1, Drop(pkFoundation, 0)));
  EXPECT_FALSE(E().MakeMove(pkTableau, 3, 0, Drop(pkTableau, 1)));  // 7s onto 9h: refused
  ASSERT_TRUE(E().MakeMove(pkTableau, 3, 0, Drop(pkTableau, 0)));   // 7s onto 8d
  const std::string end = PlaySnapshot(E());
  const TStringList history = E().HistoryList;
  E().Undo1Click();
  E().Undo1Click();
  EXPECT_EQ(E().HistoryPointer, 3);
  E().Redo1Click();
  EXPECT_EQ(E().HistoryPointer, 7);
  E().Redo1Click();
  EXPECT_EQ(PlaySnapshot(E()), end);
  EXPECT_EQ(E().HistoryPointer, history.Count());
  EXPECT_EQ(E().HistoryList.Lines, history.Lines);
  EXPECT_FALSE(E().CanRedo());
  E().Redo1Click();
  EXPECT_EQ(PlaySnapshot(E()), end);
}

TEST_F(HistoryTest, ARedoThatComesOutDifferentlyDropsTheMovesAfterIt) {
  ASSERT_TRUE(E().MakeMove(pkTableau, 2, 1, Drop(pkFoundation, 0)));
  ASSERT_TRUE(E().MakeMove(pkTableau, 0, 1, Drop(pkReserve, 0)));
  ASSERT_TRUE(E().MakeMove(pkReserve, 0, 0, Drop(pkTableau, 0)));
  E().Undo1Click();
  E().Undo1Click();
  // The undone record now names another target than the move that wrote its undo record.
  E().HistoryList[10] = std::to_string(Drop(pkReserve, 1));
  E().Redo1Click();
  EXPECT_FALSE(E().CanRedo());
  EXPECT_EQ(E().HistoryList.Count(), 11);
  EXPECT_EQ(E().UndoPointer, E().UndoList.Count());
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  E().Undo1Click();
  E().Undo1Click();
  EXPECT_FALSE(E().CanUndo());
  EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
}

TEST_F(HistoryTest, GamesWithoutUndoRefuseIt) {
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal("The Clock", 2);
  TPatienceEngine& e = *rig.Engine;
  const TRecord m = LegalMoves(e).front();
  ASSERT_TRUE(e.MakeMove(TPileKind(m.Kind), m.Pile, m.Index, m.Target));
  const std::string after = PlaySnapshot(e);
  EXPECT_FALSE(e.CanUndo());
  e.Undo1Click();
  EXPECT_EQ(PlaySnapshot(e), after);
}

TEST_F(HistoryTest, DamagedRecordsAreRefusedWithoutHarm) {
  const std::string before = PlaySnapshot(E());
  const std::vector<TRecord> damaged = {
      {pkTableau, 99, 0, 0},    // no such pile
      {pkTableau, 0, 99, 0},    // no such card
      {pkTableau, 2, 0, 3},     // a card that may not be dragged (Ks lies under Ac)
      {pkTableau, 0, 1, 999},   // no such drop point
      {pkTableau, 0, 1, -7},    // no such drop point either
      {pkReserve, -1, 0, 0},    // no such cell
      {pkReserve, 2, 2, 0},     // an empty cell
      {pkWaste, 5, 5, 0},       // an empty waste
      {pkStock, 0, 0, 1},       // cards are not dragged from this stock
      {pkFoundation, 0, 0, 1},  // an empty foundation, not playable anyway
      {pkExcept, 0, 0, 1},      // no except piles
  };
  for (const TRecord& r : damaged) {
    SCOPED_TRACE(ToString(r));
    EXPECT_FALSE(E().MakeMove(TPileKind(r.Kind), r.Pile, r.Index, r.Target));
    EXPECT_EQ(HistoryRecords(E()).back(), r) << "the record stays, as a refused move";
    EXPECT_EQ(PlaySnapshot(E()), before);
    EXPECT_TRUE(PlayIsSound(E(), *Rig.Table));
  }
  EXPECT_EQ(R().Points, int(damaged.size()) * E().ScoreValues.Undo);
  EXPECT_EQ(E().UndoPointer, 0);
  // A kind no record has is passed over altogether.
  EXPECT_FALSE(E().MakeMove(TPileKind(9), 0, 0, 0));
  EXPECT_FALSE(E().MakeMove(TPileKind(-3), 0, 0, 0));
  EXPECT_EQ(HistoryRecords(E()).size(), damaged.size());
  // A replay stops at a line that is not a number; what came before it is played.
  TStringList lines;
  lines.Lines = {"Lab", "3", "O", "2", "2", "1", "4", "2", "x", "0", "0"};
  TEngineRig replay;
  FastTable(*replay.Table);
  replay.Engine->SetRandomSeed(3);
  ASSERT_TRUE(replay.Engine->ChooseGame(LabGame("Lab", [](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, FromTableau, FromReserve, DragRuns};
    r.Foundations.Rules = {UpByOne, SameSuit, EmptyTakesAce};
  })));
  Arrange(replay, {.Tableau = {{"9c", "8d"}, {"9h"}, {"Ks", "Ac"}, {"7s"}}, .Stock = {"2c"}});
  replay.Engine->ReplayMoves(lines);
  EXPECT_EQ(HistoryRecords(*replay.Engine), (std::vector<TRecord>{{2, 2, 1, 4}}));
  EXPECT_EQ(replay.Engine->Rules.FoundationCount, 1);
  EXPECT_TRUE(PlayIsSound(*replay.Engine, *replay.Table));
}

TEST_F(HistoryTest, AReplayRunsWithAutoMoveOffWhateverTheOption) {
  TEngineRig live;
  FastTable(*live.Table);
  live.Deal("Klondike 1 [Turn over 1]", 31);
  live.Host.AutoMove = true;
  TRandom rng(5);
  for (int i = 0; i < 40; ++i) {
    const std::vector<TRecord> moves = LegalMoves(*live.Engine);
    if (moves.empty()) break;
    const TRecord m = moves[size_t(rng.Random(int(moves.size())))];
    live.Engine->MakeMove(TPileKind(m.Kind), m.Pile, m.Index, m.Target);
  }
  TEngineRig replay;
  FastTable(*replay.Table);
  replay.Deal("Klondike 1 [Turn over 1]", 31);
  replay.Host.AutoMove = true;
  replay.Engine->ReplayMoves(live.Engine->HistoryList);
  EXPECT_EQ(PlaySnapshot(*replay.Engine), PlaySnapshot(*live.Engine));
  EXPECT_EQ(replay.Engine->HistoryList.Lines, live.Engine->HistoryList.Lines);
}

}  // namespace
