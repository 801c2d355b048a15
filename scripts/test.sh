#!/usr/bin/env bash
# Runs every test in one CTest run: the host build under AddressSanitizer and UBSan,
# and the Windows binaries under Wine (with the private fixture web for the tests
# that speak HTTP). Where this machine cannot run 32-bit programs, the Windows-side
# tests run on the x86-64 build of the same sources under 64-bit Wine instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null

# The road, decided once before any Wine test. SUITE_WINE_ROAD=64 asks for the
# x86-64 road on any machine.
road=32
if [ "${SUITE_WINE_ROAD:-}" = 64 ]; then
  road=64; why="SUITE_WINE_ROAD=64 asks for it"
elif ! out=$(/usr/lib/wine/wine --version 2>&1 </dev/null); then
  road=64; why="this machine cannot run 32-bit programs ($(printf '%s' "$out" | head -n 1 | sed 's/^.*line [0-9]*: //'))"
fi

# The x86-64 tree is always built, so that the sources stay pointer-size clean.
cmake --preset win64 -DSUITE_WINE_TESTS=$([ $road = 64 ] && echo ON || echo OFF) >/dev/null
cmake --build --preset win64 >/dev/null
cmake --preset windows -DSUITE_WINE_TESTS=$([ $road = 32 ] && echo ON || echo OFF) >/dev/null
cmake --build --preset windows >/dev/null
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

trees=("$PWD/build/host" "$PWD/build/fuzz" "$PWD/build/win")
if [ $road = 64 ]; then
  trees+=("$PWD/build/win64")
  echo "Windows-side tests run on the x86-64 build under 64-bit Wine: $why."
fi
mkdir -p build/all
{ printf 'subdirs('; printf '"%s" ' "${trees[@]}"; printf ')\n'; } > build/all/CTestTestfile.cmake
ctest --test-dir build/all -j8 --output-on-failure --timeout 600 "$@"
