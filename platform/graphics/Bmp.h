#pragma once
// Windows BMP files: reading 1, 4, 8, 16, 24 and 32-bit pictures (palettes, bit fields,
// bottom-up and top-down rows, RLE4 and RLE8, core and info headers up to V5) and writing
// 24-bit uncompressed pictures. Damaged files raise EInvalidGraphic naming the file; the
// reader never reads outside the data it was given.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/PictureLimits.h"

class TBitmap;

// Pictures beyond the limits (kPictureLimits unless others are given) are refused before their
// pixels are allocated, and so is a compressed stream that is damaged.

// Decodes data into out (PixelFormat pf32bit for 32-bit files, else pf24bit); out keeps its
// Transparent flag. On failure out is left as it was. Pixels an RLE stream skips take colour 0
// of the palette.
void DecodeBmp(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name);
void DecodeBmp(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name,
               const TPictureLimits& limits);
// A 24-bit BI_RGB file, rows bottom-up, 2835 pixels per metre.
std::vector<uint8_t> EncodeBmp24(const TBitmap& bmp);
// Writes atomically (temporary file renamed into place); raises EFileError naming the file.
void SaveBmp24(const std::string& path, const TBitmap& bmp);
// Reads through the case-insensitive lookup; EFileError or EInvalidGraphic naming the file.
// The file is read with the size cap of the limits' file kind.
void LoadBmpFile(const std::string& path, TBitmap& out);
void LoadBmpFile(const std::string& path, TBitmap& out, const TPictureLimits& limits);
