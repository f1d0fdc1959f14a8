"""The one 256-colour palette shared by the glyph sheet and the background."""

# Sharing one palette means the game's nearest-colour mapping of the sheet
# onto the screen palette is the identity: sprites and texts show true.

import math

BLUE_KEY = 128  # the sheet's background and only transparent index

# Colours the game draws texts and boxes with; they must be exact entries.
BLACK = 0
DARK_PURPLE = 1
PALE_PINK = 2
WHITE = 3
RED = 4

# Glyph sheet colours.
GLYPH_FILL = 5
GLYPH_LIGHT = 6
GLYPH_SHADE = 7
GLYPH_OUTLINE = DARK_PURPLE
BAR_EDGE = 8
RING_BRIGHT = 9
RING_DARK = 10
GAUGE_RIM = 11
GAUGE_FILL = 12
GAUGE_LIGHT = 13
GLOW_SHADES = (WHITE, 14, 15, 16, 17)  # centre to rim
SQUARE_YELLOW = 18
SQUARE_GREEN = 19
SQUARE_CYAN = 20
SQUARE_RED = RED

# Background picture colours.
SKY_FIRST, SKY_COUNT = 22, 106      # indices 22..127
HILL_FAR_FIRST, HILL_COUNT = 129, 32  # 129..160
HILL_NEAR_FIRST = 161                 # 161..192
STAR_FIRST, STAR_COUNT = 193, 8       # 193..200

SKY_TOP = (12, 14, 42)
SKY_BOTTOM = (66, 40, 92)
HILL_FAR_TOP, HILL_FAR_BOTTOM = (44, 30, 76), (30, 22, 58)
HILL_NEAR_TOP, HILL_NEAR_BOTTOM = (30, 22, 56), (14, 12, 32)
STAR_DIM, STAR_BRIGHT = (70, 72, 110), (170, 170, 205)


def _lerp(a, b, t):
    return tuple(int(math.floor(x + (y - x) * t + 0.5)) for x, y in zip(a, b))


def _ramp(first, count, top, bottom, table):
    for i in range(count):
        table[first + i] = _lerp(top, bottom, i / (count - 1))


def build():
    """Returns the 256 (r, g, b) entries."""
    table = [None] * 256
    table[BLACK] = (0, 0, 0)
    table[DARK_PURPLE] = (102, 0, 51)
    table[PALE_PINK] = (255, 230, 230)
    table[WHITE] = (255, 255, 255)
    table[RED] = (255, 0, 0)
    table[GLYPH_FILL] = (255, 200, 220)
    table[GLYPH_LIGHT] = (255, 236, 244)
    table[GLYPH_SHADE] = (232, 158, 194)
    table[BAR_EDGE] = (160, 0, 20)
    table[RING_BRIGHT] = (40, 255, 90)
    table[RING_DARK] = (0, 120, 45)
    table[GAUGE_RIM] = (150, 110, 225)
    table[GAUGE_FILL] = (205, 185, 255)
    table[GAUGE_LIGHT] = (234, 224, 255)
    table[14] = (244, 236, 255)
    table[15] = (222, 200, 255)
    table[16] = (190, 150, 248)
    table[17] = (140, 80, 215)
    table[SQUARE_YELLOW] = (255, 255, 0)
    table[SQUARE_GREEN] = (0, 255, 0)
    table[SQUARE_CYAN] = (170, 255, 255)
    table[21] = (128, 128, 128)
    table[BLUE_KEY] = (0, 0, 255)
    _ramp(SKY_FIRST, SKY_COUNT, SKY_TOP, SKY_BOTTOM, table)
    _ramp(HILL_FAR_FIRST, HILL_COUNT, HILL_FAR_TOP, HILL_FAR_BOTTOM, table)
    _ramp(HILL_NEAR_FIRST, HILL_COUNT, HILL_NEAR_TOP, HILL_NEAR_BOTTOM, table)
    _ramp(STAR_FIRST, STAR_COUNT, STAR_DIM, STAR_BRIGHT, table)
    # The spare entries form a grey ramp: harmless, and far from the key.
    spare = [i for i in range(256) if table[i] is None]
    for n, i in enumerate(spare):
        v = int(round(255 * n / (len(spare) - 1)))
        table[i] = (v, v, v)
    for i, rgb in enumerate(table):
        if i != BLUE_KEY:
            # Keep every other entry well away from the colour key.
            assert sum(abs(a - b) for a, b in zip(rgb, (0, 0, 255))) >= 24, (i, rgb)
    return table


PALETTE = build()
