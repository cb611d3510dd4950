#include "TChartValueList.h"

#include <cmath>
#include <utility>

TChartValueList::TChartValueList(TChartSeries* owner, std::string name)
    : Name(std::move(name)), m_owner(owner) {}

double TChartValueList::ValueAt(int index) const {
    const double v = m_values[std::size_t(index)];
    if (m_multiplier == 1.0)
        return v; // exact either way; the common case skips the extended product
    return static_cast<double>(static_cast<long double>(v) * m_multiplier);
}

void TChartValueList::SetValue(int index, double value) {
    m_values[std::size_t(index)] = value;
    m_statsStale = true;
}

void TChartValueList::RemoveAllValues() {
    m_values.clear();
    m_values.shrink_to_fit(); // release the storage, capacity 0
    m_statsStale = true;
}

int TChartValueList::InsertOrdered(double value) {
    int index = int(m_values.size());
    if (Order != TChartListOrder::loNone && !m_values.empty()) {
        // Scan from the end: values arriving in order cost one comparison. Equal values go
        // after the ones already stored, so points with equal x keep their order of arrival.
        if (Order == TChartListOrder::loAscending) {
            while (index > 0 && m_values[std::size_t(index - 1)] > value)
                --index;
        } else {
            while (index > 0 && m_values[std::size_t(index - 1)] < value)
                --index;
        }
    }
    m_values.insert(m_values.begin() + index, value);
    m_statsStale = true;
    return index;
}

void TChartValueList::InsertAt(int index, double value) {
    m_values.insert(m_values.begin() + index, value);
    m_statsStale = true;
}

int TChartValueList::ValueCount() const {
    return int(m_values.size());
}

void TChartValueList::Delete(int index) {
    m_values.erase(m_values.begin() + index);
    m_statsStale = true;
}

void TChartValueList::Scroll() {
    if (m_values.size() < 2)
        return;
    const double first = m_values.front();
    m_values.erase(m_values.begin());
    m_values.push_back(first);
}

void TChartValueList::SetMultiplier(double multiplier) {
    m_multiplier = multiplier;
    m_statsStale = true;
}

void TChartValueList::RecalcStats() const {
    const int count = ValueCount();
    if (count == 0) {
        m_lowest = m_highest = m_total = m_totalAbs = 0;
    } else {
        const double first = ValueAt(0);
        m_lowest = m_highest = m_total = first;
        m_totalAbs = std::fabs(first);
        for (int i = 1; i < count; ++i) {
            const double v = ValueAt(i);
            if (v < m_lowest)
                m_lowest = v;
            else if (v > m_highest)
                m_highest = v;
            m_total += v;
            m_totalAbs += std::fabs(v);
        }
    }
    m_statsStale = false;
}

double TChartValueList::LowestValue() const {
    if (m_statsStale)
        RecalcStats();
    return m_lowest;
}

double TChartValueList::HighestValue() const {
    if (m_statsStale)
        RecalcStats();
    return m_highest;
}

double TChartValueList::Total() const {
    if (m_statsStale)
        RecalcStats();
    return m_total;
}

double TChartValueList::TotalABS() const {
    if (m_statsStale)
        RecalcStats();
    return m_totalAbs;
}
