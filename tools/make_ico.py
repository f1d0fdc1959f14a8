#!/usr/bin/env python3
"""Packs the game's icon, drawn by make_icon.py, into assets/icons/rapiko.ico for the Windows program."""

# Windows picks the size it needs from one .ico file: 16 and 32 pixels in
# lists and title bars, 48 on the desktop, 256 in large views. The small sizes
# are stored as 32-bit bitmaps (every Windows reads them, and resource
# compilers take them as they are); 256 as a PNG, as Windows expects for it.
# The pictures are drawn at each size, not scaled, so small ones stay sharp.

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import png  # noqa: E402
from make_icon import Icon  # noqa: E402

SIZES = (16, 24, 32, 48, 64, 256)
PNG_FROM = 256  # sizes from this one up are stored as PNG


def bitmap_entry(size, rows):
    """A 32-bit BGRA DIB, bottom row first, its height doubled for the (empty) AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            pixels += bytes((b, g, r, a))
    # The AND mask: one bit a pixel, rows padded to 32 bits; all clear, the
    # alpha channel says what shows.
    mask = bytes(((size + 31) // 32) * 4 * size)
    return header + bytes(pixels) + mask


def encode(images):
    """images: (size, entry bytes) pairs, smallest first."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b""
    for size, data in images:
        side = 0 if size >= 256 else size  # 0 means 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + directory + b"".join(data for _, data in images)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets", "icons", "rapiko.ico")
    images = []
    for size in SIZES:
        rows = Icon(size).rows()
        data = png.encode(size, size, rows) if size >= PNG_FROM else bitmap_entry(size, rows)
        images.append((size, data))
    with open(out, "wb") as f:
        f.write(encode(images))


if __name__ == "__main__":
    main()
