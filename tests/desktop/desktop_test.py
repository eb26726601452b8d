#!/usr/bin/env python3
"""The game and the card-set maker on a real desktop: each scenario starts the real program of the
program folder on an X server of its own with a window manager, in a fresh home folder, and plays
it through X input only, reading back the screen and the files the program writes. A failing
scenario leaves screenshots and the program's output in its artifacts folder.

    desktop_test.py SCENARIO      runs one scenario (the names are below); exit code 0 when it passes
"""

import os
import shutil
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Failure, Session, read_lines, wait_until, write_saved_game  # noqa: E402
from first_frames import FirstSecond  # noqa: E402

# A Freecell deal the solver wins in a few dozen drags, with an Ace on top of a column, so that
# auto-move has something to do the moment the player moves.
FREECELL_SEED = 19
WINDOW_GREY = (239, 239, 239)
SKY_BLUE = (166, 202, 240)
HIGH_SCORES = "Statistics and High Scores."
# The maker's New button, in its window.
MAKER_NEW_BUTTON = (45, 47)


def check(condition, message):
    if not condition:
        raise Failure(message)


class Game:
    """The game as a player meets it: started, its first-run question answered, the start screen
    showing, the window's layout known."""

    def __init__(self, session, first_run=True, env=None):
        self.s = session
        self.p = session.start("Patience", env=env)
        if first_run:
            # "Save Data Location": the recommended place, as the dialog proposes.
            # A machine busy with other tests may take its time to start a sanitized program.
            self.p.window("Save Data Location", 60)
            self.p.key("Return")
        self.wid = self.p.window("Patience.", 60)
        self.wait_start_screen()
        self.layout = session.oracle.layout(self.p.client, session.desktop.size)
        self.w = self.layout["widgets"]

    def wait_start_screen(self):
        # The window settles at its final size (a window manager maximizes it).
        last = None
        for _ in range(40):
            g = self.p.follow(self.wid)
            if g == last and g[2] > 700:
                break
            last = g
            time.sleep(0.25)
        time.sleep(0.5)

    def screen_area(self, name):
        x, y, w, h = self.w[name]
        return (self.p.origin[0] + x, self.p.origin[1] + y, w, h)

    def table(self, scores=False):
        """The card table's pixels once nothing moves on it. With scores, a high-score question
        that comes up meanwhile (a scored game ended) is answered as a player would: OK."""
        def answer_scores():
            if scores and self.p.has_window(HIGH_SCORES):
                self.answer(HIGH_SCORES, "Return")
        return self.s.desktop.settle(self.screen_area("Table"), meanwhile=answer_scores)

    def points(self):
        return self.s.desktop.screen().region(*self.screen_area("Points"))

    def title(self):
        return self.p.title(self.wid)

    def menu(self, top, item):
        m = self.layout["menus"][top]
        self.p.click_rect(m["bar"])
        time.sleep(0.4)
        bx, by, bw, bh = m["bar"]
        ix, iy, iw, ih = m["items"][item]
        self.p.click((bx + ix + iw // 2, by + bh + iy + ih // 2))

    def button(self, name):
        self.p.click_rect(self.w[name])

    def answer(self, title, *keys, timeout=15):
        """Answers the question or dialog of that title with keys."""
        wid = self.p.window(title, timeout)
        self.s.desktop.xdotool("windowactivate", "--sync", wid)
        time.sleep(0.2)
        self.p.key(*keys)
        wait_until("\"%s\" to close" % title, lambda: not self.p.has_window(title), 10)

    def open(self, path):
        """File > Open of a saved game, through the open dialog."""
        self.button("Open")
        self.p.window("Open")
        time.sleep(0.3)
        self.p.type(path)
        self.p.key("Return")
        name = os.path.basename(path)
        self.until("the opened game", lambda: name in self.title())
        return self.table()

    def save_as(self, path):
        self.button("Save")
        self.p.window("Save As")
        time.sleep(0.3)
        self.p.key("ctrl+a")
        self.p.type(path)
        self.p.key("Return")
        wait_until("the saved game", lambda: os.path.basename(path) in self.title(), 20)

    def play(self, drags, settle_last=True):
        """Plays the oracle's drags; after each the table must come to show exactly the oracle's
        picture (the drag and the auto-moves after it done, the sparkles gone)."""
        area = self.screen_area("Table")
        for i, (x1, y1, x2, y2, expected) in enumerate(drags):
            self.p.drag((x1, y1), (x2, y2))
            if not settle_last and i + 1 == len(drags):
                break
            wait_until("the table after drag %d of %d to be the oracle's" % (i + 1, len(drags)),
                       lambda: self.s.desktop.screen().digest(*area) == expected, 60, step=0.1)

    def back_to_start(self):
        """F12 and Yes: the game in play is counted (a high score answered), the start screen shows."""
        self.p.key("F12")
        self.answer("Confirm", "Return")
        self.until("the start screen", lambda: self.title() == "Patience.")
        time.sleep(0.5)

    def until(self, what, test, timeout=20):
        """Waits for test, answering a high-score question meanwhile (ending a scored game asks)."""
        def done():
            if self.p.has_window(HIGH_SCORES):
                self.answer(HIGH_SCORES, "Return")
            return test()
        return wait_until(what, done, timeout)

    def saved_game(self, name, seed=FREECELL_SEED):
        path = self.s.data("Save Games", name)
        write_saved_game(path, "Freecell", seed)
        return path

    def statistics(self, game):
        path = self.s.data("Data", game + ".dat")
        return read_lines(path) if os.path.exists(path) else []


# -------------------------------------------------------------------------------------------------
# Scenarios


def start_screen_keys(s):
    """The first run, and the start screen played by its keys after a click elsewhere."""
    g = Game(s)
    check(os.path.exists(s.data("Player.dat")), "the first run wrote no Player.dat")
    s.desktop.shot("start-screen")
    rows = g.layout["rows"]
    # A click on the window outside the grid, then the grid's keys.
    x, y, w, h = g.w["Strip"]
    g.p.click((x + w + 20, y + h // 2))
    g.p.key("Down", "Down", "Up", "Down")
    g.p.key("Return")
    wait_until("the game of the third row", lambda: g.title() == "Patience. Game: %s  [Open Game]" % rows[2], 15)
    g.table()
    # Back to the start screen (F12), and a game found by its initial after a click elsewhere.
    g.back_to_start()
    g.p.click((x + w + 20, y + h // 2))
    g.p.key("k", "Down", "Return")
    first_k = next(i for i, r in enumerate(rows) if r.startswith("K"))
    wait_until("the game after the first K", lambda: rows[first_k + 1] in g.title(), 15)


def freecell_win(s):
    """A Freecell deal played to a win through real drags: the statistics and the high score."""
    g = Game(s)
    deal = g.saved_game("deal.ppg")
    g.open(deal)
    drags, won = s.oracle.drags(deal, g.p.client, s.desktop.size)
    check(won, "the oracle did not win the deal")
    g.play(drags, settle_last=False)
    # The winning show (half a minute of stars), then the high-score question.
    g.answer(HIGH_SCORES, "ctrl+a", "T", "e", "s", "t", "e", "r", "Return", timeout=90)
    stats = g.statistics("Freecell")
    check(stats[:2] == ["1", "1"], "Freecell.dat after a win: %s" % stats)
    scores = read_lines(s.data("Data", "Freecell_HS.dat"))
    check(scores and scores[0] == "Tester", "the high-score table: %s" % scores[:3])
    check("[Closed Game]" in g.title(), "a won game is closed: " + g.title())


def save_and_reopen(s):
    """Saved with auto-move on, opened again: the same table and the same points; opening another
    file afterwards counts nothing and asks nothing."""
    g = Game(s)
    deal = g.saved_game("deal.ppg")
    other = g.saved_game("other.ppg", seed=17)
    opened = g.open(deal)
    drags, _ = s.oracle.drags(deal, g.p.client, s.desktop.size, most=3)
    g.play(drags)
    # An opened game is saved to its own file, without a dialog.
    g.button("Save")
    wait_until("the saved moves", lambda: len(read_lines(deal)) > 3, 10)
    before_table, before_points = g.table(), g.points()
    check(before_table != opened, "the drags changed nothing")
    g.open(deal)
    s.desktop.shot("reopened")
    check(g.table() == before_table, "the reopened table differs from the saved one")
    check(g.points() == before_points, "the reopened game has other points")
    g.open(other)
    time.sleep(1)
    check(not g.p.has_window(HIGH_SCORES), "opening another file asked for a high score")
    check(g.statistics("Freecell")[:1] in ([], ["0"]), "an untouched game was counted: %s" % g.statistics("Freecell"))
    check(read_lines(deal)[2] == "O", "the untouched saved game was closed")


def new_deals(s):
    """New Game after Open and after Restart deals a deal of its own each time, not the one that
    follows the file's seed."""
    g = Game(s)
    deal = g.saved_game("deal.ppg")

    def new_game():
        g.button("NewGame")
        time.sleep(0.5)
        return g.table(scores=True)

    opened = g.open(deal)
    after_open = [new_game() for _ in range(2)]
    check(opened not in after_open and after_open[0] != after_open[1], "New Game dealt the same deal")
    g.open(deal)
    check(new_game() != after_open[0], "New Game after opening the same file again dealt the same deal")
    after_restart = []
    for _ in range(2):
        # Restart closed the file: an open copy again.
        g.open(g.saved_game("deal.ppg"))
        g.menu("Game", "Restart")
        # "Restart this game? ..." (an open game, scored).
        g.answer("Confirm", "Return")
        after_restart.append(new_game())
    check(after_restart[0] != after_restart[1], "New Game after Restart dealt the same deal each time")


def sigterm(s):
    """Asked to end (a logout, kill), the program ends as Quit would, without a question, and the
    running game is counted."""
    g = Game(s)
    deal = g.saved_game("deal.ppg")
    g.open(deal)
    drags, _ = s.oracle.drags(deal, g.p.client, s.desktop.size, most=1)
    g.play(drags)
    g.p.signal(signal.SIGTERM)
    check(g.p.wait_end(15) is not None, "the program did not end on SIGTERM")
    stats = g.statistics("Freecell")
    check(stats[:2] == ["1", "0"], "the running game was not counted as played: %s" % stats)


def backdrop_and_panels(s):
    """The start screen's backdrop covers the whole window whenever the window manager sizes it;
    the panels keep their text."""
    g = Game(s)
    d = s.desktop

    def grey_points():
        # Places where only the backdrop shows: beside the picture strip and at the window's bottom.
        x, y, w, h = g.w["Strip"]
        gx, gy, gw, gh = g.w["GridPanel"]
        cw, ch = g.p.client
        points = [(x + w + 10, y + 10), (x + 10, ch - 8), (gx + gw + 2, ch - 8)]
        screen = d.screen()
        return [p for p in points if screen.rgb(*g.p.at(p)) == WINDOW_GREY]

    def starfield(when):
        # The starfield is filled on the display itself: on screen it shows only black and white,
        # with stars, and moves.
        x, y, w, h = g.w["Starfield"]
        sx, sy = g.p.at((x + 3, y + 3))
        pictures = []
        for _ in range(2):
            screen = d.screen()
            pictures.append(screen.region(sx, sy, w - 6, h - 6))
            time.sleep(0.3)
        bpp = screen.bpp
        colours = {bytes(pictures[0][i:i + 3]) for i in range(0, len(pictures[0]), bpp)}
        check(colours <= {b"\0\0\0", b"\xff\xff\xff"}, "%s the starfield shows %d colours" % (when, len(colours)))
        check(b"\xff\xff\xff" in colours, "%s the starfield shows no star" % when)
        check(pictures[0] != pictures[1], "%s the starfield stands still" % when)

    check(not grey_points(), "the backdrop leaves grey at %s" % grey_points())
    starfield("at start")
    # Sized again after the first paint: down and up again.
    d.run("wmctrl", "-i", "-r", g.wid, "-b", "remove,maximized_vert,maximized_horz")
    time.sleep(1)
    # The window first showed maximized, at that size: restored, it takes its normal size.
    restored = g.p.geometry(g.wid)[2:]
    check(restored == (700, 600), "restored from the first maximized state the window is %d x %d" % restored)
    d.run("wmctrl", "-i", "-r", g.wid, "-b", "add,maximized_vert,maximized_horz")
    time.sleep(1.5)
    g.p.follow(g.wid)
    d.shot("maximized-again")
    check(not grey_points(), "after maximizing again the backdrop leaves grey at %s" % grey_points())
    g.w = s.oracle.layout(g.p.client, d.size)["widgets"]
    starfield("after maximizing again")


def fullscreen_without_wm(s):
    """F11 on the start screen without a window manager: the panels move up with the table."""
    g = Game(s)
    gx, gy, gw, gh = g.w["GridPanel"]
    g.p.key("F11")
    time.sleep(1.5)
    g.p.follow(g.wid)
    s.desktop.shot("full-screen")
    screen = s.desktop.screen()
    # The game toolbar (30 pixels) is gone: the grid's header lies that much higher.
    header = g.p.at((gx + gw // 2, gy - 30 + 6))
    check(screen.rgb(*header) == SKY_BLUE, "the grid did not move up: %s at %s" % (screen.rgb(*header), header))


def about_and_points(s):
    """About is not offered on the start screen; the points label shows 0 there after a game."""
    g = Game(s)
    zero = g.points()
    g.menu("Help", "About")
    # Its sounds would come first. A disabled item leaves the menu open.
    time.sleep(4)
    g.p.key("Escape")
    # The about box is titled as the window is on the start screen.
    check(not any(t == "Patience." and w != g.wid for w, t in g.p.windows()), "About opened on the start screen")
    deal = g.saved_game("deal.ppg")
    g.open(deal)
    drags, _ = s.oracle.drags(deal, g.p.client, s.desktop.size, most=2)
    g.play(drags)
    check(g.points() != zero, "the drags scored nothing")
    g.back_to_start()
    check(g.points() == zero, "the start screen shows the last game's points")


def card_set_maker(s):
    """The maker on the game's data folder: a new card set made from the New button, then the
    maker asked to end."""
    g = Game(s)
    g.p.signal(signal.SIGTERM)
    check(g.p.wait_end(15) is not None, "the game did not end on SIGTERM")
    maker = s.start("Deckwright")
    wid = maker.window("Deckwright")
    time.sleep(1)
    maker.follow(wid)
    # The New button lies at the left of the maker's button row.
    maker.click(MAKER_NEW_BUTTON)
    maker.window("New CardSet")
    time.sleep(0.3)
    maker.type("Holiday")
    maker.key("Return")
    wait_until("the new set", lambda: maker.title(wid) == "Deckwright - U_Holiday", 30)
    s.desktop.shot("maker")
    check(os.path.exists(s.data("CardSets", "U_Holiday", "options.txt")), "the new set has no options.txt")
    maker.signal(signal.SIGTERM)
    check(maker.wait_end(15) is not None, "the maker did not end on SIGTERM")


def judge_starts(s, kinds):
    """Starts of each kind, from the launch on: every picture on the screen nothing of the program
    or the whole start screen, the window ending maximized to the work area."""
    f = FirstSecond(s)
    f.learn()
    check(f.child_windows <= 2, "the window has %d windows of its own inside it" % f.child_windows)
    for what, kw in kinds:
        bad, maximized, ended = f.start(**kw)
        check(not bad, "%s: %d pictures in pieces, the first %.0f ms after the launch (%s)" % (
            what, len(bad), bad[0][0] * 1000, bad[0][1]) if bad else "")
        check(maximized, "%s: the window ended at %s, not maximized to the work area" % (what, ended))


def first_second(s):
    """The first second of a start under a window manager: plain starts, starts right after another
    window closed, starts paused as the window appears."""
    judge_starts(s, [("a start", {}), ("a start", {}), ("a start after another window closed", {"after_close": True}),
                     ("a start paused as its window appears", {"paused": True})])


def first_second_without_wm(s):
    """The first second of a start without a window manager."""
    judge_starts(s, [("a start", {}), ("a start", {}), ("a start paused as its window appears", {"paused": True})])


SCENARIOS = {f.__name__: f for f in (start_screen_keys, freecell_win, save_and_reopen, new_deals, sigterm,
                                     backdrop_and_panels, fullscreen_without_wm, about_and_points,
                                     card_set_maker, first_second, first_second_without_wm)}
WITHOUT_WM = {"fullscreen_without_wm", "first_second_without_wm"}


TOOLS = ("Xvfb", "openbox", "xdotool", "xwd", "xwininfo", "xprop", "wmctrl", "import", "fc-solve")


def sanitizer_reports(session):
    """What the sanitizers of a sanitized program reported in its output."""
    found = []
    for name in os.listdir(session.artifacts):
        if name.endswith(".log"):
            with open(os.path.join(session.artifacts, name), errors="replace") as f:
                text = f.read()
            if "ERROR: AddressSanitizer" in text or "runtime error:" in text or "ERROR: LeakSanitizer" in text:
                found.append(name)
    return found


def main(argv):
    if len(argv) != 2 or argv[1] not in SCENARIOS:
        print("usage: desktop_test.py {%s}" % "|".join(SCENARIOS))
        return 2
    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing:
        # A build machine must not pass these silently (scripts/deps.sh installs them).
        print("missing tools: %s" % " ".join(missing))
        return 1 if os.environ.get("CI") else 77
    name = argv[1]
    session = Session(name, wm=name not in WITHOUT_WM)
    started = time.monotonic()
    try:
        SCENARIOS[name](session)
        for p in session.programs:
            p.stop()
        reports = sanitizer_reports(session)
        if reports:
            raise Failure("the sanitizers reported in " + ", ".join(reports))
        print("%s passed in %.1f s" % (name, time.monotonic() - started))
        return 0
    except Exception as e:  # noqa: BLE001 - every failure is reported with its screen
        path = session.desktop.shot("failure")
        traceback.print_exc()
        print("%s FAILED: %s\n  screenshot: %s\n  artifacts: %s" % (name, e, path, session.artifacts))
        return 1
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
