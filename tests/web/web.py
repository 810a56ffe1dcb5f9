#!/usr/bin/python3
"""web.py --site DIR --out DIR CASE: the page served from DIR on 127.0.0.1
in a real headless Chromium, driven by Selenium; the canvas's pixels read
back in the page. Every case fails on a console error or an uncaught
exception. Run with Debian's python3, which has Selenium."""
import os, sys, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", "lib"), os.path.join(HERE, "..", "..", "scripts", "lib")]
from browser import Browser
from harness import Checks, poll, run_case
from picture import BACK, CELL_FACE, GLASS, RIGHT_WALL, SHADOW, TEXT_BOXES, frame

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

BROWN_BACK, GREEN_BACK = (255, 193, 114), (0, 186, 155)
SCORE_FRAME = (867, 206)  # the score box's dark top band at 1024 x 768
SCORE = "Vornel Hex Stakko Screen Saver/Score"
# Reads the page's canvas in one call, so that a sample is quick: the colours
# at points, or how many pixels of each rectangle have (or, with same false,
# lack) a colour.
READ = """
var c = document.getElementById('canvas'), x = c.getContext('2d');
var what = arguments[0], a = arguments[1];
if (what == 'points') return a.map(function(p) {
    return Array.from(x.getImageData(p[0], p[1], 1, 1).data.slice(0, 3)); });
return a[0].map(function(r) {
    var d = x.getImageData(r[0], r[1], r[2] - r[0], r[3] - r[1]).data, n = 0;
    for (var i = 0; i < d.length; i += 4)
        n += ((d[i] == a[1][0] && d[i + 1] == a[1][1] && d[i + 2] == a[1][2]) == a[2]) ? 1 : 0;
    return n; });"""


class Session(Checks, Browser):
    def __init__(self, opts):
        self.opts = opts
        Browser.__init__(self, opts.site)

    def open(self, what, query="", expected=frame((1024, 768))):
        """Loads the page; whether the picture comes up."""
        self.driver.get(self.url + query)
        return self.comes_up(what, expected)

    def points(self, points):
        return [tuple(c) for c in self.driver.execute_script(READ, "points", points)]

    def count(self, rects, colour, same=True):
        return self.driver.execute_script(READ, "count", [rects, colour, same])

    def comes_up(self, what, expected, limit=15):
        colours = [c for _, c in expected]
        got = poll(lambda: self.points([xy for xy, _ in expected]), limit, colours.__eq__)
        if got == colours:
            return self.check(True, what)
        self.driver.save_screenshot(os.path.join(self.opts.out, "not-up.png"))
        return self.check(False, what, str([(e, g) for e, g in zip(expected, got) if e[1] != g][:3]))

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def changes(self, what):
        """Whether a grid over the glass differs after 2 s."""
        grid = [[x, y] for y in range(GLASS[1], GLASS[3], 7)
                for x in range(GLASS[0], GLASS[2], 7)]
        before = self.points(grid)
        time.sleep(2)
        return self.check(self.points(grid) != before, what)

    def console_is_clean(self):
        bad = [e["message"] for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.check(not bad, "no console error or uncaught exception", str(bad[:3]))

    def close(self):
        try:  # the log holds every page's entries since the session began
            self.console_is_clean()
        finally:
            self.quit()


def case_picture(s):
    """The glass and panel at the layout's places in the palette's colours,
    and the picture changes."""
    if s.open("the glass frame in the palette's colours"):
        for box, n in zip(TEXT_BOXES, s.count(TEXT_BOXES, BACK, False)):
            s.check(n > 20, "text in the box at %s" % (box,))
        s.changes("the picture changes")
    s.driver.save_screenshot(os.path.join(s.opts.out, "picture.png"))


def figure_top(s):
    """The highest row of a cell face in the upper half of the glass, or None."""
    rows = [(GLASS[0], y, GLASS[2], y + 1) for y in range(GLASS[1], (GLASS[1] + GLASS[3]) // 2, 4)]
    return next((r[1] for r, n in zip(rows, s.count(rows, CELL_FACE)) if n > 3), None)


def case_keys(s):
    """Keys steer; the automatic player takes over again 1.5 s after the last
    key (the figure falls a cell in 500 ms before, one in 50 ms after); F
    toggles full screen."""
    s.open("the picture comes up")
    s.keys(" ", *[Keys.ARROW_RIGHT] * 8)
    there = poll(lambda: s.count([RIGHT_WALL], CELL_FACE)[0], 1.0, lambda n: n > 50, 0)
    s.check(there > 50, "space and Right steer the figure to the right wall", str(there))
    start, tops = time.time(), []
    while time.time() - start < 3.2:
        tops.append((time.time() - start, figure_top(s)))
        time.sleep(0.05)
    manual = {y for t, y in tops if t < 1.3}
    steps = {y for t, y in tops if 1.7 < t < 2.7}
    s.check(len(manual) <= 4, "under manual control it falls slowly", str(sorted(manual, key=str)))
    s.check(len(steps) >= 5 or None in steps, "1.5 s after the last key the player drives it",
            str(sorted(steps, key=str)))
    full = lambda: s.driver.execute_script("return document.fullscreenElement !== null")
    s.keys("f")
    on = poll(full, 3)
    s.keys("f")
    s.check(on and poll(lambda: not full(), 3), "F toggles full screen")


def case_storage(s):
    """A best score survives a reload; refused or full storage stops nothing."""
    s.open("the picture comes up")
    s.driver.execute_script("var key = arguments[0]; [30, 20, -5].forEach(function(v, i) {"
                            " localStorage.setItem(key + (i + 1), v); });", SCORE)
    s.open("the page plays again")  # reads 30, 20, -5
    s.open("and again")  # and on leaving offers its game's score (0 or more) in place of -5
    stored = [s.driver.execute_script("return localStorage.getItem(arguments[0])", SCORE + n)
              for n in "123"]
    s.check(stored[:2] == ["30", "20"] and int(stored[2]) >= 0,
            "the best scores survive a reload, the game's score in place of -5", str(stored))
    for what, script in (
            ("refused", "Object.defineProperty(window, 'localStorage', {get: function() {"
                        " throw new DOMException('refused', 'SecurityError'); }});"),
            ("full", "Storage.prototype.setItem = function() {"
                     " throw new DOMException('full', 'QuotaExceededError'); };")):
        added = s.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": script})
        if s.open("with %s storage the page plays" % what):
            s.changes("and goes on playing")
        s.driver.get(s.url)  # leaves the page: the write is refused quietly
        s.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", added)


def case_query(s):
    """Settings from the address, read as the Windows saver reads its profile:
    an empty value is the default, a text without digits is 0, a number is
    taken as it is."""
    for query, back, info, what in (
            ("", BACK, True, "no query: the defaults"),
            ("?Palette=&ShowInfo=&ShowBkgr=&Time=&Bogus=1", BACK, True, "empty values: the defaults"),
            ("?palette=2", GREEN_BACK, True, "Palette 2, the key in any case: green"),
            ("?Palette=abc&ShowInfo=0x0", BROWN_BACK, False, "no digits read as 0: brown; 0x0 is 0"),
            ("?Palette=7&ShowInfo=5&Time=%31%30%33", BROWN_BACK, True,
             "Palette 7 keeps the first colours; 5 is on; escapes decoded")):
        if s.open(what, query, frame((1024, 768), back)):
            framed = s.points([SCORE_FRAME]) == [SHADOW]
            s.check(framed == info, "the panel %s" % ("shown" if info else "left out"))


def case_resize(s):
    """A new size, and a pixel ratio of 2, lay the picture out at the real
    pixel size."""
    s.open("the picture at 1024 x 768")
    for width, height, ratio in ((800, 600, 1), (640, 480, 2)):
        s.viewport(width, height, ratio)
        size = (width * ratio, height * ratio)
        s.comes_up("at %d x %d, ratio %d: laid out for %d x %d" % ((width, height, ratio) + size),
                   frame(size))
        c = "document.getElementById('canvas')"
        got = s.driver.execute_script("return [%s.width, %s.height]" % (c, c))
        s.check(tuple(got) == size, "the backing store is %d x %d" % size, str(got))


if __name__ == "__main__":
    sys.exit(run_case(globals(), ("site", "out"), Session))
