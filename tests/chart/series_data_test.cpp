// The points of a series: ordered insertion, per-point colours and labels, cached statistics,
// the add/clear hooks and the repaint requests a change sends to the chart.

#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <QImage>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<double> Stored(const TChartValueList& list) {
    std::vector<double> v;
    for (int i = 0; i < list.ValueCount(); ++i)
        v.push_back(list.ValueAt(i));
    return v;
}

} // namespace

TEST(SeriesData, InsertOrderedPlacesEachValue) {
    struct Row {
        const char* name;
        TChartListOrder order;
        std::vector<double> added;
        std::vector<int> indices;
        std::vector<double> stored;
    };
    using O = TChartListOrder;
    const std::vector<Row> rows = {
        {"ascending appends", O::loAscending, {1, 2, 3}, {0, 1, 2}, {1, 2, 3}},
        {"smaller goes first", O::loAscending, {1, 2, 0}, {0, 1, 0}, {0, 1, 2}},
        {"into the middle", O::loAscending, {1, 3, 2}, {0, 1, 1}, {1, 2, 3}},
        {"equal goes after equals", O::loAscending, {1, 2, 2, 1}, {0, 1, 2, 1}, {1, 1, 2, 2}},
        {"descending mirror", O::loDescending, {3, 1, 2, 5}, {0, 1, 1, 0}, {5, 3, 2, 1}},
        {"descending equal after", O::loDescending, {2, 2}, {0, 1}, {2, 2}},
        {"unordered appends", O::loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}},
    };
    for (const Row& row : rows) {
        TChartValueList list(nullptr, "X");
        list.Order = row.order;
        std::vector<int> indices;
        for (const double v : row.added)
            indices.push_back(list.InsertOrdered(v));
        EXPECT_EQ(indices, row.indices) << row.name;
        EXPECT_EQ(Stored(list), row.stored) << row.name;
        EXPECT_TRUE(list.StatsStale()) << row.name;
    }
}

TEST(SeriesData, PointPartsStayTogether) {
    TLineSeries s;
    EXPECT_EQ(s.AddPoint(1, 10), 0);
    EXPECT_EQ(s.AddPoint(3, 30, "c", clRed), 1);
    EXPECT_EQ(s.AddPoint(2, 20, "b", clNone), 1);
    EXPECT_EQ(s.AddPoint(0, 0, "", clBlue), 0);
    EXPECT_EQ(s.AddPoint(2, 21, "b2"), 3); // after the stored 2
    struct Row {
        double x, y;
        const char* label;
        TColor colour;
    };
    const std::vector<Row> expected = {{0, 0, "", clBlue},
                                       {1, 10, "", clChartDefault},
                                       {2, 20, "b", clNone},
                                       {2, 21, "b2", clChartDefault},
                                       {3, 30, "c", clRed}};
    ASSERT_EQ(s.PointCount(), int(expected.size()));
    for (int i = 0; i < s.PointCount(); ++i) {
        const Row& e = expected[std::size_t(i)];
        EXPECT_EQ(s.XValues().ValueAt(i), e.x) << "point " << i;
        EXPECT_EQ(s.YValues().ValueAt(i), e.y) << "point " << i;
        EXPECT_EQ(s.PointLabel(i), e.label) << "point " << i;
        EXPECT_EQ(s.PointColor(i), e.colour) << "point " << i;
    }
}

TEST(SeriesData, StatisticsAndMultiplier) {
    struct Row {
        const char* name;
        std::vector<double> values;
        double multiplier;
        double lowest, highest, total, totalAbs;
    };
    const std::vector<Row> rows = {
        {"empty", {}, 1, 0, 0, 0, 0},
        {"one value", {-2}, 1, -2, -2, -2, 2},
        {"mixed", {3, -1, 4, -1.5}, 1, -1.5, 4, 4.5, 9.5},
        {"doubled", {3, -1, 4}, 2, -2, 8, 12, 16},
        {"empty doubled", {}, 2, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        TChartValueList list(nullptr, "Y");
        for (const double v : row.values)
            list.InsertOrdered(v);
        list.SetMultiplier(row.multiplier);
        EXPECT_EQ(list.LowestValue(), row.lowest) << row.name;
        EXPECT_EQ(list.HighestValue(), row.highest) << row.name;
        EXPECT_EQ(list.Total(), row.total) << row.name;
        EXPECT_EQ(list.TotalABS(), row.totalAbs) << row.name;
        EXPECT_FALSE(list.StatsStale()) << row.name;
    }
}

TEST(SeriesData, MultiplierScalesReadsButNotOrdering) {
    TLineSeries s;
    s.XValues().SetMultiplier(2);
    s.AddPoint(3, 0);
    s.AddPoint(1, 0);
    EXPECT_EQ(s.AddPoint(2, 0), 1); // placed by the stored values 1 < 2 < 3
    EXPECT_EQ(s.XValues().ValueAt(1), 4);
    EXPECT_EQ(s.XValues().StoredValue(1), 2);
    EXPECT_EQ(s.LowestX(), 2);
    EXPECT_EQ(s.HighestX(), 6);
}

TEST(SeriesData, StatisticsFollowChanges) {
    TLineSeries s;
    s.AddPoint(1, 5);
    EXPECT_EQ(s.HighestY(), 5);
    s.AddPoint(2, 7);
    EXPECT_EQ(s.HighestY(), 7); // the cache was marked stale by the insertion
    s.ClearPoints();
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(s.LowestX(), 0);
    EXPECT_EQ(s.HighestY(), 0);
}

TEST(SeriesData, HooksSeeEveryChange) {
    TLineSeries s;
    std::vector<std::pair<std::string, int>> seen;
    s.OnBeforeAdd = [&](TChartSeries* series) {
        seen.emplace_back("before", int(series->XValues().TempValue));
        return series->XValues().TempValue >= 0; // negative x refused
    };
    s.OnAfterAdd = [&](TChartSeries*, int index) { seen.emplace_back("after", index); };
    s.OnClearValues = [&](TChartSeries*) { seen.emplace_back("clear", 0); };
    EXPECT_EQ(s.AddPoint(5, 1), 0);
    EXPECT_EQ(s.AddPoint(-1, 1), -1);
    EXPECT_EQ(s.AddPoint(2, 1), 0);
    EXPECT_EQ(s.PointCount(), 2);
    s.ClearPoints();
    const std::vector<std::pair<std::string, int>> expected = {
        {"before", 5}, {"after", 0}, {"before", -1}, {"before", 2}, {"after", 0}, {"clear", 0}};
    EXPECT_EQ(seen, expected);
}

TEST(SeriesData, ChangesAskTheChartForOnePaint) {
    TChart chart;
    chart.resize(200, 100);
    auto* s = chart.AddSeries<TLineSeries>();
    QImage window(200, 100, QImage::Format_RGB32);
    auto paintedState = [&] {
        chart.PaintChart(window);
        return chart.ImageOutOfDate();
    };
    struct Row {
        const char* name;
        std::function<void()> change;
        bool outOfDate;
    };
    const std::vector<Row> rows = {
        {"add a point", [&] { s->AddPoint(1, 2); }, true},
        {"clear points", [&] { s->ClearPoints(); }, true},
        {"clear an empty series", [&] { s->ClearPoints(); }, true},
        {"nothing", [] {}, false},
        {"add to an inactive series",
         [&] {
             s->SetActive(false);
             chart.PaintChart(window);
             s->AddPoint(1, 2);
         },
         false},
        {"clear an inactive series", [&] { s->ClearPoints(); }, false},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(paintedState()) << row.name;
        row.change();
        EXPECT_EQ(chart.ImageOutOfDate(), row.outOfDate) << row.name;
    }
}

TEST(SeriesData, BelongsToAxis) {
    TChart chart;
    auto* s = chart.AddSeries<TLineSeries>();
    using H = THorizAxis;
    using V = TVertAxis;
    struct Row {
        H h;
        V v;
        bool bottom, top, left, right;
    };
    const std::vector<Row> rows = {
        {H::aBottomAxis, V::aLeftAxis, true, false, true, false},
        {H::aTopAxis, V::aRightAxis, false, true, false, true},
        {H::aBothHorizAxis, V::aBothVertAxis, true, true, true, true},
        {H::aCustomHorizAxis, V::aCustomVertAxis, false, false, false, false},
    };
    for (const Row& row : rows) {
        s->SetHorizAxis(row.h);
        s->SetVertAxis(row.v);
        const std::string name = std::to_string(int(row.h) * 10 + int(row.v));
        EXPECT_EQ(s->BelongsToAxis(chart.BottomAxis()), row.bottom) << name;
        EXPECT_EQ(s->BelongsToAxis(chart.TopAxis()), row.top) << name;
        EXPECT_EQ(s->BelongsToAxis(chart.LeftAxis()), row.left) << name;
        EXPECT_EQ(s->BelongsToAxis(chart.RightAxis()), row.right) << name;
    }
    EXPECT_EQ(s->ParentChart(), &chart);
}

namespace {
// A series that needs 20 pixels of room beyond its extremes on both sides.
struct MarginSeries : TLineSeries {
    void HorizontalMargins(int& left, int& right) const override { left = right = 20; }
};
} // namespace

TEST(SeriesData, MarginsWidenOnlyTheAutomaticEnds) {
    // 0 … 6 over pixels 0 … 100. With 20 pixels at each end the data take 60 pixels, one
    // tenth per pixel: the axis shows −2 … 8. With the maximum fixed, 80 pixels: −1.5 … 6.
    struct Row {
        const char* name;
        bool margins, fixedMaximum;
        double minimum, maximum;
    };
    const std::vector<Row> rows = {
        {"a line series needs no room", false, false, 0, 6},
        {"both ends automatic", true, false, -2, 8},
        {"fixed maximum stays", true, true, -1.5, 6},
    };
    for (const Row& row : rows) {
        TChart chart;
        TChartSeries* s =
            row.margins ? chart.AddSeries<MarginSeries>() : chart.AddSeries<TLineSeries>();
        s->AddPoint(0, 0);
        s->AddPoint(6, 1);
        TChartAxis& bottom = *chart.BottomAxis();
        bottom.AutomaticMaximum = !row.fixedMaximum;
        bottom.Automatic = !row.fixedMaximum;
        bottom.Maximum = 6;
        bottom.CalcRangeFromSeries();
        bottom.PixelStart = 0;
        bottom.PixelEnd = 100;
        bottom.WidenForSeriesMargins();
        EXPECT_EQ(bottom.ActualMinimum, row.minimum) << row.name;
        EXPECT_EQ(bottom.ActualMaximum, row.maximum) << row.name;
        EXPECT_EQ(bottom.PixelStart, 0) << row.name;
        EXPECT_EQ(bottom.PixelEnd, 100) << row.name;
    }
}
