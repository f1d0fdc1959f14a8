"""Writes 8-bit RGBA PNG files (no ancillary chunks, so no time stamps)."""

import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def encode(width, height, rows):
    """rows: height byte strings of width * 4 bytes (R, G, B, A), top row first."""
    assert len(rows) == height and all(len(row) == width * 4 for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    # Filter type 0 on every row: the flat areas of an icon compress well as they are.
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def write(path, width, height, rows):
    with open(path, "wb") as f:
        f.write(encode(width, height, rows))
