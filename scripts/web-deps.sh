#!/usr/bin/env bash
# The web build's dependencies: Debian's emscripten and chromium, then SDL2 and what it needs
# built once with emcc from Debian's own sources, at the versions the Linux build links.
#
# Usage: scripts/web-deps.sh [BUILD_DIR]   (default build-web; the libraries go to
# BUILD_DIR/deps/prefix, their sources to BUILD_DIR/deps/src)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-build-web}")
deps=$build/deps
prefix=$deps/prefix
jobs=$(nproc 2>/dev/null || echo 2)

packages=(
  emscripten node-acorn nodejs chromium
  cmake ninja-build pkg-config make dpkg-dev python3 nlohmann-json3-dev
  libsdl2-dev libsdl2-mixer-dev libpng-dev
)

# The Debian source package of each library, and the binary package whose
# version the Linux build links (so both builds run the same code).
sources=(
  "zlib zlib1g"
  "libpng1.6 libpng16-16"
  "libsdl2 libsdl2-dev"
  "libsdl2-mixer libsdl2-mixer-dev"
)

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "The web build is made with Debian's emscripten and Debian's sources of SDL2," >&2
  echo "SDL2_mixer, libpng and zlib; this is not a Debian-like system." >&2
  exit 1
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    as_root=(no_root)
  fi
fi
no_root() {
  echo "Not root and no sudo: as root, run: $*" >&2
  exit 1
}
export DEBIAN_FRONTEND=noninteractive

# apt-get, waiting a while for another process's lock instead of failing at once.
apt_get() {
  "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=300 "$@"
}

installed() {
  [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) == "install ok installed" ]]
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi

# deb-src entries for the suites already configured, when there are none.
if ! apt-get indextargets --format '$(IDENTIFIER)' | grep -qx Sources; then
  list=/etc/apt/sources.list.d/rapiko-deb-src.sources
  echo "Adding source entries for the configured Debian suites: $list"
  /usr/bin/python3 "$root/scripts/deb_src_entries.py" | "${as_root[@]}" tee "$list" >/dev/null
  apt_get update -qq
elif [[ -z $(apt-cache showsrc zlib 2>/dev/null) ]]; then
  apt_get update -qq  # the source lists were never fetched
fi

# The source version of the binary package installed, else of the one apt would install.
source_version() {
  local v
  v=$(dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null || true)
  if [[ -z "$v" ]]; then
    v=$(apt-cache show --no-all-versions "$1" | awk '/^Source:.*\(/ { gsub(/[()]/, "", $3); print $3; exit }
                                                      /^Version:/ { print $2; exit }')
  fi
  echo "$v"
}

# The source versions to try, best first: the one installed, then the other
# Debian revisions of the same upstream release that Debian offers, newest
# first (later revisions carry security fixes only).
candidate_versions() {
  local src=$1 wanted=$2
  echo "$wanted"
  apt-cache showsrc "$src" | awk '/^Version:/ { print $2 }' | grep -F "${wanted%-*}-" |
    grep -vxF "$wanted" | sort -rV || true
}

# Fetches and unpacks the first of the candidate versions that can be had.
fetch_source() {
  local src=$1 wanted=$2 version
  while read -r version; do
    rm -rf "${deps:?}/src/$src"
    mkdir -p "$deps/src/$src"
    if (cd "$deps/src/$src" && apt-get source -qq "$src=$version" >/dev/null 2>&1); then
      [[ $version == "$wanted" ]] ||
        echo "The source of $src $wanted cannot be had; built from $version instead"
      echo "$version" >"$deps/src/$src.version"
      return 0
    fi
  done < <(candidate_versions "$src" "$wanted")
  echo "No Debian source of $src ${wanted%-*} can be had (installed: $wanted)" >&2
  exit 1
}

mkdir -p "$deps/src" "$prefix"
declare -A folder
for entry in "${sources[@]}"; do
  read -r src bin <<<"$entry"
  wanted=$(source_version "$bin")
  # Fetched once for each version the Linux build links.
  if [[ ! -f $deps/src/$src.wanted || $(cat "$deps/src/$src.wanted") != "$wanted" ]]; then
    echo "Fetching the Debian source of $src $wanted"
    fetch_source "$src" "$wanted"
    rm -f "$deps/src/$src.built"
    echo "$wanted" >"$deps/src/$src.wanted"
  fi
  folder[$src]=$(find "$deps/src/$src" -mindepth 1 -maxdepth 1 -type d | head -n 1)
done

# emcc runs its optimiser under Node with Debian's acorn.
export NODE_PATH=/usr/share/nodejs
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig:$prefix/share/pkgconfig
export PKG_CONFIG_PATH=

# Configures, builds and installs one library with CMake, unless built already.
build_lib() {
  local src=$1
  shift
  [[ -f $deps/src/$src.built ]] && return 0
  echo "Building $src with emcc"
  local dir=${folder[$src]}
  rm -rf "$deps/build/$src"
  emcmake cmake -S "$dir" -B "$deps/build/$src" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >"$deps/build-$src.log" 2>&1 ||
    { tail -n 30 "$deps/build-$src.log"; exit 1; }
  cmake --build "$deps/build/$src" -j "$jobs" >>"$deps/build-$src.log" 2>&1 &&
    cmake --install "$deps/build/$src" >>"$deps/build-$src.log" 2>&1 ||
    { tail -n 30 "$deps/build-$src.log"; exit 1; }
  touch "$deps/src/$src.built"
}

# zlib through its own configure script (its CMake file wants sources that
# Debian's tarball leaves out), with the flag Debian builds it with on amd64.
if [[ ! -f $deps/src/zlib.built ]]; then
  echo "Building zlib with emcc"
  (cd "${folder[zlib]}" &&
    CC=emcc AR=emar RANLIB=emranlib CFLAGS="-O3 -DUNALIGNED_OK" uname=GNU \
      emconfigure ./configure --static --prefix="$prefix" &&
    emmake make -j "$jobs" libz.a && emmake make install) >"$deps/build-zlib.log" 2>&1 ||
    { tail -n 30 "$deps/build-zlib.log"; exit 1; }
  touch "$deps/src/zlib.built"
fi
build_lib libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_ROOT="$prefix"
build_lib libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
build_lib libsdl2-mixer -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
  -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF \
  -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
  -DSDL2MIXER_VORBIS=OFF

# A pkg-config file as Debian's SDL2_mixer has (its CMake build installs none).
write_pc() {
  local name=$1 version=$2 libs=$3
  cat >"$prefix/lib/pkgconfig/$name.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: $name
Description: $name built with emcc
Version: $version
Requires: sdl2
Libs: -L\${libdir} $libs
Cflags: -I\${includedir}/SDL2
PC
}
write_pc SDL2_mixer "$(cut -d+ -f1 "$deps/src/libsdl2-mixer.version")" "-lSDL2_mixer"
