#include "patience/ui/Marquee.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/ScreenFill.h"

namespace {

constexpr int kStepMs = 50;

}  // namespace

TddgMarquee::TddgMarquee(QWidget* owner) : QWidget(owner), FTimer(std::make_unique<QTimer>()) {
  FTimer->setInterval(kStepMs);
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
    PaintOnScreen();
    // An opaque one covers its area whole: nothing beneath it is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, !Transparent);
    FRunning = true;
    Layout();
    FDueMs = 0;
    if (!OwnerSteps) FTimer->start();
  } else if (!value && FRunning) {
    FTimer->stop();
    if (OnDone) OnDone(*this);
    FRunning = false;
    FLines.clear();
    FStrip.Free();
    setAttribute(Qt::WA_OpaquePaintEvent, FOnScreen);
    update();
  }
}

void TddgMarquee::PaintOnScreen() {
  // An opaque marquee on an X display paints on screen itself and sends a tick's changes there.
  if (!Transparent && !FOnScreen) FOnScreen = ShowsOnScreen(this);
}

void TddgMarquee::Layout() {
  const QFontMetrics metrics(Font.ToQFont());
  // The cell height and its leading above the letters, and some air.
  FLineHeight = metrics.height() + std::max(metrics.height() - Font.PixelSize(), 0) + 5;
  const int h = std::max(height(), 1), w = std::max(width(), 1);
  FTextRect = TRect(0, 0, w, FItems.Count() * FLineHeight + 2 * h);
  FPosition = ScrollDown ? FTextRect.Bottom - h : 0;
  FLines.clear();
  FStrip.Free();
  FStripFailed = false;
  FOnStrip.assign(size_t(FItems.Count()), 0);
}

const TddgMarquee::TLine& TddgMarquee::Line(int i) {
  auto found = FLines.find(i);
  if (found != FLines.end()) return found->second;
  TLine& line = FLines[i];
  const int w = std::max(width(), 1);
  TBitmap drawn(w, FLineHeight, TNewPixels::Overwrite);
  drawn.Clear(Color);
  TCanvas canvas(drawn);
  canvas.Font = Font;
  canvas.Brush.Style = TBrushStyle::bsClear;
  const std::string& text = FItems[i];
  int x = 0;
  if (Justify == tjCenter)
    x = (w - canvas.TextWidth(text)) / 2;
  else if (Justify == tjRight)
    x = w - canvas.TextWidth(text);
  canvas.TextRect(TRect(0, 0, w, FLineHeight), x, 0, text);
  // The letters' bounds: every pixel that is not the colour. Only they are kept.
  const uint32_t blank = ColorToPixel(ColorToRGB(Color));
  for (int y = 0; y < drawn.Height(); ++y) {
    const uint32_t* row = drawn.ScanLine(y);
    for (int px = 0; px < drawn.Width(); ++px)
      if (!SameRGB(row[px], blank)) line.Ink |= QRect(px, y, 1, 1);
  }
  if (!line.Ink.isEmpty()) {
    line.Picture.SetSize(line.Ink.width(), line.Ink.height(), TNewPixels::Overwrite);
    BitBlt(line.Picture, 0, 0, line.Ink.width(), line.Ink.height(), drawn, line.Ink.x(), line.Ink.y());
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

void TddgMarquee::DrawView(QPainter& p, const QRegion& region, int position) {
  p.setClipRegion(region);
  // The strip is the colour wherever there are no letters.
  for (const QRect& r : region) p.fillRect(r, ToQColor(Color));
  const auto [first, last] = LinesInView(position);
  for (int i = first; i <= last; ++i) {
    const TLine& line = Line(i);
    const QRect place = line.Ink.translated(0, LineTop(i) - position);
    if (!line.Ink.isEmpty() && region.intersects(place))
      p.drawImage(place.topLeft(), line.Picture.ConstImage());
  }
}

void TddgMarquee::Compose(TBitmap& out, const TRect& r) {
  out.SetSize(std::max(r.Width(), 1), std::max(r.Height(), 1), TNewPixels::Overwrite);
  const uint32_t blank = ColorToPixel(ColorToRGB(Color));
  const int h = height();
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint32_t* out_row = out.ScanLine(y - r.Top);
    std::fill_n(out_row, r.Width(), blank);
    if (!FRunning || FLineHeight <= 0) continue;
    const int row = FPosition + y - h;  // the row in the lines' part of the strip
    const int i = row >= 0 ? row / FLineHeight : -1;
    if (i < 0 || i >= FItems.Count()) continue;
    const TLine& line = Line(i);
    const int in = row - i * FLineHeight;  // the row in the line
    if (in < line.Ink.top() || in > line.Ink.bottom()) continue;
    const int from = std::max(r.Left, line.Ink.left()), to = std::min(r.Right, line.Ink.right() + 1);
    if (from < to)
      std::copy_n(line.Picture.ScanLine(in - line.Ink.top()) + (from - line.Ink.left()), to - from,
                  out_row + (from - r.Left));
  }
}

void TddgMarquee::PutOnScreen(const TRect& r) {
  // A band of rows at a time: what is sent is made as it goes and not kept.
  constexpr int kBand = 64;
  for (int top = r.Top; top < r.Bottom; top += kBand) {
    const TRect band(r.Left, top, r.Right, std::min(r.Bottom, top + kBand));
    Compose(FPiece, band);
    ::PutOnScreen(this, FPiece, TPoint(band.Left, band.Top));
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
  TrimLines();
}

void TddgMarquee::TrimLines() {
  // The lines that have left the view are dropped.
  const auto view = LinesInView(FPosition);
  const int first = view.first, last = view.second;
  std::erase_if(FLines, [first, last](const auto& line) { return line.first < first || line.first > last; });
}

void TddgMarquee::Tick() {
  // Each line's letters where they were and are now (a pixel apart): only there does the view
  // change.
  const int before = FPosition;
  const auto [first0, last0] = LinesInView(before);
  FInks.clear();
  for (int i = first0; i <= last0; ++i) FInks.push_back(Line(i).Ink.translated(0, LineTop(i)));
  Step();
  if (!FRunning) return;
  const auto [first1, last1] = LinesInView(FPosition);
  for (int i = first1; i <= last1; ++i)
    if (i < first0 || i > last0) FInks.push_back(Line(i).Ink.translated(0, LineTop(i)));
  // The lines lie one below the other, a line's height apart: their places, top to bottom, do not
  // meet and make a region as they stand (they are joined one by one where they would).
  FChanged.clear();
  const QRect view = rect();
  for (const QRect& ink : FInks) {
    if (ink.isEmpty()) continue;
    const int top = ink.top() - std::max(before, FPosition);
    const int bottom = ink.bottom() + 1 - std::min(before, FPosition);
    const QRect r = QRect(ink.left(), top, ink.width(), bottom - top) & view;
    if (!r.isEmpty()) FChanged.push_back(r);
  }
  if (FOnScreen) {
    // Those pixels alone go to the screen, made from the lines, over the view a paint has put
    // there (until then the paint brings it all).
    if (!FPainted || !isVisible()) return;
    const TScreenBatch batch;
    if (CopyFromStrip()) return;
    for (const QRect& r : FChanged) PutOnScreen(TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
    return;
  }
  std::sort(FChanged.begin(), FChanged.end(),
            [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
  QRegion changed;
  bool apart = true;
  for (size_t k = 1; k < FChanged.size() && apart; ++k) apart = FChanged[k].top() > FChanged[k - 1].bottom();
  if (apart)
    changed.setRects(FChanged.data(), int(FChanged.size()));
  else
    for (const QRect& r : FChanged) changed += r;
  update(changed);
}

bool TddgMarquee::CopyFromStrip() {
  // The server keeps the lines' part of the strip (the empty space above and below stays out):
  // the view's row y shows its row FPosition + y - height().
  const int dy = FPosition - height(), rows = FItems.Count() * FLineHeight;
  FCopies.clear();
  for (const QRect& r : FChanged) {
    if (r.top() + dy < 0 || r.bottom() + 1 + dy > rows) return false;  // sent as pixels this time
    FCopies.push_back(TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
  }
  if (FStripFailed) return false;
  if (!FStrip.Made() && !FStrip.Make(this, std::max(width(), 1), rows, ColorToPixel(ColorToRGB(Color)))) {
    FStripFailed = true;
    return false;
  }
  // The colour but for the lines' letters, each line sent once, as it first comes into view.
  const auto [first, last] = LinesInView(FPosition);
  for (int i = first; i <= last; ++i) {
    if (FOnStrip[size_t(i)]) continue;
    FOnStrip[size_t(i)] = 1;
    const TLine& line = Line(i);
    if (!line.Ink.isEmpty()) FStrip.Put(line.Picture, TPoint(line.Ink.x(), i * FLineHeight + line.Ink.y()));
  }
  FStrip.CopyToWindow(FCopies, dy);
  return true;
}

void TddgMarquee::Advance(int ms) {
  if (!FRunning) return;
  FDueMs += std::max(ms, 0);
  for (; FDueMs >= kStepMs && FRunning; FDueMs -= kStepMs) Tick();
  if (!FRunning) FDueMs = 0;
}

TBitmap TddgMarquee::View() {
  TBitmap view;
  if (!FRunning) return view;
  Compose(view, TRect(0, 0, std::max(width(), 1), std::max(height(), 1)));
  return view;
}

void TddgMarquee::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  FPainted = false;
}

QPaintEngine* TddgMarquee::paintEngine() const {
  // Painting on screen itself: the toolkit has no engine for this marquee.
  return FOnScreen ? nullptr : QWidget::paintEngine();
}

void TddgMarquee::paintEvent(QPaintEvent* event) {
  if (FOnScreen) {
    // Held back with the window's paints (a paint follows when they are let go).
    if (!updatesEnabled()) return;
    const TScreenBatch batch;
    for (const QRect& q : event->region())
      PutOnScreen(TRect(q.left(), q.top(), q.right() + 1, q.bottom() + 1));
    FPiece = TBitmap();
    FPainted = true;
    return;
  }
  if (!FRunning) return;
  QPainter p(this);
  if (Transparent) p.setCompositionMode(QPainter::CompositionMode_Lighten);
  DrawView(p, event->region(), FPosition);
}
