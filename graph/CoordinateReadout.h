#pragma once
// The coordinates under the mouse that the graph window shows in its top strip: where the
// pointer stands on the bottom and left axes, and the plotted point of the series nearest to
// it, read from the chart's last paint. Nothing here evaluates the formula.

#include <QString>

class TChart;
class TChartSeries;

// Two lines, "x = …   y = …" and "f(…) = …", for the mouse at (x, y) in the chart's client
// coordinates; empty outside the plot rectangle or when `series` has no point. Numbers are
// written by FormatGeneral with the regional decimal separator; the pointer's own values are
// first rounded to the digits that tell one pixel from the next.
QString CoordinateReadout(const TChart& chart, const TChartSeries& series, int x, int y);
