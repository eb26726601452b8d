#include "assets/textures/Textures.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>

#include "assets/textures/Noise.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr float kPi = 3.14159265358979f;

uint8_t Channel(float v) {
  return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

float Mixf(float a, float b, float t) {
  return a + (b - a) * t;
}

}  // namespace

void TRgbImage::Set(int x, int y, float r, float g, float b) {
  uint8_t* p = &Pixels[(size_t(y) * size_t(Width) + size_t(x)) * 3];
  p[0] = Channel(r);
  p[1] = Channel(g);
  p[2] = Channel(b);
}

const std::vector<TTexture>& Textures() {
  static const std::vector<TTexture> textures = {
      {"felt.jpg", DrawFelt}, {"wood.jpg", DrawWood}, {"linen.jpg", DrawLinen}, {"slate.jpg", DrawSlate}};
  return textures;
}

// Green baize: soft mottling under a fine, slightly lighter nap.
TRgbImage DrawFelt() {
  TRgbImage img(512, 512);
  const TTileFbm mottle(4, 4, 11);
  const TTileFbm nap(64, 2, 12);
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x) {
      const float u = float(x) / float(img.Width), v = float(y) / float(img.Height);
      const float m = (mottle.At(u, v) - 0.5f) * 18.0f;
      const float n = (nap.At(u, v) - 0.5f) * 10.0f;
      const float grain = (PixelHash(x, y, 13) - 0.5f) * 14.0f;
      const float lift = m + n + grain;
      img.Set(x, y, 24 + lift * 0.45f, 98 + lift, 50 + lift * 0.6f);
    }
  return img;
}

// Warm planks running across the tile: long grain lines that close and open gently, fine fibres
// along the plank, a darker seam between planks and one butt joint per plank.
TRgbImage DrawWood() {
  TRgbImage img(512, 512);
  constexpr int kPlanks = 4;
  const TTileFbm warp(2, 3, 21);
  const TTileFbm density(3, 3, 26);
  const TTileFbm streak(2, 4, 22);
  // Fibres: long along the plank, fine across it.
  const TTileNoise fibre(6, 256, 23);
  for (int y = 0; y < img.Height; ++y) {
    const float v = float(y) / float(img.Height);
    // Half a plank down, so that the tile's edge lies inside a plank, not on a seam.
    const float across = v * kPlanks + 0.5f;
    const int band = int(across);
    const int plank = band % kPlanks;
    const float local = across - float(band);
    const float tone = 0.86f + 0.26f * PixelHash(plank, 0, 24);
    const float joint = PixelHash(plank, 1, 25);
    for (int x = 0; x < img.Width; ++x) {
      const float u = float(x) / float(img.Width);
      // Grain lines along the plank: their spacing drifts, and they bend a little.
      const float shift = float(plank) * 0.37f;
      const float bend = (warp.At(u, v + shift) - 0.5f) * 1.6f;
      const float spacing = 11.0f + (density.At(u, v + shift) - 0.5f) * 8.0f;
      const float lines = 0.5f + 0.5f * std::sin(2 * kPi * (local * spacing + bend + float(plank) * 0.3f));
      const float ring = std::pow(lines, 4.0f);
      const float s = streak.At(u, v + shift);
      const float f = fibre.At(u * 6.0f, v * 256.0f) - 0.5f;
      const float dark = std::clamp(ring * 0.55f + s * 0.35f + f * 0.35f, 0.0f, 1.0f);
      float r = Mixf(200, 132, dark), g = Mixf(142, 84, dark), b = Mixf(88, 46, dark);
      r *= tone;
      g *= tone;
      b *= tone;
      // The seam at the top of each plank and its butt joint.
      const float py = local * float(img.Height) / kPlanks;
      float shade = 1.0f;
      if (py < 1.0f)
        shade = 0.42f;
      else if (py < 2.0f)
        shade = 0.7f;
      else if (py < 3.0f)
        shade = 1.1f;
      const float jx = (u - joint) * float(img.Width);
      if (std::fabs(jx) < 1.0f)
        shade = std::min(shade, 0.45f);
      else if (jx >= 1.0f && jx < 2.0f)
        shade = std::max(shade, 1.08f);
      img.Set(x, y, r * shade, g * shade, b * shade);
    }
  }
  return img;
}

// Off-white linen: threads over and under each other, each thread a little thicker or thinner
// along its length, with a few slubs.
TRgbImage DrawLinen() {
  TRgbImage img(480, 480);
  constexpr int kThread = 6;
  // Each thread's thickness drifts along it: 80 threads, 6 cells along each.
  const TTileNoise warpThick(80, 6, 31), weftThick(6, 80, 32);
  const TTileFbm cloud(4, 3, 33);
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x) {
      const float u = float(x) / float(img.Width), v = float(y) / float(img.Height);
      const int cx = x / kThread, cy = y / kThread;
      const float ax = float(x % kThread) / kThread, ay = float(y % kThread) / kThread;
      // Cross-section of each thread: bright in the middle, dark at its edges.
      const float warp = std::sin(kPi * ax) * (0.75f + 0.5f * warpThick.At(float(cx), v * 6.0f));
      const float weft = std::sin(kPi * ay) * (0.75f + 0.5f * weftThick.At(u * 6.0f, float(cy)));
      const bool warpOver = (cx + cy) % 2 == 0;
      const float top = warpOver ? warp : weft;
      const float under = warpOver ? weft : warp;
      const float lum = 0.62f + 0.28f * top + 0.1f * under * 0.5f + (cloud.At(u, v) - 0.5f) * 0.12f +
                        (PixelHash(x, y, 34) - 0.5f) * 0.05f;
      img.Set(x, y, 236 * lum, 226 * lum, 204 * lum);
    }
  return img;
}

// Blue-grey slate: layered cloudy stone with faint lighter veins.
TRgbImage DrawSlate() {
  TRgbImage img(512, 512);
  const TTileFbm stone(4, 5, 41);
  const TTileFbm vein(3, 4, 42);
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x) {
      const float u = float(x) / float(img.Width), v = float(y) / float(img.Height);
      const float s = stone.At(u, v);
      const float w = 1.0f - std::fabs(vein.At(u, v) - 0.5f) * 2.0f;
      const float veins = std::pow(std::max(w, 0.0f), 12.0f) * 26.0f;
      const float grain = (PixelHash(x, y, 43) - 0.5f) * 8.0f;
      const float base = 62 + (s - 0.5f) * 36 + veins + grain;
      img.Set(x, y, base * 0.92f, base * 1.0f, base * 1.12f);
    }
  return img;
}

// -----------------------------------------------------------------------------------------------
// JPEG output

namespace {

struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX] = {};
};

void OnJpegError(j_common_ptr info) {
  auto* e = reinterpret_cast<TJpegError*>(info->err);
  (*info->err->format_message)(info, e->Message);
  std::longjmp(e->Jump, 1);
}

}  // namespace

namespace {

// The compression itself, apart from anything with a destructor, so that the jump back from an
// error leaves nothing behind.
bool Compress(FILE* file, const TRgbImage& image, int quality, char* message) {
  jpeg_compress_struct info{};
  TJpegError e{};
  info.err = jpeg_std_error(&e.Manager);
  e.Manager.error_exit = OnJpegError;
  if (setjmp(e.Jump)) {
    jpeg_destroy_compress(&info);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", e.Message);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = JDIMENSION(image.Width);
  info.image_height = JDIMENSION(image.Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&image.Pixels[size_t(info.next_scanline) * size_t(image.Width) * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

bool SaveJpeg(const std::string& path, const TRgbImage& image, int quality, std::string& error) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  char message[JMSG_LENGTH_MAX] = {};
  const bool written = Compress(file, image, quality, message);
  const bool closed = std::fclose(file) == 0;
  if (!written)
    error = path + ": " + message;
  else if (!closed)
    error = "cannot finish " + path;
  return written && closed;
}
