#!/usr/bin/python3
"""Start-up benchmark of the game program, on the X display it is given.

For each run it launches the program (with an audio device: SDL's dummy driver unless
SDL_AUDIODRIVER says otherwise) and measures, from the launch:
  - the first paint of its window;
  - the finished start screen: the first paint that shows the start screen after the window's last
    change of size (the window is maximized, so this is the start screen at its final size);
then, a second after that, its resident, anonymous and private dirty memory; then the processor
time of the program and of the X server over a few seconds of the idle start screen; then (unless
--no-idle) over IDLE_S seconds from IDLE_AFTER_S after the finished start screen (the start-up's
picture strip and music are over by then), and over MINIMIZED_S seconds with the window minimized.
Every figure is printed with the machine's load (the one-minute average) beside it.

  xvfb-run -a -s "-screen 0 1920x1080x24" patience/app/startup_bench.py build/bin/Patience [runs] [--peers] [--no-idle]

A window manager is started (openbox) when the display has none, so that the window is maximized as
on a desktop. With --peers, the installed patience programs "sol" (Aisleriot) and "kpat" (KPatience)
run interleaved with ours, one of each per round, and are measured the same way from outside: their
first window is the first paint covering at least half of their main window, seen through the X
DAMAGE extension, and the ratio of our finished start screen to it is printed per round.

The program reports its paints itself when PATIENCE_STARTUP_PROBE is set (see main.cpp), on the
monotonic clock this script reads before each launch. Needs python3-xlib and xdotool (to minimize).
"""
import atexit
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
from Xlib.ext import damage

SETTLE_S = 1.5  # quiet time after the last start-screen paint before it counts as finished
MEMORY_DELAY_S = 1.0  # memory is read this long after the finished start screen
SHORT_IDLE_S = 5.0  # processor time right after the memory is read, over this long
IDLE_AFTER_S = 30.0  # the settled idle start screen: from this long after the finished start screen
IDLE_S = 30.0  # over this long
MINIMIZED_S = 10.0  # minimized, over this long (after a second to settle)
TIMEOUT_S = 60.0
PEERS = {"sol": "Aisleriot", "kpat": "KPatience"}
PEER_PATH = os.environ.get("PATH", "") + ":/usr/games"  # where Debian installs them

# Ended from outside, the benchmark still stops what it started.
signal.signal(signal.SIGTERM, lambda *args: sys.exit(1))

# An audio device for every program, as on a desktop.
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")

HOME = tempfile.mkdtemp(prefix="patience-bench-")
atexit.register(shutil.rmtree, HOME, True)
# A data folder already chosen, so no first-run question waits.
os.makedirs(os.path.join(HOME, ".local/share/Patience"))
with open(os.path.join(HOME, ".local/share/Patience/Player.dat"), "w", newline="") as f:
    f.write("\r\n2051\r\n")


def now_ms():
    return time.clock_gettime(time.CLOCK_MONOTONIC) * 1000.0


def load():
    with open("/proc/loadavg") as f:
        return float(f.read().split()[0])


def proc_memory(pid):
    """Resident, anonymous and private dirty memory in KiB."""
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("Rss", "Anonymous", "Private_Dirty"):
                values[key] = int(rest.split()[0])
    return values.get("Rss", 0), values.get("Anonymous", 0), values.get("Private_Dirty", 0)


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def x_server_pid(name):
    """The process of the X server that serves display name (":N")."""
    number = name.split(":")[-1].split(".")[0]
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                args = f.read().split(b"\0")
        except OSError:
            continue
        exe = os.path.basename(args[0].decode(errors="replace"))
        if exe in ("Xvfb", "Xorg", "X", "Xephyr") and f":{number}".encode() in args:
            return int(entry)
    return None


class Watcher:
    """Paints of new top-level windows, seen through X DAMAGE."""

    def __init__(self):
        self.d = xdisplay.Display()
        self.d.set_error_handler(lambda *args: None)
        self.d.damage_query_version()
        self.damage_event = self.d.query_extension(damage.extname).first_event + damage.DamageNotifyCode
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.pid_atom = self.d.intern_atom("_NET_WM_PID")
        self.wm_check = self.d.intern_atom("_NET_SUPPORTING_WM_CHECK")
        self.d.sync()
        self.damages = {}
        self.owner = {}

    def has_window_manager(self):
        return self.root.get_full_property(self.wm_check, X.AnyPropertyType) is not None

    def reset(self):
        for dmg in self.damages.values():
            self.d.damage_destroy(dmg)
        self.damages, self.owner = {}, {}
        # Events of the last program's windows are dropped: a new client may get the same window ids.
        self.d.sync()
        while self.d.pending_events():
            self.d.next_event()

    def window_pid(self, window):
        if window.id not in self.owner or self.owner[window.id] is None:
            try:
                w = self.d.create_resource_object("window", window.id)
                prop = w.get_full_property(self.pid_atom, X.AnyPropertyType)
                self.owner[window.id] = prop.value[0] if prop else None
            except Exception:
                self.owner[window.id] = None
        return self.owner[window.id]

    def poll(self, timeout, pid, paints):
        """Waits up to timeout seconds for X events; appends (ms, area, width, height) to paints for
        every paint of a window of process pid."""
        ready, _, _ = select.select([self.d.fileno()], [], [], timeout)
        received = now_ms()
        if not ready and not self.d.pending_events():
            return
        while self.d.pending_events():
            ev = self.d.next_event()
            if ev.type == X.CreateNotify and ev.parent == self.root and not ev.override:
                try:
                    self.damages[ev.window.id] = ev.window.damage_create(damage.DamageReportRawRectangles)
                except Exception:
                    pass
            elif ev.type == self.damage_event:
                window = ev.drawable
                if ev.damage not in self.damages.values():
                    continue
                if self.window_pid(window) != pid:
                    continue
                a, g = ev.area, ev.drawable_geometry
                paints.append((received, a.width * a.height, g.width, g.height))


def wait_for_window_manager(watcher):
    if watcher.has_window_manager():
        return
    if not shutil.which("openbox"):
        print("note: no window manager and no openbox: the window will not be maximized")
        return
    wm = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    atexit.register(wm.terminate)
    deadline = time.time() + 10
    while not watcher.has_window_manager() and time.time() < deadline:
        time.sleep(0.05)


def session_bus():
    """A session bus for the whole benchmark when there is none (KPatience will not start without)."""
    if os.environ.get("DBUS_SESSION_BUS_ADDRESS") or not shutil.which("dbus-daemon"):
        return
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
    atexit.register(bus.terminate)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()


def launch(args, env):
    return subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                            bufsize=1)


def stop(process):
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def idle_load(pid, xpid, seconds):
    """Percent of a core used by the program and by the X server over seconds, and the load."""
    hz = os.sysconf("SC_CLK_TCK")
    p0, x0 = cpu_ticks(pid), cpu_ticks(xpid) if xpid else 0
    time.sleep(seconds)
    p1, x1 = cpu_ticks(pid), cpu_ticks(xpid) if xpid else 0
    return 100.0 * (p1 - p0) / hz / seconds, 100.0 * (x1 - x0) / hz / seconds, load()


def main_window(watcher, pid):
    """The program's largest top-level window that has painted."""
    best, area = None, 0
    for wid, owner in watcher.owner.items():
        if owner != pid:
            continue
        try:
            g = watcher.d.create_resource_object("window", wid).get_geometry()
        except Exception:
            continue
        if g.width * g.height > area:
            best, area = wid, g.width * g.height
    return best


def minimize(window):
    subprocess.run(["xdotool", "windowminimize", str(window)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def measure_after(watcher, process, pid, paints, finished_ms, xpid, idle):
    """Memory a second after finished_ms, the idle load then, and with idle the settled idle load
    and the load minimized."""
    while now_ms() < finished_ms + MEMORY_DELAY_S * 1000:
        watcher.poll(0.05, pid, paints)
    rss, anon, dirty = proc_memory(pid)
    result = {"rss": rss / 1024, "anon": anon / 1024, "dirty": dirty / 1024, "load": load()}
    result["cpu"], result["xcpu"], _ = idle_load(pid, xpid, SHORT_IDLE_S)
    if idle:
        while now_ms() < finished_ms + IDLE_AFTER_S * 1000:
            watcher.poll(0.05, pid, paints)
        result["idle"] = idle_load(pid, xpid, IDLE_S)
        window = main_window(watcher, pid)
        if window and shutil.which("xdotool"):
            minimize(window)
            time.sleep(1.0)
            result["minimized"] = idle_load(pid, xpid, MINIMIZED_S)
    stop(process)
    return result


def run_ours(watcher, program, xpid, idle):
    env = dict(os.environ, PATIENCE_STARTUP_PROBE="1", HOME=HOME, XDG_DATA_HOME=HOME + "/.local/share",
               XDG_CONFIG_HOME=HOME + "/.config")
    # An audio device, as a desktop has one.
    env.setdefault("SDL_AUDIODRIVER", "dummy")
    watcher.reset()
    lines = queue.Queue()
    start, startload = now_ms(), load()
    process = launch([program], env)
    threading.Thread(target=lambda: [lines.put(l) for l in process.stdout], daemon=True).start()
    first = screen = size = first_size = None
    last_line = None
    paints = []
    while True:
        watcher.poll(0.02, process.pid, paints)
        while not lines.empty():
            words = lines.get().split()
            if words and words[0] == "first-paint-monotonic-ms":
                first, first_size = float(words[1]) - start, (int(words[2]), int(words[3]))
            elif words and words[0] == "start-screen-paint-monotonic-ms":
                screen, size = float(words[1]) - start, (int(words[2]), int(words[3]))
                last_line = now_ms()
        if last_line is not None and now_ms() - last_line > SETTLE_S * 1000:
            break
        if now_ms() - start > TIMEOUT_S * 1000 or process.poll() is not None:
            stop(process)
            raise RuntimeError("the program reported no start screen")
    result = measure_after(watcher, process, process.pid, paints, start + screen, xpid, idle)
    result.update(first=first, first_size=first_size, screen=screen, size=size, startload=startload,
                  xfirst=(paints[0][0] - start) if paints else None)
    return result


def run_peer(watcher, command, xpid, idle):
    env = dict(os.environ, HOME=HOME, XDG_DATA_HOME=HOME + "/.local/share", XDG_CONFIG_HOME=HOME + "/.config")
    watcher.reset()
    start, startload = now_ms(), load()
    process = launch([command], env)
    paints = []
    shown = None
    while shown is None:
        watcher.poll(0.02, process.pid, paints)
        for t, area, w, h in paints:
            if w > 1 and h > 1 and area * 2 >= w * h:
                shown = t
                break
        if now_ms() - start > TIMEOUT_S * 1000 or process.poll() is not None:
            stop(process)
            raise RuntimeError(command + " showed no window")
    # It may go on building its first picture: memory and load are read once it has settled.
    settle = shown + SETTLE_S * 1000
    while now_ms() < settle:
        watcher.poll(0.05, process.pid, paints)
    result = measure_after(watcher, process, process.pid, paints, settle, xpid, idle)
    result.update(first=paints[0][0] - start, shown=shown - start, size=(paints[-1][2], paints[-1][3]), startload=startload)
    return result


def median(values):
    return statistics.median(values) if values else float("nan")


def spread(values):
    return f"{min(values):.2f} .. {max(values):.2f}" if values else "-"


def describe(r):
    """The figures of one run, each with the load when it was taken."""
    out = (f"resident {r['rss']:.1f} MiB, anonymous {r['anon']:.1f} MiB, private dirty {r['dirty']:.1f} MiB"
           f" (load {r['load']:.1f}); idle at once {r['cpu']:.2f} % (X server {r['xcpu']:.2f} %)")
    if "idle" in r:
        cpu, xcpu, at = r["idle"]
        out += f"; idle {IDLE_AFTER_S:.0f} s on {cpu:.2f} % (X server {xcpu:.2f} %, load {at:.1f})"
    if "minimized" in r:
        cpu, xcpu, at = r["minimized"]
        out += f"; minimized {cpu:.2f} % (X server {xcpu:.2f} %, load {at:.1f})"
    return out


def summary(name, results):
    loads = [r["load"] for r in results]
    out = (f"{name}: resident {median([r['rss'] for r in results]):.1f} MiB, anonymous"
           f" {median([r['anon'] for r in results]):.1f} MiB, private dirty {median([r['dirty'] for r in results]):.1f} MiB,"
           f" idle at once {median([r['cpu'] for r in results]):.2f} % (X server {median([r['xcpu'] for r in results]):.2f} %)")
    for key, what in (("idle", f"idle {IDLE_AFTER_S:.0f} s on"), ("minimized", "minimized")):
        taken = [r[key] for r in results if key in r]
        if taken:
            out += (f", {what} median {median([t[0] for t in taken]):.2f} % ({spread([t[0] for t in taken])}),"
                    f" X server {median([t[1] for t in taken]):.2f} % ({spread([t[1] for t in taken])})")
            loads += [t[2] for t in taken]
    return out + f"; load {spread(loads)}"


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if not args:
        sys.exit(__doc__)
    program = args[0]
    runs = int(args[1]) if len(args) > 1 else 10
    idle = "--no-idle" not in sys.argv
    peers = [shutil.which(c, path=PEER_PATH) for c in PEERS if shutil.which(c, path=PEER_PATH)] if "--peers" in sys.argv else []
    if "--peers" in sys.argv and not peers:
        print("note: no peer program installed (sol, kpat)")
    watcher = Watcher()
    wait_for_window_manager(watcher)
    session_bus()
    xpid = x_server_pid(os.environ.get("DISPLAY", ":0"))
    run_ours(watcher, program, xpid, False)  # warms the file cache; not counted
    for p in peers:
        run_peer(watcher, p, xpid, False)
    ours, theirs = [], {p: [] for p in peers}
    for i in range(runs):
        r = run_ours(watcher, program, xpid, idle)
        ours.append(r)
        print(f"run {i + 1}: first paint {r['first']:.1f} ms at {r['first_size'][0]} x {r['first_size'][1]}, finished start screen"
              f" {r['screen']:.1f} ms at {r['size'][0]} x {r['size'][1]} (load {r['startload']:.1f}); {describe(r)}", flush=True)
        for p in peers:
            q = run_peer(watcher, p, xpid, idle)
            theirs[p].append(q)
            print(f"       {PEERS[os.path.basename(p)]}: first window {q['shown']:.1f} ms at {q['size'][0]} x {q['size'][1]}"
                  f" (load {q['startload']:.1f}); {describe(q)}; finished start screen / its first window"
                  f" {r['screen'] / q['shown']:.2f}", flush=True)
    loads = [r["startload"] for r in ours]
    print(f"first paint: median {median([r['first'] for r in ours]):.1f} ms ({runs} runs)")
    screens = [r["screen"] for r in ours]
    print(f"finished start screen: median {median(screens):.1f} ms, min {min(screens):.1f},"
          f" max {max(screens):.1f}; load {spread(loads)}")
    print(summary("the start screen", ours))
    for p in peers:
        q = theirs[p]
        ratios = [r["screen"] / s["shown"] for r, s in zip(ours, q)]
        print(f"{PEERS[os.path.basename(p)]}: first window median {median([s['shown'] for s in q]):.1f} ms;"
              f" our finished start screen / its first window: median {median(ratios):.2f},"
              f" {min(ratios):.2f} .. {max(ratios):.2f}; load {spread([s['startload'] for s in q])}")
        print(summary(PEERS[os.path.basename(p)], q))


if __name__ == "__main__":
    main()
