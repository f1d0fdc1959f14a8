#!/usr/bin/env python3
"""Paints the default background assets/back.bmp: a pale dawn sky with soft clouds over hills."""

# The game writes dark purple text straight onto this picture (the frame rate
# line at the bottom left, score pop-ups anywhere), so every colour it uses is
# kept light: main() refuses a picture in which that text would not read.

import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bmp8  # noqa: E402
import palette as pal  # noqa: E402

WIDTH, HEIGHT = 640, 480
SEED = 20240521
SKY_END = 400          # the sky ramp reaches the horizon colour here
TEXT = (102, 0, 51)    # the dark purple of the game's texts
MIN_CONTRAST = 4.5     # contrast ratio every pixel keeps against TEXT

# 4x4 ordered dither, so the few palette steps of the gradients show no bands.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def threshold(x, y, turn=0):
    """Dither threshold in (0, 1); `turn` gives a second, uncorrelated pattern."""
    if turn:
        x, y = y + 2, x + 1
    return (BAYER[y % 4][x % 4] + 0.5) / 16


def dither(v, count, x, y, turn=0):
    """Whole step in 0..count-1 for the position v in [0, count - 1], dithered."""
    base = int(math.floor(v))
    if v - base > threshold(x, y, turn):
        base += 1
    return max(0, min(base, count - 1))


def shade(first, count, t, x, y):
    """Palette index for position t in [0, 1] of a ramp, dithered."""
    return first + dither(t * (count - 1), count, x, y)


def ridge(x, base, waves):
    return base + sum(a * math.sin(2 * math.pi * x / period + phase)
                      for a, period, phase in waves)


FAR_HILLS = (372, [(14, 610, 0.6), (7, 260, 2.1), (3, 97, 4.0)])
NEAR_HILLS = (418, [(12, 820, 2.7), (6, 330, 0.4), (2.5, 120, 1.3)])

# Clouds: (centre x, base y, width, height, number of puffs), few and flat.
CLOUDS = [(150, 92, 210, 44, 7), (478, 150, 250, 50, 8), (560, 54, 120, 24, 4),
          (96, 250, 150, 30, 5), (352, 282, 190, 30, 6)]


def smoothstep(e0, e1, v):
    u = max(0.0, min(1.0, (v - e0) / (e1 - e0)))
    return u * u * (3 - 2 * u)


def make_puffs():
    """Each cloud as round puffs over a flat base: (base y, height, [(cx, cy, rx, ry)])."""
    rng = random.Random(SEED)
    clouds = []
    for cx, base, width, height, count in CLOUDS:
        puffs = []
        for i in range(count):
            # Bigger puffs in the middle give the cloud a domed top.
            u = (i + 0.5) / count * 2 - 1
            px = cx + u * width * 0.42 + rng.uniform(-6, 6)
            big = 1 - 0.6 * u * u
            rx = width * (0.12 + 0.1 * big) * rng.uniform(0.85, 1.15)
            ry = height * (0.4 + 0.6 * big) * rng.uniform(0.85, 1.15)
            puffs.append((px, base - ry * 0.55, rx, ry))
        clouds.append((base, height, puffs))
    return clouds


def cloud_cover(x, y, clouds):
    """How much cloud covers (x, y), 0 to 1."""
    clear = 1.0
    for base, height, puffs in clouds:
        # A soft but flat underside, a little thinner (so bluer) than the top.
        flat = smoothstep(base + 4, base - 10, y) * (0.8 + 0.2 * smoothstep(base, base - height, y))
        if flat == 0:
            continue
        for px, py, rx, ry in puffs:
            d = math.hypot((x - px) / rx, (y - py) / ry)
            if d < 1:
                clear *= 1 - smoothstep(1.0, 0.55, d) * flat
    return 1 - clear


def sky_index(t, cover, x, y):
    """Palette index of the sky at ramp position t under `cover` of cloud."""
    span = pal.CLOUD_SKY_BOTTOM - pal.CLOUD_SKY_TOP
    row = dither((t - pal.CLOUD_SKY_TOP) / span * (pal.CLOUD_ROWS - 1), pal.CLOUD_ROWS, x, y)
    level = dither(cover * pal.CLOUD_LEVELS, pal.CLOUD_LEVELS + 1, x, y, 1)
    if level == 0:
        return shade(pal.SKY_FIRST, pal.SKY_COUNT, t, x, y)
    return pal.CLOUD_FIRST + row * pal.CLOUD_LEVELS + level - 1


def paint():
    clouds = make_puffs()
    rows = []
    for y in range(HEIGHT):
        row = bytearray(WIDTH)
        t = min(1.0, y / SKY_END)
        for x in range(WIDTH):
            far = ridge(x, *FAR_HILLS)
            near = ridge(x, *NEAR_HILLS)
            # Ridges are softened over one pixel by dithering their cover.
            if y + 0.5 - near > threshold(x, y):
                h = (y - near) / (HEIGHT - near + 1)
                row[x] = shade(pal.HILL_NEAR_FIRST, pal.HILL_COUNT, h, x, y)
            elif y + 0.5 - far > threshold(x, y):
                h = (y - far) / (HEIGHT - far + 1)
                row[x] = shade(pal.HILL_FAR_FIRST, pal.HILL_COUNT, h, x, y)
            else:
                # Clouds keep to the part of the sky the cloud shades cover.
                cover = cloud_cover(x, y, clouds) if t < pal.CLOUD_SKY_BOTTOM else 0.0
                row[x] = sky_index(t, cover, x, y)
        rows.append(row)
    return rows


def luminance(rgb):
    """Relative luminance of an sRGB colour, 0 to 1."""
    lin = [(c / 255 / 12.92) if c <= 10 else ((c / 255 + 0.055) / 1.055) ** 2.4 for c in rgb]
    return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2]


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets", "back.bmp")
    rows = paint()
    used = set().union(*rows)
    assert pal.BLUE_KEY not in used, "the colour key must not show"
    for i in used:
        assert contrast(pal.PALETTE[i], TEXT) >= MIN_CONTRAST, (i, pal.PALETTE[i])
    bmp8.write(out, WIDTH, HEIGHT, pal.PALETTE, rows)


if __name__ == "__main__":
    main()
