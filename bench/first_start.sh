#!/usr/bin/env bash
# Time from the README's start command to the calculator window, on a fresh Debian 12.
# Usage (as root): bench/first_start.sh <work folder> [commit, HEAD by default]
#
# The first run makes a minimal Debian 12 with debootstrap in <work folder>/clean (kept for
# later runs). Each run copies it afresh, copies the committed tree of this repository (or
# that of the given commit) into it and runs ./scripts/run.sh there, with nothing installed
# beyond debootstrap's base. The program opens its window on a virtual screen of this machine
# (Xvfb), playing the desktop of the fresh machine; xdotool watches for the window. Prints
# the milestones of the start command with their times, then the figure and the processor
# time that the command took (which the other work of a shared machine does not inflate).
set -euo pipefail
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <work folder> [commit]" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(realpath -m "$1")
clean=$work/clean
root=$work/run
mirror=http://deb.debian.org/debian

for tool in debootstrap Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (apt-get install debootstrap xvfb xdotool)" >&2; exit 2; }
done

if [ ! -x "$clean/bin/bash" ]; then
  rm -rf "$clean"
  debootstrap bookworm "$clean" "$mirror"
  # The sources of an installed Debian 12: the release, its updates and security updates.
  cat >"$clean/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
fi

# A run that was cut short may have left its mounts: never delete through them.
if grep -q " $root/" /proc/mounts; then
  echo "something is still mounted under $root" >&2
  exit 1
fi
rm -rf "$root"
cp -a "$clean" "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/root/zorvo"
git -C "$repo" archive "${2:-HEAD}" | tar -x -C "$root/root/zorvo"

# The virtual screen on a display number that no server holds.
display=77
while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
mounted=()
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

for dir in proc sys dev dev/pts tmp/.X11-unix; do
  mkdir -p "$root/$dir"
  mount --bind "/$dir" "$root/$dir"
  mounted+=("$root/$dir")
done

log=$work/run.log
# Each line of the start command with the seconds since it started.
stamp() {
  while IFS= read -r line; do
    printf '%7.1f  %s\n' "$(awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN { print a - b }')" "$line"
  done
}
start=$EPOCHREALTIME
chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb \
  LANG=C.UTF-8 DISPLAY=":$display" bash -c 'cd /root/zorvo && exec ./scripts/run.sh' \
  > >(stamp >"$log") 2>&1 &
program_pid=$!

shown=
limit=$((SECONDS + 1800))
while [ $SECONDS -lt $limit ]; do
  if DISPLAY=":$display" xdotool search --onlyvisible --name 'Калькулятор' >/dev/null 2>&1; then
    shown=$EPOCHREALTIME
    # The processor time of the whole command so far: the program's own and that of every
    # command it waited for (the shell that became the program kept their accounts).
    cpu=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%.0f", ($14 + $15 + $16 + $17) / hz }' \
      "/proc/$program_pid/stat")
    break
  fi
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.2
done
# Milestones: the end of the downloads, the configuration, the program's link.
grep -E 'Fetched |Configuring done|Linking CXX executable app/Zorvo_3$' "$log" || true
if [ -z "$shown" ]; then
  tail -n 30 "$log"
  echo "the calculator window did not appear" >&2
  exit 1
fi
awk -v a="$shown" -v b="$start" -v file="$log" \
  'BEGIN { printf "calculator window after %.1f s (log: %s)\n", a - b, file }'
echo "processor time of the command: $cpu s; load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
