#pragma once
// The place a window manager gives a top-level window when it maximizes it, known before the
// window shows: the screen's work area less the frame the manager puts around a window. A window
// that takes this size before its first paint is laid out once, at its final size.

#include <QRect>

class QScreen;

// The frame a window manager draws around a top-level window, in pixels on each side.
struct TFrameExtents {
  int Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// Asked of the window manager before any window shows (under X, where the manager supports the
// request; it answers within a moment). Nothing when there is no window manager, none that
// answers, or no X display (the window then has no frame, or its frame is not known).
TFrameExtents ExpectedFrameExtents();

// The client area (the window without its frame, in screen coordinates) of a window maximized on
// screen: the work area less the frame. screen null: the primary screen.
QRect MaximizedClientArea(QScreen* screen = nullptr);
