#pragma once
// JPEG pictures through libjpeg. highQuality picks the accurate integer DCT and smooth chroma
// upsampling, else the fast DCT and plain upsampling.
// Damaged or truncated files (libjpeg itself only warns), files of an unknown colour space and
// files claiming more than they can hold raise EInvalidGraphic naming the file; so does a picture
// beyond the limits (kPictureLimits unless others are given), whose message says it is too large
// and how large. out is then left as it was. The decoder's own memory is capped to what a picture
// at the limits needs.
// Greyscale pictures come out grey; print pictures (CMYK and YCCK, Adobe's inverted inks too) are
// mixed into red, green and blue. out keeps its Transparent flag; PixelFormat becomes pf24bit.

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
