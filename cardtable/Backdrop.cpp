#include "cardtable/Backdrop.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "platform/core/Numeric.h"
#include "platform/graphics/Bitmap.h"

namespace {

constexpr std::array<std::string_view, 4> kDirectionNames{"drLeftRight", "drRightLeft", "drUpDown",
                                                          "drDownUp"};
constexpr std::array<std::string_view, 4> kStyleNames{"gsHorizontal", "gsVertical", "gsDiagonalLeftRight",
                                                      "gsDiagonalRightLeft"};

// Fills the part of r inside the bitmap with one stored pixel value.
void FillClipped(TBitmap& bmp, const TRect& r, uint32_t pixel) {
  const TRect c = IntersectRect(r, TRect(0, 0, bmp.Width(), bmp.Height()));
  if (c.IsEmpty()) return;
  for (int y = c.Top; y < c.Bottom; ++y) std::fill_n(bmp.ScanLine(y) + c.Left, c.Width(), pixel);
}

// Start colour plus a signed step, each channel reduced to its low byte.
struct TRamp {
  int R0, G0, B0, dR, dG, dB;
  uint32_t At(long long num, long long den) const {
    const int r = int(R0 + num * dR / den) & 0xFF;
    const int g = int(G0 + num * dG / den) & 0xFF;
    const int b = int(B0 + num * dB / den) & 0xFF;
    return kOpaque | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
  }
};

}  // namespace

std::string_view FillDirectionName(TFillDirection d) {
  const size_t i = size_t(d);
  return i < kDirectionNames.size() ? kDirectionNames[i] : std::string_view();
}

std::optional<TFillDirection> FillDirectionFromName(std::string_view name) {
  for (size_t i = 0; i < kDirectionNames.size(); ++i)
    if (kDirectionNames[i] == name) return TFillDirection(i);
  return std::nullopt;
}

std::string_view GradientStyleName(TGradientStyle s) {
  const size_t i = size_t(s);
  return i < kStyleNames.size() ? kStyleNames[i] : std::string_view();
}

std::optional<TGradientStyle> GradientStyleFromName(std::string_view name) {
  for (size_t i = 0; i < kStyleNames.size(); ++i)
    if (kStyleNames[i] == name) return TGradientStyle(i);
  return std::nullopt;
}

void FillGradientRect(TBitmap& Bitmap, const TRect& Rect, TColor ColorFrom, TColor ColorTo,
                      TGradientStyle Style) {
  Bitmap.PixelFormat = TPixelFormat::pf32bit;
  const TRect clip = IntersectRect(Rect, TRect(0, 0, Bitmap.Width(), Bitmap.Height()));
  if (clip.IsEmpty()) return;

  if (ColorFrom == ColorTo) {
    FillClipped(Bitmap, clip, ColorToPixel(ColorToRGB(ColorFrom)));
    return;
  }

  const TColor from = ColorToRGB(ColorFrom), to = ColorToRGB(ColorTo);
  const TRamp ramp{GetRValue(from),
                   GetGValue(from),
                   GetBValue(from),
                   GetRValue(to) - GetRValue(from),
                   GetGValue(to) - GetGValue(from),
                   GetBValue(to) - GetBValue(from)};
  // The gradient's geometry is the whole rectangle, also where it reaches past the bitmap.
  const long long W = (long long)Rect.Right - Rect.Left, H = (long long)Rect.Bottom - Rect.Top;
  const int cw = clip.Width();

  switch (Style) {
    case TGradientStyle::gsHorizontal: {
      // One row is computed, then copied down.
      std::vector<uint32_t> row(static_cast<size_t>(cw));
      for (int x = clip.Left; x < clip.Right; ++x) row[size_t(x - clip.Left)] = ramp.At(x - Rect.Left, W);
      for (int y = clip.Top; y < clip.Bottom; ++y)
        std::memcpy(Bitmap.ScanLine(y) + clip.Left, row.data(), size_t(cw) * sizeof(uint32_t));
      break;
    }
    case TGradientStyle::gsVertical:
      for (int y = clip.Top; y < clip.Bottom; ++y)
        std::fill_n(Bitmap.ScanLine(y) + clip.Left, cw, ramp.At(y - Rect.Top, H));
      break;
    case TGradientStyle::gsDiagonalLeftRight:
    case TGradientStyle::gsDiagonalRightLeft: {
      // v = Trunc(((y - Top) / H + (x - Left) / W) * 512) in extended precision, 0..1023; each
      // channel is start + v * delta div 1024. The quotients are formed once per row and column.
      // Double precision gives the same v except within a hair of an integer, where the sum is
      // redone in long double.
      std::array<uint32_t, 1024> colours;
      for (int v = 0; v < 1024; ++v) colours[size_t(v)] = ramp.At(v, 1024);
      const bool mirrored = Style == TGradientStyle::gsDiagonalRightLeft;
      std::vector<long double> colExt(static_cast<size_t>(cw));
      std::vector<double> colDbl(static_cast<size_t>(cw));
      for (int X = clip.Left; X < clip.Right; ++X) {
        // The pixel computed for column x lands at Right + Left - x - 1 when mirrored.
        const long long x = mirrored ? (long long)Rect.Right + Rect.Left - X - 1 : X;
        colExt[size_t(X - clip.Left)] = (long double)(x - Rect.Left) / (long double)W;
        colDbl[size_t(X - clip.Left)] = double(x - Rect.Left) / double(W);
      }
      for (int y = clip.Top; y < clip.Bottom; ++y) {
        const long long dy = (long long)y - Rect.Top;
        const long double rowExt = (long double)dy / (long double)H;
        const double rowDbl = double(dy) / double(H);
        uint32_t* out = Bitmap.ScanLine(y) + clip.Left;
        for (int i = 0; i < cw; ++i) {
          const double t = (rowDbl + colDbl[size_t(i)]) * 512.0;  // below 1024
          int v = int(t);
          const double frac = t - v;
          if (frac < 1e-9 || frac > 1.0 - 1e-9) v = int((rowExt + colExt[size_t(i)]) * 512.0L);
          out[i] = colours[size_t(std::clamp(v, 0, 1023))];
        }
      }
      break;
    }
    default:
      break;  // unknown style: nothing drawn
  }
}

// ---------------------------------------------------------------------------------------------
// TBackdrop

void TBackdrop::PaintBitmap(TBitmap& Bitmap) const {
  if (!FEnabled) return;
  if (FNewMode)
    FillGradientRect(Bitmap, TRect(0, 0, Bitmap.Width(), Bitmap.Height()), FNewColorFrom, FNewColorTo,
                     FNewType);
  else
    PaintBands(Bitmap);
}

void TBackdrop::PaintBands(TBitmap& Bitmap) const {
  const bool across = FDirection == TFillDirection::drLeftRight || FDirection == TFillDirection::drRightLeft;
  const bool reversed = FDirection == TFillDirection::drRightLeft || FDirection == TFillDirection::drDownUp;
  const int W = Bitmap.Width(), H = Bitmap.Height();
  const double x = (across ? W : H) / 256.0;
  const int band = Round(x + 0.5);
  // Later bands overdraw earlier ones where their rounded starts overlap.
  for (int i = 0; i <= 255; ++i) {
    const int r = FChangeRColour ? i : FStartR;
    const int g = FChangeGColour ? i : FStartG;
    const int b = FChangeBColour ? i : FStartB;
    const int start = Round((reversed ? 255 - i : i) * x);
    const TRect rect = across ? Bounds(start, 0, band, H) : Bounds(0, start, W, band);
    FillClipped(Bitmap, rect, ColorToPixel(RGB(r, g, b)));
  }
}

void TBackdrop::SetStartR(uint8_t v) {
  Store(FStartR, v, !FNewMode);
}
void TBackdrop::SetStartG(uint8_t v) {
  Store(FStartG, v, !FNewMode);
}
void TBackdrop::SetStartB(uint8_t v) {
  Store(FStartB, v, !FNewMode);
}
void TBackdrop::SetChangeRColour(bool v) {
  Store(FChangeRColour, v, !FNewMode);
}
void TBackdrop::SetChangeGColour(bool v) {
  Store(FChangeGColour, v, !FNewMode);
}
void TBackdrop::SetChangeBColour(bool v) {
  Store(FChangeBColour, v, !FNewMode);
}
void TBackdrop::SetDirection(TFillDirection v) {
  Store(FDirection, v, !FNewMode);
}
void TBackdrop::SetEnabled(bool v) {
  Store(FEnabled, v, v);
}
void TBackdrop::SetNewMode(bool v) {
  Store(FNewMode, v, true);
}
void TBackdrop::SetNewColorFrom(TColor v) {
  Store(FNewColorFrom, v, FNewMode);
}
void TBackdrop::SetNewColorTo(TColor v) {
  Store(FNewColorTo, v, FNewMode);
}
void TBackdrop::SetNewType(TGradientStyle v) {
  Store(FNewType, v, FNewMode);
}
