// The card backs: nine patterns, each inside a rounded panel with a white margin.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdint>

#include "assets/cardsets/CardArt.h"

namespace {

QPen Line(const QColor& c, double width) {
  QPen pen(c);
  pen.setWidthF(width);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

QPainterPath Star(QPointF c, double r, int points = 5, double inner = 0.42) {
  QPainterPath s;
  for (int i = 0; i < 2 * points; ++i) {
    const double a = -M_PI / 2 + i * M_PI / points;
    const double rr = (i % 2) ? r * inner : r;
    const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    if (i == 0)
      s.moveTo(pt);
    else
      s.lineTo(pt);
  }
  s.closeSubpath();
  return s;
}

// A fixed sequence, so that every build draws the same stars.
struct TSeq {
  uint32_t State;
  double Next() {
    State = State * 1664525u + 1013904223u;
    return (State >> 8) / double(1 << 24);
  }
};

// Blue lattice with small diamonds at the crossings.
void Lattice(QPainter& p, const QRectF& r) {
  p.fillRect(r, QColor(30, 70, 158));
  const double step = r.width() / 8.0;
  p.setPen(Line(QColor(132, 168, 232), 1.0));
  for (double d = -r.height(); d < r.width() + r.height(); d += step) {
    p.drawLine(QPointF(r.left() + d, r.top()), QPointF(r.left() + d + r.height(), r.bottom()));
    p.drawLine(QPointF(r.left() + d, r.bottom()), QPointF(r.left() + d + r.height(), r.top()));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(236, 242, 255));
  const double h = step / 2;
  for (double y = r.top(); y < r.bottom() + h; y += h)
    for (double x = r.left() + ((int(std::lround((y - r.top()) / h)) % 2) ? h : 0); x < r.right() + h;
         x += step)
      p.drawEllipse(QPointF(x, y), 1.0, 1.0);
}

// Red field of quatrefoils with an oval medallion holding the four suits.
void Rosette(QPainter& p, const QRectF& r) {
  p.fillRect(r, QColor(172, 24, 36));
  const double step = r.width() / 6.0;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(214, 70, 78));
  for (double y = r.top() + step / 2; y < r.bottom() + step; y += step)
    for (double x = r.left() + step / 2; x < r.right() + step; x += step) {
      const double q = step * 0.2;
      for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(x + q * std::cos(i * M_PI / 2), y + q * std::sin(i * M_PI / 2)), q, q);
    }
  const QPointF c = r.center();
  const double rx = r.width() * 0.34, ry = r.height() * 0.3;
  p.setBrush(QColor(252, 246, 232));
  p.setPen(Line(Ink::Gold, 2.0));
  p.drawEllipse(c, rx, ry);
  p.setPen(Line(QColor(172, 24, 36), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, rx - 3, ry - 3);
  const double h = rx * 0.5;
  DrawSuit(p, TArtSuit::Spades, QPointF(c.x(), c.y() - ry * 0.45), h, Ink::Black);
  DrawSuit(p, TArtSuit::Hearts, QPointF(c.x() - rx * 0.45, c.y()), h, Ink::Red);
  DrawSuit(p, TArtSuit::Diamonds, QPointF(c.x() + rx * 0.45, c.y()), h, Ink::Red);
  DrawSuit(p, TArtSuit::Clubs, QPointF(c.x(), c.y() + ry * 0.45), h, Ink::Black);
}

// Green tartan: crossing bands and fine lines.
void Tartan(QPainter& p, const QRectF& r) {
  p.fillRect(r, QColor(22, 98, 58));
  const double period = r.width() / 4.0;
  const QColor navy(16, 34, 84, 150), yellow(246, 206, 70), red(206, 40, 40);
  for (int pass = 0; pass < 2; ++pass)
    for (double o = -period; o < std::max(r.width(), r.height()) + period; o += period) {
      auto band = [&](double at, double width, const QColor& c) {
        if (pass == 0)
          p.fillRect(QRectF(r.left() + at, r.top(), width, r.height()), c);
        else
          p.fillRect(QRectF(r.left(), r.top() + at, r.width(), width), c);
      };
      band(o, period * 0.38, navy);
      band(o + period * 0.62, 1.0, yellow);
      band(o + period * 0.8, 1.0, red);
    }
}

// Night sky with a crescent moon and scattered stars.
void NightSky(QPainter& p, const QRectF& r) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(14, 22, 64));
  g.setColorAt(1, QColor(40, 62, 130));
  p.fillRect(r, g);
  TSeq seq{12345};
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 34; ++i) {
    const QPointF c(r.left() + seq.Next() * r.width(), r.top() + seq.Next() * r.height());
    const double size = 0.8 + seq.Next() * 2.4;
    p.setBrush(QColor(255, 236, 160, 140 + int(seq.Next() * 115)));
    if (size > 2.2)
      p.drawPath(Star(c, size));
    else
      p.drawEllipse(c, size * 0.5, size * 0.5);
  }
  const QPointF c = r.center();
  const double m = r.width() * 0.24;
  QPainterPath moon;
  moon.addEllipse(c, m, m);
  QPainterPath bite;
  bite.addEllipse(QPointF(c.x() + m * 0.45, c.y() - m * 0.2), m * 0.85, m * 0.85);
  p.setBrush(QColor(250, 226, 130));
  p.drawPath(moon.subtracted(bite));
}

// Purple guilloche: rotated ellipses around the centre and rings.
void Guilloche(QPainter& p, const QRectF& r) {
  QRadialGradient g(r.center(), r.height() * 0.7);
  g.setColorAt(0, QColor(128, 60, 170));
  g.setColorAt(1, QColor(70, 24, 104));
  p.fillRect(r, g);
  const QPointF c = r.center();
  p.setBrush(Qt::NoBrush);
  p.setPen(Line(QColor(224, 200, 248, 190), 0.7));
  for (int i = 0; i < 24; ++i) {
    p.save();
    p.translate(c);
    p.rotate(i * 180.0 / 24);
    p.drawEllipse(QPointF(0, 0), r.width() * 0.4, r.width() * 0.14);
    p.restore();
  }
  p.setPen(Line(QColor(240, 220, 255, 160), 0.7));
  for (int k = 0; k < 3; ++k) {
    const double rr = r.width() * (0.44 + k * 0.08);
    p.drawEllipse(c, rr, rr * r.height() / r.width());
  }
  // Corner rosettes.
  for (int cx = 0; cx < 2; ++cx)
    for (int cy = 0; cy < 2; ++cy) {
      const QPointF q(cx ? r.right() - 6 : r.left() + 6, cy ? r.bottom() - 6 : r.top() + 6);
      p.setPen(Line(QColor(240, 220, 255, 200), 0.7));
      for (int i = 0; i < 6; ++i) {
        p.save();
        p.translate(q);
        p.rotate(i * 30);
        p.drawEllipse(QPointF(0, 0), 5.0, 1.8);
        p.restore();
      }
    }
}

// Teal waves.
void Waves(QPainter& p, const QRectF& r) {
  p.fillRect(r, QColor(0, 104, 116));
  const double step = r.height() / 14.0;
  int k = 0;
  for (double y = r.top() - step; y < r.bottom() + step; y += step, ++k) {
    QPainterPath wave;
    wave.moveTo(r.left(), y);
    for (double x = 0; x <= r.width() + 1; x += 1)
      wave.lineTo(r.left() + x, y + step * 0.35 * std::sin(x / r.width() * 4 * M_PI + k * 0.6));
    for (double x = r.width() + 1; x >= 0; x -= 1)
      wave.lineTo(r.left() + x, y + step * 0.5 + step * 0.35 * std::sin(x / r.width() * 4 * M_PI + k * 0.6));
    wave.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(k % 2 ? QColor(64, 178, 182) : QColor(150, 222, 214));
    p.drawPath(wave);
  }
}

// Sunburst: rays from a central disc.
void Sunburst(QPainter& p, const QRectF& r) {
  p.fillRect(r, QColor(232, 118, 28));
  const QPointF c = r.center();
  const double far = r.height();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 170, 56));
  const int rays = 24;
  for (int i = 0; i < rays; i += 2) {
    const double a0 = i * 2 * M_PI / rays, a1 = (i + 1) * 2 * M_PI / rays;
    QPainterPath ray;
    ray.moveTo(c);
    ray.lineTo(c.x() + far * std::cos(a0), c.y() + far * std::sin(a0));
    ray.lineTo(c.x() + far * std::cos(a1), c.y() + far * std::sin(a1));
    ray.closeSubpath();
    p.drawPath(ray);
  }
  const double d = r.width() * 0.2;
  p.setBrush(QColor(255, 224, 96));
  p.setPen(Line(QColor(176, 70, 16), 1.4));
  p.drawEllipse(c, d, d);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(232, 118, 28));
  p.drawPath(Star(c, d * 0.75, 8, 0.5));
}

// Art-deco scales: rows of gold-lined fans on deep green.
void Scales(QPainter& p, const QRectF& r) {
  const QColor deep(10, 62, 58), light(20, 96, 84);
  p.fillRect(r, deep);
  const double w = r.width() / 3.0, h = w * 0.6;
  int row = 0;
  for (double y = r.top(); y < r.bottom() + 2 * h; y += h * 0.5, ++row) {
    const double shift = (row % 2) ? w / 2 : 0;
    for (double x = r.left() - w + shift; x < r.right() + w; x += w) {
      const QRectF fan(x, y - h, w, 2 * h);
      QPainterPath pie;
      pie.moveTo(x + w / 2, y);
      pie.arcTo(fan, 0, 180);
      pie.closeSubpath();
      QRadialGradient g(QPointF(x + w / 2, y), w / 2);
      g.setColorAt(0, deep);
      g.setColorAt(1, light);
      p.setPen(Qt::NoPen);
      p.setBrush(g);
      p.drawPath(pie);
      p.setBrush(Qt::NoBrush);
      for (int k = 0; k < 3; ++k) {
        const double s = 1.0 - k * 0.3;
        p.setPen(Line(k == 0 ? QColor(232, 192, 88) : QColor(188, 156, 78), k == 0 ? 1.3 : 0.8));
        p.drawArc(QRectF(x + w / 2 - w / 2 * s, y - h * s, w * s, 2 * h * s), 0, 180 * 16);
      }
    }
  }
}

// Chequer of maroon and cream with the four suits in turn.
void SuitChequer(QPainter& p, const QRectF& r) {
  const int cols = 6;
  const double cell = r.width() / cols;
  const int rows = int(std::ceil(r.height() / cell)) + 1;
  const double top = r.center().y() - rows * cell / 2;
  const TArtSuit suits[4] = {TArtSuit::Spades, TArtSuit::Hearts, TArtSuit::Clubs, TArtSuit::Diamonds};
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < cols; ++i) {
      const QRectF c(r.left() + i * cell, top + j * cell, cell, cell);
      const bool dark = (i + j) % 2 == 0;
      p.fillRect(c, dark ? QColor(118, 22, 40) : QColor(246, 232, 206));
      DrawSuit(p, suits[(i + 2 * j) % 4], c.center(), cell * 0.58,
               dark ? QColor(246, 232, 206) : QColor(118, 22, 40));
    }
}

using TPattern = void (*)(QPainter&, const QRectF&);
const TPattern kPatterns[kBackDesigns] = {Lattice, Rosette,  Tartan, NightSky,   Guilloche,
                                          Waves,   Sunburst, Scales, SuitChequer};
const QColor kEdges[kBackDesigns] = {QColor(20, 44, 110), QColor(120, 14, 24),  QColor(12, 60, 34),
                                     QColor(10, 14, 44),  QColor(54, 16, 80),   QColor(0, 70, 80),
                                     QColor(168, 72, 10), QColor(170, 136, 56), QColor(90, 14, 30)};

}  // namespace

QImage DrawBack(const TSetStyle& style, const TCardShape& shape, int number) {
  QImage img = BlankCard(style);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double m = style.BackMargin;
    const QRectF panel(m, m, style.W - 2 * m, style.H - 2 * m);
    QPainterPath clip;
    clip.addRoundedRect(panel, 3, 3);
    p.save();
    p.setClipPath(clip);
    kPatterns[(number - 1) % kBackDesigns](p, panel);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(Line(kEdges[(number - 1) % kBackDesigns], 1.0));
    p.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
  }
  FinishCard(img, shape);
  return img;
}
