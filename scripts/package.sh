#!/usr/bin/env bash
# Builds the Debian package build/package/zorvo_<version>_<architecture>.deb from the release
# build in build/release (the tree that ./scripts/run.sh builds too). Runs as root on
# Debian 12 and installs what is missing first. Install the package with
#   apt install ./build/package/zorvo_3.0.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh package
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVO_TESTS=OFF
cmake --build build/release -j "$(nproc)"
rm -rf build/package
cpack --config build/release/CPackConfig.cmake -B build/package
# Only the package stays: CPack's staging folder is of no further use.
rm -rf build/package/_CPack_Packages
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning build/package/*.deb
fi
ls -l build/package/*.deb
