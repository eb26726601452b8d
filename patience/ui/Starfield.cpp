#include "patience/ui/Starfield.h"

#include <algorithm>

#include "platform/core/Random.h"

namespace {

TStarfield TheField;

// The canvases a frame draws on: a picture, or a mask of a byte a pixel.
struct TPictureCanvas {
  TBitmap& Bitmap;
  int Width() const { return Bitmap.Width(); }
  int Height() const { return Bitmap.Height(); }
  void Fill(const TRect& on, bool white) const {
    const uint32_t pixel = ColorToPixel(white ? clWhite : clBlack);
    for (int y = on.Top; y < on.Bottom; ++y) std::fill_n(Bitmap.ScanLine(y) + on.Left, on.Width(), pixel);
  }
};

// Fills the part of r on the canvas; returns that part.
template <class TCanvasOf>
TRect Fill(const TCanvasOf& canvas, const TRect& r, bool white) {
  const TRect on = IntersectRect(r, TRect(0, 0, canvas.Width(), canvas.Height()));
  if (!on.IsEmpty()) canvas.Fill(on, white);
  return on;
}

template <class TCanvasOf>
void Frame(const TCanvasOf& canvas, bool erase, std::vector<TRect>* drawn) {
  TStarfield& f = TheField;
  if (f.Cx == 0 || f.Cy == 0) return;
  TRandom& random = ProgramRandom();
  if (drawn) drawn->clear();
  for (TStar& s : f.Stars) {
    if (erase)
      Fill(canvas, TRect(s.PrevX, s.PrevY, s.PrevX + 2 * s.PrevSize, s.PrevY + 2 * s.PrevSize), false);
    const int size = f.S / s.Z;
    const int x = s.X / s.Z + f.Cx - size, y = s.Y / s.Z + f.Cy - size;
    s.PrevX = x;
    s.PrevY = y;
    s.PrevSize = size;
    const TRect on = Fill(canvas, TRect(x, y, x + size, y + size), true);
    if (drawn) drawn->push_back(on);
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

void DrawStarfieldFrame(TBitmap& canvas, std::vector<TRect>* drawn) {
  Frame(TPictureCanvas{canvas}, true, drawn);
}

void StepStarfield(int width, int height, std::vector<TRect>& erased, std::vector<TRect>& drawn) {
  erased.clear();
  drawn.clear();
  TStarfield& f = TheField;
  if (f.Cx == 0 || f.Cy == 0) return;
  const TRect picture(0, 0, width, height);
  TRandom& random = ProgramRandom();
  for (TStar& s : f.Stars) {
    erased.push_back(
        IntersectRect(TRect(s.PrevX, s.PrevY, s.PrevX + 2 * s.PrevSize, s.PrevY + 2 * s.PrevSize), picture));
    const int size = f.S / s.Z;
    const int x = s.X / s.Z + f.Cx - size, y = s.Y / s.Z + f.Cy - size;
    s.PrevX = x;
    s.PrevY = y;
    s.PrevSize = size;
    drawn.push_back(IntersectRect(TRect(x, y, x + size, y + size), picture));
    if (--s.Z <= 0) {
      s.Z = kStarCount;
      s.X = (random.Random(2 * f.Cx) - f.Cx) * 128;
      s.Y = (random.Random(2 * f.Cy) - f.Cy) * 128;
    }
  }
}

void DrawStarfieldTrails(TBitmap& canvas) {
  Frame(TPictureCanvas{canvas}, false, nullptr);
}

void TStarMask::SetSize(int width, int height) {
  Width = std::max(width, 0);
  Height = std::max(height, 0);
  Pixels.assign(size_t(Width) * size_t(Height), 0);
}

TBitmap TStarMask::Picture() const {
  TBitmap b(Width, Height, TNewPixels::Overwrite);
  const uint32_t black = ColorToPixel(clBlack), white = ColorToPixel(clWhite);
  for (int y = 0; y < Height; ++y) {
    const uint8_t* m = Row(y);
    uint32_t* p = b.ScanLine(y);
    for (int x = 0; x < Width; ++x) p[x] = m[x] ? white : black;
  }
  return b;
}
