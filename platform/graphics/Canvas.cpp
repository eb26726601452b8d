#include "platform/graphics/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/core/Numeric.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Raster.h"

QColor ToQColor(TColor c) {
  c = ColorToRGB(c);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

namespace {

// QPainter on a Format_RGB32 image is meant to keep the X byte at 0xFF; this puts it back in
// the touched area in case a paint path does not.
void RestoreX(TBitmap& bmp, const TRect& touched) {
  const TRect r = IntersectRect(touched, TRect(0, 0, bmp.Width(), bmp.Height()));
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint32_t* p = bmp.ScanLine(y);
    for (int x = r.Left; x < r.Right; ++x) p[x] |= kOpaque;
  }
}

// A painter on the bitmap's memory for one drawing call: ended, and the X byte restored over
// touched, when it goes out of scope.
class TScopedPainter {
 public:
  TScopedPainter(TBitmap& bmp, const TRect& touched) : FBitmap(bmp), FTouched(touched), FImage(bmp.Image()) {
    if (!FImage.isNull()) FPainter.begin(&FImage);
  }
  ~TScopedPainter() {
    if (FPainter.isActive()) {
      FPainter.end();
      RestoreX(FBitmap, FTouched);
    }
  }
  TScopedPainter(const TScopedPainter&) = delete;
  TScopedPainter& operator=(const TScopedPainter&) = delete;
  bool Active() const { return FPainter.isActive(); }
  QPainter& Painter() { return FPainter; }

 private:
  TBitmap& FBitmap;
  TRect FTouched;
  QImage FImage;
  QPainter FPainter;
};

// The pen and brush of a shape on the painter; aliased, as on a device context.
void SetupShape(QPainter& p, const TPen& pen, const TBrush& brush) {
  p.setRenderHint(QPainter::Antialiasing, false);
  if (pen.Style == TPenStyle::psClear || pen.Width <= 0) {
    p.setPen(Qt::NoPen);
  } else {
    QPen qp(ToQColor(pen.Color));
    qp.setWidth(pen.Width);
    qp.setJoinStyle(Qt::MiterJoin);
    p.setPen(qp);
  }
  if (brush.Style == TBrushStyle::bsClear)
    p.setBrush(Qt::NoBrush);
  else
    p.setBrush(ToQColor(brush.Color));
}

// The rectangle a pen of this width can touch around the shape's bounds.
TRect Grow(int x1, int y1, int x2, int y2, int by) {
  return TRect(std::min(x1, x2) - by, std::min(y1, y2) - by, std::max(x1, x2) + by, std::max(y1, y2) + by);
}

}  // namespace

int TFont::PixelSize() const {
  if (Height != 0) return std::abs(Height);
  return std::max(1, Round(Size * 96.0 / 72.0));
}

QFont TFont::ToQFont() const {
  QFont f(QString::fromStdString(Name));
  f.setPixelSize(PixelSize());
  f.setBold(Bold);
  f.setItalic(Italic);
  f.setUnderline(Underline);
  return f;
}

int TCanvas::TextWidth(const std::string& text) const {
  return QFontMetrics(Font.ToQFont()).horizontalAdvance(QString::fromStdString(text));
}

int TCanvas::TextHeight(const std::string&) const {
  return QFontMetrics(Font.ToQFont()).height();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  const QFont font = Font.ToQFont();
  const QFontMetrics fm(font);
  const QString s = QString::fromStdString(text);
  const int w = fm.horizontalAdvance(s), h = fm.height();
  if (Brush.Style == TBrushStyle::bsSolid) ::FillRect(FBitmap, Bounds(x, y, w, h), Brush.Color);
  {
    // Overhangs (italics, accents) may reach past the cell; the margin covers them.
    const int m = h;
    TScopedPainter sp(FBitmap, TRect(x - m, y - m, x + w + m, y + h + m));
    if (sp.Active()) {
      QPainter& p = sp.Painter();
      p.setFont(font);
      p.setPen(ToQColor(Font.Color));
      p.drawText(QPoint(x, y + fm.ascent()), s);
    }
  }
  PenPos = TPoint(x + w, y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  if (Brush.Style == TBrushStyle::bsSolid) ::FillRect(FBitmap, r, Brush.Color);
  if (r.IsEmpty()) return;
  const QFont font = Font.ToQFont();
  const QFontMetrics fm(font);
  TScopedPainter sp(FBitmap, r);
  if (!sp.Active()) return;
  QPainter& p = sp.Painter();
  p.setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
  p.setFont(font);
  p.setPen(ToQColor(Font.Color));
  p.drawText(QPoint(x, y + fm.ascent()), QString::fromStdString(text));
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  TRect r(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
  if (r.IsEmpty()) return;
  const int pw = Pen.Style == TPenStyle::psClear ? 0 : std::max(Pen.Width, 0);
  TRect inner = r;
  for (int i = 0; i < pw && !inner.IsEmpty(); ++i) {
    ::FrameRect(FBitmap, inner, Pen.Color);
    inner = TRect(inner.Left + 1, inner.Top + 1, inner.Right - 1, inner.Bottom - 1);
  }
  if (Brush.Style == TBrushStyle::bsSolid && !inner.IsEmpty()) ::FillRect(FBitmap, inner, Brush.Color);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2) return;
  TScopedPainter sp(FBitmap, Grow(x1, y1, x2, y2, Pen.Width + 1));
  if (!sp.Active()) return;
  SetupShape(sp.Painter(), Pen, Brush);
  sp.Painter().drawEllipse(
      QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) - 1, std::abs(y2 - y1) - 1));
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH) {
  if (x1 == x2 || y1 == y2) return;
  TScopedPainter sp(FBitmap, Grow(x1, y1, x2, y2, Pen.Width + 1));
  if (!sp.Active()) return;
  SetupShape(sp.Painter(), Pen, Brush);
  sp.Painter().drawRoundedRect(
      QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) - 1, std::abs(y2 - y1) - 1),
      std::abs(cornerW) / 2.0, std::abs(cornerH) / 2.0, Qt::AbsoluteSize);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  QPolygon poly;
  int l = points[0].X, t = points[0].Y, r = l, b = t;
  for (const TPoint& pt : points) {
    poly << QPoint(pt.X, pt.Y);
    l = std::min(l, pt.X), t = std::min(t, pt.Y), r = std::max(r, pt.X), b = std::max(b, pt.Y);
  }
  TScopedPainter sp(FBitmap, Grow(l, t, r + 1, b + 1, Pen.Width + 1));
  if (!sp.Active()) return;
  SetupShape(sp.Painter(), Pen, Brush);
  sp.Painter().drawPolygon(poly, Qt::OddEvenFill);
}

void TCanvas::FillRect(const TRect& r) {
  if (Brush.Style == TBrushStyle::bsSolid) ::FillRect(FBitmap, r, Brush.Color);
}

void TCanvas::FrameRect(const TRect& r) {
  ::FrameRect(FBitmap, r, Brush.Color);
}

void TCanvas::LineTo(int x, int y) {
  const TPoint from = PenPos;
  PenPos = TPoint(x, y);
  if (Pen.Style == TPenStyle::psClear || Pen.Width <= 0) return;
  // Wide pens, and lines so long that walking them pixel by pixel would be wasteful, go through
  // QPainter, which clips them to the bitmap.
  if (Pen.Width > 1 || std::abs(int64_t(x) - from.X) > 65536 || std::abs(int64_t(y) - from.Y) > 65536) {
    TScopedPainter sp(FBitmap, Grow(from.X, from.Y, x, y, Pen.Width + 1));
    if (!sp.Active()) return;
    SetupShape(sp.Painter(), Pen, Brush);
    sp.Painter().drawLine(from.X, from.Y, x, y);
    return;
  }
  // Bresenham from the start point up to, but not including, the end point.
  const TColor c = ColorToRGB(Pen.Color);
  int cx = from.X, cy = from.Y;
  const int dx = std::abs(x - cx), dy = -std::abs(y - cy);
  const int sx = cx < x ? 1 : -1, sy = cy < y ? 1 : -1;
  int err = dx + dy;
  while (cx != x || cy != y) {
    FBitmap.SetPixel(cx, cy, c);
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, cx += sx;
    if (e2 <= dx) err += dx, cy += sy;
  }
}

void TCanvas::Draw(int x, int y, const TBitmap& picture) {
  ::Draw(FBitmap, x, y, picture);
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& picture) {
  ::StretchDraw(FBitmap, r, picture);
}
