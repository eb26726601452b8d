// The resampler: the kernels against values worked out by hand, the contributor lists (mapping,
// mirrored edges, one-pixel sides), whole pictures against an independent double-precision
// version, the known darkening of the unnormalised weights, and the progress counts.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "deckwright/Resample.h"
#include "platform/core/Exceptions.h"
#include "platform/graphics/Bitmap.h"

namespace {

// A test picture: smooth ramps with a hard-edged block, deterministic.
TBitmap TestPicture(int w, int h, uint32_t seed = 1) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = int((seed >> 16) & 15);
      const bool block = x > w / 3 && x < w / 2 && y > h / 4 && y < h / 2;
      const int r = block ? 255 : (x * 255) / std::max(1, w - 1);
      const int g = block ? 0 : (y * 255) / std::max(1, h - 1);
      const int bl = std::clamp(128 + noise - 8, 0, 255);
      b.SetPixel(x, y, TColor(r | (g << 8) | (bl << 16)));
    }
  return b;
}

// The same two passes in double precision, written from the description, with the maker's
// mapping, mirror and clamping.
TBitmap ReferenceStretch(const TBitmap& src, int dw, int dh, TFilterKernel k, double support) {
  auto lists = [&](int n, int m) {
    std::vector<std::vector<std::pair<int, double>>> out{size_t(m)};
    const double s = (n == 1 || m == 1) ? double(m) / n : double(m - 1) / (n - 1);
    for (int i = 0; i < m; ++i) {
      const double c = i / s;
      const double width = s >= 1 ? support : support / s;
      for (int j = int(std::floor(c - width)); j <= int(std::ceil(c + width)); ++j) {
        const double w = s >= 1 ? k(float(c - j)) : k(float((c - j) * s)) * s;
        if (w == 0) continue;
        out[size_t(i)].push_back({MirrorIndex(j, n), w});
      }
    }
    return out;
  };
  auto store = [](double v) { return v > 255 ? 255 : v < 0 ? 0 : int(std::nearbyint(v)); };
  const int sw = src.Width(), sh = src.Height();
  const auto across = lists(sw, dw), down = lists(sh, dh);
  std::vector<std::array<int, 3>> mid(size_t(dw) * size_t(sh));
  for (int y = 0; y < sh; ++y)
    for (int i = 0; i < dw; ++i) {
      double s[3] = {0, 0, 0};
      for (auto [j, w] : across[size_t(i)])
        for (int c = 0; c < 3; ++c) s[c] += w * src.ScanLineBytes(y)[j * 4 + c];
      for (int c = 0; c < 3; ++c) mid[size_t(y) * size_t(dw) + size_t(i)][size_t(c)] = store(s[c]);
    }
  TBitmap out(dw, dh);
  for (int j = 0; j < dh; ++j)
    for (int x = 0; x < dw; ++x) {
      double s[3] = {0, 0, 0};
      for (auto [r, w] : down[size_t(j)])
        for (int c = 0; c < 3; ++c) s[c] += w * mid[size_t(r) * size_t(dw) + size_t(x)][size_t(c)];
      uint8_t* p = out.ScanLineBytes(j) + x * 4;
      for (int c = 0; c < 3; ++c) p[c] = uint8_t(store(s[c]));
    }
  return out;
}

int MaxDifference(const TBitmap& a, const TBitmap& b) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width() * 4; ++x)
      if (x % 4 != 3) worst = std::max(worst, std::abs(a.ScanLineBytes(y)[x] - b.ScanLineBytes(y)[x]));
  return worst;
}

struct Size2 {
  int W, H;
};

struct TRecordingProgress : TResampleProgress {
  int Max = -1, Total = 0, Advances = 0, Begins = 0, Ends = 0;
  void Begin(int max) override {
    Max = max;
    ++Begins;
  }
  void Advance(int by) override {
    Total += by;
    Advances += by / 30;
  }
  void End() override { ++Ends; }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Kernels

TEST(ResampleKernels, ValuesWorkedOutByHand) {
  const double pi = std::numbers::pi;
  struct Case {
    const char* Name;
    TFilterKernel K;
    float X;
    double Want;
  };
  const Case cases[] = {
      {"Box", BoxKernel, 0.0f, 1.0},
      {"Box", BoxKernel, 0.5f, 1.0},  // the right edge belongs to the box
      {"Box", BoxKernel, -0.5f, 0.0},
      {"Box", BoxKernel, 0.6f, 0.0},
      {"Triangle", TriangleKernel, 0.25f, 0.75},
      {"Triangle", TriangleKernel, -0.5f, 0.5},
      {"Triangle", TriangleKernel, 1.0f, 0.0},
      {"Hermite", HermiteKernel, 0.5f, 0.5},
      {"Hermite", HermiteKernel, 0.25f, 0.84375},
      {"Hermite", HermiteKernel, 1.0f, 0.0},
      {"Bell", BellKernel, 0.0f, 0.75},
      {"Bell", BellKernel, 0.5f, 0.5},
      {"Bell", BellKernel, 1.0f, 0.125},
      {"Bell", BellKernel, 1.5f, 0.0},
      {"B-Spline", BSplineKernel, 0.0f, 2.0 / 3.0},
      {"B-Spline", BSplineKernel, 1.0f, 1.0 / 6.0},
      {"B-Spline", BSplineKernel, -1.5f, 0.125 / 6.0},
      {"B-Spline", BSplineKernel, 2.0f, 0.0},
      {"Lanczos3", Lanczos3Kernel, 0.0f, 1.0},
      // sinc(1/2) sinc(1/6) = (2 / pi) (1/2) / (pi / 6)
      {"Lanczos3", Lanczos3Kernel, 0.5f, (2 / pi) * (0.5 / (pi / 6))},
      // sinc(3/2) sinc(1/2) = (-2 / (3 pi)) (2 / pi)
      {"Lanczos3", Lanczos3Kernel, -1.5f, (-2 / (3 * pi)) * (2 / pi)},
      {"Lanczos3", Lanczos3Kernel, 0.4f, 0.734888},
      {"Lanczos3", Lanczos3Kernel, 3.0f, 0.0},
      {"Mitchell", MitchellKernel, 0.0f, 16.0 / 18.0},
      {"Mitchell", MitchellKernel, 1.0f, 1.0 / 18.0},
      // (-7/3 * 27/8 + 12 * 9/4 - 30 + 32/3) / 6 = (-5/24) / 6
      {"Mitchell", MitchellKernel, -1.5f, -5.0 / 144.0},
      {"Mitchell", MitchellKernel, 2.0f, 0.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.K(c.X), c.Want, 2e-6) << c.Name << "(" << c.X << ")";
  EXPECT_EQ(NormalizedSinc(0.0f), 1.0f);
  EXPECT_NEAR(NormalizedSinc(0.5f), 2 / pi, 1e-7);
  // Lanczos3 at whole numbers is as small as single precision makes sin(pi x), not zero.
  EXPECT_LT(std::fabs(Lanczos3Kernel(1.0f)), 1e-6);
}

TEST(ResampleKernels, TableAndSupports) {
  const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell"};
  const float supports[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
  for (size_t i = 0; i < FilterTable.size(); ++i) {
    EXPECT_STREQ(FilterTable[i].Name, names[i]);
    EXPECT_EQ(FilterTable[i].Support, supports[i]);
    // Nothing at or beyond the support, on either side (Box keeps its right edge).
    for (float x : {supports[i] + 0.001f, supports[i] + 1.0f, -supports[i], -supports[i] - 2.0f})
      EXPECT_EQ(FilterTable[i].Kernel(x), 0.0f) << names[i] << " " << x;
  }
  EXPECT_STREQ(FilterTable[kMakerFilter].Name, "Lanczos3");
}

// ---------------------------------------------------------------------------------------------
// Contributor lists

TEST(ResampleContributors, MirrorFoldsIntoThePicture) {
  struct Case {
    int J, N, Want;
  };
  const Case cases[] = {{-1, 5, 1}, {5, 5, 4}, {0, 5, 0}, {4, 5, 4},  {-7, 5, 2}, {12, 5, 3},
                        {-2, 2, 1}, {3, 2, 0}, {0, 1, 0}, {-3, 1, 0}, {9, 1, 0}};
  for (const Case& c : cases) EXPECT_EQ(MirrorIndex(c.J, c.N), c.Want) << c.J << " of " << c.N;
}

TEST(ResampleContributors, ScalesLineUpTheEnds) {
  EXPECT_FLOAT_EQ(ResampleScale(13, 20), 19.0f / 12.0f);
  EXPECT_FLOAT_EQ(ResampleScale(29, 34), 33.0f / 28.0f);
  EXPECT_FLOAT_EQ(ResampleScale(800, 57), 56.0f / 799.0f);
  EXPECT_FLOAT_EQ(ResampleScale(1, 20), 20.0f);
  // A one-pixel target: no division by zero.
  EXPECT_FLOAT_EQ(ResampleScale(100, 1), 0.01f);
}

TEST(ResampleContributors, ListsStayInsideForEverySize) {
  struct Case {
    int From, To;
  };
  // Enlarged indices, card reductions, and the reaches beyond a tiny picture.
  const Case cases[] = {{13, 20}, {29, 34},  {800, 57}, {600, 95}, {1, 20}, {2, 20},
                        {100, 2}, {4000, 3}, {4000, 1}, {1, 1},    {3, 3},  {57, 57}};
  for (const TFilterEntry& f : FilterTable)
    for (const Case& c : cases) {
      const TContributorList lists = BuildContributors(c.From, c.To, f.Kernel, f.Support);
      ASSERT_EQ(int(lists.size()), c.To);
      const float scale = ResampleScale(c.From, c.To);
      const float width = scale >= 1 ? f.Support : f.Support / scale;
      for (const auto& list : lists) {
        EXPECT_LE(list.size(), size_t(2 * width + 3)) << f.Name << " " << c.From << "->" << c.To;
        for (const TContribution& t : list) {
          EXPECT_GE(t.Pixel, 0);
          EXPECT_LT(t.Pixel, c.From);
          EXPECT_NE(t.Weight, 0.0f);
        }
      }
    }
}

TEST(ResampleContributors, EnlargedIndexUsesTheKernelAtTheDistance) {
  const TContributorList lists = BuildContributors(13, 20, Lanczos3Kernel, 3.0f);
  // Target 0 sits on source 0: its taps are -3..3, the left ones mirrored (-1 -> 1, -2 -> 2).
  ASSERT_FALSE(lists[0].empty());
  // The kernel is 0 at its support, so j = -3 gives no tap: the list starts at j = -2, read as 2.
  EXPECT_EQ(lists[0].front().Pixel, 2);
  bool centre = false;
  for (const TContribution& c : lists[0])
    if (c.Pixel == 0) {
      EXPECT_FLOAT_EQ(c.Weight, 1.0f);
      centre = true;
    }
  EXPECT_TRUE(centre);
  // The last target sits on the last source pixel; to the right, 13 reads 12 again.
  float onLast = 0;
  int rightEdgeTaps = 0;
  for (const TContribution& c : lists[19]) {
    if (c.Pixel == 12) {
      ++rightEdgeTaps;
      onLast += c.Weight;
    }
  }
  EXPECT_EQ(rightEdgeTaps, 2);  // j = 12 itself and j = 13 mirrored onto it
  EXPECT_NEAR(onLast, 1.0f + Lanczos3Kernel(1.0f), 1e-6);
}

TEST(ResampleContributors, ReductionWidensAndDividesTheKernel) {
  const TContributorList lists = BuildContributors(800, 57, Lanczos3Kernel, 3.0f);
  const float scale = 56.0f / 799.0f, f = 1.0f / scale;
  const TContributorList::value_type& mid = lists[28];
  const float center = 28.0f / scale;
  for (const TContribution& c : mid) {
    if (c.Pixel == int(std::floor(center))) {
      EXPECT_FLOAT_EQ(c.Weight, Lanczos3Kernel((center - c.Pixel) / f) / f);
    }
  }
  // About 2 * 3 / scale taps.
  EXPECT_GT(mid.size(), size_t(80));
  EXPECT_LT(mid.size(), size_t(88));
}

// ---------------------------------------------------------------------------------------------
// Whole pictures

TEST(ResampleStretch, EveryFilterAgreesWithTheDoublePrecisionPasses) {
  TBitmap picture = TestPicture(400, 300);
  struct Size {
    int W, H;
  };
  // A face, an enlargement, a one-row and a one-column target.
  const Size sizes[] = {{57, 95}, {89, 123}, {20, 34}, {450, 1}, {1, 40}};
  for (const TFilterEntry& f : FilterTable)
    for (Size s : sizes) {
      TBitmap face(s.W, s.H);
      FilteredStretch(picture, face, f.Kernel, f.Support);
      const TBitmap want = ReferenceStretch(picture, s.W, s.H, f.Kernel, f.Support);
      EXPECT_LE(MaxDifference(face, want), 1) << f.Name << " " << s.W << "x" << s.H;
      EXPECT_EQ(face.PixelFormat, TPixelFormat::pf24bit);
    }
}

TEST(ResampleStretch, FaceKeepsThePictureWhereItWas) {
  // The picture's corners land on the face's corners (the ends line up).
  TBitmap picture = TestPicture(400, 300);
  for (const TFilterEntry& f : FilterTable) {
    TBitmap face(57, 95);
    FilteredStretch(picture, face, f.Kernel, f.Support);
    EXPECT_LT(GetRValue(face.Pixel(0, 50)), 40) << f.Name;    // left: little red
    EXPECT_GT(GetRValue(face.Pixel(56, 50)), 210) << f.Name;  // right: much red
    EXPECT_LT(GetGValue(face.Pixel(5, 0)), 40) << f.Name;     // top: little green
    EXPECT_GT(GetGValue(face.Pixel(5, 94)), 210) << f.Name;   // bottom: much green
  }
}

TEST(ResampleStretch, SameSizeIsAnIdentityAndThreadsDoNotMatter) {
  TBitmap picture = TestPicture(120, 90);
  TBitmap same(120, 90);
  FilteredStretch(picture, same, Lanczos3Kernel, 3.0f);
  EXPECT_TRUE(SamePixels(same, picture));

  TBitmap big = TestPicture(1200, 900, 7);
  TBitmap one(89, 123), many(89, 123);
  SetResampleThreads(1);
  FilteredStretch(big, one, Lanczos3Kernel, 3.0f);
  SetResampleThreads(8);
  FilteredStretch(big, many, Lanczos3Kernel, 3.0f);
  SetResampleThreads(0);
  EXPECT_TRUE(one == many);
}

// The workers and their buffers serve one picture after another: wider and narrower sources, other
// targets and other thread counts give, byte for byte, what one thread alone gives, and no thread
// starts once the workers are there.
TEST(ResampleStretch, ReusedWorkersGiveTheOneThreadResult) {
  struct TCase {
    int Sw, Sh, Dw, Dh, Threads;
  };
  const TCase cases[] = {{1200, 900, 89, 123, 8}, {2000, 700, 57, 95, 8},  {640, 1500, 71, 96, 8},
                         {2000, 700, 57, 95, 3},  {1200, 900, 89, 123, 8}, {900, 1200, 160, 200, 5}};
  int started = -1;
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Sw << "x" << c.Sh << " to " << c.Dw << "x" << c.Dh << " on "
                                    << c.Threads);
    TBitmap source = TestPicture(c.Sw, c.Sh, uint32_t(c.Sw + c.Dw));
    TBitmap one(c.Dw, c.Dh), shared(c.Dw, c.Dh);
    SetResampleThreads(1);
    FilteredStretch(source, one, Lanczos3Kernel, 3.0f);
    SetResampleThreads(c.Threads);
    FilteredStretch(source, shared, Lanczos3Kernel, 3.0f);
    EXPECT_TRUE(one == shared);
    if (started < 0) started = ResampleThreadsStarted();
  }
  SetResampleThreads(0);
  EXPECT_GT(started, 0);
  EXPECT_EQ(ResampleThreadsStarted(), started) << "the first picture's workers served every other";
}

TEST(ResampleStretch, UnnormalisedWeightsDarkenFlatAreasSlightly) {
  TBitmap flat(800, 600);
  flat.Clear(TColor(0xC8C8C8));  // 200 grey
  TBitmap face(57, 95);
  FilteredStretch(flat, face, Lanczos3Kernel, 3.0f);
  for (int y = 0; y < 95; y += 7)
    for (int x = 0; x < 57; x += 5) EXPECT_EQ(face.Pixel(x, y), TColor(0xC6C6C6)) << x << "," << y;
  // Hard edges overshoot: clamped, never wrapped (the height stays, so the rows keep the clamp).
  TBitmap edge(40, 100);
  edge.Clear(clBlack);
  for (int y = 0; y < 100; ++y)
    for (int x = 20; x < 40; ++x) edge.SetPixel(x, y, TColor(0xFAFAFA));
  TBitmap up(100, 100);
  FilteredStretch(edge, up, Lanczos3Kernel, 3.0f);
  bool sawBlack = false, sawWhite = false;
  for (int x = 0; x < 100; ++x) {
    const int r = GetRValue(up.Pixel(x, 50));
    sawBlack |= r == 0;
    sawWhite |= r == 255;
  }
  EXPECT_TRUE(sawBlack);
  EXPECT_TRUE(sawWhite);
}

TEST(ResampleStretch, TinyAndEmptySources) {
  // Sources of one and two pixels enlarged to a card: every tap folds into the picture.
  for (Size2 s : {Size2{1, 1}, Size2{2, 1}, Size2{1, 2}, Size2{2, 2}}) {
    TBitmap tiny(s.W, s.H);
    tiny.Clear(TColor(0x808080));
    TBitmap card(71, 96);
    FilteredStretch(tiny, card, Lanczos3Kernel, 3.0f);
    const TColor c = card.Pixel(35, 48);
    EXPECT_NEAR(GetRValue(c), 128, 3) << s.W << "x" << s.H;
  }
  TBitmap empty;
  TBitmap card(10, 10);
  TRecordingProgress progress;
  try {
    FilteredStretch(empty, card, Lanczos3Kernel, 3.0f, &progress);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Source bitmap too small");
  }
  EXPECT_EQ(progress.Begins, 0);
}

TEST(ResampleStretch, ProgressCountsEveryThirtiethItem) {
  struct Case {
    int SW, SH, DW, DH;
  };
  const Case cases[] = {{800, 600, 57, 95}, {13, 29, 20, 34}, {31, 61, 30, 1}};
  for (const Case& c : cases) {
    TBitmap src = TestPicture(c.SW, c.SH);
    TBitmap dst(c.DW, c.DH);
    TRecordingProgress progress;
    FilteredStretch(src, dst, Lanczos3Kernel, 3.0f, &progress);
    auto counted = [](int n) { return (n + 29) / 30; };
    EXPECT_EQ(progress.Max, c.DW + c.SH + c.DH);
    EXPECT_EQ(progress.Advances, counted(c.DW) + counted(c.SH) + counted(c.DH));
    EXPECT_EQ(progress.Begins, 1);
    EXPECT_EQ(progress.Ends, 1);
  }
}
