#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own scratch prefix and home
# (never the user's ~/.wine or home), making the prefix on first use.
#
#   scripts/wine.sh PROGRAM.exe [ARGS...]    run it; its exit status is this script's
#   scripts/wine.sh --prepare                only make the prefix (and time it)
#
# RAPIKO_WINEPREFIX is the prefix (default build-windows/wine). Without
# DISPLAY the program has no screen, which --version, --help and headless
# runs never need; for a window, run under Xvfb (xvfb-run).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${RAPIKO_WINEPREFIX:-$top/build-windows/wine}
export WINEARCH=win64
# A home of its own too: Wine links the prefix's Documents, Desktop and the
# like to folders of $HOME, and Windows programs see HOME and XDG_* as well.
export HOME=$WINEPREFIX-home
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR
mkdir -p "$HOME"
# Wine's own messages off; no offer to install Mono or Gecko, which no one
# here needs and which cannot be downloaded; no menu entries or icons for the
# desktop made from the installer's shortcuts.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}

wine=$(command -v wine64 || true)
[[ -n "$wine" ]] || wine=/usr/lib/wine/wine64  # where Debian's wine64 package puts it
[[ -x "$wine" ]] || { echo "No wine64: run scripts/windows-deps.sh" >&2; exit 127; }

# Made once, under a lock, so that tests started together wait for one another.
prepare() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [[ ! -f "$WINEPREFIX/.made" ]]; then
    rm -rf "$WINEPREFIX"
    local started=$SECONDS
    "$wine" wineboot --init >/dev/null 2>&1
    "$(dirname "$wine")/wineserver" --wait 2>/dev/null || true
    touch "$WINEPREFIX/.made"
    echo "Made the Wine prefix $WINEPREFIX in $((SECONDS - started)) s" >&2
  fi
  flock -u 9
}

if [[ "${1:-}" == "--prepare" ]]; then
  prepare
  exit 0
fi
[[ $# -ge 1 ]] || { echo "usage: scripts/wine.sh PROGRAM.exe [ARGS...] | --prepare" >&2; exit 2; }
prepare
exec "$wine" "$@"
