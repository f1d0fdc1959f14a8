"""Writes uncompressed 8-bit Windows BMP files (BITMAPINFOHEADER, bottom-up)."""

import struct


def encode(width, height, palette, rows):
    """rows: height byte strings of width palette indices, top row first."""
    assert len(palette) == 256 and len(rows) == height
    stride = (width + 3) & ~3
    pad = bytes(stride - width)
    pixels = b"".join(bytes(row) + pad for row in reversed(rows))
    assert all(len(row) == width for row in rows)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels),
                       2835, 2835, 256, 0)
    return file_header + info + colours + pixels


def write(path, width, height, palette, rows):
    with open(path, "wb") as f:
        f.write(encode(width, height, palette, rows))
