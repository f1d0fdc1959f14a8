#!/usr/bin/env bash
# Builds the libraries a port links (zlib, libpng, SDL2 and SDL2_mixer; for
# Windows, whose tests run on their own, GoogleTest too) from Debian's source
# packages of the versions the Linux build links, with the port's CMake
# toolchain file, once.
#
#   scripts/port-libraries.sh TOOLCHAIN_FILE BUILD_DIR
#   (cmake/mingw-w64-x86_64.cmake build-windows, or cmake/emscripten.cmake build-web)
#
# Everything lands in BUILD_DIR/deps: src/ (the unpacked source packages),
# build/ (the build trees and their logs) and prefix/ (headers, static
# libraries, pkg-config and CMake files, licences). A library is built again
# when its version, its patches (scripts/patches/SOURCE/) or this recipe
# change, and so is every library after it;
# remove BUILD_DIR/deps to start again. The Debian packages this needs, and the
# deb-src entries apt-get source reads, come from scripts/install-deps.sh
# (windows, web), which the Makefile runs first.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
[[ $# -eq 2 ]] || { sed -n '7,8p' "$0" | sed 's/^# *//' >&2; exit 2; }
toolchain=$(realpath "$1")
build=$(realpath -m "$2")
deps=$build/deps
prefix=$deps/prefix
jobs=$(nproc 2>/dev/null || echo 2)

case $(basename "$toolchain") in
  mingw-w64-*) port=windows ;;
  emscripten.cmake) port=web ;;
  *) echo "port-libraries.sh: no port builds with $toolchain" >&2; exit 2 ;;
esac

# What the libraries are built with; a change here rebuilds them.
recipe=2

# Each library, in the order they are built (each links those before it): its
# name here, and the Debian package of the Linux build whose version it is.
libraries=(zlib:zlib1g-dev libpng:libpng-dev sdl2:libsdl2-dev sdl2_mixer:libsdl2-mixer-dev)

# "SOURCE VERSION" of the source package that built an installed binary package.
source_of() {
  dpkg-query -W -f='${source:Package} ${source:Version}' "$1"
}

# The versions of source package $1 worth fetching, best first: $2 itself,
# then the others of the same upstream version, newest first (a security
# update since the machine was installed replaces the installed one in the
# archive).
candidate_versions() {
  local name=$1 want=$2
  echo "$want"
  apt-cache showsrc --only-source "$name" 2>/dev/null | sed -n 's/^Version: //p' |
    while read -r v; do
      [[ "$v" != "$want" && "${v%-*}" == "${want%-*}" ]] && echo "$v"
    done | sort -u | sort -r -V
}

# What scripts/patches/SOURCE/*.patch change in source package $1: a short
# checksum of them, "none" without any.
patches_of() {
  local files=("$top/scripts/patches/$1"/*.patch)
  [[ -e ${files[0]} ]] || { echo none; return; }
  cat "${files[@]}" | sha256sum | cut -c1-16
}

# Unpacks the source package of installed binary package $1 into src/, with
# its patches of scripts/patches/ applied, once per version and patches, and
# prints its folder.
fetch_source() {
  local name want version dir patches patch
  read -r name want < <(source_of "$1")
  dir=$deps/src/$name-${want#*:}
  patches=$(patches_of "$name")
  [[ -f "$dir/.fetched" && "$(cut -d' ' -f3 "$dir/.fetched")" == "patches:$patches" ]] &&
    { echo "$dir"; return; }
  rm -rf "$dir" "$dir.tmp"
  mkdir -p "$dir.tmp"
  while read -r version; do
    if (cd "$dir.tmp" && apt-get source -qq --only-source "$name=$version" >"$dir.log" 2>&1); then
      [[ "$version" == "$want" ]] ||
        echo "$name $want is not in the archive any more: building $version, of the same upstream version" >&2
      mv "$(find "$dir.tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)" "$dir"
      rm -rf "$dir.tmp"
      for patch in "$top/scripts/patches/$name"/*.patch; do
        [[ -e $patch ]] || continue
        patch -d "$dir" -p1 --quiet --forward <"$patch" >&2 ||
          { echo "$(basename "$patch") does not apply to $name $version" >&2; return 1; }
      done
      echo "$name $version patches:$patches" >"$dir/.fetched"
      echo "$dir"
      return
    fi
  done < <(candidate_versions "$name" "$want")
  cat "$dir.log" >&2
  echo "No source of $name $want (nor of its upstream version) could be had with apt-get source" >&2
  return 1
}

# The upstream version of an unpacked source package, as its pkg-config file says it.
upstream_version() {
  local v
  v=$(cut -d' ' -f2 "$1/.fetched")
  v=${v#*:}
  v=${v%-*}
  echo "${v%%[+~]dfsg*}" | sed 's/\.dfsg$//'
}

# cmake_build NAME SOURCE_DIR TARGET [CMAKE OPTIONS...]: configures NAME for
# the port, builds TARGET (all: and installs it into the prefix).
cmake_build() {
  local name=$1 src=$2 target=$3 tree=$deps/build/$1 log=$deps/build/$1.log
  shift 3
  echo "Building $name for $port"
  rm -rf "$tree"
  {
    cmake -S "$src" -B "$tree" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
      -DBUILD_SHARED_LIBS=OFF "$@" &&
      cmake --build "$tree" -j "$jobs" --target "$target" &&
      if [[ $target == all ]]; then cmake --install "$tree"; fi
  } >"$log" 2>&1 || {
    tail -n 30 "$log" >&2
    return 1
  }
}

# Each library's build. zlib: the static library from its sources, by a
# CMake file of its own here (zlib's needs win32/, which Debian's source
# leaves out, and names its shared and static libraries alike, which
# emscripten builds both as static).
build_zlib() {
  local project=$deps/build/zlib-project
  mkdir -p "$project"
  cat >"$project/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.13)
project(zlib C)
file(GLOB sources ${ZLIB_SOURCE}/*.c)
add_library(z STATIC ${sources})
target_include_directories(z PRIVATE ${ZLIB_SOURCE})
include(CheckIncludeFile)
check_include_file(unistd.h have_unistd)
if(have_unistd)
  target_compile_definitions(z PRIVATE HAVE_UNISTD_H)
endif()
install(TARGETS z ARCHIVE DESTINATION lib)
install(FILES ${ZLIB_SOURCE}/zlib.h ${ZLIB_SOURCE}/zconf.h DESTINATION include)
CMAKE
  cmake_build zlib "$project" all -DZLIB_SOURCE="$1"
  mkdir -p "$prefix/lib/pkgconfig"
  printf '%s\n' "prefix=$prefix" 'libdir=${prefix}/lib' 'includedir=${prefix}/include' "" \
    "Name: zlib" "Description: zlib compression library" "Version: $(upstream_version "$1")" \
    'Libs: -L${libdir} -lz' 'Cflags: -I${includedir}' >"$prefix/lib/pkgconfig/zlib.pc"
  install -D -m 644 "$1/LICENSE" "$prefix/share/licenses/zlib/LICENSE"
}
# libpng: the game writes its screenshots with it and zlib, so the versions
# the Linux build links write the same bytes.
build_libpng() {
  cmake_build libpng "$1" all -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DZLIB_INCLUDE_DIR="$prefix/include"
  install -D -m 644 "$1/LICENSE" "$prefix/share/licenses/libpng/LICENSE"
}
# SDL2: video, events, audio and timers; no joystick, haptic or sensor.
build_sdl2() {
  cmake_build sdl2 "$1" all -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_STATIC_PIC=OFF
}
# SDL2_mixer: WAVE only; its CMake build writes no pkg-config file.
build_sdl2_mixer() {
  cmake_build sdl2_mixer "$1" all -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF \
    -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
    -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_WAVE=ON
  printf '%s\n' "prefix=$prefix" 'libdir=${prefix}/lib' 'includedir=${prefix}/include' "" \
    "Name: SDL2_mixer" "Description: mixer library for SDL (WAVE only)" \
    "Version: $(upstream_version "$1")" "Requires: sdl2" 'Libs: -L${libdir} -lSDL2_mixer' \
    'Cflags: -I${includedir}/SDL2' >"$prefix/lib/pkgconfig/SDL2_mixer.pc"
}

# What Windows adds: SDL2's pkg-config file without SDL2main, its
# "-Dmain=SDL_main" and -mwindows (the game has its own main, SDL needs no
# SDL_SetMainReady on Windows, and each program chooses its own subsystem);
# GoogleTest from Debian's googletest package for the Windows tests; the
# licences of the MinGW-w64 runtime (winpthreads, the CRT start-up code) and
# GCC's runtime exception from Debian's copyright files; nlohmann/json's
# headers under the prefix, so that no Linux include folder enters the build.
windows_extras() {
  local pc=$prefix/lib/pkgconfig/sdl2.pc libs
  libs=$(sed -n 's/^Libs: *//p' "$pc" | tr ' ' '\n' |
    grep -vxE -- '|-L\$\{libdir\}|-lmingw32|-mwindows|-lSDL2main|-lSDL2' | awk '!seen[$0]++' | xargs)
  sed -i -e 's/^Libs: .*/Libs: -L${libdir} -lSDL2/' \
    -e "/^Libs.private:/d" -e "/^Libs: /a Libs.private: $libs" \
    -e 's/^Cflags: .*/Cflags: -I${includedir} -I${includedir}\/SDL2 -DSDL_MAIN_HANDLED/' "$pc"
  cmake_build googletest /usr/src/googletest all -DINSTALL_GTEST=ON -DBUILD_GMOCK=OFF \
    -Dgtest_disable_pthreads=OFF
  install -D -m 644 /usr/share/doc/mingw-w64-common/copyright \
    "$prefix/share/licenses/mingw-w64/copyright"
  install -D -m 644 /usr/share/doc/gcc-mingw-w64-base/copyright \
    "$prefix/share/licenses/gcc-runtime/copyright"
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -r /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
}

main() {
  if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "The ports are built from Debian's sources: apt-get and dpkg-query are needed" >&2
    exit 1
  fi
  # The web's toolchain file finds the libraries in RAPIKO_WEB_DEPS, and
  # builds them before there are any.
  export RAPIKO_WEB_DEPS=$prefix RAPIKO_PORT_LIBRARIES=1
  # emcc runs its optimiser under Node with Debian's acorn.
  export NODE_PATH=/usr/share/nodejs
  mkdir -p "$deps/src" "$deps/build"
  local entry name src rebuild=0 started=$SECONDS
  local -A sources=()
  for entry in "${libraries[@]}"; do
    name=${entry%%:*}
    src=$(fetch_source "${entry#*:}")
    sources[$name]=$src
    [[ -f $deps/build/$name.done &&
      "$(cat "$deps/build/$name.done")" == "$recipe $(cat "$src/.fetched")" ]] || rebuild=1
  done
  ((rebuild)) || return 0
  # Any library built anew starts a new prefix, and every library is built into it again:
  # the later ones link the earlier, and the prefix holds nothing of an older build.
  rm -rf "$prefix" "$deps"/build/*.done
  for entry in "${libraries[@]}"; do
    name=${entry%%:*}
    "build_$name" "${sources[$name]}"
    echo "$recipe $(cat "${sources[$name]}/.fetched")" >"$deps/build/$name.done"
  done
  if [[ $port == windows ]]; then windows_extras; fi
  echo "Built ${libraries[*]%%:*} for $port in $((SECONDS - started)) s into $prefix"
}

main
