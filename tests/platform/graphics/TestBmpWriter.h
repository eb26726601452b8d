#pragma once
// A BMP writer of the tests' own, independent of the decoder under test: every depth, header kind,
// row order and compression the decoder reads, plus small RLE encoders.

#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

struct TTestBmp {
  int width = 0;
  int height = 0;
  int bpp = 24;
  uint32_t compression = 0;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha
  uint32_t headerSize = 40;  // 12, 40, 52, 56, 108 or 124
  bool topDown = false;
  std::vector<TColor> palette;  // written as given
  uint32_t clrUsed = 0;         // written as given (0: the full table)
  uint32_t masks[4] = {0, 0, 0, 0};
  // Pixel values, top row first: colour indexes (1-8 bpp), packed 16/32-bit values as stored, or
  // $BBGGRR colours (24 bpp). Ignored when rle is set.
  std::vector<uint32_t> values;
  // Ready compressed data for RLE files.
  std::vector<uint8_t> rle;
};

std::vector<uint8_t> BuildBmp(const TTestBmp& bmp);

// An RLE8 picture of w x h whose runs draw its bottom rows (lime) and then end the picture: the
// rest is left undrawn (red), as the format allows. With no rows drawn it is about 60 bytes.
std::vector<uint8_t> DrawnRle8(int w, int h, int rows);

// RLE streams for index rows, top row first; each row ends with end-of-line, the picture with
// end-of-picture. When skipZero is set, runs of index 0 are left out with delta escapes instead.
// Rows are encoded in file order: bottom row first unless topDown.
std::vector<uint8_t> EncodeRle8(const std::vector<uint32_t>& idx, int w, int h, bool topDown, bool skipZero);
std::vector<uint8_t> EncodeRle4(const std::vector<uint32_t>& idx, int w, int h, bool topDown);

// Little-endian stores into a byte vector.
void Put16(std::vector<uint8_t>& d, size_t at, uint32_t v);
void Put32(std::vector<uint8_t>& d, size_t at, uint32_t v);
uint32_t Get16(const std::vector<uint8_t>& d, size_t at);
uint32_t Get32(const std::vector<uint8_t>& d, size_t at);
