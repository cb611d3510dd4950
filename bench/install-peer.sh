#!/usr/bin/env bash
# Installs the peer chart library that bench_chart_ratio paints beside the chart (Debian's
# Qt 6 build of QCustomPlot). Kept out of the project's own setup: the package pulls in Qt 5
# development packages that neither the program nor its tests need. Runs as root.
set -euo pipefail
if [ -e /usr/include/qcustomplot.h ] && ls /usr/lib/*/libQCustomPlotQt6.so >/dev/null 2>&1; then
  exit 0
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends libqcustomplot-dev
