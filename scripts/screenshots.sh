#!/usr/bin/env bash
# Saves screenshots of the system's windows under Xvfb, with their Chinese texts, into
# build/screenshots/: pelorama's window, its wait dialog with a portal's link held, the
# agent's welcome window with its link held, and the updater's progress dialog. Each window
# runs with the stand-in browser control and is held for its shot (bench/screenshot).
#   scripts/screenshots.sh
# SUITE_XVFB_DISPLAY picks the (free) display of the virtual screen, ":99" unless set.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-road.sh
folder=build/screenshots
display=${SUITE_XVFB_DISPLAY:-:99}

missing=()
for tool in Xvfb xdpyinfo xwininfo import convert; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if command -v fc-list >/dev/null && [ -z "$(fc-list :lang=zh family 2>/dev/null)" ]; then
  missing+=("a Chinese font")
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "screenshots.sh: missing ${missing[*]}: run scripts/install-deps.sh first." >&2
  exit 1
fi
if xdpyinfo -display "$display" >/dev/null 2>&1; then
  echo "screenshots.sh: display $display is in use; set SUITE_XVFB_DISPLAY to a free one (e.g. :98)." >&2
  exit 1
fi

if [ $road = 64 ]; then
  echo "The windows run from the x86-64 test build under 64-bit Wine: $why."
fi
echo "== building $tree (preset $preset)"
if ! grep -q '^SUITE_WINE_TESTS:BOOL=ON' "$tree/CMakeCache.txt" 2>/dev/null; then
  cmake --preset "$preset" -DSUITE_WINE_TESTS=ON >/dev/null
fi
cmake --build --preset "$preset" --target pelorama updater updater_dialog_view shot_hold browser_standin >/dev/null
if [ ! -f "$tree/wine/prefix/.suite-ready" ]; then
  echo "== making the Wine prefixes and locales of $tree"
  bench/wine-setup.sh "$tree/bench/wine-env.sh" >/dev/null
  bench/wine-cleanup.sh "$tree/bench/wine-env.sh" >/dev/null 2>&1 || true
fi

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo -display "$display" >/dev/null 2>&1 || { echo "screenshots.sh: Xvfb did not start on $display" >&2; exit 1; }
export SUITE_XVFB_DISPLAY=$display
# A prefix of this command's own, apart from the one the screenshot tests share.
export SUITE_SHOT_PREFIX=prefix-screenshots
mkdir -p "$folder"
rm -f "$folder"/*.png

tree=$PWD/$tree
env_file=$tree/bench/wine-env.sh
standin=$tree/test-bin/browser_standin.dll
# shot NAME.png WHAT WAIT_FOR PROGRAM [ARGS...]: one shot, one line.
shot() {
  local name=$1 what=$2 wait_for=$3 said
  shift 3
  if ! said=$(bench/screenshot/shoot.sh "$env_file" "$standin" "$PWD/$folder/$name" window "$wait_for" -- "$@" 2>&1); then
    echo "screenshots.sh: no shot of $what:" >&2
    printf '%s\n' "$said" >&2
    exit 1
  fi
  printf '  %-18s %s (%s)\n' "$name" "$what" "$(printf '%s' "$said" | sed -n 's/.*(\([0-9]*x[0-9]*\)+.*/\1/p')"
}
echo "== screenshots under Xvfb $display"
shot pelorama.png "pelorama's window with its welcome page" 精彩视频 "$tree/bin/pelorama.exe"
shot wait-dialog.png "pelorama's wait dialog, a portal's zflv://play/src= link held" ready "$tree/test-bin/shot_hold.exe" wait
shot agent-welcome.png "the agent's welcome window at its size, its link held" ready "$tree/test-bin/shot_hold.exe" agent
shot updater.png "the updater's progress dialog mid-download" 澜影更新程序 "$tree/test-bin/updater_dialog_view.exe" "$tree/bin/updater.exe"
echo "Screenshots in $folder/"
