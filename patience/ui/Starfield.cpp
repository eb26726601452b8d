#include "patience/ui/Starfield.h"

#include "platform/core/Random.h"
#include "platform/graphics/Raster.h"

namespace {

TStarfield TheField;

void Frame(TBitmap& canvas, bool erase) {
  TStarfield& f = TheField;
  if (f.Cx == 0 || f.Cy == 0) return;
  TRandom& random = ProgramRandom();
  for (TStar& s : f.Stars) {
    if (erase)
      FillRect(canvas, TRect(s.PrevX, s.PrevY, s.PrevX + 2 * s.PrevSize, s.PrevY + 2 * s.PrevSize), clBlack);
    const int size = f.S / s.Z;
    const int x = s.X / s.Z + f.Cx - size, y = s.Y / s.Z + f.Cy - size;
    s.PrevX = x;
    s.PrevY = y;
    s.PrevSize = size;
    FillRect(canvas, TRect(x, y, x + size, y + size), clWhite);
    if (--s.Z <= 0) {
      s.Z = kStarCount;
      s.X = (random.Random(2 * f.Cx) - f.Cx) * 128;
      s.Y = (random.Random(2 * f.Cy) - f.Cy) * 128;
    }
  }
}

}  // namespace

TStarfield& Starfield() {
  return TheField;
}

void InitStarfield(int W, int H) {
  TStarfield& f = TheField;
  f.Cx = W / 2;
  f.Cy = H / 2;
  f.S = (f.Cx + f.Cy) >> 1;
  TRandom& random = ProgramRandom();
  for (int i = 0; i < kStarCount; ++i) {
    TStar& s = f.Stars[i];
    s.PrevX = -1;
    s.PrevY = -1;
    s.PrevSize = 0;
    s.X = (random.Random(2 * f.Cx) - f.Cx) * 512;
    s.Y = (random.Random(2 * f.Cy) - f.Cy) * 512;
    s.Z = i + 1;
  }
}

void DrawStarfieldFrame(TBitmap& canvas) {
  Frame(canvas, true);
}

void DrawStarfieldTrails(TBitmap& canvas) {
  Frame(canvas, false);
}
