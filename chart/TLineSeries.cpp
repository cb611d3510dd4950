#include "TLineSeries.h"

#include "TChart.h"
#include "TChartAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

TCustomSeries::TCustomSeries() = default;

TLineSeries::TLineSeries() = default;

TChartAxis* TCustomSeries::GetHorizAxis() const {
    const TChart* c = ParentChart();
    if (!c)
        return nullptr;
    switch (HorizAxis()) {
    case THorizAxis::aTopAxis:
        return c->TopAxis();
    case THorizAxis::aCustomHorizAxis:
        return CustomHorizAxis ? CustomHorizAxis : c->BottomAxis();
    default:
        return c->BottomAxis();
    }
}

TChartAxis* TCustomSeries::GetVertAxis() const {
    const TChart* c = ParentChart();
    if (!c)
        return nullptr;
    switch (VertAxis()) {
    case TVertAxis::aRightAxis:
        return c->RightAxis();
    case TVertAxis::aCustomVertAxis:
        return CustomVertAxis ? CustomVertAxis : c->LeftAxis();
    default:
        return c->LeftAxis();
    }
}

// From the first point at or right of the plot's left edge to the first point at or beyond its
// right edge: with x values in order the scans stop early, and DrawPoint draws the segments
// entering (from the edge) and leaving the plot.
void TCustomSeries::FindVisibleRange() {
    m_firstVisible = m_lastVisible = -1;
    const int n = PointCount();
    if (n < 1)
        return;
    if (XValues().Order == TChartListOrder::loNone) {
        m_firstVisible = 0;
        m_lastVisible = n - 1;
        return;
    }
    const TChartAxis* h = GetHorizAxis();
    const TChart* chart = ParentChart();
    if (!h || !chart)
        return;
    const TRect& plot = chart->PlotRect();
    const double a = h->PixelToValue(h->Inverted ? plot.Right : plot.Left);
    int first = 0;
    while (first < n && XValues().ValueAt(first) < a)
        ++first;
    if (first == n)
        return;
    m_firstVisible = first;
    const double b = h->PixelToValue(h->Inverted ? plot.Left : plot.Right);
    if (XValues().ValueAt(n - 1) > b) {
        int last = first;
        while (last < n - 1 && XValues().ValueAt(last) < b)
            ++last;
        m_lastVisible = last;
    } else {
        m_lastVisible = n - 1;
    }
}

TColor TCustomSeries::ValueColor(int index) const {
    const TColor own = PointColor(index);
    if (own != clChartDefault)
        return own;
    // A series without a colour of its own takes the first colour of the default palette.
    return SeriesColor() == clChartDefault ? clRed : SeriesColor();
}

namespace {

// The pixels a point may lie on to be joined like any other: a point farther off is bypassed
// between points within this range.
constexpr double kOnScreen = 32766;
// Line ends farther off than this are first cut to it along the line, so that the canvas's
// exact clipping gets 64-bit ends that still point the true way.
constexpr double kReach = 1099511627776.0; // 2^40

bool OnScreen(double x, double y) {
    return std::fabs(x) <= kOnScreen && std::fabs(y) <= kOnScreen; // false for NaN
}

// Cuts the segment to the square ±kReach (Liang–Barsky); false when none of it lies inside
// or an end is not a position (the edge height of a point that is not a number).
bool CutToReach(double& x0, double& y0, double& x1, double& y1) {
    if (std::isnan(x0) || std::isnan(y0) || std::isnan(x1) || std::isnan(y1))
        return false;
    if (std::fabs(x0) <= kReach && std::fabs(y0) <= kReach && std::fabs(x1) <= kReach &&
        std::fabs(y1) <= kReach)
        return true;
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0, t1 = 1;
    // Keeps the part of the segment where p·t ≤ q.
    auto keep = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!keep(-dx, x0 + kReach) || !keep(dx, kReach - x0) || !keep(-dy, y0 + kReach) ||
        !keep(dy, kReach - y0))
        return false;
    const double ax = x0, ay = y0;
    x0 = std::clamp(ax + t0 * dx, -kReach, kReach);
    y0 = std::clamp(ay + t0 * dy, -kReach, kReach);
    x1 = std::clamp(ax + t1 * dx, -kReach, kReach);
    y1 = std::clamp(ay + t1 * dy, -kReach, kReach);
    return true;
}

// The whole pixel of a position within kReach, halves away from zero (the conversion
// truncates); the positions of points on screen are whole already.
std::int64_t ToPixel(double v) {
    return std::int64_t(v < 0 ? v - 0.5 : v + 0.5);
}

// A line between two positions, cut to kReach and rounded to whole pixels; it moves the pen
// first when asked to or when the pen is elsewhere.
void DrawLine(TChartCanvas3D& canvas, double x0, double y0, double x1, double y1, bool move) {
    if (!CutToReach(x0, y0, x1, y1))
        return;
    const std::int64_t ax = ToPixel(x0), ay = ToPixel(y0);
    if (move || canvas.PenX() != ax || canvas.PenY() != ay)
        canvas.MoveTo(ax, ay);
    canvas.LineTo(ToPixel(x1), ToPixel(y1));
}

} // namespace

// A point more than 32766 pixels off is bypassed, the next point on screen joined to the last
// one (a spike off the plot shows as its neighbours joined, as the chart has always drawn it),
// but only where points on screen lie on both sides of it in this paint. Elsewhere (the line's
// first points, its last ones, or every point after a deep zoom) bypassing would hide segments
// that really cross the plot, so the point is drawn at its true position and clipping cuts its
// segments to what is visible. A point that is not a number has no position: always skipped.
bool TCustomSeries::Bypassed(int index, double x, double y) {
    if (std::isnan(x) || std::isnan(y))
        return true;
    if (OnScreen(x, y) || !m_lineStarted || !m_prevOnScreen)
        return false;
    if (index < m_bypassEnd)
        return true;
    // Each far run is looked through once: bypassed up to the point on screen found here,
    // or, with none, drawn point by point (the previous point is then no longer on screen).
    for (int j = index + 1; j <= m_lastVisible; ++j)
        if (OnScreen(m_hAxis->LinePosition(XValues().ValueAt(j)),
                     m_vAxis->LinePosition(YValues().ValueAt(j)))) {
            m_bypassEnd = j;
            return true;
        }
    return false;
}

void TCustomSeries::DrawPoint(int index) {
    if (!m_hAxis || !m_vAxis) {
        m_hAxis = GetHorizAxis();
        m_vAxis = GetVertAxis();
        if (!m_hAxis || !m_vAxis)
            return;
    }
    const TColor colour = ValueColor(index);
    const double xValue = XValues().ValueAt(index), yValue = YValues().ValueAt(index);
    // A point that repeats the previous one changes nothing: its segment has no length and it
    // leaves the state as it found it. (A plotting whose step vanishes when the abscissas are
    // held as doubles gives hundreds of thousands of them.)
    if (index > m_firstVisible && xValue == m_prevXValue && yValue == m_prevYValue &&
        colour == PrevColour)
        return;
    m_prevXValue = xValue;
    m_prevYValue = yValue;
    const double x = m_hAxis->LinePosition(xValue);
    const double y = m_vAxis->LinePosition(yValue);
    if (Bypassed(index, x, y)) {
        PrevColour = colour;
        return;
    }
    // No segment leads into the first point of a paint's line nor into one after a null
    // point: a line never continues from where the previous paint left it.
    if (PrevColour == clNone || !m_lineStarted) {
        PrevX = x;
        PrevY = y;
    }
    if (index == m_firstVisible) {
        if (index > 0) {
            // Points lie left of the plot: the segment entering it starts on the plot's edge
            // at the height of the line there.
            const TRect& plot = ParentChart()->PlotRect();
            PrevX = m_hAxis->Inverted ? plot.Right : plot.Left;
            const double x0 = XValues().ValueAt(index - 1), y0 = YValues().ValueAt(index - 1);
            const double x1 = XValues().ValueAt(index), y1 = YValues().ValueAt(index);
            double yEdge = y0;
            if (x1 != x0 && !Stairs) {
                const double v = m_hAxis->PixelToValue(int(PrevX));
                yEdge = y0 + (y1 - y0) * (v - x0) / (x1 - x0);
            }
            PrevY = m_vAxis->LinePosition(yEdge);
            if (PointColor(index - 1) != clNone)
                DrawSegment(x, y, colour);
        }
    } else {
        DrawSegment(x, y, colour);
    }
    PrevX = x;
    PrevY = y;
    PrevColour = colour;
    m_lineStarted = true;
    m_prevOnScreen = OnScreen(x, y);
}

// One segment from (PrevX, PrevY) to (x, y) in the point's colour; none into a null point,
// none of zero length, none with an invisible pen.
void TCustomSeries::DrawSegment(double x, double y, TColor colour) {
    if (colour == clNone || (x == PrevX && y == PrevY) || !LinePen.Visible)
        return;
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    TChartPen pen = LinePen;
    pen.Color = colour;
    canvas.AssignPen(pen);
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    if (Stairs) {
        DrawLine(canvas, PrevX, PrevY, x, PrevY, true);
        DrawLine(canvas, x, PrevY, x, y, false);
        return;
    }
    if (OnScreen(PrevX, PrevY) && OnScreen(x, y)) { // whole pixels: nothing to cut or round
        canvas.MoveTo(std::int64_t(PrevX), std::int64_t(PrevY));
        canvas.LineTo(std::int64_t(x), std::int64_t(y));
        return;
    }
    DrawLine(canvas, PrevX, PrevY, x, y, true);
}

void TCustomSeries::DrawSeriesOnChart() {
    TChart* chart = ParentChart();
    if (!chart)
        return;
    m_hAxis = GetHorizAxis();
    m_vAxis = GetVertAxis();
    if (!m_hAxis || !m_vAxis)
        return;
    FindVisibleRange();
    if (m_firstVisible == -1)
        return;
    if (BeforeDrawValues)
        BeforeDrawValues(this);
    TChartCanvas3D& canvas = chart->Canvas();
    const bool wasClipped = canvas.IsClipped();
    const TRect oldClip = canvas.ClipRect();
    if (chart->ClipPoints) {
        // Inside the back wall's frame: the line never covers its left, top and right lines
        // nor the plot's two bottom rows.
        const TRect& plot = chart->PlotRect();
        canvas.ClipRectangle({plot.Left + 1, plot.Top + 1, plot.Right, plot.Bottom - 1});
    }
    m_lineStarted = false;
    m_prevOnScreen = false;
    m_bypassEnd = -1;
    for (int i = m_firstVisible; i <= m_lastVisible; ++i)
        DrawPoint(i);
    if (chart->ClipPoints) {
        canvas.UnClipRectangle();
        if (wasClipped)
            canvas.ClipRectangle(oldClip);
    }
    if (AfterDrawValues)
        AfterDrawValues(this);
}
