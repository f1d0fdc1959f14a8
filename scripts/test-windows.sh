#!/usr/bin/env bash
# The Windows build under Wine, in a scratch prefix: the version line byte for
# byte, every golden game compared as on Linux,
# a real window under Xvfb, the zip's contents, the installer's silent
# install, a headless round of the installed copy, a silent install over a
# running game, and the silent uninstall, which keeps the player's results.
#
#   scripts/test-windows.sh [BUILD_WINDOWS [BUILD_LINUX]]   (build-windows, build)
#
# The Windows build's own tests run beside it (a test of that build runs this
# script: `cmake --workflow --preset windows`). The golden games and the window test are the Linux test programs' with the
# game they run replaced by the Windows one (RAPIKO_PROGRAM; the paths must
# hold no blanks). The title's picture under Wine stays in
# BUILD_WINDOWS/title.png, to be looked at.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
win=$(realpath "${1:-$top/build-windows}")
linux=$(realpath "${2:-$top/build}")
exe=$win/src/rapiko.exe
version=$(sed -n 's/^project(rapiko VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
jobs=$(nproc 2>/dev/null || echo 2)
wine=$top/scripts/wine.sh
export RAPIKO_WINEPREFIX=$win/wine
# The prefix is made anew, so that nothing of an earlier run is installed.
"$wine" --stop
rm -rf "$RAPIKO_WINEPREFIX" "$RAPIKO_WINEPREFIX.lock" "$RAPIKO_WINEPREFIX-home"
unset DISPLAY
# The prefix's processes end with this script.
trap '"$wine" --stop' EXIT

passed=0
failed=0
check() {  # check NAME COMMAND...: one line per check
  if "${@:2}"; then
    passed=$((passed + 1))
    echo "ok: $1"
  else
    failed=$((failed + 1))
    echo "FAILED: $1"
  fi
}

"$wine" --prepare

version_line() { [[ "$("$wine" "$exe" --version | od -An -c | tr -s ' ')" == "$(printf 'Rapiko %s\n' "$version" | od -An -c | tr -s ' ')" ]]; }
check "rapiko.exe --version prints its line, LF alone" version_line

golden() { RAPIKO_PROGRAM="$wine $exe" ctest --test-dir "$linux" -L golden -j "$jobs" --output-on-failure; }
check "every golden game through the Windows build" golden

# One window at a time: the prefix's desktop is on one screen at once.
window() {
  RAPIKO_PROGRAM="$wine $exe" RAPIKO_TITLE_SHOT="$win/title.png" \
    RAPIKO_END_SESSION="$wine wineboot.exe --end-session" timeout 600 \
    "$linux/tests/test_e2e_window" --gtest_brief=1 \
    --gtest_filter='RealWindow.SpaceStartsARound*'
}
check "a real window: the title, Space, typed letters, Esc, the end of the session" window

zip_lists() {
  local listing name
  listing=$(unzip -Z1 "$win/rapiko-$version-win64.zip")
  for name in rapiko.exe back.bmp rapdata.ini README.txt words/english.ini licences/LICENSE.txt \
    licences/LICENSE-assets.txt licences/SDL2/LICENSE.txt licences/libpng/LICENSE.txt; do
    grep -qxF "rapiko-$version-win64/$name" <<<"$listing" || { echo "no $name in the zip"; return 1; }
  done
}
check "the zip holds the program, its files and the licences, as .txt files" zip_lists

# Windows paths of the prefix's user, as Unix paths.
unix_path() { "$wine" winepath.exe -u "$("$wine" cmd.exe /c echo "%$1%" | tr -d '\r')" | tr -d '\r'; }
installed=$(unix_path LOCALAPPDATA)/Programs/Rapiko
results=$(unix_path APPDATA)/Rapiko
registry_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rapiko'

install_silently() {
  "$wine" "$win/rapiko-$version-win64-setup.exe" /S &&
    [[ -f "$installed/rapiko.exe" && -f "$installed/data/back.bmp" && -f "$installed/uninstall.exe" ]] &&
    "$wine" reg.exe query "$registry_key" /v UninstallString >/dev/null
}
check "the installer installs silently, for the user, and registers its uninstaller" install_silently

installed_round() {
  local script=$top/tests/golden/play_frames.script
  "$wine" "$installed/rapiko.exe" --headless --script "$script" >/dev/null &&
    [[ -f "$results/rapikosc.ini" ]]
}
check "the installed copy plays a headless round, its results in %APPDATA%\\Rapiko" installed_round

# A game that runs holds its program: a silent install over it ends with
# status 2 and leaves the program as it was.
install_over_running_game() {
  local fifo=$win/running.fifo out=$win/running.out status=0
  rm -f "$fifo" "$out" && mkfifo "$fifo"
  "$wine" "$installed/rapiko.exe" --headless --script - <"$fifo" >"$out" &
  exec 9>"$fifo"
  printf 'tick 16\nstate\n' >&9
  # Its first line says it runs (a bound against a hang, not a pace).
  for _ in $(seq 600); do [[ -s "$out" ]] && break; sleep 0.1; done
  cp "$installed/rapiko.exe" "$win/running.exe"
  "$wine" "$win/rapiko-$version-win64-setup.exe" /S || status=$?
  exec 9>&-
  wait
  [[ -s "$out" && $status -eq 2 ]] && cmp -s "$installed/rapiko.exe" "$win/running.exe"
}
check "a silent install over a running game fails with status 2 and keeps the program" \
  install_over_running_game

uninstall_silently() {
  # _?= runs the uninstaller in place, so that it is done when it returns.
  "$wine" "$installed/uninstall.exe" /S "_?=$("$wine" winepath.exe -w "$installed" | tr -d '\r')" &&
    rm -f "$installed/uninstall.exe" && rmdir "$installed" 2>/dev/null &&
    ! "$wine" reg.exe query "$registry_key" >/dev/null 2>&1
}
check "the uninstaller removes the program and its entry in the list of programs" uninstall_silently
results_kept() { [[ -f "$results/rapikosc.ini" ]]; }
check "the results in %APPDATA%\\Rapiko outlive the uninstall" results_kept

echo "$passed passed, $failed failed"
((failed == 0))
