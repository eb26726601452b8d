// Set proportions, the card shape, corner indices, pip layouts and the finished faces.
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "assets/cardsets/CardArt.h"

TSetStyle StandardStyle() {
  TSetStyle s;
  s.Name = "Standard";
  s.W = 71;
  s.H = 96;
  s.Shadow = 4;
  s.Radius = 5.5;
  s.IndexBox = QRect(2, 4, 11, 24);
  s.FourIndices = false;
  s.RankHeight = 9;
  s.IndexSuit = 8;
  s.PipHeight = 12;
  s.ColX[0] = 21;
  s.ColX[1] = 35.5;
  s.ColX[2] = 50;
  s.RowTop = 16;
  s.AceHeight = 30;
  s.CourtFrame = QRect(14, 9, 43, 78);
  s.BackCount = 9;
  s.BackMargin = 4;
  s.WriteShadow02 = false;
  return s;
}

// The card-set maker's template: the corner indices sit in the 13 x 29 boxes the maker copies,
// and the court frame is the rectangle its bordered faces paste their picture into.
TSetStyle TemplateStyle() {
  TSetStyle s;
  s.Name = "C_1";
  s.W = 89;
  s.H = 123;
  s.Shadow = 4;
  s.Radius = 6;
  s.IndexBox = QRect(3, 4, 13, 29);
  s.FourIndices = true;
  s.RankHeight = 11;
  s.IndexSuit = 10;
  s.PipHeight = 15;
  s.ColX[0] = 27.5;
  s.ColX[1] = 44.5;
  s.ColX[2] = 61.5;
  s.RowTop = 24;
  s.AceHeight = 38;
  s.CourtFrame = QRect(16, 14, 57, 95);
  s.BackCount = 3;
  s.BackMargin = 5;
  s.WriteShadow02 = true;
  return s;
}

TCardShape::TCardShape(int width, int height, double radius)
    : FWidth(width), FHeight(height), FIn(size_t(width) * height, 0) {
  constexpr int kSub = 4;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSub; ++sy)
        for (int sx = 0; sx < kSub; ++sx) {
          const double px = x + (sx + 0.5) / kSub, py = y + (sy + 0.5) / kSub;
          const double cx = std::clamp(px, radius, width - radius);
          const double cy = std::clamp(py, radius, height - radius);
          if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius) ++hits;
        }
      FIn[size_t(y) * width + x] = hits * 2 >= kSub * kSub;
    }
}

bool TCardShape::Edge(int x, int y) const {
  if (!Inside(x, y)) return false;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (!Inside(x + dx, y + dy)) return true;
  return false;
}

QImage BlankCard(const TSetStyle& style) {
  QImage img(style.W, style.H, QImage::Format_RGB32);
  img.fill(Ink::Paper);
  return img;
}

void FinishCard(QImage& img, const TCardShape& shape) {
  const QRgb outline = Ink::Outline.rgb();
  for (int y = 0; y < img.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      if (!shape.Inside(x, y))
        row[x] = qRgb(0, 0, 0);
      else if (shape.Edge(x, y))
        row[x] = outline;
      else if ((row[x] & 0xFFFFFF) == 0)
        row[x] = Ink::Black.rgb();  // black would turn into a hole where the card is keyed
    }
  }
}

namespace {

QString RankText(int rank) {
  static const char* names[] = {"", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
  return QString::fromLatin1(names[rank]);
}

// Draws text with its ink box centred on x and its cap line at top, the cap height filling
// capHeight pixels; squeezed horizontally when wider than maxWidth.
void DrawIndexText(QPainter& p, const QString& text, double x, double top, double capHeight, double maxWidth,
                   const QColor& colour) {
  QFont font("DejaVu Sans");
  font.setBold(true);
  // Two-character ranks use the condensed cut, set tight.
  if (text.size() > 1) {
    font.setStretch(QFont::Condensed);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -1);
  }
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setPixelSize(int(std::lround(capHeight / 0.729)));
  const QFontMetricsF fm(font);
  const QRectF ink = fm.tightBoundingRect(QStringLiteral("H"));
  const QRectF box = fm.tightBoundingRect(text);
  double sx = 1.0;
  if (box.width() > maxWidth) sx = maxWidth / box.width();
  // Letters that reach below the baseline (J, Q) are set a little shorter so that every rank
  // ends on the same line above the suit symbol.
  const double capTop = std::round(top - ink.top()) + ink.top();
  double sy = 1.0;
  if (box.bottom() > 0.5) sy = (-ink.top()) / (box.bottom() - ink.top());
  p.save();
  p.setFont(font);
  p.setPen(colour);
  // Cap line on a pixel boundary, ink centred on whole pixels.
  const double left = std::round(x - box.width() * sx / 2.0) - box.left() * sx;
  p.translate(left, capTop - ink.top() * sy);
  p.scale(sx, sy);
  p.drawText(QPointF(0, 0), text);
  p.restore();
}

void DrawStar(QPainter& p, QPointF centre, double radius, const QColor& colour) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double r = (i % 2) ? radius * 0.42 : radius;
    const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
    if (i == 0)
      star.moveTo(pt);
    else
      star.lineTo(pt);
  }
  star.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(star);
}

struct TPip {
  int Col;
  double Row;  // 0 = top row .. 1 = bottom row
};

std::vector<TPip> PipLayout(int rank) {
  const double t = 1.0 / 3, s = 1.0 / 6;
  switch (rank) {
    case 2:
      return {{1, 0}, {1, 1}};
    case 3:
      return {{1, 0}, {1, 0.5}, {1, 1}};
    case 4:
      return {{0, 0}, {2, 0}, {0, 1}, {2, 1}};
    case 5:
      return {{0, 0}, {2, 0}, {1, 0.5}, {0, 1}, {2, 1}};
    case 6:
      return {{0, 0}, {2, 0}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}};
    case 7:
      return {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {0, 1}, {2, 1}};
    case 8:
      return {{0, 0}, {2, 0}, {1, 0.25}, {0, 0.5}, {2, 0.5}, {1, 0.75}, {0, 1}, {2, 1}};
    case 9:
      return {{0, 0}, {2, 0}, {0, t}, {2, t}, {1, 0.5}, {0, 2 * t}, {2, 2 * t}, {0, 1}, {2, 1}};
    case 10:
      return {{0, 0}, {2, 0}, {1, s}, {0, t}, {2, t}, {0, 2 * t}, {2, 2 * t}, {1, 1 - s}, {0, 1}, {2, 1}};
    default:
      return {};
  }
}

void DrawPips(QPainter& p, const TSetStyle& style, TArtSuit suit, int rank) {
  const double span = style.H - 2 * style.RowTop;
  for (const TPip& pip : PipLayout(rank)) {
    const QPointF c(style.ColX[pip.Col], style.RowTop + pip.Row * span);
    DrawSuit(p, suit, c, style.PipHeight, SuitColour(suit), pip.Row > 0.5);
  }
}

void DrawAce(QPainter& p, const TSetStyle& style, TArtSuit suit) {
  const QPointF c(style.W / 2.0, style.H / 2.0);
  if (suit == TArtSuit::Spades) {
    // The ace of spades gets the grand treatment: a larger pip with an inlaid contour and a
    // small ornament of four dots around it.
    const double h = style.AceHeight * 1.35;
    DrawSuit(p, suit, c, h, Ink::Black);
    p.save();
    p.translate(c);
    p.scale(h / 2.0 * 0.78, h / 2.0 * 0.78);
    p.translate(0, 0.06);
    QPen pen(Ink::Paper);
    pen.setWidthF(1.1 / (h / 2.0 * 0.78));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(SuitPath(suit));
    p.restore();
    DrawSuit(p, TArtSuit::Diamonds, QPointF(c.x(), c.y() + h * 0.05), h * 0.18, Ink::Red);
    const double d = h * 0.62;
    for (int i = 0; i < 4; ++i) {
      const double a = i * M_PI / 2;
      p.setPen(Qt::NoPen);
      p.setBrush(Ink::Black);
      p.drawEllipse(QPointF(c.x() + d * std::cos(a), c.y() + d * std::sin(a) * 1.15), 1.3, 1.3);
    }
  } else {
    DrawSuit(p, suit, c, style.AceHeight, SuitColour(suit));
  }
}

}  // namespace

QImage DrawIndex(const TSetStyle& style, TArtSuit suit, int rank) {
  QImage img(style.IndexBox.size(), QImage::Format_RGB32);
  img.fill(Ink::Paper);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const double cx = img.width() / 2.0;
  const QColor& colour = SuitColour(suit);
  // The template's index keeps a blank rim inside its box, since the maker copies the box as such.
  const double top = style.FourIndices ? 2 : 1;
  DrawIndexText(p, RankText(rank), cx, top, style.RankHeight, img.width() - (style.FourIndices ? 2 : 0),
                colour);
  const double suitTop = top + style.RankHeight + (style.FourIndices ? 3 : 2);
  DrawSuit(p, suit, QPointF(cx, suitTop + style.IndexSuit / 2.0), style.IndexSuit, colour);
  return img;
}

QImage DrawJokerIndex(const TSetStyle& style, int number) {
  QImage img(style.IndexBox.size(), QImage::Format_RGB32);
  img.fill(Ink::Paper);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor& colour = number == 1 ? Ink::Red : Ink::Black;
  const double cx = img.width() / 2.0;
  const double r = (img.width() - 2) / 2.0;
  DrawStar(p, QPointF(cx, 1 + r), r, colour);
  const double top = 1 + 2 * r + 2;
  // A small jester's cap under the star.
  const double w = img.width() - 3, h = std::min(style.IndexSuit, img.height() - top - 2);
  QPainterPath cap;
  const double l = cx - w / 2, b = top + h;
  cap.moveTo(l + w * 0.15, b);
  cap.lineTo(l, top + h * 0.15);
  cap.lineTo(l + w * 0.32, top + h * 0.5);
  cap.lineTo(cx, top);
  cap.lineTo(l + w * 0.68, top + h * 0.5);
  cap.lineTo(l + w, top + h * 0.15);
  cap.lineTo(l + w * 0.85, b);
  cap.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(cap);
  return img;
}

void PlaceIndices(QImage& card, const TSetStyle& style, const QImage& index) {
  const QRect box = style.IndexBox;
  const QImage turned = index.transformed(QTransform().rotate(180));
  QPainter p(&card);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(box.topLeft(), index);
  p.drawImage(QPoint(style.W - box.left() - box.width(), style.H - box.top() - box.height()), turned);
  if (style.FourIndices) {
    p.drawImage(QPoint(style.W - box.left() - box.width(), box.top()), index);
    p.drawImage(QPoint(box.left(), style.H - box.top() - box.height()), turned);
  }
}

QImage DrawFace(const TSetStyle& style, const TCardShape& shape, TArtSuit suit, int rank) {
  QImage img = BlankCard(style);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (rank == 1)
      DrawAce(p, style, suit);
    else if (rank <= 10)
      DrawPips(p, style, suit, rank);
    else
      DrawCourt(p, style, suit, rank);
  }
  PlaceIndices(img, style, DrawIndex(style, suit, rank));
  FinishCard(img, shape);
  return img;
}

QImage DrawJoker(const TSetStyle& style, const TCardShape& shape, int number) {
  QImage img = BlankCard(style);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    DrawJester(p, style, number);
  }
  PlaceIndices(img, style, DrawJokerIndex(style, number));
  FinishCard(img, shape);
  return img;
}
