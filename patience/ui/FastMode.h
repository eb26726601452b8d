#pragma once
// The table settings of fast mode (the "fast" switch on the command line): plain shadows, no slow
// move region, quicker moves and turn-overs without the lift. The program and the pacing benchmark
// both set them here, so the benchmark measures what a fast-mode player gets.

#include "cardtable/CardTable.h"

inline void ApplyFastModeSettings(TCardTable& t) {
  t.ShadowMode = smOriginal;
  t.HQDragShade = false;
  t.SlowMoveRegion = false;
  t.FastMovementMode = true;
  t.SetCardSpeed(64);
  t.SetTurnOverAnimationSpeed(32);
  t.TurnOverAnimationLift = false;
}
