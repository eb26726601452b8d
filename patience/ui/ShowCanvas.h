#pragma once
// TShowCanvas: the main window's own canvas for the effects that draw over everything in it (the
// sparkle over the table, the winning shows over the whole window). It is a bitmap of the
// window's client size shown in a child widget that lies above the window's other children and
// lets the mouse through. Only the parts that were flushed show; the rest shows what lies
// beneath, so taking a part off again is what "the table repaints itself" was on a window canvas.
//
// Flush repaints at once (synchronously), so frames reach the screen from inside a drawing loop.
// The bitmap is made when an effect first asks for it and released once nothing is on show any
// more, so the window holds no picture of its size between effects. An effect writes every pixel
// it flushes (a new bitmap's pixels are unset). The widget covers only the bounds of what is on
// show, so taking the last part off repaints no more than that. A resize of the window keeps what
// fits and uncovers everything.

#include <QRegion>
#include <QWidget>

#include "platform/core/Types.h"
#include "platform/graphics/Bitmap.h"

class TShowCanvas : public QWidget {
 public:
  explicit TShowCanvas(QWidget* window);

  // The window's client area; effects draw here, then Flush what they drew. Made on first use.
  TBitmap& Bitmap();
  // A bitmap is held (an effect is on show or drawing).
  bool HoldsBitmap() const { return !FBitmap.Empty(); }

  // Shows r of the bitmap on the window now; it stays shown until it is uncovered.
  void Flush(const TRect& r);
  void FlushAll() { Flush(TRect(0, 0, Bitmap().Width(), Bitmap().Height())); }
  // What lies beneath shows again in r; once nothing is on show the bitmap is released.
  void Uncover(const TRect& r);
  void UncoverAll();
  // The parts of the bitmap on show (window coordinates).
  const QRegion& Covered() const { return FCovered; }
  // A held bitmap takes the window's size.
  void FollowWindow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QSize WindowSize() const;
  // Nothing on show: the widget goes and so does the bitmap.
  void Release();
  QRegion FCovered;
  TBitmap FBitmap;
};
