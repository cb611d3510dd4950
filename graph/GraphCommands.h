#pragma once
// The two commands of the graph window: plotting the formula over [XMin, XMax] and solving
// f(x) = 0 there. They take the window's field texts and act on the chart's series, so they
// run without the window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class GraphHost;
class TChartSeries;

// The interval of the last plotting or solving, as last parsed from the fields "X min" and
// "X max" (a failed parse leaves what ParseReal gave). One pair for the whole process.
extern long double XMin;
extern long double XMax;
// The number of intervals plus one that a plotting aims at (set to 400 at every sampling).
extern std::int32_t GraphPointCount;

// Empties `series`, runs the calculation command, checks the formula and the interval and
// adds the formula's values at 400 or 401 evenly spaced abscissas from XMin; shows its own
// messages and, after a point whose evaluation failed, asks whether to stop. Raises EOverflow
// (or EInvalidOp) when the interval lies beyond the range of a double.
void PlotGraph(GraphHost& host, std::string_view xMinText, std::string_view xMaxText,
               TChartSeries& series);

// Asks for the tolerance, checks that f changes its sign between XMin and XMax, bisects and
// shows «X1 = …, f(X1)= …», or the message that says why it cannot. Returns the solution's
// text as it was shown, or nothing when there is none.
std::optional<std::string> SolveEquation(GraphHost& host, std::string_view xMinText,
                                         std::string_view xMaxText);
