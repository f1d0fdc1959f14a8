#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (run again: the same bytes)."""

import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CORPUS = os.path.join(HERE, "corpus")


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- word files -------------------------------------------------------------

def word_seeds():
    with open(os.path.join(ROOT, "assets", "rapdata.ini"), "rb") as f:
        put("fuzz_word_data", "default_rapdata.ini", f.read())
    put("fuzz_word_data", "example.ini", "cat,Dog\r\nEMU\r\n")
    put("fuzz_word_data", "dropped_items.ini",
        "NEW YORK\nNEW,YORK\nit's\nab\n\n,,\nX-1\n\"A,B C\"\n  lead\ntrail  \nq\"uote\n\"OPEN")
    put("fuzz_word_data", "bare_cr_and_tabs.ini", "one\rtwo\r\n\tthree\t,four")
    put("fuzz_word_data", "many_words.ini", "".join("W%03d\n" % i for i in range(150)))
    # 199 five-letter words fill 995 positions; the next is cut at 1000.
    put("fuzz_word_data", "cut_at_capacity.ini",
        "".join("ABCDE\n" for _ in range(99)) + "ABCDEFGH\nMORE\n")
    put("fuzz_word_data", "long_item.ini", "A" * 32768 + "\nCAT\n")
    # Accented letters that fold (ß and Æ to two letters, an accent written after
    # its letter), Greek that does not, a Latin-1 byte; then the same as UTF-16.
    accented = "CAFÉ,Straße\nÆON\nœuvre\nE\u0301TE\nἈθῆναι\n"
    put("fuzz_word_data", "accented.ini", accented.encode("utf-8") + b"caf\xe9\n")
    put("fuzz_word_data", "accented_utf16.ini", b"\xff\xfe" + accented.encode("utf-16-le"))


# --- ranking files ----------------------------------------------------------

def ranking(entry, places):
    out = '"%s"\r\n' % entry
    for name, key in places:
        out += '"%s"\r\n%d\r\n' % (name, key)
    return out


def ranking_seeds():
    put("fuzz_ranking", "empty_run.ini", ranking("", [("", 0)] * 10))
    full = [("ME", 2147483647), ("A,B", 51234567), ("ZED", 40300000), ("Q", 30400007),
            ("1234567890", 100000), ("-=[];'`", 99), ("X", 0), ("Y", -1),
            ("Z", -2147483648), ("", 7)]
    put("fuzz_ranking", "full.ini", ranking("ME", full))
    put("fuzz_ranking", "lf_only.ini", ranking("LF", full).replace("\r\n", "\n"))
    text = ranking("CUT", full)
    put("fuzz_ranking", "cut_after_line_8.ini", "".join(text.splitlines(True)[:8]))
    put("fuzz_ranking", "bad_key.ini", ranking("K", full).replace("30400007", "ABC"))
    put("fuzz_ranking", "unquoted.ini",
        "NAME , 12\r\nP0\r\n  42  \r\n\"open\r\n+5\r\n2147483648\r\n1.5e3\r\n")


# --- BMP files --------------------------------------------------------------

def grey_palette(count=256):
    return b"".join(struct.pack("<BBBB", i, i, i, 0) for i in range(count))


def bmp(width, height, pixels, compression=0, colors=256, top_down=False, palette=None):
    palette = grey_palette(colors) if palette is None else palette
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, 8,
                       compression, len(pixels), 2835, 2835, 0 if colors == 256 else colors, 0)
    return header + info + palette + pixels


def plain_rows(width, height):
    stride = (width + 3) & ~3
    return b"".join(bytes((x * 7 + y * 13) & 0xFF for x in range(width)) + bytes(stride - width)
                    for y in range(height))


def rle_rows(width, height):
    out = b""
    for y in range(height):
        left = width
        while left > 0:
            n = min(255, left)
            out += bytes([n, y & 0xFF])
            left -= n
        out += b"\x00\x00"
    return out + b"\x00\x01"


def core_header_bmp(width, height):
    palette = b"".join(struct.pack("<BBB", i, 255 - i, i // 2) for i in range(256))
    pixels = plain_rows(width, height)
    offset = 14 + 12 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    core = struct.pack("<IHHHH", 12, width, height, 1, 8)
    return header + core + palette + pixels


def bmp_seeds():
    put("fuzz_bmp", "plain_5x3.bmp", bmp(5, 3, plain_rows(5, 3)))
    put("fuzz_bmp", "plain_top_down_7x4.bmp", bmp(7, 4, plain_rows(7, 4), top_down=True))
    put("fuzz_bmp", "plain_16_colours.bmp", bmp(4, 4, bytes(i % 16 for i in range(16)), colors=16))
    # Every RLE8 escape: runs, end of line, a move, odd and even literals, end of picture.
    rle = (b"\x03\x05" + b"\x00\x03\x01\x02\x03\x00" + b"\x00\x04\x04\x05\x06\x07" + b"\x00\x00"
           + b"\x00\x02\x02\x01" + b"\x02\x09" + b"\x00\x00" + b"\x0a\x0b" + b"\x00\x01")
    put("fuzz_bmp", "rle8_escapes_10x4.bmp", bmp(10, 4, rle, compression=1))
    put("fuzz_bmp", "rle8_no_end_marker_4x2.bmp", bmp(4, 2, b"\x04\x01\x00\x00\x04\x02", compression=1))
    put("fuzz_bmp", "rle8_top_down_6x2.bmp", bmp(6, 2, rle_rows(6, 2), compression=1, top_down=True))
    put("fuzz_bmp", "core_header_3x2.bmp", core_header_bmp(3, 2))
    # The sizes the display asks for: the background and the glyph sheet.
    put("fuzz_bmp", "background_640x480_rle8.bmp", bmp(640, 480, rle_rows(640, 480), compression=1))
    put("fuzz_bmp", "sheet_350x262_rle8.bmp", bmp(350, 262, rle_rows(350, 262), compression=1))


# --- scripts ----------------------------------------------------------------

def script_seeds():
    put("fuzz_script", "example.txt",
        "# start a round, lock the first letter, fire, look\nstart 5000\ntick 16\npress 57\n"
        "tick 16 2\ntick 16 40\nstate\nframe\n")
    put("fuzz_script", "every_command.txt",
        "start 4294967295\r\ndown 30\r\nup 30\r\npress 1 255 57\r\ntype Hello, world. -=[];'`\r\n"
        "click\r\ntick 2147483647 0\r\n  \t# comment\r\n\r\nstate\r\nframe\r\n"
        "screenshot  shot one.png  \r\n")
    put("fuzz_script", "name_entry.txt",
        "start 0\ntick 16\npress 57\ntick 1000 121\ntype abc\npress 14\npress 28\ntick 16\n")
    put("fuzz_script", "errors.txt",
        "tick\ntick 1 2 3\ndown 0\nup 256\npress\ntype ~\ntyped x\nstart -1\n"
        "tick 99999999999999999999999\nscreenshot\nwhat\n")


def main():
    shutil.rmtree(CORPUS, ignore_errors=True)
    word_seeds()
    ranking_seeds()
    bmp_seeds()
    script_seeds()


if __name__ == "__main__":
    main()
