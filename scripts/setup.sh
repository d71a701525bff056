#!/usr/bin/env bash
# Installs what building and testing needs on a Debian machine: both mingw-w64
# cross compilers, wine, Xvfb, cmake, ninja, GoogleTest sources, ImageMagick and
# fonts used for the images and tests. Quick when everything is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  mingw-w64-tools binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine
  xvfb xauth x11-apps imagemagick
  googletest libgtest-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation fonts-noto-core
  python3 locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
