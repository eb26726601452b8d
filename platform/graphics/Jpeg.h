#pragma once
// JPEG pictures through libjpeg. highQuality picks the accurate integer DCT and smooth chroma
// upsampling, else the fast DCT and plain upsampling.
// Damaged, truncated (libjpeg itself only warns), CMYK or oversized files (beyond the limits,
// kPictureLimits unless others are given, or claiming more than the file can hold) raise
// EInvalidGraphic naming the file; out is then left as it was. The decoder's own memory is capped
// to what a picture at the limits needs.
// Greyscale pictures come out grey. out keeps its Transparent flag; PixelFormat becomes pf24bit.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/PictureLimits.h"

class TBitmap;

void DecodeJpeg(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name, bool highQuality);
void DecodeJpeg(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name, bool highQuality,
                const TPictureLimits& limits);
// The file is read with the size cap of the limits' file kind.
void LoadJpegFile(const std::string& path, TBitmap& out, bool highQuality);
void LoadJpegFile(const std::string& path, TBitmap& out, bool highQuality, const TPictureLimits& limits);
