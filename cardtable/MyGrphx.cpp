#include "cardtable/MyGrphx.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/core/Numeric.h"
#include "platform/graphics/Bitmap.h"

// ---------------------------------------------------------------------------------------------
// Distance table and glow

void MakeDistanceTable(int Radius, TLightData& Table) {
  Table.Data.clear();
  Table.Radius = Radius < 0 ? -1 : Radius;
  if (Radius < 0) return;
  const int side = Table.Side();
  Table.Data.resize(size_t(side) * size_t(side));
  for (int dx = -Radius; dx <= Radius; ++dx)
    for (int dy = -Radius; dy <= Radius; ++dy)
      Table.Data[size_t(dx + Radius) * size_t(side) + size_t(dy + Radius)] =
          Round(std::sqrt(double(dx) * dx + double(dy) * dy));
}

void BlendRadialGlow(int X, int Y, int Radius, TColor Colour, int Strength, const TLightData& Table,
                     TBitmap& Bitmap) {
  Bitmap.PixelFormat = TPixelFormat::pf24bit;
  if (Radius <= 0 || Bitmap.Empty()) return;
  const int side = Table.Side();
  if (Table.Radius != Radius || Table.Data.size() != size_t(side) * size_t(side)) return;

  // A strength above 100 would push the blend past the colour and out of 0..255.
  long double s = (Strength & 0xFF) / 100.0L;
  if (s > 1.0L) s = 1.0L;
  std::vector<long double> weight(size_t(Radius) + 1);
  for (int d = 0; d <= Radius; ++d) weight[size_t(d)] = (1.0L - (long double)d / Radius) * s;

  const long double cr = GetRValue(Colour), cg = GetGValue(Colour), cb = GetBValue(Colour);
  auto blend = [](long double c, long double w, uint8_t old) {
    const long double v = c * w + (1.0L - w) * old;
    return uint8_t(std::clamp(int(v), 0, 255));  // int() truncates toward zero
  };

  // The part of the square that lies inside the bitmap.
  const long long W = Bitmap.Width(), H = Bitmap.Height();
  const int dy0 = int(std::max<long long>(-Radius, -(long long)Y));
  const int dy1 = int(std::min<long long>(Radius, H - 1 - Y));
  const int dx0 = int(std::max<long long>(-Radius, -(long long)X));
  const int dx1 = int(std::min<long long>(Radius, W - 1 - X));
  for (int dy = dy0; dy <= dy1; ++dy) {
    uint8_t* row = Bitmap.ScanLineBytes(Y + dy);
    for (int dx = dx0; dx <= dx1; ++dx) {
      const int d = Table.At(Radius + dx, Radius + dy);
      if (d > Radius) continue;
      const long double w = weight[size_t(d)];
      uint8_t* p = row + size_t(X + dx) * 4;
      p[0] = blend(cb, w, p[0]);
      p[1] = blend(cg, w, p[1]);
      p[2] = blend(cr, w, p[2]);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Shade tables

TShadeTable BuildShadeTable(int Offset, int Levels) {
  TShadeTable t;
  t.FLevels = std::max(Levels, 0);
  t.FTable.resize(size_t(t.FLevels + 1) * 256);
  for (int p = 0; p <= t.FLevels; ++p) {
    const double k = p - Offset + 255;
    for (int v = 0; v < 256; ++v)
      t.FTable[size_t(p) * 256 + size_t(v)] = uint8_t(Round64(v / 255.0 * k) & 0xFF);
  }
  return t;
}

const TShadeTable& ShadeTable(const TShadeProfile& Profile) {
  static const TShadeTable game = BuildShadeTable(GameShadeProfile.TableOffset, GameShadeProfile.Levels);
  static const TShadeTable maker = BuildShadeTable(MakerShadeProfile.TableOffset, MakerShadeProfile.Levels);
  if (Profile.TableOffset == GameShadeProfile.TableOffset && Profile.Levels == GameShadeProfile.Levels)
    return game;
  if (Profile.TableOffset == MakerShadeProfile.TableOffset && Profile.Levels == MakerShadeProfile.Levels)
    return maker;
  // Any other profile: built once and kept for the life of the program.
  static std::mutex lock;
  static std::map<std::pair<int, int>, std::unique_ptr<TShadeTable>> others;
  std::lock_guard<std::mutex> guard(lock);
  auto& slot = others[{Profile.TableOffset, Profile.Levels}];
  if (!slot) slot = std::make_unique<TShadeTable>(BuildShadeTable(Profile.TableOffset, Profile.Levels));
  return *slot;
}

namespace {
TShadeProfile activeProfile = GameShadeProfile;

constexpr int kHardLevel = 20;

// Identity lookup for channels a mode leaves alone, so the pixel loop has no branches.
struct TIdentity {
  uint8_t v[256];
  constexpr TIdentity() : v() {
    for (int i = 0; i < 256; ++i) v[i] = uint8_t(i);
  }
};
constexpr TIdentity kIdentity;

// Which channels a mode changes, and at which level (-1: per pixel); Unchanged when it changes
// nothing at all.
struct TShadeChannels {
  bool B = true, G = true, R = true;
  int FixedLevel = -1;
  bool Unchanged = false;
};

// Mode 0 darkens all three channels, per pixel (the level is settled later); 1..6 tint at the
// profile's tint level by darkening the channels other than the tint's (red, green, blue, yellow,
// pink, turquoise); any other mode darkens all three at the tint level, except that mode 7 leaves
// the picture alone when the profile says so.
TShadeChannels ChannelsOfMode(int Mode, const TShadeProfile& Profile) {
  TShadeChannels c;
  if (Mode >= 1 && Mode <= 6) {
    c.R = Mode == 2 || Mode == 3 || Mode == 6;  // green, blue, turquoise
    c.G = Mode == 1 || Mode == 3 || Mode == 5;  // red, blue, pink
    c.B = Mode == 1 || Mode == 2 || Mode == 4;  // red, green, yellow
    c.FixedLevel = Profile.TintLevel;
  } else if (Mode != 0) {
    c.Unchanged = Mode == 7 && Profile.Mode7Unchanged;
    c.FixedLevel = Profile.TintLevel;
  }
  return c;
}

// Soft edges: the level of a pixel is the larger of its column's level and its row's.
struct TSoftEdge {
  std::vector<int> Col, Row;
};

TSoftEdge SoftEdgeLevels(int W, int H, int N, int base, bool AlongBottom) {
  TSoftEdge e;
  e.Col.resize(size_t(W));
  e.Row.resize(size_t(H));
  if (!AlongBottom) {
    // A band of N + 20 columns at the right, reaching N twenty columns before the edge;
    // a ramp down the whole height.
    const int edge = W - (N + 20);
    for (int x = 0; x < W; ++x) e.Col[size_t(x)] = std::min(std::max(x + 1 - edge, 0), N);
    const double f = float(N) / float(H);  // single-precision factor
    for (int y = 0; y < H; ++y) e.Row[size_t(y)] = std::clamp(Trunc((y + base) * f), 0, N);
  } else {
    // A band of the last N rows; a ramp across the whole width.
    const int edge = H - N;
    for (int y = 0; y < H; ++y) e.Row[size_t(y)] = std::min(std::max(y + 1 - edge, 0), N);
    const double f = float(N) / float(W);
    for (int x = 0; x < W; ++x) e.Col[size_t(x)] = std::clamp(Trunc((x + base) * f), 0, N);
  }
  return e;
}

// Every pixel through the lookup of one level.
void ShadeAtLevel(TBitmap& Bitmap, const uint8_t* lv, const TShadeChannels& c) {
  const uint8_t* tb = c.B ? lv : kIdentity.v;
  const uint8_t* tg = c.G ? lv : kIdentity.v;
  const uint8_t* tr = c.R ? lv : kIdentity.v;
  const int W = Bitmap.Width(), H = Bitmap.Height();
  for (int y = 0; y < H; ++y) {
    uint8_t* p = Bitmap.ScanLineBytes(y);
    for (int x = 0; x < W; ++x, p += 4) {
      p[0] = tb[p[0]];
      p[1] = tg[p[1]];
      p[2] = tr[p[2]];
    }
  }
}

// Every pixel through the lookup of its own edge level.
void ShadeSoftEdges(TBitmap& Bitmap, const TShadeTable& table, const TSoftEdge& e, const TShadeChannels& c) {
  const int W = Bitmap.Width(), H = Bitmap.Height();
  for (int y = 0; y < H; ++y) {
    uint8_t* p = Bitmap.ScanLineBytes(y);
    const int ry = e.Row[size_t(y)];
    const int* cl = e.Col.data();
    for (int x = 0; x < W; ++x, p += 4) {
      const uint8_t* lv = table.Level(std::max(cl[x], ry));
      p[0] = (c.B ? lv : kIdentity.v)[p[0]];
      p[1] = (c.G ? lv : kIdentity.v)[p[1]];
      p[2] = (c.R ? lv : kIdentity.v)[p[2]];
    }
  }
}

}  // namespace

void UseShadeProfile(const TShadeProfile& Profile) {
  activeProfile = Profile;
}
const TShadeProfile& ActiveShadeProfile() {
  return activeProfile;
}

void ShadeBitmap(TBitmap& Bitmap, bool Soft, bool AlongBottom, int Mode, const TShadeProfile& Profile) {
  Bitmap.PixelFormat = TPixelFormat::pf24bit;
  const int W = Bitmap.Width(), H = Bitmap.Height();
  if (W <= 0 || H <= 0) return;
  TShadeChannels channels = ChannelsOfMode(Mode, Profile);
  if (channels.Unchanged) return;

  const TShadeTable& table = ShadeTable(Profile);
  const int N = std::clamp(Profile.Levels, 0, table.Levels());
  int& level = channels.FixedLevel;
  if (!Soft && level < 0) level = std::min(kHardLevel, N);
  level = std::min(level, N);
  if (level >= 0)
    ShadeAtLevel(Bitmap, table.Level(level), channels);
  else
    ShadeSoftEdges(Bitmap, table, SoftEdgeLevels(W, H, N, Profile.RampFromOne ? 1 : 0, AlongBottom),
                   channels);
}
