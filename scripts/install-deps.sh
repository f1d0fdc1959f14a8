#!/usr/bin/env bash
# Installs the Debian packages that one kind of work needs, only those that
# are missing. Elsewhere it names what to install.
#
#   scripts/install-deps.sh [play|test|ci|bench|fuzz|package|windows|web|server] ...
#
#   play     build and play the game (the default)
#   server   play, and the online ranking's server
#   test     play and server, and build and run every test
#   ci       test, and the checks CI adds: format, install, fuzzing, the server on PostgreSQL
#   bench    play, and the benchmarks
#   fuzz     play, and the fuzz targets (clang)
#   package  play, and the Debian package
#   windows  the Windows cross-build, its packages, and Wine to test them
#   web      the web build (emscripten), the browser its page is tested in, brotli for its site
set -euo pipefail

play=(g++ cmake ninja-build pkg-config make python3
      libsdl2-dev libsdl2-mixer-dev libpng-dev nlohmann-json3-dev
      libcurl4-openssl-dev)
test=(libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils imagemagick)
server=(libcpp-httplib-dev libsqlite3-dev libssl-dev libpq-dev)
fuzz=(clang libclang-rt-dev)
package=(dpkg-dev)
ci=(clang-format desktop-file-utils appstream groff-base postgresql "${fuzz[@]}" "${package[@]}")
# The ports build their libraries from the Debian sources of the versions the
# Linux build links (scripts/port-libraries.sh), so they need those too.
windows=("${play[@]}" dpkg-dev gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
         binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev googletest
         wine64 nsis unzip xvfb xauth xdotool imagemagick)
web=("${play[@]}" dpkg-dev emscripten node-acorn nodejs npm chromium brotli)
bench=(libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick libxtst-dev)

packages=()
for kind in "${@:-play}"; do
  case $kind in
    play) packages+=("${play[@]}") ;;
    test) packages+=("${play[@]}" "${test[@]}" "${server[@]}") ;;
    ci) packages+=("${play[@]}" "${test[@]}" "${server[@]}" "${ci[@]}") ;;
    server) packages+=("${play[@]}" "${server[@]}") ;;
    bench) packages+=("${play[@]}" "${bench[@]}") ;;
    fuzz) packages+=("${play[@]}" "${fuzz[@]}") ;;
    package) packages+=("${play[@]}" "${package[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    web) packages+=("${web[@]}") ;;
    *) echo "install-deps.sh: no kind of work '$kind' (play, test, ci, bench, fuzz, package, windows, web, server)" >&2
       exit 2 ;;
  esac
done
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "This is not a Debian-like system. Install the equivalents of:" >&2
  printf '  %s\n' "${packages[@]}" >&2
  echo "(SDL2 with SDL2_mixer, libpng, nlohmann-json, libcurl, CMake, Ninja, pkg-config;" >&2
  echo " for tests GoogleTest, and Xvfb and xdotool for the window test; clang for fuzzing;" >&2
  echo " Google Benchmark for the benchmarks; cpp-httplib, SQLite, OpenSSL and libpq for the" >&2
  echo " server; desktop-file-utils, AppStream and groff to" >&2
  echo " check the install)" >&2
  exit 0
fi

# What installed packages provide counts as installed (npm comes with some
# builds of nodejs, which then conflicts with Debian's npm).
provided=" $(dpkg-query -W -f='${Status}|${Provides}\n' 2>/dev/null |
  sed -n 's/^install ok installed|//p' | tr ',\n' '  ' | sed 's/([^)]*)//g' | xargs) "
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" || "$provided" == *" $p "* ]] || missing+=("$p")
done

# The ports build their libraries from Debian's source packages
# (scripts/port-libraries.sh), which apt-get source finds through deb-src
# entries: added beside the configured suites when there are none.
sources=0
for kind in "${@:-play}"; do
  [[ $kind == windows || $kind == web ]] && sources=1
done
has_sources() { apt-get indextargets --format '$(IDENTIFIER)' | grep -qx Sources; }
if ((${#missing[@]} == 0)) && { ((sources == 0)) || has_sources; }; then
  exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "Not root and no sudo: as root, run: $0 $*" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
# apt and dpkg may be held for a while by another install: wait for them.
apt_get() { "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=300 "$@"; }
if ((sources)) && ! has_sources; then
  list=/etc/apt/sources.list.d/rapiko-deb-src.sources
  echo "Adding source entries (deb-src) for the configured Debian suites: $list"
  python3 "$(dirname "$0")/deb_src_entries.py" | "${as_root[@]}" tee "$list" >/dev/null
fi
apt_get update -qq
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi
