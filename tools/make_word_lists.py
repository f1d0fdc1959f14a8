#!/usr/bin/env python3
"""Writes the practice word lists assets/words/NAME.ini (CR LF lines, upper case)."""

# The lists: the three letter rows of the keyboard, the digits with "-", and
# common English words. Real words come from SCOWL's two most common levels
# (assets/scowl/english-words.10 and .20, from Debian's "scowl" package; licence
# in assets/SCOWL-LICENSE). Where a row has few or no words, runs along the row
# and fixed-seed drills fill in. Every list loads whole under the game's
# word-file rules, which main() checks.

import os
import random
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SCOWL = os.path.join(HERE, "..", "assets", "scowl")
SEED = 20240607

MAX_WORDS = 100        # the game reads at most 100 words...
MAX_LETTERS = 1000     # ...and starts no word once 1000 letters are in use
MIN_LENGTH = 3         # shorter items are dropped
ALLOWED = re.compile(r"[A-Z0-9-]+")

HOME, TOP, BOTTOM = "asdfghjkl", "qwertyuiop", "zxcvbnm"
DIGITS = "1234567890"

# Words of the common levels left out of the lists: rude, or not words a
# player would recognise as such.
EXCLUDED = set("""
ass cums cumming sex hell kill dumb datum char doe mod putt leach damn
""".split())

# The English list: how many words of each length, 3 to 8 letters.
ENGLISH_LENGTHS = {3: 14, 4: 18, 5: 19, 6: 19, 7: 16, 8: 14}


def scowl_words(level):
    with open(os.path.join(SCOWL, "english-words.%d" % level), encoding="utf-8") as f:
        return [line.strip() for line in f]


def common_words():
    """Lower-case a-z words of 3 to 8 letters of levels 10 and 20, in file order."""
    seen, out = set(), []
    for level in (10, 20):
        for w in scowl_words(level):
            if re.fullmatch(r"[a-z]{3,8}", w) and w not in EXCLUDED and w not in seen:
                seen.add(w)
                out.append(w)
    return out


def is_inflection(word, known):
    """True for a plural, past, -ing, -ly, -er or -est form of another known word."""
    endings = (("ies", ("y",)), ("ied", ("y",)), ("ily", ("y",)), ("ier", ("y",)),
               ("iest", ("y",)), ("es", ("",)), ("s", ("",)), ("ed", ("", "e")),
               ("ing", ("", "e")), ("ly", ("",)), ("er", ("", "e")), ("est", ("", "e")))
    for ending, restore in endings:
        if not word.endswith(ending):
            continue
        stem = word[:-len(ending)]
        if any(stem + r in known and stem + r != word for r in restore):
            return True
        # A doubled last consonant: "stopped", "bigger".
        if len(stem) > 2 and stem[-1] == stem[-2] and stem[:-1] in known:
            return True
    return False


def row_words(row, words):
    return [w for w in words if set(w) <= set(row)]


def runs(row, lengths):
    """Runs of neighbouring keys along the row, left to right and back."""
    out = []
    for n in lengths:
        forward = [row[i:i + n] for i in range(len(row) - n + 1)]
        out += forward + [r[::-1] for r in forward]
    return out


def random_drills(rng, letters, count, taken):
    out = []
    while len(out) < count:
        w = "".join(rng.choice(letters) for _ in range(rng.randint(3, 5)))
        if w not in taken:
            taken.add(w)
            out.append(w)
    return out


def home_list(words):
    # The few home-row words, then runs; same-finger pairs of both hands.
    pairs = ["fjfj", "jfjf", "dkdk", "kdkd", "slsl", "lsls", "ghgh", "hghg"]
    return row_words(HOME, words) + runs(HOME, (3, 4, 5)) + pairs


def top_list(words):
    return row_words(TOP, words)[:MAX_WORDS]


def bottom_list(rng):
    # No vowels on this row, so no words: runs, then drills to fill.
    items = runs(BOTTOM, (3, 4, 5, 7))
    return items + random_drills(rng, BOTTOM, 60 - len(items), set(items))


def digits_list(rng):
    items = runs(DIGITS, (3, 4, 5))
    patterns = ["dd-dd", "d-d-d", "ddd-dddd", "dddd", "dd-ddd", "ddd-dd", "d-dd-d"]
    taken = set(items)
    while len(items) < 80:
        pattern = patterns[len(items) % len(patterns)]
        w = "".join(rng.choice(DIGITS) if c == "d" else c for c in pattern)
        if w not in taken:
            taken.add(w)
            items.append(w)
    return items


def english_list(rng, words):
    known = set(words)
    level10 = set(scowl_words(10))
    base = [w for w in words if w in level10 and not is_inflection(w, known)]
    out = []
    for length, count in sorted(ENGLISH_LENGTHS.items()):
        out += sorted(rng.sample([w for w in base if len(w) == length], count))
    return out


def check(name, items):
    """The list loads whole: every item kept, the word and letter limits kept."""
    upper = [w.upper() for w in items]
    assert len(set(upper)) == len(upper), (name, "duplicates")
    assert len(upper) <= MAX_WORDS, (name, len(upper))
    assert sum(len(w) for w in upper) <= MAX_LETTERS, name
    for w in upper:
        assert len(w) >= MIN_LENGTH and ALLOWED.fullmatch(w), (name, w)


def build():
    rng = random.Random(SEED)
    words = common_words()
    lists = {
        "home": home_list(words),
        "top": top_list(words),
        "bottom": bottom_list(rng),
        "digits": digits_list(rng),
        "english": english_list(rng, words),
    }
    for name, items in lists.items():
        check(name, items)
    return lists


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "assets", "words")
    for name, items in build().items():
        with open(os.path.join(out_dir, name + ".ini"), "wb") as f:
            f.write("".join(w.upper() + "\r\n" for w in items).encode("ascii"))


if __name__ == "__main__":
    main()
