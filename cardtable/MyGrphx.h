#pragma once
// Pixel routines of the card table: a distance table for round glows, the radial colour glow
// of the sparkle effect, and the darkening or tinting of a bitmap through a brightness table
// (drop shades, drag shades and lifted-card shadows).
//
// The game and the card-set maker shade differently: the game's table has 101 levels (0..100,
// level 100 keeps a value) and tints at a fixed level, the maker's has 76 (0..75, no level keeps
// a value) and tints at the per-pixel level. TShadeProfile holds those differences; one routine
// serves both, and each program picks its profile at start-up with UseShadeProfile.

#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

class TBitmap;

// ---------------------------------------------------------------------------------------------
// Distance table

// Integer distances from the centre of a (2R+1) x (2R+1) square: At(dx + R, dy + R) =
// Round(Sqrt(dx*dx + dy*dy)).
struct TLightData {
  int Radius = -1;  // radius the table was made for; -1 before MakeDistanceTable
  std::vector<int> Data;

  int Side() const { return Radius < 0 ? 0 : 2 * Radius + 1; }
  int At(int i, int j) const { return Data[size_t(i) * size_t(Side()) + size_t(j)]; }
};

// A negative radius leaves an empty table.
void MakeDistanceTable(int Radius, TLightData& Table);

// Blends Colour into the pixels within Radius of (X, Y): weight w = (1 - d/Radius) * s with
// s = (low byte of Strength) / 100, capped at 1 so that no channel can leave 0..255; each channel
// becomes Trunc(colour * w + (1 - w) * old). Pixels outside the bitmap are skipped. Nothing is
// drawn for Radius <= 0 or when Table was not made for Radius.
void BlendRadialGlow(int X, int Y, int Radius, TColor Colour, int Strength, const TLightData& Table,
                     TBitmap& Bitmap);

// ---------------------------------------------------------------------------------------------
// Shade tables and shading

struct TShadeProfile {
  int Levels;           // highest level of the table and of the soft edges (100 or 75)
  int TableOffset;      // T[v][p] = Round(v / 255 * (p - TableOffset + 255))
  bool RampFromOne;     // soft ramps count pixels from 1 (game) or from 0 (maker)
  int TintLevel;        // level of the tint modes; -1 = the per-pixel level
  bool Mode7Unchanged;  // mode 7 leaves the bitmap alone (game); else it darkens all channels
};

// The game: level 0 keeps 155/255, level 100 all of a value; hard shade at level 20; soft edge
// over the last 120 columns (fully unchanged for the last 20) or the last 100 rows; tints at 60.
inline constexpr TShadeProfile GameShadeProfile{100, 100, true, 60, true};
// The card-set maker: level 0 keeps 178/255, level 75 keeps 253/255; soft edge over the last 95
// columns or the last 75 rows; tints use the per-pixel level.
inline constexpr TShadeProfile MakerShadeProfile{75, 77, false, -1, false};

// T[v][p] for v = 0..255 and p = 0..Levels.
class TShadeTable {
 public:
  int Levels() const { return FLevels; }
  uint8_t operator()(int v, int p) const { return FTable[size_t(p) * 256 + size_t(v)]; }
  // The 256 entries of level p (index = channel value).
  const uint8_t* Level(int p) const { return FTable.data() + size_t(p) * 256; }

 private:
  friend TShadeTable BuildShadeTable(int Offset, int Levels);
  int FLevels = -1;
  std::vector<uint8_t> FTable;
};

// T[v][p] := Round(v / 255 * (p - Offset + 255)), stored as one byte, for p = 0..Levels.
TShadeTable BuildShadeTable(int Offset, int Levels = 100);

// The table of a profile, built once on first use.
const TShadeTable& ShadeTable(const TShadeProfile& Profile);

// The profile ShadeBitmap uses when none is given: GameShadeProfile until a program chooses.
void UseShadeProfile(const TShadeProfile& Profile);
const TShadeProfile& ActiveShadeProfile();

// Darkens or tints Bitmap in place. Soft False: level 20 everywhere. Soft True: the level
// rises along a soft edge, toward the right and downward; AlongBottom puts the fast ramp over the
// last rows instead of the right-hand columns. Mode 0 darkens all channels; modes 1..6 tint
// (1 red, 2 green, 3 blue, 4 yellow, 5 pink, 6 turquoise) by darkening the other channels; mode 7
// and any other mode behave as the profile says. An empty bitmap is left alone.
void ShadeBitmap(TBitmap& Bitmap, bool Soft, bool AlongBottom, int Mode, const TShadeProfile& Profile);
inline void ShadeBitmap(TBitmap& Bitmap, bool Soft, bool AlongBottom, int Mode) {
  ShadeBitmap(Bitmap, Soft, AlongBottom, Mode, ActiveShadeProfile());
}
