#pragma once
// One axis of the chart: the range it covers (from the series attached to it, or fixed by the
// user), its labels, where it lies on the chart, the mapping between values and pixels along
// it, and the drawing of its labels, line, ticks and grid.

#include "AxisLabels.h"
#include "ChartTools.h"
#include "ChartTypes.h"
#include "Exceptions.h"

#include <span>
#include <string>
#include <vector>

class TChart;
class TChartSeries;

// A refused axis setting ("Axis increment must be >= 0", ...).
class AxisException : public Exception {
public:
    using Exception::Exception;
};

enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// The title beside an axis; it takes room only when it has a caption.
struct TChartAxisTitle {
    std::string Caption;
    TChartFont Font;
    int Angle = 0;
};

class TChartAxis {
public:
    // An axis of `parentChart` (may be null for an axis used on its own, e.g. for mapping).
    // The list order of a chart is bottom (horizontal), top (horizontal, otherSide),
    // left, right (otherSide), depth (horizontal, otherSide, depth).
    TChartAxis(TChart* parentChart, bool horizontal, bool otherSide, bool depth = false);

    TChart* ParentChart() const { return m_chart; }
    bool Horizontal() const { return m_horizontal; }
    bool OtherSide() const { return m_otherSide; }
    bool IsDepthAxis() const { return m_depth; }

    // --- range (published) ---------------------------------------------------------------
    bool Automatic = true;        // both ends follow the data
    bool AutomaticMaximum = true; // the upper end follows the data
    bool AutomaticMinimum = true; // the lower end follows the data
    double Maximum = 0;           // overwritten by the automatic computation
    double Minimum = 0;
    // The smallest label distance wanted; 0 = automatic. A negative value raises
    // AxisException "Axis increment must be >= 0".
    double Increment() const { return m_increment; }
    void SetIncrement(double value);
    // Free room between labels, per cent of the label size. A negative value raises
    // AxisException "Labels Separation % must be greater than 0".
    int LabelsSeparation() const { return m_labelsSeparation; }
    void SetLabelsSeparation(int value);

    // --- labels (published) --------------------------------------------------------------
    std::string AxisValuesFormat = "#,##0.###";
    bool RoundFirstLabel = true;
    TAxisLabelStyle LabelStyle = TAxisLabelStyle::talAuto;
    int LabelsAngle = 0;
    bool LabelsMultiLine = false;
    bool Logarithmic = false; // not supported: the axis is always linear
    bool ExactDateTime = true;
    std::string DateTimeFormat;
    bool Labels = true;
    TChartFont LabelsFont; // "Arial", 8 points, clBlack
    int LabelsSize = 0;    // 0 = measure the labels
    bool LabelsOnAxis = true;

    // --- look and placement (published) --------------------------------------------------
    bool Visible = true;
    bool TickOnLabelsOnly = true;
    TChartAxisPen Axis; // the axis line: clBlack, width 2
    TDarkGrayPen Ticks;
    int TickLength = 4;
    TDarkGrayPen TicksInner;
    int TickInnerLength = 0;
    TDarkGrayPen MinorTicks;
    int MinorTickLength = 2;
    int MinorTickCount = 3;
    TDottedGrayPen Grid;
    TChartHiddenPen MinorGrid;
    bool GridCentered = false;
    bool Inverted = false;
    double StartPosition = 0;   // per cent of the plot edge
    double EndPosition = 100;   // per cent of the plot edge
    double PositionPercent = 0; // moves the axis line into the plot
    TChartAxisTitle Title;

    // --- working values of one paint ----------------------------------------------------
    double ActualMinimum = 0;
    double ActualMaximum = 0;
    // ActualMaximum − ActualMinimum: the double difference, or the extended one where that
    // would overflow (an axis from −1E308 to 1E308).
    long double ActualRange = 0;
    double LabelIncrement = 0;
    int PixelStart = 0; // first pixel along the axis
    int PixelEnd = 0;   // last pixel along the axis
    int AxisPos = 0;    // pixel of the axis line across its direction
    int LabelsPos = 0;  // pixel of the labels' anchor across the axis direction
    int AxisLength() const { return PixelEnd - PixelStart; }
    int PixelCenter() const { return (PixelStart + PixelEnd) / 2; }

    // --- range and labels ----------------------------------------------------------------
    // The lowest and highest value of the series that count for this axis (0, 0 for none).
    void CalcSeriesExtremes(double& lowest, double& highest) const;
    // Minimum/Maximum from the series where automatic, then ActualMinimum/Maximum/Range.
    void CalcRangeFromSeries();
    // Sets the working range directly (ActualRange follows).
    void SetActualRange(double minimum, double maximum);
    // LabelIncrement from the label sizes measured on the chart's canvas, whose font must be
    // the labels font, and the current AxisLength: the two range ends and the widest label of
    // the walk must fit. Stores and returns it.
    double ComputeLabelIncrement();
    // The label values from the top down for LabelIncrement (at most kMaxAxisTicks).
    void LabelValues(std::vector<double>& values) const;
    // The text of the label at `value`: AxisValuesFormat with the regional separators, rounded
    // as the labels of LabelIncrement are (LabelFractionDigits), then the chart's
    // OnGetAxisLabel, then line breaks at blanks when LabelsMultiLine.
    std::string FormatAxisLabel(double value) const;
    // The label style in use (talAuto resolved from the attached series).
    TAxisLabelStyle CalcLabelStyle() const;

    // --- placement and mapping -------------------------------------------------------------
    // Shown: the chart's AxisVisible, Visible and (for a non-depth axis) an attached active
    // series, or any Visible axis when no active series uses axes.
    bool IsAxisShown() const;
    // Takes this axis's room (title, labels, ticks) off its side of `rect`; sets LabelsPos.
    void ShrinkForAxis(TRect& rect);
    // The width the labels need on a vertical axis (wider range-end label plus a blank).
    int LabelsWidth();
    // PixelStart/PixelEnd from StartPosition/EndPosition along the plot rectangle.
    void CalcSpan(const TRect& plotRect);
    // AxisPos: the plot side of the axis, moved in by PositionPercent.
    void CalcAxisPos(const TRect& plotRect);
    // The pixel of `value` along the axis: halves round to the even pixel; a range of 0 or an
    // offset beyond 2147483647 pixels gives PixelCenter.
    int ValueToPixel(double value) const;
    // Where the line puts `value`: ValueToPixel's pixel wherever its 32-bit guard lets the
    // value through, otherwise the true position in pixels, unrounded, within ±1E300 (NaN for
    // a value that is not a number), never the centre. Labels and ticks keep ValueToPixel.
    double LinePosition(double value) const;
    // The value at `pixel` (0 when AxisLength < 1); the inverse of ValueToPixel.
    double PixelToValue(int pixel) const;
    // Widens the range by the pixel margins that the attached active series ask for.
    void WidenForSeriesMargins();

    // --- drawing ---------------------------------------------------------------------------
    // Labels, axis line, outer ticks, grid, inner ticks and minor ticks, on the chart's canvas.
    void DrawAxis();
    // The tick positions of the last DrawAxis, largest value first.
    const std::vector<int>& TickPositions() const { return m_ticks; }

private:
    bool seriesCounts(const TChartSeries& series) const;
    LabelPrecision labelPrecision(double increment) const;
    std::string formatLabel(double value, const LabelPrecision& precision) const;
    int labelSize(const std::string& text);
    int rangeEndsLabelSize();
    int widestLabelSize(double increment);
    int textWidth(const std::string& text);
    int textHeight(const std::string& text);
    void drawLabel(int pixel, const std::string& text);
    bool labelRowsReachImage(int pixel) const;
    // The labels first … last of m_labelValues, all at `pixel`.
    void drawLabelRun(int pixel, std::size_t first, std::size_t last);
    // The texts of the labels after `first` up to `last` that differ from their predecessor.
    void drawLabelChanges(int pixel, std::size_t first, std::size_t last,
                          const std::string& firstText, const std::string& lastText);
    void drawTickSet(const TChartPen& pen, int length, bool inner, std::span<const int> positions);
    void drawGridLines(const TChartPen& pen, std::span<const int> positions);
    void drawMinorTicks();

    TChart* m_chart;
    bool m_horizontal;
    bool m_otherSide;
    bool m_depth;
    double m_increment = 0;
    int m_labelsSeparation = 10;
    std::vector<int> m_ticks;          // reused between paints: room for kMaxAxisTicks
    std::vector<double> m_labelValues; // likewise
    std::vector<int> m_minorTicks;     // minor positions and centred grid lines
    int m_labelHeight = 0;             // text height of "W" in the labels font
    bool m_measuringLabels = false;    // OnGetAxisLabel is not called while measuring
};

// The chart's placement step: every axis computes its range, each shown axis takes its room
// off PlotRect in list order (none when that would empty it), the chart's PlotRect is set and
// repaired (RecalcPlotSize), and every axis gets its span.
void PlaceAxes(TChart& chart, std::span<TChartAxis* const> axes);
// The series-margins step: top, left, right and bottom axis widen their ranges.
void WidenForSeriesMargins(std::span<TChartAxis* const> axes);
