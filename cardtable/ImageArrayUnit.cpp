#include "cardtable/ImageArrayUnit.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/graphics/Bitmap.h"

namespace {

// base + Round(v) (half to even), saturating instead of overflowing.
int AddRounded(int base, long double v) {
  const long double r = base + std::nearbyint(v);
  if (!(r > (long double)INT_MIN)) return INT_MIN;
  if (!(r < (long double)INT_MAX)) return INT_MAX;
  return int(r);
}

// Round(g * (a - b)) exactly as extended-precision (80-bit) arithmetic rounds it. a and b are
// exact products. Double precision gives the same integer except within a hair of a half (or
// for huge values); those few are redone in long double.
inline long long RoundScaledDifference(double g, double a, double b) {
  const double v = g * (a - b);
  // Adding and taking away 1.5 * 2^52 rounds to an integer in the current (half-even) mode,
  // without a library call; valid below 2^51, and larger values take the slow path anyway.
  constexpr double kShift = 6755399441055744.0;
  const double r = (v + kShift) - kShift;
  if (std::fabs(v - r) > 0.5 - 1e-9 * (1.0 + std::fabs(v)))
    return std::llrint((long double)g * ((long double)a - (long double)b));
  return (long long)r;
}

// Trunc(g * i), kept within 0..last.
int SourceIndex(float g, int i, int last) {
  return int(std::min(std::trunc(double(g) * i), double(last)));
}

}  // namespace

void TImageArray::SetWidth(int W) {
  W = std::max(W, 0);
  if (W == FWidth) return;
  // Column-major: the columns are whole runs, so adding or dropping them is a resize at the end.
  FPixels.resize(size_t(W) * size_t(FHeight), kOpaque);
  FWidth = W;
}

void TImageArray::SetHeight(int H) {
  H = std::max(H, 0);
  if (H == FHeight) return;
  std::vector<uint32_t> pixels(size_t(FWidth) * size_t(H), kOpaque);
  const size_t keep = size_t(std::min(H, FHeight));
  for (size_t x = 0; x < size_t(FWidth); ++x)
    std::copy_n(FPixels.begin() + ptrdiff_t(x * size_t(FHeight)), keep,
                pixels.begin() + ptrdiff_t(x * size_t(H)));
  FPixels = std::move(pixels);
  FHeight = H;
}

void TImageArray::LoadFromBitmap(const TBitmap& Bitmap) {
  SetWidth(Bitmap.Width());
  SetHeight(Bitmap.Height());
  FBackgroundPixel = Bitmap.TransparentColor();
  const size_t H = size_t(FHeight);
  for (int y = 0; y < FHeight; ++y) {
    const uint32_t* row = Bitmap.ScanLine(y);
    uint32_t* dst = FPixels.data() + y;
    for (int x = 0; x < FWidth; ++x, dst += H) *dst = row[x] | kOpaque;
  }
}

void TImageArray::VectorBetween(TPoint P1, TPoint P2, TVector& V) {
  const float dx = float((long long)P2.X - P1.X), dy = float((long long)P2.Y - P1.Y);
  V.Length = std::hypot(dx, dy);
  if (std::fabs(V.Length) >= 1.0f) {
    V.Y0 = dy / V.Length;
    V.X0 = dx / V.Length;
  } else {
    V.Y0 = 0.0f;
    V.X0 = 1.0f;
  }
}

bool TImageArray::DrawRotated(TBitmap& Target, const TPoint& Centre, float Angle, TPoint& Origin, float Scale,
                              bool Mirror, bool WhiteBackground) const {
  Target.PixelFormat = TPixelFormat::pf24bit;
  Origin = TPoint(0, 0);
  if (FWidth <= 0 || FHeight <= 0 || !std::isfinite(Scale) || !(Scale > 0.0f) || !std::isfinite(Angle)) {
    Target.SetSize(0, 0);
    return false;
  }

  // Single-precision sine, cosine and inverse scale; products in extended precision.
  const float s = float(std::sin(double(Angle))), c = float(std::cos(double(Angle)));
  const float g = 1.0f / Scale;
  const long double S = Scale, W = FWidth, H = FHeight;
  const long double newW = std::fabs(std::nearbyint(H * s * S)) + std::fabs(std::nearbyint(W * c * S));
  const long double newH = std::fabs(std::nearbyint(W * s * S)) + std::fabs(std::nearbyint(H * c * S));
  if (!(newW <= kMaxSide) || !(newH <= kMaxSide) || newW * newH > (long double)kMaxPixels) {
    Target.SetSize(0, 0);
    return false;
  }
  const int NewW = int(newW), NewH = int(newH);
  Target.SetSize(NewW, NewH);

  const uint32_t background = WhiteBackground ? 0xFFFFFFFFu : Pixel(0, FHeight - 1);
  const uint32_t* pixels = FPixels.data();
  const size_t colLen = size_t(FHeight);

  if (Angle != 0.0f) {
    // Target pixel at (K, L) half-pixels from the result's centre shows the source pixel at
    // g * R(Angle) * (K, L) half-pixels from the source's centre. The products c*K, s*K, s*L and
    // c*L are exact in double (24-bit factors, 16-bit integers), so they are formed once.
    std::vector<double> cK(static_cast<size_t>(NewW)), sK(static_cast<size_t>(NewW));
    for (int x = 0; x < NewW; ++x) {
      const int K = 2 * x - (NewW - 1);
      cK[size_t(x)] = double(c) * K;
      sK[size_t(x)] = double(s) * K;
    }
    for (int y = 0; y < NewH; ++y) {
      const int L = 2 * y - (NewH - 1);
      const double sL = double(s) * L, minusCL = -(double(c) * L);
      uint32_t* out = Target.ScanLine(y);
      for (int x = NewW - 1; x >= 0; --x) {
        // Truncating division: a numerator of -1 still gives column or row 0.
        long long sx = (FWidth + RoundScaledDifference(g, cK[size_t(x)], sL) - 1) / 2;
        const long long sy = (FHeight + RoundScaledDifference(g, sK[size_t(x)], minusCL) - 1) / 2;
        if (Mirror) sx = FWidth - 1 - sx;
        out[x] = (sx >= 0 && sx < FWidth && sy >= 0 && sy < FHeight)
                     ? pixels[size_t(sx) * colLen + size_t(sy)]
                     : background;
      }
    }
  } else {
    // Scale only: nearest source pixel by truncation. The size rule keeps the indices inside the
    // source; they are clamped anyway against rounding of g at extreme scales.
    std::vector<size_t> column(static_cast<size_t>(NewW));
    for (int x = 0; x < NewW; ++x) {
      int sx = SourceIndex(g, x, FWidth - 1);
      if (Mirror) sx = FWidth - 1 - sx;
      column[size_t(x)] = size_t(sx) * colLen;
    }
    for (int y = 0; y < NewH; ++y) {
      const uint32_t* src = pixels + SourceIndex(g, y, FHeight - 1);
      uint32_t* out = Target.ScanLine(y);
      for (int x = NewW - 1; x >= 0; --x) out[x] = src[column[size_t(x)]];
    }
  }

  // Where Centre lands: its offset u from the source centre, mirrored with the picture, turned by
  // the transpose of R(Angle) and scaled.
  TVector V;
  VectorBetween(TPoint(FWidth / 2, FHeight / 2), Centre, V);
  const long double d = V.Length, uy = V.Y0;
  const long double ux = Mirror ? -(long double)V.X0 : (long double)V.X0;
  Origin.X = AddRounded(NewW / 2, S * d * (c * ux + s * uy));
  Origin.Y = AddRounded(NewH / 2, S * d * (c * uy - s * ux));
  return true;
}

void TImageArray::LiftDarkPixels(TBitmap& Bitmap) {
  Bitmap.PixelFormat = TPixelFormat::pf24bit;
  for (int y = 0; y < Bitmap.Height(); ++y) {
    uint8_t* p = Bitmap.ScanLineBytes(y);
    for (int x = 0; x < Bitmap.Width(); ++x, p += 4)
      if (p[0] + p[1] + p[2] < 30) p[2] = 30;
  }
}

TImageArray& SharedImageArray() {
  static TImageArray instance;
  return instance;
}
