#include "deckwright/Resample.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/core/Exceptions.h"
#include "platform/graphics/Bitmap.h"

// ---------------------------------------------------------------------------------------------
// Kernels

float NormalizedSinc(float x) {
  if (x == 0.0f) return 1.0f;
  const float px = float(3.14159265358979323846 * double(x));
  return float(std::sin(double(px)) / double(px));
}

float BoxKernel(float x) {
  return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float TriangleKernel(float x) {
  const double a = std::fabs(double(x));
  return a < 1.0 ? float(1.0 - a) : 0.0f;
}

float HermiteKernel(float x) {
  const double a = std::fabs(double(x));
  return a < 1.0 ? float((2.0 * a - 3.0) * a * a + 1.0) : 0.0f;
}

float BellKernel(float x) {
  const double a = std::fabs(double(x));
  if (a < 0.5) return float(0.75 - a * a);
  if (a < 1.5) return float(0.5 * (a - 1.5) * (a - 1.5));
  return 0.0f;
}

float BSplineKernel(float x) {
  const double a = std::fabs(double(x));
  if (a < 1.0) return float(a * a * a / 2.0 - a * a + 2.0 / 3.0);
  if (a < 2.0) {
    const double b = 2.0 - a;
    return float(b * b * b / 6.0);
  }
  return 0.0f;
}

float Lanczos3Kernel(float x) {
  const float a = std::fabs(x);
  if (a < 3.0f) return NormalizedSinc(a) * NormalizedSinc(a / 3.0f);
  return 0.0f;
}

float MitchellKernel(float x) {
  const double a = std::fabs(double(x));
  if (a < 1.0) return float((7.0 * a * a * a - 12.0 * a * a + 16.0 / 3.0) / 6.0);
  if (a < 2.0) return float((-7.0 / 3.0 * a * a * a + 12.0 * a * a - 20.0 * a + 32.0 / 3.0) / 6.0);
  return 0.0f;
}

const std::array<TFilterEntry, 7> FilterTable = {{
    {"Box", BoxKernel, 0.5f},
    {"Triangle", TriangleKernel, 1.0f},
    {"Hermite", HermiteKernel, 1.0f},
    {"Bell", BellKernel, 1.5f},
    {"B-Spline", BSplineKernel, 2.0f},
    {"Lanczos3", Lanczos3Kernel, 3.0f},
    {"Mitchell", MitchellKernel, 2.0f},
}};

// ---------------------------------------------------------------------------------------------
// Contributor lists

int MirrorIndex(int j, int n) {
  if (n <= 1) return 0;
  // Each fold brings j closer; a reach of many picture widths folds a few times.
  for (int guard = 0; guard < 64 && (j < 0 || j >= n); ++guard) j = j < 0 ? -j : 2 * n - j - 1;
  return std::clamp(j, 0, n - 1);
}

float ResampleScale(int sourceSize, int targetSize) {
  if (sourceSize == 1 || targetSize == 1) return float(targetSize) / float(sourceSize);
  return float(targetSize - 1) / float(sourceSize - 1);
}

TContributorList BuildContributors(int sourceSize, int targetSize, TFilterKernel kernel, float support) {
  TContributorList lists(size_t(std::max(targetSize, 0)));
  if (sourceSize <= 0 || targetSize <= 0) return lists;
  const float scale = ResampleScale(sourceSize, targetSize);
  const bool enlarging = scale >= 1.0f;
  const float width = enlarging ? support : support / scale;
  const float f = 1.0f / scale;
  for (int i = 0; i < targetSize; ++i) {
    const float center = float(i) / scale;
    const int left = int(std::floor(center - width));
    const int right = int(std::ceil(center + width));
    std::vector<TContribution>& list = lists[size_t(i)];
    list.reserve(size_t(std::max(right - left + 1, 0)));
    for (int j = left; j <= right; ++j) {
      float weight;
      if (enlarging) {
        weight = kernel(center - float(j));
      } else {
        const float d = (center - float(j)) / f;
        weight = kernel(d) / f;
      }
      if (weight == 0.0f) continue;
      list.push_back({MirrorIndex(j, sourceSize), weight});
    }
  }
  return lists;
}

// ---------------------------------------------------------------------------------------------
// The two passes

namespace {

int resampleThreads = 0;

int ThreadCount(int rows) {
  int n = resampleThreads;
  if (n <= 0) n = int(std::min(8u, std::max(1u, std::thread::hardware_concurrency())));
  // Small pictures are not worth a thread.
  return std::clamp(std::min(n, rows / 64), 1, 64);
}

uint8_t StoreByte(float v) {
  if (v > 255.0f) return 255;
  if (v >= 0.0f) return uint8_t(std::nearbyint(v));
  return 0;
}

// Weighted sums of three bytes per pixel; src points at pixel 0 of the line, stride is the
// distance in bytes between neighbouring pixels along the line.
inline void SumPixel(const std::vector<TContribution>& list, const uint8_t* src, size_t stride,
                     uint8_t* out) {
  float b = 0.0f, g = 0.0f, r = 0.0f;
  for (const TContribution& c : list) {
    const uint8_t* p = src + size_t(c.Pixel) * stride;
    // The product of a single weight and a byte is exact in double; the sum is rounded to single
    // after every addition.
    const double w = c.Weight;
    b = float(double(b) + w * p[0]);
    g = float(double(g) + w * p[1]);
    r = float(double(r) + w * p[2]);
  }
  out[0] = StoreByte(b);
  out[1] = StoreByte(g);
  out[2] = StoreByte(r);
  out[3] = 0xFF;
}

// The first pass over up to kBlock rows at once: the rows share their contributor lists, and their
// sums are independent, so the processor works on several of them while each one waits for its
// last addition. Every sum keeps its own order, so the result is that of SumPixel row by row.
constexpr int kBlock = 8;

// The block of rows laid out channel by channel with the rows side by side (x, channel, row), as
// doubles, so the sums of the block's rows are computed together in vector registers. Each thread
// keeps its plane from one picture to the next; it only grows, and every value a block reads is
// written first, so a new one is never cleared.
struct TPlane {
  std::unique_ptr<double[]> Values;
  size_t Size = 0;
  double* Reserve(size_t n) {
    if (n > Size) {
      Values.reset();
      Values.reset(new double[n]);
      Size = n;
    }
    return Values.get();
  }
};

__attribute__((target_clones("avx2", "default"))) void SumBlock(const TContributorList& lists,
                                                                const double* plane, uint8_t* const* dst) {
  for (size_t i = 0; i < lists.size(); ++i) {
    double acc[3][kBlock] = {};
    for (const TContribution& c : lists[i]) {
      const double w = c.Weight;
      const double* p = plane + size_t(c.Pixel) * 3 * kBlock;
      for (int ch = 0; ch < 3; ++ch)
        for (int r = 0; r < kBlock; ++r) acc[ch][r] = double(float(acc[ch][r] + w * p[ch * kBlock + r]));
    }
    for (int r = 0; r < kBlock; ++r) {
      uint8_t* q = dst[r] + i * 4;
      q[0] = StoreByte(float(acc[0][r]));
      q[1] = StoreByte(float(acc[1][r]));
      q[2] = StoreByte(float(acc[2][r]));
      q[3] = 0xFF;
    }
  }
}

void SumRows(const TContributorList& lists, const TBitmap& source, TBitmap& out, int y, int rows) {
  if (rows < kBlock) {
    for (int r = 0; r < rows; ++r) {
      const uint8_t* src = source.ScanLineBytes(y + r);
      uint8_t* dst = out.ScanLineBytes(y + r);
      for (size_t i = 0; i < lists.size(); ++i) SumPixel(lists[i], src, 4, dst + i * 4);
    }
    return;
  }
  thread_local TPlane plane;
  const int sw = source.Width();
  double* values = plane.Reserve(size_t(sw) * 3 * kBlock);
  uint8_t* dst[kBlock];
  for (int r = 0; r < kBlock; ++r) {
    const uint8_t* src = source.ScanLineBytes(y + r);
    double* p = values + r;
    for (int x = 0; x < sw; ++x, p += 3 * kBlock) {
      p[0] = src[x * 4 + 0];
      p[kBlock] = src[x * 4 + 1];
      p[2 * kBlock] = src[x * 4 + 2];
    }
    dst[r] = out.ScanLineBytes(y + r);
  }
  SumBlock(lists, values, dst);
}

std::atomic<int> threadsStarted{0};

// The worker threads of every resize, started when first needed and kept for the process: a
// resize hands each of them a part and does one itself, so no thread starts or ends per picture.
class TWorkers {
 public:
  static TWorkers& Shared() {
    static TWorkers workers;
    return workers;
  }
  ~TWorkers() {
    {
      const std::lock_guard<std::mutex> lock(FMutex);
      FStop = true;
    }
    FWake.notify_all();
    for (std::thread& t : FThreads) t.join();
  }
  // Runs part(0) .. part(n - 1), part 0 on the calling thread, and returns when all are done.
  void Run(int n, const std::function<void(int)>& part) {
    if (n <= 1) {
      if (n == 1) part(0);
      return;
    }
    const std::lock_guard<std::mutex> one(FRunning);
    {
      const std::lock_guard<std::mutex> lock(FMutex);
      while (int(FThreads.size()) < n - 1) {
        const int index = int(FThreads.size()) + 1;
        FThreads.emplace_back([this, index] { Serve(index); });
        ++threadsStarted;
      }
      FPart = &part;
      FParts = n;
      FPending = n - 1;
      ++FRound;
    }
    FWake.notify_all();
    part(0);
    std::unique_lock<std::mutex> lock(FMutex);
    FDone.wait(lock, [this] { return FPending == 0; });
    FPart = nullptr;
  }

 private:
  TWorkers() = default;
  void Serve(int index) {
    uint64_t served = 0;
    std::unique_lock<std::mutex> lock(FMutex);
    for (;;) {
      FWake.wait(lock, [&] { return FStop || FRound != served; });
      if (FStop) return;
      served = FRound;
      if (index >= FParts) continue;
      const std::function<void(int)>* part = FPart;
      lock.unlock();
      (*part)(index);
      lock.lock();
      if (--FPending == 0) FDone.notify_one();
    }
  }

  std::mutex FRunning;  // one resize at a time uses the workers
  std::mutex FMutex;
  std::condition_variable FWake, FDone;
  std::vector<std::thread> FThreads;
  const std::function<void(int)>* FPart = nullptr;
  int FParts = 0;
  int FPending = 0;
  uint64_t FRound = 0;
  bool FStop = false;
};

// Runs rows [begin, end) through f on several threads, each taking a contiguous band.
template <typename F>
void ParallelRows(int begin, int end, int threads, F f) {
  const int rows = end - begin;
  if (threads <= 1 || rows < 2) {
    for (int y = begin; y < end; ++y) f(y);
    return;
  }
  const int parts = std::min(threads, rows);
  TWorkers::Shared().Run(parts, [&](int t) {
    const int a = begin + int(int64_t(rows) * t / parts);
    const int b = begin + int(int64_t(rows) * (t + 1) / parts);
    for (int y = a; y < b; ++y) f(y);
  });
}

// Reports +30 for every counted item i (i mod 30 = 0) in [from, to).
void AdvanceFor(TResampleProgress* progress, int from, int to) {
  if (!progress) return;
  int n = 0;
  for (int i = from; i < to; ++i)
    if (i % 30 == 0) ++n;
  if (n > 0) progress->Advance(30 * n);
}

class TProgressScope {
 public:
  TProgressScope(TResampleProgress* p, int max) : FProgress(p) {
    if (FProgress) FProgress->Begin(max);
  }
  ~TProgressScope() {
    if (FProgress) FProgress->End();
  }
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;

 private:
  TResampleProgress* FProgress;
};

}  // namespace

void SetResampleThreads(int count) {
  resampleThreads = std::max(count, 0);
}

int ResampleThreadsStarted() {
  return threadsStarted;
}

void FilteredStretch(TBitmap& Source, TBitmap& Target, TFilterKernel Kernel, float Support,
                     TResampleProgress* Progress) {
  const int dw = Target.Width(), dh = Target.Height();
  const int sw = Source.Width(), sh = Source.Height();
  if (sw <= 0 || sh <= 0) throw Exception("Source bitmap too small");
  Source.PixelFormat = TPixelFormat::pf24bit;
  Target.PixelFormat = TPixelFormat::pf24bit;
  if (dw <= 0 || dh <= 0) return;

  TProgressScope scope(Progress, dw + sh + dh);

  // Horizontal lists.
  TContributorList across = BuildContributors(sw, dw, Kernel, Support);
  AdvanceFor(Progress, 0, dw);

  // First pass: every source row to the target width. Rows go in bands so the progress window
  // moves while the threads work.
  TBitmap work(dw, sh);
  const int threads = ThreadCount(sh);
  // Bands of whole row blocks and whole progress steps (a multiple of 8 and of 30).
  const int band = 120 * std::max(1, (threads * 64 + 119) / 120);
  for (int y0 = 0; y0 < sh; y0 += band) {
    const int y1 = std::min(sh, y0 + band);
    const int blocks = (y1 - y0 + kBlock - 1) / kBlock;
    ParallelRows(0, blocks, threads, [&](int b) {
      const int y = y0 + b * kBlock;
      SumRows(across, Source, work, y, std::min(kBlock, y1 - y));
    });
    AdvanceFor(Progress, y0, y1);
  }
  across.clear();

  // Vertical lists.
  TContributorList down = BuildContributors(sh, dh, Kernel, Support);
  AdvanceFor(Progress, 0, dh);

  // Second pass: every column of the intermediate to the target height.
  const size_t stride = size_t(dw) * 4;
  const uint8_t* base = work.ScanLineBytes(0);
  ParallelRows(0, dh, ThreadCount(dh), [&](int j) {
    uint8_t* out = Target.ScanLineBytes(j);
    for (int x = 0; x < dw; ++x) SumPixel(down[size_t(j)], base + size_t(x) * 4, stride, out + size_t(x) * 4);
  });
}
