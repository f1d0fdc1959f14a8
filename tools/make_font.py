#!/usr/bin/env python3
"""Builds assets/font.bin, the game's embedded bitmap font, from GNU Unifont.

The font holds printable ASCII, Latin-1, Latin Extended-A (the letters of
French, German and the other Latin-script languages), every character of
the translations in assets/po/ (the Japanese texts among them) and of the
languages' own names (their headers' X-Language-Name) and U+FFFD,
the glyph drawn for anything else. Japanese
characters are taken from Unifont's Japanese variant so that they have
Japanese forms. The output is the same bytes on every run.

File layout (all numbers little-endian; src/media/font.h describes the same):
  0   4  magic "RFNT"
  4   1  version, 1
  5   1  glyph height in pixels, 16
  6   2  glyph count N
  8  5N  N records in ascending code point order: code point (u32), width (u8,
         8 or 16)
  ..     the bitmaps in record order, each height rows of width/8 bytes, top
         row first, most significant bit leftmost, 1 = ink
"""

import argparse
import os
import struct
import sys

DEFAULT_BASE = "/usr/share/unifont/unifont.hex"
DEFAULT_JP = "/usr/share/unifont/unifont_jp.hex"
HEIGHT = 16
REPLACEMENT = 0xFFFD

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from po_to_cpp import read_catalogue  # noqa: E402

PO_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets", "po")


def wanted_code_points():
    points = set(range(0x20, 0x7F)) | set(range(0xA0, 0x180))
    for name in sorted(os.listdir(PO_FOLDER)):
        if name.endswith(".po"):
            header, entries = read_catalogue(os.path.join(PO_FOLDER, name))
            points.update(ord(c) for c in header.get("X-Language-Name", ""))
            for msgid, msgstr in entries.items():
                forms = msgstr if isinstance(msgstr, tuple) else (msgstr,)
                points.update(ord(c) for c in msgid + "".join(forms))
    points.add(REPLACEMENT)
    return sorted(points)


def read_hex(path, wanted):
    """Returns {code point: bitmap bytes} for the wanted code points."""
    glyphs = {}
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line:
                continue
            try:
                code_text, bits = line.split(":", 1)
                code = int(code_text, 16)
            except ValueError:
                sys.exit(f"{path}:{number}: not a hex font line")
            if code not in wanted:
                continue
            if len(bits) not in (HEIGHT * 2, HEIGHT * 4):
                sys.exit(f"{path}:{number}: glyph U+{code:04X} is not 8x16 or 16x16")
            glyphs[code] = bytes.fromhex(bits)
    return glyphs


def is_japanese(code):
    # CJK symbols, kana and ideographs: take the Japanese forms.
    return 0x3000 <= code <= 0x9FFF or 0xFF00 <= code <= 0xFFEF


def build(base_path, jp_path):
    wanted = wanted_code_points()
    wanted_set = set(wanted)
    base = read_hex(base_path, wanted_set)
    jp = read_hex(jp_path, wanted_set)
    records = bytearray()
    bitmaps = bytearray()
    for code in wanted:
        first, second = (jp, base) if is_japanese(code) else (base, jp)
        bitmap = first.get(code, second.get(code))
        if bitmap is None:
            sys.exit(f"U+{code:04X} is in neither font file")
        width = len(bitmap) * 8 // HEIGHT
        records += struct.pack("<IB", code, width)
        bitmaps += bitmap
    header = b"RFNT" + struct.pack("<BBH", 1, HEIGHT, len(wanted))
    return header + bytes(records) + bytes(bitmaps)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("base", nargs="?", default=DEFAULT_BASE, help="unifont.hex")
    parser.add_argument("jp", nargs="?", default=DEFAULT_JP, help="unifont_jp.hex")
    parser.add_argument("-o", "--output", default=os.path.join(here, "..", "assets", "font.bin"))
    args = parser.parse_args()
    data = build(args.base, args.jp)
    with open(args.output, "wb") as f:
        f.write(data)
    print(f"wrote {len(data)} bytes to {os.path.normpath(args.output)}")


if __name__ == "__main__":
    main()
