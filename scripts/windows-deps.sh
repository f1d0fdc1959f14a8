#!/usr/bin/env bash
# Installs the Windows cross-build's Debian packages and cross-builds zlib,
# libpng, SDL2, SDL2_mixer and GoogleTest for Windows from
# Debian's source packages, of the versions the Linux build links, once.
#
#   scripts/windows-deps.sh [BUILD_DIR]     (default build-windows)
#
# Everything lands in BUILD_DIR/deps: src/ (the unpacked source packages),
# build/ (their build trees) and prefix/ (headers, static libraries, pkg-config
# and CMake files). A stamp there makes a second run do nothing; remove
# BUILD_DIR/deps to start again.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=$(realpath -m "${1:-$top/build-windows}")
deps=$build/deps
prefix=$deps/prefix
toolchain=$top/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc 2>/dev/null || echo 2)

# What the libraries are built with; a change here rebuilds them.
recipe_version=4
stamp=$deps/done-$recipe_version

packages=(
  # The compilers with POSIX threads (std::thread and std::mutex need them).
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev
  cmake ninja-build pkg-config make dpkg-dev
  # The Linux build's libraries, whose versions the Windows ones follow.
  libsdl2-dev libsdl2-mixer-dev libpng-dev zlib1g-dev nlohmann-json3-dev
  googletest
  # Running, packing and installing the Windows build here.
  wine64 nsis unzip xvfb xauth xdotool imagemagick
)

as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "Not root and no sudo: run as root: $*" >&2
    exit 1
  fi
}

# apt and dpkg may be held for a while by another install: wait for them.
apt_get() {
  local tries=0
  until as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"; do
    tries=$((tries + 1))
    ((tries < 3)) || return 1
    echo "apt-get $1 failed; trying again in 20 s" >&2
    sleep 20
  done
}

install_packages() {
  local missing=() p status
  for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  echo "Installing: ${missing[*]}"
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
}

# The apt source files in force (not the ones set aside under other names).
source_files() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [[ -f "$f" ]] && echo "$f"
  done
}

has_deb_src() {
  local f
  while read -r f; do
    case "$f" in
      *.sources) grep -Eqi '^Types:.*\bdeb-src\b' "$f" && return 0 ;;
      *) grep -Eq '^[[:space:]]*deb-src[[:space:]]' "$f" && return 0 ;;
    esac
  done < <(source_files)
  return 1
}

# A deb-src entry beside each enabled deb entry of this release's suites
# (CODENAME, CODENAME-updates, CODENAME-security...), in a file of its own.
add_deb_src() {
  local codename out=/etc/apt/sources.list.d/rapiko-deb-src.sources text="" f
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [[ -n "$codename" ]] || { echo "No VERSION_CODENAME in /etc/os-release" >&2; return 1; }
  while read -r f; do
    case "$f" in
      *.sources)
        # deb822: one paragraph per entry; keep the fields but Types and Enabled.
        text+=$(awk -v codename="$codename" '
          BEGIN { RS = ""; FS = "\n" }
          {
            types = ""; suites = ""; enabled = 1; body = ""
            for (i = 1; i <= NF; i++) {
              line = $i
              if (line ~ /^#/) continue
              if (tolower(line) ~ /^types:/) { types = line; continue }
              if (tolower(line) ~ /^enabled:/) { if (tolower(line) ~ /no/) enabled = 0; continue }
              if (tolower(line) ~ /^suites:/) suites = line
              body = body line "\n"
            }
            if (!enabled || types !~ /(^|[ :])deb( |$)/) next
            n = split(suites, s, /[ \t]+/); ours = 0
            for (i = 2; i <= n; i++) if (s[i] == codename || index(s[i], codename "-") == 1) ours = 1
            if (ours) printf "Types: deb-src\n%s\n", body
          }' "$f")
        text+=$'\n'
        ;;
      *)
        text+=$(awk -v codename="$codename" '
          $1 == "deb" {
            i = 2
            if ($2 ~ /^\[/) while (i <= NF && $i !~ /\]$/) i++
            if ($2 ~ /^\[/) i++
            suite = $(i + 1)
            if (suite == codename || index(suite, codename "-") == 1) {
              sub(/^[ \t]*deb/, "deb-src"); print
            }
          }' "$f" | sed 's/^/# one-line: /')
        text+=$'\n'
        ;;
    esac
  done < <(source_files)
  # One-line entries become paragraphs too, so the new file has one form.
  text=$(printf '%s\n' "$text" | awk '
    /^# one-line: / {
      sub(/^# one-line: deb-src[ \t]+/, ""); opts = ""
      if ($0 ~ /^\[/) { opts = substr($0, 2, index($0, "]") - 2); $0 = substr($0, index($0, "]") + 1) }
      n = split($0, w, /[ \t]+/); j = 1; while (w[j] == "") j++
      printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", w[j], w[j + 1]
      for (k = j + 2; k <= n; k++) printf " %s", w[k]
      printf "\n"
      m = split(opts, o, /[ \t]+/)
      for (k = 1; k <= m; k++) if (o[k] ~ /^signed-by=/) printf "Signed-By: %s\n", substr(o[k], 11)
      printf "\n"; next
    }
    { print }')
  if ! grep -q '^Types: deb-src' <<<"$text"; then
    echo "No apt entry for $codename to add a source entry beside; add a deb-src entry by hand" >&2
    return 1
  fi
  printf '# Source packages beside the binary ones, for apt-get source (added by rapiko'"'"'s scripts/windows-deps.sh).\n%s\n' \
    "$(printf '%s\n' "$text" | cat -s)" | as_root tee "$out" >/dev/null
  echo "Added source entries (deb-src) for the configured $codename suites in $out."
  apt_get update -qq
}

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

# Unpacks the source package of installed binary package $1 into src/ and
# prints its folder.
fetch_source() {
  local name want version upstream dir
  read -r name want < <(source_of "$1")
  upstream=${want#*:}
  upstream=${upstream%-*}
  dir=$deps/src/$name-$upstream
  [[ -f "$dir/.unpacked" ]] && { echo "$dir"; return; }
  rm -rf "$dir"
  mkdir -p "$deps/src"
  while read -r version; do
    if (cd "$deps/src" && apt-get source -qq --only-source "$name=$version" >"$dir.log" 2>&1); then
      [[ "$version" == "$want" ]] ||
        echo "$name $want is not in the archive any more: building $version, of the same upstream version" >&2
      echo "$name $version" >"$dir/.unpacked"
      echo "$dir"
      return
    fi
  done < <(candidate_versions "$name" "$want")
  cat "$dir.log" >&2
  echo "No source of $name $want (nor of its upstream version) could be had with apt-get source" >&2
  return 1
}

# cmake_configure NAME SOURCE_DIR [CMAKE OPTIONS...]: configure a build tree
# for Windows with the project's toolchain file, installing into the prefix.
cmake_configure() {
  local name=$1 src=$2
  shift 2
  echo "Building $name for Windows"
  rm -rf "$deps/build/$name"
  cmake -S "$src" -B "$deps/build/$name" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$deps/build/$name.log" 2>&1 || {
    tail -n 30 "$deps/build/$name.log" >&2
    return 1
  }
}

# cmake_build NAME SOURCE_DIR [CMAKE OPTIONS...]: configure, build, install.
cmake_build() {
  cmake_configure "$@"
  cmake --build "$deps/build/$1" -j "$jobs" >>"$deps/build/$1.log" 2>&1 &&
    cmake --install "$deps/build/$1" >>"$deps/build/$1.log" 2>&1 || {
    tail -n 30 "$deps/build/$1.log" >&2
    return 1
  }
}

# upstream_version DIR: the upstream version of an unpacked source package.
upstream_version() {
  local v
  v=$(cut -d' ' -f2 "$1/.unpacked")
  v=${v#*:}
  v=${v%-*}
  echo "${v%%[+~]dfsg*}" | sed 's/\.dfsg$//'
}

# The pkg-config files the Linux build's CMake asks for (SDL2_mixer's CMake
# build writes none for Windows, zlib was installed by hand). SDL2's own is rewritten without SDL2main, its "-Dmain=SDL_main" and
# -mwindows: the game has its own main (SDL needs no SDL_SetMainReady on
# Windows), and each program chooses its own subsystem.
write_pkg_config() {
  local zlib=$1 mixer=$2 dir=$prefix/lib/pkgconfig libs
  libs=$(sed -n 's/^Libs: *//p' "$dir/sdl2.pc" | tr ' ' '\n' |
    grep -vxE -- '|-L\$\{libdir\}|-lmingw32|-mwindows|-lSDL2main|-lSDL2' | awk '!seen[$0]++' | xargs)
  sed -i -e 's/^Libs: .*/Libs: -L${libdir} -lSDL2/' \
    -e "/^Libs.private:/d" -e "/^Libs: /a Libs.private: $libs" \
    -e 's/^Cflags: .*/Cflags: -I${includedir} -I${includedir}\/SDL2 -DSDL_MAIN_HANDLED/' "$dir/sdl2.pc"
  local head="prefix=$prefix"$'\n''libdir=${prefix}/lib'$'\n''includedir=${prefix}/include'$'\n'
  printf '%s\n' "$head" "Name: zlib" "Description: zlib compression library" \
    "Version: $(upstream_version "$zlib")" "Libs: -L\${libdir} -lz" "Cflags: -I\${includedir}" \
    >"$dir/zlib.pc"
  printf '%s\n' "$head" "Name: SDL2_mixer" "Description: mixer library for SDL (WAVE only)" \
    "Version: $(upstream_version "$mixer")" "Requires: sdl2" "Libs: -L\${libdir} -lSDL2_mixer" \
    "Cflags: -I\${includedir}/SDL2" >"$dir/SDL2_mixer.pc"
}

build_libraries() {
  local zlib libpng sdl mixer
  zlib=$(fetch_source zlib1g-dev)
  libpng=$(fetch_source libpng-dev)
  sdl=$(fetch_source libsdl2-dev)
  mixer=$(fetch_source libsdl2-mixer-dev)
  rm -rf "$prefix" "$deps/build"
  mkdir -p "$prefix" "$deps/build"

  # zlib and libpng: the game writes its screenshots with them, so the
  # versions the Linux build links write the same bytes here.
  # Debian's zlib source leaves out win32/ (its resource file among it), so
  # only the static library is built, and installed by hand.
  cmake_configure zlib "$zlib"
  cmake --build "$deps/build/zlib" --target zlibstatic >>"$deps/build/zlib.log" 2>&1 || {
    tail -n 30 "$deps/build/zlib.log" >&2
    return 1
  }
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$zlib/zlib.h" "$deps/build/zlib/zconf.h" "$prefix/include/"
  cp "$deps/build/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
  cmake_build libpng "$libpng" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DZLIB_INCLUDE_DIR="$prefix/include"

  # SDL2: video, events, audio and timers; no joystick, haptic or sensor.
  cmake_build sdl2 "$sdl" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
    -DSDL_STATIC_PIC=OFF
  # SDL2_mixer: WAVE only.
  cmake_build sdl2_mixer "$mixer" -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF \
    -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
    -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_WAVE=ON
  # GoogleTest from Debian's googletest package, for the Windows tests.
  cmake_build googletest /usr/src/googletest -DINSTALL_GTEST=ON -DBUILD_GMOCK=OFF \
    -Dgtest_disable_pthreads=OFF

  write_pkg_config "$zlib" "$mixer"

  # The licences that come with a program these libraries are linked into
  # (SDL's three are installed by their builds); the MinGW-w64 runtime's
  # (winpthreads, the CRT start-up code) and GCC's runtime exception from
  # Debian's copyright files.
  install -D -m 644 "$zlib/LICENSE" "$prefix/share/licenses/zlib/LICENSE"
  install -D -m 644 "$libpng/LICENSE" "$prefix/share/licenses/libpng/LICENSE"
  install -D -m 644 /usr/share/doc/mingw-w64-common/copyright \
    "$prefix/share/licenses/mingw-w64/copyright"
  install -D -m 644 /usr/share/doc/gcc-mingw-w64-base/copyright \
    "$prefix/share/licenses/gcc-runtime/copyright"

  # nlohmann/json is headers only: the Linux package's headers and CMake files,
  # under the prefix so that no Linux include folder enters the Windows build.
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -r /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
}

main() {
  if [[ -f "$stamp" ]]; then
    return 0
  fi
  if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "The Windows build is made on Debian (or a system like it): apt-get and dpkg-query are needed" >&2
    exit 1
  fi
  install_packages
  has_deb_src || add_deb_src
  local started=$SECONDS
  build_libraries
  rm -f "$deps"/done-*
  touch "$stamp"
  echo "Windows libraries built in $((SECONDS - started)) s into $prefix"
}

main "$@"
