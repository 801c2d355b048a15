#!/usr/bin/env bash
# The system's main job on its embedded default, the private fixture web: the road of a link
# from the browser's context menu to the player for one page of each site of the agent's site
# table, pelorama's portal handing links to the player behind its wait dialog, and the updater
# installing a newer build, with a line per step, a table of what the player received and the
# updater's list, then a line for each difference from what was due (bench/mainjob/due_table.h),
# which fails it. Made of the bench's pieces (bench/mainjob/main_job.cpp); each road is a step
# there, run in one private network with the stand-in browser control registered.
#   scripts/main-job.sh [STEP...]     (no step: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s%N)
. scripts/wine-road.sh
if [ $road = 64 ]; then
  echo "The main job runs on the x86-64 test build under 64-bit Wine: $why."
fi
echo "== building $tree (preset $preset)"
if ! grep -q '^SUITE_WINE_TESTS:BOOL=ON' "$tree/CMakeCache.txt" 2>/dev/null; then
  cmake --preset "$preset" -DSUITE_WINE_TESTS=ON >/dev/null
fi
cmake --build --preset "$preset" --target main_job >/dev/null
if [ ! -f "$tree/wine/prefix-net/.suite-ready" ] || [ ! -f "$tree/wine/prefix/.suite-ready" ]; then
  echo "== making the Wine prefixes of $tree"
  bench/wine-setup.sh "$tree/bench/wine-env.sh" >/dev/null
  bench/wine-cleanup.sh "$tree/bench/wine-env.sh" >/dev/null 2>&1 || true
fi
routes=$( (sed "s|^|$PWD/|" bench/perf/site_routes.txt; echo "$PWD/bench/mainjob/routes.json") | paste -sd:)
echo "== the fixture web serves every site's pages; the job runs inside it"
rc=0
bench/netns-run.sh "$tree/bench/wine-env.sh" "$routes" -- \
  bench/standins/browser/with-browser.sh "$tree/bench/wine-env.sh" "$tree/test-bin/browser_standin.dll" -- \
  "$tree/test-bin/main_job.exe" "$@" || rc=$?
echo "== main job run time: $(seconds_since "$started") s"
exit $rc
