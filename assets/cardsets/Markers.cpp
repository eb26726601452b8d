// The card mask and the AND pictures: pile-bottom markers, the drop shade and the drag shadow.
// AND pictures hold only pure white (the table shows through) and pure black; shaded areas are a
// checkerboard of the two, which darkens any table colour by half and stays a clean key colour
// when a marker is drawn rotated.
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "assets/cardsets/CardArt.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;
// Painted in this grey, an area of a marker comes out as checkerboard.
const QColor kStipple(128, 128, 128);

// Checkerboard phase, counted from the card's top-left corner so that the shade and both shadow
// strips share one pattern. It is chosen so that the bottom-left pixel of the right shadow strip,
// the card-relative pixel (W, H - 1), stays white.
bool StippleDark(const TSetStyle& style, int gx, int gy) {
  return (gx + gy) % 2 == (style.W + style.H) % 2;
}

void SetPixel(QImage& img, int x, int y, QRgb c) {
  reinterpret_cast<QRgb*>(img.scanLine(y))[x] = c;
}

// Turns a painted marker into an AND picture: black stays, grey becomes checkerboard, anything
// else and everything outside the card shape becomes white. The card's edge gets a black outline.
void ToAndPicture(QImage& img, const TSetStyle& style, const TCardShape& shape, bool outline) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      QRgb out = kWhite;
      if (!shape.Inside(x, y))
        out = kWhite;
      else if (outline && shape.Edge(x, y))
        out = kBlack;
      else if (qGray(c) < 64)
        out = kBlack;
      else if (qGray(c) < 192)
        out = StippleDark(style, x, y) ? kBlack : kWhite;
      SetPixel(img, x, y, out);
    }
}

QPainterPath StrokeLetter(const std::vector<std::vector<QPointF>>& strokes, double width) {
  QPainterPath lines;
  for (const auto& s : strokes) {
    lines.moveTo(s.front());
    for (size_t i = 1; i < s.size(); ++i) lines.lineTo(s[i]);
  }
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(Qt::SquareCap);
  stroker.setJoinStyle(Qt::MiterJoin);
  return stroker.createStroke(lines).simplified();
}

// The card's size, centre and unit for drawing a marker; proportions are designed on the
// 71-pixel card.
struct TMarkerBox {
  double W, H;
  QPointF c;
  double u;
};

// Empty tableau pile or free cell: a second, inner outline makes a recessed slot.
void DrawSlotMarker(QPainter& p, const TMarkerBox& m) {
  p.setPen(QPen(Qt::black, 1));
  p.drawRoundedRect(QRectF(4 * m.u, 4 * m.u, m.W - 8 * m.u - 1, m.H - 8 * m.u - 1), 3, 3);
}

void DrawMarkerSuit(QPainter& p, double x, double y, double sz, TArtSuit suit) {
  p.drawPath(QTransform::fromTranslate(x, y).scale(sz / 2, sz / 2).map(SuitPath(suit)));
}

// Foundation: a large shaded "A" over a ring of the four suits.
void DrawFoundationMarker(QPainter& p, const TMarkerBox& m) {
  const QPointF c = m.c;
  const double W = m.W, H = m.H, u = m.u;
  const double h = H * 0.42, w = W * 0.5, t = 4.2 * u;
  const QPainterPath letter =
      StrokeLetter({{{c.x() - w / 2, c.y() + h / 2}, {c.x(), c.y() - h / 2}, {c.x() + w / 2, c.y() + h / 2}},
                    {{c.x() - w * 0.27, c.y() + h * 0.12}, {c.x() + w * 0.27, c.y() + h * 0.12}}},
                   t);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(kStipple);
  p.drawPath(letter);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const double sz = 9 * u;
  DrawMarkerSuit(p, c.x() - W * 0.3, 11 * u, sz, TArtSuit::Spades);
  DrawMarkerSuit(p, c.x() + W * 0.3, 11 * u, sz, TArtSuit::Hearts);
  DrawMarkerSuit(p, c.x() - W * 0.3, H - 11 * u, sz, TArtSuit::Diamonds);
  DrawMarkerSuit(p, c.x() + W * 0.3, H - 11 * u, sz, TArtSuit::Clubs);
}

// A ring with a shaded disc.
void DrawRingMarker(QPainter& p, const TMarkerBox& m) {
  const double r = m.W * 0.3;
  p.setPen(QPen(Qt::black, 2.0 * m.u));
  p.setBrush(kStipple);
  p.drawEllipse(m.c, r, r);
}

// A shaded cross.
void DrawCrossMarker(QPainter& p, const TMarkerBox& m) {
  const QPointF c = m.c;
  const double d = m.W * 0.3;
  const QPainterPath cross = StrokeLetter(
      {{{c.x() - d, c.y() - d}, {c.x() + d, c.y() + d}}, {{c.x() + d, c.y() - d}, {c.x() - d, c.y() + d}}},
      7 * m.u);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(kStipple);
  p.drawPath(cross);
}

// A shaded band inside the outline.
void DrawBandMarker(QPainter& p, const TMarkerBox& m) {
  const double W = m.W, H = m.H, u = m.u;
  QPainterPath band;
  band.addRoundedRect(QRectF(3 * u, 3 * u, W - 6 * u, H - 6 * u), 3, 3);
  QPainterPath hole;
  hole.addRoundedRect(QRectF(8 * u, 8 * u, W - 16 * u, H - 16 * u), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(kStipple);
  p.drawPath(band.subtracted(hole));
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(8 * u, 8 * u, W - 16 * u - 1, H - 16 * u - 1), 2, 2);
}

// A king's place: a large "K" in black.
void DrawKingMarker(QPainter& p, const TMarkerBox& m) {
  const QPointF c = m.c;
  const double h = m.H * 0.42, w = m.W * 0.42, u = m.u;
  const double l = c.x() - w / 2;
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPath(StrokeLetter({{{l, c.y() - h / 2}, {l, c.y() + h / 2}},
                           {{l + w, c.y() - h / 2}, {l + 2 * u, c.y() + 2 * u}},
                           {{l + w * 0.35, c.y() - h * 0.08}, {l + w, c.y() + h / 2}}},
                          4.2 * u));
}

// The markers by their number in the file name ("Bottom01.bmp" ...); another number draws none.
const struct {
  int Kind;
  void (*Draw)(QPainter&, const TMarkerBox&);
} kMarkers[] = {{1, DrawSlotMarker},  {2, DrawFoundationMarker}, {4, DrawRingMarker},
                {5, DrawCrossMarker}, {6, DrawBandMarker},       {7, DrawKingMarker}};

void DrawMarker(QPainter& p, const TMarkerBox& m, int kind) {
  for (const auto& marker : kMarkers)
    if (marker.Kind == kind) marker.Draw(p, m);
}

}  // namespace

QImage DrawCardMask(const TCardShape& shape) {
  QImage img(shape.Width(), shape.Height(), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) SetPixel(img, x, y, shape.Inside(x, y) ? kBlack : kWhite);
  return img;
}

QImage DrawBottom(const TSetStyle& style, const TCardShape& shape, int kind) {
  QImage img(style.W, style.H, QImage::Format_RGB32);
  img.fill(Qt::white);
  const double W = style.W, H = style.H;
  const TMarkerBox box{W, H, QPointF(W / 2.0, H / 2.0), W / 71.0};
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    DrawMarker(p, box, kind);
  }
  ToAndPicture(img, style, shape, true);
  return img;
}

QImage DrawShade(const TSetStyle& style, const TCardShape& shape) {
  QImage img(style.W, style.H, QImage::Format_RGB32);
  img.fill(kStipple);
  ToAndPicture(img, style, shape, false);
  return img;
}

QImage DrawShadowStrip(const TSetStyle& style, const TCardShape& shape, int strip, TShadowKind kind) {
  const int s = style.Shadow;
  // Right strip (1) at (W, s) and bottom strip (0) at (s, H), relative to the card; the shadow is
  // the card shape moved by (s, s).
  const int w = strip == 1 ? s : style.W, h = strip == 1 ? style.H - s : s;
  const int ox = strip == 1 ? style.W : s, oy = strip == 1 ? s : style.H;
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool shadow = shape.Inside(ox + x - s, oy + y - s);
      QRgb out = kWhite;
      switch (kind) {
        case TShadowKind::Picture:
          out = shadow && StippleDark(style, ox + x, oy + y) ? kBlack : kWhite;
          break;
        case TShadowKind::Mask:
          out = shadow ? kBlack : kWhite;
          break;
        case TShadowKind::InverseMask:
          out = shadow ? kWhite : kBlack;
          break;
      }
      SetPixel(img, x, y, out);
    }
  return img;
}
