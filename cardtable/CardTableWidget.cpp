#include "cardtable/CardTableWidget.h"

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cstdio>

#include "cardtable/CardTable.h"
#include "cardtable/PictureDialog.h"
#include "platform/ui/DefaultHandler.h"
#include "platform/ui/WindowPut.h"

namespace {

TMouseButton ButtonOf(Qt::MouseButton b, bool& known) {
  known = true;
  switch (b) {
    case Qt::LeftButton:
      return mbLeft;
    case Qt::RightButton:
      return mbRight;
    case Qt::MiddleButton:
      return mbMiddle;
    default:
      known = false;
      return mbLeft;
  }
}

TShiftState ShiftOf(const QMouseEvent* e, bool twice) {
  TShiftState s = 0;
  const Qt::KeyboardModifiers m = e->modifiers();
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  const Qt::MouseButtons b = e->buttons();
  if (b & Qt::LeftButton) s |= ssLeft;
  if (b & Qt::RightButton) s |= ssRight;
  if (b & Qt::MiddleButton) s |= ssMiddle;
  if (twice) s |= ssDouble;
  return s;
}

Qt::CursorShape ShapeOf(TCursor c) {
  switch (c) {
    case crNone:
      return Qt::BlankCursor;
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeNESW:
      return Qt::SizeBDiagCursor;
    case crSizeNS:
      return Qt::SizeVerCursor;
    case crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case crSizeWE:
      return Qt::SizeHorCursor;
    case crUpArrow:
      return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
      return Qt::WaitCursor;
    case crDrag:
      return Qt::DragMoveCursor;
    case crMultiDrag:
      return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
      return Qt::ForbiddenCursor;
    case crHSplit:
      return Qt::SplitHCursor;
    case crVSplit:
      return Qt::SplitVCursor;
    case crAppStart:
      return Qt::BusyCursor;
    case crHelp:
      return Qt::WhatsThisCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    default:
      return Qt::ArrowCursor;
  }
}

bool ProbeOn() {
  static const bool on = qEnvironmentVariableIsSet("PATIENCE_PRESENT_PROBE");
  return on;
}

}  // namespace

TCardTableWidget::TCardTableWidget(QWidget* parent) : QWidget(parent) {
  // The buffer covers every pixel: nothing is erased before painting.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  FWatched = parent;
  if (FWatched) FWatched->installEventFilter(this);
}

TCardTableWidget::~TCardTableWidget() {
  if (FOverrideCursor) QGuiApplication::restoreOverrideCursor();
  // A table that outlives its widget draws nowhere from now on.
  if (FTable) FTable->DetachSurface();
}

void TCardTableWidget::AttachTable(TCardTable* table) {
  FTable = table;
}

void TCardTableWidget::CopyToScreen(const TBitmap& /*buffer*/, const TRect& r) {
  Show(QRegion(r.Left, r.Top, r.Width(), r.Height()));
}

void TCardTableWidget::CopyRectsToScreen(const TBitmap& /*buffer*/, const std::vector<TRect>& rects) {
  QRegion region;
  for (const TRect& r : rects) region += QRect(r.Left, r.Top, r.Width(), r.Height());
  Show(region);
}

QRegion TCardTableWidget::CoveredAbove() const {
  QRegion covered;
  const QWidget* p = parentWidget();
  if (!p) return covered;
  bool above = false;
  for (const QObject* o : p->children()) {
    if (o == this) {
      above = true;
      continue;
    }
    const auto* w = qobject_cast<const QWidget*>(o);
    if (above && w && w->isVisible() && !w->isWindow()) covered += w->geometry().translated(-pos());
  }
  return covered;
}

void TCardTableWidget::Show(const QRegion& region) {
  // Put on the window straight away where nothing lies over the table; through a repaint where
  // something does (it is painted over the new pixels) or where the window cannot be written.
  const QRegion covered = CoveredAbove();
  const QRegion direct = region - covered;
  std::vector<TRect> rects;
  for (const QRect& q : direct) rects.emplace_back(q.left(), q.top(), q.right() + 1, q.bottom() + 1);
  if (!FTable || !isVisible() || rects.empty() || !PutOnWindow(this, FTable->Buffer, rects)) {
    repaint(region);
    return;
  }
  if (ProbeOn()) Probe(direct);
  if (direct.rectCount() == 1) {
    const QRect b = direct.boundingRect();
    FTable->ScreenShown(TRect(b.left(), b.top(), b.right() + 1, b.bottom() + 1));
  }
  const QRegion rest = region & covered;
  if (!rest.isEmpty()) repaint(rest);
}

void TCardTableWidget::Paint(const TBitmap& /*buffer*/) {
  repaint();
}

TScreenPixels TCardTableWidget::ScreenPixels() const {
  // The window's backing store holds what the window shows: every paint goes there and is flushed
  // at once, and a repaint still to come is one of the whole table.
  QBackingStore* store = isVisible() ? backingStore() : nullptr;
  auto* image = store ? dynamic_cast<const QImage*>(store->paintDevice()) : nullptr;
  if (!image || image->isNull() || image->devicePixelRatio() != 1.0) return {};
  const QImage::Format f = image->format();
  if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
    return {};
  const QPoint at = mapTo(window(), QPoint(0, 0));
  if (at.x() < 0 || at.y() < 0 || at.x() >= image->width() || at.y() >= image->height()) return {};
  TScreenPixels p;
  p.Stride = image->bytesPerLine() / 4;
  p.Bits = reinterpret_cast<const uint32_t*>(image->constBits()) + ptrdiff_t(at.y()) * p.Stride + at.x();
  p.Width = std::min(width(), image->width() - at.x());
  p.Height = std::min(height(), image->height() - at.y());
  return p;
}

bool TCardTableWidget::PresentLater(int ms) {
  if (!FFrameTimer) {
    FFrameTimer = new QTimer(this);
    FFrameTimer->setSingleShot(true);
    FFrameTimer->setTimerType(Qt::PreciseTimer);
    connect(FFrameTimer, &QTimer::timeout, this, [this] {
      if (FTable) FTable->PresentFrame();
    });
  }
  if (!FFrameTimer->isActive()) FFrameTimer->start(std::max(ms, 0));
  return true;
}

void TCardTableWidget::Invalidate() {
  // Where the window's picture is known the repaint is a copy of what differs from it, served from
  // the event loop; a repaint served while the table holds its updates back would send the whole
  // stale picture to the screen for nothing.
  if (!ScreenPixels().Bits) {
    update();
    return;
  }
  if (!FRepaintTimer) {
    FRepaintTimer = new QTimer(this);
    FRepaintTimer->setSingleShot(true);
    connect(FRepaintTimer, &QTimer::timeout, this, [this] {
      if (FTable) FTable->RepaintFromEventLoop();
    });
  }
  if (!FRepaintTimer->isActive()) FRepaintTimer->start(0);
}

void TCardTableWidget::ProcessEvents() {
  // Pending repaints happen; clicks and keys wait until the table's work is done.
  static bool busy = false;
  if (busy) return;
  busy = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  busy = false;
}

void TCardTableWidget::SetBounds(const TRect& r) {
  FInBounds = true;
  if (isWindow())
    resize(r.Width(), r.Height());
  else
    setGeometry(r.Left, r.Top, r.Width(), r.Height());
  FInBounds = false;
}

void TCardTableWidget::SetVisible(bool visible) {
  setVisible(visible);
}

void TCardTableWidget::ShowParent() {
  if (parentWidget() && !parentWidget()->isVisible()) parentWidget()->show();
}

void TCardTableWidget::SendToBack() {
  lower();
}

void TCardTableWidget::SetScreenCursor(TCursor cursor) {
  FCursor = cursor;
  if (cursor == crDefault) {
    if (FOverrideCursor) QGuiApplication::restoreOverrideCursor();
    FOverrideCursor = false;
    return;
  }
  if (FOverrideCursor)
    QGuiApplication::changeOverrideCursor(QCursor(ShapeOf(cursor)));
  else
    QGuiApplication::setOverrideCursor(QCursor(ShapeOf(cursor)));
  FOverrideCursor = true;
}

TPoint TCardTableWidget::FormSize() const {
  const QRect f = window()->frameGeometry();
  return TPoint(f.width(), f.height());
}

TPoint TCardTableWidget::ClientSize() const {
  // The area the table may take: its parent's, which in a main window lies below the menu bar.
  const QWidget* area = parentWidget() ? parentWidget() : this;
  return TPoint(area->width(), area->height());
}

void TCardTableWidget::SetFormMinimumSize(int outerWidth, int outerHeight) {
  QWidget* w = window();
  // A frame is never smaller than what it frames; while a window manager is still taking the window
  // its frame may look so for a moment (a frame window not yet sized).
  const int bw = std::max(w->frameGeometry().width() - w->width(), 0);
  const int bh = std::max(w->frameGeometry().height() - w->height(), 0);
  w->setMinimumSize(std::max(outerWidth - bw, 0), std::max(outerHeight - bh, 0));
}

void TCardTableWidget::RepaintOwnerLabels() {
  QWidget* p = parentWidget();
  if (!p) return;
  // Siblings stacked above the table that overlap it are painted again over the new pixels.
  bool above = false;
  for (QObject* o : p->children()) {
    if (o == this) {
      above = true;
      continue;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (above && w && w->isVisible() && !w->isWindow() && w->geometry().intersects(geometry())) w->repaint();
  }
}

std::optional<std::string> TCardTableWidget::ChoosePictureFile(const std::string& initialDir,
                                                               const std::string& filter) {
  // Owned by the application, as the table's caller expects: centred on the active window.
  return OpenPictureDialog(QApplication::activeWindow(), initialDir, filter);
}

void TCardTableWidget::FollowForm() {
  if (!FTable) return;
  const TPoint form = FormSize();
  int w = form.X, h = form.Y;
  bool resize = true;
  FTable->FormCanResize(w, h, resize);
}

bool TCardTableWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FWatched && FTable && !FInBounds &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Show))
    FollowForm();
  return QWidget::eventFilter(watched, event);
}

void TCardTableWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (FTable && !FInBounds && !isWindow()) FTable->ApplyBounds(x(), y(), width(), height());
}

void TCardTableWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (FTable && !FInBounds && !isWindow()) FTable->ApplyBounds(x(), y(), width(), height());
}

void TCardTableWidget::paintEvent(QPaintEvent* event) {
  ++FPaintCount;
  if (!FTable) return;
  if (!FTable->ScreenUpdates()) {
    // The buffer is in the middle of a bulk change and must not show; the window system now takes
    // this part as painted, so the table shows it when its updates return.
    const QRect r = event->region().boundingRect();
    FTable->ScreenMissed(Bounds(r.x(), r.y(), r.width(), r.height()));
    return;
  }
  const TBitmap& b = FTable->Buffer;
  QPainter p(this);
  // The buffer's own memory, read in place: its pixels are 0xFFRRGGBB, the RGB32 layout.
  const QImage image(reinterpret_cast<const uchar*>(b.Bits()), b.Width(), b.Height(), b.Width() * 4,
                     QImage::Format_RGB32);
  const QRect inside(0, 0, b.Width(), b.Height());
  for (const QRect& r : event->region()) {
    const QRect part = r & inside;
    if (!part.isEmpty()) p.drawImage(part.topLeft(), image, part);
  }
  if (ProbeOn()) Probe(event->region() & QRegion(inside));
  // What was owed to the screen there is paid.
  const QRect shown = (event->region() & QRegion(inside)).boundingRect();
  if ((event->region() & QRegion(inside)) == QRegion(shown))
    FTable->ScreenShown(TRect(shown.left(), shown.top(), shown.right() + 1, shown.bottom() + 1));
  // Between a resize and the rebuild that follows it the buffer may be smaller than the widget.
  const QRegion outside = event->region() - QRegion(inside);
  if (!outside.isEmpty()) {
    const TColor c = FTable->Color();
    for (const QRect& r : outside) p.fillRect(r, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
  }
}

void TCardTableWidget::Probe(const QRegion& painted) {
  const TBitmap& b = FTable->Buffer;
  if (!FProbeScreen || FProbeScreen->Width() != b.Width() || FProbeScreen->Height() != b.Height())
    FProbeScreen = std::make_unique<TBitmap>(b.Width(), b.Height());
  for (const QRect& r : painted) {
    FProbeSent += (long long)r.width() * r.height();
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const uint32_t* from = b.ScanLine(y);
      uint32_t* shown = FProbeScreen->ScanLine(y);
      for (int x = r.left(); x <= r.right(); ++x) {
        FProbeChanged += !SameRGB(from[x], shown[x]);
        shown[x] = from[x];
      }
    }
  }
  std::printf("present-probe %d %lld %lld\n", FPaintCount, FProbeSent, FProbeChanged);
  std::fflush(stdout);
}

bool TCardTableWidget::event(QEvent* event) {
  const QEvent::Type t = event->type();
  if (FTable && (t == QEvent::WindowDeactivate || t == QEvent::Hide)) {
    FLeftDown = false;
    FTable->MouseCaptureLost();
  }
  return QWidget::event(event);
}

void TCardTableWidget::Press(QMouseEvent* event, bool twice) {
  bool known = false;
  const TMouseButton button = ButtonOf(event->button(), known);
  if (!FTable || !known) return;
  if (button == mbLeft) FLeftDown = true;
  const QPoint at = event->position().toPoint();
  RunHandled([&] { FTable->MouseDown(button, ShiftOf(event, twice), at.x(), at.y()); });
}

void TCardTableWidget::mousePressEvent(QMouseEvent* event) {
  Press(event, false);
}

// A double click is a second press.
void TCardTableWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  Press(event, true);
}

void TCardTableWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!FTable) return;
  const QPoint at = event->position().toPoint();
  RunHandled([&] {
    FTable->MouseMove(ShiftOf(event, false), at.x(), at.y());
    // The button is up, but its release never came here.
    if (FLeftDown && !(event->buttons() & Qt::LeftButton)) {
      FLeftDown = false;
      FTable->MouseCaptureLost();
    }
  });
}

void TCardTableWidget::mouseReleaseEvent(QMouseEvent* event) {
  bool known = false;
  const TMouseButton button = ButtonOf(event->button(), known);
  if (!FTable || !known) return;
  if (button == mbLeft) FLeftDown = false;
  const QPoint at = event->position().toPoint();
  RunHandled([&] {
    FTable->MouseUp(button, ShiftOf(event, false), at.x(), at.y());
    if (FTable->OnClick && button == mbLeft && rect().contains(at)) FTable->OnClick();
  });
}
