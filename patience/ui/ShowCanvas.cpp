#include "patience/ui/ShowCanvas.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

QRect ToQRect(const TRect& r) {
  return QRect(r.Left, r.Top, r.Width(), r.Height());
}

}  // namespace

TShowCanvas::TShowCanvas(QWidget* window) : QWidget(window) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  window->installEventFilter(this);
  hide();
}

QSize TShowCanvas::WindowSize() const {
  const QWidget* w = parentWidget();
  return QSize(std::max(w->width(), 1), std::max(w->height(), 1));
}

TBitmap& TShowCanvas::Bitmap() {
  if (FBitmap.Empty()) {
    const QSize size = WindowSize();
    FBitmap.SetSize(size.width(), size.height(), TNewPixels::Overwrite);
  }
  return FBitmap;
}

void TShowCanvas::FollowWindow() {
  if (FBitmap.Empty()) return;
  const QSize size = WindowSize();
  if (FBitmap.Width() == size.width() && FBitmap.Height() == size.height()) return;
  // The effect that holds it goes on drawing: it keeps what fits.
  FBitmap.SetSize(size.width(), size.height());
  FCovered = QRegion();
  hide();
}

void TShowCanvas::Flush(const TRect& r) {
  const TBitmap& b = Bitmap();
  const QRect q = ToQRect(r).intersected(QRect(0, 0, b.Width(), b.Height()));
  if (q.isEmpty()) return;
  FCovered += q;
  const QRect bounds = FCovered.boundingRect();
  if (geometry() != bounds) setGeometry(bounds);
  if (!isVisible()) show();
  raise();
  repaint(q.translated(-bounds.topLeft()));
}

void TShowCanvas::Uncover(const TRect& r) {
  const QRect q = ToQRect(r);
  if (FCovered.intersects(q)) {
    FCovered -= q;
    if (!FCovered.isEmpty()) {
      repaint(q.translated(-pos()));
      return;
    }
  }
  if (FCovered.isEmpty()) Release();
}

void TShowCanvas::UncoverAll() {
  Release();
}

void TShowCanvas::Release() {
  FCovered = QRegion();
  // Hiding repaints what lies beneath the widget: the bounds of what was on show.
  hide();
  FBitmap = TBitmap();
}

void TShowCanvas::paintEvent(QPaintEvent* e) {
  const QRegion region = e->region() & FCovered.translated(-pos());
  if (region.isEmpty() || FBitmap.Empty()) return;
  QPainter p(this);
  p.setClipRegion(region);
  const QImage image = FBitmap.ConstImage();
  for (const QRect& r : region) p.drawImage(r.topLeft(), image, r.translated(pos()));
}

bool TShowCanvas::eventFilter(QObject* watched, QEvent* e) {
  if (watched == parentWidget() && e->type() == QEvent::Resize) FollowWindow();
  return QWidget::eventFilter(watched, e);
}
