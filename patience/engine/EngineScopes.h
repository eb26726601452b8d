#pragma once
// Scopes the play code holds while it runs, so that every way out (an exception included) puts
// back what it changed.

#include "patience/engine/PatienceEngine.h"

// A command or event handler of the game runs: other commands and re-entrant presses are refused
// meanwhile, and the table takes no card presses (input let through by a pause cannot start a
// drag under the engine's feet).
class TPatienceEngine::TCommandScope {
 public:
  explicit TCommandScope(TPatienceEngine& engine) : FEngine(engine) {
    ++FEngine.FDepth;
    if (FEngine.FTable) {
      FClicks = FEngine.FTable->DisableCardClicks;
      FEngine.FTable->DisableCardClicks = true;
    }
  }
  ~TCommandScope() {
    --FEngine.FDepth;
    if (FEngine.FTable) FEngine.FTable->DisableCardClicks = FClicks;
  }
  TCommandScope(const TCommandScope&) = delete;
  TCommandScope& operator=(const TCommandScope&) = delete;

 private:
  TPatienceEngine& FEngine;
  bool FClicks = false;
};

// A saved game is replayed, its deal included.
class TPatienceEngine::TReplayScope {
 public:
  explicit TReplayScope(TPatienceEngine& engine) : FEngine(engine), FWas(engine.FReplaying) {
    FEngine.FReplaying = true;
  }
  ~TReplayScope() {
    FEngine.FReplaying = FWas;
    FEngine.RandomizeNextDeal();
  }
  TReplayScope(const TReplayScope&) = delete;
  TReplayScope& operator=(const TReplayScope&) = delete;

 private:
  TPatienceEngine& FEngine;
  bool FWas;
};

// Sets a value for the length of a scope and leaves another at its end, whatever the value was
// before the scope.
template <typename T>
class TSetThen {
 public:
  TSetThen(T& target, T during, T after) : FTarget(target), FAfter(after) { target = during; }
  ~TSetThen() { FTarget = FAfter; }
  TSetThen(const TSetThen&) = delete;
  TSetThen& operator=(const TSetThen&) = delete;

 private:
  T& FTarget;
  T FAfter;
};

// Sets a value for the length of a scope and puts the old one back.
template <typename T>
class TSetFor : public TSetThen<T> {
 public:
  TSetFor(T& target, T value) : TSetThen<T>(target, value, target) {}
};

// The table's card speed, turn-over speed and lift and its slow-move region for the length of a
// scope (nothing without a table).
class TTableMotion {
 public:
  explicit TTableMotion(TCardTable* table) : FTable(table) {
    if (!FTable) return;
    FCardSpeed = FTable->CardSpeed();
    FTurnSpeed = FTable->TurnOverAnimationSpeed();
    FLift = FTable->TurnOverAnimationLift;
    FLiftOffset = FTable->LiftOffset;
    FSlowMove = FTable->SlowMoveRegion;
  }
  ~TTableMotion() {
    if (!FTable) return;
    FTable->SetCardSpeed(FCardSpeed);
    FTable->SetTurnOverAnimationSpeed(FTurnSpeed);
    FTable->TurnOverAnimationLift = FLift;
    FTable->LiftOffset = FLiftOffset;
    FTable->SlowMoveRegion = FSlowMove;
  }
  TTableMotion(const TTableMotion&) = delete;
  TTableMotion& operator=(const TTableMotion&) = delete;

  void CardSpeedTimes(int k) {
    if (FTable) FTable->SetCardSpeed(FCardSpeed * k);
  }
  void TurnSpeedTimes(int k) {
    if (FTable) FTable->SetTurnOverAnimationSpeed(FTurnSpeed * k);
  }
  // A turn-over speed of 0 turns without animation.
  void NoTurnAnimation() {
    if (FTable) FTable->SetTurnOverAnimationSpeed(0);
  }
  void NoLift() {
    if (FTable) FTable->TurnOverAnimationLift = false;
  }
  void NoLiftOffset() {
    if (FTable) FTable->LiftOffset = false;
  }
  void NoSlowMove() {
    if (FTable) FTable->SlowMoveRegion = false;
  }
  // The motion of a deal: no lift and no slow-move region; a fast deal moves and turns its cards
  // at eight times the speed.
  void ForDeal(bool fast) {
    NoLift();
    NoSlowMove();
    if (!fast) return;
    CardSpeedTimes(8);
    TurnSpeedTimes(8);
  }

 private:
  TCardTable* FTable;
  int FCardSpeed = 0;
  int FTurnSpeed = 0;
  bool FLift = false;
  bool FLiftOffset = false;
  bool FSlowMove = false;
};
