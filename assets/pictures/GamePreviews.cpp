// The game previews: every picture number of the catalogue shown by the first game that uses it,
// dealt by the play engine on a table of the generated "Standard" cards with a fixed seed, cut
// to what the deal covers and scaled to the preview size.

#include <QDir>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>
#include <map>
#include <stdexcept>

#include "assets/pictures/Pictures.h"
#include "cardtable/CardTable.h"
#include "patience/catalogue/Catalogue.h"
#include "patience/catalogue/GameStart.h"
#include "patience/engine/PatienceEngine.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"

namespace {

constexpr TColor kFelt = 0x2A6A1E;  // $BBGGRR: a deep green
constexpr int kTableWidth = 1280, kTableHeight = 900;
constexpr int kMargin = 14;

// The part of the table the deal covers: every pixel that is not the bare felt, with a margin,
// widened to the preview's proportions.
QRect CoveredArea(const QImage& table, QRgb felt) {
  int left = table.width(), top = table.height(), right = -1, bottom = -1;
  for (int y = 0; y < table.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(table.constScanLine(y));
    for (int x = 0; x < table.width(); ++x)
      if ((row[x] & 0xFFFFFF) != (felt & 0xFFFFFF)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  }
  if (right < 0) return QRect(0, 0, kPreviewWidth, kPreviewHeight);
  QRect r(QPoint(left - kMargin, top - kMargin), QPoint(right + kMargin, bottom + kMargin));
  // Widen the short side about the centre.
  const double aspect = double(kPreviewWidth) / kPreviewHeight;
  if (r.width() < r.height() * aspect) {
    const int w = int(std::lround(r.height() * aspect));
    r.setLeft(r.center().x() - w / 2);
    r.setWidth(w);
  } else {
    const int h = int(std::lround(r.width() / aspect));
    r.setTop(r.center().y() - h / 2);
    r.setHeight(h);
  }
  // Never smaller than the preview itself (small deals would be blown up).
  if (r.width() < kPreviewWidth)
    r = QRect(r.center().x() - kPreviewWidth / 2, r.center().y() - kPreviewHeight / 2, kPreviewWidth,
              kPreviewHeight);
  return r;
}

// The cut, scaled, with the edges a little darker so the picture reads as a table.
QImage Finish(const QImage& table, const QRect& area, QRgb felt) {
  QImage out(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
  out.fill(felt);
  {
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(0, 0, kPreviewWidth, kPreviewHeight), table, area);
    QRadialGradient shade(QPointF(kPreviewWidth / 2.0, kPreviewHeight / 2.0), kPreviewWidth * 0.7);
    shade.setColorAt(0.55, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 0, 90));
    p.fillRect(out.rect(), shade);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawRect(out.rect().adjusted(0, 0, -1, -1));
  }
  return out;
}

}  // namespace

int WriteGamePreviews(const std::string& programDir, const std::string& cardsetsDir) {
  const std::string folder = PathJoin(programDir, "GameImages");
  if (!ForceDirectories(folder)) throw std::runtime_error("cannot create " + folder);

  // The first game of every picture number.
  std::map<int, TGameRef> games;
  for (const TGameRef& g : AllGames()) games.emplace(GameDefinition(g).Picture, g);

  // Deals take no time on a virtual clock.
  TVirtualClock clock;
  TScopedClock scoped(clock);
  TCardTable table(nullptr, cardsetsDir);
  table.SetBounds(0, 0, kTableWidth, kTableHeight);
  table.ApplyBounds(0, 0, kTableWidth, kTableHeight);
  table.SetColor(kFelt);
  const QRgb felt = qRgb(kFelt & 0xFF, (kFelt >> 8) & 0xFF, (kFelt >> 16) & 0xFF);

  int written = 0;
  for (const auto& [picture, ref] : games) {
    // A fresh engine per game, so every deal starts from the same state.
    TPatienceEngine engine(table);
    engine.SetRandomSeed(uint32_t(20090 + picture));
    if (!engine.ChooseGame(CatalogueGame(ref))) throw std::runtime_error("cannot deal " + GameCaption(ref));
    const QImage shot = table.Buffer.ToQImage().convertToFormat(QImage::Format_RGB32);
    const QImage preview = Finish(shot, CoveredArea(shot, felt), felt);
    const std::string file = PathJoin(folder, std::to_string(picture) + ".jpg");
    if (!preview.save(QString::fromStdString(file), "JPG", 88))
      throw std::runtime_error("cannot write " + file);
    ++written;
  }
  return written;
}
