#!/usr/bin/env bash
# Builds every libFuzzer program with clang, and nothing else: CI only
# builds them, so that the tree stays buildable with the compiler fuzzing
# needs (their corpora are replayed by the ordinary test run). To fuzz, run
# a program on a scratch copy of its corpus (see the fuzz/CMakeLists.txt
# files).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DBEACONMILL_FUZZ=ON -DBEACONMILL_TESTS=OFF -DBEACONMILL_BENCH=OFF
cmake --build "$build" --target fuzz_targets "$@"
