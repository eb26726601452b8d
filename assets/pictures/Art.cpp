// The start screen's strip, the slide show's panels, the window's backdrop and the information
// panel: gradients, suit symbols and cards of the generated set, drawn with QPainter.

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <stdexcept>

#include "assets/cardsets/Suits.h"
#include "assets/pictures/Pictures.h"
#include "platform/core/Files.h"

namespace {

QImage Loaded(const std::string& path) {
  QImage img(QString::fromStdString(path));
  if (img.isNull()) throw std::runtime_error("cannot read " + path);
  return img.convertToFormat(QImage::Format_ARGB32);
}

// A card turned by angle degrees about its centre, drawn with its centre at c and h pixels high.
void DrawCard(QPainter& p, const QImage& card, QPointF c, double h, double angle) {
  const double w = h * card.width() / card.height();
  p.save();
  p.translate(c);
  p.rotate(angle);
  // A soft shadow first.
  for (int i = 3; i >= 1; --i) {
    QPainterPath shadow;
    shadow.addRoundedRect(QRectF(-w / 2 + i * 1.5, -h / 2 + i * 2.0, w, h), w * 0.08, w * 0.08);
    p.fillPath(shadow, QColor(0, 0, 0, 28));
  }
  p.drawImage(QRectF(-w / 2, -h / 2, w, h), card);
  p.restore();
}

// A scattering of faint suit symbols over r in rows, each row shifted by half a step.
void SuitPattern(QPainter& p, const QRectF& r, double step, double size, const QColor& colour) {
  int row = 0;
  for (double y = r.top(); y < r.bottom() + step; y += step * 0.8660254, ++row) {
    int k = row;
    for (double x = r.left() + (row % 2 ? step / 2 : 0); x < r.right() + step; x += step, ++k)
      DrawSuit(p, TArtSuit(k % 4), QPointF(x, y), size, colour);
  }
}

QFont TitleFont(int pixels, bool italic) {
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(pixels);
  f.setBold(true);
  f.setItalic(italic);
  return f;
}

// Text with a dark shadow under it.
void ShadowedText(QPainter& p, const QRectF& r, int flags, const QString& text, const QColor& colour) {
  p.setPen(QColor(0, 0, 0, 150));
  p.drawText(r.translated(2, 2), flags, text);
  p.setPen(colour);
  p.drawText(r, flags, text);
}

}  // namespace

QImage LoadCard(const std::string& setDir, const std::string& name) {
  QImage face = Loaded(PathJoin(setDir, name + ".bmp"));
  const QImage mask = Loaded(PathJoin(setDir, "CardMask.bmp"));
  for (int y = 0; y < face.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(face.scanLine(y));
    for (int x = 0; x < face.width(); ++x) {
      const bool inside = x < mask.width() && y < mask.height() && qGray(mask.pixel(x, y)) < 128;
      if (!inside) row[x] = 0;
    }
  }
  return face;
}

QImage DrawStrip(const std::string& setDir) {
  QImage img(2 * kStripFrameWidth, kStripHeight, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  for (int frame = 0; frame < 2; ++frame) {
    const QRectF r(frame * kStripFrameWidth, 0, kStripFrameWidth, kStripHeight);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, frame == 0 ? QColor(24, 44, 86) : QColor(20, 70, 60));
    g.setColorAt(1, frame == 0 ? QColor(8, 16, 40) : QColor(8, 30, 28));
    p.fillRect(r, g);
    p.save();
    p.setClipRect(r);
    SuitPattern(p, r, 34, 12, QColor(255, 255, 255, 16));
    p.restore();
  }
  // Frame 1: a fan of the four aces and the title.
  const char* aces[] = {"01c", "01d", "01h", "01s"};
  for (int i = 0; i < 4; ++i)
    DrawCard(p, LoadCard(setDir, aces[i]), QPointF(62 + i * 17, 80 + std::abs(i - 1.5) * 4), 104,
             -27 + i * 18);
  p.setFont(TitleFont(46, true));
  ShadowedText(p, QRectF(150, 18, 245, 70), Qt::AlignCenter, QStringLiteral("Patience"),
               QColor(250, 214, 120));
  QFont small = TitleFont(15, false);
  small.setBold(false);
  p.setFont(small);
  ShadowedText(p, QRectF(150, 84, 245, 24), Qt::AlignCenter, QStringLiteral("a table of card games"),
               QColor(226, 232, 244));
  p.setPen(QPen(QColor(250, 214, 120, 160), 1.2));
  p.drawLine(QPointF(190, 112), QPointF(355, 112));
  // Frame 2 (the program draws over it): a quiet echo of frame 1.
  p.setFont(TitleFont(40, true));
  ShadowedText(p, QRectF(kStripFrameWidth, 0, kStripFrameWidth, kStripHeight), Qt::AlignCenter,
               QStringLiteral("Deal again"), QColor(200, 236, 214));
  return img;
}

QImage DrawSlides(const std::string& setDir) {
  QImage img(kSlidePanels * kSlidePanelWidth, kSlideHeight, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  const QColor hues[kSlidePanels] = {{150, 30, 40}, {30, 60, 140},  {20, 110, 70}, {120, 40, 130},
                                     {170, 90, 20}, {20, 100, 120}, {90, 20, 60},  {40, 40, 60}};
  const char* courts[kSlidePanels] = {"13h", "12s", "11d", "13c", "01h", "12d", "11s", "01s"};
  const char* words[kSlidePanels] = {"Well", "played!", "Every", "card", "home", "in", "its", "place"};
  for (int i = 0; i < kSlidePanels; ++i) {
    const QRectF r(i * kSlidePanelWidth, 0, kSlidePanelWidth, kSlideHeight);
    QRadialGradient g(r.center() - QPointF(0, 60), kSlideHeight * 0.75);
    g.setColorAt(0, hues[i].lighter(170));
    g.setColorAt(0.5, hues[i]);
    g.setColorAt(1, hues[i].darker(260));
    p.fillRect(r, g);
    p.save();
    p.setClipRect(r);
    SuitPattern(p, r, 46, 16, QColor(255, 255, 255, 22));
    // Rays behind the card.
    p.translate(r.center() - QPointF(0, 40));
    for (int k = 0; k < 16; ++k) {
      p.rotate(360.0 / 16);
      QPainterPath ray;
      ray.moveTo(0, 0);
      ray.lineTo(-14, -300);
      ray.lineTo(14, -300);
      ray.closeSubpath();
      p.fillPath(ray, QColor(255, 255, 255, 14));
    }
    p.restore();
    DrawCard(p, LoadCard(setDir, courts[i]), r.center() - QPointF(0, 40), 250, i % 2 ? 8 : -8);
    p.setFont(TitleFont(44, true));
    ShadowedText(p, QRectF(r.left(), 380, r.width(), 70), Qt::AlignCenter, QString::fromLatin1(words[i]),
                 QColor(255, 228, 150));
  }
  return img;
}

QImage DrawBackdrop() {
  QImage img(kBackdropWidth, kBackdropHeight, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHints(QPainter::Antialiasing);
  QLinearGradient g(0, 0, kBackdropWidth, kBackdropHeight);
  g.setColorAt(0, QColor(18, 74, 92));
  g.setColorAt(0.55, QColor(14, 46, 70));
  g.setColorAt(1, QColor(10, 22, 44));
  p.fillRect(img.rect(), g);
  QRadialGradient light(QPointF(kBackdropWidth * 0.3, kBackdropHeight * 0.25), kBackdropWidth * 0.6);
  light.setColorAt(0, QColor(120, 200, 210, 60));
  light.setColorAt(1, QColor(120, 200, 210, 0));
  p.fillRect(img.rect(), light);
  SuitPattern(p, QRectF(img.rect()), 90, 26, QColor(255, 255, 255, 12));
  return img;
}

QImage DrawInfoPanel(const std::string& setDir) {
  QImage img(kInfoWidth, kInfoHeight, QImage::Format_RGB32);
  img.fill(QColor(40, 40, 40));
  QPainter p(&img);
  p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
  const QRectF outer(2, 2, kInfoWidth - 4, kInfoHeight - 4);
  QLinearGradient g(outer.topLeft(), outer.bottomLeft());
  g.setColorAt(0, QColor(34, 84, 120));
  g.setColorAt(0.5, QColor(22, 56, 86));
  g.setColorAt(1, QColor(22, 56, 86));
  QPainterPath frame;
  frame.addRoundedRect(outer, 14, 14);
  p.fillPath(frame, g);
  p.setPen(QPen(QColor(250, 214, 120), 2));
  p.drawPath(frame);
  // The title and three piles: the stock, the waste and the reserve.
  p.setFont(TitleFont(26, true));
  ShadowedText(p, QRectF(0, 14, kInfoWidth, 40), Qt::AlignCenter, QStringLiteral("Information"),
               QColor(250, 214, 120));
  const QImage back = LoadCard(setDir, "Back1");
  for (int i = 0; i < 4; ++i) DrawCard(p, back, QPointF(70 + i * 2, 140 - i * 2), 110, 0);
  DrawCard(p, LoadCard(setDir, "09d"), QPointF(150, 140), 110, -10);
  DrawCard(p, LoadCard(setDir, "12s"), QPointF(172, 138), 110, 4);
  DrawCard(p, LoadCard(setDir, "07h"), QPointF(252, 140), 110, 8);
  QFont label = TitleFont(13, false);
  label.setBold(false);
  p.setFont(label);
  ShadowedText(p, QRectF(20, 200, 100, 24), Qt::AlignCenter, QStringLiteral("stock"), QColor(226, 232, 244));
  ShadowedText(p, QRectF(110, 200, 100, 24), Qt::AlignCenter, QStringLiteral("waste"), QColor(226, 232, 244));
  ShadowedText(p, QRectF(202, 200, 100, 24), Qt::AlignCenter, QStringLiteral("reserve"),
               QColor(226, 232, 244));
  // The light field the counts are written on.
  QPainterPath field;
  field.addRoundedRect(QRectF(12, 248, kInfoWidth - 24, kInfoHeight - 262), 10, 10);
  p.fillPath(field, QColor(246, 240, 222));
  p.setPen(QPen(QColor(180, 160, 110), 1));
  p.drawPath(field);
  return img;
}
