# Sourced by the install checks: skip when a tool is missing, fail with a reason.

# Exits 77 (skipped) unless every named tool is installed.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "$tool is not installed (scripts/install-deps.sh test installs it)"
      exit 77
    fi
  done
}

fail() {
  echo "FAIL: $*"
  exit 1
}
