#!/usr/bin/env bash
# Download benchmark (not a test): one file from the fixture web in the private network
# namespace, fetched by curl and by the updater's DownloadUrlToFile under Wine in the same run;
# prints both throughputs, their ratio and the updater's peak memory. Run it for two sizes to
# see that the memory does not grow with the file.
#   bash bench/perf/download_bench.sh [BUILD_DIR (build/win64)] [MIB (256)]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build/win64}" && pwd)
mib=${2:-256}
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
curl_s=$(curl -s -o "$work/curl.bin" -w '%{time_total}' "$url")
cmp -s "$work/curl.bin" "$work/body.bin" || { echo "curl's copy differs"; exit 1; }
rm -f "$work/curl.bin"
line=$(wine "$BENCH_EXE" "$url" "Z:${work//\//\\}\\updater.bin" 2>/dev/null | tr -d '\r')
cmp -s "$work/updater.bin" "$work/body.bin" || { echo "the updater's copy differs: $line"; exit 1; }
echo "curl: $curl_s s; updater: $line"
INSIDE
chmod +x "$work/inside.sh"
out=$(BENCH_ENV="$build/bench/wine-env.sh" BENCH_WORK="$work" BENCH_EXE="$build/test-bin/download_bench.exe" \
  "$here/../netns-run.sh" "$build/bench/wine-env.sh" "$work/routes.json" -- "$work/inside.sh")
echo "$out"
python3 - "$mib" "$out" <<'PY'
import re, sys
mib = int(sys.argv[1]); out = sys.argv[2]
curl_s = float(re.search(r"curl: ([0-9.]+) s", out).group(1))
fields = dict(re.findall(r"(\w+)=([0-9a-fx.]+)", out))
upd_s = float(fields["seconds"])
size = mib * 1048576
print(f"file {mib} MiB: curl {size / curl_s / 1048576:.1f} MiB/s, updater {size / upd_s / 1048576:.1f} MiB/s, "
      f"ratio {curl_s / upd_s:.2f} (goal >= 0.8); updater peak working set "
      f"{int(fields['peak_working_set']) / 1048576:.1f} MiB, peak private {int(fields['peak_private']) / 1048576:.1f} MiB")
PY
