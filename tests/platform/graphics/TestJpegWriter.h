#pragma once
// JPEG files made at test time with libjpeg's compressor.

#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

// Cmyk and Ycck are written as Adobe's programs write them: with their marker, the inks inverted
// (255 for none); CmykPlain without the marker, the inks as they are.
enum class TTestJpegKind { Colour, Grey, Cmyk, CmykPlain, Ycck };

// The four inks of a print picture's pixel, each 0 (none) to 255 (full), packed as a TColor.
constexpr TColor Inks(int c, int m, int y, int k) {
  return TColor(uint32_t(c) | uint32_t(m) << 8 | uint32_t(y) << 16 | uint32_t(k) << 24);
}

std::vector<uint8_t> MakeJpegFromPixels(int w, int h, TTestJpegKind kind, int quality, bool progressive,
                                        const std::vector<TColor>& pixels);
// As above, Huffman or arithmetic coded.
std::vector<uint8_t> MakeCodedJpeg(int w, int h, TTestJpegKind kind, int quality, bool progressive,
                                   bool arithmetic, const std::vector<TColor>& pixels);

// A w x h picture; colourAt(x, y) gives $BBGGRR (Grey uses the red value), or the Inks of a print
// picture. Quality 0..100.
template <typename F>
std::vector<uint8_t> MakeJpeg(int w, int h, TTestJpegKind kind, int quality, bool progressive, F colourAt) {
  std::vector<TColor> pixels(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[size_t(y) * size_t(w) + size_t(x)] = colourAt(x, y);
  return MakeJpegFromPixels(w, h, kind, quality, progressive, pixels);
}
