#!/usr/bin/env python3
"""Draws the game's icon, assets/icons/rapiko-SIZE.png, at 48, 64, 128, 192, 256 and 512 pixels."""

# The icon is the game's own art: a falling letter R of the glyph sheet, with
# its pink fill, lit and shaded edges and dark purple outline, held in the
# green lock-on marker, on a tile of the background's dawn sky and hills. Every
# colour is an entry of the shared palette. Edges are smoothed by sampling
# each pixel on a grid; widths have a floor of about a pixel, so the small
# sizes keep their outlines.

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import palette as pal  # noqa: E402
import png  # noqa: E402
from glyphs import STROKES  # noqa: E402
from make_sheet import (DESIGN_HEIGHT, EDGE_SHIFT, OUTLINE, PEN, SCALE_X,  # noqa: E402
                        SCALE_Y, distance, segments_of)

# The desktop's sizes, and 192 and 512 for the web page's app manifest.
SIZES = (48, 64, 128, 192, 256, 512)
SAMPLES = 4            # a SAMPLES x SAMPLES grid in every pixel
LETTER = "R"
COLOUR = {name: pal.PALETTE[index] for name, index in (
    ("outline", pal.GLYPH_OUTLINE), ("fill", pal.GLYPH_FILL), ("light", pal.GLYPH_LIGHT),
    ("shade", pal.GLYPH_SHADE), ("ring", pal.RING_BRIGHT), ("ring edge", pal.RING_DARK),
    ("far hill", pal.HILL_FAR_FIRST + pal.HILL_COUNT // 2),
    ("near hill", pal.HILL_NEAR_FIRST + pal.HILL_COUNT // 2))}

# Proportions of the icon's size.
MARGIN = 1 / 24        # free border around the tile
CORNER = 0.2           # corner radius of the tile
RING_OUTER = 0.40      # the marker's outer edge (octagon "radius")
RING_BAND = 0.06       # its bright band
CAP_HEIGHT = 0.40      # the letter's cap height
# The sheet's letters are 23 pixels high; their pen, outline and the offset of
# the lit and shaded edges scale with the letter.
SHEET_CAP = DESIGN_HEIGHT * SCALE_Y


def round_rect_distance(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    qx = abs(x - cx) - ((right - left) / 2 - radius)
    qy = abs(y - cy) - ((bottom - top) / 2 - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def octagon_radius(dx, dy):
    dx, dy = abs(dx), abs(dy)
    return max(dx, dy, (dx + dy) / math.sqrt(2))


class Icon:
    def __init__(self, size):
        self.size = size
        s = float(size)
        m = s * MARGIN
        self.tile = (m, m, s - m, s - m)
        self.corner = s * CORNER
        self.border = max(1.0, s / 56)
        self.cx = self.cy = s / 2
        self.ring_outer = s * RING_OUTER
        self.ring_edge = max(1.0, s * 0.022)
        # The letter: the sheet's stroke design, scaled to CAP_HEIGHT.
        k = s * CAP_HEIGHT / SHEET_CAP
        self.pen = PEN * k
        self.outline = max(1.25, OUTLINE * k)
        self.shift = EDGE_SHIFT * k
        scaled = [[(x * SCALE_X * k, y * SCALE_Y * k) for x, y in line]
                  for line in STROKES[LETTER]]
        segs = segments_of(scaled)
        xs = [v for seg in segs for v in (seg[0], seg[2])]
        ys = [v for seg in segs for v in (seg[1], seg[3])]
        ox = self.cx - (min(xs) + max(xs)) / 2
        oy = self.cy - (min(ys) + max(ys)) / 2
        self.segs = [(ax + ox, ay + oy, bx + ox, by + oy) for ax, ay, bx, by in segs]
        self.reach = self.pen + self.outline

    def background(self, x, y):
        """The tile's sky and hills at (x, y), or None outside the tile."""
        left, top, right, bottom = self.tile
        d = round_rect_distance(x, y, left, top, right, bottom, self.corner)
        if d > 0:
            return None
        if d > -self.border:
            return COLOUR["outline"]
        u = (x - left) / (right - left)
        v = (y - top) / (bottom - top)
        far = 0.70 + 0.035 * math.sin(2 * math.pi * u * 0.9 + 0.6) \
            + 0.015 * math.sin(2 * math.pi * u * 2.3 + 2.1)
        near = 0.82 + 0.03 * math.sin(2 * math.pi * u * 0.7 + 2.7) \
            + 0.01 * math.sin(2 * math.pi * u * 2.0 + 0.4)
        if v > near:
            return COLOUR["near hill"]
        if v > far:
            return COLOUR["far hill"]
        return tuple(int(math.floor(c + 0.5)) for c in pal.sky(min(1.0, v / 0.8)))

    def ring(self, x, y):
        r = octagon_radius(x - self.cx, y - self.cy)
        outer = self.ring_outer
        inner = outer - 2 * self.ring_edge - self.size * RING_BAND
        if r > outer or r < inner:
            return None
        if r > outer - self.ring_edge or r < inner + self.ring_edge:
            return COLOUR["ring edge"]
        return COLOUR["ring"]

    def letter(self, x, y):
        d = distance(self.segs, x, y)
        if d > self.reach:
            return None
        if d > self.pen:
            return COLOUR["outline"]
        if distance(self.segs, x - self.shift, y - self.shift) > self.pen:
            return COLOUR["light"]
        if distance(self.segs, x + self.shift, y + self.shift) > self.pen:
            return COLOUR["shade"]
        return COLOUR["fill"]

    def sample(self, x, y, near_letter):
        colour = self.background(x, y)
        if colour is None:
            return None
        colour = self.ring(x, y) or colour
        if near_letter:
            colour = self.letter(x, y) or colour
        return colour

    def pixel(self, px, py):
        # The letter's distance at the centre says whether any sample can hit it.
        near_letter = distance(self.segs, px + 0.5, py + 0.5) <= self.reach + 0.75
        total = [0, 0, 0]
        hits = 0
        for j in range(SAMPLES):
            for i in range(SAMPLES):
                c = self.sample(px + (i + 0.5) / SAMPLES, py + (j + 0.5) / SAMPLES, near_letter)
                if c is not None:
                    hits += 1
                    for n in range(3):
                        total[n] += c[n]
        if hits == 0:
            return (0, 0, 0, 0)
        alpha = int(math.floor(255 * hits / SAMPLES ** 2 + 0.5))
        return tuple(int(math.floor(t / hits + 0.5)) for t in total) + (alpha,)

    def rows(self):
        out = []
        for py in range(self.size):
            row = bytearray()
            for px in range(self.size):
                row.extend(self.pixel(px, py))
            out.append(bytes(row))
        return out


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets", "icons")
    for size in SIZES:
        png.write(os.path.join(out_dir, "rapiko-%d.png" % size), size, size,
                  Icon(size).rows())


if __name__ == "__main__":
    main()
