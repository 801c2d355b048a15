#!/usr/bin/env bash
# A deliberate hunt: builds the fuzz preset and runs every harness (or the ones named)
# for SECONDS each (default 300), on JOBS cores at once (default 4). Each harness keeps
# its growing corpus in build/fuzz/hunt/<name>/corpus between hunts, starting from the
# seeds; what fails lands in build/fuzz/hunt/<name>/found. The repository's seeds are
# never written. Exits 1 when any harness found something.
# Usage: scripts/fuzz-hunt.sh [-t SECONDS] [-j JOBS] [name...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=300 jobs=4
while getopts "t:j:" opt; do
  case $opt in
    t) seconds=$OPTARG ;;
    j) jobs=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for src in fuzz/fuzz_*.cpp; do
    n=$(basename "$src" .cpp); names+=("${n#fuzz_}")
  done
fi

hunt() {
  local name=$1 dir=build/fuzz/hunt/$1
  mkdir -p "$dir/corpus" "$dir/found"
  [ -d "fuzz/corpus/$name" ] && cp -Rn "fuzz/corpus/$name/." "$dir/corpus/"
  # The harness's own input bound, without its run count.
  local opts
  opts=$(sed -n 's|^// fuzz-options:||p' "fuzz/fuzz_$name.cpp" | head -1 | tr ' ' '\n' | grep -- '-max_len=' || true)
  build/fuzz/fuzz/fuzz_"$name" $opts -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -report_slow_units=2 -print_final_stats=1 -artifact_prefix="$dir/found/" "$dir/corpus" >"$dir/log" 2>&1
}

status=0
pids=()
for name in "${names[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  hunt "$name" & pids+=("$!:$name")
done
for entry in "${pids[@]}"; do
  pid=${entry%%:*} name=${entry#*:}
  if wait "$pid"; then result=clean; else result="FOUND (see build/fuzz/hunt/$name)"; status=1; fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build/fuzz/hunt/$name/log")
  slow=$(sed -n 's/^stat::slowest_unit_time_sec: *//p' "build/fuzz/hunt/$name/log")
  printf '%-12s %-10s runs %-10s slowest input %ss\n' "$name" "$result" "${runs:-?}" "${slow:-?}"
done
exit $status
