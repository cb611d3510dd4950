#pragma once
// The values of one coordinate of a series (XValues or YValues), kept in index order, with
// cached statistics that are rebuilt only after a change.

#include "ChartTypes.h"

#include <string>
#include <vector>

class TChartSeries;

class TChartValueList {
public:
    // A list named `name` ("X", "Y") belonging to `owner`.
    TChartValueList(TChartSeries* owner, std::string name);
    virtual ~TChartValueList() = default;
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    // The stored value at `index` times Multiplier (product in extended precision, then double).
    virtual double ValueAt(int index) const;
    // Replaces the stored value at `index`.
    virtual void SetValue(int index, double value);
    // Removes every value and releases the storage.
    virtual void RemoveAllValues();
    // Inserts `value` where Order places it (equal values keep their order of arrival) and
    // returns its index. The comparisons use the stored values, without Multiplier.
    virtual int InsertOrdered(double value);
    // Inserts `value` at `index` (0 <= index <= ValueCount()).
    virtual void InsertAt(int index, double value);
    virtual int ValueCount() const;
    // Removes the value at `index`.
    virtual void Delete(int index);
    // Moves the first value to the end, every other one place down.
    virtual void Scroll();

    double operator[](int index) const { return ValueAt(index); }
    // The stored value without Multiplier.
    double StoredValue(int index) const { return m_values[std::size_t(index)]; }

    // Statistics over ValueAt, recomputed only when StatsStale is set; all 0 when empty.
    double LowestValue() const;
    double HighestValue() const;
    double Total() const;
    double TotalABS() const;
    bool StatsStale() const { return m_statsStale; }

    double Multiplier() const { return m_multiplier; }
    // A new factor changes every value read, so the statistics become stale too.
    void SetMultiplier(double multiplier);

    TChartSeries* Owner() const { return m_owner; }

    bool DateTime = false;
    std::string Name;
    TChartListOrder Order = TChartListOrder::loNone;
    std::string ValueSource;
    double TempValue = 0; // the value that AddPoint is about to insert

private:
    void RecalcStats() const;

    TChartSeries* m_owner;
    std::vector<double> m_values;
    double m_multiplier = 1.0;
    mutable double m_highest = 0;
    mutable double m_lowest = 0;
    mutable double m_total = 0;
    mutable double m_totalAbs = 0;
    mutable bool m_statsStale = true;
};

// The value lists of one series: XValues first, YValues second.
class TChartValueLists {
public:
    void Add(TChartValueList* list) { m_lists.push_back(list); }
    int Count() const { return int(m_lists.size()); }
    TChartValueList* operator[](int index) const { return m_lists[std::size_t(index)]; }
    auto begin() const { return m_lists.begin(); }
    auto end() const { return m_lists.end(); }

private:
    std::vector<TChartValueList*> m_lists; // not owned: the series owns its lists
};
