// The card sets drawn by the build, checked file by file and pixel by pixel against what the card
// table does with them: OR faces over an ANDed mask, AND markers and shadows, keyed rotation on the
// bottom-left pixel, and the maker's template boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"
#include "tests/support/TestUtil.h"

namespace {

constexpr uint32_t kRGB = 0xFFFFFF;

std::string SetDir(const std::string& set) {
  return PathJoin(BuiltProgramDir(), "Cardsets", set);
}

std::vector<std::string> FaceNames() {
  std::vector<std::string> names;
  for (int v = 1; v <= 13; ++v)
    for (char s : {'c', 'd', 'h', 's'}) {
      char n[32];
      std::snprintf(n, sizeof n, "%02d%c.bmp", v, s);
      names.push_back(n);
    }
  return names;
}

const std::vector<std::string>& AndPictures() {
  static const std::vector<std::string> names = {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp",
                                                 "Bottom05.bmp", "Bottom06.bmp", "Bottom07.bmp",
                                                 "Shade.bmp"};
  return names;
}

int CountBacks(const std::string& dir) {
  int n = 0;
  while (n < 9 && FileExists(PathJoin(dir, "Back" + std::to_string(n + 1) + ".bmp"))) ++n;
  return n;
}

// The header facts of a BMP file, read from the raw bytes.
struct THeader {
  bool Ok = false;
  int32_t Width = 0, Height = 0;
  uint16_t Bits = 0;
  uint32_t Compression = ~0u, InfoSize = 0;
  bool SizeFits = false;
};

THeader ReadHeader(const std::string& path) {
  std::ifstream f(ResolvePath(path), std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  THeader h;
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return h;
  auto u32 = [&](size_t o) {
    return uint32_t(d[o]) | uint32_t(d[o + 1]) << 8 | uint32_t(d[o + 2]) << 16 | uint32_t(d[o + 3]) << 24;
  };
  auto u16 = [&](size_t o) { return uint16_t(d[o] | d[o + 1] << 8); };
  h.Ok = true;
  h.InfoSize = u32(14);
  h.Width = int32_t(u32(18));
  h.Height = int32_t(u32(22));
  h.Bits = u16(28);
  h.Compression = u32(30);
  const uint64_t stride = (uint64_t(std::max(h.Width, 0)) * 3 + 3) / 4 * 4;
  h.SizeFits = d.size() >= u32(10) + stride * uint64_t(h.Height < 0 ? -int64_t(h.Height) : h.Height);
  return h;
}

// Loaded pictures, read once per run.
const TBitmap& Pic(const std::string& set, const std::string& name) {
  static std::map<std::string, TBitmap> cache;
  const std::string key = set + "/" + name;
  auto it = cache.find(key);
  if (it == cache.end()) {
    TBitmap bmp;
    LoadBmpFile(ResolvePath(PathJoin(SetDir(set), name)), bmp);
    it = cache.emplace(key, std::move(bmp)).first;
  }
  return it->second;
}

uint32_t Rgb(const TBitmap& b, int x, int y) {
  return b.RawPixel(x, y) & kRGB;
}
int R(uint32_t p) {
  return (p >> 16) & 0xFF;
}
int G(uint32_t p) {
  return (p >> 8) & 0xFF;
}
int B(uint32_t p) {
  return p & 0xFF;
}
bool MaskInside(const TBitmap& mask, int x, int y) {
  return Rgb(mask, x, y) == 0;
}
bool RedInk(uint32_t p) {
  return R(p) > 140 && G(p) < 110 && B(p) < 110;
}
bool DarkInk(uint32_t p) {
  return R(p) < 90 && G(p) < 90 && B(p) < 90;
}

struct TSetFacts {
  std::string Name;
  int W, H, Shadow;
  int MinBacks;
  bool HasShadow02;
};

void PrintTo(const TSetFacts& f, std::ostream* os) {
  *os << f.Name;
}

class CardSet : public ::testing::TestWithParam<TSetFacts> {
 protected:
  const TSetFacts& F() const { return GetParam(); }
  std::string Dir() const { return SetDir(F().Name); }
  const TBitmap& Get(const std::string& name) const { return Pic(F().Name, name); }
  std::vector<std::string> OrPictures() const {
    std::vector<std::string> names = FaceNames();
    names.push_back("01joker.bmp");
    names.push_back("02joker.bmp");
    for (int b = 1; b <= CountBacks(Dir()); ++b) names.push_back("Back" + std::to_string(b) + ".bmp");
    return names;
  }
  std::vector<std::string> AllFiles() const {
    std::vector<std::string> names = OrPictures();
    for (const auto& n : AndPictures()) names.push_back(n);
    for (const char* n : {"CardMask.bmp", "Shadow00.bmp", "Shadow01.bmp", "Shadow00M.bmp", "Shadow01M.bmp",
                          "Shadow00IM.bmp", "Shadow01IM.bmp"})
      names.push_back(n);
    if (F().HasShadow02) names.push_back("Shadow02.bmp");
    return names;
  }
};

TEST_P(CardSet, EveryFileIsThereAsA24BitBottomUpBmpOfTheRightSize) {
  ASSERT_TRUE(DirectoryExists(Dir())) << Dir();
  ASSERT_GE(CountBacks(Dir()), F().MinBacks);
  const int W = F().W, H = F().H, s = F().Shadow;
  const std::map<std::string, std::pair<int, int>> strips = {
      {"Shadow00.bmp", {W, s}},     {"Shadow00M.bmp", {W, s}},     {"Shadow00IM.bmp", {W, s}},
      {"Shadow01.bmp", {s, H - s}}, {"Shadow01M.bmp", {s, H - s}}, {"Shadow01IM.bmp", {s, H - s}}};
  for (const std::string& name : AllFiles()) {
    SCOPED_TRACE(name);
    const std::string path = PathJoin(Dir(), name);
    ASSERT_TRUE(FileExists(path));
    const THeader h = ReadHeader(path);
    ASSERT_TRUE(h.Ok);
    EXPECT_EQ(h.InfoSize, 40u);
    EXPECT_EQ(h.Bits, 24);
    EXPECT_EQ(h.Compression, 0u);  // BI_RGB
    EXPECT_GT(h.Height, 0);        // rows stored bottom-up
    EXPECT_TRUE(h.SizeFits);
    auto it = strips.find(name);
    const auto [w, hh] = it == strips.end() ? std::pair<int, int>{W, H} : it->second;
    EXPECT_EQ(h.Width, w);
    EXPECT_EQ(h.Height, hh);
    EXPECT_EQ(Get(name).Width(), w);
    EXPECT_EQ(Get(name).Height(), hh);
  }
}

TEST_P(CardSet, FileNamesAreFoundWhateverTheCase) {
  // The code builds names like "Back1.bmp", "/Bottom01.bmp", "CardMask.bmp"; lookups ignore case.
  for (const char* n : {"back1.BMP", "CARDMASK.bmp", "bottom02.bmp", "SHADE.BMP", "01JOKER.bmp", "13S.BMP"})
    EXPECT_TRUE(FileExists(PathJoin(BuiltProgramDir(), "cardsets", F().Name, n))) << n;
  EXPECT_FALSE(FileExists(PathJoin(Dir(), "Bottom03.bmp")));
}

TEST_P(CardSet, CardMaskIsARoundedCardInsideTheOuterThreePixels) {
  const TBitmap& mask = Get("CardMask.bmp");
  const int W = mask.Width(), H = mask.Height();
  int inside = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t p = Rgb(mask, x, y);
      ASSERT_TRUE(p == 0 || p == kRGB) << x << "," << y;
      if (p == 0) ++inside;
      // Outside pixels only in the 3-pixel rim: the maker keeps that rim of card 1 as the frame of
      // new backs and whitens everything within it.
      if (p == kRGB) {
        EXPECT_TRUE(x < 3 || y < 3 || x >= W - 3 || y >= H - 3) << x << "," << y;
      }
      // Same shape turned by 180 degrees and mirrored, so turned corner indices fit it.
      EXPECT_EQ(p, Rgb(mask, W - 1 - x, H - 1 - y));
      EXPECT_EQ(p, Rgb(mask, W - 1 - x, y));
    }
  // Rounded: all four corner pixels outside, above all the bottom-left key pixel.
  for (auto [x, y] : std::array<std::pair<int, int>, 4>{{{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}}})
    EXPECT_EQ(Rgb(mask, x, y), kRGB) << x << "," << y;
  EXPECT_EQ(Rgb(mask, 1, 1), kRGB);  // a radius of several pixels, not a clipped corner
  EXPECT_TRUE(MaskInside(mask, 3, 3));
  EXPECT_TRUE(MaskInside(mask, 0, H / 2));
  EXPECT_TRUE(MaskInside(mask, W / 2, 0));
  EXPECT_GT(inside, W * H * 95 / 100);
}

TEST_P(CardSet, OrPicturesAreBlackExactlyOutsideTheShapeAndNeverInside) {
  const TBitmap& mask = Get("CardMask.bmp");
  for (const std::string& name : OrPictures()) {
    SCOPED_TRACE(name);
    const TBitmap& pic = Get(name);
    ASSERT_EQ(pic.Width(), mask.Width());
    ASSERT_EQ(pic.Height(), mask.Height());
    int wrong = 0;
    for (int y = 0; y < pic.Height(); ++y)
      for (int x = 0; x < pic.Width(); ++x) {
        const bool black = Rgb(pic, x, y) == 0;
        if (black != !MaskInside(mask, x, y) && ++wrong <= 5)
          ADD_FAILURE() << "pixel " << x << "," << y << (black ? " black inside" : " not black outside");
      }
    EXPECT_EQ(wrong, 0);
    // The key of a rotated card is its bottom-left pixel: black, and so never found inside.
    EXPECT_EQ(pic.TransparentColor(), 0);
  }
}

TEST_P(CardSet, FacesHaveADarkOutlineAlongTheShape) {
  const TBitmap& mask = Get("CardMask.bmp");
  const int W = mask.Width(), H = mask.Height();
  auto edge = [&](int x, int y) {
    if (!MaskInside(mask, x, y)) return false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= W || ny >= H || !MaskInside(mask, nx, ny)) return true;
      }
    return false;
  };
  std::vector<std::string> names = FaceNames();
  names.push_back("01joker.bmp");
  names.push_back("02joker.bmp");
  for (const std::string& name : names) {
    const TBitmap& pic = Get(name);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (edge(x, y)) {
          const uint32_t p = Rgb(pic, x, y);
          ASSERT_LT(R(p) + G(p) + B(p), 3 * 160) << name << " " << x << "," << y;
          // The maker ANDs a card of the set with a picture framed in red 20 to make new faces
          // and backs: the edge must keep a bit of that red, or the new card gets a black rim.
          ASSERT_NE(R(p) & 20, 0) << name << " " << x << "," << y;
        }
    // Inside the outline the rim is paper, so that the frame reads on any back the maker makes.
    EXPECT_EQ(Rgb(pic, W / 2, 1), kRGB) << name;
    EXPECT_EQ(Rgb(pic, 1, H / 2), kRGB) << name;
  }
}

TEST_P(CardSet, AndPicturesArePureBlackAndWhiteAndLeaveTheTableAloneOutsideTheCard) {
  const TBitmap& mask = Get("CardMask.bmp");
  std::vector<std::string> names = AndPictures();
  if (F().HasShadow02) names.push_back("Shadow02.bmp");
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const TBitmap& pic = Get(name);
    int black = 0, inside = 0;
    for (int y = 0; y < pic.Height(); ++y)
      for (int x = 0; x < pic.Width(); ++x) {
        const uint32_t p = Rgb(pic, x, y);
        ASSERT_TRUE(p == 0 || p == kRGB) << x << "," << y;
        if (!MaskInside(mask, x, y)) {
          ASSERT_EQ(p, kRGB) << x << "," << y;
        }
        if (MaskInside(mask, x, y)) ++inside;
        if (p == 0) ++black;
      }
    EXPECT_EQ(Rgb(pic, 0, pic.Height() - 1), kRGB);  // key of a rotated marker
    EXPECT_GT(black, 100);                           // something to see
    EXPECT_LT(black, inside * 3 / 4);                // but not a black card
  }
}

TEST_P(CardSet, MarkersAreDistinct) {
  std::vector<std::string> names = AndPictures();
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t j = i + 1; j < names.size(); ++j)
      EXPECT_FALSE(SamePixels(Get(names[i]), Get(names[j]))) << names[i] << " " << names[j];
}

TEST_P(CardSet, ShadesAreAHalfCheckerboardOverTheShape) {
  std::vector<std::string> names = {"Shade.bmp"};
  if (F().HasShadow02) names.push_back("Shadow02.bmp");
  const TBitmap& mask = Get("CardMask.bmp");
  for (const std::string& name : names) {
    const TBitmap& pic = Get(name);
    for (int y = 1; y + 1 < pic.Height(); ++y)
      for (int x = 1; x + 1 < pic.Width(); ++x) {
        if (!MaskInside(mask, x, y) || !MaskInside(mask, x + 1, y)) continue;
        ASSERT_NE(Rgb(pic, x, y), Rgb(pic, x + 1, y)) << name << " " << x << "," << y;
      }
  }
}

TEST_P(CardSet, ShadowStripsFollowTheCardShapeMovedByTheShadowSize) {
  const TBitmap& mask = Get("CardMask.bmp");
  const int W = mask.Width(), H = mask.Height();
  const int s = Get("Shadow01.bmp").Width();
  EXPECT_EQ(s, F().Shadow);
  EXPECT_EQ(Get("Shadow00.bmp").Height(), s);
  // strip 0: bottom, drawn at (s, H); strip 1: right, drawn at (W, s), both relative to the card.
  for (int strip = 0; strip < 2; ++strip) {
    SCOPED_TRACE(strip);
    const std::string base = "Shadow0" + std::to_string(strip);
    const TBitmap& pic = Get(base + ".bmp");
    const TBitmap& m = Get(base + "M.bmp");
    const TBitmap& im = Get(base + "IM.bmp");
    ASSERT_EQ(m.Width(), pic.Width());
    ASSERT_EQ(m.Height(), pic.Height());
    ASSERT_EQ(im.Width(), pic.Width());
    ASSERT_EQ(im.Height(), pic.Height());
    const int ox = strip ? W : s, oy = strip ? s : H;
    int shadow = 0, dark = 0;
    for (int y = 0; y < pic.Height(); ++y)
      for (int x = 0; x < pic.Width(); ++x) {
        const uint32_t mp = Rgb(m, x, y), ip = Rgb(im, x, y), pp = Rgb(pic, x, y);
        ASSERT_TRUE(mp == 0 || mp == kRGB);
        ASSERT_EQ(ip, ~mp & kRGB) << x << "," << y;  // exact bitwise complement
        ASSERT_TRUE(pp == 0 || pp == kRGB);
        const bool falls = MaskInside(mask, ox + x - s, oy + y - s);
        ASSERT_EQ(mp == 0, falls) << x << "," << y;
        if (pp == 0) {
          ASSERT_TRUE(falls) << x << "," << y;  // the picture darkens only the shadow
        }
        shadow += falls;
        dark += pp == 0;
      }
    EXPECT_NEAR(dark, shadow / 2, shadow / 10 + 2);
    EXPECT_EQ(Rgb(pic, 0, pic.Height() - 1), kRGB);
  }
}

TEST_P(CardSet, BacksAndFacesAreAllDifferent) {
  const std::vector<std::string> names = OrPictures();
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t j = i + 1; j < names.size(); ++j)
      EXPECT_FALSE(SamePixels(Get(names[i]), Get(names[j]))) << names[i] << " " << names[j];
}

TEST_P(CardSet, BacksDifferClearlyInColour) {
  const int n = CountBacks(Dir());
  std::vector<std::array<double, 3>> means;
  for (int b = 1; b <= n; ++b) {
    const TBitmap& pic = Get("Back" + std::to_string(b) + ".bmp");
    std::array<double, 3> sum{};
    int count = 0;
    for (int y = pic.Height() / 4; y < pic.Height() * 3 / 4; ++y)
      for (int x = pic.Width() / 4; x < pic.Width() * 3 / 4; ++x) {
        const uint32_t p = Rgb(pic, x, y);
        sum[0] += R(p), sum[1] += G(p), sum[2] += B(p), ++count;
      }
    means.push_back({sum[0] / count, sum[1] / count, sum[2] / count});
  }
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) {
      const double d = std::abs(means[i][0] - means[j][0]) + std::abs(means[i][1] - means[j][1]) +
                       std::abs(means[i][2] - means[j][2]);
      EXPECT_GT(d, 30) << "Back" << i + 1 << " and Back" << j + 1 << " look alike";
    }
}

// Counts the separate ink blots in a rectangle (8-connected).
int CountBlots(const TBitmap& pic, int x0, int y0, int x1, int y1, bool (*ink)(uint32_t)) {
  const int w = x1 - x0, h = y1 - y0;
  std::vector<uint8_t> seen(size_t(w) * h, 0);
  int blots = 0;
  std::vector<std::pair<int, int>> stack;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (seen[size_t(y) * w + x] || !ink(Rgb(pic, x0 + x, y0 + y))) continue;
      ++blots;
      stack.push_back({x, y});
      seen[size_t(y) * w + x] = 1;
      while (!stack.empty()) {
        auto [cx, cy] = stack.back();
        stack.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = cx + dx, ny = cy + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[size_t(ny) * w + nx]) continue;
            if (!ink(Rgb(pic, x0 + nx, y0 + ny))) continue;
            seen[size_t(ny) * w + nx] = 1;
            stack.push_back({nx, ny});
          }
      }
    }
  return blots;
}

// Ink in the suit's colour, strong enough to be the body of a pip.
bool RedPip(uint32_t p) {
  return R(p) > 150 && G(p) < 90 && B(p) < 90;
}
bool BlackPip(uint32_t p) {
  return R(p) < 110 && G(p) < 110 && B(p) < 110;
}

TEST_P(CardSet, SpotCardsShowAsManyPipsAsTheirRank) {
  const int W = F().W, H = F().H;
  // The pip field lies between the corner indices.
  const int x0 = W * 19 / 100, x1 = W - x0;
  for (int v = 2; v <= 10; ++v)
    for (char s : {'c', 'd', 'h', 's'}) {
      char n[32];
      std::snprintf(n, sizeof n, "%02d%c.bmp", v, s);
      const bool red = s == 'd' || s == 'h';
      EXPECT_EQ(CountBlots(Get(n), x0, 2, x1, H - 2, red ? RedPip : BlackPip), v) << n;
    }
}

TEST_P(CardSet, AcesHaveALargeCentralPip) {
  const int W = F().W, H = F().H;
  for (char s : {'c', 'd', 'h', 's'}) {
    const std::string n = std::string("01") + s + ".bmp";
    const TBitmap& pic = Get(n);
    const bool red = s == 'd' || s == 'h';
    auto ink = red ? RedPip : BlackPip;
    // Ink runs through the centre column over at least a quarter of the card's height.
    int run = 0;
    for (int y = 0; y < H; ++y) run += ink(Rgb(pic, W / 2, y)) || ink(Rgb(pic, W / 2 - 2, y));
    EXPECT_GT(run, H / 4) << n;
  }
}

TEST_P(CardSet, CourtCardsArePortraitsInManyColours) {
  const int W = F().W, H = F().H;
  for (int v = 11; v <= 13; ++v)
    for (char s : {'c', 'd', 'h', 's'}) {
      char n[32];
      std::snprintf(n, sizeof n, "%02d%c.bmp", v, s);
      const TBitmap& pic = Get(n);
      std::set<uint32_t> colours;
      int painted = 0;
      for (int y = H / 8; y < H * 7 / 8; ++y)
        for (int x = W / 4; x < W * 3 / 4; ++x) {
          const uint32_t p = Rgb(pic, x, y);
          colours.insert(p & 0xF0F0F0);
          painted += p != kRGB;
        }
      EXPECT_GT(colours.size(), 12u) << n;
      EXPECT_GT(painted, (W / 2) * (H * 3 / 4) * 3 / 4) << n;
    }
}

TEST_P(CardSet, CornerIndicesShowTheSuitColourAndAreTurnedAtTheBottom) {
  const int W = F().W, H = F().H;
  // Top-left index area: 13 x 29 from (3, 4) in the template, the same corner in "Standard".
  const int x0 = 3, y0 = 4, x1 = F().Name == "C_1" ? 16 : 13, y1 = F().Name == "C_1" ? 33 : 28;
  std::vector<std::string> names = FaceNames();
  for (const std::string& n : names) {
    const TBitmap& pic = Get(n);
    const bool red = n[2] == 'd' || n[2] == 'h';
    int redInk = 0, darkInk = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const uint32_t p = Rgb(pic, x, y);
        redInk += RedInk(p);
        darkInk += DarkInk(p);
        // The bottom-right index is the top-left one turned by 180 degrees.
        ASSERT_EQ(p, Rgb(pic, W - 1 - x, H - 1 - y)) << n << " " << x << "," << y;
      }
    if (red) {
      EXPECT_GT(redInk, 15) << n;
      EXPECT_EQ(darkInk, 0) << n;
    } else {
      EXPECT_GT(darkInk, 15) << n;
      EXPECT_EQ(redInk, 0) << n;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, CardSet,
                         ::testing::Values(TSetFacts{"Standard", 71, 96, 4, 9, false},
                                           TSetFacts{"C_1", 89, 123, 4, 1, true}),
                         [](const auto& info) {
                           return info.param.Name == "C_1" ? std::string("C_1") : info.param.Name;
                         });

// The template's faces carry indices in the four 13 x 29 boxes the maker copies, wholly inside
// them and clear of the 57 x 95 picture frame at (16, 14) that bordered faces use.
TEST(TemplateSet, IndicesSitInTheMakersBoxes) {
  const int W = 89, H = 123;
  struct TBox {
    int L, T, R, B;
  };
  const TBox boxes[4] = {
      {3, 4, 16, 33}, {W - 16, 4, W - 3, 33}, {3, H - 33, 16, H - 4}, {W - 16, H - 33, W - 3, H - 4}};
  std::vector<std::string> names = FaceNames();
  names.push_back("01joker.bmp");
  names.push_back("02joker.bmp");
  for (const std::string& n : names) {
    const TBitmap& pic = Pic("C_1", n);
    ASSERT_EQ(pic.Width(), W);
    ASSERT_EQ(pic.Height(), H);
    for (int b = 0; b < 4; ++b) {
      const TBox& box = boxes[b];
      int ink = 0;
      for (int y = box.T; y < box.B; ++y)
        for (int x = box.L; x < box.R; ++x) {
          const uint32_t p = Rgb(pic, x, y);
          ASSERT_NE(p, 0u) << n;
          const bool rim = x == box.L || x == box.R - 1 || y == box.T || y == box.B - 1;
          if (rim) {
            ASSERT_EQ(p, kRGB) << n << " box " << b << " rim " << x << "," << y;
          }
          ink += R(p) + G(p) + B(p) < 3 * 200;
          // Top boxes read the same; bottom boxes are the top ones turned.
          if (b == 1) {
            ASSERT_EQ(p, Rgb(pic, x - (W - 19), y)) << n;
          } else if (b >= 2) {
            ASSERT_EQ(p, Rgb(pic, W - 1 - x, H - 1 - y)) << n;
          }
        }
      EXPECT_GT(ink, 20) << n << " box " << b;
    }
  }
}

TEST(StandardSet, HasTheCardSizeTheLayoutsAreDesignedFor) {
  const TBitmap& back = Pic("Standard", "Back1.bmp");
  EXPECT_EQ(back.Width(), 71);
  EXPECT_EQ(back.Height(), 96);
  EXPECT_EQ(Pic("Standard", "Shadow01.bmp").Width(), 4);
  EXPECT_EQ(CountBacks(SetDir("Standard")), 9);
}

}  // namespace
