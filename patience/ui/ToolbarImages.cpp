#include "patience/ui/ToolbarImages.h"

#include <cmath>

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

using TDraw = void (*)(QPainter&);

const QColor kInk(30, 30, 60);
const QColor kBlue(40, 90, 200);
const QColor kGreen(30, 150, 50);
const QColor kRed(200, 40, 40);
const QColor kGold(230, 180, 30);
const QColor kPaper(250, 250, 245);

QPen Pen(const QColor& c, qreal w = 1.2) {
  QPen p(c, w);
  p.setCapStyle(Qt::RoundCap);
  p.setJoinStyle(Qt::RoundJoin);
  return p;
}

// A small playing card outline with a red pip.
void Card(QPainter& p, QRectF r) {
  p.setPen(Pen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRoundedRect(r, 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  const QPointF c = r.center();
  QPainterPath heart;
  heart.moveTo(c.x(), c.y() + 2.5);
  heart.cubicTo(c.x() - 4, c.y() - 0.5, c.x() - 1.5, c.y() - 3.5, c.x(), c.y() - 1.2);
  heart.cubicTo(c.x() + 1.5, c.y() - 3.5, c.x() + 4, c.y() - 0.5, c.x(), c.y() + 2.5);
  p.drawPath(heart);
}

// A curved arrow: an arc with a head, turning left (undo) or right (redo).
void CurvedArrow(QPainter& p, bool left, const QColor& colour) {
  p.setPen(Pen(colour, 2));
  p.setBrush(Qt::NoBrush);
  QPainterPath arc;
  if (left) {
    arc.moveTo(13, 12);
    arc.cubicTo(13, 5, 6, 4, 4, 8);
  } else {
    arc.moveTo(3, 12);
    arc.cubicTo(3, 5, 10, 4, 12, 8);
  }
  p.drawPath(arc);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  QPolygonF tri;
  if (left)
    tri << QPointF(1, 6.5) << QPointF(7.5, 7.5) << QPointF(3, 12.5);
  else
    tri << QPointF(15, 6.5) << QPointF(8.5, 7.5) << QPointF(13, 12.5);
  p.drawPolygon(tri);
}

void Circled(QPainter& p, const QColor& fill, const QString& letter) {
  p.setPen(Pen(fill.darker(140), 1));
  p.setBrush(fill);
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  QFont f;
  f.setPixelSize(11);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, letter);
}

void Star(QPainter& p, QPointF c, qreal outer, qreal inner, const QColor& fill) {
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    const qreal a = -M_PI / 2 + i * M_PI / 5;
    const qreal r = (i % 2) ? inner : outer;
    star << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
  }
  p.setPen(Pen(fill.darker(150), 1));
  p.setBrush(fill);
  p.drawPolygon(star);
}

void DrawNewGame(QPainter& p) {
  Card(p, QRectF(2.5, 1.5, 9, 12));
  Star(p, QPointF(12, 12), 3.8, 1.6, kGold);
}

void DrawOpen(QPainter& p) {
  p.setPen(Pen(QColor(150, 110, 20), 1));
  p.setBrush(QColor(240, 200, 90));
  p.drawRect(QRectF(1.5, 4.5, 12, 9));
  p.drawRect(QRectF(1.5, 3.5, 5, 2));
  p.setBrush(QColor(250, 225, 130));
  QPolygonF lid;
  lid << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(13, 13.5) << QPointF(1.5, 13.5);
  p.drawPolygon(lid);
}

void DrawSave(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  p.setBrush(kBlue);
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(200, 200, 210));
  p.drawRect(QRectF(3.5, 9.5, 9, 5));
}

void DrawUndo(QPainter& p) {
  CurvedArrow(p, true, kBlue);
}

void DrawRedo(QPainter& p) {
  CurvedArrow(p, false, kBlue);
}

void DrawInfo(QPainter& p) {
  Circled(p, kBlue, QStringLiteral("i"));
}

void DrawHelp(QPainter& p) {
  Circled(p, kGreen, QStringLiteral("?"));
}

void DrawStatistics(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
  const QColor colours[3] = {kRed, kGold, kGreen};
  const qreal heights[3] = {6, 10, 13};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(colours[i]);
    p.drawRect(QRectF(2.5 + i * 4, 14.5 - heights[i], 3, heights[i]));
  }
}

void DrawQuit(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  p.setBrush(QColor(170, 110, 60));
  p.drawRect(QRectF(1.5, 1.5, 8, 13));
  p.setPen(Pen(kRed, 2));
  p.drawLine(QPointF(7, 8), QPointF(14, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  QPolygonF head;
  head << QPointF(15.5, 8) << QPointF(11.5, 4.5) << QPointF(11.5, 11.5);
  p.drawPolygon(head);
}

void DrawFullScreen(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  p.setBrush(QColor(180, 210, 245));
  p.drawRect(QRectF(3.5, 3.5, 9, 9));
  p.setPen(Pen(kBlue, 1.6));
  const QPointF corners[4][3] = {{QPointF(1, 5), QPointF(1, 1), QPointF(5, 1)},
                                 {QPointF(11, 1), QPointF(15, 1), QPointF(15, 5)},
                                 {QPointF(15, 11), QPointF(15, 15), QPointF(11, 15)},
                                 {QPointF(5, 15), QPointF(1, 15), QPointF(1, 11)}};
  for (const auto& c : corners) p.drawPolyline(c, 3);
}

void DrawCheck(QPainter& p) {
  p.setPen(Pen(kInk, 2.2));
  const QPointF tick[3] = {QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)};
  p.drawPolyline(tick, 3);
}

void DrawRestart(QPainter& p) {
  p.setPen(Pen(kGreen, 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 290 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  QPolygonF head;
  head << QPointF(6, 0.5) << QPointF(10.5, 2.8) << QPointF(6, 6);
  p.drawPolygon(head);
}

void DrawRedeal(QPainter& p) {
  Card(p, QRectF(1.5, 3.5, 8, 11));
  p.setPen(Pen(kBlue, 1.6));
  p.drawLine(QPointF(10, 5), QPointF(14.5, 5));
  p.drawLine(QPointF(10, 11), QPointF(14.5, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  QPolygonF a, b;
  a << QPointF(15.5, 5) << QPointF(12.5, 2.5) << QPointF(12.5, 7.5);
  b << QPointF(9, 11) << QPointF(12, 8.5) << QPointF(12, 13.5);
  p.drawPolygon(a);
  p.drawPolygon(b);
}

void DrawAutoMoveOn(QPainter& p) {
  Card(p, QRectF(1.5, 3.5, 8, 11));
  p.setPen(Pen(kGreen, 2));
  p.drawLine(QPointF(13, 14), QPointF(13, 4));
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  QPolygonF head;
  head << QPointF(13, 0.5) << QPointF(16, 5) << QPointF(10, 5);
  p.drawPolygon(head);
}

void Grid(QPainter& p, int columns, qreal step, qreal width) {
  p.setPen(Pen(kInk, 1));
  p.setBrush(kPaper);
  for (int c = 0; c < columns; ++c)
    for (int r = 0; r < 2; ++r) p.drawRect(QRectF(1.5 + c * step, 2.5 + r * 6.5, width, 5));
}

void DrawCompact(QPainter& p) {
  Grid(p, 3, 4, 3);
}

void DrawExtended(QPainter& p) {
  Grid(p, 3, 5.5, 3);
}

void DrawOptions(QPainter& p) {
  p.setPen(Pen(QColor(90, 90, 100), 2.4));
  for (int i = 0; i < 8; ++i) {
    const qreal a = i * M_PI / 4;
    p.drawLine(QPointF(8 + 4 * std::cos(a), 8 + 4 * std::sin(a)),
               QPointF(8 + 6.5 * std::cos(a), 8 + 6.5 * std::sin(a)));
  }
  p.setPen(Pen(QColor(90, 90, 100), 1));
  p.setBrush(QColor(190, 190, 200));
  p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
}

void DrawFavourites(QPainter& p) {
  Star(p, QPointF(8, 8.5), 7, 3, kGold);
}

void DrawAutoMoveOff(QPainter& p) {
  Card(p, QRectF(1.5, 3.5, 8, 11));
  p.setPen(Pen(kRed, 2));
  p.drawLine(QPointF(10.5, 2), QPointF(15, 6.5));
  p.drawLine(QPointF(15, 2), QPointF(10.5, 6.5));
}

void DrawDebug(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  for (int i = 0; i < 3; ++i) {
    const qreal y = 6 + i * 3;
    p.drawLine(QPointF(2, y - 1), QPointF(14, y + 1));
    p.drawLine(QPointF(14, y - 1), QPointF(2, y + 1));
  }
  p.setBrush(QColor(120, 60, 30));
  p.drawEllipse(QRectF(4.5, 4.5, 7, 10));
  p.setBrush(kInk);
  p.drawEllipse(QRectF(5.5, 1.5, 5, 4));
}

void DrawCards(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(1.5, 1.5, 9, 12), 1.5, 1.5);
  Card(p, QRectF(5.5, 3.5, 9, 12));
}

void DrawStartScreen(QPainter& p) {
  p.setPen(Pen(kInk, 1));
  p.setBrush(kRed);
  QPolygonF roof;
  roof << QPointF(8, 1) << QPointF(15, 7.5) << QPointF(1, 7.5);
  p.drawPolygon(roof);
  p.setBrush(kPaper);
  p.drawRect(QRectF(3.5, 7.5, 9, 7));
  p.setBrush(QColor(150, 100, 50));
  p.drawRect(QRectF(6.5, 10.5, 3, 4));
}

const TDraw kGlyphs[tiImageCount] = {
    DrawNewGame,     DrawOpen,       DrawSave,    DrawUndo,        DrawRedo,    DrawInfo,
    DrawHelp,        DrawStatistics, DrawQuit,    DrawFullScreen,  DrawCheck,   DrawRestart,
    DrawRedeal,      DrawAutoMoveOn, DrawCompact, DrawExtended,    DrawOptions, DrawFavourites,
    DrawAutoMoveOff, DrawDebug,      DrawCards,   DrawStartScreen,
};

// The glyphs are drawn on a 16 x 16 grid; a larger picture scales the drawing, not the pixels.
QImage RenderGlyph(TDraw draw, int size) {
  QImage glyph(size, size, QImage::Format_ARGB32_Premultiplied);
  glyph.fill(Qt::transparent);
  QPainter p(&glyph);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  draw(p);
  return glyph;
}

TImageList MakeToolbarImages() {
  TImageList list(16, 16);
  for (TDraw draw : kGlyphs) list.Add(RenderGlyph(draw, 16));
  return list;
}

}  // namespace

const TImageList& ToolbarImages() {
  static const TImageList images = MakeToolbarImages();
  return images;
}

QImage ToolbarGlyph(int index, int size) {
  if (index < 0 || index >= tiImageCount || size <= 0) return QImage();
  return RenderGlyph(kGlyphs[index], size);
}
