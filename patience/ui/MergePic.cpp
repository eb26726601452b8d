#include "patience/ui/MergePic.h"

#include <QTimer>
#include <algorithm>

#include "platform/core/Files.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/Jpeg.h"
#include "platform/graphics/Raster.h"

TMergePic::TMergePic() = default;

TMergePic::~TMergePic() = default;

void TMergePic::LoadPicture(const std::string& FileName) {
  TBitmap loaded;
  const std::string path = ResolvePath(FileName);
  std::string ext = ExtractFileExt(path);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  if (ext == ".bmp")
    LoadBmpFile(path, loaded);
  else
    LoadJpegFile(path, loaded, true);
  Bitmap = std::move(loaded);
  StripHeight = Bitmap.Height();
  StripWidth = Bitmap.Width() / std::max(Strips, 1);
  Strip = 0;
}

void TMergePic::Start(TBitmap* canvas, int X, int Y, int Width, int Height) {
  if (!HasPicture() || !canvas) return;
  if (!FTimer) {
    FTimer = std::make_unique<QTimer>();
    QObject::connect(FTimer.get(), &QTimer::timeout, [this] { Tick(); });
  }
  Canvas = canvas;
  DestX = X;
  DestY = Y;
  DestWidth = Width;
  DestHeight = Height;
  StepCount = 0;
  FTimer->setInterval(Interval);
  FTimer->start();
  Running = true;
}

void TMergePic::Stop() {
  StepCount = 0;
  Strip = 0;
  if (FTimer) FTimer->stop();
  Running = false;
}

void TMergePic::SetPaused(bool paused) {
  if (!Running || !FTimer) return;
  if (paused)
    FTimer->stop();
  else
    FTimer->start();
}

void TMergePic::Tick() {
  if (!Running || !Canvas) return;
  ++StepCount;
  AlphaBlendStretch(*Canvas, DestX, DestY, DestWidth, DestHeight, Bitmap, StripWidth * Strip, 0, StripWidth,
                    StripHeight, BlendAlpha);
  if (StepCount >= StepsPerStrip) {
    ++Strip;
    StepCount = 0;
    if (Strip >= std::max(Strips, 1)) {
      // The last strip exactly, not a blend that stalled a level short of it.
      if (FTimer) FTimer->stop();
      StretchBlt(*Canvas, DestX, DestY, DestWidth, DestHeight, Bitmap, StripWidth * (Strip - 1), 0,
                 StripWidth, StripHeight);
      Strip = 0;
      Running = false;
    }
  }
  if (OnPaint) OnPaint(TRect(DestX, DestY, DestX + DestWidth, DestY + DestHeight));
}
