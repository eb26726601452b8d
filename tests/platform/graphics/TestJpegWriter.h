#pragma once
// JPEG files made at test time with libjpeg's compressor.

#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

enum class TTestJpegKind { Colour, Grey, Cmyk };

std::vector<uint8_t> MakeJpegFromPixels(int w, int h, TTestJpegKind kind, int quality, bool progressive,
                                        const std::vector<TColor>& pixels);
// As above, Huffman or arithmetic coded.
std::vector<uint8_t> MakeCodedJpeg(int w, int h, TTestJpegKind kind, int quality, bool progressive,
                                   bool arithmetic, const std::vector<TColor>& pixels);

// A w x h picture; colourAt(x, y) gives $BBGGRR (Grey uses the red value, Cmyk writes C, M, Y, K =
// inverted R, G, B and 0). Quality 0..100.
template <typename F>
std::vector<uint8_t> MakeJpeg(int w, int h, TTestJpegKind kind, int quality, bool progressive, F colourAt) {
  std::vector<TColor> pixels(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[size_t(y) * size_t(w) + size_t(x)] = colourAt(x, y);
  return MakeJpegFromPixels(w, h, kind, quality, progressive, pixels);
}
