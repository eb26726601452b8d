#pragma once
// TImageArray: a column-major copy of a picture that is drawn back rotated, scaled and mirrored.
// Every rotated card, back, place marker and sprite and every rescaled card picture of the table
// is made by the one shared instance (SharedImageArray), so its storage is reallocated only when
// the picture size changes.

#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

class TBitmap;

// Length and unit direction of the vector from one point to another.
struct TVector {
  float Length = 0;
  float X0 = 1;
  float Y0 = 0;
};

class TImageArray {
 public:
  // Renders larger than this (either side, or in total pixels) are refused.
  static constexpr int kMaxSide = 32768;
  static constexpr long long kMaxPixels = 1LL << 26;

  TImageArray() = default;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Colour ($BBGGRR) of the source's bottom-left pixel at the last load; black for an empty one.
  TColor BackgroundPixel() const { return FBackgroundPixel; }
  // Stored pixel (0xFFRRGGBB) of source pixel (x, y); the caller keeps x, y inside the array.
  uint32_t Pixel(int x, int y) const { return FPixels[size_t(x) * size_t(FHeight) + size_t(y)]; }

  // Column count; new columns are Height pixels long (black). Negative counts as 0.
  void SetWidth(int W);
  // Pixels per column, keeping the top of every column. Negative counts as 0.
  void SetHeight(int H);

  // Copies the picture (B, G, R of every pixel) into the columns.
  void LoadFromBitmap(const TBitmap& Bitmap);

  // V.Length = |P2 - P1| (single precision); V.X0, V.Y0 the unit direction, or (1, 0) when the
  // length is below 1.
  static void VectorBetween(TPoint P1, TPoint P2, TVector& V);

  // Draws the array into Target turned by Angle (radians; positive turns counter-clockwise on the
  // screen), scaled by Scale and, with Mirror, mirrored left to right. Target gets the size of the
  // turned picture: NewW = |Round(H sin S)| + |Round(W cos S)|, NewH = |Round(W sin S)| + |Round(H cos S)|.
  // Target pixels outside the turned picture take white (WhiteBackground) or the source's
  // bottom-left pixel, the colour transparent drawing keys out. Origin receives where the source
  // point Centre lands in Target. Target's Transparent flag is kept; it is tagged 24-bit.
  // Returns false, with Target emptied and Origin (0, 0), for an empty array, a scale that is not
  // positive and finite, an angle that is not finite, or a result larger than kMaxSide/kMaxPixels.
  bool DrawRotated(TBitmap& Target, const TPoint& Centre, float Angle, TPoint& Origin, float Scale,
                   bool Mirror, bool WhiteBackground) const;

  // Raises every pixel whose blue + green + red is below 30 to red 30, so that no pixel of a
  // picture is pure black, the key colour of transparent drawing. The bitmap is tagged 24-bit.
  static void LiftDarkPixels(TBitmap& Bitmap);

 private:
  int FWidth = 0;
  int FHeight = 0;
  TColor FBackgroundPixel = clBlack;
  std::vector<uint32_t> FPixels;  // column x holds pixels x*Height .. x*Height + Height-1
};

// The instance every rendering of the table goes through (GUI thread only).
TImageArray& SharedImageArray();
