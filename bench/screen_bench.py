#!/usr/bin/python3
"""On-screen benchmark of the game's table, on the X display it is given (under openbox, which it
starts when the display has no window manager).

  xvfb-run -a -s "-screen 0 1920x1080x24" bench/screen_bench.py build/bin/Patience [rounds] [--peers]

Each figure is printed with the machine's load average (1 minute) beside it, since the machine may be
shared. Every start of the program has a fresh home folder and an audio device (SDL's dummy driver,
unless SDL_AUDIODRIVER says otherwise).

  - A dealt Freecell table at rest: processor time of the program (and of each of its busy threads)
    and of the X server over IDLE_S seconds, in % of a core.
  - A drag: a card of a Freecell column carried round in circles for DRAG_S seconds, the pointer moved
    DRAG_HZ times a second through XTest; the program's processor time over those seconds and the
    frames it drew (bursts of X DAMAGE). With --peers the same in Aisleriot's Freecell ("sol"), maximized,
    interleaved round by round, and the ratio of ours to its.
  - Pixels sent to the screen against pixels whose colour changed there, for the fly-back of a card
    let go over the bare table, a new Klondike deal (the New Game button) and one click on Spider's
    stock: sent is what the X server received for the window (X DAMAGE, raw rectangles), changed is
    what the table's paints changed (PATIENCE_PRESENT_PROBE, see cardtable/CardTableWidget.h), and
    the table's own count of what it sent beside it.

Needs python3-xlib, xdotool and (for --peers) Aisleriot.
"""
import atexit
import math
import os
import queue
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

from Xlib import X, display as xdisplay
from Xlib.ext import damage, xtest

IDLE_S = 20.0
DRAG_S = 5.0
DRAG_HZ = 120
MUSIC_S = 14.0  # the start-up music has ended this long after the start
QUIET_S = 0.8  # no paint for this long: the screen has settled
TIMEOUT_S = 60.0
PEER_PATH = os.environ.get("PATH", "") + ":/usr/games"
# Down presses after a game's initial letter in the alphabetical start-screen list.
GAMES = {"Freecell": ("f", 17), "Klondike 1 [Turn over 1]": ("k", 3), "Spider": ("s", 12)}

signal.signal(signal.SIGTERM, lambda *args: sys.exit(1))


def load():
    return os.getloadavg()[0]


def thread_ns(pid):
    """Processor time of every live thread of pid in ns, by thread name."""
    out = {}
    try:
        tasks = os.listdir(f"/proc/{pid}/task")
    except OSError:
        return out
    for t in tasks:
        try:
            with open(f"/proc/{pid}/task/{t}/schedstat") as f:
                ns = int(f.read().split()[0])
            with open(f"/proc/{pid}/task/{t}/comm") as f:
                name = f.read().strip()
        except OSError:
            continue
        out[(t, name)] = ns
    return out


def cpu_ns(pid):
    return sum(thread_ns(pid).values())


def x_server_pid(name):
    number = name.split(":")[-1].split(".")[0]
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                args = f.read().split(b"\0")
        except OSError:
            continue
        if os.path.basename(args[0].decode(errors="replace")) in ("Xvfb", "Xorg", "X") and \
                f":{number}".encode() in args:
            return int(entry)
    return None


class Screen:
    """The X connection: windows of a process, XTest input and DAMAGE of one window."""

    def __init__(self):
        self.d = xdisplay.Display()
        self.d.set_error_handler(lambda *args: None)
        self.d.damage_query_version()
        self.damage_event = self.d.query_extension(damage.extname).first_event + damage.DamageNotifyCode
        self.root = self.d.screen().root
        self.pid_atom = self.d.intern_atom("_NET_WM_PID")
        self.name_atom = self.d.intern_atom("_NET_WM_NAME")
        self.utf8 = self.d.intern_atom("UTF8_STRING")
        self.wm_check = self.d.intern_atom("_NET_SUPPORTING_WM_CHECK")
        self.dmg = None
        self.sent = 0
        self.events = []

    def has_window_manager(self):
        return self.root.get_full_property(self.wm_check, X.AnyPropertyType) is not None

    def windows_of(self, pid):
        found = []

        def walk(w):
            try:
                prop = w.get_full_property(self.pid_atom, X.AnyPropertyType)
                attrs = w.get_attributes()
                children = w.query_tree().children
            except Exception:
                return
            if prop and prop.value[0] == pid and attrs.map_state == X.IsViewable:
                found.append(w)
            for c in children:
                walk(c)
        walk(self.root)
        return found

    def title(self, w):
        try:
            prop = w.get_full_property(self.name_atom, self.utf8)
            return prop.value.decode() if prop else (w.get_wm_name() or "")
        except Exception:
            return ""

    def geometry(self, w):
        g = w.get_geometry()
        pos = w.translate_coords(self.root, 0, 0)
        return -pos.x, -pos.y, g.width, g.height

    def main_window(self, pid, title_start, timeout=TIMEOUT_S):
        deadline = time.time() + timeout
        while time.time() < deadline:
            for w in self.windows_of(pid):
                g = w.get_geometry()
                if self.title(w).startswith(title_start) and g.width > 300:
                    return w
            time.sleep(0.1)
        raise RuntimeError("no window \"%s\" of process %d" % (title_start, pid))

    def watch(self, window):
        if self.dmg is not None:
            self.d.damage_destroy(self.dmg)
        self.dmg = window.damage_create(damage.DamageReportRawRectangles)
        self.d.sync()
        self.drain()
        self.sent, self.events = 0, []

    def drain(self):
        while self.d.pending_events():
            ev = self.d.next_event()
            if ev.type == self.damage_event and ev.damage == self.dmg:
                self.sent += ev.area.width * ev.area.height
                self.events.append(time.monotonic())

    def poll(self, timeout):
        ready, _, _ = select.select([self.d.fileno()], [], [], timeout)
        self.drain()
        return bool(ready)

    def move(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=int(x), y=int(y))
        self.d.flush()

    def button(self, down):
        xtest.fake_input(self.d, X.ButtonPress if down else X.ButtonRelease, 1)
        self.d.flush()

    def key_return(self):
        from Xlib import XK
        code = self.d.keysym_to_keycode(XK.XK_Return)
        xtest.fake_input(self.d, X.KeyPress, code)
        xtest.fake_input(self.d, X.KeyRelease, code)
        self.d.flush()

    def pixels(self, window):
        """The window's pixels as the screen shows them (the part on the screen), BGRX."""
        x, y, w, h = self.geometry(window)
        g = self.root.get_geometry()
        w, h = min(w, g.width - x), min(h, g.height - y)
        img = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        return w, h, img.data


def lowest_card(screen, window, bottom_margin):
    """A point on the lowest card (white) of the window: the bottom card of the longest column."""
    w, h, data = screen.pixels(window)
    best = None
    for x in range(0, w, 4):
        for y in range(h - bottom_margin, h // 4, -2):
            i = (y * w + x) * 4
            if data[i:i + 3] == b"\xff\xff\xff":
                if best is None or y > best[1]:
                    best = (x, y)
                break
    if best is None:
        raise RuntimeError("no card found in the window")
    return best[0], best[1] - 12


class Program:
    def __init__(self, screen, args, env, title_start):
        self.screen = screen
        self.process = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True, bufsize=1)
        self.started = time.monotonic()
        self.lines = queue.Queue()
        self.probe = (0, 0, 0)
        threading.Thread(target=self._read, daemon=True).start()
        self.window = screen.main_window(self.process.pid, title_start)
        x, y, w, h = screen.geometry(self.window)
        self.origin, self.size = (x, y), (w, h)

    def _read(self):
        for line in self.process.stdout:
            words = line.split()
            if words and words[0] == "present-probe":
                self.probe = (int(words[1]), int(words[2]), int(words[3]))
            self.lines.put(line)

    def at(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "30"] + list(keys), check=True)

    def click(self, x, y):
        self.screen.move(*self.at(x, y))
        time.sleep(0.05)
        self.screen.button(True)
        self.screen.button(False)

    def settle(self, quiet=QUIET_S, timeout=TIMEOUT_S):
        """Waits until neither X DAMAGE nor the probe has reported anything for quiet seconds."""
        deadline = time.time() + timeout
        last, seen = time.time(), (self.screen.sent, self.probe)
        while time.time() < deadline:
            self.screen.poll(0.05)
            now = (self.screen.sent, self.probe)
            if now != seen:
                seen, last = now, time.time()
            elif time.time() - last >= quiet:
                return
        raise RuntimeError("the screen did not settle")

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def fresh_env(probe=True):
    home = tempfile.mkdtemp(prefix="patience-screen-bench-")
    atexit.register(shutil.rmtree, home, True)
    os.makedirs(os.path.join(home, ".local/share/Patience"))
    with open(os.path.join(home, ".local/share/Patience/Player.dat"), "w", newline="") as f:
        f.write("\r\n2051\r\n")
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/.local/share", XDG_CONFIG_HOME=home + "/.config")
    env.setdefault("SDL_AUDIODRIVER", "dummy")
    # The probe compares every pixel it paints: not while processor time is measured.
    if probe:
        env["PATIENCE_PRESENT_PROBE"] = "1"
    return env


def start_game(screen, program, game, probe=True):
    p = Program(screen, [program], fresh_env(probe), "Patience")
    screen.watch(p.window)
    # The start screen never settles (its starfield flies on): it is given a moment to be built.
    time.sleep(2.0)
    letter, downs = GAMES[game]
    p.key(letter, *(["Down"] * downs), "Return")
    deadline = time.time() + TIMEOUT_S
    while not screen.title(p.window).startswith("Patience. Game: " + game):
        if time.time() > deadline:
            p.stop()
            raise RuntimeError("%s did not start (title \"%s\")" % (game, screen.title(p.window)))
        time.sleep(0.1)
    p.settle()
    return p


def measured(p, action):
    """Runs action and waits for the screen to settle: pixels X received, the probe's sent and changed."""
    p.screen.drain()
    p.settle(quiet=0.3)
    sent0, probe0 = p.screen.sent, p.probe
    action()
    p.settle()
    return p.screen.sent - sent0, p.probe[1] - probe0[1], p.probe[2] - probe0[2]


def circles(screen, p, start, seconds, hz):
    """Carries the pressed card round circles; returns the processor time (ns) and the seconds taken."""
    w, h = p.size
    cx, cy, r = w // 2, h // 2, min(w, h) // 4
    x0, y0 = p.at(cx + r, cy)
    for k in range(1, 21):
        screen.move(start[0] + (x0 - start[0]) * k / 20, start[1] + (y0 - start[1]) * k / 20)
        time.sleep(1.0 / hz)
    time.sleep(0.3)
    pid = p.process.pid
    c0, t0 = cpu_ns(pid), time.monotonic()
    screen.drain()
    events0 = len(screen.events)
    n = int(seconds * hz)
    for i in range(1, n + 1):
        a = 2 * math.pi * i / hz
        screen.move(*p.at(cx + r * math.cos(a), cy + r * math.sin(a)))
        due = t0 + i / hz
        while time.monotonic() < due:
            screen.poll(max(0.0, due - time.monotonic()))
    screen.poll(0.1)
    spent, taken = cpu_ns(pid) - c0, time.monotonic() - t0
    # Paints of another program: damage events closer than 2 ms belong to one frame.
    stamps = screen.events[events0:]
    bursts = sum(1 for i, t in enumerate(stamps) if i == 0 or t - stamps[i - 1] > 0.002)
    return spent, taken, bursts


def drag_ours(screen, program):
    p = start_game(screen, program, "Freecell", probe=False)
    try:
        x, y = lowest_card(screen, p.window, 40)
        start = p.at(x, y)
        screen.move(*start)
        time.sleep(0.1)
        screen.button(True)
        time.sleep(0.1)
        spent, taken, bursts = circles(screen, p, start, DRAG_S, DRAG_HZ)
        screen.button(False)
        p.settle()
        return spent / 1e6 * DRAG_S / taken, bursts
    finally:
        p.stop()


def drag_peer(screen, sol):
    env = fresh_env()
    p = Program(screen, [sol, "--variation", "freecell"], env, "Freecell")
    try:
        subprocess.run(["wmctrl", "-i", "-r", str(p.window.id), "-b", "add,maximized_vert,maximized_horz"])
        time.sleep(1.0)
        x, y, w, h = screen.geometry(p.window)
        p.origin, p.size = (x, y), (w, h)
        screen.watch(p.window)
        p.settle()
        cx, cy = lowest_card(screen, p.window, 60)
        start = p.at(cx, cy)
        screen.move(*start)
        time.sleep(0.1)
        screen.button(True)
        time.sleep(0.1)
        spent, taken, bursts = circles(screen, p, start, DRAG_S, DRAG_HZ)
        screen.button(False)
        p.settle()
        return spent / 1e6 * DRAG_S / taken, bursts
    finally:
        p.stop()


def rest_and_flyback(screen, program, xpid):
    p = start_game(screen, program, "Freecell")
    try:
        # Nothing sounds any more: the start-up music (11 s) and the deal's sounds have ended.
        time.sleep(max(2.0, p.started + MUSIC_S - time.monotonic()))
        la = load()
        before, x0, t0 = thread_ns(p.process.pid), cpu_ns(xpid) if xpid else 0, time.monotonic()
        time.sleep(IDLE_S)
        after, x1, t1 = thread_ns(p.process.pid), cpu_ns(xpid) if xpid else 0, time.monotonic()
        span = (t1 - t0) * 1e9
        total = sum(after.values()) - sum(v for k, v in before.items() if k in after)
        busy = sorted(((after[k] - before.get(k, 0), k[1]) for k in after), reverse=True)
        threads = ", ".join("%s %.3f %%" % (name, 100.0 * ns / span) for ns, name in busy[:3] if ns > 0)
        print("dealt Freecell table at rest, %.0f s: program %.3f %% of a core (%s), X server %.3f %%  [load %.1f]"
              % (IDLE_S, 100.0 * total / span, threads or "no thread ran", 100.0 * (x1 - x0) / span, la))

        # A card let go over the bare table below the columns flies home.
        w, h = p.size
        x, y = lowest_card(screen, p.window, 40)
        for attempt in range(3):
            screen.move(*p.at(x, y))
            time.sleep(0.1)
            screen.drain()
            sent0 = screen.sent
            screen.button(True)
            for k in range(1, 11):
                screen.move(*p.at(x + (w // 2 - x) * k / 10, y + (h - 120 - y) * k / 10))
                time.sleep(0.02)
            time.sleep(0.3)
            screen.drain()
            if screen.sent > sent0:
                break
            # No card followed the pointer: a little higher up the column.
            screen.button(False)
            p.settle()
            y -= 20
        la = load()
        sent, table_sent, changed = measured(p, lambda: screen.button(False))
        report("fly-back", sent, table_sent, changed, la)
    finally:
        p.stop()


def report(what, sent, table_sent, changed, la):
    ratio = sent / changed if changed else float("nan")
    print("%-20s sent %.3f Mpx (the table's paints %.3f), changed %.3f Mpx: sent / changed %.2f  [load %.1f]"
          % (what, sent / 1e6, table_sent / 1e6, changed / 1e6, ratio, la))
    return ratio


def new_deal(screen, program):
    p = start_game(screen, program, "Klondike 1 [Turn over 1]")
    try:
        la = load()
        # The toolbar's first button is New Game.
        sent, table_sent, changed = measured(p, lambda: p.click(17, 34))
        report("Klondike deal", sent, table_sent, changed, la)
    finally:
        p.stop()


def spider_stock(screen, program):
    p = start_game(screen, program, "Spider")
    try:
        # The stock is the pile at the top left, below the toolbar: the first pixel that is not the table's.
        w, h, data = screen.pixels(p.window)
        bg = data[((h - 5) * w + w // 2) * 4:((h - 5) * w + w // 2) * 4 + 3]
        stock = None
        for y in range(60, h // 2, 2):
            for x in range(0, w // 4, 2):
                i = (y * w + x) * 4
                if data[i:i + 3] != bg:
                    stock = (x + 30, y + 30)
                    break
            if stock:
                break
        if stock is None:
            raise RuntimeError("no stock found")
        la = load()
        sent, table_sent, changed = measured(p, lambda: p.click(*stock))
        report("Spider stock click", sent, table_sent, changed, la)
    finally:
        p.stop()


def maker_photo(screen, maker, rounds):
    """A 12-megapixel JPEG photo onto faces of a new card set in the card-set maker: the time from the
    Enter that takes the file in the picture dialog to the maker window's last paint."""
    photo = os.path.join(tempfile.mkdtemp(prefix="patience-screen-bench-photo-"), "photo.jpg")
    atexit.register(shutil.rmtree, os.path.dirname(photo), True)
    subprocess.run(["convert", "-size", "4000x3000", "gradient:skyblue-darkgreen", "-attenuate", "0.3",
                    "+noise", "Gaussian", "-quality", "92", photo], check=True)
    p = Program(screen, [maker], fresh_env(probe=False), "Deckwright")
    times = []
    try:
        time.sleep(1.0)
        p.click(45, 47)  # New
        time.sleep(1.5)
        p.key(*"Holiday", "Return")
        deadline = time.time() + TIMEOUT_S
        while screen.title(p.window) != "Deckwright - U_Holiday":
            if time.time() > deadline:
                raise RuntimeError("the maker made no new set")
            time.sleep(0.1)
        p.click(253, 44)  # Faces
        screen.watch(p.window)
        p.settle()
        for i in range(rounds):
            # A card of the first row: the picture dialog opens.
            p.click(66 + 70 * (i % 9), 116)
            time.sleep(1.5)
            subprocess.run(["xdotool", "type", "--delay", "5", photo], check=True)
            time.sleep(0.5)
            screen.drain()
            la = load()
            events0 = len(screen.events)
            t0 = time.monotonic()
            screen.key_return()
            p.settle(quiet=1.0)
            stamps = screen.events[events0:]
            if not stamps:
                raise RuntimeError("the maker window did not change")
            times.append((stamps[-1] - t0) * 1000)
            print("maker photo round %d: %.0f ms from Enter to the last frame  [load %.1f]" % (i + 1, times[-1], la))
    finally:
        p.stop()
    print("a 12-megapixel photo onto a card, Enter to the last frame: median %.0f ms (%.0f .. %.0f)  [load %.1f]"
          % (statistics.median(times), min(times), max(times), load()))


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if not args:
        sys.exit(__doc__)
    program = os.path.abspath(args[0])
    rounds = int(args[1]) if len(args) > 1 else 3
    sol = shutil.which("sol", path=PEER_PATH) if "--peers" in sys.argv else None
    if "--peers" in sys.argv and not sol:
        print("note: Aisleriot (sol) is not installed")
    screen = Screen()
    if not screen.has_window_manager():
        wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        atexit.register(wm.terminate)
        deadline = time.time() + 10
        while not screen.has_window_manager() and time.time() < deadline:
            time.sleep(0.05)
    xpid = x_server_pid(os.environ.get("DISPLAY", ":0"))

    maker = os.path.join(os.path.dirname(program), "Deckwright")
    if os.path.exists(maker):
        maker_photo(screen, maker, 5)
    rest_and_flyback(screen, program, xpid)
    new_deal(screen, program)
    spider_stock(screen, program)

    ours, theirs = [], []
    for i in range(rounds):
        la = load()
        ms, frames = drag_ours(screen, program)
        ours.append(ms)
        line = "drag round %d: ours %.0f ms of processor in %.0f s, %d frames" % (i + 1, ms, DRAG_S, frames)
        if sol:
            pms, bursts = drag_peer(screen, sol)
            theirs.append(pms)
            line += "; Aisleriot %.0f ms, %d frames; ours / Aisleriot's %.2f" % (pms, bursts, ms / pms)
        print(line + "  [load %.1f]" % la)
    line = "drag, %.0f s of circles at %d motions a second: ours median %.0f ms" % (
        DRAG_S, DRAG_HZ, statistics.median(ours))
    if theirs:
        ratios = [a / b for a, b in zip(ours, theirs)]
        line += ", Aisleriot %.0f ms, ours / Aisleriot's median %.2f (%.2f .. %.2f)" % (
            statistics.median(theirs), statistics.median(ratios), min(ratios), max(ratios))
    print(line + "  [load %.1f]" % load())


if __name__ == "__main__":
    main()
