#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for the given number
# of seconds (default 25), as many at once as there are cores. Each target starts from its
# committed seeds (fuzz/corpus/<name>) and from every crash or slow input ever found
# (fuzz/regressions/<name>), which it runs first, so a fixed fault stays fixed. Any crash,
# hang or leak fails the run; the input that caused it is kept in build/fuzz/findings/ and
# belongs in fuzz/regressions/<name>/ once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORVO_FUZZ=ON -DZORVO_TESTS=OFF -DZORVO_GUI=OFF
cmake --build build/fuzz -j "$(nproc)"

mkdir -p build/fuzz/findings
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# One target over a scratch copy of its corpus; its output goes to a log, and a failure
# leaves a marker that the summary below reports.
run_target() {
  local target=$1 name corpus work
  name=$(basename "$target")
  corpus=fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  # New inputs go to the first folder only: the committed ones stay as they are.
  local folders=("$work")
  [ -d "fuzz/regressions/${name#fuzz_}" ] && folders+=("fuzz/regressions/${name#fuzz_}")
  if ! "$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build/fuzz/findings/${name#fuzz_}-" \
      "${folders[@]}" >"$logs/$name.log" 2>&1; then
    touch "$logs/$name.failed"
  fi
  rm -rf "$work"
}

shopt -s nullglob
parallel=$(nproc)
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do sleep 1; done
  echo "-- $(basename "$target") for ${seconds}s"
  run_target "$target" &
done
wait

failed=0
for log in "$logs"/*.log; do
  name=$(basename "$log" .log)
  if [ -e "$logs/$name.failed" ]; then
    echo "== $name FAILED"
    tail -n 60 "$log"
    failed=1
  else
    echo "-- $name: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs, no finding"
  fi
done
exit "$failed"
