#include "platform/graphics/Bitmap.h"

#include <algorithm>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  std::vector<uint32_t> pixels(size_t(width) * size_t(height), kOpaque);
  const int cw = std::min(width, FWidth), ch = std::min(height, FHeight);
  for (int y = 0; y < ch; ++y)
    std::copy_n(FPixels.data() + size_t(y) * size_t(FWidth), cw, pixels.data() + size_t(y) * size_t(width));
  FPixels = std::move(pixels);
  FWidth = width;
  FHeight = height;
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return -1;
  return PixelToColor(RawPixel(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor c) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[size_t(y) * size_t(FWidth) + size_t(x)] = ColorToPixel(ColorToRGB(c));
}

TColor TBitmap::TransparentColor() const {
  if (Empty()) return clBlack;
  return PixelToColor(RawPixel(0, FHeight - 1));
}

void TBitmap::Clear(TColor c) {
  std::fill(FPixels.begin(), FPixels.end(), ColorToPixel(ColorToRGB(c)));
}

QImage TBitmap::Image() {
  if (Empty()) return QImage();
  return QImage(reinterpret_cast<uchar*>(FPixels.data()), FWidth, FHeight, FWidth * 4, QImage::Format_RGB32);
}

QImage TBitmap::ToQImage() const {
  if (Empty()) return QImage();
  return QImage(reinterpret_cast<const uchar*>(FPixels.data()), FWidth, FHeight, FWidth * 4,
                QImage::Format_RGB32)
      .copy();
}

void TBitmap::FromQImage(const QImage& img) {
  QImage c = img.convertToFormat(QImage::Format_RGB32);
  SetSize(0, 0);
  SetSize(c.width(), c.height());
  for (int y = 0; y < FHeight; ++y) {
    const uint32_t* src = reinterpret_cast<const uint32_t*>(c.constScanLine(y));
    uint32_t* dst = ScanLine(y);
    for (int x = 0; x < FWidth; ++x) dst[x] = src[x] | kOpaque;
  }
}

void TBitmap::LoadFromFile(const std::string& path) {
  LoadFromFile(path, kPictureLimits);
}

void TBitmap::LoadFromFile(const std::string& path, const TPictureLimits& limits) {
  std::vector<uint8_t> data = ReadFileBytes(path, limits.FileKind);
  TBitmap loaded;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M')
    DecodeBmp(data, loaded, path, limits);
  else if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
    DecodeJpeg(data, loaded, path, true, limits);
  else
    throw EInvalidGraphic("\"" + path + "\" is not a BMP or JPEG picture");
  loaded.Transparent = Transparent;
  *this = std::move(loaded);
}

void TBitmap::SaveToFile(const std::string& path) const {
  SaveBmp24(path, *this);
}

bool operator==(const TBitmap& a, const TBitmap& b) {
  return SamePixels(a, b);
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  const size_t n = size_t(a.Width()) * size_t(a.Height());
  for (size_t i = 0; i < n; ++i)
    if (!SameRGB(a.Bits()[i], b.Bits()[i])) return false;
  return true;
}
