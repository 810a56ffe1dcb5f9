#!/usr/bin/env python3
"""End-to-end cases of the real stakko.scr under Wine in Xvfb.

Run inside scripts/lib/with-wine, which gives a fresh prefix (WINEPREFIX) and
a private 1024 x 768 display (DISPLAY). The saver gets real input through
xdotool; the screen is read back with ImageMagick's import. Every wait and
every Wine process is bounded. Each check prints "ok: ..." or "FAIL: ...";
the exit status is 1 when any check failed. Screenshots go to --out.

    e2e.py --scr S --host H --recorder R --out DIR CASE
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

SECTION = "Vornel Hex Stakko Screen Saver"
KEYS = ["Time", "Priority", "ShowBkgr", "ShowInfo", "ManualControl", "Palette", "Path",
        "Score1", "Score2", "Score3"]
DEFAULTS = {"Time": "102", "Priority": "107", "ShowBkgr": "1", "ShowInfo": "1",
            "ManualControl": "1", "Palette": "1", "Score1": "0", "Score2": "0"}
DESKTOP = r"HKCU\Control Panel\Desktop"
SAVER_DIR = r"C:\stakko"
SAVER = SAVER_DIR + r"\stakko.scr"
WIDTH, HEIGHT = 1024, 768

# "Blue palette", the default, and the table's contents before any palette.
BACK = (20, 193, 255)
SHADOW = (0, 0, 0)
LIGHT = (255, 255, 255)
CELL_FACE = (150, 220, 255)
OUTLINE = (100, 164, 204)
INITIAL_BACK = (255, 193, 114)

# The 1024 x 768 picture: the glass panel fills (310, 36, 714, 733) with its
# frame out to (308, 34, 716, 735); the value boxes and the best-score box
# are framed 2 pixels outside their rectangles, and their frames 2 more.
GLASS_RECT = (316, 52, 707, 715)
SCORE_BOX = (792, 209, 942, 259)
LINES_BOX = (792, 359, 942, 409)
TIME_BOX = (792, 509, 942, 559)
BEST_BOX = (56, 339, 256, 429)
# Upper half of the glass's first and last column, where only a figure just
# steered against the wall can be early in a game.
LEFT_WALL = (318, 52, 346, 383)
RIGHT_WALL = (677, 52, 705, 383)

STARTUP_LIMIT = 25  # s until the picture is up; Wine is slow on a busy machine
END_LIMIT = 15      # s from the last input to the exit; a line flash lasts 1 s
RUN_LIMIT = 120     # s for any one Wine process


def glass_frame(shadow=SHADOW, light=LIGHT, back=BACK):
    return [((400, 34), shadow), ((400, 35), shadow), ((308, 400), shadow), ((309, 400), shadow),
            ((714, 400), light), ((715, 400), light), ((400, 733), light), ((400, 734), light),
            ((310, 400), back), ((400, 36), back), ((713, 400), back), ((400, 732), back)]


def box_frame(box):
    left, top, right, bottom = box
    mx, my = (left + right) // 2, (top + bottom) // 2
    return [((mx, top - 4), SHADOW), ((mx, top - 3), SHADOW), ((left - 4, my), SHADOW),
            ((right + 3, my), LIGHT), ((mx, bottom + 2), LIGHT), ((mx, bottom + 1), BACK),
            ((left - 2, top - 2), BACK), ((right + 1, bottom + 1), BACK)]


class Shot:
    def __init__(self, data):
        self.data = data

    def pixel(self, x, y):
        o = (y * WIDTH + x) * 3
        return tuple(self.data[o:o + 3])

    def mismatches(self, expected):
        return [(xy, colour, self.pixel(*xy)) for xy, colour in expected
                if self.pixel(*xy) != colour]

    def count(self, rect, test):
        left, top, right, bottom = rect
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if test(self.pixel(x, y)))


class Process:
    """One Wine program in the background, bounded by timeout(1)."""

    def __init__(self, argv, env, cwd, log, limit=RUN_LIMIT):
        self.log = open(log, "ab")
        self.proc = subprocess.Popen(["timeout", "-k", "5", str(limit)] + argv, env=env, cwd=cwd,
                                     stdin=subprocess.DEVNULL, stdout=self.log,
                                     stderr=subprocess.STDOUT)

    def alive(self):
        return self.proc.poll() is None

    def wait(self, limit):
        """The exit code, or None when it is still running after limit seconds."""
        try:
            return self.proc.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.alive():
            self.proc.terminate()  # timeout(1) passes it on to Wine
            try:
                self.proc.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=15)
        self.log.close()


class Session:
    def __init__(self, opts):
        self.opts = opts
        self.drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
        self.win_ini = os.path.join(self.drive_c, "windows", "win.ini")
        self.saver_dir = os.path.join(self.drive_c, "stakko")
        self.out = opts.out
        self.failures = 0
        self.shots = 0
        self.position = 0
        self.processes = []
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        os.makedirs(self.saver_dir, exist_ok=True)
        shutil.copy(opts.scr, os.path.join(self.saver_dir, "stakko.scr"))
        shutil.copy(opts.host, os.path.join(self.saver_dir, "PreviewHost.exe"))
        self.env = dict(os.environ)
        self.env["WINEDEBUG"] = "-all"
        # The pointer where every run's window will come up under it.
        self.xdo("mousemove", "500", "500")

    # --- reporting ---------------------------------------------------------

    def check(self, ok, what, detail=""):
        print(("ok: " if ok else "FAIL: ") + what + ("" if ok or not detail else " (%s)" % detail))
        sys.stdout.flush()
        if not ok:
            self.failures += 1
        return ok

    # --- Wine --------------------------------------------------------------

    def wine(self, *args, env=None, limit=RUN_LIMIT):
        e = dict(self.env)
        e.update(env or {})
        p = Process(["wine"] + list(args), e, self.saver_dir, os.path.join(self.out, "wine.log"),
                    limit)
        self.processes.append(p)
        return p

    def wine_output(self, *args, limit=60):
        r = subprocess.run(["timeout", "-k", "5", str(limit), "wine"] + list(args), env=self.env,
                           cwd=self.saver_dir, stdin=subprocess.DEVNULL, capture_output=True)
        return r.returncode, r.stdout.decode("latin-1").replace("\r", "")

    def saver(self, *args, env=None):
        return self.wine(SAVER, *args, env=env)

    def reg_add(self, name, kind, data):
        rc, _ = self.wine_output("reg", "add", DESKTOP, "/v", name, "/t", kind, "/d", data, "/f")
        return rc == 0

    def reg_delete(self, name):
        self.wine_output("reg", "delete", DESKTOP, "/v", name, "/f")

    def reg_query(self, name):
        rc, text = self.wine_output("reg", "query", DESKTOP, "/v", name)
        if rc != 0:
            return None
        for line in text.splitlines():
            parts = line.split(None, 2)
            if len(parts) == 3 and parts[0] == name:
                return parts[2].strip()
        return ""

    def short_path(self, path):
        _, text = self.wine_output(os.path.join(SAVER_DIR, "PreviewHost.exe"), path, "shortpath")
        return text.strip()

    def end_all(self):
        for p in self.processes:
            p.stop()

    # --- X -----------------------------------------------------------------

    def xdo(self, *args, limit=20):
        return subprocess.run(["timeout", "-k", "5", str(limit), "xdotool"] + list(args),
                              env=self.env, stdin=subprocess.DEVNULL, capture_output=True)

    def moves(self, n):
        """n pointer moves, each to a new place: one WM_MOUSEMOVE each."""
        for _ in range(n):
            self.position += 1
            k = self.position
            self.xdo("mousemove", str(100 + (k * 37) % 800), str(80 + (k * 53) % 600))
            time.sleep(0.1)

    def keys(self, *names):
        self.xdo("key", "--delay", "40", *names)

    def shot(self, keep=None):
        raw = os.path.join(self.out, "shot.rgb")
        subprocess.run(["timeout", "-k", "5", "30", "import", "-window", "root", "-depth", "8",
                        "rgb:" + raw], env=self.env, stdin=subprocess.DEVNULL, capture_output=True)
        try:
            with open(raw, "rb") as f:
                data = f.read()
        except OSError:
            data = b""
        if len(data) != WIDTH * HEIGHT * 3:
            data = bytes(WIDTH * HEIGHT * 3)
        elif keep:
            self.save_png(raw, keep)
        return Shot(data)

    def save_png(self, raw, name):
        self.shots += 1
        png = os.path.join(self.out, "%02d-%s.png" % (self.shots, name))
        subprocess.run(["timeout", "-k", "5", "30", "convert", "-size", "%dx%d" % (WIDTH, HEIGHT),
                        "-depth", "8", "rgb:" + raw, png], stdin=subprocess.DEVNULL,
                       capture_output=True)

    def wait_for_picture(self, expected, what, process=None, limit=STARTUP_LIMIT):
        """Polls the screen until every expected pixel is there."""
        deadline = time.time() + limit
        while time.time() < deadline:
            shot = self.shot()
            if not shot.mismatches(expected):
                self.check(True, what)
                return shot
            if process and not process.alive():
                break
            time.sleep(0.3)
        shot = self.shot(keep="not-up")
        self.check(False, what, "first differences %s" % shot.mismatches(expected)[:3])
        return None

    # --- profile -----------------------------------------------------------

    def profile(self):
        """The saver's section as (key, value) pairs in file order, or None."""
        try:
            with open(self.win_ini, "rb") as f:
                text = f.read().decode("cp1252").replace("\r", "")
        except OSError:
            return None
        pairs, inside = None, False
        for line in text.split("\n"):
            s = line.strip()
            if s.startswith("[") and s.endswith("]"):
                inside = s[1:-1].lower() == SECTION.lower()
                if inside:
                    pairs = []
                continue
            if inside and "=" in s:
                key, value = s.split("=", 1)
                pairs.append((key.strip(), value.strip()))
        return pairs

    def write_profile(self, pairs):
        """Replaces the saver's section (None: removes it)."""
        try:
            with open(self.win_ini, "rb") as f:
                lines = f.read().decode("cp1252").replace("\r", "").split("\n")
        except OSError:
            lines = []
        kept, inside = [], False
        for line in lines:
            s = line.strip()
            if s.startswith("[") and s.endswith("]"):
                inside = s[1:-1].lower() == SECTION.lower()
            if not inside:
                kept.append(line)
        while kept and not kept[-1].strip():
            kept.pop()
        if pairs is not None:
            kept += ["[%s]" % SECTION] + ["%s=%s" % kv for kv in pairs]
        with open(self.win_ini, "wb") as f:
            f.write(("\r\n".join(kept) + "\r\n").encode("cp1252"))

    def check_profile_complete(self, what, in_order=True):
        """All ten keys once, numbers as 32-bit decimal, Path the saver's."""
        pairs = self.profile() or []
        keys = [k for k, _ in pairs]
        if in_order:
            self.check(keys == KEYS, what + ": the ten keys in order", str(keys))
        else:
            self.check(sorted(keys) == sorted(KEYS), what + ": each of the ten keys once",
                       str(keys))
        values = dict(pairs)
        numbers = all(re.fullmatch(r"-?\d+", values.get(k, "")) and
                      -2 ** 31 <= int(values[k]) < 2 ** 31 for k in KEYS if k != "Path")
        self.check(numbers, what + ": every number is a 32-bit decimal", str(pairs))
        self.check(values.get("Path", "").lower() == SAVER.lower(),
                   what + ": Path is the saver's file", values.get("Path"))
        return values

    # --- runs --------------------------------------------------------------

    def start_saver(self, what, *args, expected=None, env=None):
        p = self.saver(*args, env=env)
        up = self.wait_for_picture(expected or glass_frame(), what, p)
        return p, up

    def check_exit(self, p, what, limit=END_LIMIT):
        rc = p.wait(limit)
        self.check(rc == 0, what, "still running" if rc is None else "exit code %s" % rc)
        if rc is None:
            p.stop()
        return rc

    def end_with_moves(self, p, what):
        """Wine's move at the window's appearance and six real moves: seven."""
        self.moves(6)
        return self.check_exit(p, what)


# --- cases -----------------------------------------------------------------

def case_fullscreen(s):
    p, up = s.start_saver("/s: the picture comes up", "/s")
    if up:
        shot = s.shot(keep="fullscreen")
        bad = shot.mismatches(glass_frame())
        s.check(not bad, "glass panel and its frame: dark top and left, light bottom and right",
                str(bad[:3]))
        for name, box in (("score", SCORE_BOX), ("lines", LINES_BOX), ("time", TIME_BOX),
                          ("best-score", BEST_BOX)):
            bad = shot.mismatches(box_frame(box))
            s.check(not bad, "the %s box is framed in place" % name, str(bad[:3]))
        for name, box in (("score", (792, 218, 942, 250)), ("time", TIME_BOX),
                          ("best scores", BEST_BOX)):
            ink = shot.count(box, lambda c: c != BACK)
            s.check(ink > 20, "the %s box holds text" % name, "%d pixels" % ink)
        grid = shot.count(GLASS_RECT, lambda c: c == OUTLINE)
        s.check(grid > 1000, "the glass shows its hexagonal cells", "%d outline pixels" % grid)
    # Wine sends one move when the window comes up under the pointer.
    s.moves(5)
    time.sleep(1.0)
    s.check(p.alive(), "six mouse-move messages leave the saver running")
    s.moves(1)
    s.check_exit(p, "the seventh mouse move ends it with exit code 0")
    values = s.check_profile_complete("first run")
    for key, value in DEFAULTS.items():
        s.check(values.get(key) == value, "first run stores %s=%s" % (key, value),
                str(values.get(key)))
    s.check(int(values.get("Score3", "-1")) >= 0, "Score3 holds the game's score",
            values.get("Score3"))

    # A stored Score3 below any game's score is replaced when the run ends.
    scores = {"Score1": "50", "Score2": "40", "Score3": "-5"}
    s.write_profile([(k, scores.get(k, v)) for k, v in s.profile() or []] or
                    list(scores.items()))
    p, _ = s.start_saver("second run comes up", "/s")
    time.sleep(2)
    s.end_with_moves(p, "second run ends with exit code 0")
    values = s.check_profile_complete("second run")
    s.check(values.get("Score1") == "50" and values.get("Score2") == "40",
            "Score1 and Score2 are kept", "%s %s" % (values.get("Score1"), values.get("Score2")))
    s.check(int(values.get("Score3", "-5")) >= 0, "Score3 -5 is replaced by the game's score",
            values.get("Score3"))


def wall_cells(shot):
    def face(colour):
        return colour == CELL_FACE
    return shot.count(LEFT_WALL, face), shot.count(RIGHT_WALL, face)


def steered(s, name, test):
    """Polls the glass until test(left, right) holds, before the automatic
    player takes the figure back 1.5 s after the last key."""
    deadline = time.time() + 1.0
    while True:
        shot = s.shot()
        left, right = wall_cells(shot)
        if test(left, right) or time.time() > deadline:
            s.save_png(os.path.join(s.out, "shot.rgb"), name)
            return test(left, right), "left %d, right %d face pixels" % (left, right)
        time.sleep(0.05)


def case_keys(s):
    p, up = s.start_saver("manual control on: the picture comes up", "/s")
    if up:
        # Drop the figure in play, then steer the next one from the top.
        s.keys("space", *["Right"] * 8)
        ok, detail = steered(s, "steered-right", lambda left, right: right > 50 and left == 0)
        s.check(ok, "space and Right steer a figure to the right wall", detail)
        s.keys("space", *["Left"] * 8)
        ok, detail = steered(s, "steered-left", lambda left, right: left > 50 and right == 0)
        s.check(ok, "space drops it and Left steers the next one to the left wall", detail)
        s.keys("Up", "Down", "Up", "space")
        time.sleep(1.0)
    s.check(p.alive(), "arrow keys and the space bar never end the saver")
    s.keys("Escape")
    s.check_exit(p, "Escape ends it with exit code 0")

    p, _ = s.start_saver("second run comes up", "/s")
    s.keys("a")
    s.check_exit(p, "the key a ends it with exit code 0")

    s.write_profile([(k, "0" if k == "ManualControl" else v) for k, v in s.profile() or []] or
                    [("ManualControl", "0")])
    p, _ = s.start_saver("manual control off: the picture comes up", "/s")
    s.keys("Left")
    s.check_exit(p, "with ManualControl=0 an arrow key ends it with exit code 0")


def case_password(s):
    shutil.copy(s.opts.recorder, os.path.join(s.saver_dir, "PASSWORD.CPL"))
    calls = os.path.join(s.saver_dir, "calls.txt")
    answer = os.path.join(s.saver_dir, "answer.txt")

    def recorded():
        try:
            with open(calls) as f:
                return f.read().splitlines()
        except OSError:
            return []

    def wait_for_calls(n, limit=5):
        deadline = time.time() + limit
        while len(recorded()) < n and time.time() < deadline:
            time.sleep(0.1)
        time.sleep(0.5)  # and for no more than n
        return recorded()

    s.reg_delete("ScreenSaveUsePassword")
    p, _ = s.start_saver("no password setting: the picture comes up", "/s")
    s.end_with_moves(p, "without ScreenSaveUsePassword the seventh move ends it")
    s.check(recorded() == [], "without ScreenSaveUsePassword the module is not called",
            str(recorded()))

    s.check(s.reg_add("ScreenSaveUsePassword", "REG_DWORD", "1"), "ScreenSaveUsePassword=1 set")
    p, _ = s.start_saver("password required: the picture comes up", "/s")
    s.moves(6)
    got = wait_for_calls(1)
    s.check(p.alive() and len(got) == 1, "the seventh move asks the module, which refuses",
            str(got))
    s.check(got[:1] == ["verify owner=%s cursor=0 answer=0" % SECTION],
            "the check is owned by the saver's window and shows the cursor", str(got))
    s.moves(6)
    got = wait_for_calls(2, limit=1.5)
    s.check(p.alive() and len(got) == 1, "after a refusal six more moves ask nothing", str(got))
    s.moves(1)
    got = wait_for_calls(2)
    s.check(p.alive() and len(got) == 2, "the seventh move after a refusal asks again", str(got))
    s.keys("a")
    got = wait_for_calls(3)
    s.check(p.alive() and len(got) == 3, "a key asks at once; refused, the saver goes on",
            str(got))
    s.keys("alt+F4")
    got = wait_for_calls(4)
    s.check(p.alive() and len(got) == 4, "Alt+F4 asks too; refused, the saver goes on", str(got))
    with open(answer, "w") as f:
        f.write("1")
    s.xdo("click", "1")
    got = wait_for_calls(5)
    s.check(len(got) == 5 and got[-1].endswith("answer=1"), "a button asks; accepted", str(got))
    s.check_exit(p, "an accepted password ends it with exit code 0")


def case_preview(s):
    host = os.path.join(SAVER_DIR, "PreviewHost.exe")
    for mode in ("input", "destroy", "killhost", "tiny"):
        rc, text = s.wine_output(host, SAVER, mode, limit=150)
        for line in text.splitlines():
            if line.startswith(("ok: ", "FAIL: ")):
                s.check(line.startswith("ok"), "preview %s: %s" % (mode, line.split(": ", 1)[1]))
        s.check(rc == 0 and "ok: " in text, "preview %s: the host reports no failure" % mode,
                "exit code %d" % rc)
    for args in (["/p", "0"], ["/p", "999999"], ["/p"], ["/p", "9" * 30]):
        started = time.time()
        p = s.saver(*args)
        rc = p.wait(20)
        s.check(rc == 0 and time.time() - started < 15,
                "%s ends at once with exit code 0" % " ".join(args)[:20],
                "still running" if rc is None else "exit code %s" % rc)
        p.stop()


def case_switches(s):
    # The settings dialog: Escape stores nothing, Return (OK) every key.
    preset = [("Palette", "2"), ("Score2", "77")]
    s.write_profile(preset)
    for key, what in (("Escape", "Escape"), ("Return", "Return (OK)")):
        p = s.saver("/c")
        found = s.xdo("search", "--sync", "--name", "^Vornel Hex Stakko$", limit=STARTUP_LIMIT)
        window = found.stdout.decode().split()
        if s.check(bool(window), "/c shows the dialog \"Vornel Hex Stakko\""):
            s.shot(keep="dialog")
            s.xdo("windowfocus", "--sync", window[0], limit=10)
            s.keys(key)
        s.check_exit(p, "%s closes it with exit code 0" % what)
        if key == "Escape":
            s.check(s.profile() == preset, "Escape stores nothing", str(s.profile()))
    values = s.check_profile_complete("OK", in_order=False)
    expected = dict(DEFAULTS, Palette="2", Score2="77", Score3="0")
    s.check(all(values.get(k) == v for k, v in expected.items()),
            "OK stores the shown settings and the scores", str(values))

    # Change of password: the router is asked, no window is made.
    shutil.copy(s.opts.recorder, os.path.join(s.saver_dir, "MPR.DLL"))
    p = s.saver("/a", "99", env={"WINEDLLOVERRIDES": "mscoree,mshtml=;mpr=n,b"})
    s.check_exit(p, "/a 99 ends with exit code 0", limit=30)
    try:
        with open(os.path.join(s.saver_dir, "calls.txt")) as f:
            calls = f.read().splitlines()
    except OSError:
        calls = []
    s.check(calls == ["change provider=SCRSAVE owner=99 rest=0,0 saverwindows=0"],
            "/a 99 asks the router for SCRSAVE with owner 99 and has no window", str(calls))

    # Installation: a different stored name is replaced by the short path.
    folder = os.path.join(s.drive_c, "Program Files", "Stakko Saver")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(s.opts.scr, os.path.join(folder, "Stakko Saver.scr"))
    long_path = r"C:\Program Files\Stakko Saver\Stakko Saver.scr"
    short = s.short_path(long_path)
    s.check(short.upper().startswith("C:\\") and " " not in short, "the short path is known",
            short)
    other = r"C:\windows\system32\other.scr"
    s.write_profile(None)
    s.reg_add("SCRNSAVE.EXE", "REG_SZ", other)
    p = s.wine(long_path, "/reg")
    s.wait_for_picture(glass_frame(), "/reg runs the saver", p)
    s.end_with_moves(p, "/reg ends with exit code 0")
    s.check(s.reg_query("SCRNSAVE.EXE") == short, "/reg stores the short path",
            str(s.reg_query("SCRNSAVE.EXE")))
    s.reg_add("SCRNSAVE.EXE", "REG_SZ", other)
    p = s.wine(long_path, "/REG")
    s.wait_for_picture(glass_frame(), "/REG runs the saver", p)
    s.end_with_moves(p, "/REG ends with exit code 0")
    s.check(s.reg_query("SCRNSAVE.EXE") == other, "/REG does not install",
            str(s.reg_query("SCRNSAVE.EXE")))


def case_reliability(s):
    host = os.path.join(SAVER_DIR, "PreviewHost.exe")
    odd = [("only blanks", [host, SAVER + "    ", "launch"]),
           ("unknown switches", [SAVER, "/x", "-y", "/S", "/s", "/c"]),
           ("a quoted blank", [SAVER, "   "]),
           ("a very long command line", [SAVER, "/q" + "x" * 8000])]
    for what, argv in odd:
        p = s.wine(*argv)
        s.wait_for_picture(glass_frame(), "%s: the saver runs" % what, p)
        s.end_with_moves(p, "%s: ends with exit code 0" % what)

    # Values out of range or no numbers at all: taken as read, never fatal.
    s.write_profile([("Time", "abc"), ("Priority", "-1"), ("Palette", "77"), ("ShowBkgr", "zz"),
                     ("ShowInfo", "7"), ("ManualControl", "0x1"), ("Score1", "12abc"),
                     ("Score2", "99999999999"), ("Score3", "-7"), ("Path", "x")])
    # No palette 77: the colours stay as before any palette; plain background.
    bad = glass_frame(back=INITIAL_BACK) + [((100, 100), INITIAL_BACK), ((1000, 700), INITIAL_BACK)]
    p, _ = s.start_saver("odd profile values: the picture comes up", "/s", expected=bad)
    s.end_with_moves(p, "odd profile values: ends with exit code 0")
    values = s.check_profile_complete("odd profile values", in_order=False)
    expected = {"Time": "0", "Priority": "-1", "Palette": "77", "ShowBkgr": "0", "ShowInfo": "1",
                "ManualControl": "1"}
    s.check(all(values.get(k) == v for k, v in expected.items()) and
            "12" in (values.get("Score1"), values.get("Score2")),
            "odd profile values are read as numbers and written back", str(values))
    s.check(int(values.get("Score3", "-7")) >= 0, "odd profile values: Score3 replaced",
            values.get("Score3"))

    os.remove(s.win_ini)
    p, _ = s.start_saver("no win.ini: the picture comes up", "/s")
    s.end_with_moves(p, "no win.ini: ends with exit code 0")
    s.check_profile_complete("no win.ini")

    # Root writes a read-only file all the same; a folder in its place can
    # be neither read nor written by anyone.
    os.chmod(s.win_ini, 0o444)
    s.wine_output("cmd", "/c", "attrib", "+r", r"C:\windows\win.ini")
    p, _ = s.start_saver("read-only win.ini: the picture comes up", "/s")
    s.end_with_moves(p, "read-only win.ini: ends with exit code 0")
    os.chmod(s.win_ini, 0o644)
    os.remove(s.win_ini)
    os.mkdir(s.win_ini)
    p, _ = s.start_saver("win.ini a folder: the picture comes up", "/s")
    s.end_with_moves(p, "win.ini a folder: ends with exit code 0")
    os.rmdir(s.win_ini)


CASES = {"fullscreen": case_fullscreen, "keys": case_keys, "password": case_password,
         "preview": case_preview, "switches": case_switches, "reliability": case_reliability}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scr", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("case", choices=sorted(CASES))
    opts = parser.parse_args()
    for name in ("WINEPREFIX", "DISPLAY"):
        if not os.environ.get(name):
            sys.exit("e2e.py: run it through scripts/lib/with-wine (%s unset)" % name)
    session = Session(opts)
    try:
        CASES[opts.case](session)
    except Exception as error:  # a broken step fails the case, not the driver
        session.check(False, "the case runs to its end", repr(error))
    finally:
        session.end_all()
    print("%s: %s" % (opts.case, "failed" if session.failures else "passed"))
    return 1 if session.failures else 0


if __name__ == "__main__":
    sys.exit(main())
