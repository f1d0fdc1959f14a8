#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need,
# only those that are missing. Elsewhere it names what to install.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  clang libclang-rt-dev clang-format
  desktop-file-utils appstream groff-base dpkg-dev
)

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "This is not a Debian-like system. Install the equivalents of:" >&2
  printf '  %s\n' "${packages[@]}" >&2
  echo "(SDL2 with SDL2_mixer and SDL2_image, nlohmann-json, GoogleTest, Google Benchmark," >&2
  echo " CMake, Ninja, pkg-config; Xvfb and xdotool for the window test; clang for fuzzing;" >&2
  echo " desktop-file-utils, AppStream and groff to check the install)" >&2
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "Not root and no sudo: please install as root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
