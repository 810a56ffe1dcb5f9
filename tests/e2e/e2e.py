#!/usr/bin/env python3
"""e2e.py --scr S --host H --recorder R --out DIR CASE: the real stakko.scr
inside scripts/lib/with-wine (fresh WINEPREFIX, 1024 x 768 DISPLAY), driven by
xdotool and read back by xwd. Every wait and process is bounded."""
import os, pathlib, re, shutil, subprocess, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lib"))
from harness import Checks, poll, run_case, stop, wait
from picture import (BACK, CELL_FACE, GLASS, LEFT_WALL, RIGHT_WALL, TEXT_BOXES, bounded, frame,
                     grab)

SECTION = "Vornel Hex Stakko Screen Saver"
DEFAULTS = {"Time": "102", "Priority": "107", "ShowBkgr": "1", "ShowInfo": "1",
            "ManualControl": "1", "Palette": "1", "Score1": "0", "Score2": "0"}
DESKTOP = r"HKCU\Control Panel\Desktop"
SAVER, HOST = r"C:\stakko\stakko.scr", r"C:\stakko\PreviewHost.exe"
W, H = 1024, 768
# The default palette's cell outline, and the table's background before any palette.
OUTLINE, INITIAL_BACK = (100, 164, 204), (255, 193, 114)
STARTUP_LIMIT, END_LIMIT, RUN_LIMIT = 25, 15, 120  # s; Wine is slow on a busy machine


class Session(Checks):
    def __init__(self, opts):
        if not os.environ.get("WINEPREFIX") or not os.environ.get("DISPLAY"):
            sys.exit("e2e.py: run it through scripts/lib/with-wine")
        self.opts, self.shots, self.position, self.procs = opts, 0, 0, []
        self.drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
        self.win_ini = os.path.join(self.drive_c, "windows", "win.ini")
        self.dir = os.path.join(self.drive_c, "stakko")
        os.makedirs(self.dir, exist_ok=True)
        shutil.copy(opts.scr, os.path.join(self.dir, "stakko.scr"))
        shutil.copy(opts.host, os.path.join(self.dir, "PreviewHost.exe"))
        self.env = dict(os.environ, WINEDEBUG="-all")
        self.log = open(os.path.join(opts.out, "wine.log"), "ab")
        self.xdo("mousemove", "500", "500")  # where every run's window comes up under it

    def wine(self, *args, env=None):
        p = subprocess.Popen(bounded(RUN_LIMIT, "wine", *args), env=dict(self.env, **(env or {})),
                             cwd=self.dir, stdin=subprocess.DEVNULL, stdout=self.log,
                             stderr=subprocess.STDOUT)
        self.procs.append(p)
        return p

    def wine_output(self, *args, limit=60):
        r = subprocess.run(bounded(limit, "wine", *args), env=self.env, cwd=self.dir,
                           stdin=subprocess.DEVNULL, capture_output=True)
        return r.returncode, r.stdout.decode("latin-1").replace("\r", "")

    def reg(self, *args):
        rc, text = self.wine_output("reg", args[0], DESKTOP, "/v", *args[1:])
        m = re.search(r"^\s*%s\s+\S+\s+(.*?)\s*$" % re.escape(args[1]), text, re.M)
        return m.group(1) if rc == 0 and m else None

    def xdo(self, *args):
        return subprocess.run(bounded(STARTUP_LIMIT, "xdotool", *args), env=self.env,
                              stdin=subprocess.DEVNULL, capture_output=True)

    def moves(self, n):
        """n pointer moves to new places, apart enough that Wine keeps each a WM_MOUSEMOVE."""
        for k in range(self.position + 1, self.position + n + 1):
            self.xdo("mousemove", str(100 + (k * 37) % 800), str(80 + (k * 53) % 600))
            time.sleep(0.25)
        self.position += n

    def keys(self, *names):
        self.xdo("key", "--delay", "40", *names)

    def shot(self, keep=None):
        self.shots += bool(keep)
        return grab(self.env, keep=keep and os.path.join(self.opts.out,
                                                         "%02d-%s.png" % (self.shots, keep)))

    def start(self, what, *args, expected=None, exe=SAVER):
        """Starts the saver and polls the screen until every expected pixel is there."""
        p, expected = self.wine(exe, *args), expected or frame((W, H))
        up = lambda shot: not shot.mismatches(expected)
        shot = poll(self.shot, STARTUP_LIMIT, up, 0.3, lambda: p.poll() is None)
        if shot is not None and up(shot):
            return p, self.check(True, what + ": the picture comes up")
        bad = self.shot("not-up").mismatches(expected)[:3]
        return p, self.check(False, what + ": the picture comes up", str(bad))

    def ini(self):
        ini = pathlib.Path(self.win_ini)
        return ini.read_bytes().decode("cp1252") if ini.exists() else ""

    def profile(self):
        """The saver's section as (key, value) pairs in file order, or None."""
        parts = re.split(r"^\s*\[(.*)\]\s*$", self.ini(), flags=re.M)
        for name, body in zip(parts[1::2], parts[2::2]):
            if name.lower() == SECTION.lower():
                return [tuple(s.strip() for s in l.split("=", 1)) for l in body.splitlines()
                        if "=" in l]
        return None

    def write_profile(self, changes, keep=True):
        """Sets keys in the saver's section, the rest kept or dropped."""
        pairs = dict(self.profile() or [] if keep else [], **changes)
        text = re.sub(r"(?im)^\s*\[%s\][^[]*" % re.escape(SECTION), "", self.ini()).rstrip()
        pathlib.Path(self.win_ini).write_bytes(("%s\r\n[%s]\r\n" % (text, SECTION) + "".join(
            "%s=%s\r\n" % kv for kv in pairs.items())).encode("cp1252"))

    def stored(self, what, expected):
        """The run stored the expected values."""
        values = dict(self.profile() or [])
        self.check(all(values.get(k) == v for k, v in expected.items()), what, str(values))
        return values

    def check_exit(self, p, what, limit=END_LIMIT):
        rc = wait(p, limit)
        self.check(rc == 0, what + " with exit code 0", "exit code %s" % rc)
        stop(p)

    def run_once(self, what, *args, exe=SAVER, expected=None):
        """The saver's picture comes up, and the seventh mouse move ends it."""
        p, _ = self.start(what, *args, exe=exe, expected=expected)
        self.moves(6)  # and Wine's own move as the window came up: seven
        self.check_exit(p, what + ": the seventh mouse move ends it")

    def dialog(self, what):
        """/c shows the dialog, and Return closes it."""
        p = self.wine(SAVER, "/c")
        found = self.xdo("search", "--sync", "--name", "^Vornel Hex Stakko$").stdout.split()
        if self.check(bool(found), what + " shows the dialog \"Vornel Hex Stakko\""):
            self.xdo("windowfocus", "--sync", found[0])
            self.keys("Return")
        self.check_exit(p, what + ": Return closes it")

    def close(self):
        for p in self.procs:
            stop(p)


def case_fullscreen(s):
    p, up = s.start("/s", "/s")
    if up:
        shot = s.shot("fullscreen")
        for box in TEXT_BOXES:  # score, time, best scores
            s.check(shot.count(box, BACK, False) > 20, "text in the box at %s" % (box,))
        s.check(shot.count(GLASS, OUTLINE) > 1000, "the glass shows its hexagonal cells")
    s.moves(5)  # Wine sends one move when the window comes up under the pointer
    time.sleep(1.0)
    s.check(p.poll() is None, "six mouse-move messages leave the saver running")
    s.moves(1)
    s.check_exit(p, "the seventh ends it")
    values = s.stored("first run stores the defaults", dict(DEFAULTS, Path=SAVER))
    s.check(int(values.get("Score3", "-1")) >= 0, "and the game's score", str(values))

    s.write_profile({"Score1": "50", "Score2": "40", "Score3": "-5"})
    s.run_once("second run", "/s")
    values = s.stored("second run keeps Score1 and Score2", {"Score1": "50", "Score2": "40"})
    s.check(int(values.get("Score3", "-5")) >= 0, "Score3 -5 is replaced by the game's score")


def steered(s, keys, name, left_wall):
    """Sends keys and polls the glass for the figure at the wall, before the
    automatic player takes it back 1.5 s after the last key."""
    def walls(shot):
        return shot.count(LEFT_WALL, CELL_FACE), shot.count(RIGHT_WALL, CELL_FACE)
    there = lambda w: w[not left_wall] > 50 and w[left_wall] == 0  # and none at the other
    s.keys(*keys)
    got = poll(lambda: walls(s.shot()), 1.0, there, 0.05)
    return s.check(there(got), name, "left %d, right %d face pixels" % got)


def case_keys(s):
    p, up = s.start("manual control on", "/s")
    if up:
        # Drop the figure in play, then steer the next one from the top.
        steered(s, ["space"] + ["Right"] * 8, "space and Right steer to the right wall", False)
        steered(s, ["space"] + ["Left"] * 8, "space drops it, Left steers to the left wall", True)
        s.keys("Up", "Down", "Up", "space")
        time.sleep(1.0)
    s.check(p.poll() is None, "arrow keys and the space bar never end the saver")
    s.keys("Escape")
    s.check_exit(p, "Escape ends it")
    s.write_profile({"ManualControl": "0"})
    p, _ = s.start("manual control off", "/s")
    s.keys("Left")
    s.check_exit(p, "with ManualControl=0 Left ends it")


def case_password(s):
    shutil.copy(s.opts.recorder, os.path.join(s.dir, "PASSWORD.CPL"))
    log = os.path.join(s.dir, "calls.txt")

    def calls(n, limit=5):
        """The module's calls once there are n or limit s have passed, and 0.5 s later."""
        read = lambda: pathlib.Path(log).read_text().splitlines() if os.path.exists(log) else []
        poll(read, limit, lambda got: len(got) >= n, 0.1)
        time.sleep(0.5)
        return read()

    s.reg("delete", "ScreenSaveUsePassword", "/f")
    s.run_once("no ScreenSaveUsePassword", "/s")
    s.check(calls(1, 0) == [], "without ScreenSaveUsePassword the module is not called")

    s.reg("add", "ScreenSaveUsePassword", "/t", "REG_DWORD", "/d", "1", "/f")
    p, _ = s.start("ScreenSaveUsePassword=1", "/s")
    # Each step waits a while for one call too many.
    for act, arg, n, what in ((s.moves, 6, 1, "the seventh move asks the module, which refuses"),
                              (s.moves, 6, 1, "after a refusal six more moves ask nothing"),
                              (s.moves, 1, 2, "the seventh move after a refusal asks again"),
                              (s.keys, "a", 3, "a key asks at once; refused, the saver goes on"),
                              (s.keys, "alt+F4", 4, "Alt+F4 asks too; refused, it goes on")):
        act(arg)
        got = calls(n + 1, 4)
        s.check(p.poll() is None and len(got) == n, what, str(got))
    s.check(got[:1] == ["verify owner=%s cursor=0 answer=0" % SECTION],
            "the check is owned by the saver's window and shows the cursor", str(got))
    pathlib.Path(s.dir, "answer.txt").write_text("1")
    s.xdo("click", "1")
    got = calls(5)
    s.check(len(got) == 5 and got[-1].endswith("answer=1"), "a button asks; accepted", str(got))
    s.check_exit(p, "an accepted password ends it")


def case_preview(s):
    rc, text = s.wine_output(HOST, SAVER, limit=180)
    for line in text.splitlines():
        if line.startswith(("ok: ", "FAIL: ")):
            s.check(line.startswith("ok"), "preview: " + line.split(": ", 1)[1])
    s.check(rc == 0 and "ok: " in text, "the preview host reports no failure", "exit %d" % rc)
    for args in (["/p", "0"], ["/p", "999999"], ["/p"], ["/p", "9" * 30]):
        started, p = time.time(), s.wine(SAVER, *args)
        rc = wait(p, 20)
        s.check(rc == 0 and time.time() - started < 15,
                "%s ends at once with exit code 0" % " ".join(args)[:20], "exit code %s" % rc)
        stop(p)


def case_switches(s):
    s.write_profile({"Palette": "2", "Score2": "77"}, keep=False)
    s.dialog("/c")
    s.stored("OK stores the shown settings and the scores",
             dict(DEFAULTS, Palette="2", Score2="77", Score3="0", Path=SAVER))

    # Change of password: the router is asked, no window is made.
    shutil.copy(s.opts.recorder, os.path.join(s.dir, "MPR.DLL"))
    s.check_exit(s.wine(SAVER, "/a", "99", env={"WINEDLLOVERRIDES": "mscoree,mshtml=;mpr=n,b"}),
                 "/a 99 ends", limit=30)
    calls = pathlib.Path(s.dir, "calls.txt").read_text().splitlines()
    s.check(calls == ["change provider=SCRSAVE owner=99 rest=0,0 saverwindows=0"],
            "/a 99 asks the router for SCRSAVE with owner 99 and has no window", str(calls))

    # Installation from a long path: a different stored name is replaced by
    # the short form of the saver's path, and the saver runs.
    folder = os.path.join(s.drive_c, "Program Files", "Stakko Saver")
    os.makedirs(folder)
    shutil.copy(s.opts.scr, os.path.join(folder, "Stakko Saver.scr"))
    long_path = r"C:\Program Files\Stakko Saver\Stakko Saver.scr"
    short_path = r"C:\\PROG[^ ]*\\[^ ]+\.SCR"
    s.write_profile({}, keep=False)  # the default palette again
    s.reg("add", "SCRNSAVE.EXE", "/t", "REG_SZ", "/d", r"C:\windows\other.scr", "/f")
    s.run_once("/reg", "/reg", exe=long_path)
    short = s.reg("query", "SCRNSAVE.EXE") or ""
    s.check(re.fullmatch(short_path, short, re.I) is not None,
            "/reg stores the short form of its path", short)
    # The older family keeps it in system.ini, section [boot].
    s.wine_output("reg", "add", r"HKCU\Software\Wine\AppDefaults\Stakko Saver.scr", "/v",
                  "Version", "/d", "win98", "/f")
    s.run_once("/reg as Windows 98", "/reg", exe=long_path)
    with open(os.path.join(s.drive_c, "windows", "system.ini"), encoding="cp1252") as f:
        boot = re.search(r"(?ims)^\[boot\][^[]*^SCRNSAVE\.EXE=(\S*)", f.read())
    s.check(boot is not None and re.fullmatch(short_path, boot.group(1), re.I) is not None,
            "as Windows 98, /reg stores it in system.ini", boot and boot.group(1))


# The Windows versions Wine reports for the prefix's kind, each with the
# major.minor it gives: the old family, the NT family, and what the
# manifest names (Vista to 10).
VERSIONS = {
    "win32": [("win95", "4.0"), ("win98", "4.10"), ("winme", "4.90"), ("nt40", "4.0"),
              ("win2k", "5.0"), ("winxp", "5.1"), ("vista", "6.0"), ("win7", "6.1"),
              ("win8", "6.2"), ("win81", "6.3"), ("win10", "10.0")],
    "win64": [("winxp64", "5.2"), ("vista", "6.0"), ("win7", "6.1"), ("win8", "6.2"),
              ("win81", "6.3"), ("win10", "10.0")],
}


def reported_version(s):
    text = s.wine_output("cmd", "/c", "ver")[1]
    m = re.search(r"Windows (\d+\.\d+)", text)
    return m.group(1) if m else text.strip()


def case_versions(s):
    for version, number in VERSIONS[os.environ.get("WINEARCH", "win32")]:
        s.wine_output("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/d", version, "/f")
        reported = poll(lambda: reported_version(s), 20, number.__eq__, 0.5)
        s.check(reported == number, "Wine reports %s as %s" % (version, number), reported)
        s.run_once("/s as " + version, "/s")
        s.dialog("/c as " + version)
    s.stored("the runs stored the settings", {"Palette": "1", "ShowInfo": "1", "Path": SAVER})


def case_reliability(s):
    for what, argv in (("unknown switches", ["/x", "-y", "/S", "/s", "/c"]),
                       ("a very long command line", ["/q" + "x" * 8000])):
        s.run_once(what, *argv)

    # Out of range or no numbers at all: taken as read, never fatal. No
    # palette 77: the colours stay as before any palette, background plain.
    s.write_profile({"Time": "abc", "Priority": "-1", "Palette": "77", "ShowBkgr": "zz",
                     "ShowInfo": "7", "ManualControl": "0x1", "Score1": "12abc",
                     "Score2": "99999999999", "Score3": "-7", "Path": "x"}, keep=False)
    plain = frame((W, H), INITIAL_BACK) + [((100, 100), INITIAL_BACK), ((1000, 700), INITIAL_BACK)]
    s.run_once("odd profile values", "/s", expected=plain)
    values = s.stored("odd profile values are read as numbers and written back",
                      {"Time": "0", "Priority": "-1", "Palette": "77", "ShowBkgr": "0",
                       "ShowInfo": "1", "ManualControl": "1", "Path": SAVER})
    s.check("12" in (values.get("Score1"), values.get("Score2")), "12abc is 12", str(values))

    os.remove(s.win_ini)
    s.run_once("no win.ini", "/s")
    s.stored("without win.ini the settings are stored", dict(DEFAULTS, Path=SAVER))
    os.remove(s.win_ini)
    os.mkdir(s.win_ini)  # neither read nor written by anyone, root included
    s.run_once("win.ini a folder", "/s")
    os.rmdir(s.win_ini)


if __name__ == "__main__":
    sys.exit(run_case(globals(), ("scr", "host", "recorder", "out"), Session))
