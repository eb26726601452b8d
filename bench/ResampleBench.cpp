// The card-set maker's resampler against ImageMagick's convert, in one run: a 12-megapixel photo
// (4000 x 3000, made here) resampled into a card with "Lanczos3" (what the maker uses) and
// "Mitchell", and the same with `convert -filter Lanczos -resize` and `-filter Mitchell`.
//
// convert has to read the picture from a file; its time is given whole and, beside it, less the
// time convert takes to read and write the same files without resizing, which is the fairest
// figure for the resize itself. Times are the median of several runs, in milliseconds.
//
// Then the whole of what the maker's click does with a 12-megapixel JPEG photo (the same picture,
// written by convert at quality 92): decoding it and composing a Borderless face with four large,
// framed corner indices and its preview, the way the maker's click does (what it adds, reading the
// template and saving the card, is small beside these).
//
// Usage: bench_resample [runs]   (run by scripts/bench.sh, i.e. `make bench`)

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "deckwright/Compose.h"
#include "deckwright/Resample.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Raster.h"

namespace {

using Clock = std::chrono::steady_clock;

// A photo-like picture: sky, hills, noise and hard edges, so the kernels have real work.
TBitmap Photo(int w, int h) {
  TBitmap b(w, h);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.ScanLineBytes(y);
    const double horizon = h * (0.55 + 0.05 * std::sin(y * 0.001));
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = int(seed >> 27) - 16;
      const double hill = h * 0.5 + 120 * std::sin(x * 0.003) + 40 * std::sin(x * 0.021);
      int r, g, bl;
      if (y < hill) {
        r = 90 + y * 120 / h;
        g = 140 + y * 80 / h;
        bl = 230 - y * 40 / h;
      } else if (y < horizon + 300) {
        r = 40 + (x / 7 % 30);
        g = 110 + (y % 50);
        bl = 40;
      } else {
        r = 150;
        g = 120;
        bl = 80 + ((x / 40 + y / 40) % 2) * 60;  // a chequered path: hard edges
      }
      row[x * 4 + 0] = uint8_t(std::clamp(bl + noise, 0, 255));
      row[x * 4 + 1] = uint8_t(std::clamp(g + noise, 0, 255));
      row[x * 4 + 2] = uint8_t(std::clamp(r + noise, 0, 255));
      row[x * 4 + 3] = 0xFF;
    }
  }
  return b;
}

void WritePpm(const TBitmap& b, const std::string& path) {
  std::ofstream f(path, std::ios::binary);
  f << "P6\n" << b.Width() << " " << b.Height() << "\n255\n";
  std::vector<char> row(size_t(b.Width()) * 3);
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* p = b.ScanLineBytes(y);
    for (int x = 0; x < b.Width(); ++x) {
      row[size_t(x) * 3 + 0] = char(p[x * 4 + 2]);
      row[size_t(x) * 3 + 1] = char(p[x * 4 + 1]);
      row[size_t(x) * 3 + 2] = char(p[x * 4 + 0]);
    }
    f.write(row.data(), std::streamsize(row.size()));
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double TimeOurs(TBitmap& photo, int w, int h, TFilterKernel k, float support, int runs) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    TBitmap card(w, h);
    const auto a = Clock::now();
    FilteredStretch(photo, card, k, support);
    t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - a).count());
  }
  return Median(t);
}

// -1 when convert cannot be run.
double TimeCommand(const std::string& cmd, int runs) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto a = Clock::now();
    const int rc = std::system(cmd.c_str());
    if (rc != 0) return -1;
    t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - a).count());
  }
  return Median(t);
}

// The photo onto a card as the maker does it: decode, then compose; the decode's share and the whole.
void TimePhotoOntoCard(const std::string& jpeg, int runs) {
  TBitmap templ(71, 96);
  FillRect(templ, TRect(0, 0, 71, 96), clWhite);
  const TSetOptions options{1, 2, true, true};
  std::vector<double> decode, whole;
  for (int i = 0; i < runs; ++i) {
    TBitmap target = templ, preview(71, 96);
    const auto a = Clock::now();
    TBitmap picture;
    LoadJpegFile(jpeg, picture, true);
    const auto b = Clock::now();
    ComposeCard(target, templ, picture, options, true, &preview, nullptr);
    const auto c = Clock::now();
    decode.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    whole.push_back(std::chrono::duration<double, std::milli>(c - a).count());
  }
  std::printf("\nA 12-megapixel JPEG photo onto a card (decode and compose), median of %d runs, ms\n", runs);
  std::printf("decode %.1f, whole %.1f\n", Median(decode), Median(whole));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int W = 4000, H = 3000;
  TBitmap photo = Photo(W, H);
  const std::string dir =
      std::filesystem::temp_directory_path() / ("bench_resample_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string in = dir + "/photo.ppm", out = dir + "/card.ppm";
  WritePpm(photo, in);
  // Prefer the real program when a wrapper stands first on the PATH.
  const std::string convert = std::filesystem::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";

  std::printf("Resampling a %d x %d photo (%.1f megapixels) into a card; median of %d runs, ms\n", W, H,
              W * H / 1e6, runs);
  std::printf("machine: %u hardware threads; ImageMagick: %s\n", std::thread::hardware_concurrency(),
              convert.c_str());
  const double imBase = TimeCommand(convert + " " + in + " " + out + " >/dev/null 2>&1", runs);
  std::printf("convert reading and writing the files without a resize: %.1f\n\n", imBase);
  std::printf("%-10s %-9s %10s %16s %14s %14s\n", "filter", "card", "ours", "ours (1 thread)", "convert",
              "convert-io");
  struct Filter {
    const char* Ours;
    const char* Theirs;
  };
  const Filter filters[] = {{"Lanczos3", "Lanczos"}, {"Mitchell", "Mitchell"}};
  const int sizes[][2] = {{89, 123}, {57, 95}};
  for (const Filter& f : filters) {
    const TFilterEntry* entry = nullptr;
    for (const TFilterEntry& e : FilterTable)
      if (std::string(e.Name) == f.Ours) entry = &e;
    for (const auto& s : sizes) {
      SetResampleThreads(0);
      const double ours = TimeOurs(photo, s[0], s[1], entry->Kernel, entry->Support, runs);
      SetResampleThreads(1);
      const double single = TimeOurs(photo, s[0], s[1], entry->Kernel, entry->Support, runs);
      SetResampleThreads(0);
      const double im =
          TimeCommand(convert + " " + in + " -filter " + f.Theirs + " -resize " + std::to_string(s[0]) + "x" +
                          std::to_string(s[1]) + "! " + out + " >/dev/null 2>&1",
                      runs);
      const std::string card = std::to_string(s[0]) + "x" + std::to_string(s[1]);
      std::printf("%-10s %-9s %10.1f %16.1f %14.1f %14.1f\n", f.Ours, card.c_str(), ours, single, im,
                  im < 0 || imBase < 0 ? -1.0 : im - imBase);
    }
  }
  const std::string jpeg = dir + "/photo.jpg";
  if (TimeCommand(convert + " " + in + " -quality 92 " + jpeg + " >/dev/null 2>&1", 1) >= 0)
    TimePhotoOntoCard(jpeg, runs);
  std::filesystem::remove_all(dir);
  return 0;
}
