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
  FollowWindow();
  hide();
}

void TShowCanvas::FollowWindow() {
  QWidget* w = parentWidget();
  const int width = std::max(w->width(), 1), height = std::max(w->height(), 1);
  setGeometry(0, 0, width, height);
  if (Bitmap.Width() == width && Bitmap.Height() == height) return;
  TBitmap old = std::move(Bitmap);
  Bitmap = TBitmap(width, height);
  Bitmap.Clear(clBlack);
  if (!old.Empty()) {
    for (int y = 0; y < std::min(height, old.Height()); ++y)
      std::copy_n(old.ScanLine(y), std::min(width, old.Width()), Bitmap.ScanLine(y));
  }
  UncoverAll();
}

void TShowCanvas::Flush(const TRect& r) {
  const QRect q = ToQRect(r).intersected(QRect(0, 0, Bitmap.Width(), Bitmap.Height()));
  if (q.isEmpty()) return;
  FCovered += q;
  if (!isVisible()) show();
  raise();
  repaint(q);
}

void TShowCanvas::Uncover(const TRect& r) {
  const QRect q = ToQRect(r);
  if (!FCovered.intersects(q)) return;
  FCovered -= q;
  if (FCovered.isEmpty())
    hide();
  else
    repaint(q);
}

void TShowCanvas::UncoverAll() {
  FCovered = QRegion();
  hide();
}

void TShowCanvas::paintEvent(QPaintEvent* e) {
  const QRegion region = e->region() & FCovered;
  if (region.isEmpty()) return;
  QPainter p(this);
  p.setClipRegion(region);
  const QImage image = Bitmap.Image();
  for (const QRect& r : region) p.drawImage(r.topLeft(), image, r);
}

bool TShowCanvas::eventFilter(QObject* watched, QEvent* e) {
  if (watched == parentWidget() && e->type() == QEvent::Resize) FollowWindow();
  return QWidget::eventFilter(watched, e);
}
