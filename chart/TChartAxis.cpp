#include "TChartAxis.h"

#include "AxisLabels.h"
#include "NumberText.h"
#include "TChart.h"
#include "TChartCanvas3D.h"
#include "TChartSeries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

int clampToInt(std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
}

int lineCount(const std::string& text) {
    return 1 + int(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TChartAxis::TChartAxis(TChart* parentChart, bool horizontal, bool otherSide, bool depth)
    : m_chart(parentChart), m_horizontal(horizontal), m_otherSide(otherSide), m_depth(depth) {
    // The depth axis belongs to three-dimensional views only.
    if (m_depth)
        Visible = false;
    m_ticks.reserve(kMaxAxisTicks);
    m_labelValues.reserve(kMaxAxisTicks);
}

void TChartAxis::SetIncrement(double value) {
    if (value < 0)
        throw AxisException("Axis increment must be >= 0");
    if (value != m_increment) {
        m_increment = value;
        if (m_chart)
            m_chart->Invalidate();
    }
}

void TChartAxis::SetLabelsSeparation(int value) {
    if (value < 0)
        throw AxisException("Labels Separation % must be greater than 0");
    if (value != m_labelsSeparation) {
        m_labelsSeparation = value;
        if (m_chart)
            m_chart->Invalidate();
    }
}

// --- range and labels -------------------------------------------------------------------

bool TChartAxis::seriesCounts(const TChartSeries& series) const {
    return series.PointCount() > 0 && series.BelongsToAxis(this);
}

void TChartAxis::CalcSeriesExtremes(double& lowest, double& highest) const {
    lowest = 0;
    highest = 0;
    if (!m_chart || m_depth)
        return;
    const int count = m_chart->SeriesCount();
    // Inactive series count only when no active series is attached to this axis at all.
    bool anyActive = false;
    for (int i = 0; i < count && !anyActive; ++i) {
        const TChartSeries* s = m_chart->Series(i);
        anyActive = s->Active() && s->BelongsToAxis(this);
    }
    bool first = true;
    for (int i = 0; i < count; ++i) {
        const TChartSeries* s = m_chart->Series(i);
        if ((anyActive && !s->Active()) || !seriesCounts(*s))
            continue;
        const double lo = m_horizontal ? s->LowestX() : s->LowestY();
        const double hi = m_horizontal ? s->HighestX() : s->HighestY();
        if (first || lo < lowest)
            lowest = lo;
        if (first || hi > highest)
            highest = hi;
        first = false;
    }
}

void TChartAxis::CalcRangeFromSeries() {
    const bool autoMax = Automatic || AutomaticMaximum;
    const bool autoMin = Automatic || AutomaticMinimum;
    if (autoMax || autoMin) {
        double lowest = 0;
        double highest = 0;
        CalcSeriesExtremes(lowest, highest);
        if (autoMax)
            Maximum = highest;
        if (autoMin)
            Minimum = lowest;
    }
    SetActualRange(Minimum, Maximum);
}

void TChartAxis::SetActualRange(double minimum, double maximum) {
    ActualMinimum = minimum;
    ActualMaximum = maximum;
    ActualRange = ValueSpan(minimum, maximum);
}

int TChartAxis::textWidth(const std::string& text) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    // Labels turned by 90 or 270 degrees are as wide as their lines are high.
    if (LabelsAngle == 90 || LabelsAngle == 270)
        return canvas.TextHeight("W") * lineCount(text);
    return canvas.TextWidth(text);
}

int TChartAxis::textHeight(const std::string& text) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    if (LabelsAngle == 0 || LabelsAngle == 180)
        return canvas.TextHeight("W") * lineCount(text);
    return canvas.TextWidth(text);
}

int TChartAxis::labelSize(const std::string& text) {
    return m_horizontal ? textWidth(text) : textHeight(text);
}

int TChartAxis::rangeEndsLabelSize() {
    if (!m_chart)
        return 0;
    // The ends as the pattern alone writes them: the increment is not known yet.
    const std::string low = formatLabel(ActualMinimum, {});
    const std::string high = formatLabel(ActualMaximum, {});
    return std::max(labelSize(low), labelSize(high));
}

int TChartAxis::widestLabelSize(double increment) {
    AxisLabelValues(ActualMinimum, ActualMaximum, increment, RoundFirstLabel, m_labelValues);
    const LabelPrecision precision = labelPrecision(increment);
    const int low = std::min(PixelStart, PixelEnd), high = std::max(PixelStart, PixelEnd);
    int widest = 0;
    for (const double v : m_labelValues) {
        // Only the labels along the axis must fit. The walk's tolerance at the low end is
        // relative and may reach far past it (2E-8 below 20000): labels there only overhang.
        const int p = ValueToPixel(v);
        if (low <= p && p <= high)
            widest = std::max(widest, labelSize(formatLabel(v, precision)));
    }
    return widest;
}

double TChartAxis::ComputeLabelIncrement() {
    // Where a label's size is the line height of "W" (a vertical axis, or turned labels on a
    // horizontal one), the range ends already measure every one-line label; the labels of a
    // constant range all sit at one pixel.
    const bool turned = LabelsAngle == 90 || LabelsAngle == 270;
    const bool upright = LabelsAngle == 0 || LabelsAngle == 180;
    const bool measuresWidths = m_horizontal ? !turned : !upright;
    WidestLabelSize widest;
    if (m_chart && ActualMinimum != ActualMaximum && (measuresWidths || LabelsMultiLine))
        widest = [this](double increment) { return widestLabelSize(increment); };
    LabelIncrement = ::ComputeLabelIncrement(ActualRange, m_increment, m_labelsSeparation,
                                             rangeEndsLabelSize(), AxisLength(), widest);
    return LabelIncrement;
}

void TChartAxis::LabelValues(std::vector<double>& values) const {
    AxisLabelValues(ActualMinimum, ActualMaximum, LabelIncrement, RoundFirstLabel, values);
}

LabelPrecision TChartAxis::labelPrecision(double increment) const {
    // The labels of a constant range are one value and its neighbours a hair below it, all at
    // one pixel: they keep the pattern's places («5», not «4.999999999999»).
    if (ActualMinimum == ActualMaximum)
        return {};
    return {increment, RoundFirstLabel};
}

std::string TChartAxis::FormatAxisLabel(double value) const {
    return formatLabel(value, labelPrecision(LabelIncrement));
}

std::string TChartAxis::formatLabel(double value, const LabelPrecision& precision) const {
    std::string text = FormatPatternNumber(value, AxisValuesFormat, DecimalSeparator(),
                                           ThousandSeparator(), precision);
    if (m_chart && m_chart->OnGetAxisLabel && !m_measuringLabels)
        m_chart->OnGetAxisLabel(const_cast<TChartAxis*>(this), nullptr, -1, text);
    if (LabelsMultiLine)
        std::replace(text.begin(), text.end(), ' ', '\n');
    return text;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
    if (LabelStyle != TAxisLabelStyle::talAuto)
        return LabelStyle;
    if (!m_chart)
        return TAxisLabelStyle::talValue;
    bool attached = false;
    for (int i = 0; i < m_chart->SeriesCount(); ++i) {
        const TChartSeries* s = m_chart->Series(i);
        if (!s->Active() || !s->BelongsToAxis(this))
            continue;
        attached = true;
        // Point texts label the axis that carries the series' x values.
        if (!m_depth && m_horizontal && s->PointCount() > 0 && !s->PointLabel(0).empty())
            return TAxisLabelStyle::talText;
    }
    return attached ? TAxisLabelStyle::talValue : TAxisLabelStyle::talNone;
}

// --- placement and mapping -----------------------------------------------------------------

bool TChartAxis::IsAxisShown() const {
    if (!m_chart)
        return Visible;
    if (!m_chart->AxisVisible || !Visible)
        return false;
    if (m_depth)
        return m_chart->View3D;
    bool anyActiveOnAxes = false;
    for (int i = 0; i < m_chart->SeriesCount(); ++i) {
        const TChartSeries* s = m_chart->Series(i);
        if (!s->Active() || !s->DrawnOnAxes())
            continue;
        anyActiveOnAxes = true;
        if (s->BelongsToAxis(this))
            return true;
    }
    return !anyActiveOnAxes;
}

namespace {

// Moves the axis's side of `rect` inward by n pixels.
void shrinkSide(TRect& rect, bool horizontal, bool otherSide, int n) {
    if (horizontal) {
        if (otherSide)
            rect.Top += n;
        else
            rect.Bottom -= n;
    } else {
        if (otherSide)
            rect.Right -= n;
        else
            rect.Left += n;
    }
}

int sideOf(const TRect& rect, bool horizontal, bool otherSide) {
    if (horizontal)
        return otherSide ? rect.Top : rect.Bottom;
    return otherSide ? rect.Right : rect.Left;
}

// +1 where moving into the plot raises the coordinate (left and top axes), else -1.
int inward(bool horizontal, bool otherSide) {
    return horizontal == otherSide ? 1 : -1;
}

} // namespace

void TChartAxis::ShrinkForAxis(TRect& rect) {
    if (!m_chart)
        return;
    TChartCanvas3D& canvas = m_chart->Canvas();
    if (!Title.Caption.empty()) {
        canvas.AssignFont(Title.Font);
        shrinkSide(rect, m_horizontal, m_otherSide, canvas.TextHeight("W"));
    }
    if (Labels) {
        int size = LabelsSize;
        if (size == 0) {
            canvas.AssignFont(LabelsFont);
            size = m_horizontal ? canvas.TextHeight("W") : LabelsWidth();
        }
        shrinkSide(rect, m_horizontal, m_otherSide, size);
        LabelsPos = sideOf(rect, m_horizontal, m_otherSide);
    }
    int tickRoom = (Axis.Visible ? Axis.Width : 0) + (Ticks.Visible ? TickLength : 0);
    if (MinorTicks.Visible)
        tickRoom = std::max(tickRoom, MinorTickLength);
    shrinkSide(rect, m_horizontal, m_otherSide, tickRoom);
    if (PositionPercent != 0) {
        const int across = m_horizontal ? rect.Height() : rect.Width();
        LabelsPos += inward(m_horizontal, m_otherSide) *
                     int(RoundHalfEven(PositionPercent * across / 100.0));
    }
}

int TChartAxis::LabelsWidth() {
    if (!m_chart)
        return 0;
    // The increment of the span placed at the previous paint decides where the first label
    // falls; the chart's label event stays out of the measurement.
    const double inc = ComputeLabelIncrement();
    auto rounded = [&](double v) { return RoundFirstLabel ? std::trunc(v / inc) * inc : v; };
    // Before the first paint has placed the span there is no increment to take places from:
    // the ends are measured as the pattern alone writes them, as the increment search does.
    const LabelPrecision precision = AxisLength() > 0 ? labelPrecision(inc) : LabelPrecision{};
    m_measuringLabels = true;
    const std::string low = formatLabel(rounded(ActualMinimum), precision);
    const std::string high = formatLabel(rounded(ActualMaximum), precision);
    m_measuringLabels = false;
    return std::max(textWidth(low), textWidth(high)) + m_chart->Canvas().TextWidth(" ");
}

void TChartAxis::CalcSpan(const TRect& plotRect) {
    const int origin = m_horizontal ? plotRect.Left : plotRect.Top;
    const int size = m_horizontal ? plotRect.Width() : plotRect.Height();
    PixelStart = origin + int(RoundHalfEven(size * StartPosition / 100.0));
    PixelEnd = origin + int(RoundHalfEven(size * EndPosition / 100.0));
}

void TChartAxis::CalcAxisPos(const TRect& plotRect) {
    AxisPos = sideOf(plotRect, m_horizontal, m_otherSide);
    if (PositionPercent != 0) {
        const int across = m_horizontal ? plotRect.Height() : plotRect.Width();
        AxisPos += inward(m_horizontal, m_otherSide) *
                   int(RoundHalfEven(PositionPercent * across / 100.0));
    }
}

int TChartAxis::ValueToPixel(double value) const {
    if (ActualRange == 0)
        return PixelCenter();
    // Extended product and quotient, kept as a double as the line drawing expects.
    const double d =
        double((static_cast<long double>(value) - ActualMinimum) * AxisLength() / ActualRange);
    // Offsets beyond 32-bit pixels (and NaN from a value that is not a number) sit at the
    // centre rather than overflowing.
    if (!(std::fabs(d) < 2147483647.0))
        return PixelCenter();
    // Round half to even: the pixel of a value exactly between two pixels must not drift with
    // the direction of the axis.
    const auto offset = static_cast<std::int64_t>(RoundHalfEven(d));
    if (m_horizontal != Inverted)
        return clampToInt(std::int64_t(PixelStart) + offset);
    return clampToInt(std::int64_t(PixelEnd) - offset);
}

double TChartAxis::LinePosition(double value) const {
    // ValueToPixel's guard puts a value beyond 32-bit offsets at the centre: only a value
    // found there can lie elsewhere.
    const int pixel = ValueToPixel(value);
    if (pixel != PixelCenter() || ActualRange == 0)
        return pixel;
    const long double d =
        (static_cast<long double>(value) - ActualMinimum) * AxisLength() / ActualRange;
    if (std::fabs(double(d)) < 2147483647.0)
        return pixel;
    // Held as a double, within ±1E300 pixels so that it stays finite. The bound turns a
    // segment only when both coordinates of its far end lie beyond about 1E297 pixels, values
    // some 1E294 axis ranges away on both axes at once.
    const long double offset = std::clamp(d, -1e300L, 1e300L);
    return double(m_horizontal != Inverted ? PixelStart + offset : PixelEnd - offset);
}

double TChartAxis::PixelToValue(int pixel) const {
    const int length = AxisLength();
    if (length < 1)
        return 0;
    const long double offset =
        Inverted ? (long double)PixelEnd - pixel : (long double)pixel - PixelStart;
    const long double a = offset * ActualRange / length;
    return m_horizontal ? double(ActualMinimum + a) : double(ActualMaximum - a);
}

void TChartAxis::WidenForSeriesMargins() {
    if (!m_chart || m_depth)
        return;
    int low = 0;  // margin at PixelStart (left or top)
    int high = 0; // margin at PixelEnd (right or bottom)
    for (int i = 0; i < m_chart->SeriesCount(); ++i) {
        const TChartSeries* s = m_chart->Series(i);
        if (!s->Active() || !s->BelongsToAxis(this))
            continue;
        int a = 0;
        int b = 0;
        if (m_horizontal)
            s->HorizontalMargins(a, b);
        else
            s->VerticalMargins(a, b);
        low = std::max(low, a);
        high = std::max(high, b);
    }
    // PixelStart holds the minimum on a plain horizontal axis and the maximum on a plain
    // vertical one; Inverted swaps them. A margin counts only where that end is automatic.
    const bool startIsMinimum = m_horizontal != Inverted;
    const bool autoMin = Automatic || AutomaticMinimum;
    const bool autoMax = Automatic || AutomaticMaximum;
    if (!(startIsMinimum ? autoMin : autoMax))
        low = 0;
    if (!(startIsMinimum ? autoMax : autoMin))
        high = 0;
    // Without margins the range stays exactly as computed (no round trip through pixels).
    if (low == 0 && high == 0)
        return;
    const int start = PixelStart;
    const int end = PixelEnd;
    PixelStart = start + low;
    PixelEnd = end - high;
    if (AxisLength() < 1) {
        PixelStart = start;
        PixelEnd = end;
        return;
    }
    double a = PixelToValue(start);
    double b = PixelToValue(end);
    PixelStart = start;
    PixelEnd = end;
    if (a > b)
        std::swap(a, b);
    SetActualRange(a, b);
}

// --- drawing -----------------------------------------------------------------------------

void TChartAxis::drawLabel(int pixel, const std::string& text) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    if (m_horizontal) {
        canvas.SetTextAlign(TTextAlignH::Center,
                            m_otherSide ? TTextAlignV::Bottom : TTextAlignV::Top);
        canvas.TextOut(pixel, LabelsPos, text);
    } else {
        // Centred on the tick: top at p − h div 2.
        canvas.SetTextAlign(m_otherSide ? TTextAlignH::Left : TTextAlignH::Right, TTextAlignV::Top);
        canvas.TextOut(LabelsPos, pixel - m_labelHeight / 2, text);
    }
    canvas.SetTextAlign(TTextAlignH::Left, TTextAlignV::Top);
}

bool TChartAxis::labelRowsReachImage(int pixel) const {
    // Only a one-line label's rows are known before its text: a multi-line label is drawn.
    if (LabelsMultiLine)
        return true;
    const int top = !m_horizontal ? pixel - m_labelHeight / 2
                    : m_otherSide ? LabelsPos - m_labelHeight
                                  : LabelsPos;
    // A line's height of margin on both sides, for glyphs that reach beyond their line.
    return m_chart->Canvas().RowsReachImage(top - m_labelHeight, top + 2 * m_labelHeight);
}

void TChartAxis::drawLabelRun(int pixel, std::size_t first, std::size_t last) {
    if (m_chart->OnGetAxisLabel) {
        // The chart's event may write any text for any label: each is asked for.
        for (std::size_t i = first; i <= last; ++i)
            drawLabel(pixel, FormatAxisLabel(m_labelValues[i]));
        return;
    }
    const std::string firstText = FormatAxisLabel(m_labelValues[first]);
    drawLabel(pixel, firstText);
    if (first < last)
        drawLabelChanges(pixel, first, last, firstText, FormatAxisLabel(m_labelValues[last]));
}

void TChartAxis::drawLabelChanges(int pixel, std::size_t first, std::size_t last,
                                  const std::string& firstText, const std::string& lastText) {
    // The labels are rounded to fixed places, so along the falling walk their texts change
    // monotonically: where the first and last label of a stretch read alike, so does every
    // label between. Text drawn again at the same place over itself changes no pixel, so
    // drawing each text of a run once, in walk order, paints what drawing every label paints,
    // and the thousand labels of a constant range cost two.
    if (firstText == lastText)
        return;
    if (last == first + 1) {
        drawLabel(pixel, lastText);
        return;
    }
    const std::size_t middle = first + (last - first) / 2;
    const std::string middleText = FormatAxisLabel(m_labelValues[middle]);
    drawLabelChanges(pixel, first, middle, firstText, middleText);
    drawLabelChanges(pixel, middle, last, middleText, lastText);
}

void TChartAxis::drawTickSet(const TChartPen& pen, int length, bool inner,
                             std::span<const int> positions) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    canvas.AssignPen(pen);
    // Outer ticks point away from the plot, inner ones into it; both start one pixel off the
    // axis line and end just before their far pixel.
    const int away = -inward(m_horizontal, m_otherSide);
    const int dir = inner ? -away : away;
    const int from = AxisPos + dir;
    const int to = from + dir * length;
    const bool repeatsChangeNothing = pen.Mode != TPenMode::pmNotXor;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const int p = positions[i];
        if (repeatsChangeNothing && i > 0 && positions[i - 1] == p)
            continue;
        if (m_horizontal)
            canvas.Line(p, from, p, to);
        else
            canvas.Line(from, p, to, p);
    }
}

void TChartAxis::drawGridLines(const TChartPen& pen, std::span<const int> positions) {
    TChartCanvas3D& canvas = m_chart->Canvas();
    const TRect plot = m_chart->PlotRect();
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    // The gaps of the dotted pen stay unpainted.
    canvas.SetBackMode(true);
    canvas.AssignPen(pen);
    if (pen.Color == clChartDefault)
        canvas.SetPenColor(clGray);
    // Every line starts its dash pattern afresh, so one drawn again over itself changes no
    // pixel unless the pen inverts: the labels of a constant range share one line.
    const bool repeatsChangeNothing = pen.Mode != TPenMode::pmNotXor;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const int p = positions[i];
        if (repeatsChangeNothing && i > 0 && positions[i - 1] == p)
            continue;
        if (m_horizontal)
            canvas.Line(p, plot.Top, p, plot.Bottom);
        else
            canvas.Line(plot.Left, p, plot.Right, p);
    }
    canvas.SetBackMode(false);
}

void TChartAxis::drawMinorTicks() {
    const int n = MinorTickCount;
    const std::size_t k = m_ticks.size();
    if (n < 1 || k == 0)
        return;
    std::vector<int>& minor = m_minorTicks;
    minor.clear();
    auto add = [&](std::int64_t q) {
        if (PixelStart < q && q < PixelEnd)
            minor.push_back(int(q));
    };
    // Beyond the first and the last major tick, with the spacing of the first pair.
    if (k > 1) {
        const double gap = double(m_ticks[1]) - m_ticks[0];
        for (int i = 1; i <= n; ++i) {
            const auto d = static_cast<std::int64_t>(RoundHalfEven(gap / (n + 1) * i));
            add(m_ticks[0] - d);
            add(m_ticks[k - 1] + d);
        }
    }
    for (std::size_t i = 1; i < k; ++i) {
        const double gap = double(m_ticks[i]) - m_ticks[i - 1];
        for (int j = 1; j <= n; ++j)
            add(m_ticks[i] - static_cast<std::int64_t>(RoundHalfEven(j * gap / (n + 1))));
    }
    if (MinorTicks.Visible)
        drawTickSet(MinorTicks, MinorTickLength, false, minor);
    if (MinorGrid.Visible)
        drawGridLines(MinorGrid, minor);
}

void TChartAxis::DrawAxis() {
    if (!m_chart)
        return;
    TChartCanvas3D& canvas = m_chart->Canvas();
    canvas.AssignFont(LabelsFont);
    const double inc = ComputeLabelIncrement();
    CalcAxisPos(m_chart->PlotRect());
    m_ticks.clear();

    if (inc > 0 && ActualMaximum >= ActualMinimum && CalcLabelStyle() != TAxisLabelStyle::talNone) {
        m_labelHeight = canvas.TextHeight("W");
        canvas.SetBrushStyle(TBrushStyle::bsClear);
        canvas.SetBackMode(true);
        LabelValues(m_labelValues);
        const std::size_t count = m_labelValues.size();
        for (std::size_t first = 0; first < count;) {
            // Labels at one pixel (a constant range, or an increment far below a pixel) are
            // taken as one run.
            const int p = ValueToPixel(m_labelValues[first]);
            std::size_t end = first + 1;
            while (end < count && ValueToPixel(m_labelValues[end]) == p)
                ++end;
            if (LabelsOnAxis || (PixelStart < p && p < PixelEnd)) {
                if (!TickOnLabelsOnly || Labels)
                    m_ticks.insert(m_ticks.end(), end - first, p);
                if (Labels && labelRowsReachImage(p))
                    drawLabelRun(p, first, end - 1);
            }
            first = end;
        }
    }

    if (Axis.Visible) {
        canvas.AssignPen(Axis);
        if (m_horizontal)
            canvas.Line(PixelStart, AxisPos, PixelEnd, AxisPos);
        else
            canvas.Line(AxisPos, PixelStart, AxisPos, PixelEnd);
    }
    if (Ticks.Visible)
        drawTickSet(Ticks, TickLength, false, m_ticks);
    if (Grid.Visible) {
        if (!GridCentered) {
            drawGridLines(Grid, m_ticks);
        } else {
            // Between the ticks instead of on them: none at the first tick.
            m_minorTicks.clear();
            for (std::size_t i = 1; i < m_ticks.size(); ++i)
                m_minorTicks.push_back(
                    int(RoundHalfEven((double(m_ticks[i - 1]) + m_ticks[i]) / 2.0)));
            drawGridLines(Grid, m_minorTicks);
        }
    }
    if (TicksInner.Visible)
        drawTickSet(TicksInner, TickInnerLength, true, m_ticks);
    if (MinorTicks.Visible || MinorGrid.Visible)
        drawMinorTicks();
}

// --- the chart's steps -------------------------------------------------------------------

void PlaceAxes(TChart& chart, std::span<TChartAxis* const> axes) {
    for (TChartAxis* axis : axes)
        axis->CalcRangeFromSeries();
    TRect r = chart.PlotRect();
    for (TChartAxis* axis : axes) {
        if (!axis->IsAxisShown())
            continue;
        TRect t = r;
        axis->ShrinkForAxis(t);
        // An axis whose room would leave nothing of the plot takes no room.
        if (!t.IsEmpty())
            r = t;
    }
    chart.SetPlotRect(r);
    chart.RecalcPlotSize();
    for (TChartAxis* axis : axes) {
        axis->CalcSpan(chart.PlotRect());
        axis->CalcAxisPos(chart.PlotRect());
    }
}

void WidenForSeriesMargins(std::span<TChartAxis* const> axes) {
    // Top, left, right, bottom: (horizontal, otherSide) pairs.
    static constexpr bool order[4][2] = {
        {true, true}, {false, false}, {false, true}, {true, false}};
    for (const auto& kind : order)
        for (TChartAxis* axis : axes)
            if (!axis->IsDepthAxis() && axis->Horizontal() == kind[0] &&
                axis->OtherSide() == kind[1])
                axis->WidenForSeriesMargins();
}
