#pragma once
// The starfield of a flight through space: 500 stars drawn as white squares on black that grow as
// they come nearer, shared by the start screen, the about box and the winning show (which never
// run it at the same time). Stars are placed by the effects' generator, never the deal's.

#include <cstdint>
#include <vector>

#include "platform/graphics/Bitmap.h"

// A starfield's picture held as one byte a pixel, 0 black and 1 white.
struct TStarMask {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Pixels;
  // All black.
  void SetSize(int width, int height);
  uint8_t* Row(int y) { return Pixels.data() + size_t(y) * size_t(Width); }
  const uint8_t* Row(int y) const { return Pixels.data() + size_t(y) * size_t(Width); }
  // As a picture: white and black.
  TBitmap Picture() const;
};

// Spreads the stars over a field of W x H (its centre is where they come from).
void InitStarfield(int W, int H);
// One frame on the bitmap: each star's last square is erased (black), the star drawn at its new
// place and moved one step nearer; a star that has passed is reborn far away near the centre.
// With drawn, it receives each star's new square cut to the bitmap (empty when the star is off it),
// one per star in the stars' order.
void DrawStarfieldFrame(TBitmap& canvas, std::vector<TRect>* drawn = nullptr);
// One frame as DrawStarfieldFrame draws it on a picture of width x height, drawing nothing: each
// star's erased square and its new one, cut to the picture, in the stars' order. The picture after
// the frame is black but for each new square less the squares erased after it.
void StepStarfield(int width, int height, std::vector<TRect>& erased, std::vector<TRect>& drawn);
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
