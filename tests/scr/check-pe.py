#!/usr/bin/env python3
"""check-pe.py --arch i686|x86_64 FILE: what a shipped .scr must hold, read
from the file alone (nothing is run): the PE format of its architecture, a
GUI program, the icon group 101, the listed name (string 1), the settings
dialog 2003 and the version information. Prints one line per check."""
import argparse, struct, sys

MACHINES = {"i686": (0x14C, 0x10B, "PE32"), "x86_64": (0x8664, 0x20B, "PE32+")}
GUI_SUBSYSTEM = 2
RT_ICON, RT_STRING, RT_DIALOG, RT_GROUP_ICON, RT_VERSION = 3, 6, 5, 14, 16
NAME = "Vornel Hex Stakko"


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = []
        for i in range(sections):
            at = optional + optional_size + 40 * i
            vsize, rva, raw_size, raw = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((rva, max(vsize, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address %#x is in no section" % rva)

    def resources(self):
        """{(type, id): bytes} for every resource with a numeric type and id."""
        found = {}
        if not self.resource_rva:
            return found
        base = self.offset(self.resource_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield key, target

        for type_id, type_dir in entries(0):
            for res_id, res_dir in entries(type_dir & 0x7FFFFFFF):
                for _, leaf in entries(res_dir & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    at = self.offset(rva)
                    if not (type_id | res_id) & 0x80000000:  # names are not ours
                        found.setdefault((type_id, res_id), self.data[at:at + size])
        return found


def utf16z(data, at):
    """A zero-ended UTF-16 text at at: (text, offset after it)."""
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def string_table_entry(blocks, number):
    block = blocks.get((RT_STRING, number // 16 + 1))
    if block is None:
        return None
    at = 0
    for i in range(16):
        length = struct.unpack_from("<H", block, at)[0]
        if i == number % 16:
            return block[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        at += 2 + 2 * length
    return None


def dialog_caption_and_font(template):
    """Caption, point size and face of a DIALOG (not DIALOGEX) template."""
    style, _, count = struct.unpack_from("<IIH", template, 0)
    at = 18
    for _ in range(2):  # menu and class: none, an ordinal or a text
        if template[at:at + 2] == b"\xff\xff":
            at += 4
        else:
            at = utf16z(template, at)[1]
    caption, at = utf16z(template, at)
    size, face = None, None
    if style & 0x40:  # DS_SETFONT
        size = struct.unpack_from("<H", template, at)[0]
        face = utf16z(template, at + 2)[0]
    return caption, size, face, count


def version_strings(block):
    """The StringFileInfo values of a VS_VERSIONINFO, and its fixed part's signature."""
    def node(at):
        length, value_length, kind = struct.unpack_from("<HHH", block, at)
        key, after = utf16z(block, at + 6)
        after = (after + 3) & ~3
        return at + length, key, value_length, kind, after

    end, key, value_length, _, value = node(0)
    signature = struct.unpack_from("<I", block, value)[0] if value_length >= 4 else 0
    strings, at = {}, (value + value_length + 3) & ~3
    while at < end:
        child_end, child_key, _, _, child = node(at)
        if child_key == "StringFileInfo":
            table_at = child
            while table_at < child_end:
                table_end, _, _, _, entry = node(table_at)
                while entry < table_end:
                    entry_end, name, length, kind, text = node(entry)
                    if length:
                        strings[name] = utf16z(block, text)[0] if kind == 1 else block[text:text + length]
                    entry = (entry_end + 3) & ~3
                table_at = (table_end + 3) & ~3
        at = (child_end + 3) & ~3
    return signature, strings


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--arch", choices=sorted(MACHINES), required=True)
    parser.add_argument("file")
    opts = parser.parse_args()
    failures = []

    def check(ok, what, detail=""):
        print(("ok   " if ok else "FAIL ") + what + ("" if ok or not detail else " (%s)" % detail))
        if not ok:
            failures.append(what)

    try:
        with open(opts.file, "rb") as f:
            pe = PeFile(f.read())
        blocks = pe.resources()
    except (OSError, ValueError, struct.error) as error:
        print("FAIL %s is not a readable PE file (%s)" % (opts.file, error))
        return 1

    machine, magic, kind = MACHINES[opts.arch]
    check(pe.machine == machine and pe.magic == magic, "%s file for %s" % (kind, opts.arch),
          "machine %#x, optional header magic %#x" % (pe.machine, pe.magic))
    check(pe.subsystem == GUI_SUBSYSTEM, "a Windows GUI program", "subsystem %d" % pe.subsystem)

    group = blocks.get((RT_GROUP_ICON, 101))
    icons = []
    if group and len(group) >= 6:
        _, kind_, count = struct.unpack_from("<HHH", group, 0)
        for i in range(count):
            width, height, colours, _, _, _, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            icons.append((width or 256, height or 256, colours, (RT_ICON, icon_id) in blocks))
    check(bool(icons) and all(present for *_, present in icons), "icon group 101 with its images",
          str(icons))
    check((32, 32, 16, True) in icons, "a 32 x 32, 16-colour icon", str(icons))

    check(string_table_entry(blocks, 1) == NAME, 'string 1 is "%s"' % NAME,
          repr(string_table_entry(blocks, 1)))

    dialog = blocks.get((RT_DIALOG, 2003))
    if dialog:
        caption, size, face, count = dialog_caption_and_font(dialog)
        check(caption == NAME and (size, face) == (8, "Arial") and count > 0,
              'dialog 2003 "%s" in Arial 8 with its controls' % NAME,
              "%r, %r %r, %d controls" % (caption, face, size, count))
    else:
        check(False, "dialog 2003 is there")

    version = blocks.get((RT_VERSION, 1))
    signature, strings = version_strings(version) if version else (0, {})
    check(signature == 0xFEEF04BD, "version information with its fixed part", "%#x" % signature)
    check(strings.get("ProductName") == NAME and strings.get("OriginalFilename", "").endswith(".scr"),
          "version strings name the product and the .scr", str(strings))

    print("%s: %s" % (opts.file, "%d checks failed" % len(failures) if failures else "all checks passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
