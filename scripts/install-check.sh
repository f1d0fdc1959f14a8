#!/usr/bin/env bash
# Installs the build in BUILD_DIR into a scratch DESTDIR, checks that every
# file is in its place, validates the desktop entry, the AppStream metadata
# and the manual page as installed, and runs the installed program (a
# scripted run) with a scratch home: it must make and seed the per-user
# folder, write its ranking there and nothing beside itself, and find the
# installed practice lists by name.
set -euo pipefail
build=${1:?usage: install-check.sh BUILD_DIR}
prefix=/usr/local
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >/dev/null
root="$stage$prefix"

fail=0
expect() {
  for f in "$@"; do
    if [[ ! -f "$root/$f" ]]; then
      echo "install-check: missing $prefix/$f" >&2
      fail=1
    fi
  done
}
# One desktop entry and one metadata file, named by the application's ID.
desktop=("$root"/share/applications/*.desktop)
metainfo=("$root"/share/metainfo/*.metainfo.xml)
if ((${#desktop[@]} != 1 || ${#metainfo[@]} != 1)) ||
  [[ $(basename "${desktop[0]}" .desktop) != $(basename "${metainfo[0]}" .metainfo.xml) ]]; then
  echo "install-check: want one desktop entry and one metadata file of one ID" >&2
  fail=1
fi
expect bin/rapiko share/rapiko/back.bmp share/rapiko/rapdata.ini share/man/man6/rapiko.6 \
  "${desktop[0]#"$root/"}" "${metainfo[0]#"$root/"}"
for list in home top bottom digits english; do expect "share/rapiko/words/$list.ini"; done
for size in 48 64 128 256; do expect "share/icons/hicolor/${size}x$size/apps/rapiko.png"; done
[[ -x "$root/bin/rapiko" ]] || { echo "install-check: bin/rapiko is not executable" >&2; fail=1; }
# Nothing lands outside the prefix.
stray=$(cd "$stage" && find . -mindepth 1 -not -path ".$prefix" -not -path ".$prefix/*" \
  -not -path "./usr" | head -5)
[[ -z "$stray" ]] || { echo "install-check: outside the prefix: $stray" >&2; fail=1; }

desktop-file-validate "${desktop[0]}" || fail=1
appstreamcli validate --no-net "${metainfo[0]}" >/dev/null || {
  appstreamcli validate --no-net "${metainfo[0]}" >&2 || true
  fail=1
}
# The metadata and the desktop entry it launches agree with one another.
appstreamcli validate-tree --no-net "$root" >/dev/null || {
  appstreamcli validate-tree --no-net "$root" >&2 || true
  fail=1
}
man_warnings=$(groff -man -ww -z "$root/share/man/man6/rapiko.6" 2>&1)
[[ -z "$man_warnings" ]] || { echo "install-check: rapiko.6: $man_warnings" >&2; fail=1; }

# Runs the installed program at PREFIX_ROOT on a short script with the given
# environment; the per-user folder USER_FOLDER must be seeded and hold the
# ranking afterwards.
run_installed() {
  local prefix_root=$1 user_folder=$2
  shift 2
  local out
  if ! out=$(printf 'tick 16\nstate\n' |
    env -i PATH="$PATH" "$@" "$prefix_root/bin/rapiko" --headless --script - 2>&1); then
    echo "install-check: the installed program failed: $out" >&2
    fail=1
    return
  fi
  [[ $out == *'"wordCount":100'* ]] || { echo "install-check: default words not read" >&2; fail=1; }
  for f in back.bmp rapdata.ini; do
    cmp -s "$prefix_root/share/rapiko/$f" "$user_folder/$f" ||
      { echo "install-check: $user_folder/$f is not the installed $f" >&2; fail=1; }
  done
  [[ -f $user_folder/rapikosc.ini ]] ||
    { echo "install-check: no ranking written in $user_folder" >&2; fail=1; }
}
home=$(mktemp -d)
trap 'rm -rf "$stage" "$home"' EXIT
before=$(cd "$stage" && find . | sort)
run_installed "$root" "$home/xdg/rapiko" HOME="$home/home" XDG_DATA_HOME="$home/xdg"
run_installed "$root" "$home/home/.local/share/rapiko" HOME="$home/home"
after=$(cd "$stage" && find . | sort)
[[ $before == "$after" ]] || {
  echo "install-check: the program wrote beside itself:" >&2
  diff <(echo "$before") <(echo "$after") >&2 || true
  fail=1
}
# A moved prefix still finds its files.
mv "$root" "$stage/moved"
run_installed "$stage/moved" "$home/moved/rapiko" HOME="$home/home" XDG_DATA_HOME="$home/moved"
# A practice list is found by name among the installed ones, wherever the prefix is.
out=$(printf 'state\n' | env -i PATH="$PATH" HOME="$home/home" XDG_DATA_HOME="$home/moved" \
  "$stage/moved/bin/rapiko" --headless --script - --words digits 2>&1) || true
[[ $out == '{'*'"words":["","123",'* ]] ||
  { echo "install-check: --words digits: ${out:0:200}" >&2; fail=1; }

if ((fail)); then
  echo "install-check: FAILED" >&2
  exit 1
fi
echo "install-check: installed files, desktop entry, metadata, manual page and per-user folder are good"
