// Input storms: random presses, drags, releases and commands, many of them arriving while cards
// fly, turn and zoom (a clock that lets events in whenever an animation or a pause waits). No
// event may corrupt a pile: the play invariants hold after every gesture, and the history the
// storm leaves replays from the seed to the same position.

#include <gtest/gtest.h>

#include "tests/patience/engine/PlayTestUtil.h"

namespace {

// The virtual clock, with a hook run whenever someone waits on it.
class TStormClock : public TVirtualClock {
 public:
  std::function<void()> OnSleep;
  int Depth = 0;
  void Sleep(int ms) override {
    TVirtualClock::Sleep(ms);
    if (!OnSleep || Depth >= 2) return;
    ++Depth;
    OnSleep();
    --Depth;
  }
};

struct TStormStats {
  int Gestures = 0;
  int Injected = 0;
  int InjectedWhileAnimating = 0;
  int Moves = 0;
};

class TStorm {
 public:
  TStorm(TEngineRig& rig, uint32_t seed) : Rig(rig), Rng(seed) {}

  TPoint SomewhereUseful() {
    const TCardTable& t = *Rig.Table;
    if (t.TableCount > 0 && Rng.Random(10) < 7) {
      const TCard* c = t.TableCards[size_t(1 + Rng.Random(t.TableCount))];
      return TPoint(c->X + Rng.Random(c->Deck->CardWidth), c->Y + Rng.Random(c->Deck->CardHeight));
    }
    return TPoint(Rng.Random(t.Width()), Rng.Random(t.Height()));
  }

  TMouseButton Button() {
    const int r = Rng.Random(10);
    return r < 6 ? mbLeft : r < 8 ? mbRight : mbMiddle;
  }

  // One random event of any kind (what arrives while something else runs).
  void AnyEvent() {
    TCardTable& t = *Rig.Table;
    TPatienceEngine& e = *Rig.Engine;
    const TPoint p = SomewhereUseful();
    switch (Rng.Random(14)) {
      case 0:
      case 1:
      case 2:
        t.MouseDown(Button(), 0, p.X, p.Y);
        break;
      case 3:
      case 4:
        t.MouseMove(0, p.X, p.Y);
        break;
      case 5:
      case 6:
        t.MouseUp(mbLeft, 0, p.X, p.Y);
        break;
      case 7:
        t.MouseCaptureLost();
        break;
      case 8:
        e.Undo1Click();
        break;
      case 9:
        e.Redo1Click();
        break;
      case 10:
        e.ReDealWastepileExecute();
        break;
      case 12:
        e.NewExecute();
        break;
      case 13:
        // Another game from the menu (refused while anything of the game in play runs).
        StartGameByCaption(e, Rng.Random(2) ? "Freecell" : "Klondike 2 [Turn over 3]");
        break;
      default:
        e.AutomoveToggle();
        break;
    }
  }

  // A gesture at rest: a press, a few moves and a release; now and then a drag the rules accept,
  // so that play goes on; now and then a command.
  void Gesture() {
    TCardTable& t = *Rig.Table;
    TPatienceEngine& e = *Rig.Engine;
    const int kind = Rng.Random(10);
    if (kind < 3) {
      const std::vector<TRecord> moves = LegalMoves(e);
      if (!moves.empty()) {
        const TRecord m = moves[size_t(Rng.Random(int(moves.size())))];
        if (m.Kind == pkStockClick || m.Kind == pkRedeal || e.Rules.Tableau.Rules.Has(PairGame)) {
          e.MakeMove(TPileKind(m.Kind), m.Pile, m.Index, m.Target);
        } else if (TCard* c = CardAt(m)) {
          t.MouseDown(mbLeft, 0, c->X + 2, c->Y + 2);
          if (t.DragCard) {
            const TPoint p = e.DropPointList[size_t(m.Target)];
            t.MouseMove(0, p.X + t.GrabX, p.Y + t.GrabY);
            t.MouseUp(mbLeft, 0, p.X + t.GrabX, p.Y + t.GrabY);
          }
        }
        ++Stats.Moves;
        return;
      }
    }
    if (kind == 3) {
      AnyEvent();
      return;
    }
    const TPoint p = SomewhereUseful();
    t.MouseDown(Button(), 0, p.X, p.Y);
    for (int i = Rng.Random(4); i > 0; --i) {
      const TPoint q = SomewhereUseful();
      t.MouseMove(0, q.X, q.Y);
    }
    const TPoint q = SomewhereUseful();
    t.MouseUp(mbLeft, 0, q.X, q.Y);
    // A drag whose release went to another button ends as the window ends it.
    if (t.Dragging) t.MouseCaptureLost();
  }

  TCard* CardAt(const TRecord& m) {
    const TPatienceEngine& e = *Rig.Engine;
    for (TCard* c : e.DraggableList) {
      int kind = 0;
      TPilePos pos;
      if (c && SourceOf(e, c, kind, pos) && kind == m.Kind && pos.Pile == m.Pile && pos.Index == m.Index &&
          Rig.Table->CardAt(c->X + 2, c->Y + 2, true) == c)
        return c;
    }
    return nullptr;
  }

  TEngineRig& Rig;
  TRandom Rng;
  TStormStats Stats;
};

void Storm(const std::string& game, uint32_t seed, int gestures, TStormStats& total) {
  SCOPED_TRACE(game + " seed " + std::to_string(seed));
  TEngineRig rig;
  TStormClock clock;
  TScopedClock scoped(clock);
  rig.Table->FastMovementMode = true;
  rig.Table->SetCardSpeed(48);
  rig.Host.Sound = true;  // the pacing pauses of refills and pair games wait too
  rig.Host.AutoMove = seed % 2 == 0;
  rig.Deal(game, seed);
  TPatienceEngine& e = *rig.Engine;
  ASSERT_TRUE(PlayIsSound(e, *rig.Table));
  TStorm storm(rig, seed ^ 0x5EED5EEDu);
  clock.OnSleep = [&] {
    // A third of the waits let one to three events in.
    if (storm.Rng.Random(3) != 0) return;
    for (int n = 1 + storm.Rng.Random(3); n > 0; --n) {
      ++storm.Stats.Injected;
      if (rig.Table->Animating()) ++storm.Stats.InjectedWhileAnimating;
      storm.AnyEvent();
    }
  };
  for (int i = 0; i < gestures; ++i) {
    storm.Gesture();
    // A drag left hanging by the storm ends before the check.
    if (rig.Table->Dragging) rig.Table->MouseCaptureLost();
    ++storm.Stats.Gestures;
    ASSERT_TRUE(PlayIsSound(e, *rig.Table)) << "after gesture " << i;
  }
  clock.OnSleep = nullptr;

  // The history the storm left replays from the seed to the same position.
  TStringList played;
  played.Lines.assign(e.HistoryList.Lines.begin(), e.HistoryList.Lines.begin() + e.HistoryPointer);
  TEngineRig replay;
  FastTable(*replay.Table);
  replay.Deal(played[0], uint32_t(std::stoll(played[1])));
  replay.Engine->ReplayMoves(played);
  EXPECT_EQ(PlaySnapshot(*replay.Engine), PlaySnapshot(e));
  total.Gestures += storm.Stats.Gestures;
  total.Injected += storm.Stats.Injected;
  total.InjectedWhileAnimating += storm.Stats.InjectedWhileAnimating;
  total.Moves += storm.Stats.Moves;
}

TEST(StormTest, RandomInputWhileCardsMoveNeverCorruptsAPile) {
  TStormStats total;
  for (const char* game : {"Klondike 1 [Turn over 1]", "Freecell", "Spider", "Concentration", "Canfield",
                           "Burleigh", "Cruel", "Doublets"})
    for (uint32_t seed : {41u, 42u}) Storm(game, seed, 120, total);
  std::printf("storms: %d gestures, %d moves, %d events let in (%d while an animation ran)\n", total.Gestures,
              total.Moves, total.Injected, total.InjectedWhileAnimating);
  EXPECT_GT(total.InjectedWhileAnimating, 100);
}

TEST(StormTest, APressDuringAHandlersPauseIsRefused) {
  // A refill waits half a second with sound on; a drop that arrives then goes home unrecorded.
  TEngineRig rig;
  TStormClock clock;
  TScopedClock scoped(clock);
  FastTable(*rig.Table);
  rig.Host.Sound = true;
  rig.Engine->SetRandomSeed(3);
  ASSERT_TRUE(rig.Engine->ChooseGame(LabGame("Lab", [](TGameRules& r) {
    r.Tableau.Rules = {Fanned, DownByOne, AlternateColour, RefillEmptyPiles};
  })));
  TPatienceEngine& e = *rig.Engine;
  Arrange(rig, {.Tableau = {{"5h"}, {"6s"}, {"Kc", "Qd"}, {}}, .Waste = {"9c"}});
  int intruders = 0;
  clock.OnSleep = [&] {
    if (!e.CommandRunning()) return;
    TCard* c = CardNamed(e, "Qd");
    // Straight at the engine, as a table that let the release through would send it.
    e.CardTable1CardDropEvent(c, 0, 0, 0, 0, DropIndexOf(e, pkTableau, 3));
    e.CardTable1CardClickEvent(c, mbMiddle);
    e.Undo1Click();
    e.NewExecute();
    rig.Table->MouseDown(mbRight, 0, 900, 800);
    ++intruders;
  };
  ASSERT_TRUE(e.MakeMove(pkTableau, 0, 0, DropIndexOf(e, pkTableau, 1)));
  clock.OnSleep = nullptr;
  EXPECT_GT(intruders, 0);
  EXPECT_EQ(HistoryRecords(e).size(), 1u);
  EXPECT_EQ(TopCard(e.Rules.TableauPiles[2]), CardNamed(e, "Qd"));
  EXPECT_EQ(TopCard(e.Rules.TableauPiles[0]), CardNamed(e, "9c"));
  EXPECT_TRUE(PlayIsSound(e, *rig.Table));
}

}  // namespace
