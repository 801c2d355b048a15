#!/usr/bin/env bash
# Makes the test prefixes when missing (WINEARCH as the tree asks, null graphics driver, no crash
# dialog, no Mono or Gecko prompt), the zh_CN.UTF-8 and en_US.UTF-8 locales, and starts the main
# prefix's wineserver and services with no standard streams, so that no test inherits them.
set -euo pipefail
. "$1"   # wine-env.sh

make_locale() {
  [ -f "$LOCPATH/$1.UTF-8/LC_CTYPE" ] && return 0
  mkdir -p "$LOCPATH"
  localedef -i "$1" -f UTF-8 "$LOCPATH/$1.UTF-8" >/dev/null 2>&1 || true
  [ -f "$LOCPATH/$1.UTF-8/LC_CTYPE" ]
}

make_prefix() {
  local prefix=$1
  [ -f "$prefix/.suite-ready" ] && return 0
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  WINEPREFIX=$prefix wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
  touch "$prefix/.suite-ready"
}

make_locale zh_CN   # code page 936, the tests' own
make_locale en_US   # code page 1252, for the tests that need another
make_prefix "$WINEPREFIX"
make_prefix "$SUITE_NET_PREFIX"
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1
