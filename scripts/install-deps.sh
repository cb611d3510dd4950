#!/usr/bin/env bash
# Installs the Debian packages that a task needs; does nothing when they are all there.
# Runs as root on Debian 12. Usage: scripts/install-deps.sh [run|package|test]
#   run      building and running the program (the default): compiler, CMake, Ninja, Qt 6
#            with its svg module and translations, the fonts the windows are laid out for;
#   package  run, and what the Debian package is built with (scripts/package.sh);
#   test     package, and everything the tests, benchmarks and fuzzers use (scripts/test.sh).
set -euo pipefail
task=${1:-run}
run=(
  g++ cmake ninja-build
  qt6-base-dev libgl-dev qt6-svg-dev qt6-translations-l10n
  fonts-liberation fonts-dejavu-core
)
# dpkg-shlibdeps (dpkg-dev) computes the package's Depends; CPack finds the program with file.
package=(dpkg-dev file)
test=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick xdotool
  qt6-base-private-dev
  dbus at-spi2-core python3-pyatspi
  desktop-file-utils appstream shared-mime-info libxml2-utils lintian
)
case $task in
  run) packages=("${run[@]}") ;;
  package) packages=("${run[@]}" "${package[@]}") ;;
  test) packages=("${run[@]}" "${package[@]}" "${test[@]}") ;;
  *) echo "usage: $0 [run|package|test]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
