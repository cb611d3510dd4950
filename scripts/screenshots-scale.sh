#!/usr/bin/env bash
# Pictures of the graph window at screen scales 1, 1.5 and 2 (QT_SCALE_FACTOR on a virtual
# screen at 96 dots per inch): docs/graph-scale1.png, docs/graph-scale1.5.png and
# docs/graph-scale2.png, to see that the chart is drawn at the screen's resolution. Runs as root
# on Debian 12; ZORVO_PROGRAM names an already built program (otherwise a release build is
# made).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${ZORVO_ON_VIRTUAL_SCREEN:-}" ]; then
  if [ -z "${ZORVO_PROGRAM:-}" ]; then
    ./scripts/install-deps.sh
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVO_TESTS=OFF >/dev/null
    cmake --build build/release -j "$(nproc)" --target Zorvo_3
  fi
  ZORVO_ON_VIRTUAL_SCREEN=1 exec xvfb-run -a -s "-screen 0 1600x1200x24 -dpi 96" "$0" "$@"
fi

program=${ZORVO_PROGRAM:-build/release/app/Zorvo_3}
mkdir -p docs build/screenshots
export LC_ALL=C.UTF-8

. scripts/virtual-screen-windows.sh

for scale in 1 1.5 2; do
  # A point given in the window's logical pixels, in the screen's pixels.
  px() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }'; }
  click() {
    xdotool mousemove --sync --window "$1" "$(px "$2")" "$(px "$3")" click 1
    sleep 0.3
  }
  retype() {
    click "$1" "$2" "$3"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 -- "$4"
    sleep 0.2
  }
  QT_SCALE_FACTOR=$scale "$program" >"build/screenshots/program-$scale.log" 2>&1 &
  program_pid=$!
  calc=$(window "Калькулятор")
  sleep 1
  click "$calc" 200 70
  xdotool type --delay 20 "x*x*x-2*x-5;"
  click "$calc" 150 7 # the graph window from the menu
  graph=$(window "ВЫЗЫВАЙТЕ")
  sleep 1
  gw=$(xdotool getwindowgeometry --shell "$graph" | sed -n 's/^WIDTH=//p')
  gw=$(awk -v v="$gw" -v s="$scale" 'BEGIN { printf "%d", v / s }')
  retype "$graph" 75 10 "-3"
  retype "$graph" 200 10 "3"
  click "$graph" $((gw - 95)) 10 # "Рисовать (перерисовать) график"
  xdotool mousemove 0 0
  sleep 0.6
  import -window "$graph" -define png:exclude-chunks=date,time "docs/graph-scale$scale.png"
  echo "wrote docs/graph-scale$scale.png"
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
done
