#!/usr/bin/env python3
"""Paints the default background assets/back.bmp: a calm dusk sky over hills."""

import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bmp8  # noqa: E402
import palette as pal  # noqa: E402

WIDTH, HEIGHT = 640, 480
SEED = 20240521

# 4x4 ordered dither, so the few palette steps of the gradients show no bands.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def shade(first, count, t, x, y):
    """Palette index for position t in [0, 1] of a ramp, dithered."""
    v = t * (count - 1)
    base = int(math.floor(v))
    if (v - base) * 16 > BAYER[y % 4][x % 4] + 0.5:
        base += 1
    return first + min(base, count - 1)


def ridge(x, base, waves):
    return base + sum(a * math.sin(2 * math.pi * x / period + phase)
                      for a, period, phase in waves)


FAR_HILLS = (372, [(14, 610, 0.6), (7, 260, 2.1), (3, 97, 4.0)])
NEAR_HILLS = (418, [(12, 820, 2.7), (6, 330, 0.4), (2.5, 120, 1.3)])


def paint():
    rows = []
    for y in range(HEIGHT):
        row = bytearray(WIDTH)
        for x in range(WIDTH):
            far = ridge(x, *FAR_HILLS)
            near = ridge(x, *NEAR_HILLS)
            if y >= near:
                t = (y - near) / (HEIGHT - near + 1)
                row[x] = shade(pal.HILL_NEAR_FIRST, pal.HILL_COUNT, t, x, y)
            elif y >= far:
                t = (y - far) / (HEIGHT - far + 1)
                row[x] = shade(pal.HILL_FAR_FIRST, pal.HILL_COUNT, t, x, y)
            else:
                row[x] = shade(pal.SKY_FIRST, pal.SKY_COUNT, y / (HEIGHT - 1), x, y)
        rows.append(row)
    add_stars(rows)
    return rows


def add_stars(rows):
    # Faint stars, fewer and dimmer toward the horizon; a few with small rays.
    rng = random.Random(SEED)
    for _ in range(90):
        x = rng.randrange(2, WIDTH - 2)
        y = 2 + int(rng.random() ** 1.6 * 330)
        if y >= ridge(x, *FAR_HILLS) - 12:
            continue
        fade = 1 - y / 360
        level = int(rng.random() * (pal.STAR_COUNT - 1) * fade)
        rows[y][x] = pal.STAR_FIRST + level
        if level >= 5 and rng.random() < 0.5:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                rows[y + dy][x + dx] = pal.STAR_FIRST + 1


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets", "back.bmp")
    rows = paint()
    assert all(pal.BLUE_KEY not in row for row in rows), "the colour key must not show"
    bmp8.write(out, WIDTH, HEIGHT, pal.PALETTE, rows)


if __name__ == "__main__":
    main()
