#!/usr/bin/env python3
"""check-package.py [--self-test] ZIP VERSION: what dist/stakko-VERSION.zip
must hold: stakko.scr a PE32 i386 program, stakko64.scr a PE32+ x86-64 one
(their resources are checked in the build), and INSTALL.txt with CRLF line
ends that names the product, the version and both files. One line per check; exit 1
if any fails. --self-test instead makes faulty copies of ZIP and expects
each to fail on its fault."""
import os, struct, sys, tempfile, zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lib"))
from harness import report

FILES = {"stakko.scr", "stakko64.scr", "INSTALL.txt"}


def pe_kind(data):
    """(machine, optional-header magic) of a PE file, or None."""
    if data[:2] != b"MZ" or len(data) < 0x40:
        return None
    at = struct.unpack_from("<I", data, 0x3C)[0]
    if data[at:at + 4] != b"PE\0\0" or len(data) < at + 26:
        return None
    return struct.unpack_from("<H", data, at + 4)[0], struct.unpack_from("<H", data, at + 24)[0]


def check(path, version):
    try:
        with zipfile.ZipFile(path) as z:
            bad = z.testzip()
            files = {name: z.read(name) for name in z.namelist()}
    except (OSError, zipfile.BadZipFile) as error:
        return [("a readable zip (%s)" % error, False)]
    names, note = set(files), files.get("INSTALL.txt", b"").decode("latin-1")
    return [
        ("a readable zip", bad is None),
        ("holds %s" % ", ".join(sorted(FILES)) +
         ("" if names == FILES else " (it holds %s)" % ", ".join(sorted(names))), names == FILES),
        ("stakko.scr is PE32 i386", pe_kind(files.get("stakko.scr", b"")) == (0x14C, 0x10B)),
        ("stakko64.scr is PE32+ x86-64", pe_kind(files.get("stakko64.scr", b"")) == (0x8664, 0x20B)),
        ("INSTALL.txt has CRLF line ends", "\r\n" in note and "\n" not in note.replace("\r\n", "")),
        ("INSTALL.txt names Vornel Hex Stakko %s" % version,
         "Vornel Hex Stakko %s" % version in note),
        ("INSTALL.txt names both files", "stakko.scr" in note and "stakko64.scr" in note),
    ]


def self_test(path, version):
    """Each faulty copy must fail, and on the check that names its fault."""
    with zipfile.ZipFile(path) as z:
        good = {name: z.read(name) for name in z.namelist()}
    note = good["INSTALL.txt"]
    faults = {
        "stakko64.scr missing": ({k: v for k, v in good.items() if k != "stakko64.scr"},
                                 "holds"),
        "the .scr files swapped": (dict(good, **{"stakko.scr": good["stakko64.scr"],
                                                 "stakko64.scr": good["stakko.scr"]}),
                                   "stakko.scr is PE32 i386"),
        "the note of another version": (dict(good, **{"INSTALL.txt": note.replace(
            version.encode(), b"0.0.0")}), "names Vornel Hex Stakko"),
    }
    results = []
    with tempfile.TemporaryDirectory() as work:
        for what, (files, expected) in faults.items():
            faulty = os.path.join(work, "faulty.zip")
            with zipfile.ZipFile(faulty, "w") as z:
                for name, data in files.items():
                    z.writestr(name, data)
            failed = [name for name, ok in check(faulty, version) if not ok]
            results.append(("refuses a zip with %s (failed: %s)" % (what, "; ".join(failed) or
                            "nothing"), any(expected in name for name in failed)))
    return results


if __name__ == "__main__":
    args = sys.argv[1:]
    selftest = args[:1] == ["--self-test"]
    if len(args) != 2 + selftest:
        sys.exit(__doc__)
    sys.exit(0 if report((self_test if selftest else check)(*args[selftest:])) else 1)
