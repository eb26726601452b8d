#include "platform/graphics/Raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/graphics/Bitmap.h"

// Every routine clips its rectangles once, up front, and then runs plain loops over row pointers.
// Coordinates are widened to 64 bits while clipping so that no sum of caller values can overflow.

namespace {

// A copy after clipping: w x h pixels from (sx, sy) in the source to (dx, dy) in the destination.
struct TClip {
  int dx, dy, sx, sy, w, h;
};

// A start below 0 moves to 0: the other side's start moves with it and the length shrinks.
inline void ClipStart(int64_t& start, int64_t& other, int64_t& len) {
  if (start >= 0) return;
  other -= start;
  len += start;
  start = 0;
}

// Clips a w x h copy between bitmaps of the given sizes; false when nothing is left.
bool ClipCopy(int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy, int dstW, int dstH,
              int srcW, int srcH, TClip& c) {
  if (w <= 0 || h <= 0) return false;
  ClipStart(x, sx, w);
  ClipStart(y, sy, h);
  ClipStart(sx, x, w);
  ClipStart(sy, y, h);
  w = std::min({w, int64_t(dstW) - x, int64_t(srcW) - sx});
  h = std::min({h, int64_t(dstH) - y, int64_t(srcH) - sy});
  if (w <= 0 || h <= 0) return false;
  c = TClip{int(x), int(y), int(sx), int(sy), int(w), int(h)};
  return true;
}

// The kinds of copy: the four raster operations and the colour-keyed one.
enum class TBlend { Copy, And, Paint, NotCopy, Keyed };

TBlend BlendOf(TRasterOp op) {
  switch (op) {
    case TRasterOp::And:
      return TBlend::And;
    case TRasterOp::Paint:
      return TBlend::Paint;
    case TRasterOp::NotCopy:
      return TBlend::NotCopy;
    case TRasterOp::Copy:
      break;
  }
  return TBlend::Copy;
}

// One destination pixel d after a blend with source pixel s. Keyed leaves out source pixels equal
// in RGB to key (given as RGB only).
template <TBlend B>
inline void BlendPixel(uint32_t& d, uint32_t s, uint32_t key) {
  if constexpr (B == TBlend::Copy)
    d = s | kOpaque;
  else if constexpr (B == TBlend::And)
    d = (d & s) | kOpaque;
  else if constexpr (B == TBlend::Paint)
    d = d | s | kOpaque;
  else if constexpr (B == TBlend::NotCopy)
    d = ~s | kOpaque;
  else if ((s & 0xFFFFFF) != key)
    d = s | kOpaque;
}

// Calls f with the blend as a compile-time constant, so each blend gets its own plain loop.
template <typename F>
void WithBlend(TBlend blend, F&& f) {
  switch (blend) {
    case TBlend::Copy:
      f(std::integral_constant<TBlend, TBlend::Copy>{});
      break;
    case TBlend::And:
      f(std::integral_constant<TBlend, TBlend::And>{});
      break;
    case TBlend::Paint:
      f(std::integral_constant<TBlend, TBlend::Paint>{});
      break;
    case TBlend::NotCopy:
      f(std::integral_constant<TBlend, TBlend::NotCopy>{});
      break;
    case TBlend::Keyed:
      f(std::integral_constant<TBlend, TBlend::Keyed>{});
      break;
  }
}

// One row of a blend. When backward is set the row runs right to left, which keeps an overlapping
// copy within the same row correct when the destination lies to the right.
template <TBlend B>
inline void BlendRow(uint32_t* d, const uint32_t* s, int n, uint32_t key, bool backward) {
  if (!backward) {
    for (int i = 0; i < n; ++i) BlendPixel<B>(d[i], s[i], key);
  } else {
    for (int i = n - 1; i >= 0; --i) BlendPixel<B>(d[i], s[i], key);
  }
}

template <TBlend B>
void BlitRows(TBitmap& dst, const TBitmap& src, const TClip& c, bool bottomUp, bool backward, uint32_t key) {
  for (int i = 0; i < c.h; ++i) {
    const int r = bottomUp ? c.h - 1 - i : i;
    BlendRow<B>(dst.ScanLine(c.dy + r) + c.dx, src.ScanLine(c.sy + r) + c.sx, c.w, key, backward);
  }
}

void Blit(TBitmap& dst, int x, int y, int w, int h, const TBitmap& src, int sx, int sy, TBlend blend,
          uint32_t key) {
  TClip c;
  if (!ClipCopy(x, y, w, h, sx, sy, dst.Width(), dst.Height(), src.Width(), src.Height(), c)) return;
  // Within one bitmap, rows are walked away from the side the copy moves to, so no source row is
  // overwritten before it is read; rows are disjoint in memory, so only the same row needs a
  // backward walk.
  const bool same = &dst == &src;
  const bool bottomUp = same && c.dy > c.sy;
  const bool backward = same && c.dy == c.sy && c.dx > c.sx;
  key &= 0xFFFFFF;
  WithBlend(blend, [&](auto b) { BlitRows<decltype(b)::value>(dst, src, c, bottomUp, backward, key); });
}

// The destination range [lo, hi) of one axis whose samples src + (d * srcLen) / len fall inside
// 0..srcSize-1, and inside 0..dstSize-1 on the destination side; the sample of each position goes to
// map[d - lo]. False when the range is empty.
bool MapAxis(int64_t pos, int64_t len, int64_t src, int64_t srcLen, int dstSize, int srcSize, int& lo,
             int& hi, std::vector<int>& map) {
  int64_t a = std::max<int64_t>(0, -pos), b = std::min<int64_t>(len, int64_t(dstSize) - pos);
  if (a >= b) return false;
  // The mapping is monotonic, so the positions whose sample lies inside the source form one range.
  auto sample = [&](int64_t d) { return src + (d * srcLen) / len; };
  if (sample(a) < 0) {
    // First d with src + d * srcLen / len >= 0, that is d * srcLen >= -src * len.
    a = std::max(a, (-src * len + srcLen - 1) / srcLen);
    while (a < b && sample(a) < 0) ++a;
  }
  if (b > a && sample(b - 1) >= srcSize) {
    // First d with sample(d) >= srcSize, that is d * srcLen >= (srcSize - src) * len.
    const int64_t rem = int64_t(srcSize) - src;
    b = rem <= 0 ? a : std::min(b, (rem * len + srcLen - 1) / srcLen);
    while (b > a && sample(b - 1) >= srcSize) --b;
  }
  if (a >= b) return false;
  lo = int(a);
  hi = int(b);
  map.resize(size_t(b - a));
  for (int64_t d = a; d < b; ++d) map[size_t(d - a)] = int(sample(d));
  return true;
}

template <TBlend B>
void StretchRows(TBitmap& dst, int x, int y, const TBitmap& src, int x0, int x1, int y0, int y1,
                 const std::vector<int>& cols, const std::vector<int>& rows, uint32_t key) {
  const int n = x1 - x0;
  const int* col = cols.data();
  key &= 0xFFFFFF;
  for (int j = y0; j < y1; ++j) {
    uint32_t* d = dst.ScanLine(y + j) + x + x0;
    const uint32_t* s = src.ScanLine(rows[size_t(j - y0)]);
    for (int i = 0; i < n; ++i) BlendPixel<B>(d[i], s[col[i]], key);
  }
}

void Stretch(TBitmap& dst, int x, int y, int w, int h, const TBitmap& source, int sx, int sy, int sw, int sh,
             TBlend blend, uint32_t key) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || dst.Empty() || source.Empty()) return;
  // Stretching within one bitmap reads from a copy: rows and columns are resampled in an order
  // that cannot be made safe for every overlap.
  TBitmap copy;
  const TBitmap* srcp = &source;
  if (&dst == &source) {
    copy = source;
    srcp = &copy;
  }
  const TBitmap& src = *srcp;
  int x0, x1, y0, y1;
  std::vector<int> cols, rows;
  if (!MapAxis(x, w, sx, sw, dst.Width(), src.Width(), x0, x1, cols)) return;
  if (!MapAxis(y, h, sy, sh, dst.Height(), src.Height(), y0, y1, rows)) return;
  WithBlend(blend, [&](auto b) {
    StretchRows<decltype(b)::value>(dst, x, y, src, x0, x1, y0, y1, cols, rows, key);
  });
}

// r clipped to the bitmap; false when nothing is left.
bool ClipRect(const TBitmap& bmp, const TRect& r, TRect& out) {
  out = IntersectRect(r, TRect(0, 0, bmp.Width(), bmp.Height()));
  return !out.IsEmpty();
}

}  // namespace

void BitBlt(TBitmap& dst, int x, int y, int w, int h, const TBitmap& src, int sx, int sy, TRasterOp op) {
  Blit(dst, x, y, w, h, src, sx, sy, BlendOf(op), 0);
}

void StretchBlt(TBitmap& dst, int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw, int sh,
                TRasterOp op) {
  Stretch(dst, x, y, w, h, src, sx, sy, sw, sh, BlendOf(op), 0);
}

void AlphaBlendStretch(TBitmap& dst, int x, int y, int w, int h, const TBitmap& source, int sx, int sy,
                       int sw, int sh, int alpha) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || dst.Empty() || source.Empty()) return;
  const TBitmap copy = &dst == &source ? source : TBitmap();
  const TBitmap& src = &dst == &source ? copy : source;
  int x0, x1, y0, y1;
  std::vector<int> cols, rows;
  if (!MapAxis(x, w, sx, sw, dst.Width(), src.Width(), x0, x1, cols)) return;
  if (!MapAxis(y, h, sy, sh, dst.Height(), src.Height(), y0, y1, rows)) return;
  const uint32_t a = uint32_t(std::clamp(alpha, 0, 255)), b = 255 - a;
  for (int j = y0; j < y1; ++j) {
    uint32_t* d = dst.ScanLine(y + j) + x + x0;
    const uint32_t* s = src.ScanLine(rows[size_t(j - y0)]);
    for (int i = 0; i < x1 - x0; ++i) {
      const uint32_t p = s[cols[size_t(i)]], q = d[i];
      uint32_t out = kOpaque;
      for (int shift = 0; shift < 24; shift += 8)
        out |= ((((p >> shift) & 0xFF) * a + ((q >> shift) & 0xFF) * b + 127) / 255) << shift;
      d[i] = out;
    }
  }
}

void Draw(TBitmap& dst, int x, int y, const TBitmap& src) {
  if (src.Transparent)
    DrawTransparent(dst, x, y, src, src.TransparentColor());
  else
    Blit(dst, x, y, src.Width(), src.Height(), src, 0, 0, TBlend::Copy, 0);
}

void DrawTransparent(TBitmap& dst, int x, int y, const TBitmap& src, TColor key) {
  Blit(dst, x, y, src.Width(), src.Height(), src, 0, 0, TBlend::Keyed, ColorToPixel(ColorToRGB(key)));
}

void StretchDraw(TBitmap& dst, const TRect& r, const TBitmap& src) {
  const TBlend blend = src.Transparent ? TBlend::Keyed : TBlend::Copy;
  const uint32_t key = src.Transparent ? ColorToPixel(src.TransparentColor()) : 0;
  Stretch(dst, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, src.Width(), src.Height(), blend, key);
}

void FillRect(TBitmap& dst, const TRect& r, TColor c) {
  TRect k;
  if (!ClipRect(dst, r, k)) return;
  const uint32_t p = ColorToPixel(ColorToRGB(c));
  const int n = k.Width();
  for (int y = k.Top; y < k.Bottom; ++y) std::fill_n(dst.ScanLine(y) + k.Left, n, p);
}

void FrameRect(TBitmap& dst, const TRect& r, TColor c) {
  if (r.IsEmpty()) return;
  // Pulling far-away edges in to just outside the bitmap keeps the +1/-1 below from overflowing
  // and changes nothing that is drawn.
  const int l = std::clamp(r.Left, -1, dst.Width() + 1), t = std::clamp(r.Top, -1, dst.Height() + 1);
  const int rt = std::clamp(r.Right, -1, dst.Width() + 1), b = std::clamp(r.Bottom, -1, dst.Height() + 1);
  FillRect(dst, TRect(l, t, rt, t + 1), c);
  if (b - 1 > t) FillRect(dst, TRect(l, b - 1, rt, b), c);
  FillRect(dst, TRect(l, t + 1, l + 1, b - 1), c);
  if (rt - 1 > l) FillRect(dst, TRect(rt - 1, t + 1, rt, b - 1), c);
}

void PatternFill(TBitmap& dst, const TRect& r, const TBitmap& pattern) {
  TRect k;
  if (pattern.Empty() || !ClipRect(dst, r, k)) return;
  const TBitmap* pat = &pattern;
  TBitmap copy;
  if (&dst == &pattern) {
    copy = pattern;
    pat = &copy;
  }
  const int pw = pat->Width(), ph = pat->Height();
  for (int y = k.Top; y < k.Bottom; ++y) {
    const uint32_t* s = pat->ScanLine(y % ph);
    uint32_t* d = dst.ScanLine(y) + k.Left;
    int px = k.Left % pw;
    int n = k.Width();
    while (n > 0) {
      const int run = std::min(n, pw - px);
      for (int i = 0; i < run; ++i) d[i] = s[px + i] | kOpaque;
      d += run;
      n -= run;
      px = 0;
    }
  }
}

void InvertBitmap(TBitmap& bmp) {
  uint32_t* p = bmp.Bits();
  const size_t n = size_t(bmp.Width()) * size_t(bmp.Height());
  for (size_t i = 0; i < n; ++i) p[i] = ~p[i] | kOpaque;
}
