# Sourced by the screenshot scripts: finding the program's windows on the virtual screen.

# The visible window whose title matches; waits up to ten seconds for it.
window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window \"$1\" appeared" >&2
  exit 1
}
