#!/usr/bin/env python3
"""Synthesises the seven sound effects assets/*.wav (mono PCM, fixed sizes)."""

import math
import os
import random
import struct
import sys

TAU = 2 * math.pi


class Osc:
    """A phase accumulator, so that sweeping pitches stay continuous."""

    def __init__(self, rate):
        self.rate = rate
        self.phase = 0.0

    def step(self, freq):
        value = self.phase
        self.phase = (self.phase + TAU * freq / self.rate) % TAU
        return value


def harmonics(phase, freq, rate, amps):
    """Sum of harmonics k*phase with the given amplitudes, below Nyquist."""
    total = 0.0
    for k, a in enumerate(amps, start=1):
        if k * freq < rate / 2 * 0.9:
            total += a * math.sin(k * phase)
    return total


def finish(samples, rate, peak=0.85, fade_in_ms=2.0, fade_out_ms=6.0):
    """Normalises to peak and fades both ends so nothing clicks."""
    top = max(abs(s) for s in samples) or 1.0
    out = [s * peak / top for s in samples]
    n_in = max(1, int(rate * fade_in_ms / 1000))
    n_out = max(1, int(rate * fade_out_ms / 1000))
    for i in range(min(n_in, len(out))):
        out[i] *= i / n_in
    for i in range(min(n_out, len(out))):
        out[-1 - i] *= i / n_out
    return out


def kyan(rate, n):
    # A harsh yelp: two detuned buzzy oscillators whose pitch jumps up, then
    # sags well below where it started, with a rough 40 Hz flutter.
    a, b = Osc(rate), Osc(rate)
    saw = [1 / k for k in range(1, 13)]
    out = []
    for i in range(n):
        t = i / rate
        if t < 0.03:
            f = 700 + 500 * t / 0.03
        else:
            f = 1200 * (380 / 1200) ** ((t - 0.03) / (n / rate - 0.03))
        tone = harmonics(a.step(f), f, rate, saw) + 0.8 * harmonics(b.step(f * 1.059), f, rate, saw)
        flutter = 0.7 + 0.3 * math.sin(TAU * 40 * t)
        env = min(1.0, t / 0.006) * (1 - t / (n / rate)) ** 0.6
        out.append(tone * flutter * env)
    return finish(out, rate, 0.8)


def shot(rate, n):
    # A quick rising zap, bright at its start and thinning as it climbs.
    osc = Osc(rate)
    length = n / rate
    out = []
    for i in range(n):
        t = i / rate
        f = 320 * (2600 / 320) ** (t / length)
        env = min(1.0, t / 0.003) * math.exp(-t / 0.07)
        out.append(env * harmonics(osc.step(f), f, rate, [1, 0.45, 0.25, 0.12]))
    return finish(out, rate, 0.85)


def hit(rate, n):
    # A pop: a dropping thump and a filtered noise burst, then a bright bell
    # that rings out over the rest of the half second.
    rng = random.Random(4711)
    thump, bell = Osc(rate), [Osc(rate) for _ in range(3)]
    partials = [(880, 1.0, 0.16), (1760 * 1.007, 0.5, 0.10), (2640 * 1.013, 0.3, 0.06)]
    low = 0.0
    out = []
    for i in range(n):
        t = i / rate
        low += 0.45 * (rng.uniform(-1, 1) - low)
        noise = low * math.exp(-t / 0.045) * 1.6
        f = 180 * math.exp(-t / 0.05) + 50
        boom = math.sin(thump.step(f)) * math.exp(-t / 0.06)
        ring = sum(a * math.sin(o.step(fr)) * math.exp(-t / tau)
                   for o, (fr, a, tau) in zip(bell, partials))
        out.append(noise + 0.8 * boom + 0.55 * ring * min(1.0, t / 0.004))
    return finish(out, rate, 0.9)


def fueen(rate, n):
    # A long sad wail that slides down two octaves, its vibrato widening.
    osc = Osc(rate)
    length = n / rate
    out = []
    for i in range(n):
        t = i / rate
        u = t / length
        vibrato = 1 + (0.01 + 0.035 * u) * math.sin(TAU * 5.5 * t)
        f = 1150 * (270 / 1150) ** (u ** 0.85) * vibrato
        env = min(1.0, t / 0.03) * (1 - 0.25 * u)
        if t > length - 0.6:
            env *= (length - t) / 0.6
        out.append(env * harmonics(osc.step(f), f, rate, [1, 0.3, 0.12, 0.05]))
    return finish(out, rate, 0.8)


def start(rate, n):
    # A rising three-note chirp (C6, E6, G6), square-ish and bright.
    notes = [(0.0, 1046.5), (0.085, 1318.5), (0.17, 1568.0)]
    length = n / rate
    osc = Osc(rate)
    square = [1, 0, 1 / 3, 0, 1 / 5, 0, 1 / 7]
    out = []
    for i in range(n):
        t = i / rate
        k = max(j for j, note in enumerate(notes) if note[0] <= t)
        begin, f = notes[k]
        since = t - begin
        f *= 0.94 + 0.06 * min(1.0, since / 0.012)   # a little upward scoop
        env = min(1.0, since / 0.005)
        if k + 1 < len(notes):
            # Each short note dies away just before the next one starts.
            env = min(env, (notes[k + 1][0] - t) / 0.010) * (1 - 0.4 * since / 0.085)
        else:
            env *= (1 - since / (length - begin)) ** 0.7
        out.append(env * harmonics(osc.step(f), f, rate, square))
    return finish(out, rate, 0.8)


def end(rate, n):
    # A closing chime: G5, E5, C5 falling, the last one with a low gong
    # under it, all ringing out to silence.
    strikes = [(0.0, 784.0, 0.28), (0.22, 659.3, 0.28), (0.44, 523.3, 0.45)]
    parts = [(1.0, 1.0), (2.0, 0.35), (3.01, 0.18), (4.2, 0.08)]
    length = n / rate
    out = []
    for i in range(n):
        t = i / rate
        s = 0.0
        for begin, f, tau in strikes:
            if t >= begin:
                d = t - begin
                attack = min(1.0, d / 0.003)
                for ratio, a in parts:
                    s += attack * a * math.sin(TAU * f * ratio * d) * math.exp(-d / (tau / ratio ** 0.5))
        if t >= 0.44:
            d = t - 0.44
            s += 0.7 * min(1.0, d / 0.01) * math.exp(-d / 0.5) * (
                math.sin(TAU * 261.6 * d) + 0.4 * math.sin(TAU * 261.6 * 2.41 * d))
        if t > length - 0.25:
            s *= (length - t) / 0.25
        out.append(s)
    return finish(out, rate, 0.85)


def type_click(rate, n):
    # A crisp tick then a short high blip: the letter is locked.
    out = []
    for i in range(n):
        t = i / rate
        click = math.sin(TAU * 3400 * t) * math.exp(-t / 0.004)
        blip = 0.0
        if t >= 0.012:
            d = t - 0.012
            blip = math.sin(TAU * 2093 * d) * min(1.0, d / 0.002) * math.exp(-d / 0.03)
        out.append(0.7 * click + blip)
    return finish(out, rate, 0.8, fade_in_ms=1.0)


# name, generator, sample rate, bits, data bytes
SOUNDS = [
    ("kyan.wav", kyan, 22050, 8, 5385),
    ("shot.wav", shot, 22050, 16, 5760),
    ("hit.wav", hit, 11025, 8, 6207),
    ("fueen.wav", fueen, 22050, 16, 96234),
    ("start.wav", start, 22050, 16, 16444),
    ("end.wav", end, 22050, 8, 33856),
    ("type.wav", type_click, 22050, 8, 3697),
]


def encode(samples, rate, bits):
    if bits == 8:
        # 8-bit WAVE data is unsigned, 128 is silence.
        data = bytes(max(0, min(255, 128 + int(round(s * 127)))) for s in samples)
    else:
        data = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767)))))
                        for s in samples)
    block = bits // 8
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * block, block, bits)
    pad = b"\0" if len(data) % 2 else b""
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + data + pad)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets")
    for name, make, rate, bits, size in SOUNDS:
        samples = make(rate, size * 8 // bits)
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(encode(samples, rate, bits))


if __name__ == "__main__":
    main()
