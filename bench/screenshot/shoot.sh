#!/usr/bin/env bash
# Takes a screenshot of a program's window under Xvfb, with the Chinese texts readable, and
# keeps it as a test artefact (it passes or fails on nothing the picture shows).
#   shoot.sh WINE_ENV STANDIN_DLL OUT.png WIDTHxHEIGHT+X+Y TITLE -- PROGRAM.exe [ARGS...]
# The program runs in a prefix of its own (the x11 driver, no window decorations, Marlett),
# with the stand-in browser control registered, on the display SUITE_XVFB_DISPLAY (":106"
# unless set). When the window titled TITLE exists, the screen is captured and cut to the
# given rectangle. Exit 77 (skipped) when Xvfb or ImageMagick is missing.
set -euo pipefail
env_file=$1; dll=$2; out=$3; crop=$4; title=$5; shift 5
[ "${1:-}" = "--" ] && shift
here=$(cd "$(dirname "$0")/.." && pwd)
for tool in Xvfb import convert xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
. "$env_file"
export WINEPREFIX_OVERRIDE="$SUITE_BINARY_DIR/wine/prefix-shot"
. "$env_file"
display=${SUITE_XVFB_DISPLAY:-:106}

if [ ! -f "$WINEPREFIX/.suite-ready" ]; then
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  DISPLAY= wineboot -i </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  wineserver -w
  touch "$WINEPREFIX/.suite-ready"
fi

started_x=
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  started_x=$!
  for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
fi
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wait "${program_pid:-}" 2>/dev/null || true
  [ -n "$started_x" ] && kill "$started_x" 2>/dev/null || true
}
trap cleanup EXIT

export DISPLAY=$display
"$here/standins/browser/with-browser.sh" "$env_file" "$dll" -- "$@" </dev/null >/dev/null 2>&1 &
program_pid=$!
found=
for _ in $(seq 300); do
  if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then found=1; break; fi
  sleep 0.1
done
[ -n "$found" ] || { echo "no window titled $title appeared"; exit 1; }
sleep 2   # painted
mkdir -p "$(dirname "$out")"
import -display "$display" -window root "$out.full.png"
convert "$out.full.png" -crop "$crop" +repage "$out"
rm -f "$out.full.png"
echo "screenshot: $out"
