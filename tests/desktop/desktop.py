"""What the desktop tests stand on: an X server (Xvfb) with a window manager (openbox) of its own,
the real programs of the program folder started in a fresh home folder, X input through xdotool,
and the screen read back through xwd.

Nothing here knows the programs' insides: where a control lies comes from the oracle
(desktop_oracle, the same window built offscreen at the same size), what happened from the screen
and from the files the program writes.

Every wait follows progress (a process that answers, a window that appears, a picture the oracle
foretold) and fails early when what it waits on has died. The bounds are generous: a sanitized
program beside a whole test run on a busy machine takes many times as long as on an idle one,
and a bound is only there so that a hang ends.
"""

import hashlib
import json
import os
import select
import shutil
import struct
import subprocess
import tempfile
import time

# The bound on waiting for a program's window or answer: far beyond what it takes on a loaded
# machine, since a wait returns as soon as its condition holds.
PATIENT = 180


class Failure(Exception):
    pass


def wait_until(what, test, timeout=PATIENT, step=0.05):
    """Polls test until it returns something true; its value, or Failure naming what."""
    end = time.monotonic() + timeout
    while True:
        value = test()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(step)


class Screen:
    """One screenful read with xwd: pixels as (r, g, b)."""

    def __init__(self, data):
        header = struct.unpack(">25I", data[:100])
        header_size, self.width, self.height = header[0], header[4], header[5]
        bits, self.stride, ncolors = header[11], header[12], header[19]
        if bits not in (24, 32):
            raise Failure("unexpected xwd pixel size %d" % bits)
        self.bpp = bits // 8
        self.pixels = data[header_size + 12 * ncolors:]

    def rgb(self, x, y):
        i = y * self.stride + self.bpp * x
        b, g, r = self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]
        return (r, g, b)

    def digest(self, x, y, w, h, mask=None):
        """The digest of a rectangle's blue, green and red bytes, row by row (as the oracle digests
        the table's picture); with a mask (left, top, right, bottom inside the rectangle) its
        pixels are taken as black."""
        data = bytearray(self.region(x, y, w, h))
        if mask:
            left, top, right, bottom = mask
            row, width = self.bpp * w, self.bpp * (right - left)
            for line in range(top, bottom):
                start = line * row + self.bpp * left
                data[start:start + width] = bytes(width)
        if self.bpp == 4:
            del data[3::4]
        return hashlib.md5(data).hexdigest()

    def region(self, x, y, w, h):
        """The bytes of a rectangle, to compare two screens by."""
        rows = []
        for row in range(max(y, 0), min(y + h, self.height)):
            start = row * self.stride + self.bpp * max(x, 0)
            rows.append(self.pixels[start:start + self.bpp * (min(x + w, self.width) - max(x, 0))])
        return b"".join(rows)


class Desktop:
    """An X server of its own with a window manager, or without one (wm=False). A desktop that
    fails to start leaves nothing running."""

    # A window manager that dies as it starts (it happens on a loaded machine) is started again.
    WM_STARTS = 3

    def __init__(self, size, artifacts, wm=True):
        self.size = size
        self.artifacts = artifacts
        self.xvfb = self.wm = None
        self.shots = 0
        try:
            self._start_xvfb()
            if wm:
                self._start_wm()
        except BaseException:
            self.close()
            raise

    def _start_xvfb(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % self.size, "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        end = time.monotonic() + PATIENT
        with os.fdopen(read, "rb") as f:
            # The server writes its display number once it takes connections.
            while not number.endswith(b"\n") and time.monotonic() < end and self.xvfb.poll() is None:
                if select.select([f], [], [], 0.5)[0]:
                    chunk = os.read(f.fileno(), 16)
                    if not chunk:
                        break
                    number += chunk
        if not number.strip():
            raise Failure("Xvfb did not start (exit code %s)" % self.xvfb.poll())
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)

    def _start_wm(self):
        for attempt in range(self.WM_STARTS):
            self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # Running once it has put its check window on the root window, as long as it lives.
            try:
                wait_until("the window manager", lambda: self.wm.poll() is not None or self._wm_running())
            except Failure:
                raise Failure("the window manager did not start in %d s" % PATIENT)
            if self.wm.poll() is None:
                return
        raise Failure("the window manager ended as it started, %d times (exit code %s)"
                      % (self.WM_STARTS, self.wm.returncode))

    def _wm_running(self):
        out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                             capture_output=True, text=True).stdout
        return "window id" in out

    def close(self):
        for p in (self.wm, self.xvfb):
            if p and p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True).stdout

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def screen(self, wid=None):
        """The whole screen, or one window's own picture (a menu's: what the server keeps under
        a menu is what reading the root window shows there)."""
        def read():
            data = subprocess.run(["xwd", "-silent"] + (["-id", wid] if wid else ["-root"]), env=self.env,
                                  capture_output=True).stdout
            return Screen(data) if len(data) > 100 else None
        return wait_until("xwd to read the screen", read, step=0.1)

    def focus(self, wid):
        """Gives the window the focus, through the window manager where there is one, and waits
        until it has it."""
        if self.wm:
            self.run("xdotool", "windowactivate", "--sync", wid)
            wait_until("the window to be active", lambda: self.run("xdotool", "getactivewindow").strip() == wid)
        else:
            self.run("xdotool", "windowfocus", "--sync", wid)
            wait_until("the window to have the focus", lambda: self.run("xdotool", "getwindowfocus").strip() == wid)

    def shot(self, name):
        """A PNG of the whole screen among the artifacts; returns its path."""
        self.shots += 1
        path = os.path.join(self.artifacts, "%02d-%s.png" % (self.shots, name))
        subprocess.run(["import", "-window", "root", path], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def settle(self, area, quiet=0.35, timeout=PATIENT, meanwhile=None):
        """Waits until the area (x, y, w, h on the screen) has not changed for quiet seconds;
        meanwhile (when given) is called at every look."""
        end = time.monotonic() + timeout
        last, since = None, time.monotonic()
        while time.monotonic() < end:
            if meanwhile:
                meanwhile()
            now = self.screen().region(*area)
            if now != last:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return now
            time.sleep(0.05)
        raise Failure("the screen did not settle")


class Program:
    """A program of the program folder, started in a home folder on a desktop."""

    def __init__(self, desktop, path, home, args=(), env=None):
        self.desktop = desktop
        self.home = home
        environment = dict(desktop.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                           XDG_DATA_HOME=os.path.join(home, ".local/share"),
                           XDG_CACHE_HOME=os.path.join(home, ".cache"), SDL_AUDIODRIVER="dummy")
        # A desktop has a session bus. Without one the libraries' D-Bus clients would start one
        # through the X display from a forked child of the program, which can hang in a sanitized
        # build (its quit then waits for the sound set-up that asked): the bus is known absent.
        environment.setdefault("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + os.path.join(home, "no-session-bus"))
        environment.update(env or {})
        self.log = open(os.path.join(desktop.artifacts, os.path.basename(path) + ".log"), "a")
        self.process = subprocess.Popen([path] + list(args), env=environment, cwd=home,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.origin = (0, 0)
        self.client = (0, 0)

    def alive(self):
        return self.process.poll() is None

    def windows(self):
        """Ids and titles of the program's visible windows."""
        ids = self.desktop.run("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)).split()
        out = []
        for wid in ids:
            title = self.desktop.run("xdotool", "getwindowname", wid).strip()
            out.append((wid, title))
        return out

    def window(self, title_start, timeout=PATIENT):
        """The id of the first visible window whose title begins so."""
        def find():
            if not self.alive():
                raise Failure("the program ended (exit code %s)" % self.process.returncode)
            for wid, title in self.windows():
                if title.startswith(title_start):
                    return wid
            return None
        return wait_until("a window \"%s\"" % title_start, find, timeout)

    def has_window(self, title_start):
        return any(t.startswith(title_start) for _, t in self.windows())

    def title(self, wid):
        return self.desktop.run("xdotool", "getwindowname", wid).strip()

    def popups(self):
        """Ids of the program's visible windows that the window manager does not manage (menus
        open)."""
        ids = self.desktop.run("xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)).split()
        return [wid for wid in ids if "Override Redirect State: yes" in self.desktop.run("xwininfo", "-id", wid)]

    def activate(self, wid):
        """Gives the window the focus and waits until it has it, so typed keys go there."""
        self.desktop.focus(wid)

    def maximized(self, wid):
        """Whether the window manager holds the window maximized both ways."""
        state = self.desktop.run("xprop", "-id", wid, "_NET_WM_STATE")
        return "_NET_WM_STATE_MAXIMIZED_VERT" in state and "_NET_WM_STATE_MAXIMIZED_HORZ" in state

    def geometry(self, wid):
        """The window's client area on the screen: (x, y, w, h)."""
        info = self.desktop.run("xwininfo", "-id", wid)
        values = {}
        for line in info.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                values[key.strip()] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def follow(self, wid):
        """Takes the window's client area as the origin of later clicks."""
        x, y, w, h = self.geometry(wid)
        self.origin, self.client = (x, y), (w, h)
        return (x, y, w, h)

    def at(self, point):
        return (self.origin[0] + point[0], self.origin[1] + point[1])

    def click(self, point, button=1, double=False):
        x, y = self.at(point)
        self.desktop.xdotool("mousemove", x, y)
        time.sleep(0.05)
        self.desktop.xdotool("click", "--repeat", 2 if double else 1, "--delay", 80, button)

    def click_rect(self, rect, **kw):
        self.click((rect[0] + rect[2] // 2, rect[1] + rect[3] // 2), **kw)

    def drag(self, a, b, steps=6):
        ax, ay = self.at(a)
        bx, by = self.at(b)
        d = self.desktop
        d.xdotool("mousemove", ax, ay)
        time.sleep(0.03)
        d.xdotool("mousedown", 1)
        time.sleep(0.05)
        for i in range(1, steps + 1):
            d.xdotool("mousemove", ax + (bx - ax) * i // steps, ay + (by - ay) * i // steps)
            time.sleep(0.02)
        time.sleep(0.05)
        d.xdotool("mouseup", 1)

    def key(self, *keys):
        for k in keys:
            self.desktop.xdotool("key", k)
            time.sleep(0.08)

    def type(self, text):
        self.desktop.xdotool("type", "--delay", 20, text)

    def type_into(self, title, text):
        """Types into the dialog of that title once it shows and has the focus, then Return."""
        self.activate(self.window(title))
        self.type(text)
        self.key("Return")

    def signal(self, sig):
        self.process.send_signal(sig)

    def wait_end(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.alive():
            self.process.kill()
            self.process.wait(10)
        self.log.close()


class Oracle:
    """The window's layout and the winning drags, from desktop_oracle."""

    def __init__(self, path, bin_dir):
        self.path = path
        self.env = dict(os.environ, PATIENCE_BIN_DIR=bin_dir)

    def layout(self, client, screen, picture=None):
        """Where the window's controls lie; with picture (a path), the window's picture is written
        there too (read it with read_ppm)."""
        out = subprocess.run([self.path, "layout", str(client[0]), str(client[1]), str(screen[0]),
                              str(screen[1])] + ([picture] if picture else []), env=self.env,
                             capture_output=True, text=True, timeout=600)
        if out.returncode != 0:
            raise Failure("the oracle's layout failed: " + out.stderr[-2000:])
        return json.loads(out.stdout)

    def _play(self, saved_game, client, screen, most):
        return subprocess.run([self.path, "play", saved_game, str(client[0]), str(client[1]), str(screen[0]),
                               str(screen[1]), str(most)], env=self.env, capture_output=True, text=True,
                              timeout=900)

    def deal(self, saved_game, client, screen):
        """The saved game as Open deals it: the digest of its table and the seed the next deal
        would take from the deal's generator."""
        out = self._play(saved_game, client, screen, 0)
        words = next((line.split() for line in out.stdout.splitlines() if line.startswith("deal ")), None)
        if out.returncode != 0 or not words:
            raise Failure("the oracle could not open %s: %s" % (saved_game, out.stderr[-2000:]))
        return words[1], words[2]

    def drags(self, saved_game, client, screen, most=400):
        """The drags that play the saved game (a Freecell deal) to a win: each drag's window
        coordinates, the digest of the table after it, and that digest without the last sparkle
        (its rectangle blacked out) with the rectangle, or None before the first sparkle."""
        out = self._play(saved_game, client, screen, most)
        drags = []
        for line in out.stdout.splitlines():
            words = line.split()
            if words[:1] == ["drag"]:
                mask = None if words[6] == "-" else (words[6], tuple(int(v) for v in words[7:11]))
                drags.append(tuple(int(v) for v in words[1:5]) + (words[5], mask))
        won = "won" in out.stdout.split()
        if out.returncode not in (0, 1) or (most >= 400 and not won):
            raise Failure("the oracle found no win: " + out.stderr[-2000:])
        return drags, won


def read_ppm(path):
    """A binary PPM picture as (width, height, rgb bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise Failure("%s is no 8-bit binary PPM" % path)
    return int(fields[1]), int(fields[2]), data[at + 1:]


def write_saved_game(path, game, seed, closed=False, moves=()):
    """A saved game as the program writes it: game, seed, open or closed, then the moves."""
    lines = [game, str(seed), "0" if closed else "O"]
    for move in moves:
        lines += [str(v) for v in move]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")


def read_lines(path):
    with open(path, newline="") as f:
        return f.read().replace("\r\n", "\n").split("\n")[:-1]


class Session:
    """One test's world: a desktop, a fresh home folder, the artifacts folder, the programs."""

    def __init__(self, name, size=(1280, 1024), wm=True):
        self.bin = os.environ["PATIENCE_BIN_DIR"]
        self.artifacts = os.path.join(os.environ.get("DESKTOP_ARTIFACTS", tempfile.gettempdir()), name)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        self.home = tempfile.mkdtemp(prefix="desktop-home-")
        self.programs = []
        self.desktop = None
        try:
            self.desktop = Desktop(size, self.artifacts, wm)
        except BaseException:
            self.close()
            raise
        self.oracle = Oracle(os.environ["DESKTOP_ORACLE"], self.bin)

    def data(self, *parts):
        """A path in the data folder the first-run question's default chose: local application
        data, or Documents where the home folder has no local application data folder."""
        for folder in (".local/share/Patience", "Documents/Patience"):
            if os.path.exists(os.path.join(self.home, folder, "Player.dat")):
                return os.path.join(self.home, folder, *parts)
        return os.path.join(self.home, ".local/share/Patience", *parts)

    def start(self, name="Patience", args=(), env=None):
        p = Program(self.desktop, os.path.join(self.bin, name), self.home, args, env)
        self.programs.append(p)
        return p

    def close(self):
        for p in self.programs:
            p.stop()
        if self.desktop:
            self.desktop.close()
        shutil.rmtree(self.home, ignore_errors=True)
