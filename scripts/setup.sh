#!/usr/bin/env bash
# Installs every package the project needs, builds all deliverables into build/win/bin, and
# ends by running the main job on the private fixture web (not when SUITE_NO_MAIN_JOB=1).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset host >/dev/null
cmake --build --preset host
echo "Deliverables:"; ls -1 build/win/bin
if [ "${SUITE_NO_MAIN_JOB:-}" != 1 ]; then
  echo
  bash scripts/main-job.sh
fi
