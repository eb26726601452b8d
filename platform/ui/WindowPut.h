#pragma once
// Puts rectangles of a picture on a widget's place in its window on the X display, past the
// toolkit's painting, and into the toolkit's copy of that window (its backing store), so that the
// two agree whenever the toolkit shows its copy again. For a picture that changes in small places
// many times a second (a dragged card), where a repaint through the toolkit costs more than the
// pixels: one request per rectangle, no paint event, no wait for the display.
//
// Nothing is done (false) where that cannot be done: not under X, or a window whose copy is not a
// plain 32-bit picture of it at one pixel per pixel; the caller repaints through the toolkit then.

#include <vector>

#include "platform/core/Types.h"

class QWidget;
class TBitmap;

// rects are in the widget's coordinates, which are the picture's.
bool PutOnWindow(QWidget* widget, const TBitmap& picture, const std::vector<TRect>& rects);
