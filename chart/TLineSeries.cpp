#include "TLineSeries.h"

#include "TChart.h"
#include "TChartAxis.h"

TCustomSeries::TCustomSeries() = default;

TLineSeries::TLineSeries() = default;

TColor TCustomSeries::ValueColor(int index) const {
    const TColor own = PointColor(index);
    return own == clChartDefault ? SeriesColor() : own;
}

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

void TCustomSeries::FindVisibleRange() {
    m_firstVisible = m_lastVisible = -1;
}

void TCustomSeries::DrawPoint(int) {}

void TCustomSeries::DrawSegment(int, int, TColor) {}

void TCustomSeries::DrawSeriesOnChart() {}
