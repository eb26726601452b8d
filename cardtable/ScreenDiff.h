#pragma once
// What a copy to the screen really has to send: the parts of a rectangle of the table's buffer that
// differ from what the screen shows there. A card that moves a few pixels changes a strip along
// each edge and the edges of its pips, not its whole rectangle; a second copy of an unchanged
// rectangle changes nothing.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

class TBitmap;

// The pixels a screen shows of the table, in table coordinates: row y of the table starts at
// Bits + y * Stride; pixels are 0x??RRGGBB (the top byte is not compared). Empty (no Bits) where
// the surface does not know them.
struct TScreenPixels {
  const uint32_t* Bits = nullptr;
  ptrdiff_t Stride = 0;  // in pixels
  int Width = 0;
  int Height = 0;
};

// Appends to parts rectangles that together cover every pixel of r (inside the buffer) whose colour
// differs between buffer and screen, and few others: each band of a few rows is cut into the column
// runs that differ (runs a few pixels apart join), and runs of neighbouring bands over the same
// columns become one rectangle. Of several such cuts, from fine to coarse, and the bounding
// rectangle of the differences, the one that costs least is taken, a part costing its pixels and
// a fixed number more (SetScreenPartCost). The parts of r outside the screen's pixels are
// appended whole.
void AddChangedParts(const TBitmap& buffer, const TScreenPixels& screen, const TRect& r,
                     std::vector<TRect>& parts);

// The same for a list of rectangles that may overlap: every pixel is looked at once.
std::vector<TRect> ChangedParts(const TBitmap& buffer, const TScreenPixels& screen,
                                const std::vector<TRect>& rects);

// The pixels one part more is worth (1024 unless set).
void SetScreenPartCost(int pixels);

// a less b: up to four rectangles.
void SubtractRect(const TRect& a, const TRect& b, std::vector<TRect>& out);
