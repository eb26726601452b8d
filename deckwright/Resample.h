#pragma once
// Unit resample: resizes pictures with a choice of reconstruction kernels by a separable two-pass
// filter. Every row of the source is first resampled to the target width into an intermediate
// picture of bytes, then every column of that picture to the target height.
//
// The mapping lines up the first and last pixels of source and target (scale (dn - 1) / (sn - 1)),
// edges are mirrored (-1 reads 1, n reads n - 1), and the weights are used as the kernel gives
// them, not normalised, so a flat area may come out a level or two darker. Weights and sums are
// single precision, each sum rounded to single after every addition, so the result is the same
// byte for byte on every machine and however many threads share the work.
//
//   TBitmap card(57, 95);
//   FilteredStretch(photo, card, Lanczos3Kernel, 3.0f, &progressWindow);

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TBitmap;

// A kernel: the weight at distance x (in target-scaled source pixels) from the sample centre.
using TFilterKernel = float (*)(float x);

// 1 for x = 0, else sin(pi x) / (pi x), with pi x rounded to single precision first.
float NormalizedSinc(float x);

float BoxKernel(float x);       // 1 when -0.5 < x <= 0.5
float TriangleKernel(float x);  // 1 - |x| inside 1
float HermiteKernel(float x);   // (2a - 3) a^2 + 1 inside 1
float BellKernel(float x);      // the quadratic bell, support 1.5
float BSplineKernel(float x);   // the cubic B-spline, support 2
float Lanczos3Kernel(float x);  // sinc windowed by sinc, support 3
float MitchellKernel(float x);  // the Mitchell-Netravali cubic with both parameters 1/3

struct TFilterEntry {
  const char* Name;
  TFilterKernel Kernel;
  float Support;
};

// The seven filters by name, in menu order; the card-set maker uses entry 5, "Lanczos3".
extern const std::array<TFilterEntry, 7> FilterTable;
inline constexpr int kMakerFilter = 5;

// One source pixel's share of a target pixel.
struct TContribution {
  int32_t Pixel;
  float Weight;
};
// The shares of every target pixel along one direction.
using TContributorList = std::vector<std::vector<TContribution>>;

// Source index j folded back into 0..n-1 by mirroring at both edges (-j on the left, 2n - j - 1 on
// the right), as often as it takes; a reach beyond the whole picture never reads outside it.
int MirrorIndex(int j, int n);

// The scale from n source pixels to m target pixels: (m - 1) / (n - 1), so the first and last
// pixels line up; m / n when either side has a single pixel (a one-pixel target samples the
// first source pixel instead of dividing by zero).
float ResampleScale(int sourceSize, int targetSize);

// The contributions for targetSize pixels made from sourceSize pixels. Weights of exactly 0 are
// left out. Enlarging (scale >= 1) the kernel is sampled at the distance itself; reducing, it is
// widened by 1 / scale and its weights divided by the same.
TContributorList BuildContributors(int sourceSize, int targetSize, TFilterKernel kernel, float support);

// Where the resampler shows how far it got (the maker's progress window).
class TResampleProgress {
 public:
  virtual ~TResampleProgress() = default;
  // Shown with progress 0 of Max.
  virtual void Begin(int max) = 0;
  virtual void Advance(int by) = 0;
  // Hidden again; called after a failure too.
  virtual void End() = 0;
};

// Replaces Target's pixels (Target keeps its size, set by the caller) by the filtered copy of
// Source. Raises Exception "Source bitmap too small" when Source has no pixels (nothing is shown);
// an empty Target is left alone. Both pictures become 24-bit. Progress: Max = dw + sh + dh, and
// +30 at every 30th item of the horizontal lists, the rows of the first pass and the vertical
// lists, starting with the first.
void FilteredStretch(TBitmap& Source, TBitmap& Target, TFilterKernel Kernel, float Support,
                     TResampleProgress* Progress = nullptr);

// Threads the first pass may use (0: as many as the machine has, at most 8). The result does
// not depend on it.
void SetResampleThreads(int count);
// Worker threads started so far: they are started once, when a resize first needs them, and kept.
int ResampleThreadsStarted();
