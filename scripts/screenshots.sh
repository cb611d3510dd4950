#!/usr/bin/env bash
# Takes the README's pictures of the three windows on a virtual screen, the way a user gets
# there: types a formula, calculates, opens the graph window, plots on an interval and asks
# to solve f(x) = 0. Writes docs/calculator.png, docs/graph.png and docs/tolerance.png, and
# for a look at Qt's own Russian texts build/screenshots/solution.png,
# yes-no.png and file-dialog.png. Runs as root on Debian 12 (installs what is missing).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${ZORVO_ON_VIRTUAL_SCREEN:-}" ]; then
  ./scripts/install-deps.sh test
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVO_TESTS=OFF >/dev/null
  cmake --build build/release -j "$(nproc)" --target Zorvo_3
  # A screen of its own (-a picks a free display number) at the usual 96 dots per inch.
  ZORVO_ON_VIRTUAL_SCREEN=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi

mkdir -p docs build/screenshots
export LC_ALL=C.UTF-8
program=build/release/app/Zorvo_3
"$program" >build/screenshots/program.log 2>&1 &
program_pid=$!
trap 'kill "$program_pid" 2>/dev/null || true' EXIT

. scripts/virtual-screen-windows.sh
# Left click at a point of a window, given in the window's own pixels.
click() {
  xdotool mousemove --sync --window "$1" "$2" "$3" click 1
  sleep 0.3
}
# Replaces the text of the edit box at a point of a window.
retype() {
  click "$1" "$2" "$3"
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 20 -- "$4"
  sleep 0.2
}
shot() {
  sleep 0.6
  # Without the time chunks, a picture that did not change stays the same file.
  import -window "$1" -define png:exclude-chunks=date,time "$2"
  echo "wrote $2"
}

# The calculator: a formula with a comment, x = 2.5, six fraction digits.
calc=$(window "Калькулятор")
sleep 1
click "$calc" 200 70
xdotool type --delay 20 "x*x*x-2*x-5;"
click "$calc" 200 170
xdotool type --delay 20 "Кубическое уравнение: один корень между 2 и 3"
retype "$calc" 150 228 "2.5"
retype "$calc" 252 253 "6"
click "$calc" 345 229 # «Посчитать»
shot "$calc" docs/calculator.png

# The graph window from the menu; the formula plotted on [-3; 3].
click "$calc" 150 7
graph=$(window "ВЫЗЫВАЙТЕ")
sleep 1
# The graph window's buttons sit at its right edge, wherever the screen's density puts it.
gw=$(xdotool getwindowgeometry --shell "$graph" | sed -n 's/^WIDTH=//p')
retype "$graph" 75 10 "-3"
retype "$graph" 200 10 "3"
click "$graph" $((gw - 95)) 10 # "Рисовать (перерисовать) график"
xdotool mousemove 0 0
shot "$graph" docs/graph.png

# Solving: the tolerance dialog, then the root in a message box.
click "$graph" $((gw - 42)) 10 # "Решить уравнение  f ( x ) = 0"
dialog=$(window "методом дихотомии")
shot "$dialog" docs/tolerance.png
xdotool key Return
sleep 0.8
message=$(xdotool search --onlyvisible --name "Zorvo_3" | tail -n 1)
shot "$message" build/screenshots/solution.png
xdotool key Return
sleep 0.5

# A formula that fails on the interval: after the error the plotting asks whether to stop
# (Yes/No, in Russian).
click "$graph" $((gw - 15)) 10 # "Выход"
calc=$(window "Калькулятор")
click "$calc" 200 70
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 20 "LN(x);"
click "$calc" 150 7
sleep 1.5
xdotool key Return # the error message of the first point
sleep 0.8
question=$(xdotool search --onlyvisible --name "Zorvo_3" | tail -n 1)
shot "$question" build/screenshots/yes-no.png
xdotool key Return # Yes: stop plotting
sleep 0.5
graph=$(window "ВЫЗЫВАЙТЕ")
click "$graph" $((gw - 15)) 10

# The file dialog speaks Russian too.
calc=$(window "Калькулятор")
click "$calc" 25 7
xdotool key Down Down Return
sleep 1.5
import -window root build/screenshots/file-dialog.png
echo "wrote build/screenshots/file-dialog.png"
xdotool key Escape
sleep 0.3
