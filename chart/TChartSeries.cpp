#include "TChartSeries.h"

#include "TChart.h"

TChartSeries::TChartSeries() : m_xValues(this, "X"), m_yValues(this, "Y") {
    m_xValues.Order = TChartListOrder::loAscending;
    m_valuesLists.Add(&m_xValues);
    m_valuesLists.Add(&m_yValues);
}

TChartSeries::~TChartSeries() = default;

int TChartSeries::AddPoint(double x, double y, const std::string& label, TColor colour) {
    m_xValues.TempValue = x;
    m_yValues.TempValue = y;
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int index = m_xValues.InsertOrdered(x);
    m_yValues.InsertAt(index, y);
    m_colors.insert(m_colors.begin() + index, colour);
    m_labels.insert(m_labels.begin() + index, label); // a copy; empty means no text
    NewPointAdded(index);
    return index;
}

void TChartSeries::NewPointAdded(int index) {
    if (OnAfterAdd)
        OnAfterAdd(this, index);
    if (m_active)
        RequestRepaint();
}

void TChartSeries::EmptyLists() {
    for (TChartValueList* list : m_valuesLists)
        list->RemoveAllValues();
    m_colors.clear();
    m_colors.shrink_to_fit();
    m_labels.clear();
    m_labels.shrink_to_fit();
}

void TChartSeries::ClearPoints() {
    EmptyLists();
    if (OnClearValues)
        OnClearValues(this);
    if (m_active && m_parentChart && !m_parentChart->IsDestroying())
        RequestRepaint();
}

void TChartSeries::RequestRepaint() {
    if (m_parentChart)
        m_parentChart->Invalidate();
}

bool TChartSeries::BelongsToAxis(const TChartAxis* axis) const {
    if (!axis || !m_parentChart)
        return false;
    const TChart& c = *m_parentChart;
    if (axis == c.BottomAxis() || axis == c.TopAxis()) {
        return m_horizAxis == THorizAxis::aBothHorizAxis ||
               (m_horizAxis == THorizAxis::aBottomAxis && axis == c.BottomAxis()) ||
               (m_horizAxis == THorizAxis::aTopAxis && axis == c.TopAxis());
    }
    if (axis == c.LeftAxis() || axis == c.RightAxis()) {
        return m_vertAxis == TVertAxis::aBothVertAxis ||
               (m_vertAxis == TVertAxis::aLeftAxis && axis == c.LeftAxis()) ||
               (m_vertAxis == TVertAxis::aRightAxis && axis == c.RightAxis());
    }
    return (m_horizAxis == THorizAxis::aCustomHorizAxis && axis == CustomHorizAxis) ||
           (m_vertAxis == TVertAxis::aCustomVertAxis && axis == CustomVertAxis);
}

void TChartSeries::HorizontalMargins(int& left, int& right) const {
    left = right = 0;
}

void TChartSeries::VerticalMargins(int& top, int& bottom) const {
    top = bottom = 0;
}

void TChartSeries::SetActive(bool active) {
    if (m_active == active)
        return;
    m_active = active;
    RequestRepaint();
}

void TChartSeries::SetSeriesColor(TColor colour) {
    m_seriesColor = colour;
    RequestRepaint();
}

void TChartSeries::SetHorizAxis(THorizAxis axis) {
    m_horizAxis = axis;
    RequestRepaint();
}

void TChartSeries::SetVertAxis(TVertAxis axis) {
    m_vertAxis = axis;
    RequestRepaint();
}
