#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own scratch prefix and home
# (never the user's ~/.wine or home), making the prefix on first use.
#
#   scripts/wine.sh PROGRAM.exe [ARGS...]    run it; its exit status is this script's
#   scripts/wine.sh --prepare                only make the prefix (and time it)
#   scripts/wine.sh --stop                   end the prefix's Wine processes
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
[[ -x "$wine" ]] || { echo "No wine64: run scripts/install-deps.sh windows" >&2; exit 127; }

# Wine starts its own processes (the server, its services, the desktop) on
# demand, from whichever program needs them first, and they inherit that
# program's standard streams: a test's pipe would stay open, and the test
# unfinished, for as long as they live, which with a desktop is until the
# prefix is stopped. So they are started here first, with none of ours. The
# desktop draws on one X display (or none): a program for another display
# starts them again, and so programs for different displays never share the
# prefix at one time.
marker=$WINEPREFIX.desktop  # the desktop's starter's process and its display
background_running() {
  local pid display
  [[ -f "$marker" ]] && read -r pid display <"$marker" || return 1
  [[ "$display" == "${DISPLAY:--}" ]] && grep -qa 'explorer' "/proc/$pid/cmdline" 2>/dev/null
}
desktop_up() {  # the desktop process of this prefix has started
  local p
  for p in /proc/[0-9]*; do
    grep -qa '^C:\\windows\\system32\\explorer.exe' "$p/cmdline" 2>/dev/null &&
      grep -qaxF "WINEPREFIX=$WINEPREFIX" <(tr '\0' '\n' <"$p/environ" 2>/dev/null) && return 0
  done
  return 1
}
stop_background() {
  "$(dirname "$wine")/wineserver" -k 2>/dev/null 9>&- || true
  "$(dirname "$wine")/wineserver" -w 2>/dev/null 9>&- || true
  rm -f "$marker"
}
start_background() {
  background_running && return 0
  [[ -f "$marker" ]] && stop_background
  # Nor the lock: the server and the desktop outlive this script.
  "$wine" wineboot </dev/null >/dev/null 2>&1 9>&-
  "$wine" explorer.exe /desktop </dev/null >/dev/null 2>&1 9>&- &
  echo "$! ${DISPLAY:--}" >"$marker"
  local tries
  for ((tries = 0; tries < 100; tries++)); do
    desktop_up && return 0
    sleep 0.1
  done
}

# Made once, under a lock, so that tests started together wait for one another.
prepare() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [[ ! -f "$WINEPREFIX/.made" ]]; then
    rm -rf "$WINEPREFIX"
    local started=$SECONDS
    "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&-
    "$(dirname "$wine")/wineserver" --wait 2>/dev/null || true
    touch "$WINEPREFIX/.made"
    echo "Made the Wine prefix $WINEPREFIX in $((SECONDS - started)) s" >&2
  fi
  start_background
  flock -u 9
  exec 9>&-
}

case "${1:-}" in
  --prepare)
    prepare
    exit 0
    ;;
  --stop)
    [[ -d "$WINEPREFIX" ]] && stop_background
    rm -f "$marker"
    exit 0
    ;;
esac
[[ $# -ge 1 ]] || { echo "usage: scripts/wine.sh PROGRAM.exe [ARGS...] | --prepare | --stop" >&2; exit 2; }
prepare
exec "$wine" "$@"
