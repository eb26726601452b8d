#!/usr/bin/python3
"""Two starts of the game at once while its data is due to move, then a third start.

Each round makes a fresh home folder whose documents folder holds the game's data (a name, the
options, the table's settings, the scores, favourites, statistics files, a user card set and many
saved games) and whose local application data folder exists, so the first start moves everything
there. Two programs are started, the second some time after the first; both are ended (SIGTERM)
once each shows its window, then a third start shows where the data is: every file must be in the
local folder, as it was, and nothing left in the documents folder or of the move.

  patience/app/two_starts_trial.py build/bin [--rounds 20] [--games 3000] [--busy 10]

--second random (the default) starts the second 0 to 2 s after the first; --second on-move starts
it as soon as the first has begun to move files (its hidden move folder appears) and needs no
fixed time. --busy N runs the last N rounds beside 8 busy processes (stress-ng --cpu 8). The
programs run offscreen; each reports its first paint (PATIENCE_STARTUP_PROBE). The exit status is
0 when every round ends with all the data in one place.
"""
import argparse
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

TIMEOUT_S = 120.0  # a start without a window by then shows a message (offscreen, unanswered) or hangs
MOVE_FOLDER = ".Patience-move"

# Ended from outside, the trial still stops what it started.
signal.signal(signal.SIGTERM, lambda *args: sys.exit(1))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())


def lines(*items):
    return "".join(item + "\r\n" for item in items)


def short_string(text):
    return bytes([len(text)]) + text.encode()


def fill_data_folder(folder, games):
    write(os.path.join(folder, "Player.dat"), lines("Zoe", "2051"))
    write(os.path.join(folder, "Options.dat"), lines("Off", "Off", "On", "None", "1", "Compact", "Off"))
    write(os.path.join(folder, "Scoring.dat"), lines("-2", "40", "-4", "-8"))
    write(os.path.join(folder, "fav.dat"), lines("Klondike", "Spider"))
    # The table's settings: a card table with none of its properties set.
    write(os.path.join(folder, "Status.Dat"), b"TPF0" + short_string("TCardTable") + short_string("") + b"\0\0")
    for i in range(40):
        write(os.path.join(folder, "Data", "Game%03d.dat" % i), lines(str(i), str(i // 2)))
    write(os.path.join(folder, "CardSets", "U_Trial", "options.txt"), lines("0", "1", "1", "0"))
    write(os.path.join(folder, "CardSets", "U_Trial", "01c.bmp"), b"BM" + bytes(200))
    for i in range(games):
        write(os.path.join(folder, "Save Games", "Klondike %04d.ppg" % i), lines("Klondike", str(1000 + i), "O"))


def tree(folder):
    """Every file below folder (relative path -> digest of its bytes)."""
    out = {}
    for root, dirs, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                out[os.path.relpath(path, folder)] = hashlib.sha1(f.read()).hexdigest()
    return out


class Start:
    """One program started in the home folder; painted is set at its window's first paint."""

    def __init__(self, program, home):
        env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
        env.update(HOME=home, QT_QPA_PLATFORM="offscreen", SDL_AUDIODRIVER="dummy", PATIENCE_STARTUP_PROBE="1")
        self.launched = time.monotonic()
        self.painted_after = None
        self.painted = threading.Event()
        self.process = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        stdin=subprocess.DEVNULL, text=True)
        self.errors = []
        threading.Thread(target=self._read_out, daemon=True).start()
        threading.Thread(target=self._read_err, daemon=True).start()

    def _read_out(self):
        for line in self.process.stdout:
            if line.startswith("first-paint-monotonic-ms") and not self.painted.is_set():
                self.painted_after = time.monotonic() - self.launched
                self.painted.set()
        self.painted.set()  # ended

    def _read_err(self):
        for line in self.process.stderr:
            self.errors.append(line.rstrip())

    def end(self):
        """Ends the program as the desktop's logout would; its exit status (None when it hung)."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            return self.process.wait(20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            return None


def one_round(program, games, second_at, rng):
    home = tempfile.mkdtemp(prefix="two-starts-")
    try:
        docs = os.path.join(home, "Documents", "Patience")
        local = os.path.join(home, ".local", "share", "Patience")
        os.makedirs(os.path.dirname(local))
        fill_data_folder(docs, games)
        before = tree(docs)

        first = Start(program, home)
        delay = None
        if second_at == "random":
            delay = rng.uniform(0.0, 2.0)
            time.sleep(delay)
        else:
            # As soon as the first has begun to move, or has shown its window.
            while not first.painted.is_set() and not os.path.isdir(os.path.join(local, MOVE_FOLDER)):
                time.sleep(0.001)
            delay = time.monotonic() - first.launched
        second = Start(program, home)
        for start in (first, second):
            start.painted.wait(TIMEOUT_S)
        ends = [first.end(), second.end()]

        third = Start(program, home)
        third.painted.wait(TIMEOUT_S)
        ends.append(third.end())

        in_local, in_docs = tree(local), tree(docs)
        leftovers = [p for p in list(in_local) + list(in_docs) if p.startswith(MOVE_FOLDER)]
        missing = [p for p in before if in_local.get(p) != before[p]]
        ok = not missing and not in_docs and not leftovers and len(in_local) == len(before) and ends == [0, 0, 0]
        return {
            "ok": ok,
            "delay": delay,
            "paints": [s.painted_after for s in (first, second, third)],
            "ends": ends,
            "files": len(before),
            "local": len(in_local),
            "docs": len(in_docs),
            "missing": len(missing),
            "errors": [e for s in (first, second, third) for e in s.errors if "ERROR" in e or "Sanitizer" in e][:5],
        }
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("--rounds", type=int, default=20)
    parser.add_argument("--games", type=int, default=3000)
    parser.add_argument("--busy", type=int, default=None, help="rounds beside 8 busy processes (the last ones)")
    parser.add_argument("--second", choices=("random", "on-move"), default="random")
    parser.add_argument("--seed", type=int, default=None)
    args = parser.parse_args()
    program = os.path.join(args.bin_dir, "Patience")
    busy_rounds = args.rounds // 2 if args.busy is None else args.busy
    rng = random.Random(args.seed)
    stress = None
    failed = 0
    print("round busy  second(s)  window 1st/2nd/3rd (s)   files  local  docs  verdict", flush=True)
    try:
        for n in range(1, args.rounds + 1):
            busy = n > args.rounds - busy_rounds
            if busy and stress is None:
                stress = subprocess.Popen(["stress-ng", "--cpu", "8", "--timeout", "3600s", "--quiet"],
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            r = one_round(program, args.games, args.second, rng)
            failed += not r["ok"]
            paints = "/".join("%.2f" % p if p is not None else "-" for p in r["paints"])
            load = os.getloadavg()[0]
            print("%5d %4s  %9.2f  %-24s %6d %6d %5d  %s (load %.1f)" %
                  (n, "yes" if busy else "no", r["delay"], paints, r["files"], r["local"], r["docs"],
                   "ok" if r["ok"] else "FAILED: exit %s, %d files not in the local folder %s" % (r["ends"], r["missing"], r["errors"]),
                   load), flush=True)
    finally:
        if stress is not None:
            stress.send_signal(signal.SIGTERM)
            stress.wait()
    print("%d of %d rounds with every file in the one place" % (args.rounds - failed, args.rounds))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
