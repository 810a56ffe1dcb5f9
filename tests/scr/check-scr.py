#!/usr/bin/env python3
"""check-scr.py OBJDUMP WINDRES ARCH FILE: what a shipped .scr must hold, read
from the file alone with the toolchain's objdump and windres (nothing is run):
the PE format of its architecture, a GUI program, the icon group 101 of one
32 x 32 16-colour image, the listed name (string 1), the settings dialog 2003
and the version information. One line per check; exit 1 if any fails."""
import re, subprocess, sys

objdump, windres, arch, path = sys.argv[1:5]
headers, rc = (subprocess.run(argv + [path], capture_output=True, text=True, errors="replace").stdout
               for argv in ([objdump, "-p"], [windres, "-O", "rc", "-i"]))
NAME = "Vornel Hex Stakko"
MAGIC = {"i686": r"010b\s+\(PE32\)", "x86_64": r"020b\s+\(PE32\+\)"}[arch]
CHECKS = [
    ("the %s format" % arch, headers, r"^Magic\s+%s$" % MAGIC),
    ("a GUI program", headers, r"^Subsystem\s+00000002\s"),
    ("icon group 101 of one 32 x 32 16-colour image", rc,
     r'^101 14 .*\nBEGIN\n\s*0, 1, 1,.*\n.*\n\s*"\\040\\040\\020\\000", 1, 4, .*\nEND'),
    ('string 1 "%s"' % NAME, rc, r'^STRINGTABLE\nBEGIN\n\s*1, "%s"\nEND' % NAME),
    ("dialog 2003 with its caption and font", rc,
     r'^2003 DIALOG .*\nSTYLE .*\nCAPTION "%s"\nFONT 8, "Arial"\n' % NAME),
    ("version information", rc, r'^1 VERSIONINFO\n(.*\n)*?\s*VALUE "ProductName", "%s"' % NAME),
]
failed = 0
for what, text, pattern in CHECKS:
    ok = re.search(pattern, text, re.M) is not None
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    failed += not ok
if failed:
    print("%d of %d checks failed" % (failed, len(CHECKS)))
sys.exit(1 if failed else 0)
