#pragma once
// The line series: its points drawn as a polyline, one segment from each drawn point to the
// next, in each point's colour, clipped to the inside of the plot rectangle.

#include "ChartTools.h"
#include "TChartSeries.h"

#include <functional>

class TChartAxis;

// Line pen, point symbols and stairs: the drawing of a series of connected points.
class TCustomSeries : public TChartSeries {
public:
    using TNotifySeriesEvent = std::function<void(TChartSeries*)>;

    TCustomSeries();

    // Draws the visible points on the parent chart's canvas.
    void DrawSeriesOnChart() override;
    // Sets FirstVisible and LastVisible (both -1 when there is nothing to draw).
    void FindVisibleRange();
    // Processes point `index`: the segment from the previous drawn point to it.
    void DrawPoint(int index);
    // The colour point `index` is drawn in: its own, or SeriesColor.
    TColor ValueColor(int index) const;

    // The axes the series maps with (the left one for aBothVertAxis).
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;

    int FirstVisible() const { return m_firstVisible; }
    int LastVisible() const { return m_lastVisible; }

    TChartPen LinePen;
    bool PointerVisible = false; // point symbols are not drawn by this chart
    bool MarksVisible = false;
    bool Stairs = false;
    int LineHeight = 0;
    bool ColorEachPoint = false;
    TNotifySeriesEvent BeforeDrawValues;
    TNotifySeriesEvent AfterDrawValues;

    // Drawing state between the points of one paint; kept between paints. Positions are
    // pixels (TChartAxis::LinePosition): whole ones on screen, true ones far off it.
    double PrevX = 0;
    double PrevY = 0;
    TColor PrevColour = clChartDefault;

private:
    bool Bypassed(int index, double x, double y);
    void DrawSegment(double x, double y, TColor colour);

    int m_firstVisible = -1;
    int m_lastVisible = -1;
    TChartAxis* m_hAxis = nullptr; // the axes of the paint in progress
    TChartAxis* m_vAxis = nullptr;
    // This paint has accepted a point (PrevX, PrevY), and that point lies within ±32766.
    bool m_lineStarted = false;
    bool m_prevOnScreen = false;
    int m_bypassEnd = -1;    // the point on screen that ends the far points being bypassed
    double m_prevXValue = 0; // the values of the last point processed
    double m_prevYValue = 0;
};

class TLineSeries : public TCustomSeries {
public:
    TLineSeries();
};
