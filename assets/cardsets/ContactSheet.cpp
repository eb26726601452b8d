// A contact sheet of a card set as it looks on the table: every face, joker and back composed
// with the card mask (AND) and the picture (OR) on green cloth, the markers ANDed onto the cloth,
// and one card with its drag shadow; once at natural size and once enlarged by nearest-neighbour
// sampling the way the table scales a set.
#include "assets/cardsets/ContactSheet.h"

#include <QFont>
#include <QPainter>
#include <cmath>
#include <map>

#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"

namespace {

const QColor kCloth(0, 128, 0);

QImage Load(const std::string& dir, const std::string& name) {
  const std::string path = PathJoin(dir, name);
  if (!FileExists(path)) return {};
  TBitmap bmp;
  LoadBmpFile(ResolvePath(path), bmp);
  return bmp.ToQImage().convertToFormat(QImage::Format_RGB32);
}

int Scaled(int v, double scale) {
  return int(std::nearbyint(v * scale));
}

QImage Scale(const QImage& img, double scale) {
  if (img.isNull() || scale == 1.0) return img;
  return img.scaled(Scaled(img.width(), scale), Scaled(img.height(), scale), Qt::IgnoreAspectRatio,
                    Qt::FastTransformation);
}

// dst = (dst AND andPic) OR orPic, at (x, y); either picture may be null.
void Combine(QImage& dst, int x, int y, const QImage& andPic, const QImage& orPic) {
  const QImage& ref = andPic.isNull() ? orPic : andPic;
  for (int j = 0; j < ref.height(); ++j) {
    if (y + j < 0 || y + j >= dst.height()) continue;
    QRgb* row = reinterpret_cast<QRgb*>(dst.scanLine(y + j));
    for (int i = 0; i < ref.width(); ++i) {
      if (x + i < 0 || x + i >= dst.width()) continue;
      QRgb d = row[x + i];
      if (!andPic.isNull()) d &= andPic.pixel(i, j);
      if (!orPic.isNull()) d |= orPic.pixel(i, j);
      row[x + i] = d | 0xFF000000u;
    }
  }
}

struct TSet {
  std::map<std::string, QImage> Pics;
  const QImage& operator[](const std::string& n) const {
    static const QImage none;
    auto it = Pics.find(n);
    return it == Pics.end() ? none : it->second;
  }
};

int DrawSection(QPainter& label, QImage& sheet, const TSet& set, double scale, int top,
                const QString& title) {
  const QImage mask = Scale(set["CardMask.bmp"], scale);
  const int w = mask.width(), h = mask.height(), gap = 8;
  label.drawText(QPoint(8, top + 14), title + QStringLiteral(": %1 x %2").arg(w).arg(h));
  int y = top + 22;
  auto card = [&](int col, int row, const QImage& face) {
    if (!face.isNull()) Combine(sheet, 8 + col * (w + gap), y + row * (h + gap), mask, Scale(face, scale));
  };
  const char* suits = "cshd";
  for (int s = 0; s < 4; ++s)
    for (int v = 1; v <= 13; ++v)
      card(v - 1, s, set[QString::asprintf("%02d%c.bmp", v, suits[s]).toStdString()]);
  card(0, 4, set["01joker.bmp"]);
  card(1, 4, set["02joker.bmp"]);
  for (int b = 1; b <= 9; ++b) card(b + 2, 4, set["Back" + std::to_string(b) + ".bmp"]);
  int col = 0;
  for (const char* n : {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp", "Bottom05.bmp", "Bottom06.bmp",
                        "Bottom07.bmp", "Shade.bmp", "Shadow02.bmp"}) {
    const QImage pic = Scale(set[n], scale);
    if (!pic.isNull()) Combine(sheet, 8 + col * (w + gap), y + 5 * (h + gap), pic, QImage());
    ++col;
  }
  // A card with its drag shadow: right strip at (W, s), bottom strip at (s, H).
  const QImage right = Scale(set["Shadow01.bmp"], scale), bottom = Scale(set["Shadow00.bmp"], scale);
  const int x0 = 8 + col * (w + gap), y0 = y + 5 * (h + gap) - right.width();
  const int s = right.width();
  Combine(sheet, x0 + w, y0 + s, right, QImage());
  Combine(sheet, x0 + s, y0 + right.height() + s, bottom, QImage());
  Combine(sheet, x0, y0, mask, Scale(set["01h.bmp"], scale));
  return y + 6 * (h + gap) + s;
}

}  // namespace

QImage MakeContactSheet(const std::string& setDir, double enlarged) {
  TSet set;
  for (const std::string& name : ListFiles(setDir)) {
    if (name.size() > 4 && name.substr(name.size() - 4) == ".bmp") set.Pics[name] = Load(setDir, name);
  }
  const QImage& mask = set["CardMask.bmp"];
  if (mask.isNull()) return {};
  const int big = Scaled(mask.width(), enlarged), bigH = Scaled(mask.height(), enlarged);
  const int width = 16 + 13 * (big + 8);
  const int height = 60 + 6 * (mask.height() + 8) + 6 * (bigH + 8) + 40;
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(kCloth);
  QPainter label(&sheet);
  label.setPen(Qt::white);
  QFont font("DejaVu Sans");
  font.setPixelSize(12);
  label.setFont(font);
  const QString name = QString::fromStdString(ExtractFileName(setDir));
  int y = DrawSection(label, sheet, set, 1.0, 0, name + " step 0");
  DrawSection(label, sheet, set, enlarged, y + 10, name + QStringLiteral(" scale %1").arg(enlarged));
  return sheet;
}
