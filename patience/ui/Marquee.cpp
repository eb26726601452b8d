#include "patience/ui/Marquee.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "platform/graphics/Canvas.h"
#include "platform/ui/ScreenFill.h"

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
    // An opaque marquee on an X display paints on screen itself and sends a tick's changes there.
    if (!Transparent && !FOnScreen) FOnScreen = ShowsOnScreen(this);
    // An opaque one covers its area whole: nothing beneath it is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, !Transparent);
    FRunning = true;
    Layout();
    FTimer->start();
  } else if (!value && FRunning) {
    FTimer->stop();
    if (OnDone) OnDone(*this);
    FRunning = false;
    FLines.clear();
    FView = TBitmap();
    setAttribute(Qt::WA_OpaquePaintEvent, FOnScreen);
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
  if (FOnScreen) {
    FView.SetSize(w, h, TNewPixels::Overwrite);
    QImage image = FView.Image();
    QPainter p(&image);
    DrawView(p, QRegion(image.rect()), FPosition);
  }
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
  if (!FOnScreen) TrimLines();
}

void TddgMarquee::TrimLines() {
  // The lines that have left the view are dropped.
  const auto view = LinesInView(FPosition);
  const int first = view.first, last = view.second;
  std::erase_if(FLines, [first, last](const auto& line) { return line.first < first || line.first > last; });
}

void TddgMarquee::Tick() {
  if (!FOnScreen) {
    const QRegion was = Ink(FPosition);
    Step();
    if (FRunning) update(was + Ink(FPosition));
    return;
  }
  // Each line's letters where they were and are now (a pixel apart): the view is brought up to
  // date there, and those pixels alone go to the screen.
  const int before = FPosition;
  const auto [first0, last0] = LinesInView(before);
  Step();
  if (!FRunning) return;
  const auto [first1, last1] = LinesInView(FPosition);
  FChanged.clear();
  for (int i = std::min(first0, first1); i <= std::max(last0, last1); ++i) {
    const QRect ink = Line(i).Ink;
    if (ink.isEmpty()) continue;
    const int top = LineTop(i) + ink.top() - std::max(before, FPosition);
    const int bottom = LineTop(i) + ink.bottom() + 1 - std::min(before, FPosition);
    const TRect r =
        IntersectRect(TRect(ink.left(), top, ink.right() + 1, bottom), TRect(0, 0, width(), height()));
    if (!r.IsEmpty()) FChanged.push_back(r);
  }
  TrimLines();
  UpdateView(FChanged);
  if (isVisible()) PutOnScreen(this, FView, FChanged);
}

void TddgMarquee::UpdateView(const std::vector<TRect>& rects) {
  const uint32_t blank = ColorToPixel(ColorToRGB(Color));
  const int h = height();
  for (const TRect& r : rects)
    for (int y = r.Top; y < r.Bottom; ++y) {
      uint32_t* out = FView.ScanLine(y) + r.Left;
      const int row = FPosition + y - h;  // the row in the lines' part of the strip
      const int i = row >= 0 ? row / FLineHeight : -1;
      if (i < 0 || i >= FItems.Count()) {
        std::fill_n(out, r.Width(), blank);
        continue;
      }
      std::copy_n(Line(i).Picture.ScanLine(row - i * FLineHeight) + r.Left, r.Width(), out);
    }
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

QPaintEngine* TddgMarquee::paintEngine() const {
  // Painting on screen itself: the toolkit has no engine for this marquee.
  return FOnScreen ? nullptr : QWidget::paintEngine();
}

void TddgMarquee::paintEvent(QPaintEvent* event) {
  if (FOnScreen) {
    if (FView.Width() != width() || FView.Height() != height()) {
      // Stopped: the plain colour.
      FView.SetSize(std::max(width(), 1), std::max(height(), 1), TNewPixels::Overwrite);
      FView.Clear(Color);
    }
    PutOnScreen(this, FView, event->region());
    return;
  }
  if (!FRunning) return;
  QPainter p(this);
  if (Transparent) p.setCompositionMode(QPainter::CompositionMode_Lighten);
  DrawView(p, event->region(), FPosition);
}
