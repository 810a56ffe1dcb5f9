#!/usr/bin/env python3
"""mutate.py [--count N] [--seed S] [--jobs J] [--list]: how many small faults
the native tests find in the portable code.

Each mutant changes one operator or constant in one product source file of
the portable code (game/, player/, driver/, render/, saver/, outside their
win32/ folders): a comparison, a logical or arithmetic operator, true/false,
or a small integer (outside the rows of data tables). The tests' copy of the tree (build/mutate/src) is changed,
rebuilt, and its native tests run; a mutant is killed when a test fails (or
times out), survives when all pass, and is stillborn when it does not build.
The checkout itself is never touched. Prints one line per mutant and the
score, killed / (killed + survived)."""
import argparse, os, random, re, shutil, subprocess, sys, time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PORTABLE = ("game", "player", "driver", "render", "saver")
SWAPS = [(" < ", " <= "), (" <= ", " < "), (" > ", " >= "), (" >= ", " > "),
         (" == ", " != "), (" != ", " == "), (" && ", " || "), (" || ", " && "),
         (" + ", " - "), (" - ", " + "), (" * ", " / "), ("true", "false"), ("false", "true")]
NUMBER = re.compile(r"(?<![\w.\[])(\d+)(?![\w.\]])")  # not an array's size
TABLE_ROW = re.compile(r"\{[^}]*\d+\s*,\s*\d+\s*,\s*\d+")
STRING_OR_COMMENT = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'|//.*$')


def sources():
    for top in PORTABLE:
        for folder, dirs, files in os.walk(os.path.join(ROOT, top)):
            dirs[:] = sorted(d for d in dirs if d != "win32")
            for name in sorted(files):
                if name.endswith((".cpp", ".h")):
                    yield os.path.relpath(os.path.join(folder, name), ROOT)


def code_spans(line):
    """The parts of a line outside strings and comments, as (start, end)."""
    spans, at = [], 0
    for m in STRING_OR_COMMENT.finditer(line):
        spans.append((at, m.start()))
        at = m.end()
    spans.append((at, len(line)))
    return spans


def sites(path):
    """Every (line number, column, old, new) one mutation can make in a file."""
    found, comment = [], False
    with open(os.path.join(ROOT, path)) as f:
        lines = f.read().split("\n")
    for number, line in enumerate(lines):
        stripped = line.strip()
        if comment or stripped.startswith("/*"):
            comment = "*/" not in stripped
            continue
        if stripped.startswith(("#", "//", "static_assert")) or not stripped:
            continue
        for start, end in code_spans(line):
            part = line[start:end]
            for old, new in SWAPS:
                pattern = r"\b%s\b" % old if old.isalpha() else re.escape(old)
                for m in re.finditer(pattern, part):
                    found.append((number, start + m.start(), old, new))
            # Rows of data tables are checked by their own tests; one mutant
            # per number there would drown the logic.
            for m in (() if TABLE_ROW.search(line) else NUMBER.finditer(part)):
                value = int(m.group(1))
                if value < 1000:  # sizes of tables and colours stay
                    found.append((number, start + m.start(), m.group(1), str(value + 1)))
    return [(path,) + s for s in found]


def run(argv, cwd, limit):
    try:
        return subprocess.run(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=limit).returncode
    except subprocess.TimeoutExpired:
        return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--list", action="store_true", help="list the chosen mutants only")
    opts = parser.parse_args()

    every = [s for path in sources() for s in sites(path)]
    chosen = sorted(random.Random(opts.seed).sample(every, min(opts.count, len(every))))
    print("%d mutation sites in the portable code; %d chosen (seed %d)" %
          (len(every), len(chosen), opts.seed), flush=True)
    if opts.list:
        for path, line, column, old, new in chosen:
            print("%s:%d:%d %r -> %r" % (path, line + 1, column + 1, old, new))
        return 0

    work = os.path.join(ROOT, "build", "mutate")
    src, build = os.path.join(work, "src"), os.path.join(work, "build")
    shutil.rmtree(src, ignore_errors=True)
    tracked = subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True,
                             text=True).stdout.split()
    for name in tracked:
        os.makedirs(os.path.dirname(os.path.join(src, name)) or src, exist_ok=True)
        shutil.copy2(os.path.join(ROOT, name), os.path.join(src, name))
    # The portable code against its unit tests: without the hack, whose
    # end-to-end runs would add half a minute to every mutant.
    configure = ["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=Debug",
                 "-DSTAKKO_BENCHMARKS=OFF", "-DSTAKKO_X11=OFF"]
    if run(configure, work, 300) != 0 or run(["cmake", "--build", build, "-j", str(opts.jobs)],
                                              work, 1800) != 0:
        sys.exit("mutate.py: the unchanged tree does not build")
    test = ["ctest", "--test-dir", build, "-j", str(opts.jobs), "--timeout", "60"]
    if run(test, work, 600) != 0:
        sys.exit("mutate.py: the unchanged tree fails its tests")

    killed = survived = stillborn = 0
    started = time.time()
    for path, line, column, old, new in chosen:
        target = os.path.join(src, path)
        with open(target) as f:
            original = f.read()
        lines = original.split("\n")
        text = lines[line]
        lines[line] = text[:column] + new + text[column + len(old):]
        try:
            with open(target, "w") as f:
                f.write("\n".join(lines))
            if run(["cmake", "--build", build, "-j", str(opts.jobs)], work, 900) != 0:
                verdict = "stillborn"
                stillborn += 1
            elif run(test, work, 600) == 0:
                verdict = "SURVIVED"
                survived += 1
            else:
                verdict = "killed"
                killed += 1
        finally:
            with open(target, "w") as f:
                f.write(original)
            os.utime(target)  # rebuilt unchanged by the next mutant's build
        print("%-9s %s:%d  %s  ->  %s" % (verdict, path, line + 1, text.strip(),
                                         lines[line].strip()), flush=True)
    tested = killed + survived
    print("killed %d, survived %d, stillborn %d; score %.1f %% (%d s)" %
          (killed, survived, stillborn, 100.0 * killed / tested if tested else 0,
           time.time() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
