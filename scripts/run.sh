#!/usr/bin/env bash
# Installs the packages that are missing, builds the program and starts it.
# The program's exit status is the script's: 0 after a normal close or a
# stop by signal, 1 when start-up failed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/packages.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBEACONMILL_TESTS=OFF
cmake --build "$build"
# A fresh machine has no shop database: give the program the demo one.
config_dir=${BEACONMILL_CONFIG:-${XDG_CONFIG_HOME:-$HOME/.config}/beaconmill}
default_db=${XDG_DATA_HOME:-$HOME/.local/share}/beaconmill/Pellworth11.db
if ! grep -qi '^\[Pellworth11\]' "$config_dir/aliases.ini" 2>/dev/null && [ ! -e "$default_db" ]; then
    bash db/make-demo-db.sh
fi
exec "$build/alert/beaconmill" "$@"
