#include "platform/ui/ImageList.h"

#include <QPainter>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace {

// The shape of a picture (every pixel that is not fully transparent) in one colour.
QImage Silhouette(const QImage& image, QRgb colour) {
  QImage out(image.size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(src[x]) >= 128) dst[x] = colour;
  }
  return out;
}

}  // namespace

int TImageList::Add(const QImage& image) {
  QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (img.width() != FWidth || img.height() != FHeight)
    img = img.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QImage greyed(img.size(), QImage::Format_ARGB32_Premultiplied);
  greyed.fill(Qt::transparent);
  {
    QPainter p(&greyed);
    p.drawImage(1, 1, Silhouette(img, qRgba(255, 255, 255, 255)));
    p.drawImage(0, 0, Silhouette(img, qRgba(128, 128, 128, 255)));
  }
  FImages.push_back(std::move(img));
  FDisabled.push_back(std::move(greyed));
  return Count() - 1;
}

QImage TImageList::Image(int i) const {
  if (i < 0 || i >= Count()) return QImage();
  return FImages[size_t(i)];
}

QImage TImageList::Disabled(int i) const {
  if (i < 0 || i >= Count()) return QImage();
  return FDisabled[size_t(i)];
}

void TImageList::Draw(QPainter& painter, int x, int y, int i, bool enabled) const {
  if (i < 0 || i >= Count()) return;
  painter.drawImage(x, y, enabled ? FImages[size_t(i)] : FDisabled[size_t(i)]);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int i, bool enabled) const {
  if (i < 0 || i >= Count()) return;
  TBitmap& bitmap = canvas.Bitmap();
  QImage target = bitmap.Image();
  if (target.isNull()) return;
  {
    QPainter p(&target);
    Draw(p, x, y, i, enabled);
  }
  // The pixels keep their opaque top byte, as everything drawn on a bitmap does.
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + FWidth, bitmap.Width()), y1 = std::min(y + FHeight, bitmap.Height());
  for (int row = y0; row < y1; ++row) {
    uint32_t* line = bitmap.ScanLine(row);
    for (int col = x0; col < x1; ++col) line[col] |= 0xFF000000u;
  }
}
