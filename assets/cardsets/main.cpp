// cardsetgen: draws the card sets that ship with the programs.
//
//   cardsetgen <Cardsets folder>                 writes the sets "Standard" and "C_1" into it
//   cardsetgen --sheet <set folder> <out.png> [scale]
//                                                lays a set out on a contact sheet for viewing
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <string>

#include "assets/cardsets/CardArt.h"
#include "assets/cardsets/ContactSheet.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"

namespace {

void Save(const std::string& dir, const std::string& name, const QImage& img) {
  TBitmap bmp;
  bmp.FromQImage(img);
  SaveBmp24(PathJoin(dir, name), bmp);
}

void WriteSet(const std::string& root, const TSetStyle& style) {
  const std::string dir = PathJoin(root, style.Name);
  if (!ForceDirectories(dir)) throw std::runtime_error("cannot create " + dir);
  const TCardShape shape(style.W, style.H, style.Radius);
  const char suitLetters[4] = {'c', 'd', 'h', 's'};
  for (int s = 0; s < 4; ++s)
    for (int rank = 1; rank <= 13; ++rank) {
      char name[32];
      std::snprintf(name, sizeof name, "%02d%c.bmp", rank, suitLetters[s]);
      Save(dir, name, DrawFace(style, shape, TArtSuit(s), rank));
    }
  Save(dir, "01joker.bmp", DrawJoker(style, shape, 1));
  Save(dir, "02joker.bmp", DrawJoker(style, shape, 2));
  for (int b = 1; b <= style.BackCount; ++b)
    Save(dir, "Back" + std::to_string(b) + ".bmp", DrawBack(style, shape, b));
  Save(dir, "CardMask.bmp", DrawCardMask(shape));
  for (int kind : {1, 2, 4, 5, 6, 7})
    Save(dir, "Bottom0" + std::to_string(kind) + ".bmp", DrawBottom(style, shape, kind));
  const QImage shade = DrawShade(style, shape);
  Save(dir, "Shade.bmp", shade);
  if (style.WriteShadow02) Save(dir, "Shadow02.bmp", shade);
  for (int strip = 0; strip < 2; ++strip) {
    const std::string base = "Shadow0" + std::to_string(strip);
    Save(dir, base + ".bmp", DrawShadowStrip(style, shape, strip, TShadowKind::Picture));
    Save(dir, base + "M.bmp", DrawShadowStrip(style, shape, strip, TShadowKind::Mask));
    Save(dir, base + "IM.bmp", DrawShadowStrip(style, shape, strip, TShadowKind::InverseMask));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    if (argc >= 4 && std::string(argv[1]) == "--sheet") {
      const double scale = argc >= 5 ? std::stod(argv[4]) : 1.75;
      const QImage sheet = MakeContactSheet(argv[2], scale);
      if (sheet.isNull() || !sheet.save(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "cardsetgen: cannot make the contact sheet %s\n", argv[3]);
        return 1;
      }
      return 0;
    }
    if (argc != 2) {
      std::fprintf(
          stderr,
          "usage: cardsetgen <Cardsets folder>\n       cardsetgen --sheet <set folder> <out.png> [scale]\n");
      return 2;
    }
    WriteSet(argv[1], StandardStyle());
    WriteSet(argv[1], TemplateStyle());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cardsetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
