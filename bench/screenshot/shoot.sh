#!/usr/bin/env bash
# Takes a screenshot of a program's window under Xvfb, with the Chinese texts readable,
# keeps it as a test artefact and checks what it shows (check_shot.py).
#   shoot.sh WINE_ENV STANDIN_DLL OUT.png CROP WAIT_FOR -- PROGRAM.exe [ARGS...]
# The program runs in a prefix of its own (the x11 driver, no window decorations, Marlett),
# with the stand-in browser control registered, on the display SUITE_XVFB_DISPLAY (":106"
# unless set). WAIT_FOR is either a window title (the shot is taken once a window of that
# title exists) or "ready": the program is handed a file name in SUITE_SHOT_READY, writes
# its window's rectangle (WxH+X+Y) there once the window is ready, and ends when the file is
# removed after the shot. CROP is WxH+X+Y, or "window": the rectangle of the window waited
# for. SUITE_SHOT_PREFIX names the prefix's folder under the tree's wine/ ("prefix-shot").
# What the picture must show is the line of shots.txt named like OUT.png, with the items the
# program writes to the file named in SUITE_SHOT_REPORT; the shot fails unless it shows them.
# Exit 77 (skipped) when Xvfb or ImageMagick is missing.
set -euo pipefail
env_file=$1; dll=$2; out=$3; crop=$4; wait_for=$5; shift 5
[ "${1:-}" = "--" ] && shift
here=$(cd "$(dirname "$0")/.." && pwd)
for tool in Xvfb import convert xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
. "$env_file"
export WINEPREFIX_OVERRIDE="$SUITE_BINARY_DIR/wine/${SUITE_SHOT_PREFIX:-prefix-shot}"
. "$env_file"
display=${SUITE_XVFB_DISPLAY:-:106}
shot_name=$(basename "$out")
checks=$(awk -v name="$shot_name" '$1 == name { $1 = ""; print; found = 1 } END { exit !found }' \
  "$here/screenshot/shots.txt") || { echo "shots.txt says nothing of $shot_name"; exit 1; }

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
mkdir -p "$(dirname "$out")"
log="$out.log"
ready="$out.ready"
report="$out.report"
rm -f "$ready" "$report"
cleanup() {
  rm -f "$ready" "$report"
  # Ends the program's Wine session; again if the program was still starting.
  for _ in 1 2 3; do
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${program_pid:-}" ] || break
    for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break 2; sleep 0.1; done
  done
  wait "${program_pid:-}" 2>/dev/null || true
  [ -n "$started_x" ] && kill "$started_x" 2>/dev/null || true
}
trap cleanup EXIT
fail() {
  echo "$1"
  [ -s "$log" ] && sed 's/^/  | /' "$log"
  exit 1
}

# The rectangle (WxH+X+Y) of the first window titled $1 with a size, from the window tree.
window_rectangle() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" |
    sed -nE 's/.* ([0-9]+)x([0-9]+)[+-]-?[0-9]+[+-]-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+)$/\1x\2+\3+\4/p' |
    grep -vE '^(0|1)x|x(0|1)\+' | head -n1 || true
}

export DISPLAY=$display
[ "$wait_for" = ready ] && export SUITE_SHOT_READY=$(winepath -w "$ready" 2>/dev/null)
export SUITE_SHOT_REPORT=$(winepath -w "$report" 2>/dev/null)
"$here/standins/browser/with-browser.sh" "$env_file" "$dll" -- "$@" </dev/null >"$log" 2>&1 &
program_pid=$!
rectangle=
for _ in $(seq 600); do
  if [ "$wait_for" = ready ]; then
    [ -s "$ready" ] && { rectangle=$(cat "$ready"); break; }
  else
    rectangle=$(window_rectangle "$wait_for")
    [ -n "$rectangle" ] && break
  fi
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its window was ready"
  sleep 0.1
done
[ -n "$rectangle" ] || fail "no window ($wait_for) appeared"
if [ "$wait_for" = ready ]; then sleep 0.5; else sleep 2; fi   # painted
[ "$crop" = window ] && crop=$rectangle
import -display "$display" -window root "$out.full.png"
convert "$out.full.png" -crop "$crop" +repage "$out"
rm -f "$out.full.png"
if [ "$wait_for" = ready ]; then
  rm -f "$ready"   # the program ends its window and cleans up
  for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
fi
echo "screenshot: $out ($crop)"
"${SUITE_PYTHON:-python3}" "$here/screenshot/check_shot.py" "$out" $checks "@$report" ||
  fail "the screenshot does not show the window"
rm -f "$log"
