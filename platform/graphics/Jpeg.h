#pragma once
// JPEG pictures through libjpeg. highQuality picks the accurate integer DCT, else the fast one.
// Damaged or unsupported files raise EInvalidGraphic naming the file.

#include <cstdint>
#include <string>
#include <vector>

class TBitmap;

void DecodeJpeg(const std::vector<uint8_t>& data, TBitmap& out, const std::string& name, bool highQuality);
void LoadJpegFile(const std::string& path, TBitmap& out, bool highQuality);
