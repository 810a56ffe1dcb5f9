"""What the end-to-end scripts share: checks that count their failures, and
the run of one named case of a script."""
import argparse


class Checks:
    failures = 0

    def check(self, ok, what, detail=""):
        print(("ok: " if ok else "FAIL: ") + what + ("" if ok or not detail else " (%s)" % detail),
              flush=True)
        self.failures += 0 if ok else 1
        return ok


def run_case(cases, options, make_session):
    """Parses --OPTION for each name in options and the case (a function
    case_NAME among cases), runs it in a session, and returns the exit status."""
    ap = argparse.ArgumentParser()
    for name in options:
        ap.add_argument("--" + name, required=True)
    ap.add_argument("case", choices=[n[5:] for n in cases if n.startswith("case_")])
    opts = ap.parse_args()
    s = make_session(opts)
    try:
        cases["case_" + opts.case](s)
    finally:
        s.close()
    print("%s: %s" % (opts.case, "passed" if not s.failures else "%d failed" % s.failures))
    return 1 if s.failures else 0
