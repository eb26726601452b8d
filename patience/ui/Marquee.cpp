#include "patience/ui/Marquee.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTimer>
#include <algorithm>

TddgMarquee::TddgMarquee(QWidget* owner) : QWidget(owner), FTimer(std::make_unique<QTimer>()) {
  FTimer->setInterval(50);
  QObject::connect(FTimer.get(), &QTimer::timeout, this, [this] {
    Step();
    update();
  });
  resize(100, 75);
}

TddgMarquee::~TddgMarquee() {
  // Stopping tells OnDone, whose owner may be going too: it is not told any more.
  OnDone = nullptr;
  SetRunning(false);
}

void TddgMarquee::SetItems(const TStringList& lines) {
  if (&lines != &FItems) FItems = lines;
}

void TddgMarquee::SetRunning(bool value) {
  if (value && !FRunning && FItems.Count() > 0) {
    FRunning = true;
    FillBitmap();
    FTimer->start();
  } else if (!value && FRunning) {
    FTimer->stop();
    if (OnDone) OnDone(*this);
    FRunning = false;
    FBitmap = TBitmap();
    update();
  }
}

void TddgMarquee::FillBitmap() {
  const QFontMetrics metrics(Font.ToQFont());
  // The cell height and its leading above the letters, and some air.
  FLineHeight = metrics.height() + std::max(metrics.height() - Font.PixelSize(), 0) + 5;
  const int h = std::max(height(), 1), w = std::max(width(), 1);
  FTextRect = TRect(0, 0, w, FItems.Count() * FLineHeight + 2 * h);
  FPosition = ScrollDown ? FTextRect.Bottom - h : 0;
  FBitmap = TBitmap(w, FTextRect.Bottom);
  FBitmap.Clear(Color);
  TCanvas canvas(FBitmap);
  canvas.Font = Font;
  canvas.Brush.Style = TBrushStyle::bsClear;
  for (int i = 0; i < FItems.Count(); ++i) {
    const std::string& line = FItems[i];
    const int top = h + i * FLineHeight;
    int x = 0;
    if (Justify == tjCenter)
      x = (w - canvas.TextWidth(line)) / 2;
    else if (Justify == tjRight)
      x = w - canvas.TextWidth(line);
    canvas.TextRect(TRect(0, top, w, FTextRect.Bottom), x, top, line);
  }
}

void TddgMarquee::Step() {
  if (!FRunning) return;
  if (!ScrollDown) {
    if (FPosition <= height() + FItems.Count() * FLineHeight - 1)
      ++FPosition;
    else
      SetRunning(false);
  } else {
    if (FPosition > 0)
      --FPosition;
    else
      SetRunning(false);
  }
}

void TddgMarquee::paintEvent(QPaintEvent* /*event*/) {
  if (!FRunning || FBitmap.Empty()) return;
  QPainter p(this);
  if (Transparent) p.setCompositionMode(QPainter::CompositionMode_Lighten);
  // The view: the control's height from row Position, cut at the bitmap's end.
  const int rows = std::min(height(), FBitmap.Height() - FPosition);
  if (rows > 0) p.drawImage(QPoint(0, 0), FBitmap.Image(), QRect(0, FPosition, FBitmap.Width(), rows));
}
