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
from desktop import PATIENT, Failure, Session, read_lines, read_ppm, wait_until, write_saved_game  # noqa: E402

# A Freecell deal the solver wins in a few dozen drags, with an Ace on top of a column, so that
# auto-move has something to do the moment the player moves.
FREECELL_SEED = 19
WINDOW_GREY = (239, 239, 239)
SKY_BLUE = (166, 202, 240)
HIGH_SCORES = "Statistics and High Scores."
# The maker's New and Open buttons, in its window.
MAKER_NEW_BUTTON = (45, 47)
MAKER_OPEN_BUTTON = (145, 47)
# In the card set chooser: the line under the preview that says why a set cannot be shown (dark red
# text), and OK; its list's rows are 24 pixels high from 7 (chooser_row).
CHOOSER_SAYS = (240, 195, 290, 18)
CHOOSER_OK = (492, 229)


def chooser_row(n):
    return (60, 7 + 24 * n + 12)


def follow_placed(program, wid):
    """Follows the window once the window manager has put it in its place (two looks agree)."""
    last = [None]

    def still():
        now = program.follow(wid)
        same, last[0] = now == last[0], now
        return same
    wait_until("the window in its place", still, step=0.1)


def check(condition, message):
    if not condition:
        raise Failure(message)


class Game:
    """The game as a player meets it: started, its first-run question answered, the start screen
    showing, the window's layout known."""

    def __init__(self, session, first_run=True, env=None):
        self.s = session
        self.p = session.start("Patience", env=env)
        self.layouts = {}
        if first_run:
            # "Save Data Location": the recommended place, as the dialog proposes.
            self.answer("Save Data Location", "Return")
        self.wid = self.p.window("Patience.")
        self.wait_start_screen()

    def know_layout(self):
        """The oracle's layout for the window's client size (asked once per size)."""
        if self.p.client not in self.layouts:
            self.layouts[self.p.client] = self.s.oracle.layout(self.p.client, self.s.desktop.size)
        self.layout = self.layouts[self.p.client]
        self.w = self.layout["widgets"]

    def wait_start_screen(self):
        """Waits until the window keeps one size and shows the start screen at that size: the
        grid's header where the oracle puts it. Under a window manager the window is maximized,
        as it starts."""
        seen = ["nothing yet"]

        def shown():
            if self.s.desktop.wm and not self.p.maximized(self.wid):
                seen[0] = "the window not maximized at %s" % (self.p.geometry(self.wid),)
                return False
            before = self.p.follow(self.wid)
            self.know_layout()
            gx, gy, gw, gh = self.w["GridPanel"]
            header = self.p.at((gx + gw // 2, gy + 6))
            colour = self.s.desktop.screen().rgb(*header)
            seen[0] = "the window at %s, %s at the grid's header %s" % (before, colour, header)
            return colour == SKY_BLUE and self.p.follow(self.wid) == before
        try:
            wait_until("the start screen", shown, step=0.25)
        except Failure as e:
            raise Failure("%s (last seen: %s)" % (e, seen[0]))

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

    def table_digest(self, mask=None):
        return self.s.desktop.screen().digest(*self.screen_area("Table"), mask=mask)

    def wait_table(self, what, digest, mask=None):
        """Waits until the table shows the oracle's picture (digest), or the picture without the
        last sparkle (mask: the digest without it and its rectangle)."""
        def shown():
            screen = self.s.desktop.screen()
            area = self.screen_area("Table")
            if screen.digest(*area) == digest:
                return True
            return mask is not None and screen.digest(*area, mask=mask[1]) == mask[0]
        wait_until(what, shown, step=0.1)

    def points(self):
        return self.s.desktop.screen().region(*self.screen_area("Points"))

    def title(self):
        return self.p.title(self.wid)

    def open_menu(self, top):
        """Opens a menu of the menu bar; the id of its popup once it shows."""
        before = set(self.p.popups())
        self.p.click_rect(self.layout["menus"][top]["bar"])
        return wait_until("the menu \"%s\" to open" % top,
                          lambda: next((w for w in self.p.popups() if w not in before), None))

    def menu(self, top, item):
        self.open_menu(top)
        m = self.layout["menus"][top]
        bx, by, bw, bh = m["bar"]
        ix, iy, iw, ih = m["items"][item]
        self.p.click((bx + ix + iw // 2, by + bh + iy + ih // 2))

    def button(self, name):
        self.p.click_rect(self.w[name])

    def answer(self, title, *keys, timeout=None):
        """Answers the question or dialog of that title with keys."""
        wid = self.p.window(title, timeout) if timeout else self.p.window(title)
        self.p.activate(wid)
        self.p.key(*keys)
        wait_until("\"%s\" to close" % title, lambda: not self.p.has_window(title))

    def open(self, path):
        """File > Open of a saved game, through the open dialog."""
        self.button("Open")
        self.p.type_into("Open", path)
        name = os.path.basename(path)
        self.until("the opened game", lambda: name in self.title())
        return self.table()

    def request(self, title, act):
        """Acts (a click, a key) until the window of that title shows: a command is refused while
        the program deals or moves, so it is asked again, as a player would, until it is taken."""
        def shown():
            if self.p.has_window(title):
                return True
            if self.p.has_window(HIGH_SCORES):
                self.answer(HIGH_SCORES, "Return")
            act()
            end = time.monotonic() + 5
            while time.monotonic() < end:
                if self.p.has_window(title):
                    return True
                time.sleep(0.1)
            return False
        wait_until("the window \"%s\"" % title, shown)

    def save_as(self, path):
        """Save of a game that has no file yet, through the Save As dialog."""
        self.request("Save As", lambda: self.button("Save"))
        self.p.activate(self.p.window("Save As"))
        self.p.key("ctrl+a")
        self.p.type(path)
        self.p.key("Return")
        wait_until("the saved game", lambda: os.path.basename(path) in self.title())

    def play(self, drags, settle_last=True):
        """Plays the oracle's drags; after each the table must come to show exactly the oracle's
        picture (the drag and the auto-moves after it done), but for the last sparkle, which may
        still glow over the foundation it started on: the rest of the table is held to the oracle's
        picture at once, that rectangle once a later sparkle has cut it short, and the whole table
        after the last drag."""
        for i, (x1, y1, x2, y2, expected, mask) in enumerate(drags):
            self.p.drag((x1, y1), (x2, y2))
            last = i + 1 == len(drags)
            if last and not settle_last:
                break
            self.wait_table("the table after drag %d of %d to be the oracle's" % (i + 1, len(drags)), expected,
                            None if last else mask)

    def back_to_start(self):
        """F12 and Yes: the game in play is counted (a high score answered), the start screen shows."""
        self.request("Confirm", lambda: self.p.key("F12"))
        self.answer("Confirm", "Return")
        self.until("the start screen", lambda: self.title() == "Patience.")
        self.wait_start_screen()

    def until(self, what, test, timeout=None):
        """Waits for test, answering a high-score question meanwhile (ending a scored game asks)."""
        def done():
            if self.p.has_window(HIGH_SCORES):
                self.answer(HIGH_SCORES, "Return")
            return test()
        return wait_until(what, done) if timeout is None else wait_until(what, done, timeout)

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
    wait_until("the game of the third row", lambda: g.title() == "Patience. Game: %s  [Open Game]" % rows[2])
    # Back to the start screen (F12), and a game found by its initial after a click elsewhere.
    g.back_to_start()
    g.p.click((x + w + 20, y + h // 2))
    g.p.key("k", "Down", "Return")
    first_k = next(i for i, r in enumerate(rows) if r.startswith("K"))
    wait_until("the game after the first K", lambda: rows[first_k + 1] in g.title())


def freecell_win(s):
    """A Freecell deal played to a win through real drags: the statistics and the high score."""
    g = Game(s)
    deal = g.saved_game("deal.ppg")
    g.open(deal)
    drags, won = s.oracle.drags(deal, g.p.client, s.desktop.size)
    check(won, "the oracle did not win the deal")
    g.play(drags, settle_last=False)
    # The winning show (half a minute of stars), then the high-score question.
    g.answer(HIGH_SCORES, "ctrl+a", "T", "e", "s", "t", "e", "r", "Return")
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
    g.open(deal)
    opened, _ = s.oracle.deal(deal, g.p.client, s.desktop.size)
    g.wait_table("the opened deal", opened)
    drags, _ = s.oracle.drags(deal, g.p.client, s.desktop.size, most=3)
    g.play(drags)
    played = drags[-1][4]
    check(played != opened, "the drags changed nothing")
    before_points = g.points()
    # An opened game is saved to its own file, without a dialog.
    g.button("Save")
    wait_until("the saved moves", lambda: len(read_lines(deal)) > 3)
    g.open(deal)
    # The replay has ended when the table shows the played position; the points show by then.
    g.wait_table("the reopened game to show the saved position", played)
    s.desktop.shot("reopened")
    check(g.points() == before_points, "the reopened game has other points")
    g.open(other)
    other_deal, _ = s.oracle.deal(other, g.p.client, s.desktop.size)
    g.wait_table("the other deal", other_deal)
    check(not g.p.has_window(HIGH_SCORES), "opening another file asked for a high score")
    check(g.statistics("Freecell")[:1] in ([], ["0"]), "an untouched game was counted: %s" % g.statistics("Freecell"))
    check(read_lines(deal)[2] == "O", "the untouched saved game was closed")


def new_deals(s):
    """New Game after Open and after Restart deals a deal of its own each time, not the one that
    follows the file's seed. Each new deal is saved to learn its seed, and the table on the
    screen is held to the oracle's picture of that seed's deal (the deal shown whole)."""
    g = Game(s)
    deal = g.saved_game("deal.ppg")
    _, following = s.oracle.deal(deal, g.p.client, s.desktop.size)
    count = [0]

    def new_game():
        count[0] += 1
        g.button("NewGame")
        path = s.data("Save Games", "new%d.ppg" % count[0])
        g.save_as(path)
        seed = read_lines(path)[1]
        digest, _ = s.oracle.deal(path, g.p.client, s.desktop.size)
        g.wait_table("the table of new deal %d (seed %s) to be the oracle's" % (count[0], seed), digest)
        check(seed != following, "New Game %d dealt the deal that follows the file's seed" % count[0])
        return seed

    g.open(deal)
    after_open = [new_game() for _ in range(2)]
    check(after_open[0] != after_open[1], "New Game dealt the same deal twice: seed %s" % after_open[0])
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
    check(g.p.wait_end(PATIENT) is not None, "the program did not end on SIGTERM")
    stats = g.statistics("Freecell")
    check(stats[:2] == ["1", "0"], "the running game was not counted as played: %s" % stats)


def backdrop_and_panels(s):
    """The start screen's backdrop covers the whole window whenever the window manager sizes it;
    the panels keep their text."""
    g = Game(s)
    d = s.desktop

    def backdrop_points():
        # Places where only the backdrop shows: beside the picture strip and at the window's bottom.
        x, y, w, h = g.w["Strip"]
        gx, gy, gw, gh = g.w["GridPanel"]
        cw, ch = g.p.client
        return [(x + w + 10, y + 10), (x + 10, ch - 8), (gx + gw + 2, ch - 8)]

    def backdrop_shown(when):
        # The window as the oracle draws it at this size: the backdrop at those places.
        picture = os.path.join(s.artifacts, "oracle-%dx%d.ppm" % g.p.client)
        s.oracle.layout(g.p.client, d.size, picture)
        width, _, pixels = read_ppm(picture)
        points = backdrop_points()
        expected = [tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3]) for x, y in points]
        check(all(e != WINDOW_GREY for e in expected), "the oracle shows window grey at %s" % points)

        def shown():
            screen = d.screen()
            return [screen.rgb(*g.p.at(p)) for p in points] == expected
        try:
            wait_until("the backdrop", shown)
        except Failure:
            screen = d.screen()
            raise Failure("%s the backdrop is not where it belongs: %s instead of %s at %s"
                          % (when, [screen.rgb(*g.p.at(p)) for p in points], expected, points))

    def starfield(when):
        # The starfield is filled on the display itself: on screen it shows only black and white,
        # with stars, and moves.
        x, y, w, h = g.w["Starfield"]
        sx, sy = g.p.at((x + 3, y + 3))
        first = d.screen().region(sx, sy, w - 6, h - 6)
        wait_until("%s the starfield to move" % when, lambda: d.screen().region(sx, sy, w - 6, h - 6) != first)
        bpp = d.screen().bpp
        colours = {bytes(first[i:i + 3]) for i in range(0, len(first), bpp)}
        check(colours <= {b"\0\0\0", b"\xff\xff\xff"}, "%s the starfield shows %d colours" % (when, len(colours)))
        check(b"\xff\xff\xff" in colours, "%s the starfield shows no star" % when)

    backdrop_shown("at start")
    starfield("at start")
    maximized = g.p.geometry(g.wid)
    # Sized again after the first paint: down and up again.
    d.run("wmctrl", "-i", "-r", g.wid, "-b", "remove,maximized_vert,maximized_horz")
    # The window first showed maximized, at that size: restored, it takes its normal size.
    try:
        wait_until("the restored size", lambda: g.p.geometry(g.wid)[2:] == (700, 600))
    except Failure:
        raise Failure("restored from the first maximized state the window is %d x %d" % g.p.geometry(g.wid)[2:])
    d.run("wmctrl", "-i", "-r", g.wid, "-b", "add,maximized_vert,maximized_horz")
    wait_until("the maximized size again", lambda: g.p.geometry(g.wid) == maximized)
    g.wait_start_screen()
    backdrop_shown("after maximizing again")
    d.shot("maximized-again")
    starfield("after maximizing again")


def fullscreen_without_wm(s):
    """F11 on the start screen without a window manager: the panels move up with the table."""
    g = Game(s)
    gx, gy, gw, gh = g.w["GridPanel"]
    # The game toolbar (30 pixels) goes: the grid's header comes to lie that much higher.
    header = g.p.at((gx + gw // 2, gy - 30 + 6))
    check(s.desktop.screen().rgb(*header) != SKY_BLUE, "the grid's header is already where F11 puts it")
    g.p.key("F11")
    try:
        wait_until("the grid to move up", lambda: s.desktop.screen().rgb(*header) == SKY_BLUE)
    finally:
        s.desktop.shot("full-screen")


def about_and_points(s):
    """About is not offered on the start screen; the points label shows 0 there after a game."""
    g = Game(s)
    zero = g.points()
    popup = g.open_menu("Help")
    m = g.layout["menus"]["Help"]
    bx, by, bw, bh = m["bar"]
    ix, iy, iw, ih = m["items"]["About"]
    g.p.click((bx + ix + iw // 2, by + bh + iy + ih // 2))
    # A disabled item leaves the menu open: a key moves its highlight once the click is handled.
    # Had About opened, the menu would be gone and the key would go to the about box.
    before = s.desktop.screen(popup).pixels

    def answered():
        check(popup in g.p.popups(), "the Help menu closed when About was clicked on the start screen")
        return s.desktop.screen(popup).pixels != before
    g.p.key("Down")
    wait_until("the Help menu to answer a key after About was clicked", answered)
    g.p.key("Escape")
    wait_until("the Help menu to close", lambda: popup not in g.p.popups())
    # The about box is titled as the window is on the start screen.
    check(not any(t == "Patience." and w != g.wid for w, t in g.p.windows()), "About opened on the start screen")
    deal = g.saved_game("deal.ppg")
    g.open(deal)
    drags, _ = s.oracle.drags(deal, g.p.client, s.desktop.size, most=2)
    g.play(drags)
    check(g.points() != zero, "the drags scored nothing")
    g.back_to_start()
    wait_until("the start screen's points to be 0", lambda: g.points() == zero)


def card_set_maker(s):
    """The maker on the game's data folder: a new card set made from the New button, then the
    maker asked to end."""
    g = Game(s)
    g.p.signal(signal.SIGTERM)
    check(g.p.wait_end(PATIENT) is not None, "the game did not end on SIGTERM")
    maker = s.start("Deckwright")
    wid = maker.window("Deckwright")
    # The window drawn at its size: nothing changes on it any more.
    s.desktop.settle(maker.follow(wid))
    maker.follow(wid)
    # The New button lies at the left of the maker's button row.
    maker.click(MAKER_NEW_BUTTON)
    maker.type_into("New CardSet", "Holiday")
    wait_until("the new set", lambda: maker.title(wid) == "Deckwright - U_Holiday")
    s.desktop.shot("maker")
    check(os.path.exists(s.data("CardSets", "U_Holiday", "options.txt")), "the new set has no options.txt")
    maker.signal(signal.SIGTERM)
    check(maker.wait_end(PATIENT) is not None, "the maker did not end on SIGTERM")


def maker_broken_set(s):
    """The maker opening a card set it cannot read ("U_Broken" holds one face and no back): the
    chooser says why under its preview, Open tells it in a message, and the window goes on: the
    maker is still there, nothing changed, and another set opens."""
    g = Game(s)
    g.p.signal(signal.SIGTERM)
    check(g.p.wait_end(PATIENT) is not None, "the game did not end on SIGTERM")
    broken = s.data("CardSets", "U_Broken")
    os.makedirs(broken)
    shutil.copy(os.path.join(s.bin, "Cardsets", "Standard", "01c.bmp"), broken)
    maker = s.start("Deckwright")
    wid = maker.window("Deckwright")
    s.desktop.settle(maker.follow(wid))

    def choose(row):
        maker.follow(wid)
        maker.click(MAKER_OPEN_BUTTON)
        chooser = maker.window("Card Deck Selector.")
        follow_placed(maker, chooser)
        maker.click(chooser_row(row))
        return chooser

    # The sets listed: "C_1", "Standard", "U_Broken".
    chooser = choose(2)

    def says():
        # Read from the dialog itself: a window of another depth shows black in a dump of the root.
        shown = s.desktop.screen(chooser)
        x, y, w, h = CHOOSER_SAYS
        return shown and any(r > 120 and g < 60 and b < 60
                             for r, g, b in (shown.rgb(x + i, y + j) for i in range(w) for j in range(h)))
    wait_until("the chooser's \"Cannot show\" line", says)
    s.desktop.shot("chooser-cannot-show")
    maker.click(CHOOSER_OK)

    def message():
        if not maker.alive():
            raise Failure("the maker ended (exit code %s)" % maker.process.returncode)
        return [w for w, t in maker.windows() if t == "Deckwright" and w != wid]
    box = wait_until("the message", message)[0]
    s.desktop.shot("maker-message")
    check(maker.alive(), "the maker ended")
    check(maker.title(wid) == "Deckwright", "the title changed to " + maker.title(wid))
    maker.activate(box)
    maker.key("Return")
    wait_until("the message to close", lambda: not message())
    empty = s.desktop.settle(maker.follow(wid))
    choose(1)
    maker.click(CHOOSER_OK)
    wait_until("the next set", lambda: maker.title(wid) == "Deckwright - Standard")
    # The set's nine cards laid out on the table that was empty.
    wait_until("the next set's cards on the table", lambda: s.desktop.settle(maker.follow(wid)) != empty)
    s.desktop.shot("maker-after")
    maker.signal(signal.SIGTERM)
    check(maker.wait_end(PATIENT) is not None, "the maker did not end on SIGTERM")


def hidden_grid_and_overlay(s):
    """A game started from the start screen's grid and given up for the start screen again, a row
    picked by its initial, a saved game opened from there (the file dialog in front as the start
    screen hides), the card scale changed and its notice answered: Return then deals nothing (the
    hidden grid has no keys). The information overlay holds every other command (Enter, New Game,
    F12; the scale list is closed meanwhile and shows the step in force after); closed, it leaves the table whole; the end of the session closes it and ends the
    program at once."""
    g = Game(s)
    rows = g.layout["rows"]
    x, y, w, h = g.w["Strip"]
    g.p.click((x + w + 20, y + h // 2))
    g.p.key("Down", "Return")
    wait_until("the game of the second row", lambda: rows[1] in g.title())
    g.back_to_start()
    g.p.key("b")
    deal = g.saved_game("deal.ppg")
    g.open(deal)
    dealt, _ = s.oracle.deal(deal, g.p.client, s.desktop.size)
    g.wait_table("the opened deal", dealt)
    title = g.title()

    def largest_scale():
        # The list's last item, 200%, once its list has opened below it.
        sx, sy, sw, sh = g.screen_area("Scale")
        below = (sx, sy + sh, sw, 6 * sh)
        shut = s.desktop.screen().region(*below)
        g.button("Scale")
        def list_open():
            now = s.desktop.screen().region(*below)
            return now if now != shut else None

        opened = wait_until("the scale list", list_open)
        g.p.key("End", "Return")
        wait_until("the scale list to close", lambda: s.desktop.screen().region(*below) != opened)
        s.desktop.settle(below)

    largest_scale()
    # Too large for Freecell on this screen: the notice, answered as a player would.
    g.answer("Notification.", "Return")
    g.wait_table("the deal after the scale was refused", dealt)
    before = s.desktop.screen().region(*g.screen_area("Table"))
    # The scale box as it shows the step in force, the pointer off it (it is lit under the pointer).
    tx, ty, tw, th = g.w["Table"]
    s.desktop.xdotool("mousemove", *map(str, g.p.at((tx + tw // 2, ty + th - 20))))
    s.desktop.settle(g.screen_area("Scale"))
    scale_box = s.desktop.screen().region(*g.screen_area("Scale"))
    area = g.screen_area("Table")
    # Return, then I: once the overlay shows, the Return before it has been handled.
    g.p.key("Return", "i")
    wait_until("the overlay", lambda: s.desktop.screen().region(*area) != before)
    overlay = g.table()
    check(g.title() == title, "Return on the hidden start screen started %s over %s" % (g.title(), title))
    s.desktop.shot("overlay-open")
    # Every other command tried meanwhile does nothing.
    g.p.key("Return")
    s.desktop.shot("overlay-enter")
    g.button("NewGame")
    s.desktop.shot("overlay-new-game")
    g.p.key("F12")
    s.desktop.shot("overlay-f12")
    # The scale list is closed under the overlay: a click opens nothing, and the keys that would
    # choose 200% choose nothing.
    g.button("Scale")
    g.p.key("End", "Return")
    s.desktop.shot("overlay-scale")
    # A click on the overlay closes it: once it is gone, everything before it was handled.
    tx, ty, tw, th = g.w["Table"]
    g.p.click((tx + tw // 2, ty + 150))
    wait_until("the overlay to close", lambda: s.desktop.screen().region(*area) != overlay)
    check(not g.p.has_window("Confirm"), "a command under the overlay asked a question")
    check(not g.p.has_window("Notification."), "the scale was changed under the overlay")
    check(g.title() == title, "a command under the overlay left %s for %s" % (title, g.title()))
    try:
        g.wait_table("the table the overlay covered", dealt)
    finally:
        s.desktop.shot("overlay-closed")
    wait_until("the scale list as it was before the overlay",
               lambda: s.desktop.screen().region(*g.screen_area("Scale")) == scale_box)
    closed = s.desktop.screen().region(*area)
    # Asked to end while the overlay shows, the program ends at once.
    g.p.key("i")
    wait_until("the overlay again", lambda: s.desktop.screen().region(*area) != closed)
    g.p.signal(signal.SIGTERM)
    check(g.p.wait_end(PATIENT) is not None, "the program did not end on SIGTERM while the overlay showed")


def judge_starts(s, kinds):
    """Starts of each kind, from the launch on: every picture on the screen nothing of the program
    or the whole start screen, the window ending maximized to the work area."""
    from first_frames import FirstSecond  # python3-xlib, for these scenarios alone
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
                                     card_set_maker, maker_broken_set, hidden_grid_and_overlay, first_second,
                                     first_second_without_wm)}
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
    started = time.monotonic()
    session = None
    # ctest ends a scenario that runs out of time with a signal: the desktop is closed all the same.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("%s ended by SIGTERM" % name))
    try:
        session = Session(name, wm=name not in WITHOUT_WM)
        SCENARIOS[name](session)
        for p in session.programs:
            p.stop()
        reports = sanitizer_reports(session)
        if reports:
            raise Failure("the sanitizers reported in " + ", ".join(reports))
        print("%s passed in %.1f s" % (name, time.monotonic() - started))
        return 0
    except Exception as e:  # noqa: BLE001 - every failure is reported with its screen
        path = session.desktop.shot("failure") if session else "none (the desktop did not start)"
        traceback.print_exc()
        print("%s FAILED after %.1f s: %s\n  screenshot: %s\n  artifacts: %s"
              % (name, time.monotonic() - started, e, path, session.artifacts if session else "-"))
        return 1
    finally:
        if session:
            session.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
