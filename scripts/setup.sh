#!/usr/bin/env bash
# Installs every package the project needs and builds all deliverables into build/win/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset host >/dev/null
cmake --build --preset host
echo "Deliverables:"; ls -1 build/win/bin
