#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for the given number
# of seconds (default 25) over its committed seed corpus. Any crash, hang or leak fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORVO_FUZZ=ON -DZORVO_TESTS=OFF -DZORVO_GUI=OFF
cmake --build build/fuzz -j "$(nproc)"
shopt -s nullglob
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "-- $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 "$work" 2>&1 | tail -n 12
  rm -rf "$work"
done
