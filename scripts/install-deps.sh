#!/usr/bin/env bash
# Installs every package the build and the tests need (Debian 12, as root or with sudo).
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
pkgs=(cmake ninja-build g++ googletest libgtest-dev zlib1g-dev
      g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
      wine wine32:i386 wine64 libwine-dev:i386 xvfb xauth locales python3 iproute2 util-linux binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
      clang libclang-rt-14-dev llvm-14
      imagemagick fontconfig fonts-wqy-microhei fonts-wine xdotool x11-utils curl unzip)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  missing+=(wine32:i386)
fi
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
