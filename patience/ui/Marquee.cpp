#include "patience/ui/Marquee.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace {

QColor ToQColor(TColor c) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

TddgMarquee::TddgMarquee(QWidget* owner) : QWidget(owner), FTimer(std::make_unique<QTimer>()) {
  FTimer->setInterval(50);
  QObject::connect(FTimer.get(), &QTimer::timeout, this, [this] { Tick(); });
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
    Layout();
    FTimer->start();
  } else if (!value && FRunning) {
    FTimer->stop();
    if (OnDone) OnDone(*this);
    FRunning = false;
    FLines.clear();
    update();
  }
}

void TddgMarquee::Layout() {
  const QFontMetrics metrics(Font.ToQFont());
  // The cell height and its leading above the letters, and some air.
  FLineHeight = metrics.height() + std::max(metrics.height() - Font.PixelSize(), 0) + 5;
  const int h = std::max(height(), 1), w = std::max(width(), 1);
  FTextRect = TRect(0, 0, w, FItems.Count() * FLineHeight + 2 * h);
  FPosition = ScrollDown ? FTextRect.Bottom - h : 0;
  FLines.clear();
}

const TddgMarquee::TLine& TddgMarquee::Line(int i) {
  auto found = FLines.find(i);
  if (found != FLines.end()) return found->second;
  TLine& line = FLines[i];
  const int w = std::max(width(), 1);
  line.Picture.SetSize(w, FLineHeight, TNewPixels::Overwrite);
  line.Picture.Clear(Color);
  TCanvas canvas(line.Picture);
  canvas.Font = Font;
  canvas.Brush.Style = TBrushStyle::bsClear;
  const std::string& text = FItems[i];
  int x = 0;
  if (Justify == tjCenter)
    x = (w - canvas.TextWidth(text)) / 2;
  else if (Justify == tjRight)
    x = w - canvas.TextWidth(text);
  canvas.TextRect(TRect(0, 0, w, FLineHeight), x, 0, text);
  // The letters' bounds: every pixel that is not the colour.
  const uint32_t blank = ColorToPixel(ColorToRGB(Color));
  for (int y = 0; y < line.Picture.Height(); ++y) {
    const uint32_t* row = line.Picture.ScanLine(y);
    for (int px = 0; px < line.Picture.Width(); ++px)
      if (!SameRGB(row[px], blank)) line.Ink |= QRect(px, y, 1, 1);
  }
  return line;
}

std::pair<int, int> TddgMarquee::LinesInView(int position) const {
  if (FLineHeight <= 0) return {0, -1};
  // Line i covers strip rows [h + i * LH, h + (i + 1) * LH); the view covers [position, position + h).
  const int h = height();
  const int first = std::max(0, (position - h) / FLineHeight - 1);
  const int last = std::min(FItems.Count() - 1, position / FLineHeight);
  int a = first, b = last;
  while (a <= b && LineTop(a) + FLineHeight <= position) ++a;
  while (b >= a && LineTop(b) >= position + h) --b;
  return {a, b};
}

QRegion TddgMarquee::Ink(int position) {
  QRegion ink;
  const auto [first, last] = LinesInView(position);
  for (int i = first; i <= last; ++i) ink += Line(i).Ink.translated(0, LineTop(i) - position);
  return ink & rect();
}

void TddgMarquee::DrawView(QPainter& p, const QRegion& region, int position) {
  p.setClipRegion(region);
  // The strip is the colour wherever there is no line.
  for (const QRect& r : region) p.fillRect(r, ToQColor(Color));
  const auto [first, last] = LinesInView(position);
  for (int i = first; i <= last; ++i) {
    const QRect place(0, LineTop(i) - position, width(), FLineHeight);
    if (region.intersects(place)) p.drawImage(place.topLeft(), Line(i).Picture.ConstImage());
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
  // The lines that have left the view are dropped.
  const auto [first, last] = LinesInView(FPosition);
  std::erase_if(FLines, [first, last](const auto& line) { return line.first < first || line.first > last; });
}

void TddgMarquee::Tick() {
  const QRegion was = Ink(FPosition);
  Step();
  if (FRunning) update(was + Ink(FPosition));
}

TBitmap TddgMarquee::View() {
  TBitmap view;
  if (!FRunning) return view;
  view.SetSize(std::max(width(), 1), std::max(height(), 1), TNewPixels::Overwrite);
  QImage image = view.Image();
  {
    QPainter p(&image);
    DrawView(p, QRegion(image.rect()), FPosition);
  }
  return view;
}

void TddgMarquee::paintEvent(QPaintEvent* event) {
  if (!FRunning) return;
  QPainter p(this);
  if (Transparent) p.setCompositionMode(QPainter::CompositionMode_Lighten);
  DrawView(p, event->region(), FPosition);
}
