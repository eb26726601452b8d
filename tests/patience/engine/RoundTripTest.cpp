// Round trips over every game of the catalogue: random play from the engine's own drag lists and
// drop points (through the table's mouse events and through replayed records), then undo of
// everything (the deal comes back), redo of everything (the position comes back) and a replay of
// the history from the seed with auto-move off (the same position again). Every event is
// followed by the play invariants.

#include <gtest/gtest.h>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

struct TTripStats {
  int Games = 0;
  int Deals = 0;
  int Actions = 0;
  int Refused = 0;
  int Undone = 0;
};

// Drags the card of the record with the mouse onto the drop point and lets go, as the player
// does; false when the table would not pick that card up at its corner.
bool DragWithMouse(TEngineRig& rig, const TRecord& rec) {
  TPatienceEngine& e = *rig.Engine;
  TCardTable& t = *rig.Table;
  TPoint press;
  TCard* card = nullptr;
  if (rec.Kind == pkStock) {
    press = TPoint(e.StockPlace().X + 2, e.StockPlace().Y + 2);
  } else {
    card = nullptr;
    int kind = 0;
    TPilePos pos;
    for (TCard* c : e.DraggableList)
      if (c && SourceOf(e, c, kind, pos) && kind == rec.Kind && pos.Pile == rec.Pile &&
          pos.Index == rec.Index)
        card = c;
    if (!card) return false;
    press = TPoint(card->X + 2, card->Y + 2);
    if (e.Rules.Tableau.Rules.Has(FanUpward))
      press = TPoint(card->X + e.Deck().CardWidth - 2, card->Y + e.Deck().CardHeight - 2);
    if (t.CardAt(press.X, press.Y, true) != card) return false;
  }
  if (rec.Target < 0 || rec.Target >= int(e.DropPointList.size())) return false;
  t.MouseDown(mbLeft, 0, press.X, press.Y);
  if (!t.DragCard) return false;
  const TPoint p = e.DropPointList[size_t(rec.Target)];
  t.MouseMove(0, p.X + t.GrabX, p.Y + t.GrabY);
  // The shade must stand on the wanted point, or the release would go elsewhere.
  if (t.ShadedDropPoint != rec.Target) {
    t.MouseMove(0, t.DragOriginX + t.GrabX, t.DragOriginY + t.GrabY);
    t.MouseUp(mbLeft, 0, t.DragOriginX + t.GrabX, t.DragOriginY + t.GrabY);
    return true;  // the release fell on no point (or its own): a refused move, recorded as such
  }
  t.MouseUp(mbLeft, 0, p.X + t.GrabX, p.Y + t.GrabY);
  return true;
}

// One action: the record through the mouse when the table allows it, else replayed.
void Act(TEngineRig& rig, const TRecord& rec, bool mouse) {
  TPatienceEngine& e = *rig.Engine;
  if (rec.Kind == pkRedeal) {
    e.ReDealWastepileExecute();
    return;
  }
  if (rec.Kind == pkStockClick) {
    if (mouse) {
      const TPoint s = e.StockPlace();
      TCard* c = rig.Table->CardAt(s.X + 2, s.Y + 2, true);
      if (c && c->State == 0) {
        rig.Table->MouseDown(mbLeft, 0, s.X + 2, s.Y + 2);
        rig.Table->MouseUp(mbLeft, 0, s.X + 2, s.Y + 2);
        return;
      }
    }
    e.MakeMove(pkStockClick, 0, 0, 0);
    return;
  }
  if (mouse && !e.Rules.Tableau.Rules.Has(PairGame) && rec.Target >= 0 && DragWithMouse(rig, rec)) return;
  e.MakeMove(TPileKind(rec.Kind), rec.Pile, rec.Index, rec.Target);
}

struct TTrip {
  std::string Game;
  uint32_t Seed = 0;
  int Moves = 0;
  bool AutoMove = false;
};

void RoundTrip(const TTrip& trip, TTripStats& stats) {
  SCOPED_TRACE(trip.Game + " seed " + std::to_string(trip.Seed) + (trip.AutoMove ? " auto-move" : ""));
  TEngineRig rig;
  FastTable(*rig.Table);
  rig.Deal(trip.Game, trip.Seed);
  TPatienceEngine& e = *rig.Engine;
  ASSERT_TRUE(PlayIsSound(e, *rig.Table));
  rig.Host.AutoMove = trip.AutoMove;
  std::string baseline = PlaySnapshot(e);
  bool baselineIsDeal = true;

  TRandom rng(trip.Seed * 2654435761u + 17u);
  for (int i = 0; i < trip.Moves; ++i) {
    std::vector<TRecord> moves = LegalMoves(e);
    const bool refuse = rng.Random(10) == 0;
    if (refuse) {
      const std::vector<TRecord> wrong = RefusedDrags(e);
      if (!wrong.empty()) {
        moves = {wrong[size_t(rng.Random(int(wrong.size())))]};
        ++stats.Refused;
      }
    }
    if (moves.empty()) break;
    const TRecord rec = moves[size_t(rng.Random(int(moves.size())))];
    const int undoBefore = e.UndoList.Count();
    // A gathering redeal cannot be undone: undo goes back to the position right after it, before
    // the auto-move that may follow it, so the option is off for this one action.
    const bool gather = rec.Kind == pkRedeal && e.Rules.Stock.DealCount < -2;
    rig.Host.AutoMove = trip.AutoMove && !gather;
    Act(rig, rec, rng.Random(2) == 0);
    rig.Host.AutoMove = trip.AutoMove;
    ++stats.Actions;
    ASSERT_TRUE(PlayIsSound(e, *rig.Table)) << "after " << ToString(rec) << " (action " << i << ")";
    // Nor can a completed suit, nor anything in a game without undo.
    if (gather || e.UndoList.Count() < undoBefore || e.Rules.Foundations.Rules.Has(NoUndo)) {
      baseline = PlaySnapshot(e);
      baselineIsDeal = false;
    }
  }
  const std::string final = PlaySnapshot(e);
  const TStringList history = e.HistoryList;
  const int points = e.Rules.Points;

  // Undo everything.
  int undone = 0;
  while (e.CanUndo() && undone < 10000) {
    e.Undo1Click();
    ++undone;
    ASSERT_TRUE(PlayIsSound(e, *rig.Table)) << "after undo " << undone;
  }
  stats.Undone += undone;
  EXPECT_EQ(PlaySnapshot(e), baseline) << (baselineIsDeal ? "the deal" : "the last position undo can reach");
  EXPECT_EQ(e.Rules.Points, points) << "undo gives no points back";

  // Redo everything.
  int redone = 0;
  while (e.CanRedo() && redone < 10000) {
    e.Redo1Click();
    ++redone;
    ASSERT_TRUE(PlayIsSound(e, *rig.Table)) << "after redo " << redone;
  }
  EXPECT_EQ(PlaySnapshot(e), final);
  EXPECT_EQ(e.HistoryList.Lines, history.Lines);
  EXPECT_EQ(e.Rules.Points, points) << "redo neither costs nor gains points";

  // Replay the history from the seed with auto-move off.
  TEngineRig replay;
  FastTable(*replay.Table);
  replay.Deal(trip.Game, trip.Seed);
  replay.Engine->ReplayMoves(history);
  EXPECT_TRUE(PlayIsSound(*replay.Engine, *replay.Table));
  EXPECT_EQ(PlaySnapshot(*replay.Engine), final);
  EXPECT_EQ(replay.Engine->HistoryList.Lines, history.Lines);
  EXPECT_EQ(replay.Engine->Rules.Points, points);
  ++stats.Deals;
}

// The catalogue in sixteen slices, so that a parallel test run spreads them over its cores.
constexpr int kSlices = 16;
constexpr uint32_t kSeeds[] = {7u, 1234567u, 0xCAFEF00Du};
constexpr int kMoves = 40;

class RoundTripAllGames : public ::testing::TestWithParam<int> {};

TEST_P(RoundTripAllGames, UndoRedoAndReplayComeBackExactly) {
  TTripStats stats;
  const auto& captions = AllCaptions();
  for (size_t g = size_t(GetParam()); g < captions.size(); g += kSlices) {
    ++stats.Games;
    for (size_t s = 0; s < std::size(kSeeds); ++s) RoundTrip({captions[g], kSeeds[s], kMoves, s == 1}, stats);
  }
  std::printf("slice %d: %d games, %d deals, %d actions (%d refused), %d undo steps\n", GetParam(),
              stats.Games, stats.Deals, stats.Actions, stats.Refused, stats.Undone);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, RoundTripAllGames, ::testing::Range(0, kSlices));

}  // namespace
