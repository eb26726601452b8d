#pragma once
// The place a window manager gives a top-level window when it maximizes it, known before the
// window shows: the screen's work area less the frame the manager puts around a window. A window
// that takes this size before its first paint is laid out once, at its final size.

#include <QRect>
#include <QSize>

class QScreen;
class QWindow;

// The frame a window manager draws around a top-level window, in pixels on each side.
struct TFrameExtents {
  int Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// Asked of the window manager before any window shows (under X, where the manager supports the
// request; it answers within a moment, and is waited for a tenth of a second at most from the
// question). Nothing
// when there is no window manager, none that answers in time, or no X display: the window then
// has no frame, or its frame is not known yet and the window manager sizes it as it maps it.
TFrameExtents ExpectedFrameExtents();
// Puts the question to the window manager now; ExpectedFrameExtents then takes its answer (the
// manager answers meanwhile, while the window is being made).
void AskFrameExtentsAhead();

// Whether a window manager runs on the display (under X: one that has said so on the root window,
// or that holds the screen's manager selection). Asked of the display itself, at once: no guess
// from how a window looks some time after it showed. False with no X display.
bool WindowManagerRunning();

// The client area (the window without its frame, in screen coordinates) of a window maximized on
// screen: the work area less the frame. screen null: the primary screen.
QRect MaximizedClientArea(QScreen* screen = nullptr);

// The size the display gives the window now (under X, asked of the server: a window manager that
// overtakes the bounds a window asked for need not tell the window so). Device-independent
// pixels. Empty with no X display or before the window exists there.
QSize SizeOnDisplay(const QWindow* window);
