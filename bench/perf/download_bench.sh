#!/usr/bin/env bash
# Download benchmark (not a test): one file from the fixture web in the private network
# namespace, fetched in each round by curl and then, in one Wine process (download_bench.exe),
# by the updater's DownloadUrlToFile and by bare WinHTTP, WinINet and Winsock loops, the last
# also with 8 KiB reads, the size WinHTTP reads its socket in under Wine; every copy is checked
# against the file. Prints each round, then the medians: throughputs of the whole download and
# of what follows the first byte (the fixture server builds its whole reply before it sends
# any), their ratios to curl, the updater's against bare WinHTTP, and the updater's peak memory
# (the largest of the rounds). Run it for two sizes to see that the memory does not grow with
# the file.
#   bash bench/perf/download_bench.sh [BUILD_DIR (build/win64)] [MIB (256)] [ROUNDS (3)]
# The last lines are for scripts/bench.sh, tab-separated: one a road,
#   result, road, MiB/s, ratio to curl, MiB/s after the first byte, its ratio to curl, remark
# and the server's: server, seconds to curl's first byte, seconds of curl's whole download.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build/win64}" && pwd)
mib=${2:-256}
rounds=${3:-3}
work=$(mktemp -d /tmp/download-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
head -c $((mib * 1048576)) /dev/urandom > "$work/body.bin"
cat > "$work/routes.json" <<JSON
[{"host": "service.qelplayer.net", "path": "/bench/body.bin", "body_file": "body.bin"}]
JSON
cat > "$work/inside.sh" <<'INSIDE'
#!/usr/bin/env bash
set -euo pipefail
. "$BENCH_ENV"
work=$BENCH_WORK url=http://service.qelplayer.net/bench/body.bin
for round in $(seq 1 "$BENCH_ROUNDS"); do
  curl_s=$(curl -s -o "$work/curl.bin" -w '%{time_total} %{time_starttransfer}' "$url")
  cmp -s "$work/curl.bin" "$work/body.bin" || { echo "curl's copy differs"; exit 1; }
  rm -f "$work/curl.bin"
  echo "round $round curl: seconds=${curl_s% *} first=${curl_s#* }"
  wine "$BENCH_EXE" "$url" "Z:${work//\//\\}" 2>/dev/null | tr -d '\r' > "$work/lines" || true
  while read -r line; do
    road=${line%%:*}
    cmp -s "$work/$road.bin" "$work/body.bin" || { echo "the $road copy differs: $line"; exit 1; }
    rm -f "$work/$road.bin"
    echo "round $round $line"
  done < "$work/lines"
done
INSIDE
chmod +x "$work/inside.sh"
out=$(BENCH_ENV="$build/bench/wine-env.sh" BENCH_WORK="$work" BENCH_ROUNDS="$rounds" \
  BENCH_EXE="$build/test-bin/download_bench.exe" \
  "$here/../netns-run.sh" "$build/bench/wine-env.sh" "$work/routes.json" -- "$work/inside.sh")
echo "$out"
python3 - "$mib" "$rounds" "$out" <<'PY'
import re, statistics, sys
mib, rounds, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
names = {"curl": "curl", "updater": "updater", "winhttp": "bare WinHTTP", "wininet": "bare WinINet",
         "winsock": "bare Winsock", "winsock8k": "bare Winsock with 8 KiB reads"}
whole, after, first, peaks = {}, {}, {}, {"ws": [], "private": [], "before": []}
for m in re.finditer(r"^round \d+ (\w+): (.*)$", out, re.M):
    fields = dict(re.findall(r"(\w+)=([0-9a-fx.]+)", m.group(2)))
    seconds, to_first = float(fields["seconds"]), float(fields["first"])
    whole.setdefault(m.group(1), []).append(seconds)
    after.setdefault(m.group(1), []).append(seconds - to_first)
    first.setdefault(m.group(1), []).append(to_first)
    if "peak_working_set" in fields:
        peaks["ws"].append(int(fields["peak_working_set"]))
        peaks["private"].append(int(fields["peak_private"]))
        peaks["before"].append(int(fields["working_set_before"]))
missing = [road for road in names if len(whole.get(road, [])) != rounds]
if missing:
    sys.exit(f"no time from {', '.join(missing)} in every round")
rate = {road: mib / statistics.median(whole[road]) for road in names}
rate_after = {road: mib / max(statistics.median(after[road]), 1e-3) for road in names}
ws, private = max(peaks["ws"]) / 1048576, max(peaks["private"]) / 1048576
growth = max(p - b for p, b in zip(peaks["ws"], peaks["before"])) / 1048576
print(f"file {mib} MiB, medians of {rounds} rounds: MiB/s of the whole download (ratio to curl); "
      "MiB/s after the first byte (ratio to curl); seconds to the first byte")
for r in names:
    print(f"  {names[r]:25s} {rate[r]:7.1f} ({rate[r] / rate['curl']:.2f}); {rate_after[r]:7.1f} "
          f"({rate_after[r] / rate_after['curl']:.2f}); {statistics.median(first[r]):.2f} s")
# Against bare WinHTTP round by round: the two run one after the other in one process.
of_winhttp = statistics.median(w / u for u, w in zip(whole["updater"], whole["winhttp"]))
floor = of_winhttp >= 0.9
print(f"updater: {rate['updater'] / rate['curl']:.2f} of curl (goal >= 0.8), {of_winhttp:.2f} of bare WinHTTP"
      + (" (at what WinHTTP allows here" + (", itself below the goal)" if rate["winhttp"] < 0.8 * rate["curl"]
                                            else ")") if floor else "")
      + f"; peak working set {ws:.1f} MiB ({growth:.1f} MiB over the process's as the download began), "
      f"peak private {private:.1f} MiB")
print(f"the fixture server's reply starts after {statistics.median(first['curl']):.2f} s of curl's "
      f"{statistics.median(whole['curl']):.2f} s")
for road in names:
    remark = ""
    if road == "updater":
        remark = (f"{of_winhttp:.2f} of bare WinHTTP{', at its floor' if floor else ''}; peak working set {ws:.1f} MiB, "
                  f"{growth:.1f} MiB over the start")
    print("\t".join(["result", names[road], f"{rate[road]:.1f}", f"{rate[road] / rate['curl']:.2f}",
                     f"{rate_after[road]:.1f}", f"{rate_after[road] / rate_after['curl']:.2f}", remark]))
print(f"server\t{statistics.median(first['curl']):.2f}\t{statistics.median(whole['curl']):.2f}")
PY
