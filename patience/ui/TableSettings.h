#pragma once
// The game window's table settings, and what fast mode (the "fast" switch on the command line)
// changes: plain shadows, no slow move region, quicker moves and turn-overs without the lift. The
// program and the pacing benchmark both set them here, so the benchmark measures what a player gets.

#include "cardtable/CardTable.h"

inline void ApplyGameTableSettings(TCardTable& t) {
  // The start screen shows instead of the table: meanwhile it holds no buffer of the window's size.
  t.FreeBufferWhileHidden = true;
  t.DragAndDrop = true;
  t.SetPlaceDeckOffset(7);
  t.SlowMoveRegion = true;
  t.SMR_WaitMode = true;
  t.FastMovementMode = false;
  t.LiftOffset = true;
  t.TurnOverAnimationLift = true;
}

inline void ApplyFastModeSettings(TCardTable& t) {
  t.ShadowMode = smOriginal;
  t.HQDragShade = false;
  t.SlowMoveRegion = false;
  t.FastMovementMode = true;
  t.SetCardSpeed(64);
  t.SetTurnOverAnimationSpeed(32);
  t.TurnOverAnimationLift = false;
}
