#!/usr/bin/env bash
# Runs every test in one CTest run: the host build under AddressSanitizer and UBSan,
# and the Windows binaries under Wine (with the private fixture web for the tests
# that speak HTTP). Where this machine cannot run 32-bit programs, the Windows-side
# tests run on the x86-64 build of the same sources under 64-bit Wine instead.
set -euo pipefail
cd "$(dirname "$0")/.."
SUITE_NO_MAIN_JOB=1 bash scripts/setup.sh >/dev/null

# The road, decided once before any Wine test.
. scripts/wine-road.sh

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
