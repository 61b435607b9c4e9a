#!/usr/bin/env bash
# Installs the packages, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/packages.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBEACONMILL_TESTS=OFF
cmake --build "$build"
if [ -x "$build/alert/beaconmill" ]; then
    exec "$build/alert/beaconmill" "$@"
fi
echo "Built the libraries; the beaconmill program is not part of the build yet."
