#pragma once
// JPEG pictures through libjpeg. highQuality picks the accurate integer DCT and smooth chroma
// upsampling, else the fast DCT and plain upsampling.
// Damaged, truncated (libjpeg itself only warns), CMYK or oversized (more than 32768 pixels a side
// or 2^26 in all) files raise EInvalidGraphic naming the file; out is then left as it was.
// Greyscale pictures come out grey. out keeps its Transparent flag; PixelFormat becomes pf24bit.

#include <cstdint>
#include <string>
#include <vector>

class TBitmap;

void DecodeJpeg(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name, bool highQuality);
void LoadJpegFile(const std::string& path, TBitmap& out, bool highQuality);
