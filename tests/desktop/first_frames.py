"""The game's first second on the screen: every picture the screen shows from the launch on, read
back through X DAMAGE, is either nothing of the program (the screen as it was) or the whole start
screen; and the window ends maximized to the work area, however the window manager answers.

The start screen's parts that move (the starfield, the scrolling text, the picture strip) are
judged by what they may show: the starfield only black and white, the text panel its white. Every
other part must show what the settled start screen of a first start shows there (a few rows may
differ: the selected row's colour follows the window's activation).

Run as a script it does a series of starts on an X server of its own and prints the figures:

    first_frames.py PROGRAM_DIR [starts] [--without-wm] [--after-close] [--paused]
"""

import os
import random
import select
import signal
import sys
import time
import zlib

from Xlib import X, Xatom, display as xdisplay
from Xlib.ext import damage

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Failure, wait_until  # noqa: E402

WHITE, BLACK = 0xFFFFFF, 0x000000
DESKTOP_COLOUR = 0x3A6EA5
# A part matches the settled start screen when at least this share of its rows do.
ROWS_THAT_MUST_MATCH = 0.9
# The text panel shows its white when at least this share of it is white (the letters are few).
WHITE_OF_THE_TEXT = 0.6


class Picture:
    """A rectangle of the screen as 32-bit pixels, row by row."""

    def __init__(self, data, w, h):
        self.data, self.w, self.h = data, w, h

    def row(self, y, x0, x1):
        return self.data[(y * self.w + x0) * 4:(y * self.w + x1) * 4]


class Parts:
    """The start screen cut into the parts a picture is judged by, from the oracle's layout (in
    the window's coordinates)."""

    def __init__(self, widgets, w, h):
        self.w, self.h = w, h

        def inset(rect, d):
            x, y, rw, rh = rect
            return (x + d, y + d, rw - 2 * d, rh - 2 * d)

        self.starfield = inset(widgets["Starfield"], 1)
        self.text = inset(widgets["Text"], 2)
        moving = [self.starfield, self.text, tuple(widgets["Strip"])]
        named = {"menu bar and toolbar": (0, 0, w, widgets["Table"][1]), "grid": tuple(widgets["GridPanel"]),
                 "preview": tuple(widgets["Preview"]), "group box": tuple(widgets["Group"]),
                 "filter box": tuple(widgets["Filter"])}
        # Each part as rows of column spans; "the backdrop and the frames" is all the rest.
        self.parts = {name: self._spans(rect, moving) for name, rect in named.items()}
        self.parts["backdrop and frames"] = self._spans((0, 0, w, h), moving + list(named.values()))

    def _spans(self, rect, holes):
        x, y, rw, rh = rect
        rows = []
        for row in range(max(y, 0), min(y + rh, self.h)):
            spans = [(max(x, 0), min(x + rw, self.w))]
            for hx, hy, hw, hh in holes:
                if hy <= row < hy + hh:
                    cut = []
                    for a, b in spans:
                        if hx > a:
                            cut.append((a, min(b, hx)))
                        if hx + hw < b:
                            cut.append((max(a, hx + hw), b))
                    spans = [(a, b) for a, b in cut if b > a]
            if spans:
                rows.append((row, spans))
        return rows

    def unlike(self, picture, settled):
        """The parts of picture that do not show what settled shows, by name."""
        out = []
        for name, rows in self.parts.items():
            same = sum(1 for y, spans in rows
                       if all(picture.row(y, a, b) == settled.row(y, a, b) for a, b in spans))
            if rows and same < ROWS_THAT_MUST_MATCH * len(rows):
                out.append(name)
        return out

    @staticmethod
    def black_and_white(picture, rect):
        """Whether every pixel of rect is black or white."""
        x, y, w, h = rect
        for row in range(y, y + h):
            r = picture.row(row, x, x + w)
            # Every channel 0 or 255, and the three alike.
            if r.translate(None, b"\x00\xff") or not r[0::4] == r[1::4] == r[2::4]:
                return False
        return True

    @staticmethod
    def white_share(picture, rect):
        x, y, w, h = rect
        white = sum(picture.row(row, x, x + w)[0::4].count(255) for row in range(y, y + h))
        return white / max(w * h, 1)

    def verdict(self, picture, before, settled):
        """"nothing", "whole", or what is wrong with the picture."""
        if picture.data == before.data:
            return "nothing"
        wrong = self.unlike(picture, settled)
        if not self.black_and_white(picture, self.starfield):
            wrong.append("the starfield is not black and white")
        if self.white_share(picture, self.text) < WHITE_OF_THE_TEXT:
            wrong.append("the text panel is not white")
        return "whole" if not wrong else "pieces: " + ", ".join(wrong)


class Screen:
    """The X display, its damage followed from the root window: after each burst of drawing the
    area watched is read back."""

    def __init__(self, name):
        self.d = xdisplay.Display(name)
        self.d.set_error_handler(lambda *args: None)
        self.root = self.d.screen().root
        self.d.damage_query_version()
        self.damage_event = self.d.query_extension(damage.extname).first_event + damage.DamageNotifyCode
        self.atom = self.d.intern_atom
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.d.sync()

    def colour_the_root(self, pixel):
        """The desktop's own colour (neither black nor white): a window shown before its picture is
        ready shows black or white on it, as it would on a desktop."""
        self.root.change_attributes(background_pixel=pixel)
        self.root.clear_area(0, 0, 0, 0)
        self.d.sync()

    def grab(self, area):
        x, y, w, h = area
        # The colours only (the fourth byte of a pixel is whatever was last written there).
        return Picture(self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFF).data, w, h)

    def drain(self):
        self.d.sync()
        while self.d.pending_events():
            self.d.next_event()

    def window_manager(self):
        return self.root.get_full_property(self.atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType) is not None

    def work_area(self):
        prop = self.root.get_full_property(self.atom("_NET_WORKAREA"), X.AnyPropertyType)
        if prop and len(prop.value) >= 4:
            return tuple(prop.value[:4])
        g = self.root.get_geometry()
        return (0, 0, g.width, g.height)

    def windows_of(self, pid):
        """The program's viewable top-level windows titled "Patience.": (window, client area)."""
        out = []
        stack = list(self.root.query_tree().children)
        while stack:
            w = stack.pop()
            try:
                stack.extend(w.query_tree().children)
                prop = w.get_full_property(self.atom("_NET_WM_PID"), X.AnyPropertyType)
                if not prop or prop.value[0] != pid or w.get_attributes().map_state != X.IsViewable:
                    continue
                name = w.get_full_property(self.atom("_NET_WM_NAME"), X.AnyPropertyType)
                if not name or not bytes(name.value).startswith(b"Patience."):
                    continue
                g = w.get_geometry()
                at = w.translate_coords(self.root, 0, 0)
                out.append((w, (-at.x, -at.y, g.width, g.height)))
            except Exception:  # noqa: BLE001 - a window that went meanwhile
                continue
        return out

    def maximized(self, window):
        prop = window.get_full_property(self.atom("_NET_WM_STATE"), X.AnyPropertyType)
        states = set(prop.value) if prop else set()
        return {self.atom("_NET_WM_STATE_MAXIMIZED_VERT"), self.atom("_NET_WM_STATE_MAXIMIZED_HORZ")} <= states

    def frame_extents(self, window):
        prop = window.get_full_property(self.atom("_NET_FRAME_EXTENTS"), X.AnyPropertyType)
        return tuple(prop.value[:4]) if prop and len(prop.value) >= 4 else (0, 0, 0, 0)

    def maximized_area(self, window):
        """Where the client area of a window maximized to the work area lies."""
        left, right, top, bottom = self.frame_extents(window)
        x, y, w, h = self.work_area()
        return (x + left, y + top, w - left - right, h - top - bottom)

    def watch(self, area, on_picture, done, on_map=None, timeout=60):
        """Reads area back at once, then after each burst of drawing, and gives each picture to
        on_picture(time, picture) until done() is true. on_map(window) is called once, when a
        top-level window is mapped or taken by the window manager."""
        dmg = self.root.damage_create(damage.DamageReportNonEmpty)
        self.d.sync()
        on_picture(time.monotonic(), self.grab(area))
        mapped = False
        end = time.monotonic() + timeout
        try:
            while not done():
                if time.monotonic() > end:
                    raise Failure("the screen did not settle in %d s" % timeout)
                select.select([self.d.fileno()], [], [], 0.05)
                damaged = False
                while self.d.pending_events():
                    ev = self.d.next_event()
                    if ev.type == self.damage_event:
                        damaged = True
                    elif ev.type in (X.MapNotify, X.ReparentNotify) and not mapped and on_map:
                        mapped = True
                        on_map(ev.window)
                if damaged:
                    self.d.damage_subtract(dmg, 0, 0)
                    on_picture(time.monotonic(), self.grab(area))
        finally:
            self.d.damage_destroy(dmg)
            self.d.sync()


class Quiet:
    """When the parts of the start screen that stand still last changed."""

    def __init__(self, parts):
        self.parts, self.last, self.since = parts, None, time.monotonic()

    def see(self, t, picture):
        if self.last is None or self.parts.unlike(picture, self.last):
            self.since = t
        self.last = picture

    def for_(self, seconds):
        return self.last is not None and time.monotonic() - self.since >= seconds


class FirstSecond:
    """Starts of the game on a desktop (desktop.Session), each judged picture by picture."""

    def __init__(self, session):
        self.s = session
        self.screen = Screen(session.desktop.display)
        self.screen.colour_the_root(DESKTOP_COLOUR)
        self.wm = self.screen.window_manager()
        # A data folder already chosen, so no first-run question comes up.
        data = os.path.join(session.home, ".local/share/Patience")
        os.makedirs(data, exist_ok=True)
        with open(os.path.join(data, "Player.dat"), "w", newline="") as f:
            f.write("\r\n2051\r\n")
        self.area = self.settled = self.parts = None
        self.child_windows = None

    def expected(self, window):
        """The client area of the window maximized to the work area."""
        return self.screen.maximized_area(window) if self.wm else self.screen.work_area()

    def ended_maximized(self, pid):
        windows = self.screen.windows_of(pid)
        if not windows:
            return False, None
        window, area = windows[0]
        return area == self.expected(window) and (not self.wm or self.screen.maximized(window)), area

    def learn(self):
        """A first start, settled: where the window lies and what its start screen shows."""
        p = self.s.start("Patience")
        wait_until("the window maximized", lambda: self.ended_maximized(p.process.pid)[0], 60)
        self.area = self.ended_maximized(p.process.pid)[1]
        layout = self.s.oracle.layout(self.area[2:], self.s.desktop.size)
        self.parts = Parts(layout["widgets"], *self.area[2:])
        quiet = Quiet(self.parts)
        self.screen.watch(self.area, quiet.see, lambda: quiet.for_(1.5))
        self.settled = quiet.last
        window = self.screen.windows_of(p.process.pid)[0][0]
        # The windows of its own inside the program's window (the views that paint on screen).
        self.child_windows = len(window.query_tree().children)
        self.end(p)

    def end(self, program):
        program.signal(signal.SIGTERM)
        if program.wait_end(30) is None:
            raise Failure("the program did not end on SIGTERM")
        wait_until("the window gone", lambda: not self.screen.windows_of(program.process.pid), 10)
        self.screen.drain()

    def other_window_closes(self):
        """A window of another program, maximized, then closed: the game starts the moment it has gone."""
        w = self.screen.root.create_window(0, 0, 640, 480, 0, X.CopyFromParent, X.InputOutput, X.CopyFromParent,
                                           background_pixel=self.screen.d.screen().white_pixel)
        w.set_wm_name("other")
        w.change_property(self.screen.atom("_NET_WM_STATE"), Xatom.ATOM, 32,
                          [self.screen.atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                           self.screen.atom("_NET_WM_STATE_MAXIMIZED_HORZ")])
        w.map()
        self.screen.d.sync()
        wait_until("the other window", lambda: w.get_attributes().map_state == X.IsViewable, 10, step=0.01)
        time.sleep(0.3)
        w.destroy()
        self.screen.d.sync()
        # The moment the window manager has taken its frame away too (the desktop bare again).
        bare = DESKTOP_COLOUR.to_bytes(4, "little") * (self.area[2] * self.area[3])
        wait_until("the other window gone", lambda: self.screen.grab(self.area).data == bare, 10, step=0.005)

    def start(self, paused=False, after_close=False):
        """One start judged: (the pictures in pieces as (ms after the launch, verdict), whether the
        window ended maximized, its client area)."""
        if after_close:
            self.other_window_closes()
        else:
            self.screen.drain()
        run = {"bad": [], "kept": 0, "seen": False}
        quiet = Quiet(self.parts)

        def pause(window):
            # The program stops the moment its window appears, for 150-300 ms.
            if paused and "p" in run:
                run["p"].signal(signal.SIGSTOP)
                time.sleep(random.uniform(0.15, 0.3))
                run["p"].signal(signal.SIGCONT)

        def on_picture(t, picture):
            if "before" not in run:
                run["before"], run["t0"] = picture, t
                return
            v = self.parts.verdict(picture, run["before"], self.settled)
            run["seen"] |= v != "nothing"
            if v not in ("nothing", "whole"):
                run["bad"].append((t - run["t0"], v))
                if run["kept"] < 3:
                    run["kept"] += 1
                    self._keep(picture, len(run["bad"]))
            quiet.see(t, picture)

        def done():
            if "p" not in run:
                run["p"] = self.s.start("Patience")
                run["t0"] = time.monotonic()
                return False
            return run["seen"] and quiet.for_(1.0)

        self.screen.watch(self.area, on_picture, done, on_map=pause)
        maximized, ended = self.ended_maximized(run["p"].process.pid)
        self.end(run["p"])
        return run["bad"], maximized, ended

    def _keep(self, picture, n):
        """A picture in pieces among the artifacts (a compressed PPM)."""
        rgb = bytearray(len(picture.data) // 4 * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = picture.data[2::4], picture.data[1::4], picture.data[0::4]
        path = os.path.join(self.s.artifacts, "pieces-%02d-%03d.ppm.z" % (self.s.desktop.shots, n))
        with open(path, "wb") as f:
            f.write(zlib.compress(b"P6 %d %d 255\n" % (picture.w, picture.h) + bytes(rgb), 1))


def series(program_dir, starts, wm, after_close, paused):
    from desktop import Session
    os.environ.setdefault("PATIENCE_BIN_DIR", program_dir)
    here = os.path.dirname(os.path.abspath(__file__))
    os.environ.setdefault("DESKTOP_ORACLE", os.path.join(here, "..", "..", "build-asan", "tests", "desktop_oracle"))
    s = Session("first-second-series", size=(1920, 1080), wm=wm)
    try:
        f = FirstSecond(s)
        f.learn()
        whole = maxed = 0
        for i in range(starts):
            s.desktop.shots += 1
            bad, maximized, ended = f.start(paused=paused, after_close=after_close)
            whole += not bad
            maxed += maximized
            pieces = "whole" if not bad else "%d pictures in pieces, the first at %.0f ms: %s" % (
                len(bad), bad[0][0] * 1000, bad[0][1])
            print("start %2d: %s; %s, client area %s" % (i + 1, pieces, "maximized" if maximized else "NOT maximized",
                                                         ended), flush=True)
        print("%d of %d starts whole, %d of %d ended maximized" % (whole, starts, maxed, starts))
    finally:
        s.close()


if __name__ == "__main__":
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if not args:
        sys.exit(__doc__)
    series(os.path.abspath(args[0]), int(args[1]) if len(args) > 1 else 20, "--without-wm" not in sys.argv,
           "--after-close" in sys.argv, "--paused" in sys.argv)
