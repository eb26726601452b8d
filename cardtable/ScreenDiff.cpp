#include "cardtable/ScreenDiff.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/graphics/Bitmap.h"

namespace {

// A rectangle gives at most this many parts; a finer cut beyond that is not worth its requests.
constexpr size_t kMostParts = 64;

struct TCut {
  int BandRows;  // rows looked at together
  int JoinGap;   // runs of differing pixels closer than this become one
};
// From the finest cut to the coarsest, which gives at most one part a band.
constexpr TCut kCuts[] = {{4, 6}, {8, 16}, {16, 48}, {32, 1 << 30}};

constexpr uint32_t kColour = 0x00FFFFFF;

// The parts of seen (inside both pictures) that differ, cut as `cut` says.
void CutParts(const TBitmap& buffer, const TScreenPixels& screen, const TRect& seen, const TCut& cut,
              std::vector<TRect>& parts) {
  struct TOpen {
    int L, R, Top, Bottom;
    bool Continued;
  };
  const int w = seen.Width();
  std::vector<uint8_t> differs(static_cast<size_t>(w));
  std::vector<std::pair<int, int>> runs;
  std::vector<TOpen> open, next;
  auto close = [&](const TOpen& o) { parts.emplace_back(seen.Left + o.L, o.Top, seen.Left + o.R, o.Bottom); };
  for (int y0 = seen.Top; y0 < seen.Bottom; y0 += cut.BandRows) {
    const int y1 = std::min(y0 + cut.BandRows, seen.Bottom);
    std::fill(differs.begin(), differs.end(), uint8_t(0));
    int first = -1, last = -1;
    for (int y = y0; y < y1; ++y) {
      const uint32_t* b = buffer.ScanLine(y) + seen.Left;
      const uint32_t* s = screen.Bits + ptrdiff_t(y) * screen.Stride + seen.Left;
      // The same bytes are the same colours.
      if (std::memcmp(b, s, size_t(w) * sizeof(uint32_t)) == 0) continue;
      bool any = false;
      for (int x = 0; x < w; ++x)
        if ((b[x] ^ s[x]) & kColour) {
          differs[size_t(x)] = 1;
          any = true;
        }
      if (any) {
        if (first < 0) first = y;
        last = y;
      }
    }
    runs.clear();
    for (int x = 0; first >= 0 && x < w;) {
      if (!differs[size_t(x)]) {
        ++x;
        continue;
      }
      int end = x + 1;
      while (end < w && differs[size_t(end)]) ++end;
      if (!runs.empty() && x - runs.back().second < cut.JoinGap)
        runs.back().second = end;
      else
        runs.emplace_back(x, end);
      x = end;
    }
    // A run over the same columns as a part ending right above it continues that part.
    next.clear();
    for (TOpen& o : open) o.Continued = false;
    for (const auto& [l, r] : runs) {
      auto above = std::find_if(open.begin(), open.end(), [&, l = l, r = r](const TOpen& o) {
        return !o.Continued && o.L == l && o.R == r && o.Bottom == first;
      });
      if (above != open.end()) {
        above->Continued = true;
        next.push_back({l, r, above->Top, last + 1, false});
      } else {
        next.push_back({l, r, first, last + 1, false});
      }
    }
    for (const TOpen& o : open)
      if (!o.Continued) close(o);
    std::swap(open, next);
  }
  for (const TOpen& o : open) close(o);
}

}  // namespace

void SubtractRect(const TRect& a, const TRect& b, std::vector<TRect>& out) {
  const TRect i = IntersectRect(a, b);
  if (i.IsEmpty()) {
    if (!a.IsEmpty()) out.push_back(a);
    return;
  }
  const TRect pieces[] = {{a.Left, a.Top, a.Right, i.Top},
                          {a.Left, i.Bottom, a.Right, a.Bottom},
                          {a.Left, i.Top, i.Left, i.Bottom},
                          {i.Right, i.Top, a.Right, i.Bottom}};
  for (const TRect& p : pieces)
    if (!p.IsEmpty()) out.push_back(p);
}

void AddChangedParts(const TBitmap& buffer, const TScreenPixels& screen, const TRect& r,
                     std::vector<TRect>& parts) {
  const TRect in = IntersectRect(r, TRect(0, 0, buffer.Width(), buffer.Height()));
  if (in.IsEmpty()) return;
  const TRect seen = screen.Bits ? IntersectRect(in, TRect(0, 0, screen.Width, screen.Height)) : TRect();
  if (seen.IsEmpty()) {
    parts.push_back(in);
    return;
  }
  // What the screen's pixels do not reach goes whole.
  SubtractRect(in, seen, parts);
  const size_t before = parts.size();
  for (const TCut& cut : kCuts) {
    parts.resize(before);
    CutParts(buffer, screen, seen, cut, parts);
    if (parts.size() - before <= kMostParts) break;
  }
}

std::vector<TRect> ChangedParts(const TBitmap& buffer, const TScreenPixels& screen,
                                const std::vector<TRect>& rects) {
  // Made disjoint first, so that no pixel is sent twice.
  std::vector<TRect> disjoint, pieces, rest;
  for (const TRect& r : rects) {
    pieces.assign(1, r);
    for (const TRect& d : disjoint) {
      rest.clear();
      for (const TRect& p : pieces) SubtractRect(p, d, rest);
      std::swap(pieces, rest);
    }
    disjoint.insert(disjoint.end(), pieces.begin(), pieces.end());
  }
  std::vector<TRect> parts;
  for (const TRect& r : disjoint) AddChangedParts(buffer, screen, r, parts);
  return parts;
}
