// Draws the card-set maker's about pictures: "06d.bmp", a fan of plain card backs on a table, and
// "06d_1.bmp", the same fan turned into picture cards (an evening landscape on every face), which
// the about box dissolves to while the pointer is over it.
//
// Usage: makerpictures <program folder>

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"

namespace {

constexpr int kW = 158, kH = 144;
constexpr double kCardW = 52, kCardH = 72;

void Table(QPainter& p) {
  QRadialGradient felt(QPointF(kW / 2.0, kH / 2.0), kW * 0.75);
  felt.setColorAt(0, QColor(28, 110, 60));
  felt.setColorAt(1, QColor(8, 48, 26));
  p.fillRect(QRect(0, 0, kW, kH), felt);
}

QPainterPath CardShape() {
  QPainterPath path;
  path.addRoundedRect(QRectF(-kCardW / 2, -kCardH / 2, kCardW, kCardH), 5, 5);
  return path;
}

void Back(QPainter& p) {
  const QPainterPath shape = CardShape();
  p.fillPath(shape, Qt::white);
  const QRectF inner(-kCardW / 2 + 4, -kCardH / 2 + 4, kCardW - 8, kCardH - 8);
  QLinearGradient g(inner.topLeft(), inner.bottomRight());
  g.setColorAt(0, QColor(150, 30, 40));
  g.setColorAt(1, QColor(90, 10, 25));
  p.fillRect(inner, g);
  p.save();
  p.setClipRect(inner);
  p.setPen(QPen(QColor(240, 200, 120), 1.2));
  for (double d = -kCardH; d < kCardH; d += 7) {
    p.drawLine(QPointF(inner.left(), inner.top() + d),
               QPointF(inner.right(), inner.top() + d + inner.width()));
    p.drawLine(QPointF(inner.right(), inner.top() + d),
               QPointF(inner.left(), inner.top() + d + inner.width()));
  }
  p.restore();
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.drawPath(shape);
}

// An evening landscape: sky, a low sun, two ranges of hills and a lake.
void Landscape(QPainter& p, const QRectF& r, double phase) {
  QLinearGradient sky(r.topLeft(), r.bottomLeft());
  sky.setColorAt(0, QColor(40, 60, 140));
  sky.setColorAt(0.55, QColor(250, 150, 80));
  sky.setColorAt(1, QColor(255, 210, 120));
  p.fillRect(r, sky);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 240, 170));
  p.drawEllipse(QPointF(r.left() + r.width() * (0.3 + 0.2 * phase), r.top() + r.height() * 0.5), 7, 7);
  for (int layer = 0; layer < 2; ++layer) {
    QPainterPath hills;
    const double base = r.top() + r.height() * (0.58 + 0.1 * layer);
    hills.moveTo(r.left(), r.bottom());
    for (double x = 0; x <= r.width(); x += 2) {
      const double y = base - 6 * std::sin((x / r.width() + phase + layer * 0.4) * 6.28) - 3 * layer;
      hills.lineTo(r.left() + x, y);
    }
    hills.lineTo(r.right(), r.bottom());
    hills.closeSubpath();
    p.setBrush(layer == 0 ? QColor(70, 50, 90) : QColor(30, 30, 50));
    p.drawPath(hills);
  }
  p.setBrush(QColor(60, 90, 150, 200));
  p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.82, r.width(), r.height() * 0.18));
}

void PictureFace(QPainter& p, double phase, bool red) {
  const QPainterPath shape = CardShape();
  p.fillPath(shape, Qt::white);
  p.save();
  p.setClipPath(shape);
  Landscape(p, QRectF(-kCardW / 2 + 2, -kCardH / 2 + 2, kCardW - 4, kCardH - 4), phase);
  p.restore();
  // A small corner index: a white box with a pip.
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(-kCardW / 2 + 3, -kCardH / 2 + 3, 9, 15), 2, 2);
  p.setBrush(red ? QColor(200, 20, 30) : QColor(20, 20, 20));
  QPainterPath pip;
  const QPointF c(-kCardW / 2 + 7.5, -kCardH / 2 + 13);
  pip.moveTo(c + QPointF(0, -3.5));
  pip.lineTo(c + QPointF(3, 0));
  pip.lineTo(c + QPointF(0, 3.5));
  pip.lineTo(c + QPointF(-3, 0));
  pip.closeSubpath();
  p.drawPath(pip);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.drawPath(shape);
}

QImage Picture(bool faces) {
  QImage img(kW, kH, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  Table(p);
  const double angles[] = {-24, -8, 8, 24};
  for (int i = 0; i < 4; ++i) {
    p.save();
    p.translate(kW / 2.0, kH * 0.62);
    p.rotate(angles[i]);
    p.translate(0, -22);
    if (faces)
      PictureFace(p, 0.15 * i, i % 2 == 1);
    else
      Back(p);
    p.restore();
  }
  return img;
}

void Save(const QImage& img, const std::string& path) {
  TBitmap b;
  b.FromQImage(img);
  SaveBmp24(path, b);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: makerpictures <program folder>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string dir = argv[1];
  try {
    Save(Picture(false), dir + "/06d.bmp");
    Save(Picture(true), dir + "/06d_1.bmp");
  } catch (const Exception& e) {
    std::fprintf(stderr, "makerpictures: %s\n", e.what());
    return 1;
  }
  return 0;
}
