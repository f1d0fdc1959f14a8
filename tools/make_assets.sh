#!/bin/sh
# Regenerates every asset made by this folder's generators (not the font).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
assets=$(cd "$here/../assets" && pwd)
python3 "$here/make_sheet.py" "$assets/abc.bmp"
python3 "$here/make_back.py" "$assets/back.bmp"
python3 "$here/make_sounds.py" "$assets"
python3 "$here/make_words.py" "$assets/rapdata.ini"
python3 "$here/make_icon.py" "$assets/icons"
python3 "$here/make_ico.py" "$assets/icons/rapiko.ico"
python3 "$here/make_word_lists.py" "$assets/words"
