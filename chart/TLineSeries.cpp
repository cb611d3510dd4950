#include "TLineSeries.h"

#include "TChart.h"
#include "TChartAxis.h"

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

void TCustomSeries::DrawPoint(int index) {
    if (!m_hAxis || !m_vAxis) {
        m_hAxis = GetHorizAxis();
        m_vAxis = GetVertAxis();
        if (!m_hAxis || !m_vAxis)
            return;
    }
    const TColor colour = ValueColor(index);
    const int x = m_hAxis->ValueToPixel(XValues().ValueAt(index));
    const int y = m_vAxis->ValueToPixel(YValues().ValueAt(index));
    // A point whose pixel is far outside any window is skipped; the next accepted point
    // connects to the last accepted one.
    constexpr int kLimit = 32766;
    if (x < -kLimit || x > kLimit || y < -kLimit || y > kLimit) {
        PrevColour = colour;
        return;
    }
    if (PrevColour == clNone) { // after a null point no segment leads in
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
                const double v = m_hAxis->PixelToValue(PrevX);
                yEdge = y0 + (y1 - y0) * (v - x0) / (x1 - x0);
            }
            PrevY = m_vAxis->ValueToPixel(yEdge);
            if (PointColor(index - 1) != clNone)
                DrawSegment(x, y, colour);
        }
    } else {
        DrawSegment(x, y, colour);
    }
    PrevX = x;
    PrevY = y;
    PrevColour = colour;
}

// One segment from (PrevX, PrevY) to (x, y) in the point's colour; none into a null point,
// none of zero length, none with an invisible pen.
void TCustomSeries::DrawSegment(int x, int y, TColor colour) {
    if (colour == clNone || (x == PrevX && y == PrevY) || !LinePen.Visible)
        return;
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    TChartPen pen = LinePen;
    pen.Color = colour;
    canvas.AssignPen(pen);
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    if (Stairs) {
        canvas.MoveTo(PrevX, PrevY);
        canvas.LineTo(x, PrevY);
        canvas.LineTo(x, y);
        return;
    }
    canvas.MoveTo(PrevX, PrevY);
    canvas.LineTo(x, y);
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
