#!/usr/bin/env python3
"""Draws the glyph sheet assets/abc.bmp: letter cells, marker, gauge, glow."""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bmp8  # noqa: E402
import palette as pal  # noqa: E402
from glyphs import GRID, STROKES  # noqa: E402

WIDTH, HEIGHT = 348, 262
SHEET_WIDTH = 346          # columns 346 and 347 are the black strip
CELL_W, CELL_H = 49, 37
PEN = 3.0                  # stroke radius of the letters
OUTLINE = 2.0              # outline width around them
EDGE_SHIFT = 1.6           # offset of the lit and shaded edges inside the pen
DESIGN_HEIGHT = 22         # cap line to base line in the stroke designs
SCALE_X, SCALE_Y = 1.25, 23 / 22  # design units to pixels: wide, open shapes

# Pictures other than letters, as inclusive extents (left, top, right, bottom).
RED_BAR = (300, 80, 331, 95)
MARKER = (301, 96, 331, 126)
# The gauge cells end at column 331: the game's source rectangles stop there,
# so a column 332 would be cut off the right end of the capsule.
GAUGE_EMPTY = (301, 127, 331, 142)
GAUGE_FULL = (301, 143, 331, 158)
GLOW = (9, 227, 40, 257)
SQUARES = [
    ((217, 239, 229, 251), pal.SQUARE_YELLOW),
    ((238, 238, 251, 251), pal.SQUARE_RED),
    ((264, 239, 276, 251), pal.SQUARE_GREEN),
    ((294, 240, 306, 252), pal.SQUARE_CYAN),
]
# Source rectangles the game copies (right and bottom exclusive).
GAME_RECTS = {
    "marker": ((300, 96, 332, 127), MARKER),
    "free gauge": ((300, 143, 332, 159), GAUGE_FULL),
    "taken gauge": ((300, 127, 332, 143), GAUGE_EMPTY),
    "glow": ((0, 222, 49, 259), GLOW),
}


class Sheet:
    def __init__(self):
        self.px = [[pal.BLUE_KEY] * WIDTH for _ in range(HEIGHT)]

    def set(self, x, y, index):
        self.px[y][x] = index


def segments_of(polylines):
    segs = []
    for line in polylines:
        for a, b in zip(line, line[1:]):
            segs.append((a[0], a[1], b[0], b[1]))
    return segs


def distance(segs, x, y):
    best = 1e9
    for ax, ay, bx, by in segs:
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        ex, ey = ax + t * dx - x, ay + t * dy - y
        d = ex * ex + ey * ey
        if d < best:
            best = d
    return math.sqrt(best)


def draw_glyph(sheet, char, cell_x, cell_y):
    scaled = [[(x * SCALE_X, y * SCALE_Y) for x, y in line] for line in STROKES[char]]
    segs = segments_of(scaled)
    xs = [v for s in segs for v in (s[0], s[2])]
    # Centre the design horizontally; all glyphs share one cap and base line.
    ox = cell_x + CELL_W / 2 - (min(xs) + max(xs)) / 2
    oy = cell_y + (CELL_H - DESIGN_HEIGHT * SCALE_Y) / 2
    for py in range(cell_y, cell_y + CELL_H):
        for px in range(cell_x, cell_x + CELL_W):
            x, y = px + 0.5 - ox, py + 0.5 - oy
            d = distance(segs, x, y)
            if d > PEN + OUTLINE:
                continue
            if d > PEN:
                sheet.set(px, py, pal.GLYPH_OUTLINE)
            elif distance(segs, x - EDGE_SHIFT, y - EDGE_SHIFT) > PEN:
                sheet.set(px, py, pal.GLYPH_LIGHT)   # lit upper-left edge
            elif distance(segs, x + EDGE_SHIFT, y + EDGE_SHIFT) > PEN:
                sheet.set(px, py, pal.GLYPH_SHADE)   # shaded lower-right edge
            else:
                sheet.set(px, py, pal.GLYPH_FILL)


def draw_letters(sheet):
    for col, chars in enumerate(GRID):
        for row, char in enumerate(chars):
            if char is not None:
                draw_glyph(sheet, char, col * CELL_W, row * CELL_H)


def fill_rect(sheet, extent, index):
    left, top, right, bottom = extent
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            sheet.set(x, y, index)


def draw_red_bar(sheet):
    fill_rect(sheet, RED_BAR, pal.BAR_EDGE)
    left, top, right, bottom = RED_BAR
    fill_rect(sheet, (left + 1, top + 1, right - 1, bottom - 1), pal.RED)


def draw_marker(sheet):
    # A regular octagon ring: a dark green edge outside, bright green inside.
    left, top, right, bottom = MARKER
    cx, cy = (left + right + 1) / 2, (top + bottom + 1) / 2
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            dx, dy = abs(x + 0.5 - cx), abs(y + 0.5 - cy)
            r = max(dx, dy, (dx + dy) / math.sqrt(2))
            if 14.5 < r <= 15.5:
                sheet.set(x, y, pal.RING_DARK)
            elif 11.5 < r <= 14.5:
                sheet.set(x, y, pal.RING_BRIGHT)


def capsule_distance(extent, x, y):
    left, top, right, bottom = extent
    radius = (bottom - top + 1) / 2
    cy = top + radius
    x0, x1 = left + radius, right + 1 - radius
    nx = min(max(x, x0), x1)
    return math.hypot(x - nx, y - cy), radius


def draw_gauge_cell(sheet, extent, filled):
    left, top, right, bottom = extent
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            d, radius = capsule_distance(extent, x + 0.5, y + 0.5)
            if d > radius:
                continue
            if d > radius - 2:
                sheet.set(x, y, pal.GAUGE_RIM)
            elif filled:
                light = y < top + 6 and d < radius - 3
                sheet.set(x, y, pal.GAUGE_LIGHT if light else pal.GAUGE_FILL)


def draw_glow(sheet):
    # A round ball, white in the centre, through lavender to a violet rim.
    left, top, right, bottom = GLOW
    cx, cy = (left + right + 1) / 2, (top + bottom + 1) / 2
    rx, ry = (right - left + 1) / 2, (bottom - top + 1) / 2 + 0.5
    bands = (0.35, 0.55, 0.72, 0.87, 1.0)
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            r = math.hypot((x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry)
            for limit, index in zip(bands, pal.GLOW_SHADES):
                if r <= limit:
                    sheet.set(x, y, index)
                    break


def draw_black_strip(sheet):
    for y in range(HEIGHT):
        for x in range(SHEET_WIDTH, WIDTH):
            sheet.set(x, y, pal.BLACK)


def bbox(sheet, rect):
    left, top, right, bottom = rect
    pts = [(x, y) for y in range(top, bottom) for x in range(left, right)
           if sheet.px[y][x] != pal.BLUE_KEY]
    if not pts:
        return None
    return (min(p[0] for p in pts), min(p[1] for p in pts),
            max(p[0] for p in pts), max(p[1] for p in pts))


def check(sheet):
    """Every picture fills its extent exactly and nothing strays outside."""
    allowed = []
    for col, chars in enumerate(GRID):
        for row, char in enumerate(chars):
            cell = (col * CELL_W, row * CELL_H, col * CELL_W + CELL_W, row * CELL_H + CELL_H)
            box = bbox(sheet, cell)
            if char is None:
                assert box is None, "the empty cell must stay empty"
                continue
            assert box is not None, char
            # Background all around: a margin inside the cell on every side.
            assert box[0] > cell[0] and box[1] > cell[1], (char, box)
            assert box[2] < cell[2] - 1 and box[3] < cell[3] - 1, (char, box)
            allowed.append(cell)
    extents = [RED_BAR, MARKER, GAUGE_EMPTY, GAUGE_FULL, GLOW] + [s[0] for s in SQUARES]
    for ext in extents:
        rect = (ext[0], ext[1], ext[2] + 1, ext[3] + 1)
        assert bbox(sheet, rect) == ext, (ext, bbox(sheet, rect))
        allowed.append(rect)
    for name, (rect, ext) in GAME_RECTS.items():
        assert rect[0] <= ext[0] and rect[1] <= ext[1], name
        assert ext[2] < rect[2] and ext[3] < rect[3], name
        assert bbox(sheet, rect) == ext, name
    allowed.append((SHEET_WIDTH, 0, WIDTH, HEIGHT))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if sheet.px[y][x] != pal.BLUE_KEY:
                assert any(r[0] <= x < r[2] and r[1] <= y < r[3] for r in allowed), (x, y)


def build():
    sheet = Sheet()
    draw_letters(sheet)
    draw_red_bar(sheet)
    draw_marker(sheet)
    draw_gauge_cell(sheet, GAUGE_EMPTY, filled=False)
    draw_gauge_cell(sheet, GAUGE_FULL, filled=True)
    draw_glow(sheet)
    for extent, index in SQUARES:
        fill_rect(sheet, extent, index)
    draw_black_strip(sheet)
    check(sheet)
    return sheet


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets", "abc.bmp")
    sheet = build()
    bmp8.write(out, WIDTH, HEIGHT, pal.PALETTE, [bytes(row) for row in sheet.px])


if __name__ == "__main__":
    main()
