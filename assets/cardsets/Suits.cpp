#include "assets/cardsets/Suits.h"

#include <QPainter>
#include <QTransform>

namespace {

QPainterPath Heart() {
  QPainterPath p;
  p.moveTo(0, 1);
  p.cubicTo(-0.18, 0.66, -1.0, 0.22, -1.0, -0.38);
  p.cubicTo(-1.0, -0.80, -0.72, -1.0, -0.46, -1.0);
  p.cubicTo(-0.20, -1.0, -0.04, -0.82, 0, -0.58);
  p.cubicTo(0.04, -0.82, 0.20, -1.0, 0.46, -1.0);
  p.cubicTo(0.72, -1.0, 1.0, -0.80, 1.0, -0.38);
  p.cubicTo(1.0, 0.22, 0.18, 0.66, 0, 1);
  p.closeSubpath();
  return QTransform::fromScale(0.96, 1.0).map(p);
}

QPainterPath Diamond() {
  QPainterPath p;
  p.moveTo(0, -1);
  p.quadTo(0.34, -0.42, 0.78, 0);
  p.quadTo(0.34, 0.42, 0, 1);
  p.quadTo(-0.34, 0.42, -0.78, 0);
  p.quadTo(-0.34, -0.42, 0, -1);
  p.closeSubpath();
  return p;
}

// The flared foot shared by spade and club.
QPainterPath Stem(double top) {
  QPainterPath p;
  p.moveTo(-0.08, top);
  p.cubicTo(-0.09, 0.70, -0.22, 0.92, -0.44, 1.0);
  p.lineTo(0.44, 1.0);
  p.cubicTo(0.22, 0.92, 0.09, 0.70, 0.08, top);
  p.closeSubpath();
  return p;
}

QPainterPath Spade() {
  QPainterPath p;
  p.moveTo(0, -1);
  p.cubicTo(0.2, -0.62, 1.0, -0.30, 1.0, 0.16);
  p.cubicTo(1.0, 0.50, 0.78, 0.68, 0.52, 0.68);
  p.cubicTo(0.30, 0.68, 0.14, 0.58, 0.06, 0.44);
  p.lineTo(-0.06, 0.44);
  p.cubicTo(-0.14, 0.58, -0.30, 0.68, -0.52, 0.68);
  p.cubicTo(-0.78, 0.68, -1.0, 0.50, -1.0, 0.16);
  p.cubicTo(-1.0, -0.30, -0.2, -0.62, 0, -1);
  p.closeSubpath();
  return QTransform::fromScale(0.92, 1.0).map(p.united(Stem(0.3)));
}

QPainterPath Club() {
  const double r = 0.45;
  auto circle = [r](double x, double y) {
    QPainterPath c;
    c.addEllipse(QPointF(x, y), r, r);
    return c;
  };
  QPainterPath core;
  core.moveTo(0, -0.4);
  core.lineTo(-0.5, 0.1);
  core.lineTo(0, 0.42);
  core.lineTo(0.5, 0.1);
  core.closeSubpath();
  return circle(0, -0.53)
      .united(circle(-0.52, 0.14))
      .united(circle(0.52, 0.14))
      .united(core)
      .united(Stem(0.1));
}

}  // namespace

const QPainterPath& SuitPath(TArtSuit suit) {
  static const QPainterPath paths[4] = {Club(), Diamond(), Heart(), Spade()};
  return paths[int(suit)];
}

double SuitAspect(TArtSuit suit) {
  return SuitPath(suit).boundingRect().width() / 2.0;
}

void DrawSuit(QPainter& p, TArtSuit suit, QPointF centre, double height, const QColor& colour,
              bool upsideDown) {
  p.save();
  p.translate(centre);
  if (upsideDown) p.rotate(180);
  p.scale(height / 2.0, height / 2.0);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(SuitPath(suit));
  p.restore();
}

bool IsRed(TArtSuit suit) {
  return suit == TArtSuit::Diamonds || suit == TArtSuit::Hearts;
}
