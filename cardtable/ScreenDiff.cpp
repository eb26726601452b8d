#include "cardtable/ScreenDiff.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/graphics/Bitmap.h"

namespace {

// What one more part costs, in pixels sent: every part is a request of its own to the window
// system and a paint of its own, so a few pixels are not worth a part.
int gPartCost = 1024;

struct TRun {
  int L, R;  // [L, R), columns of the seen rectangle
};

struct TCut {
  int BandRows;  // rows looked at together
  int JoinGap;   // runs of differing pixels closer than this become one
};
// From the finest cut to the coarsest, which gives at most one part a band.
constexpr TCut kCuts[] = {{4, 6}, {8, 16}, {16, 48}, {32, 1 << 30}};

constexpr uint32_t kColour = 0x00FFFFFF;
constexpr uint64_t kColours = 0x00FFFFFF00FFFFFFull;

bool Differ(uint32_t a, uint32_t b) {
  return ((a ^ b) & kColour) != 0;
}

// The runs of pixels of a row that differ (neighbours one pixel apart joined).
void RowRuns(const uint32_t* b, const uint32_t* s, int w, std::vector<TRun>& out) {
  const size_t first = out.size();
  int x = 0;
  for (;;) {
    // Two pixels at a time over what is the same.
    for (; x + 2 <= w; x += 2) {
      uint64_t bb, ss;
      std::memcpy(&bb, b + x, sizeof bb);
      std::memcpy(&ss, s + x, sizeof ss);
      if ((bb ^ ss) & kColours) break;
    }
    while (x < w && !Differ(b[x], s[x])) ++x;
    if (x >= w) return;
    int end = x + 1;
    while (end < w && Differ(b[end], s[end])) ++end;
    if (out.size() > first && x - out.back().R < 2)
      out.back().R = end;
    else
      out.push_back({x, end});
    x = end;
  }
}

// The differing runs of every row of the seen rectangle: row y's runs are Runs[Start[y] ..
// Start[y + 1]).
struct TRowRuns {
  std::vector<TRun> Runs;
  std::vector<size_t> Start;
  int First = -1, Last = -1;  // rows with runs
  int Left = 1 << 30, Right = -1;
};

// The parts a cut gives, in seen coordinates offset by (ox, oy).
void CutParts(const TRowRuns& rows, int height, const TCut& cut, int ox, int oy, std::vector<TRect>& parts) {
  struct TOpen {
    int L, R, Top, Bottom;
    bool Continued;
  };
  // Kept from one copy to the next: no allocation per frame.
  thread_local std::vector<TRun> band, runs;
  thread_local std::vector<TOpen> open, next;
  open.clear();
  auto close = [&](const TOpen& o) { parts.emplace_back(ox + o.L, oy + o.Top, ox + o.R, oy + o.Bottom); };
  for (int y0 = 0; y0 < height; y0 += cut.BandRows) {
    const int y1 = std::min(y0 + cut.BandRows, height);
    band.clear();
    int first = -1, last = -1;
    for (int y = y0; y < y1; ++y) {
      if (rows.Start[size_t(y)] == rows.Start[size_t(y) + 1]) continue;
      band.insert(band.end(), rows.Runs.begin() + std::ptrdiff_t(rows.Start[size_t(y)]),
                  rows.Runs.begin() + std::ptrdiff_t(rows.Start[size_t(y) + 1]));
      if (first < 0) first = y;
      last = y;
    }
    std::sort(band.begin(), band.end(), [](const TRun& a, const TRun& b) { return a.L < b.L; });
    runs.clear();
    for (const TRun& r : band) {
      if (!runs.empty() && r.L - runs.back().R < cut.JoinGap)
        runs.back().R = std::max(runs.back().R, r.R);
      else
        runs.push_back(r);
    }
    // A run over the same columns as a part ending right above it continues that part.
    next.clear();
    for (TOpen& o : open) o.Continued = false;
    for (const TRun& r : runs) {
      auto above = std::find_if(open.begin(), open.end(), [&](const TOpen& o) {
        return !o.Continued && o.L == r.L && o.R == r.R && o.Bottom == first;
      });
      if (above != open.end()) {
        above->Continued = true;
        next.push_back({r.L, r.R, above->Top, last + 1, false});
      } else {
        next.push_back({r.L, r.R, first, last + 1, false});
      }
    }
    for (const TOpen& o : open)
      if (!o.Continued) close(o);
    std::swap(open, next);
  }
  for (const TOpen& o : open) close(o);
}

long long Cost(const std::vector<TRect>& parts, size_t from) {
  long long cost = 0;
  for (size_t i = from; i < parts.size(); ++i)
    cost += (long long)parts[i].Width() * parts[i].Height() + gPartCost;
  return cost;
}

}  // namespace

void SetScreenPartCost(int pixels) {
  gPartCost = std::max(pixels, 0);
}

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
  const int w = seen.Width(), h = seen.Height();
  thread_local TRowRuns rows;
  rows.Runs.clear();
  rows.Start.clear();
  rows.First = rows.Last = -1;
  rows.Left = 1 << 30;
  rows.Right = -1;
  for (int y = 0; y < h; ++y) {
    rows.Start.push_back(rows.Runs.size());
    const uint32_t* b = buffer.ScanLine(seen.Top + y) + seen.Left;
    const uint32_t* s = screen.Bits + ptrdiff_t(seen.Top + y) * screen.Stride + seen.Left;
    // The same bytes are the same colours.
    if (std::memcmp(b, s, size_t(w) * sizeof(uint32_t)) == 0) continue;
    const size_t before = rows.Runs.size();
    RowRuns(b, s, w, rows.Runs);
    if (rows.Runs.size() == before) continue;
    if (rows.First < 0) rows.First = y;
    rows.Last = y;
    rows.Left = std::min(rows.Left, rows.Runs[before].L);
    rows.Right = std::max(rows.Right, rows.Runs.back().R);
  }
  rows.Start.push_back(rows.Runs.size());
  if (rows.First < 0) return;
  // The cheapest of the cuts and of the differences' bounding rectangle.
  const size_t from = parts.size();
  thread_local std::vector<TRect> best;
  best.assign(1, TRect(seen.Left + rows.Left, seen.Top + rows.First, seen.Left + rows.Right,
                       seen.Top + rows.Last + 1));
  long long least = Cost(best, 0);
  for (const TCut& cut : kCuts) {
    CutParts(rows, h, cut, seen.Left, seen.Top, parts);
    const long long cost = Cost(parts, from);
    if (cost < least) {
      least = cost;
      best.assign(parts.begin() + std::ptrdiff_t(from), parts.end());
    }
    parts.resize(from);
  }
  parts.insert(parts.end(), best.begin(), best.end());
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
