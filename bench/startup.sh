#!/usr/bin/env bash
# Time from process start to the calculator window's first paint, on Qt's offscreen platform.
# Builds the probe build of the program (the same start-up, quitting after the first paint)
# and prints every run and the median. Usage: bench/startup.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
cmake -S . -B build/startup -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVO_BENCH=ON \
  -DZORVO_TESTS=OFF >/dev/null
cmake --build build/startup --target Zorvo_3_startup_probe >/dev/null
export QT_QPA_PLATFORM=offscreen LC_ALL=C
times=()
for ((i = 0; i < runs; i++)); do
  # The launch time is taken by the shell that then replaces itself with the program.
  line=$(bash -c 'exec build/startup/bench/Zorvo_3_startup_probe "$EPOCHREALTIME"' 2>/dev/null)
  times+=("$(echo "$line" | awk '{print $4}')")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {
  printf "runs %d, min %.1f ms, median %.1f ms, max %.1f ms\n", NR, a[1], a[int((NR+1)/2)], a[NR]}'
