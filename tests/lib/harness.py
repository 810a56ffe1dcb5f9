"""What the end-to-end scripts share: checks that count their failures, bounded
waits, and the run of one named case of a script."""
import argparse, os, shutil, subprocess, time


class Checks:
    failures = 0

    def check(self, ok, what, detail=""):
        print(("ok: " if ok else "FAIL: ") + what + ("" if ok or not detail else " (%s)" % detail),
              flush=True)
        self.failures += 0 if ok else 1
        return ok


def poll(probe, limit, ok=bool, every=0.2, going=lambda: True):
    """Calls probe every `every` seconds until ok(its value), limit seconds
    pass or going() is false; its last value, None if it was never called."""
    deadline, got = time.time() + limit, None
    while going() and time.time() < deadline:
        got = probe()
        if ok(got):
            break
        time.sleep(every)
    return got


def wait(p, limit):
    """The exit code, or None when still running after limit seconds."""
    try:
        return p.wait(timeout=limit)
    except subprocess.TimeoutExpired:
        return None


def stop(p, limit=15):
    if p.poll() is None:
        p.terminate()  # timeout(1) passes it on to what it runs
        if wait(p, limit) is None:
            p.kill()
            p.wait(limit)


def report(results):
    """Prints a line for each (what, ok); whether all passed."""
    for what, ok in results:
        print(("ok   " if ok else "FAIL ") + what, flush=True)
    failed = sum(not ok for _, ok in results)
    if failed:
        print("%d of %d checks failed" % (failed, len(results)))
    return failed == 0


def run_case(cases, options, make_session):
    """Parses --OPTION for each name in options and the case (a function
    case_NAME among cases), runs it in a session with an emptied --out folder,
    and returns the exit status."""
    ap = argparse.ArgumentParser()
    for name in options:
        ap.add_argument("--" + name, required=True)
    ap.add_argument("case", choices=[n[5:] for n in cases if n.startswith("case_")])
    opts = ap.parse_args()
    shutil.rmtree(opts.out, ignore_errors=True)
    os.makedirs(opts.out)
    s = make_session(opts)
    try:
        cases["case_" + opts.case](s)
    finally:
        s.close()
    print("%s: %s" % (opts.case, "passed" if not s.failures else "%d failed" % s.failures))
    return 1 if s.failures else 0
