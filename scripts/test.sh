#!/usr/bin/env bash
# Builds and runs every test: a warnings-as-errors build with the benchmarks compiled,
# the unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer, and a short
# run of every fuzz target. Installs what is missing first (Debian 12, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh test

jobs=$(nproc)
stage() { echo "== $1 (at ${SECONDS} s)"; }
export QT_QPA_PLATFORM=offscreen

stage "build with -Werror, run the tests"
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVO_WERROR=ON -DZORVO_BENCH=ON
cmake --build build/ci -j "$jobs"
ctest --test-dir build/ci --output-on-failure -j "$jobs"

stage "the tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZORVO_SANITIZE=ON -DZORVO_WERROR=ON
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

stage "fuzz targets, a short run each"
./scripts/fuzz.sh 20
stage "done"
