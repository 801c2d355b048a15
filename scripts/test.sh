#!/usr/bin/env bash
# Runs every test in one CTest run: the host build under AddressSanitizer and UBSan,
# the fuzz harnesses for a short bounded count each, and the Windows binaries under
# Wine (with the private fixture web for the tests that speak HTTP).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
mkdir -p build/all
printf 'subdirs("%s" "%s" "%s")\n' "$PWD/build/host" "$PWD/build/win" "$PWD/build/fuzz" > build/all/CTestTestfile.cmake
ctest --test-dir build/all -j8 --output-on-failure --timeout 600 "$@"
