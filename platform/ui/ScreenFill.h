#pragma once
// Drawing straight on a widget's own window on the X display, past the toolkit's painting: for a
// picture that changes in many small places many times a second (the start screen's starfield),
// where the toolkit would repaint and send whole areas. The widget paints on screen itself
// (ShowsOnScreen), so its paint event draws the picture with PutOnScreen and nothing else keeps a
// copy that could go stale.
//
// Elsewhere (another platform, the offscreen one of the tests) ShowsOnScreen does nothing and
// answers false, and the caller paints through the toolkit as usual.

#include <QRegion>
#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

class QWidget;
class TBitmap;

// Gives the widget a window of its own that it paints itself (its parents get windows too, its
// siblings do not). False when it cannot. Nothing may be drawn on it before its first paint event:
// until then the screen shows what lay there before, and the first paint of the top-level window
// brings the widget's picture with the rest.
bool ShowsOnScreen(QWidget* widget);
// Fills the black rectangles, then the white ones, on the widget's window (widget coordinates).
void FillOnScreen(QWidget* widget, const std::vector<TRect>& black, const std::vector<TRect>& white);
// Puts region (or the rectangles) of the picture on the widget's window, at the same place.
void PutOnScreen(QWidget* widget, const TBitmap& picture, const QRegion& region);
void PutOnScreen(QWidget* widget, const TBitmap& picture, const std::vector<TRect>& rects);
// Puts the whole of piece on the widget's window with its top left corner at at.
void PutOnScreen(QWidget* widget, const TBitmap& piece, TPoint at);

// A picture kept by the X server for a widget's window (that of ShowsOnScreen): its parts are
// sent once and copied onto the window as often as it shows them, so a picture that moves over the
// window (scrolling text) goes to the server once instead of with every step. Made empty (nothing
// is made, and every call does nothing) where there is no X display.
class TScreenPicture {
 public:
  TScreenPicture() = default;
  ~TScreenPicture();
  TScreenPicture(const TScreenPicture&) = delete;
  TScreenPicture& operator=(const TScreenPicture&) = delete;
  // w x h in the pixel (as the pictures store one) throughout; false when it cannot be made.
  bool Make(QWidget* widget, int w, int h, uint32_t pixel);
  void Free();
  bool Made() const { return FPixmap != 0; }
  // Puts the whole of piece with its top left corner at at.
  void Put(const TBitmap& piece, TPoint at);
  // Copies each rectangle of the window (widget coordinates) from the picture's rows dy below it.
  void CopyToWindow(const std::vector<TRect>& rects, int dy);

 private:
  uint32_t FWindow = 0, FPixmap = 0, FPen = 0;
};

// While one lives, what the calls above send goes to the display together, at its end (one write
// for a frame of several pieces).
class TScreenBatch {
 public:
  TScreenBatch();
  ~TScreenBatch();
  TScreenBatch(const TScreenBatch&) = delete;
  TScreenBatch& operator=(const TScreenBatch&) = delete;
};
