#!/usr/bin/env python3
"""check-scr.py OBJDUMP WINDRES ARCH VERSION FILE: what a shipped .scr must
hold, read from the file alone with the toolchain's objdump and windres
(nothing is run): the PE format of its architecture, a GUI program, the icon
group 101 of one 32 x 32 16-colour image, the listed name (string 1), the
settings dialog 2003, the version information of VERSION, and the manifest
(type 24, id 1). One line per check; exit 1 if any fails."""
import os, re, struct, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lib"))
from harness import report

objdump, windres, arch, version, path = sys.argv[1:6]


def run(argv):
    return subprocess.run(argv, capture_output=True, text=True, errors="replace").stdout


def resource(path, kind, name):
    """The bytes of the resource of ordinal type and name, or None, from windres'
    .res output: entries of data size, header size, type and name (0xFFFF, id)."""
    with tempfile.TemporaryDirectory() as work:
        res = os.path.join(work, "out.res")
        subprocess.run([windres, "-i", path, "-O", "res", "-o", res], capture_output=True)
        data = open(res, "rb").read() if os.path.exists(res) else b""
    at = 0
    while at + 16 <= len(data):
        size, header = struct.unpack_from("<II", data, at)
        if data[at + 8:at + 16] == struct.pack("<HHHH", 0xFFFF, kind, 0xFFFF, name):
            return data[at + header:at + header + size]
        at = (at + header + size + 3) & ~3
    return None


headers, rc = run([objdump, "-p", path]), run([windres, "-O", "rc", "-i", path])
NAME = "Vornel Hex Stakko"
MAGIC = {"i686": r"010b\s+\(PE32\)", "x86_64": r"020b\s+\(PE32\+\)"}[arch]
QUAD = ", ".join(version.split(".") + ["0"])
CHECKS = [
    ("the %s format" % arch, headers, r"^Magic\s+%s$" % MAGIC),
    ("a GUI program", headers, r"^Subsystem\s+00000002\s"),
    ("icon group 101 of one 32 x 32 16-colour image", rc,
     r'^101 14 .*\nBEGIN\n\s*0, 1, 1,.*\n.*\n\s*"\\040\\040\\020\\000", 1, 4, .*\nEND'),
    ('string 1 "%s"' % NAME, rc, r'^STRINGTABLE\nBEGIN\n\s*1, "%s"\nEND' % NAME),
    ("dialog 2003 with its caption and font", rc,
     r'^2003 DIALOG .*\nSTYLE .*\nCAPTION "%s"\nFONT 8, "Arial"\n' % NAME),
    ("version information", rc, r'^1 VERSIONINFO\n(.*\n)*?\s*VALUE "ProductName", "%s"' % NAME),
    ("version %s in numbers and text" % version, rc,
     r'^1 VERSIONINFO\n\s*FILEVERSION %s\n\s*PRODUCTVERSION %s\n(.*\n)*?'
     r'\s*VALUE "FileVersion", "%s"\n(.*\n)*?\s*VALUE "ProductVersion", "%s"\n'
     % (QUAD, QUAD, re.escape(version), re.escape(version))),
]
results = [(what, re.search(pattern, text, re.M) is not None) for what, text, pattern in CHECKS]

# The manifest: well-formed, DPI aware, the systems it knows, this version,
# and nothing that changes how the saver runs or looks.
ASM1, ASM3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SYSTEMS = {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}  # Vista, 7, 8, 8.1, 10 and 11
manifest = resource(path, 24, 1)
root, why = ET.Element("none"), ""
try:
    root = ET.fromstring(manifest) if manifest else root
except ET.ParseError as error:
    why = " (%s)" % error
results += [("manifest (type 24, id 1)", manifest is not None),
            ("manifest is well-formed XML" + why, root.tag != "none")]
identity = getattr(root.find(ASM1 + "assemblyIdentity"), "attrib", {})
aware = root.find("%sapplication/%swindowsSettings/%sdpiAware" % (ASM3, ASM3, SETTINGS))
systems = {entry.get("Id", "").strip("{}").lower()
           for entry in root.findall("%scompatibility/%sapplication/%ssupportedOS"
                                  % (COMPAT, COMPAT, COMPAT))}
unwanted = sorted({e.tag.split("}")[-1] for e in root.iter()} &
                  {"trustInfo", "requestedExecutionLevel", "dependency", "dpiAwareness"})
results += [
    ("manifest assembly Vornel.HexStakko %s.0 for %s" % (version, arch),
     root.tag == ASM1 + "assembly" and identity.get("name") == "Vornel.HexStakko"
     and identity.get("version") == version + ".0"
     and identity.get("processorArchitecture") == {"i686": "x86", "x86_64": "amd64"}[arch]),
    ("manifest declares dpiAware true", aware is not None and (aware.text or "").strip() == "true"),
    ("manifest names Vista, 7, 8, 8.1 and 10/11", systems == SYSTEMS),
    ("manifest has no %s" % ", ".join(unwanted or ["execution level or dependency"]),
     not unwanted),
]
sys.exit(0 if report(results) else 1)
