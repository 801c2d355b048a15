#!/usr/bin/env bash
# Runs the benchmarks and writes their one table, with the machine and the date, to
# bench/perf/RESULTS.md. Each measure below prints table rows; add a measure by writing
# a function that prints rows with `row` and naming it in MEASURES.
#   scripts/bench.sh [ROUNDS]     (rounds of the resolve benchmark, 31 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-31}
results=bench/perf/RESULTS.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. scripts/wine-road.sh
step() { printf '== %s\n' "$*" >&2; }

# One table row: what, time, against, ratio, resolutions per second without the network.
row() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }

# Every site's resolution under Wine against its bare requests, beside the resolver's
# own speed on the host.
measure_sites() {
  step "building the host benchmarks (preset hostperf) and the $tree tree"
  cmake --preset hostperf >/dev/null && cmake --build --preset hostperf >/dev/null
  cmake --preset "$preset" -DSUITE_WINE_TESTS=ON >/dev/null && cmake --build --preset "$preset" >/dev/null
  local routes=() file
  while read -r file; do routes+=("$PWD/$file"); done < bench/perf/site_routes.txt
  step "the resolver alone, in process on the host"
  python3 bench/perf/flat_routes.py "$work/flat" "${routes[@]}"
  build/hostperf/bench/perf/sites_bench "$work/flat" > "$work/host.txt"
  step "resolution against its bare requests under Wine ($rounds rounds)"
  bench/wine-setup.sh "$tree/bench/wine-env.sh" >/dev/null
  bench/netns-run.sh "$tree/bench/wine-env.sh" "$(IFS=:; echo "${routes[*]}")" -- \
    "$tree/test-bin/resolve_bench.exe" "$rounds" > "$work/wine.txt"
  bench/wine-cleanup.sh "$tree/bench/wine-env.sh" >/dev/null 2>&1 || true
  cat "$work/wine.txt" >&2
  # Rows joined by site: the Wine run's medians and the host run's rate.
  awk -v host="$work/host.txt" '
    BEGIN { while ((getline line < host) > 0) { split(line, f, " "); if (f[1] != "site") rate[f[1]] = f[4] } }
    $1 == "site" { next }
    $1 == "worst:" { worst = $2 " at " $4; next }
    NF >= 6 { printf "| %s (%d page%s, %d requests) | %.2f ms | %.2f ms, its bare requests | %.2f | %s |\n",
                     $1, $2, ($2 == 1 ? "" : "s"), $3, $4, $5, $6, ($1 in rate ? rate[$1] : "") }
    END { if (worst) printf "| worst site: %s | | | | |\n", worst }' "$work/wine.txt"
}

# The updater's download against curl: a benchmark of the updater's own, in bench/perf/.
# The updater's DownloadUrlToFile against curl on the same file, beside bare WinHTTP, WinINet
# and Winsock loops in the same Wine process (Winsock also with WinHTTP's 8 KiB socket reads):
# at 256 MiB every road, whole and after the first byte (the fixture server builds its whole
# reply first); at 32 MiB the updater alone, so that the peak memory shows whether it grows
# with the file.
measure_download() {
  local mib out curl road rate ratio after after_ratio remark
  for mib in 256 32; do
    step "the updater's download of $mib MiB against curl and bare WinHTTP, WinINet and Winsock loops"
    out=$(bash bench/perf/download_bench.sh "$tree" "$mib" | grep -E "^(result|server)")
    curl=$(awk -F'\t' '$2 == "curl" { print $3 " MiB/s (" $5 ")" }' <<<"$out")
    while IFS=$'\t' read -r _ road rate ratio after after_ratio remark; do
      [ "$road" = curl ] && continue
      [ "$mib" = 32 ] && [ "$road" != updater ] && continue
      row "$mib MiB download: $road${remark:+ ($remark)}" "$rate MiB/s ($after after the first byte)" \
        "curl, $curl" "$ratio ($after_ratio)" ""
    done < <(grep "^result" <<<"$out")
    [ "$mib" = 32 ] && continue
    awk -F'\t' -v mib="$mib" '$1 == "server" {
      printf "| %s MiB download: the fixture server before its first byte | %s s | curl\047s whole download, %s s | %.2f |  |\n", mib, $2, $3, $2 / $3 }' <<<"$out"
  done
}

# The main job's run time, its trees already built.
measure_main_job() {
  step "the main job"
  local started menu portal
  started=$(date +%s%N)
  bash scripts/main-job.sh > "$work/main-job.txt" 2>&1 || { cat "$work/main-job.txt" >&2; return 1; }
  menu=$(grep -c 'the menu over a link to' "$work/main-job.txt" || true)
  portal=$(grep -c 'the portal navigates to' "$work/main-job.txt" || true)
  row "main job (scripts/main-job.sh: $menu links from the context menu and $portal from pelorama's portal to the player, one update)" \
    "$(seconds_since "$started") s" "" "" ""
}

MEASURES=(measure_sites measure_download measure_main_job)

: > "$work/rows"
for measure in "${MEASURES[@]}"; do "$measure" >> "$work/rows"; done

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
road_text="the shipped 32-bit build under Wine"
[ $road = 64 ] && road_text="the x86-64 test build under 64-bit Wine: $why"
{
  echo "# Benchmark results"
  echo
  echo "Written by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo "Machine: ${cpu:-unknown processor}, $(nproc) processors, $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo),"
  echo "$(uname -sr), $(. "$tree/bench/wine-env.sh"; wine --version 2>/dev/null || echo 'Wine'), load average $(cut -d' ' -f1-3 /proc/loadavg) at the end."
  echo "Windows side: $road_text."
  echo
  echo "Resolution: \`FLV_GetFlvUrlDirectlyW\` on each fixture page of a site, timed against exactly the"
  echo "requests it makes, sent with plain WinINet calls, in one process on the private fixture web;"
  echo "medians of $rounds interleaved rounds (bench/perf/resolve_bench.cpp). Resolutions per second:"
  echo "the host build's resolver over the fixture web's responses in process (bench/perf/sites_bench.cpp)."
  echo "Downloads: one file fetched by curl, then in one Wine process by the updater and by bare WinHTTP,"
  echo "WinINet and Winsock loops (Winsock also with 8 KiB reads, the size WinHTTP reads its socket in"
  echo "under Wine), medians of 3 rounds (bench/perf/download_bench.sh); \"after the first byte\" leaves"
  echo "out the time the fixture server takes to build its reply before it sends any."
  echo
  echo "| what | time | against | ratio | resolutions/s without the network |"
  echo "|---|---|---|---|---|"
  cat "$work/rows"
} > "$results"
step "wrote $results"
