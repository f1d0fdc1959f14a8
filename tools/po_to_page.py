#!/usr/bin/env python3
"""Compiles the web page's texts around the game (the msgctxt "page" entries of the
message catalogues, assets/po/CODE.po) into a script the page loads before its own.

    tools/po_to_page.py OUT.js CODE.po ...

The script defines kPageTexts: by language code, each translated text by its English
one (an empty msgstr is left out: the page shows the English). The output is the same
bytes on every run, whatever the order of the files."""

import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from po_to_cpp import read_catalogue, write_if_changed  # noqa: E402


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out, texts = sys.argv[1], {}
    for path in sys.argv[2:]:
        code = os.path.splitext(os.path.basename(path))[0]
        entries = read_catalogue(path, "page")[1]
        texts[code] = {k: v for k, v in sorted(entries.items()) if v}
    body = json.dumps(texts, ensure_ascii=False, indent=2, sort_keys=True)
    text = ("// Made by tools/po_to_page.py from the message catalogues; do not edit.\n"
            "// The page's texts in each language the game speaks but English, by their English.\n"
            f"const kPageTexts = {body};\n")
    write_if_changed(out, text)


if __name__ == "__main__":
    main()
