#pragma once
// The data side of a chart series: its points (x, y, colour, label), added in order, cleared,
// counted and summarised, and the repaint request that a change sends to the chart.

#include "ChartTypes.h"
#include "TChartValueList.h"

#include <functional>
#include <string>
#include <vector>

class TChart;
class TChartAxis;

class TChartSeries {
public:
    using TSeriesOnBeforeAdd = std::function<bool(TChartSeries*)>;
    using TSeriesOnAfterAdd = std::function<void(TChartSeries*, int index)>;
    using TSeriesOnClear = std::function<void(TChartSeries*)>;

    TChartSeries();
    virtual ~TChartSeries();
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    // Adds one point where XValues.Order places it; returns its index, or -1 when OnBeforeAdd
    // refused it (then nothing changes).
    virtual int AddPoint(double x, double y, const std::string& label = {},
                         TColor colour = clChartDefault);
    // Removes every point, fires OnClearValues and asks the chart to repaint.
    virtual void ClearPoints();
    int PointCount() const { return m_xValues.ValueCount(); }
    int Count() const { return PointCount(); }

    // Extremes of the values as read (with Multiplier); 0 for an empty series.
    virtual double LowestX() const { return m_xValues.LowestValue(); }
    virtual double HighestX() const { return m_xValues.HighestValue(); }
    virtual double LowestY() const { return m_yValues.LowestValue(); }
    virtual double HighestY() const { return m_yValues.HighestValue(); }

    // Asks the parent chart to paint again when control returns to the event loop.
    void RequestRepaint();

    // True when the series is drawn against `axis` of its parent chart.
    virtual bool BelongsToAxis(const TChartAxis* axis) const;
    virtual bool DrawnOnAxes() const { return true; }
    // The pixel room the series needs beyond its extreme values at each end of its axes.
    virtual void HorizontalMargins(int& left, int& right) const;
    virtual void VerticalMargins(int& top, int& bottom) const;

    // Draws the series on its parent chart's canvas (one step of the chart's paint).
    virtual void DrawSeriesOnChart() {}

    TChartValueList& XValues() { return m_xValues; }
    const TChartValueList& XValues() const { return m_xValues; }
    TChartValueList& YValues() { return m_yValues; }
    const TChartValueList& YValues() const { return m_yValues; }
    const TChartValueLists& ValuesLists() const { return m_valuesLists; }

    // The stored colour of point `index` (clChartDefault when it has none of its own).
    TColor PointColor(int index) const { return m_colors[std::size_t(index)]; }
    // The label of point `index`; empty when it has no text.
    const std::string& PointLabel(int index) const { return m_labels[std::size_t(index)]; }

    bool Active() const { return m_active; }
    void SetActive(bool active);
    TColor SeriesColor() const { return m_seriesColor; }
    void SetSeriesColor(TColor colour);
    THorizAxis HorizAxis() const { return m_horizAxis; }
    void SetHorizAxis(THorizAxis axis);
    TVertAxis VertAxis() const { return m_vertAxis; }
    void SetVertAxis(TVertAxis axis);
    // The axes named by aCustomHorizAxis / aCustomVertAxis; none by default.
    TChartAxis* CustomHorizAxis = nullptr;
    TChartAxis* CustomVertAxis = nullptr;

    TChart* ParentChart() const { return m_parentChart; }
    // Called by TChart when it takes or gives up the series.
    void SetParentChart(TChart* chart) { m_parentChart = chart; }

    std::string Name;
    std::string Title;
    std::string ValueFormat = "#,##0.###";
    std::string PercentFormat = "##0.## %";
    TSeriesOnBeforeAdd OnBeforeAdd;
    TSeriesOnAfterAdd OnAfterAdd;
    TSeriesOnClear OnClearValues;

protected:
    // Empties every value list, the colours and the labels, releasing their storage.
    virtual void EmptyLists();
    // After a point was stored at `index`: OnAfterAdd, then a repaint request if Active.
    virtual void NewPointAdded(int index);

private:
    TChartValueList m_xValues;
    TChartValueList m_yValues;
    TChartValueLists m_valuesLists;
    std::vector<TColor> m_colors;
    std::vector<std::string> m_labels;
    bool m_active = true;
    TColor m_seriesColor = clChartDefault;
    THorizAxis m_horizAxis = THorizAxis::aBottomAxis;
    TVertAxis m_vertAxis = TVertAxis::aLeftAxis;
    TChart* m_parentChart = nullptr;
};
