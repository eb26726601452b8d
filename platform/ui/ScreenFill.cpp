#include "platform/ui/ScreenFill.h"

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/graphics/Bitmap.h"

#ifdef PATIENCE_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

#ifdef PATIENCE_HAVE_XCB
namespace {

xcb_connection_t* Connection() {
  // The application's one connection, asked for once it is there.
  static xcb_connection_t* connection = nullptr;
  if (!connection) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    connection = x11 ? x11->connection() : nullptr;
  }
  return connection;
}

// Open TScreenBatch objects: while there is one, what is sent waits for its end.
int Batches = 0;

void Flush(xcb_connection_t* c) {
  if (Batches == 0) xcb_flush(c);
}

xcb_screen_t* Screen(xcb_connection_t* c) {
  return xcb_setup_roots_iterator(xcb_get_setup(c)).data;
}

// The screen's own visual stores a pixel as the pictures do (B, G, R, X in 32 bits).
bool PicturesFitTheScreen(xcb_connection_t* c) {
  const xcb_screen_t* s = Screen(c);
  if (!s || s->root_depth != 24) return false;
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(s); d.rem; xcb_depth_next(&d))
    for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
      if (v.data->visual_id == s->root_visual)
        return v.data->red_mask == 0xFF0000 && v.data->green_mask == 0xFF00 && v.data->blue_mask == 0xFF;
  return false;
}

// A black and a white graphics context per window, made on first use.
struct TPens {
  xcb_gcontext_t Black = 0, White = 0;
};

TPens& PensOf(xcb_connection_t* c, xcb_window_t window) {
  static std::map<xcb_window_t, TPens> pens;
  TPens& p = pens[window];
  if (p.Black == 0) {
    const xcb_screen_t* s = Screen(c);
    p.Black = xcb_generate_id(c);
    uint32_t black = s->black_pixel;
    xcb_create_gc(c, p.Black, window, XCB_GC_FOREGROUND, &black);
    p.White = xcb_generate_id(c);
    uint32_t white = s->white_pixel;
    xcb_create_gc(c, p.White, window, XCB_GC_FOREGROUND, &white);
  }
  return p;
}

std::vector<xcb_rectangle_t> XRects(const std::vector<TRect>& rects) {
  std::vector<xcb_rectangle_t> out;
  out.reserve(rects.size());
  for (const TRect& r : rects)
    if (!r.IsEmpty())
      out.push_back({int16_t(r.Left), int16_t(r.Top), uint16_t(r.Width()), uint16_t(r.Height())});
  return out;
}

}  // namespace
#endif

namespace {

#ifdef PATIENCE_HAVE_XCB
// Puts rects of picture on a drawable of the screen's depth, moved by at. Requests are cut into
// bands of whole rows within the server's largest request.
void PutOn(xcb_connection_t* c, xcb_drawable_t drawable, xcb_gcontext_t gc, const TBitmap& picture,
           const std::vector<TRect>& rects, TPoint at) {
  const size_t limit = size_t(xcb_get_maximum_request_length(c)) * 4 - 64;
  std::vector<uint32_t> rows;
  for (const TRect& r : rects) {
    const TRect on = IntersectRect(r, TRect(0, 0, picture.Width(), picture.Height()));
    if (on.IsEmpty()) continue;
    const QRect q(on.Left, on.Top, on.Width(), on.Height());
    const int band = std::max(1, int(limit / (size_t(q.width()) * 4)));
    for (int y = q.top(); y <= q.bottom(); y += band) {
      const int h = std::min(band, q.bottom() + 1 - y);
      rows.resize(size_t(q.width()) * size_t(h));
      for (int i = 0; i < h; ++i)
        std::copy_n(picture.ScanLine(y + i) + q.left(), q.width(),
                    rows.data() + size_t(i) * size_t(q.width()));
      xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, gc, uint16_t(q.width()), uint16_t(h),
                    int16_t(q.left() + at.X), int16_t(y + at.Y), 0, 24, uint32_t(rows.size() * 4),
                    reinterpret_cast<const uint8_t*>(rows.data()));
    }
  }
}
#endif

// Puts rects of picture on the widget's window, moved by at.
void PutPart(QWidget* widget, const TBitmap& picture, const std::vector<TRect>& rects, TPoint at) {
#ifdef PATIENCE_HAVE_XCB
  xcb_connection_t* c = Connection();
  if (!c || picture.Empty()) return;
  const auto window = xcb_window_t(widget->winId());
  PutOn(c, window, PensOf(c, window).Black, picture, rects, at);
  Flush(c);
#else
  (void)widget;
  (void)picture;
  (void)rects;
  (void)at;
#endif
}

}  // namespace

bool ShowsOnScreen(QWidget* widget) {
#ifdef PATIENCE_HAVE_XCB
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  xcb_connection_t* c = Connection();
  if (!c || !PicturesFitTheScreen(c)) return false;
  // The window of its own is the widget's alone: its siblings (and theirs, up to the top-level
  // window) stay drawn by the toolkit into their parent's window. The widget's parents get windows
  // too, so it is best a child of the top-level window itself.
  QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
  widget->setAttribute(Qt::WA_NativeWindow);
  widget->setAttribute(Qt::WA_PaintOnScreen);
  widget->setAttribute(Qt::WA_NoSystemBackground);
  widget->setAttribute(Qt::WA_OpaquePaintEvent);
  return widget->winId() != 0;
#else
  (void)widget;
  return false;
#endif
}

void FillOnScreen(QWidget* widget, const std::vector<TRect>& black, const std::vector<TRect>& white) {
#ifdef PATIENCE_HAVE_XCB
  xcb_connection_t* c = Connection();
  if (!c || black.size() + white.size() == 0) return;
  const auto window = xcb_window_t(widget->winId());
  const TPens& pens = PensOf(c, window);
  const std::vector<xcb_rectangle_t> b = XRects(black), w = XRects(white);
  if (!b.empty()) xcb_poly_fill_rectangle(c, window, pens.Black, uint32_t(b.size()), b.data());
  if (!w.empty()) xcb_poly_fill_rectangle(c, window, pens.White, uint32_t(w.size()), w.data());
  Flush(c);
#else
  (void)widget;
  (void)black;
  (void)white;
#endif
}

void PutOnScreen(QWidget* widget, const TBitmap& picture, const QRegion& region) {
  std::vector<TRect> rects;
  for (const QRect& q : region) rects.push_back(TRect(q.left(), q.top(), q.right() + 1, q.bottom() + 1));
  PutOnScreen(widget, picture, rects);
}

void PutOnScreen(QWidget* widget, const TBitmap& picture, const std::vector<TRect>& rects) {
  PutPart(widget, picture, rects, TPoint(0, 0));
}

void PutOnScreen(QWidget* widget, const TBitmap& piece, TPoint at) {
  PutPart(widget, piece, {TRect(0, 0, piece.Width(), piece.Height())}, at);
}

TScreenBatch::TScreenBatch() {
#ifdef PATIENCE_HAVE_XCB
  ++Batches;
#endif
}

TScreenBatch::~TScreenBatch() {
#ifdef PATIENCE_HAVE_XCB
  if (--Batches == 0)
    if (xcb_connection_t* c = Connection()) xcb_flush(c);
#endif
}

TScreenPicture::~TScreenPicture() {
  Free();
}

bool TScreenPicture::Make(QWidget* widget, int w, int h, uint32_t pixel) {
  Free();
#ifdef PATIENCE_HAVE_XCB
  xcb_connection_t* c = Connection();
  // X sizes are 16 bits; such a picture is kept client-side instead.
  if (!c || w <= 0 || h <= 0 || w > 32767 || h > 32767) return false;
  FWindow = uint32_t(widget->winId());
  FPixmap = xcb_generate_id(c);
  xcb_create_pixmap(c, 24, FPixmap, FWindow, uint16_t(w), uint16_t(h));
  FPen = xcb_generate_id(c);
  // A copy sends no events back (no GraphicsExpose, no NoExpose): the window's own parts that
  // are not there are painted by its paint event.
  const uint32_t values[] = {pixel, 0};
  xcb_create_gc(c, FPen, FPixmap, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
  const xcb_rectangle_t all{0, 0, uint16_t(w), uint16_t(h)};
  xcb_poly_fill_rectangle(c, FPixmap, FPen, 1, &all);
  Flush(c);
  return true;
#else
  (void)widget;
  (void)w;
  (void)h;
  (void)pixel;
  return false;
#endif
}

void TScreenPicture::Free() {
#ifdef PATIENCE_HAVE_XCB
  if (FPixmap == 0) return;
  // At the program's end the connection takes the server's copies with it: nothing is sent then
  // (the connection may be gone already).
  if (xcb_connection_t* c = qGuiApp && !QCoreApplication::closingDown() ? Connection() : nullptr) {
    xcb_free_gc(c, FPen);
    xcb_free_pixmap(c, FPixmap);
    Flush(c);
  }
#endif
  FPixmap = FPen = FWindow = 0;
}

void TScreenPicture::Put(const TBitmap& piece, TPoint at) {
#ifdef PATIENCE_HAVE_XCB
  xcb_connection_t* c = Connection();
  if (!c || FPixmap == 0 || piece.Empty()) return;
  PutOn(c, FPixmap, FPen, piece, {TRect(0, 0, piece.Width(), piece.Height())}, at);
  Flush(c);
#else
  (void)piece;
  (void)at;
#endif
}

void TScreenPicture::CopyToWindow(const std::vector<TRect>& rects, int dy) {
#ifdef PATIENCE_HAVE_XCB
  xcb_connection_t* c = Connection();
  if (!c || FPixmap == 0) return;
  for (const TRect& r : rects)
    if (!r.IsEmpty())
      xcb_copy_area(c, FPixmap, FWindow, FPen, int16_t(r.Left), int16_t(r.Top + dy), int16_t(r.Left),
                    int16_t(r.Top), uint16_t(r.Width()), uint16_t(r.Height()));
  Flush(c);
#else
  (void)rects;
  (void)dy;
#endif
}
