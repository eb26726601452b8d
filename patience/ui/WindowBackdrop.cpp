#include "patience/ui/WindowBackdrop.h"

#include <QPainter>

#include "platform/graphics/Raster.h"

namespace {

TBitmap Decoded(const std::string& file) {
  TBitmap picture;
  picture.LoadFromFile(file);
  return picture;
}

}  // namespace

void TWindowBackdrop::SetFile(const std::string& file) {
  FFile = file;
  FAhead = {};
  FDecoded = TBitmap();
  FKeepDecoded = true;
  FSize = QSize();
  FHeld = QRegion();
  FPieces.clear();
}

void TWindowBackdrop::ReadAhead() {
  if (!FFile.empty() && !FAhead.valid() && FDecoded.Empty())
    FAhead = std::async(std::launch::async, Decoded, FFile);
}

void TWindowBackdrop::FirstPaintDone() {
  FKeepDecoded = false;
  if (FAhead.valid()) FAhead.wait();
  FAhead = {};
  FDecoded = TBitmap();
}

void TWindowBackdrop::Hold(const QRegion& region, const QSize& size) {
  if (size != FSize) {
    // Stretched to another size: nothing held fits.
    FSize = size;
    FHeld = QRegion();
    FPieces.clear();
  }
  const QRegion missing = (region & QRect(QPoint(0, 0), size)) - FHeld;
  if (missing.isEmpty()) return;
  if (FDecoded.Empty()) FDecoded = FAhead.valid() ? FAhead.get() : Decoded(FFile);
  // Each place as the whole stretched picture shows it: the picture stretched to the window, drawn
  // shifted so that the place lies at the piece's origin.
  for (const QRect& r : missing) {
    TPiece piece{r, TBitmap(r.width(), r.height(), TNewPixels::Overwrite)};
    StretchBlt(piece.Pixels, -r.x(), -r.y(), size.width(), size.height(), FDecoded, 0, 0, FDecoded.Width(),
               FDecoded.Height());
    FPieces.push_back(std::move(piece));
  }
  FHeld += missing;
  if (!FKeepDecoded) FDecoded = TBitmap();
}

void TWindowBackdrop::Paint(QPainter& painter, const QRegion& region, const QSize& size) {
  if (FFile.empty()) return;
  Hold(region, size);
  for (const TPiece& piece : FPieces) {
    const QRegion part = region & piece.Place;
    if (part.isEmpty()) continue;
    const QImage image = piece.Pixels.ConstImage();
    for (const QRect& r : part) painter.drawImage(r.topLeft(), image, r.translated(-piece.Place.topLeft()));
  }
}

void TWindowBackdrop::CopyTo(TBitmap& out, const TRect& r, const QSize& size) {
  if (FFile.empty()) return;
  const QRect place(r.Left, r.Top, r.Width(), r.Height());
  Hold(QRegion(place), size);
  for (const TPiece& piece : FPieces) {
    const QRect part = place & piece.Place;
    if (part.isEmpty()) continue;
    BitBlt(out, part.x() - place.x(), part.y() - place.y(), part.width(), part.height(), piece.Pixels,
           part.x() - piece.Place.x(), part.y() - piece.Place.y());
  }
}

long long TWindowBackdrop::HeldPixels() const {
  long long n = 0;
  for (const TPiece& piece : FPieces) n += (long long)piece.Place.width() * piece.Place.height();
  return n;
}
