#!/usr/bin/env python3
"""code-share.py: lines of code of the product and of its tests, and the
tests' share. Counted: the non-blank lines that are not only a comment, of
the code and scripts git tracks (C++, CMake, shell, Python, the resource
script); data files (the import list, pictures, the icon, texts) are not."""
import os, re, subprocess, sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CODE = (".cpp", ".h", ".cmake", ".py", ".sh", ".rc", "CMakeLists.txt")
COMMENT = {".py": "#", ".sh": "#", ".cmake": "#", "CMakeLists.txt": "#"}


def is_script(path):
    with open(os.path.join(ROOT, path), "rb") as f:
        return f.read(2) == b"#!"


def counted_lines(path):
    marker = next((m for end, m in COMMENT.items() if path.endswith(end)), None)
    if marker is None and not path.endswith(CODE):
        marker = "#"  # a script without an ending
    count, block = 0, False
    for line in open(os.path.join(ROOT, path), encoding="utf-8", errors="replace"):
        text = line.strip()
        if marker == "#":
            if text and not text.startswith("#"):
                count += 1
            continue
        if block:
            block = "*/" not in text
            continue
        if text.startswith("/*"):
            block = "*/" not in text
            continue
        if text and not text.startswith("//"):
            count += 1
    return count


def main():
    files = subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True,
                           text=True).stdout.split()
    totals = {"product": 0, "tests": 0}
    for path in files:
        if not (path.endswith(CODE) or is_script(path)):
            continue
        totals["tests" if path.startswith("tests/") else "product"] += counted_lines(path)
    product, tests = totals["product"], totals["tests"]
    print("product %d lines, tests %d lines: tests are %.0f %% of the product, %.1f %% of all "
          "the code" % (product, tests, 100.0 * tests / product, 100.0 * tests / (product + tests)))


if __name__ == "__main__":
    sys.exit(main())
