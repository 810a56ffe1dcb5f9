#!/usr/bin/env python3
"""x11.py --hack H --probe P --xml X --build B --out DIR CASE: the real hack in
a private Xvfb, on windows made by xprobe, read back with xwd. Every wait and
process is bounded; the hack runs from a copy that an unprivileged user can
reach, since the daemon starts hacks only as one."""
import os, pathlib, re, select, shutil, signal, subprocess, sys, tempfile, time
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lib"))
from harness import Checks, poll, run_case, stop, wait
from picture import (BACK, CELL_FACE, GLASS, LEFT_WALL, LIGHT, RIGHT_WALL, TEXT_BOXES, bounded,
                     frame, grab)

NOBODY = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]


class Session(Checks):
    def __init__(self, opts):
        self.opts, self.procs = opts, []
        # A folder every user can reach: the hack, and homes of its own.
        self.tmp = tempfile.mkdtemp(prefix="stakko-x11-")
        os.chmod(self.tmp, 0o755)
        self.hack = os.path.join(self.tmp, "stakko")
        shutil.copy(opts.hack, self.hack)
        self.state = os.path.join(self.tmp, "state")
        self.xvfb, self.display = self.start_xvfb()
        supp = os.path.join(self.tmp, "lsan.supp")  # for a sanitizer build's hack
        shutil.copy(os.path.join(os.path.dirname(os.path.abspath(__file__)), "lsan.supp"), supp)
        self.env = dict(os.environ, DISPLAY=self.display, XDG_STATE_HOME=self.state,
                        LSAN_OPTIONS="suppressions=" + supp)

    def start_xvfb(self, size="1280x1024x24"):
        r, w = os.pipe()
        p = subprocess.Popen(bounded(600, "Xvfb", "-displayfd", str(w), "-screen", "0", size,
                                     "-nolisten", "tcp"), pass_fds=(w,),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r, "rb") as f:  # the number, then a newline, once it is ready
            number = f.readline() if select.select([f], [], [], 15)[0] else b""
        self.procs.append(p)
        return p, ":" + number.decode().strip()

    def start(self, *args, env=None, user=()):
        p = subprocess.Popen(bounded(120, *user, self.hack, *args),
                             env=dict(self.env, **(env or {})), stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.procs.append(p)
        return p

    def window(self, width, height, x=0, y=0):
        """A window of xprobe's, its id; it lives until its process ends."""
        argv = bounded(300, self.opts.probe, "window", *map(str, (width, height, x, y)))
        p = subprocess.Popen(argv, env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.procs.append(p)
        return p, p.stdout.readline().decode().strip()

    def shot(self, window="root", keep=None):
        return grab(self.env, ["-root"] if window == "root" else ["-id", window],
                    keep and os.path.join(self.opts.out, keep + ".png"))

    def comes_up(self, what, window, expected, p=None, limit=15):
        """Polls the window, while p runs, for every expected pixel: the shot."""
        up = lambda shot: not shot.mismatches(expected)
        shot = poll(lambda: self.shot(window), limit, up, going=lambda: p is None or p.poll() is None)
        if shot and up(shot):
            return self.check(True, what) and shot
        self.check(False, what, str(self.shot(window, "not-up").mismatches(expected)[:3]))

    def ends(self, p, what, limit=1.0, status=0):
        """Whether p ends within limit seconds with the status; its output is
        kept in p.out and p.err."""
        started = time.time()
        try:
            p.out, p.err = p.communicate(timeout=limit + 0.5)
            rc = p.returncode
        except subprocess.TimeoutExpired:
            rc, p.out, p.err = None, b"", b""
        took = time.time() - started
        self.check(rc == status and took <= limit, what,
                   "status %s after %.2f s: %s" % (rc, took, p.err[-300:]))
        return rc

    def scores(self, text=None):
        path = pathlib.Path(self.state, "stakko", "scores")
        if text is not None:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.with_suffix(".tmp").write_text(text)
            path.with_suffix(".tmp").rename(path)  # whole, as a hack writes it
        return path.read_text() if path.exists() else None

    def plays(self, what, *args, expected=None, env=None, user=()):
        """On a new 640 x 480 window the picture comes up, and SIGTERM ends it."""
        _, window = self.window(640, 480)
        p = self.start(*args, env=dict(env or {}, XSCREENSAVER_WINDOW=window), user=user)
        self.comes_up(what, window, expected or frame((640, 480)), p)
        p.send_signal(signal.SIGTERM)
        self.ends(p, "and the hack ends with status 0")

    def close(self):
        for p in reversed(self.procs):
            stop(p, 10)
        shutil.rmtree(self.tmp, ignore_errors=True)


def parse_scores(text):
    m = re.fullmatch(r"Score1=(-?\d+)\nScore2=(-?\d+)\nScore3=(-?\d+)\n?", text or "")
    return m and [int(n) for n in m.groups()]


def case_picture(s):
    """On the daemon's kind of window: the picture at the layout's places, it
    moves, a resize lays it out anew, SIGTERM ends it at once."""
    _, window = s.window(1024, 768)
    p = s.start("--root", env={"XSCREENSAVER_WINDOW": window})
    shot = s.comes_up("the glass frame in the palette's colours", window, frame((1024, 768)), p)
    if shot:
        for box in TEXT_BOXES:
            s.check(shot.count(box, BACK, False) > 20, "text in the box at %s" % (box,))
        s.check(shot.count(GLASS, CELL_FACE) + shot.count(GLASS, BACK) > 100000,
                "the glass is filled")
        time.sleep(2)
        later = s.shot(window, "picture")
        glass = [(x, y) for y in range(52, 715, 3) for x in range(316, 707, 3)]
        s.check(any(shot.pixel(*xy) != later.pixel(*xy) for xy in glass), "the picture changes")
    subprocess.run(bounded(20, "xdotool", "windowsize", window, "640", "480"), env=s.env)
    s.comes_up("a resize lays the picture out for 640 x 480", window, frame((640, 480)), p)
    p.send_signal(signal.SIGTERM)
    s.ends(p, "SIGTERM ends it within a second with status 0")
    for sig in (signal.SIGINT, signal.SIGHUP):
        p = s.start("--root", env={"XSCREENSAVER_WINDOW": window})
        time.sleep(1)
        p.send_signal(sig)
        s.ends(p, "%s ends it too" % sig.name)


def case_gone(s):
    """A window that goes away, and a connection that is lost: status 0, quietly."""
    probe, window = s.window(640, 480)
    p = s.start("--window-id", window)
    s.comes_up("the preview's picture (frames only)", window, frame((640, 480)), p)
    probe.stdin.close()  # the probe ends, its window with it
    s.ends(p, "its window destroyed ends it with status 0")
    xvfb, display = s.start_xvfb("1024x768x24")
    p = s.start("--window", env={"DISPLAY": display})
    time.sleep(2)
    xvfb.terminate()
    s.ends(p, "the display going away ends it with status 0", limit=5)
    s.check(p.err == b"", "and quietly", str(p.err))


def case_keys(s):
    """Its own window: cursor keys and space steer; closing the window ends it."""
    p = s.start("--window", "--geometry", "1024x768+0+0")
    found = subprocess.run(bounded(20, "xdotool", "search", "--sync", "--name",
                                   "^Vornel Hex Stakko$"), env=s.env, capture_output=True)
    window = (found.stdout.split() or [b""])[0].decode()
    if not s.check(bool(window), "its own window \"Vornel Hex Stakko\""):
        return
    s.comes_up("the picture in its own window", window, frame((1024, 768)), p)
    for keys, wall, what in ((["Right"] * 8, RIGHT_WALL, "Right steers to the right wall"),
                             (["Left"] * 8, LEFT_WALL, "Left steers to the left wall")):
        subprocess.run(bounded(20, "xdotool", "key", "--window", window, "--delay", "30",
                               "space", *keys), env=s.env)
        there = poll(lambda: s.shot(window).count(wall, CELL_FACE), 1.0, lambda n: n > 50, 0)
        s.check(there > 50, what, "%d face pixels there" % there)
    subprocess.run(bounded(20, "xdotool", "windowclose", window), env=s.env)
    s.ends(p, "closing its window ends it with status 0")


def case_options(s):
    """Bad options exit 2 with the message and the usage; no such window or
    display, 1 with a line; every option of the description is taken."""
    for args, why in ((["--palette", "7"], "bad value '7'"), (["-palette"], "needs a value"),
                      (["--bogus"], "unknown option"), (["-clock", "noon"], "bad value 'noon'"),
                      (["--geometry", "0x0"], "bad value"), (["--window-id", "zz"], "bad value")):
        p = s.start(*args)
        s.ends(p, " ".join(args) + " exits 2", status=2)
        err = p.err.decode().splitlines()
        s.check(len(err) >= 2 and err[0].startswith("stakko: ") and why in err[0]
                and err[1].startswith("usage: stakko"), " ".join(args) + ": reason and usage",
                str(err[:2]))
    for args, env, what in ((["--window-id", "0x1fffff"], None, "no window 0x1fffff"),
                            (["--window"], {"DISPLAY": ":999"}, "cannot open display")):
        p = s.start(*args, env=env)
        s.ends(p, " ".join(args) + " exits 1", limit=5, status=1)
        err = p.err.decode().splitlines()
        s.check(len(err) == 1 and what in err[0], "one line: " + what, str(err))
    p = s.start("--help")
    s.ends(p, "--help exits 0")
    s.check(p.out.startswith(b"usage: stakko"), "and prints the usage")
    root = ET.parse(s.opts.xml).getroot()
    command = root.find("command").get("arg")
    args = [e.get(a) for e in root.iter() for a in ("arg-set", "arg-unset") if e.get(a)]
    s.check(command == "--root" and len(args) >= 7 and root.get("name") == "stakko",
            "the description names the hack, --root and its options")
    light = [(xy, c) for xy, c in frame((640, 480)) if c == LIGHT]  # white in every palette
    for arg in args:
        s.plays("the description's %s is taken" % arg, command, *arg.split(), expected=light)


def case_scores(s):
    """Damaged, read-only, and two hacks at once with a third writer; each
    on a fresh window, so that no earlier picture passes for its own."""
    s.scores("Score1=oops\n\x00\x01")
    s.plays("a damaged scores file: play goes on", "--root")
    got = parse_scores(s.scores())
    s.check(got is not None and min(got) >= 0, "the file is written whole again", str(s.scores()))

    locked = os.path.join(s.tmp, "locked")  # root's: nobody can write there
    kept = pathlib.Path(locked, "stakko", "scores")
    kept.parent.mkdir(parents=True)
    kept.write_text("Score1=9\nScore2=8\nScore3=7\n")
    s.plays("an unwritable scores file: play goes on", "--root", env={"XDG_STATE_HOME": locked},
            user=NOBODY)
    s.check(kept.read_text() == "Score1=9\nScore2=8\nScore3=7\n", "the file is left as it was")

    s.scores("Score1=30\nScore2=20\nScore3=10\n")
    windows = [s.window(640, 480, x)[1] for x in (0, 640)]
    hacks = [s.start("--root", env={"XSCREENSAVER_WINDOW": w}) for w in windows]
    for p, w in zip(hacks, windows):
        s.comes_up("two hacks at once", w, frame((640, 480)), p)
    s.scores("Score1=40\nScore2=30\nScore3=20\n")  # a third copy saved meanwhile
    time.sleep(1)
    for p in hacks:
        p.send_signal(signal.SIGTERM)
    for p in hacks:
        s.ends(p, "both ended at once: status 0")
    got = parse_scores(s.scores())
    s.check(got is not None and all(a >= b for a, b in zip(got, [40, 30, 20])),
            "neither lost the other's scores", str(got))
    left = [n for n in os.listdir(os.path.join(s.state, "stakko")) if ".new-" in n]
    s.check(not left, "no half-written file is left", str(left))


def case_daemon(s):
    """xscreensaver as an unprivileged user: -activate shows the game full
    screen, -deactivate ends the hack, no process is left."""
    home = os.path.join(s.tmp, "home")
    os.makedirs(home)
    pathlib.Path(home, ".xscreensaver").write_text(
        "mode: one\nselected: 0\nsplash: False\nlock: False\nfade: False\n"
        "unfade: False\nprograms: %s --root\n" % s.hack)
    subprocess.run(["chown", "-R", "65534:65534", home])
    env = dict(s.env, HOME=home)
    command = lambda *a: subprocess.run(bounded(10, *NOBODY, "xscreensaver-command", *a),
                                        env=env, capture_output=True)
    running = lambda: hack_running(s.hack)
    log = open(os.path.join(s.opts.out, "xscreensaver.log"), "wb")
    # A daemon may hang as it starts, or let a request pass while it settles:
    # it is asked until the hack runs, and started anew, three times at most.
    for _ in range(3):
        daemon = subprocess.Popen(bounded(300, *NOBODY, "xscreensaver", "--no-splash", "--verbose"),
                                  env=env, stdin=subprocess.DEVNULL, stdout=log,
                                  stderr=subprocess.STDOUT)
        s.procs.append(daemon)
        poll(lambda: command("-version").returncode == 0, 10, every=0.3)
        if poll(lambda: command("-activate") and poll(running, 5), 15, every=0,
                going=lambda: daemon.poll() is None):
            break
        stop(daemon, 10)
    if not s.comes_up("-activate shows the game full screen", "root", frame((1280, 1024))):
        log.flush()
        print("\n".join(pathlib.Path(log.name).read_text(errors="replace").splitlines()[-25:]))
    s.shot("root", "daemon")
    command("-deactivate")
    s.check(poll(lambda: not running(), 10), "-deactivate ends the hack")
    command("-exit")
    if wait(daemon, 10) is None:
        daemon.terminate()


def hack_running(path):
    """Whether a process of this program is alive (not a zombie)."""
    def alive(pid):
        try:
            state = pathlib.Path("/proc", pid, "stat").read_text().rsplit(")", 1)[1].split()[0]
            return os.readlink("/proc/%s/exe" % pid) == path and state != "Z"
        except OSError:
            return False
    return any(alive(pid) for pid in filter(str.isdigit, os.listdir("/proc")))


def case_install(s):
    """cmake --install puts the hack and its description where xscreensaver looks."""
    dest = os.path.join(s.tmp, "dest")
    r = subprocess.run(bounded(60, "cmake", "--install", s.opts.build, "--component", "x11"),
                       env=dict(os.environ, DESTDIR=dest), capture_output=True)
    hack = os.path.join(dest, "usr/libexec/xscreensaver/stakko")
    xml = os.path.join(dest, "usr/share/xscreensaver/config/stakko.xml")
    s.check(r.returncode == 0 and os.access(hack, os.X_OK) and os.path.isfile(xml),
            "the hack and its description are installed", r.stderr.decode()[-300:])


if __name__ == "__main__":
    sys.exit(run_case(globals(), ("hack", "probe", "xml", "build", "out"), Session))
