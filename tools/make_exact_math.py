#!/usr/bin/env python3
"""Correctly rounded atan, sin and cos of doubles, worked out exactly, for the game's own versions.

Standard library only: pi comes from Machin's formula in integers, the functions from their
series in 140-digit decimals, and every result is rounded through exact fractions, with a check
that the decimal value is far enough from the midpoint between two doubles for the rounding to be
certain.

    python3 tools/make_exact_math.py tables [OUT]  # src/state/exact_math_tables.inc
    python3 tools/make_exact_math.py cases [OUT]   # tests/state/exact_math_cases.txt
    python3 tools/make_exact_math.py edges [OUT]   # tests/state/exact_math_edges.txt

Each command gives the same bytes on every run (random inputs come from a fixed seed).
"""

import math
import random
import sys
from decimal import Decimal, localcontext
from fractions import Fraction
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DIGITS = 140  # working precision of the series
PI_BITS = 2400  # pi to 2^-2400: enough to reduce the largest double by pi/2
GAME_PI = 3.14159265358979  # the game's own pi, added to half of the steering angles


def machin_pi(bits):
    """An integer P with |pi - P / 2^bits| < 2^-bits."""
    guard = 32
    one = 1 << (bits + guard)

    def atan_inv(n):
        total, term, k, sign = 0, one // n, 1, 1
        while term:
            total += sign * (term // k)
            term //= n * n
            k += 2
            sign = -sign
        return total

    return (16 * atan_inv(5) - 4 * atan_inv(239)) >> guard


PI = Fraction(machin_pi(PI_BITS), 1 << PI_BITS)
HALF_PI = PI / 2


def dec(q):
    """The fraction q as a decimal of the working precision."""
    return Decimal(q.numerator) / Decimal(q.denominator)


def nearest(value):
    """The double nearest to an exact value known to within 10^-120 of itself."""
    q = Fraction(value) if not isinstance(value, Fraction) else value
    d = float(q)  # int / int in Python rounds correctly, subnormals included
    if q == 0:
        return d
    for side in (-math.inf, math.inf):
        mid = (Fraction(d) + Fraction(math.nextafter(d, side))) / 2
        if abs(q - mid) <= abs(q) / 10**120:
            raise ArithmeticError(f"too close to a midpoint to round: {d.hex()}")
    return d


def sin_cos_small(r):
    """sin r and cos r for |r| <= pi/4 + a little, r a decimal."""
    with localcontext() as ctx:
        ctx.prec = DIGITS
        r2 = r * r
        s, c = r, Decimal(1)
        term_s, term_c, k = r, Decimal(1), 1
        while True:
            term_s = -term_s * r2 / ((2 * k) * (2 * k + 1))
            term_c = -term_c * r2 / ((2 * k - 1) * (2 * k))
            if term_c == 0 or abs(term_c) < Decimal(10) ** -(DIGITS + 10):
                break
            s += term_s
            c += term_c
            k += 1
        return +s, +c


def reduce_half_pi(x):
    """(q, r) with x = q * pi/2 + r, |r| <= pi/4 (a little over by pi's last bits), r a decimal."""
    fx = Fraction(x)
    q = round(fx / HALF_PI)
    with localcontext() as ctx:
        ctx.prec = DIGITS
        return q, dec(fx - q * HALF_PI)


# copy_negate: a plain minus would round to the default context's 28 digits.
def sin_value(x):
    q, r = reduce_half_pi(x)
    s, c = sin_cos_small(r)
    return [s, c, s.copy_negate(), c.copy_negate()][q % 4]


def cos_value(x):
    q, r = reduce_half_pi(x)
    s, c = sin_cos_small(r)
    return [c, s.copy_negate(), c.copy_negate(), s][q % 4]


def atan_decimal(x):
    """atan x for a decimal x, to the working precision."""
    with localcontext() as ctx:
        ctx.prec = DIGITS + 10
        if x < 0:
            return -atan_decimal(-x)
        if x > 1:
            return dec(HALF_PI) - atan_decimal(1 / x)
        # Three halvings, atan x = 2 atan(x / (1 + sqrt(1 + x^2))), bring x under tan(pi/32).
        y = x
        for _ in range(3):
            y = y / (1 + (1 + y * y).sqrt())
        y2 = y * y
        total, power, k = y, y, 1
        while True:
            power = -power * y2
            term = power / (2 * k + 1)
            if term == 0 or abs(term) < abs(total) * Decimal(10) ** -(DIGITS + 10):
                break
            total += term
            k += 1
        return 8 * total


def atan_value(x):
    if math.isinf(x):
        return HALF_PI if x > 0 else -HALF_PI
    with localcontext() as ctx:
        ctx.prec = DIGITS + 10
        return atan_decimal(Decimal(x))


def small_rest(name, x):
    """atan x - x, sin x - x or cos x - 1 for |x| < 2^-20, to the working precision of itself
    (a relative precision of the whole would lose it below tiny x)."""
    with localcontext() as ctx:
        ctx.prec = DIGITS
        d = Decimal(x)
        d2 = d * d
        power = Decimal(1) if name == "cos" else d
        total, k = Decimal(0), 1
        while True:
            power = -power * d2
            n = 2 * k + (0 if name == "cos" else 1)
            term = power / (n if name == "atan" else math.factorial(n))
            if abs(term) <= abs(total) * Decimal(10) ** -(DIGITS + 10):  # at x = 0 too
                return total
            total += term
            k += 1


def exact(name, x):
    """(the correctly rounded result, the double nearest to the exact value less that result)."""
    if name != "cos" and x == 0:
        return x, 0.0  # keeps the sign of zero
    if abs(x) < 2**-20:
        value = Fraction(1 if name == "cos" else x) + Fraction(small_rest(name, x))
    else:
        value = Fraction(VALUES[name](x))
    hi = nearest(value)
    return hi, float(value - Fraction(hi))


VALUES = {"atan": atan_value, "sin": sin_value, "cos": cos_value}


# ---- the tables of exact_math.cpp


def double_double(q):
    hi = nearest(q)
    lo = nearest(q - Fraction(hi))
    return hi, lo


def truncated(q, bits):
    """q cut to its leading `bits` significant bits."""
    e = math.floor(math.log2(q))
    while Fraction(2) ** e > q:
        e -= 1
    while Fraction(2) ** (e + 1) <= q:
        e += 1
    scale = Fraction(2) ** (bits - 1 - e)
    return Fraction(math.floor(q * scale)) / scale


def write_tables(out):
    lines = [
        "// Constants of exact_math.cpp, written by tools/make_exact_math.py: do not edit.",
        "",
    ]

    def dd_row(q):
        hi, lo = double_double(q)
        return f"    {{{hi.hex()}, {lo.hex()}}},"

    lines.append("// pi/2 as a double-double.")
    hi, lo = double_double(HALF_PI)
    lines.append(f"constexpr DoubleDouble kHalfPi{{{hi.hex()}, {lo.hex()}}};")
    lines.append("")

    # Cody and Waite's pieces of pi/2: the first three hold 50 bits each, so that k times
    # them is exact for |k| < 8.
    rest = HALF_PI
    pieces = []
    for _ in range(3):
        piece = truncated(rest, 50)
        pieces.append(float(piece))
        assert Fraction(float(piece)) == piece
        rest -= piece
    pieces.append(nearest(rest))
    lines.append("// pi/2 in four pieces; the first three have 50 significant bits.")
    lines.append("constexpr double kHalfPiPieces[4] = {")
    lines += [f"    {p.hex()}," for p in pieces]
    lines.append("};")
    lines.append("")

    lines.append("// atan(i/32) for i = 0 to 32.")
    lines.append("constexpr DoubleDouble kAtanOfSteps[33] = {")
    with localcontext() as ctx:
        ctx.prec = DIGITS
        for i in range(33):
            v = atan_decimal(Decimal(i) / 32) if i else Decimal(0)
            lines.append(dd_row(Fraction(v)))
    lines.append("};")
    lines.append("")

    lines.append("// (-1)^k / (2k+1) for k = 1 to 9: atan t = t + t z (c1 + z c2 + ...), z = t^2.")
    lines.append("constexpr DoubleDouble kAtanSeries[9] = {")
    lines += [dd_row(Fraction((-1) ** k, 2 * k + 1)) for k in range(1, 10)]
    lines.append("};")
    lines.append("")

    lines.append("// (-1)^k / (2k+1)! for k = 1 to 14: sin r = r + r z (c1 + z c2 + ...), z = r^2.")
    lines.append("constexpr DoubleDouble kSinSeries[14] = {")
    lines += [dd_row(Fraction((-1) ** k, math.factorial(2 * k + 1))) for k in range(1, 15)]
    lines.append("};")
    lines.append("")

    lines.append("// (-1)^k / (2k)! for k = 1 to 15: cos r = 1 + z (c1 + z c2 + ...), z = r^2.")
    lines.append("constexpr DoubleDouble kCosSeries[15] = {")
    lines += [dd_row(Fraction((-1) ** k, math.factorial(2 * k))) for k in range(1, 16)]
    lines.append("};")
    lines.append("")

    # 2/pi in 32-bit words, most significant first: word j holds the bits of weight
    # 2^-(32j+1) to 2^-(32j+32). 1280 bits reach past the largest double's 2^1023 by 256.
    words = 40
    bits = math.floor(2 / PI * (1 << (32 * words)))
    lines.append("// The bits of 2/pi after the binary point, 32 to a word, most significant first.")
    lines.append(f"constexpr uint32_t kTwoOverPiBits[{words}] = {{")
    row = []
    for j in range(words):
        row.append(f"0x{(bits >> (32 * (words - 1 - j))) & 0xFFFFFFFF:08X}")
        if len(row) == 6 or j == words - 1:
            lines.append("    " + ", ".join(row) + ",")
            row = []
    lines.append("};")
    Path(out).write_text("\n".join(lines) + "\n")


# ---- random inputs with their results


def random_double(rng, lo_exp, hi_exp):
    """A random double of either sign, its exponent uniform in [lo_exp, hi_exp]."""
    m = rng.getrandbits(52) | (1 << 52)
    return rng.choice((-1, 1)) * math.ldexp(m, rng.randint(lo_exp, hi_exp) - 52)


def near(x, rng, spread):
    """x moved a random number of doubles, at most `spread`, either way."""
    steps = rng.randint(-spread, spread)
    direction = math.inf if steps > 0 else -math.inf
    for _ in range(abs(steps)):
        x = math.nextafter(x, direction)
    return x


def game_ratio(rng):
    """dy / dx as the steering sees it: differences of two on-screen positions."""
    def coordinate():
        return rng.uniform(-60, 700)

    dx = coordinate() - coordinate()
    dy = coordinate() - coordinate()
    if rng.random() < 0.2:  # nearly straight above or below
        dx = rng.choice((-1, 1)) * math.ldexp(rng.random(), -rng.randint(1, 40))
    return dy, dx


def steering_angle(rng):
    dy, dx = game_ratio(rng)
    a = exact("atan", dy / dx)[0]
    return a + GAME_PI if dx > 0 else a


def cases(rng):
    out = []
    # atan: the steering's ratios, every scale, the whole range, and around the table's steps.
    for _ in range(700):
        dy, dx = game_ratio(rng)
        out.append(("atan", dy / dx))
    out += [("atan", random_double(rng, -60, 70)) for _ in range(500)]
    out += [("atan", random_double(rng, -1074, 1023)) for _ in range(150)]
    for _ in range(150):
        out.append(("atan", near(rng.randint(1, 64) / 64, rng, 3)))
    # sin and cos: the steering's angles, the range they lie in, near its multiples of pi/2,
    # small angles, and the rest of the doubles.
    for name in ("sin", "cos"):
        out += [(name, steering_angle(rng)) for _ in range(600)]
        out += [(name, rng.uniform(-2, 5)) for _ in range(350)]
        for _ in range(150):
            k = rng.randint(-5, 5)
            out.append((name, near(float(k * HALF_PI), rng, 4)))
        out += [(name, random_double(rng, -40, 2)) for _ in range(150)]
        out += [(name, random_double(rng, 3, 1023)) for _ in range(250)]
    return out


def write_cases(out):
    rng = random.Random(20240611)
    lines = [
        "# atan, sin and cos: an input, its correctly rounded result, and the double nearest to",
        "# the rest of the exact value (the result's error), as hex floats.",
        "# Written by tools/make_exact_math.py cases; do not edit.",
    ]
    for name, x in cases(rng):
        hi, lo = exact(name, x)
        lines.append(f"{name} {x.hex()} {hi.hex()} {lo.hex()}")
    Path(out).write_text("\n".join(lines) + "\n")


# ---- the edge rows of the unit test


def edge_inputs():
    tiny = math.ulp(0.0)
    big = sys.float_info.max
    halves = [float(k * HALF_PI) for k in (1, 2, 3, 4, 5)]
    atan = [
        (0.0, "zero"), (-0.0, "negative zero"), (tiny, "the smallest subnormal"),
        (-2.0**-1030, "a subnormal"), (2.0**-1022, "the smallest normal"),
        (math.nextafter(2.0**-27, 0), "just under 2^-27, where atan x rounds to x"),
        (2.0**-27, "2^-27"), (1e-8, "small"), (2.0**-7, "the last value of step 0"),
        (math.nextafter(1 / 64, 1), "just past the middle between steps 0 and 1"),
        (3 / 64, "the middle between steps 1 and 2"), (0.5, "step 16"),
        (math.nextafter(1.0, 0), "just under 1"), (1.0, "one"), (-1.0, "minus one"),
        (math.nextafter(1.0, 2), "just over 1, where 1/x is taken"), (2.0, "two"),
        (64.0, "64"), (1e15, "large"), (2.0**60, "2^60"),
        (math.nextafter(2.0**60, 0), "just under 2^60"), (big, "the largest double"),
        (-big, "minus the largest double"), (math.inf, "infinity"),
        (-math.inf, "minus infinity"),
    ]
    trig = [
        (0.0, "zero"), (-0.0, "negative zero"), (tiny, "the smallest subnormal"),
        (2.0**-1022, "the smallest normal"), (2.0**-27, "2^-27, where cos x rounds to 1 below"),
        (1.5e-8, "small"), (math.nextafter(2.0**-26, 0), "just under 2^-26, where sin x rounds to x"),
        (2.0**-26, "2^-26"),
        (-0.5, "minus a half"), (1.0, "one"),
        (float(HALF_PI / 2), "pi/4, where the quadrant turns"),
        (math.nextafter(float(HALF_PI / 2), 1), "just over pi/4"),
    ]
    for x in halves:
        trig += [(math.nextafter(x, 0), "just under a multiple of pi/2"),
                 (x, "the double nearest a multiple of pi/2"),
                 (math.nextafter(x, 9), "just over a multiple of pi/2")]
    trig += [
        (GAME_PI, "the game's pi"), (-float(HALF_PI), "minus pi/2"),
        (math.nextafter(8.0, 0), "the last value of the short reduction"), (8.0, "8"),
        (1e22, "10^22"), (6381956970095103 * 2.0**797, "the double closest to a multiple of pi/2"),
        (big, "the largest double"), (-big, "minus the largest double"),
    ]
    # Inputs whose result lies within 2^-52 to 2^-54 ulp of the middle between two doubles
    # (found where x^3/3, x^3/6 or x^2/2 come near half an ulp): they need about 2^-105
    # relative accuracy to round right.
    hard = "within 2^-53 ulp of a midpoint"
    extra = {
        "atan": [(float.fromhex("0x1.250bfe1b082f5p-26"), hard),
                 (float.fromhex("0x1.f51a62037e957p-26"), hard)],
        "sin": [(float.fromhex("0x1.7137449123ef6p-26"), hard),
                (float.fromhex("0x1.7137449123ef7p-26"), hard)],
        "cos": [(float.fromhex("0x1.94c583ada5b53p-26"), hard),
                (float.fromhex("0x1.3988e1409212fp-26"), hard)],
    }
    return {"atan": atan + extra["atan"], "sin": trig + extra["sin"], "cos": trig + extra["cos"]}


def literal(x):
    return {math.inf: "inf", -math.inf: "-inf"}.get(x, x.hex())


def write_edges(path):
    lines = ["# Edge inputs of atan, sin and cos, and their correctly rounded results, as hex floats.",
             "# Written by tools/make_exact_math.py edges; do not edit."]
    for name, inputs in edge_inputs().items():
        for x, why in inputs:
            lines.append(f"{name} {literal(x)} {literal(exact(name, x)[0])} {why}")
    Path(path).write_text("\n".join(lines) + "\n")


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "tables":
        write_tables(sys.argv[2] if len(sys.argv) > 2 else ROOT / "src/state/exact_math_tables.inc")
    elif command == "cases":
        write_cases(sys.argv[2] if len(sys.argv) > 2 else ROOT / "tests/state/exact_math_cases.txt")
    elif command == "edges":
        write_edges(sys.argv[2] if len(sys.argv) > 2 else ROOT / "tests/state/exact_math_edges.txt")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
