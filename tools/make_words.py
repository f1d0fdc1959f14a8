#!/usr/bin/env python3
"""Writes the default word list assets/rapdata.ini (100 words, CR LF lines)."""

import os
import sys

# Everyday words of 3 to 10 letters, mixed lengths, for typing practice.
WORDS = """
cat dog sun sky cup hat pen box egg fox
tree cake fish book moon star rain ship milk door game bird
house bread water music happy cloud ocean river
lemon apple table chair green light paper smile
garden window yellow pencil orange summer winter friend
school market letter silver bridge forest island planet
rocket candle basket button castle flower guitar rabbit
morning kitchen village banana chicken blanket weather holiday
picture thunder rainbow pumpkin harvest bicycle journey evening
mountain elephant umbrella sandwich computer keyboard notebook airplane
hospital birthday treasure
chocolate adventure butterfly telephone furniture vegetable breakfast
basketball strawberry playground friendship
""".split()


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "assets", "rapdata.ini")
    assert len(WORDS) == 100 and len(set(WORDS)) == 100, len(WORDS)
    assert all(3 <= len(w) <= 10 and w.isascii() and w.isalpha() for w in WORDS)
    with open(out, "wb") as f:
        f.write("".join(w.upper() + "\r\n" for w in WORDS).encode("ascii"))


if __name__ == "__main__":
    main()
