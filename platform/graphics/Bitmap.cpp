#include "platform/graphics/Bitmap.h"

#include <malloc.h>

#include <algorithm>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"

namespace {

// Pixels left unset: a large block comes from the system as untouched pages.
std::unique_ptr<uint32_t[]> NewPixels(size_t count) {
  return count == 0 ? nullptr : std::make_unique_for_overwrite<uint32_t[]>(count);
}

}  // namespace

TBitmap::TBitmap(const TBitmap& other)
    : PixelFormat(other.PixelFormat),
      Transparent(other.Transparent),
      FWidth(other.FWidth),
      FHeight(other.FHeight),
      FPixels(NewPixels(size_t(other.FWidth) * size_t(other.FHeight))) {
  if (FPixels) std::copy_n(other.FPixels.get(), size_t(FWidth) * size_t(FHeight), FPixels.get());
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  SetSize(other.FWidth, other.FHeight, TNewPixels::Overwrite);
  if (FPixels) std::copy_n(other.FPixels.get(), size_t(FWidth) * size_t(FHeight), FPixels.get());
  PixelFormat = other.PixelFormat;
  Transparent = other.Transparent;
  return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : PixelFormat(other.PixelFormat),
      Transparent(other.Transparent),
      FWidth(std::exchange(other.FWidth, 0)),
      FHeight(std::exchange(other.FHeight, 0)),
      FPixels(std::move(other.FPixels)) {}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  PixelFormat = other.PixelFormat;
  Transparent = other.Transparent;
  FWidth = std::exchange(other.FWidth, 0);
  FHeight = std::exchange(other.FHeight, 0);
  FPixels = std::move(other.FPixels);
  return *this;
}

void TBitmap::SetSize(int width, int height, TNewPixels pixels) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  const size_t count = size_t(width) * size_t(height);
  if (pixels == TNewPixels::Overwrite) {
    // The same number of pixels in another shape: the memory serves as it is.
    if (count != size_t(FWidth) * size_t(FHeight)) {
      FPixels.reset();
      FPixels = NewPixels(count);
    }
    FWidth = width;
    FHeight = height;
    return;
  }
  std::unique_ptr<uint32_t[]> fresh = NewPixels(count);
  const int cw = std::min(width, FWidth), ch = std::min(height, FHeight);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = fresh.get() + size_t(y) * size_t(width);
    const int kept = y < ch ? cw : 0;
    if (kept > 0) std::copy_n(FPixels.get() + size_t(y) * size_t(FWidth), kept, row);
    std::fill(row + kept, row + width, kOpaque);
  }
  FPixels = std::move(fresh);
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
  std::fill_n(FPixels.get(), size_t(FWidth) * size_t(FHeight), ColorToPixel(ColorToRGB(c)));
}

QImage TBitmap::Image() {
  if (Empty()) return QImage();
  return QImage(reinterpret_cast<uchar*>(FPixels.get()), FWidth, FHeight, FWidth * 4, QImage::Format_RGB32);
}

QImage TBitmap::ConstImage() const {
  if (Empty()) return QImage();
  return QImage(reinterpret_cast<const uchar*>(FPixels.get()), FWidth, FHeight, FWidth * 4,
                QImage::Format_RGB32);
}

QImage TBitmap::ToQImage() const {
  return ConstImage().copy();
}

void TBitmap::FromQImage(const QImage& img) {
  QImage c = img.convertToFormat(QImage::Format_RGB32);
  SetSize(c.width(), c.height(), TNewPixels::Overwrite);
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

void GiveLargeBlocksBackToTheSystem() {
  // Setting the threshold also stops the allocator from raising it after each large free.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}
