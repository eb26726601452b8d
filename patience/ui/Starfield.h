#pragma once
// The starfield of a flight through space: 500 stars drawn as white squares on black that grow as
// they come nearer, shared by the start screen, the about box and the winning show (which never
// run it at the same time). Stars are placed by the effects' generator, never the deal's.

#include "platform/graphics/Bitmap.h"

// Spreads the stars over a field of W x H (its centre is where they come from).
void InitStarfield(int W, int H);
// One frame on the bitmap: each star's last square is erased (black), the star drawn at its new
// place and moved one step nearer; a star that has passed is reborn far away near the centre.
void DrawStarfieldFrame(TBitmap& canvas);
// The same without the erase: the stars leave trails.
void DrawStarfieldTrails(TBitmap& canvas);

// The field's state, for tests.
struct TStar {
  int X = 0, Y = 0, Z = 0;
  int PrevX = -1, PrevY = -1, PrevSize = 0;
};
inline constexpr int kStarCount = 500;
struct TStarfield {
  int Cx = 0, Cy = 0, S = 0;
  TStar Stars[kStarCount];
};
TStarfield& Starfield();
