#include "platform/ui/WindowFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#ifdef PATIENCE_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace {

#ifdef PATIENCE_HAVE_XCB

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

// The 32-bit values of a property of window (at most max of them).
int Cardinals(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint32_t* out,
              int max) {
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, uint32_t(max)), nullptr);
  int n = 0;
  if (reply && reply->format == 32) {
    n = std::min(max, xcb_get_property_value_length(reply) / 4);
    std::memcpy(out, xcb_get_property_value(reply), size_t(n) * 4);
  }
  std::free(reply);
  return n;
}

// The window manager supports the request when its _NET_SUPPORTED lists it.
bool Supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t request) {
  const xcb_atom_t supported = Atom(c, "_NET_SUPPORTED");
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 1024), nullptr);
  bool found = false;
  if (reply && reply->format == 32) {
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int n = xcb_get_property_value_length(reply) / 4;
    for (int i = 0; i < n && !found; ++i) found = atoms[i] == request;
  }
  std::free(reply);
  return found;
}

// The window a manager names on the root window as its own, when that window exists and names
// itself so too (a manager that has gone leaves the property behind).
bool ManagerSaysSo(xcb_connection_t* c, xcb_window_t root) {
  const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
  if (check == XCB_ATOM_NONE) return false;
  uint32_t window = 0, self = 0;
  if (Cardinals(c, root, check, XCB_ATOM_WINDOW, &window, 1) != 1 || window == 0) return false;
  return Cardinals(c, window, check, XCB_ATOM_WINDOW, &self, 1) == 1 && self == window;
}

// Every window manager holds the selection WM_Sn of the screen it manages.
bool ManagerHoldsTheScreen(xcb_connection_t* c) {
  const xcb_atom_t selection = Atom(c, "WM_S0");
  if (selection == XCB_ATOM_NONE) return false;
  xcb_get_selection_owner_reply_t* reply =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
  const bool held = reply && reply->owner != XCB_NONE;
  std::free(reply);
  return held;
}

// A question put to the manager: a window like ours, never shown, that asks which frame it would
// get; the answer comes as a property of that window.
struct TQuestion {
  xcb_window_t Probe = XCB_NONE;
  xcb_atom_t Extents = XCB_ATOM_NONE;
  std::chrono::steady_clock::time_point Asked;
};
TQuestion Pending;

void Ask(xcb_connection_t* c) {
  if (Pending.Probe != XCB_NONE) return;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (!screen) return;
  const xcb_atom_t request = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
  const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
  if (request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE || !Supported(c, screen->root, request)) return;
  const xcb_window_t probe = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  // Maximized, as ours will be: a manager may leave the borders off a maximized window.
  const xcb_atom_t state[2] = {Atom(c, "_NET_WM_STATE_MAXIMIZED_VERT"),
                               Atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ")};
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, probe, Atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, state);
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = probe;
  message.type = request;
  xcb_send_event(c, 0, screen->root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(c);
  Pending = {probe, extents, std::chrono::steady_clock::now()};
}

TFrameExtents Answer(xcb_connection_t* c) {
  TFrameExtents frame;
  if (Pending.Probe == XCB_NONE) return frame;
  // The manager answers by setting the property on the window; it is looked for until it has,
  // for a tenth of a second at most from the question.
  const auto until = Pending.Asked + std::chrono::milliseconds(100);
  uint32_t values[4] = {};
  for (;;) {
    if (Cardinals(c, Pending.Probe, Pending.Extents, XCB_ATOM_CARDINAL, values, 4) == 4) {
      frame = {int(values[0]), int(values[1]), int(values[2]), int(values[3])};
      break;
    }
    if (std::chrono::steady_clock::now() >= until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  xcb_destroy_window(c, Pending.Probe);
  xcb_flush(c);
  Pending = {};
  return frame;
}

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

#endif

}  // namespace

bool WindowManagerRunning() {
#ifdef PATIENCE_HAVE_XCB
  xcb_connection_t* c = Connection();
  if (!c) return false;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  return screen && (ManagerSaysSo(c, screen->root) || ManagerHoldsTheScreen(c));
#else
  return false;
#endif
}

void AskFrameExtentsAhead() {
#ifdef PATIENCE_HAVE_XCB
  if (xcb_connection_t* c = Connection()) Ask(c);
#endif
}

TFrameExtents ExpectedFrameExtents() {
#ifdef PATIENCE_HAVE_XCB
  if (xcb_connection_t* c = Connection()) {
    Ask(c);
    return Answer(c);
  }
#endif
  return {};
}

QRect MaximizedClientArea(QScreen* screen) {
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const TFrameExtents f = ExpectedFrameExtents();
  return screen->availableGeometry().adjusted(f.Left, f.Top, -f.Right, -f.Bottom);
}

QSize SizeOnDisplay(const QWindow* window) {
#ifdef PATIENCE_HAVE_XCB
  xcb_connection_t* c = Connection();
  if (!c || !window || !window->handle()) return {};
  xcb_get_geometry_reply_t* reply =
      xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_drawable_t(window->winId())), nullptr);
  QSize size;
  if (reply) {
    const qreal ratio = window->devicePixelRatio();
    size = QSize(qRound(reply->width / ratio), qRound(reply->height / ratio));
  }
  std::free(reply);
  return size;
#else
  (void)window;
  return {};
#endif
}
