#!/usr/bin/env bash
# Runs one harness a bounded number of times over a scratch copy of its seed corpus, so
# that what it adds stays out of the repository. A crash, a leak or one input that
# takes more than 10 s fails the run; what failed is kept in the scratch folder.
# Usage: run-bounded.sh HARNESS SEED_DIR SCRATCH_DIR [libFuzzer options...]
set -euo pipefail
harness=$1 seeds=$2 scratch=$3
shift 3
rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/found"
if [ -d "$seeds" ]; then
  cp -R "$seeds/." "$scratch/corpus/"
fi
exec "$harness" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$scratch/found/" "$@" \
  "$scratch/corpus"
