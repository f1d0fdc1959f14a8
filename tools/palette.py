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

# Background picture colours: a pale dawn sky with soft clouds over low hills,
# light everywhere so that dark purple text reads on it.
SKY_FIRST, SKY_COUNT = 22, 64         # 22..85, top to horizon
# Clouds over the sky: CLOUD_ROWS sky shades (sampled between CLOUD_SKY_TOP
# and CLOUD_SKY_BOTTOM on the sky ramp) times CLOUD_LEVELS cover steps.
CLOUD_FIRST, CLOUD_ROWS, CLOUD_LEVELS = 86, 6, 7  # 86..127
CLOUD_SKY_TOP, CLOUD_SKY_BOTTOM = 0.0, 0.75
HILL_FAR_FIRST, HILL_COUNT = 129, 24  # 129..152
HILL_NEAR_FIRST = 153                 # 153..176

# Sky stops (position on the ramp, colour): powder blue to a warm pale peach.
SKY_STOPS = ((0.0, (164, 188, 234)), (0.5, (198, 206, 240)),
             (0.8, (228, 214, 234)), (1.0, (246, 222, 214)))
CLOUD = (238, 238, 248)  # at full cover; thinner cloud shows the sky
HILL_FAR_TOP, HILL_FAR_BOTTOM = (200, 188, 220), (188, 178, 210)
HILL_NEAR_TOP, HILL_NEAR_BOTTOM = (178, 196, 170), (166, 186, 160)


def _round(rgb):
    return tuple(int(math.floor(v + 0.5)) for v in rgb)


def _lerp(a, b, t):
    return _round(x + (y - x) * t for x, y in zip(a, b))


def _ramp(first, count, top, bottom, table):
    for i in range(count):
        table[first + i] = _lerp(top, bottom, i / (count - 1))


def sky(t):
    """Colour of the sky ramp at t in [0, 1] (unrounded)."""
    for (t0, c0), (t1, c1) in zip(SKY_STOPS, SKY_STOPS[1:]):
        if t <= t1:
            u = (t - t0) / (t1 - t0)
            return tuple(a + (b - a) * u for a, b in zip(c0, c1))
    return SKY_STOPS[-1][1]


def cloud_row_t(row):
    """Sky ramp position that cloud row `row` is mixed from."""
    return CLOUD_SKY_TOP + (CLOUD_SKY_BOTTOM - CLOUD_SKY_TOP) * row / (CLOUD_ROWS - 1)


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
    for i in range(SKY_COUNT):
        table[SKY_FIRST + i] = _round(sky(i / (SKY_COUNT - 1)))
    for row in range(CLOUD_ROWS):
        under = sky(cloud_row_t(row))
        for level in range(CLOUD_LEVELS):
            table[CLOUD_FIRST + row * CLOUD_LEVELS + level] = _lerp(
                under, CLOUD, (level + 1) / CLOUD_LEVELS)
    _ramp(HILL_FAR_FIRST, HILL_COUNT, HILL_FAR_TOP, HILL_FAR_BOTTOM, table)
    _ramp(HILL_NEAR_FIRST, HILL_COUNT, HILL_NEAR_TOP, HILL_NEAR_BOTTOM, table)
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
