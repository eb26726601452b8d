#include "deckwright/HarmFade.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/core/Clock.h"
#include "platform/graphics/Raster.h"
#include "platform/ui/DefaultHandler.h"

void BlendRows32(const TBitmap& A, const TBitmap& B, TBitmap& Out, int w) {
  const int W = std::min({A.Width(), B.Width(), Out.Width()});
  const int H = std::min({A.Height(), B.Height(), Out.Height()});
  w = std::clamp(w, 0, 32);
  for (int y = 0; y < H; ++y) {
    const uint8_t* a = A.ScanLineBytes(y);
    const uint8_t* b = B.ScanLineBytes(y);
    uint8_t* o = Out.ScanLineBytes(y);
    for (int x = 0; x < W * 4; ++x) {
      if (x % 4 == 3) {
        o[x] = 0xFF;
        continue;
      }
      o[x] = uint8_t((a[x] * (32 - w) + b[x] * w) / 32);
    }
  }
}

THarmFade::THarmFade(QWidget* owner) : QWidget(owner), FRandom(uint32_t(Clock().NowMs() * 2654435761u)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  resize(75, 75);
  PrepareBitmaps();
}

THarmFade::~THarmFade() = default;

void THarmFade::SetPicFrom(const TBitmap& picture) {
  FPicFrom = picture;
  if (!Swapped) {
    PrepareBitmaps();
    update();
  }
}

void THarmFade::SetPicTo(const TBitmap& picture) {
  FPicTo = picture;
  if (!Swapped) {
    PrepareBitmaps();
    update();
  }
}

void THarmFade::SetColorFrom(TColor value) {
  if (value == FColorFrom) return;
  FColorFrom = value;
  PrepareBitmaps();
  update();
}

void THarmFade::SetColorTo(TColor value) {
  if (value == FColorTo) return;
  FColorTo = value;
  PrepareBitmaps();
  update();
}

void THarmFade::SetDisolvRate(int value) {
  FDisolvRate = std::clamp(value, 1, std::max(1, width() * height()));
}

void THarmFade::SetBlendRate(int value) {
  FBlendRate = std::clamp(value, 1, 255);
}

void THarmFade::SetStretchToFit(bool value) {
  if (value == FStretchToFit) return;
  FStretchToFit = value;
  PrepareBitmaps();
  update();
}

void THarmFade::FillFrom(TBitmap& out, const TBitmap& picture, TColor colour) {
  out.Clear(colour);
  if (picture.Empty()) return;
  if (FStretchToFit)
    StretchBlt(out, 0, 0, out.Width(), out.Height(), picture, 0, 0, picture.Width(), picture.Height());
  else
    BitBlt(out, 0, 0, picture.Width(), picture.Height(), picture, 0, 0);
}

void THarmFade::PrepareBitmaps() {
  if (Swapped) {
    std::swap(FColorFrom, FColorTo);
    std::swap(FPicFrom, FPicTo);
    Swapped = false;
    FStretchToFit = FSavedStretchToFit;
  }
  if (!FStretchToFit) {
    // The control takes the size of its first picture.
    const TBitmap& sizer = !FPicFrom.Empty() ? FPicFrom : FPicTo;
    if (!sizer.Empty() && (sizer.Width() != width() || sizer.Height() != height()))
      resize(sizer.Width(), sizer.Height());
  }
  FShown.SetSize(width(), height());
  FTarget.SetSize(width(), height());
  FillFrom(FShown, FPicFrom, FColorFrom);
  FillFrom(FTarget, FPicTo, FColorTo);
  FShown.PixelFormat = FTarget.PixelFormat = TPixelFormat::pf24bit;
  FWork.SetSize(FShown.Width(), FShown.Height());
  FWork.PixelFormat = TPixelFormat::pf24bit;
  update();
  if (OnReset) OnReset(this);
}

void THarmFade::ShufflePixels() {
  const int W = FShown.Width(), H = FShown.Height();
  FPositions.clear();
  FPositions.reserve(size_t(W) * size_t(H));
  for (int r = 0; r < H; ++r)
    for (int c = 0; c < W; ++c) FPositions.push_back(TPoint(c, r));
  const size_t n = FPositions.size();
  if (n == 0) return;
  std::uniform_int_distribution<size_t> pick(0, n - 1);
  for (size_t j = 0; j < n; ++j) std::swap(FPositions[j], FPositions[pick(FRandom)]);
}

// Spaces the steps of a run over RunMs and paints at most once a display frame (always the last).
void THarmFade::ShowStep(int step, int steps) {
  const uint64_t now = Clock().NowMs();
  const bool last = step >= steps;
  if (last || now - FLastPaint >= 16) {
    repaint();
    FLastPaint = Clock().NowMs();
  }
  if (ProcessMsgs) QApplication::processEvents();
  if (!last && steps > 0) {
    const uint64_t due = FRunStart + uint64_t(RunMs) * uint64_t(step) / uint64_t(steps);
    const uint64_t t = Clock().NowMs();
    if (due > t) Sleep(int(due - t));
  }
}

void THarmFade::StepLoop(int n) {
  const int N = int(FPositions.size());
  FLastSteps = 0;
  if (N == 0 || n <= 0) return;
  const int steps = N / n + (N % n ? 1 : 0);
  FRunStart = Clock().NowMs();
  FLastPaint = 0;
  auto copy = [&](int from, int to) {
    for (int i = from; i < to; ++i) {
      const TPoint p = FPositions[size_t(i)];
      FShown.ScanLine(p.Y)[p.X] = FTarget.ScanLine(p.Y)[p.X];
    }
  };
  for (int s = 0; s < N / n; ++s) {
    copy(s * n, s * n + n);
    ++FLastSteps;
    ShowStep(FLastSteps, steps);
    if (FStopRequested) {
      FinishNow();
      FPositions.clear();
      return;
    }
  }
  copy(n * (N / n), N);
  ++FLastSteps;
  ShowStep(steps, steps);
  FPositions.clear();
}

void THarmFade::DissolveIn() {
  PrepareBitmaps();
  ShufflePixels();
  const int N = int(FPositions.size());
  if (N == 0) return;
  const int n = N / FDisolvRate;
  if (n == 0) throw EHarmFade("DisolvRate cannot be > Width * Height!");
  if (OnBegin) OnBegin(this);
  StepLoop(n);
  if (AutoReverse) {
    Sleep(SwapDelay * 1000);
    if (SwapOnReverse)
      BlendBack();
    else
      DissolveBack();
  }
  if (OnEnd) OnEnd(this);
}

// The way back starts from the picture shown: the two ends change places, stretched to fit.
void THarmFade::TurnAround() {
  FSavedStretchToFit = FStretchToFit;
  FStretchToFit = true;
  std::swap(FColorFrom, FColorTo);
  std::swap(FPicFrom, FPicTo);
  PrepareBitmaps();
  Swapped = true;
}

void THarmFade::DissolveBack() {
  TurnAround();
  ShufflePixels();
  const int N = int(FPositions.size());
  // The control may have shrunk since the rate was set: never a step of no pixels.
  if (N > 0) StepLoop(std::max(1, N / std::max(1, FDisolvRate)));
  PrepareBitmaps();
}

void THarmFade::BlendBack() {
  TurnAround();
  FWork = FShown;
  const int rate = std::max(1, FBlendRate);
  FRunStart = Clock().NowMs();
  FLastPaint = 0;
  FLastSteps = 0;
  for (int s = 0; s <= rate; ++s) {
    BlendRows32(FWork, FTarget, FShown, s * 32 / rate);
    ++FLastSteps;
    ShowStep(s + 1, rate + 1);
    if (FStopRequested) {
      FinishNow();
      break;
    }
  }
  PrepareBitmaps();
}

void THarmFade::FinishNow() {
  FShown = FTarget;
  repaint();
  if (OnEnd) OnEnd(this);
  FStopRequested = false;
}

void THarmFade::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (FShown.Empty()) return;
  p.drawImage(0, 0, const_cast<TBitmap&>(FShown).Image());
}

void THarmFade::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (OnMouseEnter) OnMouseEnter(this);
}

void THarmFade::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (OnMouseLeave) OnMouseLeave(this);
}

void THarmFade::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
    RunHandled([this] { OnClick(this); });
}

void THarmFade::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!Swapped && (FShown.Width() != width() || FShown.Height() != height())) PrepareBitmaps();
}

void THarmFade::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  update();
}
