// picturegen: draws the pictures that ship beside the game program.
//
//   picturegen <program folder> <Cardsets folder>
//
// writes GameImages/<n>.jpg, qv3.jpg, Big.jpg, backdrop.jpg and info.bmp into the program
// folder, drawing cards from the generated "Standard" set of the Cardsets folder.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "assets/pictures/Pictures.h"
#include "platform/core/Files.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Bmp.h"

namespace {

void SaveJpeg(const std::string& dir, const std::string& name, const QImage& img) {
  const std::string path = PathJoin(dir, name);
  if (!img.save(QString::fromStdString(path), "JPG", 90)) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: picturegen <program folder> <Cardsets folder>\n");
    return 2;
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    const std::string dir = argv[1], sets = argv[2];
    const std::string standard = PathJoin(sets, "Standard");
    if (!ForceDirectories(dir)) throw std::runtime_error("cannot create " + dir);
    SaveJpeg(dir, "qv3.jpg", DrawStrip(standard));
    SaveJpeg(dir, "Big.jpg", DrawSlides(standard));
    SaveJpeg(dir, "backdrop.jpg", DrawBackdrop());
    TBitmap info;
    info.FromQImage(DrawInfoPanel(standard));
    SaveBmp24(PathJoin(dir, "info.bmp"), info);
    const int previews = WriteGamePreviews(dir, sets);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("picturegen: %d game previews and 4 pictures in %.1f s\n", previews, seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "picturegen: %s\n", e.what());
    return 1;
  }
  return 0;
}
