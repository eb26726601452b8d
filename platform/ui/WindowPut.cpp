#include "platform/ui/WindowPut.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/graphics/Bitmap.h"

#ifdef PATIENCE_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>

namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

// A window's graphics context, made on first use (a context outlives the window it was made for),
// and its depth.
struct TWindowPen {
  xcb_gcontext_t Context = 0;
  int Depth = 0;
};

const TWindowPen& PenOf(xcb_connection_t* c, xcb_window_t window) {
  static std::map<xcb_window_t, TWindowPen> pens;
  TWindowPen& pen = pens[window];
  if (pen.Context == 0) {
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    pen.Depth = g ? g->depth : 0;
    std::free(g);
    pen.Context = xcb_generate_id(c);
    const uint32_t noExposures = 0;
    xcb_create_gc(c, pen.Context, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  }
  return pen;
}

}  // namespace
#endif

bool PutOnWindow(QWidget* widget, const TBitmap& picture, const std::vector<TRect>& rects) {
#ifdef PATIENCE_HAVE_XCB
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;

  xcb_connection_t* c = Connection();
  // The copy is the top-level window's; the pixels go to the widget's own window on the display, or
  // the nearest one it lies in (a native child covers its parent's window).
  QWidget* top = widget->window();
  QWidget* native = widget->internalWinId() ? widget : widget->nativeParentWidget();
  QBackingStore* store = widget->backingStore();
  if (!c || !top || !native || !store || !native->internalWinId()) return false;
  auto* image = dynamic_cast<QImage*>(store->paintDevice());
  // The copy holds 32-bit pixels, B, G, R and an opaque top byte: the pictures' own layout.
  if (!image || image->isNull() || image->devicePixelRatio() != 1.0 ||
      (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied))
    return false;
  const auto window = xcb_window_t(native->internalWinId());
  const TWindowPen& pen = PenOf(c, window);
  // A window of another depth would not take them as they are.
  if (pen.Depth != 24) return false;
  const xcb_gcontext_t gc = pen.Context;
  const QPoint at = widget->mapTo(top, QPoint(0, 0)), onWindow = widget->mapTo(native, QPoint(0, 0));
  // Written in place: the copy is the window's, never detached into one of its own.
  uchar* copy = const_cast<uchar*>(image->constBits());
  const qsizetype line = image->bytesPerLine();
  const TRect inside =
      IntersectRect(TRect(0, 0, picture.Width(), picture.Height()),
                    TRect(-at.x(), -at.y(), image->width() - at.x(), image->height() - at.y()));
  // Requests are cut into bands of whole rows within the server's largest request.
  const size_t limit = size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
  thread_local std::vector<uint32_t> rows;
  for (const TRect& r : rects) {
    const TRect on = IntersectRect(r, inside);
    if (on.IsEmpty()) continue;
    const int w = on.Width();
    const int band = std::max(1, int(limit / (size_t(w) * 4)));
    for (int y = on.Top; y < on.Bottom; y += band) {
      const int h = std::min(band, on.Bottom - y);
      rows.resize(size_t(w) * size_t(h));
      for (int i = 0; i < h; ++i) {
        const uint32_t* from = picture.ScanLine(y + i) + on.Left;
        std::memcpy(rows.data() + size_t(i) * size_t(w), from, size_t(w) * 4);
        std::memcpy(copy + (at.y() + y + i) * line + qsizetype(at.x() + on.Left) * 4, from, size_t(w) * 4);
      }
      xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc, uint16_t(w), uint16_t(h),
                    int16_t(onWindow.x() + on.Left), int16_t(onWindow.y() + y), 0, 24,
                    uint32_t(rows.size() * 4), reinterpret_cast<const uint8_t*>(rows.data()));
    }
  }
  xcb_flush(c);
  return true;
#else
  (void)widget;
  (void)picture;
  (void)rects;
  return false;
#endif
}
