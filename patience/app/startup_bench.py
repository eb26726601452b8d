#!/usr/bin/python3
"""Start-up benchmark of the game program: the time from launching it to the first paint of its
window and to the first painted start screen, and its resident memory one second after that, over
several runs.

  xvfb-run -a -s "-screen 0 1280x1024x24" patience/app/startup_bench.py build-uirel/bin/Patience [runs]

The program reports both figures itself when PATIENCE_STARTUP_PROBE is set (see main.cpp); it
prints the monotonic clock at its first paint, which this script compares with the same clock
read just before the launch.
"""
import atexit
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# A home of its own with a data folder already chosen, so no first-run question waits.
HOME = tempfile.mkdtemp(prefix="patience-bench-")
atexit.register(shutil.rmtree, HOME, True)
os.makedirs(os.path.join(HOME, ".local/share/Patience"))
with open(os.path.join(HOME, ".local/share/Patience/Player.dat"), "w", newline="") as f:
    f.write("\r\n2051\r\n")


def one_run(program):
    env = dict(os.environ, PATIENCE_STARTUP_PROBE="1", HOME=HOME, XDG_DATA_HOME=HOME + "/.local/share",
               XDG_CONFIG_HOME=HOME + "/.config")
    start = time.clock_gettime(time.CLOCK_MONOTONIC) * 1000.0
    out = subprocess.run([program], env=env, capture_output=True, text=True, timeout=60).stdout
    painted = screen = rss = None
    for line in out.splitlines():
        if line.startswith("first-paint-monotonic-ms "):
            painted = float(line.split()[1]) - start
        elif line.startswith("start-screen-paint-monotonic-ms "):
            screen = float(line.split()[1]) - start
        elif line.startswith("resident-kb "):
            rss = int(line.split()[1])
    if painted is None or screen is None or rss is None:
        raise RuntimeError("no probe output:\n" + out)
    return painted, screen, rss


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    one_run(program)  # warms the file cache; not counted
    times, screens, memory = [], [], []
    for i in range(runs):
        t, s, m = one_run(program)
        times.append(t)
        screens.append(s)
        memory.append(m)
        print(f"run {i + 1}: first paint {t:.1f} ms, start screen {s:.1f} ms, resident {m / 1024:.1f} MiB")
    print(f"first paint: median {statistics.median(times):.1f} ms, min {min(times):.1f}, max {max(times):.1f}"
          f" ({runs} runs)")
    print(f"first painted start screen: median {statistics.median(screens):.1f} ms, min {min(screens):.1f},"
          f" max {max(screens):.1f}")
    print(f"resident memory after start: median {statistics.median(memory) / 1024:.1f} MiB")


if __name__ == "__main__":
    main()
