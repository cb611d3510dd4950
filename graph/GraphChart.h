#pragma once
// The graph window's chart settings: the one configuration that the window, its tests and the
// chart benchmarks all use.

class TChart;
class TLineSeries;

// Gives `chart` the graph window's settings (aqua panel without a bevel, margins of 1 %, no
// legend, a flat view, the empty underlined title line) with the title font carried to the
// screen by `scale` (1 at the 120 pixels per inch the window was designed at), and adds the
// blue line series Series1 on the bottom axis and both vertical axes. Returns Series1.
TLineSeries* SetUpGraphChart(TChart& chart, double scale);
