// Court portraits and jesters. A court card shows a double-ended half-length figure inside a
// frame: the upper half is drawn in a 100 x 100 unit box and repeated turned by 180 degrees.
// Kings wear a crown and beard and hold a sword, queens a tiara and long hair and hold a flower,
// jacks a feathered cap and a halberd; each suit dresses them in its own colours.
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "assets/cardsets/CardArt.h"

namespace {

struct TPalette {
  QColor Robe, Panel, Trim, Hair;
};

TPalette PaletteFor(TArtSuit suit) {
  switch (suit) {
    case TArtSuit::Clubs:
      return {QColor(38, 88, 172), QColor(204, 38, 46), Ink::Gold, QColor(104, 62, 30)};
    case TArtSuit::Diamonds:
      return {QColor(34, 122, 82), QColor(224, 120, 36), Ink::Gold, QColor(160, 72, 32)};
    case TArtSuit::Hearts:
      return {QColor(200, 30, 42), QColor(40, 92, 178), Ink::Gold, QColor(222, 170, 64)};
    case TArtSuit::Spades:
    default:
      return {QColor(44, 50, 72), QColor(226, 178, 46), QColor(204, 38, 46), QColor(54, 42, 36)};
  }
}

const QColor kFrameFill(253, 248, 232);
const QColor kSteel(214, 220, 230);
const QColor kWood(132, 84, 40);
const QColor kLeaf(40, 128, 64);

// Outline pen one device pixel wide whatever the painter's scale.
QPen InkPen(double width = 1.0) {
  QPen pen(Ink::Black);
  pen.setCosmetic(true);
  pen.setWidthF(width);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void Fill(QPainter& p, const QPainterPath& path, const QColor& colour, bool outline = true) {
  p.setBrush(colour);
  p.setPen(outline ? InkPen(0.8) : QPen(Qt::NoPen));
  p.drawPath(path);
}

QPainterPath Ellipse(double cx, double cy, double rx, double ry) {
  QPainterPath e;
  e.addEllipse(QPointF(cx, cy), rx, ry);
  return e;
}

QPainterPath Poly(std::initializer_list<QPointF> pts) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& pt : pts) {
    if (first)
      path.moveTo(pt);
    else
      path.lineTo(pt);
    first = false;
  }
  path.closeSubpath();
  return path;
}

// A sleeve as a tube along a polyline, with a cuff and a hand at its end.
void DrawArm(QPainter& p, std::initializer_list<QPointF> pts, const QColor& sleeve, const QColor& cuff,
             bool hand = true) {
  QPainterPath line;
  bool first = true;
  QPointF last, before;
  for (const QPointF& pt : pts) {
    if (first)
      line.moveTo(pt);
    else
      line.lineTo(pt);
    first = false;
    before = last;
    last = pt;
  }
  QPainterPathStroker stroker;
  stroker.setWidth(11);
  stroker.setCapStyle(Qt::FlatCap);
  stroker.setJoinStyle(Qt::RoundJoin);
  Fill(p, stroker.createStroke(line).simplified(), sleeve);
  // Cuff just before the end of the sleeve.
  const QPointF d = last - before;
  const double len = std::hypot(d.x(), d.y());
  const QPointF u = d / len, n(-u.y(), u.x());
  const QPointF a = last - u * 3.0;
  Fill(p, Poly({a + n * 6.0, last + n * 6.0, last - n * 6.0, a - n * 6.0}), cuff);
  if (hand) Fill(p, Ellipse(last.x() + u.x() * 3.5, last.y() + u.y() * 3.5, 5, 4.5), Ink::Skin);
}

void DrawRobe(QPainter& p, const TPalette& c, int rank) {
  QPainterPath robe;
  robe.moveTo(11, 101);
  robe.lineTo(12, 78);
  robe.cubicTo(13, 67, 24, 62, 38, 61);
  robe.lineTo(62, 61);
  robe.cubicTo(76, 62, 87, 67, 88, 78);
  robe.lineTo(89, 101);
  robe.closeSubpath();
  Fill(p, robe, c.Robe);
  // Front panel with trimmed edges.
  Fill(p, Poly({{41, 61}, {59, 61}, {62, 101}, {38, 101}}), c.Panel);
  p.setPen(Qt::NoPen);
  p.setBrush(c.Trim);
  p.drawPath(Poly({{39.5, 61}, {42.5, 61}, {39.5, 101}, {36.5, 101}}));
  p.drawPath(Poly({{57.5, 61}, {60.5, 61}, {63.5, 101}, {60.5, 101}}));
  // Buttons or embroidery down the panel.
  for (int i = 0; i < 3; ++i) {
    const double y = 71 + i * 10;
    if (rank == 13)
      Fill(p, Poly({{50, y - 3.5}, {53.5, y}, {50, y + 3.5}, {46.5, y}}), c.Trim, false);
    else
      Fill(p, Ellipse(50, y, 2.4, 2.4), c.Trim, false);
  }
  // Collars.
  if (rank == 13) {
    // Ermine: white with black tails.
    Fill(p, Poly({{27, 60}, {73, 60}, {70, 69}, {30, 69}}), Ink::Paper);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink::Black);
    for (double x = 34; x <= 66; x += 8) p.drawPath(Poly({{x, 62}, {x + 1.5, 67}, {x - 1.5, 67}}));
  } else if (rank == 12) {
    QPainterPath neck;
    neck.moveTo(39, 60);
    neck.quadTo(50, 74, 61, 60);
    QPen chain(c.Trim);
    chain.setCosmetic(true);
    chain.setWidthF(1.2);
    p.setPen(chain);
    p.setBrush(Qt::NoBrush);
    p.drawPath(neck);
    Fill(p, Ellipse(50, 68, 3, 3.4), c.Panel);
  } else {
    Fill(p, Poly({{31, 60}, {50, 60}, {41, 71}}), c.Panel);
    Fill(p, Poly({{50, 60}, {69, 60}, {59, 71}}), c.Panel);
  }
  // The left hand rests on the chest; the right arm holds the attribute.
  DrawArm(p, {{18, 70}, {20, 88}, {34, 90}}, c.Robe.darker(112), c.Trim);
  DrawArm(p, {{84, 70}, {84, 82}}, c.Robe.darker(112), c.Trim, false);
}

void DrawHead(QPainter& p, const TPalette& c, int rank) {
  // Hair behind the head.
  if (rank == 12) {
    QPainterPath hair;
    hair.moveTo(36, 30);
    hair.cubicTo(30, 44, 30, 58, 24, 68);
    hair.lineTo(40, 64);
    hair.lineTo(60, 64);
    hair.lineTo(76, 68);
    hair.cubicTo(70, 58, 70, 44, 64, 30);
    hair.closeSubpath();
    Fill(p, hair, c.Hair);
  } else {
    Fill(p, Ellipse(50, 35, 17, 16), c.Hair);
  }
  Fill(p, Poly({{45, 48}, {55, 48}, {55, 60}, {45, 60}}), Ink::Skin, false);
  Fill(p, Ellipse(50, 39, 13.5, 15.5), Ink::Skin);
  if (rank == 13) {
    // Beard and moustache.
    QPainterPath beard;
    beard.moveTo(37.5, 40);
    beard.cubicTo(38, 52, 44, 60, 50, 61);
    beard.cubicTo(56, 60, 62, 52, 62.5, 40);
    beard.cubicTo(58, 47, 55, 45, 50, 45);
    beard.cubicTo(45, 45, 42, 47, 37.5, 40);
    beard.closeSubpath();
    Fill(p, beard, c.Hair);
  }
  // Eyes, brows, mouth: kept to a pixel or so at card size, so drawn with device-sized pens.
  p.setPen(Qt::NoPen);
  p.setBrush(Ink::Black);
  p.drawEllipse(QPointF(45, 37.5), 1.9, 1.9);
  p.drawEllipse(QPointF(55, 37.5), 1.9, 1.9);
  QPen mouth(QColor(186, 40, 48));
  mouth.setCosmetic(true);
  mouth.setWidthF(1.0);
  p.setPen(mouth);
  p.drawLine(QPointF(47, rank == 13 ? 47 : 46.5), QPointF(53, rank == 13 ? 47 : 46.5));
  if (rank == 12) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 150, 150));
    p.drawEllipse(QPointF(42, 43), 2.2, 1.6);
    p.drawEllipse(QPointF(58, 43), 2.2, 1.6);
  }
}

void DrawHeadwear(QPainter& p, const TPalette& c, int rank) {
  if (rank == 13) {
    Fill(p, Poly({{34, 29}, {36, 8}, {43, 18}, {50, 4}, {57, 18}, {64, 8}, {66, 29}}), Ink::Gold);
    Fill(p, Poly({{34, 24}, {66, 24}, {66, 30}, {34, 30}}), Ink::Gold);
    p.setPen(Qt::NoPen);
    p.setBrush(c.Panel);
    p.drawEllipse(QPointF(50, 27), 2.4, 2.4);
    p.setBrush(QColor(200, 30, 42));
    p.drawEllipse(QPointF(41, 27), 1.8, 1.8);
    p.drawEllipse(QPointF(59, 27), 1.8, 1.8);
    p.setBrush(Ink::Paper);
    for (double x : {36.0, 50.0, 64.0}) p.drawEllipse(QPointF(x, x == 50 ? 4.5 : 8.5), 2, 2);
  } else if (rank == 12) {
    Fill(p, Poly({{38, 28}, {39, 16}, {44.5, 22}, {50, 12}, {55.5, 22}, {61, 16}, {62, 28}}), Ink::Gold);
    p.setPen(InkPen(0.6));
    p.setBrush(c.Panel);
    for (const QPointF& pt : {QPointF(39, 15), QPointF(50, 11), QPointF(61, 15)}) p.drawEllipse(pt, 2.4, 2.4);
  } else {
    // Beret with a gold band and a feather.
    QPainterPath feather;
    feather.moveTo(58, 22);
    feather.cubicTo(66, 10, 78, 4, 90, 6);
    feather.cubicTo(80, 12, 70, 18, 62, 26);
    feather.closeSubpath();
    Fill(p, feather, c.Trim);
    Fill(p, Ellipse(48, 22, 20, 8), c.Panel);
    Fill(p, Poly({{31, 25}, {67, 25}, {66, 30}, {32, 30}}), c.Trim);
  }
}

void DrawAttribute(QPainter& p, const TPalette& c, int rank) {
  if (rank == 13) {
    // Sword held upright at the right.
    Fill(p, Poly({{79, 4}, {82, 10}, {82, 76}, {76, 76}, {76, 10}}), kSteel);
    Fill(p, Poly({{70, 76}, {88, 76}, {88, 81}, {70, 81}}), Ink::Gold);
    Fill(p, Poly({{77.5, 81}, {80.5, 81}, {80.5, 94}, {77.5, 94}}), kWood);
    Fill(p, Ellipse(79, 86, 5, 4.5), Ink::Skin);
    Fill(p, Ellipse(79, 96, 3, 3), Ink::Gold);
  } else if (rank == 12) {
    // A flower on a leafy stem.
    QPen stem(kLeaf);
    stem.setCosmetic(true);
    stem.setWidthF(1.2);
    p.setPen(stem);
    p.drawLine(QPointF(80, 36), QPointF(78, 90));
    Fill(p, Poly({{79, 58}, {90, 50}, {86, 60}}), kLeaf);
    for (int i = 0; i < 5; ++i) {
      const double a = -M_PI / 2 + i * 2 * M_PI / 5;
      Fill(p, Ellipse(80 + 6 * std::cos(a), 30 + 6 * std::sin(a), 4.6, 4.6), c.Panel);
    }
    Fill(p, Ellipse(80, 30, 3.4, 3.4), Ink::Gold);
    Fill(p, Ellipse(78, 86, 5, 4.5), Ink::Skin);
  } else {
    // Halberd: pole, axe blade and spike.
    Fill(p, Poly({{80, 6}, {83, 6}, {83, 100}, {80, 100}}), kWood);
    Fill(p, Poly({{81.5, -2}, {84.5, 8}, {78.5, 8}}), kSteel);
    QPainterPath blade;
    blade.moveTo(83, 10);
    blade.cubicTo(92, 8, 97, 14, 97, 22);
    blade.cubicTo(93, 26, 88, 28, 83, 28);
    blade.closeSubpath();
    Fill(p, blade, kSteel);
    Fill(p, Poly({{80, 14}, {72, 18}, {80, 22}}), kSteel);
    Fill(p, Ellipse(81.5, 86, 5, 4.5), Ink::Skin);
  }
}

void DrawFigureHalf(QPainter& p, TArtSuit suit, int rank) {
  const TPalette c = PaletteFor(suit);
  DrawRobe(p, c, rank);
  DrawHead(p, c, rank);
  DrawHeadwear(p, c, rank);
  DrawAttribute(p, c, rank);
}

// The frame: filled, with a pixel-aligned ink line around it.
QRectF DrawFrame(QPainter& p, const QRect& frame, const QColor& fill, const QColor& line) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRect(frame);
  p.setPen(line);
  p.setBrush(Qt::NoBrush);
  p.drawRect(frame.adjusted(0, 0, -1, -1));
  p.restore();
  return QRectF(frame.adjusted(1, 1, -1, -1));
}

}  // namespace

void DrawCourt(QPainter& p, const TSetStyle& style, TArtSuit suit, int rank) {
  const TPalette c = PaletteFor(suit);
  const QRectF inner = DrawFrame(p, style.CourtFrame, kFrameFill, Ink::Black);
  const double half = inner.height() / 2.0;
  const QPointF centre = inner.center();
  for (int turn = 0; turn < 2; ++turn) {
    p.save();
    if (turn) {
      p.translate(centre);
      p.rotate(180);
      p.translate(-centre);
    }
    p.setClipRect(QRectF(inner.left(), inner.top(), inner.width(), half));
    p.translate(inner.left(), inner.top());
    p.scale(inner.width() / 100.0, half / 100.0);
    DrawFigureHalf(p, suit, rank);
    p.restore();
    // The suit of the card in the frame's corner, clear of the figure.
    p.save();
    if (turn) {
      p.translate(centre);
      p.rotate(180);
      p.translate(-centre);
    }
    const double h = style.PipHeight * 0.62;
    DrawSuit(p, suit, QPointF(inner.left() + h * 0.5 + 1.5, inner.top() + h * 0.5 + 1.5), h,
             SuitColour(suit));
    p.restore();
  }
  // The line where the two halves meet.
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(c.Trim.darker(130));
  const int y = int(std::floor(centre.y()));
  p.drawLine(QPoint(int(inner.left()), y), QPoint(int(inner.right()) - 1, y));
  p.restore();
}

// The jester's two motley colours and the gold of his bells.
struct TJesterInk {
  QColor A, B, Bell;
};

// Stars scattered in the background.
void DrawJesterStars(QPainter& p, const QColor& bell) {
  auto star = [&](double x, double y, double r) {
    QPainterPath s;
    for (int i = 0; i < 10; ++i) {
      const double an = -M_PI / 2 + i * M_PI / 5;
      const double rr = (i % 2) ? r * 0.42 : r;
      const QPointF pt(x + rr * std::cos(an), y + rr * std::sin(an));
      if (i == 0)
        s.moveTo(pt);
      else
        s.lineTo(pt);
    }
    s.closeSubpath();
    Fill(p, s, bell, false);
  };
  star(14, 14, 8);
  star(86, 20, 6);
  star(12, 150, 6);
  star(88, 156, 8);
}

// Body in harlequin lozenges.
void DrawJesterBody(QPainter& p, const TJesterInk& ink) {
  QPainterPath body;
  body.moveTo(22, 172);
  body.lineTo(26, 104);
  body.cubicTo(30, 92, 40, 88, 50, 88);
  body.cubicTo(60, 88, 70, 92, 74, 104);
  body.lineTo(78, 172);
  body.closeSubpath();
  Fill(p, body, ink.A);
  p.save();
  p.setClipPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(ink.B);
  for (int row = 0; row < 6; ++row)
    for (int col = -1; col < 6; ++col) {
      const double cx = 14 + col * 18 + (row % 2) * 9, cy = 96 + row * 14;
      p.drawPath(Poly({{cx, cy - 7}, {cx + 9, cy}, {cx, cy + 7}, {cx - 9, cy}}));
    }
  p.restore();
  p.setBrush(Qt::NoBrush);
  p.setPen(InkPen(0.8));
  p.drawPath(body);
}

// Marotte: a little stick with a head and bells, held up at the right.
void DrawJesterMarotte(QPainter& p, const TJesterInk& ink) {
  Fill(p, Poly({{79, 60}, {82, 60}, {80, 150}, {77, 150}}), kWood);
  Fill(p, Ellipse(80.5, 56, 7, 7), Ink::Skin);
  Fill(p, Poly({{73, 52}, {80.5, 40}, {88, 52}}), ink.B);
  Fill(p, Ellipse(80.5, 39, 2.6, 2.6), ink.Bell);
  Fill(p, Ellipse(80, 122, 6, 5), Ink::Skin);
}

void DrawJesterRuff(QPainter& p) {
  QPainterPath ruff;
  ruff.moveTo(26, 84);
  for (int i = 0; i <= 12; ++i) ruff.lineTo(26 + i * 4, (i % 2) ? 98 : 86);
  ruff.lineTo(74, 84);
  ruff.closeSubpath();
  Fill(p, ruff, Ink::Paper);
}

// Head and grin.
void DrawJesterHead(QPainter& p) {
  Fill(p, Ellipse(50, 70, 14, 15), Ink::Skin);
  p.setPen(Qt::NoPen);
  p.setBrush(Ink::Black);
  p.drawEllipse(QPointF(44.5, 67), 2.2, 2.2);
  p.drawEllipse(QPointF(55.5, 67), 2.2, 2.2);
  p.setBrush(QColor(226, 120, 120));
  p.drawEllipse(QPointF(38.5, 74), 3, 2.2);
  p.drawEllipse(QPointF(61.5, 74), 3, 2.2);
  QPainterPath grin;
  grin.moveTo(43, 75);
  grin.quadTo(50, 83, 57, 75);
  QPen mouth(QColor(176, 30, 40));
  mouth.setCosmetic(true);
  mouth.setWidthF(1.1);
  p.setPen(mouth);
  p.setBrush(Qt::NoBrush);
  p.drawPath(grin);
}

// Cap with three floppy points and bells.
void DrawJesterCap(QPainter& p, const TJesterInk& ink) {
  QPainterPath left;
  left.moveTo(36, 62);
  left.cubicTo(26, 52, 14, 48, 6, 58);
  left.cubicTo(16, 44, 30, 36, 46, 46);
  left.closeSubpath();
  QPainterPath right;
  right.moveTo(64, 62);
  right.cubicTo(74, 52, 86, 48, 94, 58);
  right.cubicTo(84, 44, 70, 36, 54, 46);
  right.closeSubpath();
  QPainterPath middle;
  middle.moveTo(38, 58);
  middle.cubicTo(38, 40, 44, 24, 56, 16);
  middle.cubicTo(56, 30, 62, 44, 62, 58);
  middle.closeSubpath();
  Fill(p, left, ink.B);
  Fill(p, right, ink.B);
  Fill(p, middle, ink.A);
  Fill(p, Poly({{35, 56}, {65, 56}, {66, 62}, {34, 62}}), ink.Bell);
  Fill(p, Ellipse(6, 59, 3.4, 3.4), ink.Bell);
  Fill(p, Ellipse(94, 59, 3.4, 3.4), ink.Bell);
  Fill(p, Ellipse(56.5, 15, 3.4, 3.4), ink.Bell);
}

void DrawJester(QPainter& p, const TSetStyle& style, int number) {
  const bool colourful = number == 1;
  const TJesterInk ink{colourful ? QColor(204, 36, 46) : QColor(44, 48, 64),
                       colourful ? QColor(34, 128, 76) : QColor(122, 64, 160), Ink::Gold};
  const QRectF inner = DrawFrame(p, style.CourtFrame, kFrameFill, Ink::Black);
  p.save();
  p.setClipRect(inner);
  // Uniform units: 100 across the frame, as many down as the frame's proportions give.
  const double unit = inner.width() / 100.0;
  const double tall = inner.height() / unit;
  p.translate(inner.left(), inner.top() + (tall - 170) / 2 * unit);
  p.scale(unit, unit);
  DrawJesterStars(p, ink.Bell);
  DrawJesterBody(p, ink);
  DrawJesterMarotte(p, ink);
  DrawJesterRuff(p);
  DrawJesterHead(p);
  DrawJesterCap(p, ink);
  p.restore();
}
