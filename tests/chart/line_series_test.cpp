// The line series on the chart: which points are drawn, the segments between them (entering
// segment, skipped and null points, zero-length segments), clipping and the line's pixels.

#include "GraphChart.h"
#include "ImagePixels.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Fixture {
    TChart chart;
    TLineSeries* series;
    std::vector<std::string> log;
    QImage window{691, 367, QImage::Format_RGB32};

    Fixture() {
        series = SetUpGraphChart(chart, 1);
        chart.resize(691, 367);
    }
    // Fixes an axis range as a mouse zoom does.
    static void Fix(TChartAxis* axis, double minimum, double maximum) {
        axis->Automatic = axis->AutomaticMinimum = axis->AutomaticMaximum = false;
        axis->Minimum = minimum;
        axis->Maximum = maximum;
    }
    // Paints and returns the segments of the blue two-pixel pen as "x0,y0->x1,y1".
    std::vector<std::string> Segments() {
        log.clear();
        chart.Canvas().SetCallLog(&log);
        chart.Invalidate();
        chart.PaintChart(window);
        chart.Canvas().SetCallLog(nullptr);
        std::vector<std::string> segments;
        for (const std::string& line : log)
            if (line.rfind("LineTo ", 0) == 0 && line.find("pen 00FF0000 w2") != line.npos)
                segments.push_back(line.substr(7, line.find(" pen") - 7));
        return segments;
    }
    int Px(double x) const { return chart.BottomAxis()->ValueToPixel(x); }
    int Py(double y) const { return chart.LeftAxis()->ValueToPixel(y); }
    std::string Seg(int x0, int y0, int x1, int y1) const {
        return std::to_string(x0) + "," + std::to_string(y0) + "->" + std::to_string(x1) + "," +
               std::to_string(y1);
    }
    std::string SegV(double x0, double y0, double x1, double y1) const {
        return Seg(Px(x0), Py(y0), Px(x1), Py(y1));
    }
};

} // namespace

TEST(LineSeries, SegmentsBetweenDrawnPoints) {
    struct Row {
        const char* name;
        std::vector<double> xs, ys;
        std::vector<TColor> colours;               // empty: all default
        std::vector<std::pair<int, int>> expected; // index pairs of the drawn segments
    };
    const std::vector<Row> rows = {
        {"no points", {}, {}, {}, {}},
        {"one point", {1}, {1}, {}, {}},
        {"two points", {1, 2}, {1, 3}, {}, {{0, 1}}},
        {"three points", {1, 2, 3}, {1, 3, 2}, {}, {{0, 1}, {1, 2}}},
        {"null point interrupts",
         {1, 2, 3, 4},
         {1, 3, 2, 4},
         {clChartDefault, clNone, clChartDefault, clChartDefault},
         {{2, 3}}},
        {"same pixel drawn once", {1, 1.0000001, 3}, {1, 1, 2}, {}, {{1, 2}}},
    };
    for (const Row& row : rows) {
        Fixture f;
        for (std::size_t i = 0; i < row.xs.size(); ++i)
            f.series->AddPoint(row.xs[i], row.ys[i], "",
                               row.colours.empty() ? clChartDefault : row.colours[i]);
        const std::vector<std::string> got = f.Segments();
        std::vector<std::string> expected;
        for (const auto& [a, b] : row.expected)
            expected.push_back(f.SegV(row.xs[std::size_t(a)], row.ys[std::size_t(a)],
                                      row.xs[std::size_t(b)], row.ys[std::size_t(b)]));
        EXPECT_EQ(got, expected) << row.name;
    }
}

TEST(LineSeries, ZoomedRangeEntersAtTheLeftEdgeAndLeavesPastTheRight) {
    Fixture f;
    for (int i = 0; i <= 20; ++i)
        f.series->AddPoint(i, i * 0.5);
    Fixture::Fix(f.chart.BottomAxis(), 9.5, 15.2);
    Fixture::Fix(f.chart.LeftAxis(), 0, 10);
    Fixture::Fix(f.chart.RightAxis(), 0, 10);
    const std::vector<std::string> got = f.Segments();
    EXPECT_EQ(f.series->FirstVisible(), 10);
    EXPECT_EQ(f.series->LastVisible(), 16); // the first point at or beyond the right edge
    // Worked by hand: labels «10» (12 pixels and a blank of 3) on both vertical axes and one
    // line of 12 below put the plot at 28 … 663 across and 33 … 345 down: 635 pixels for 5.7
    // units, 312 for 10. The segment entering at 9.5 has height 4.5 + 0.5 × 0.5 = 4.75:
    // y = 345 − 148.2 ≈ 197; 10 lies at 28 + 55.7 ≈ 84, 5 at 345 − 156 = 189. The last runs
    // from 15 (28 + 612.7 ≈ 641; 7.5 at 111) to 16 (28 + 724.1 ≈ 752; 8 at 345 − 249.6 ≈ 95).
    ASSERT_EQ(f.chart.PlotRect(), (TRect{28, 33, 663, 345}));
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got.front(), f.Seg(28, 197, 84, 189));
    EXPECT_EQ(got.back(), f.Seg(641, 111, 752, 95));
}

TEST(LineSeries, PointAtTheLeftEdgeValueIsTheFirstVisible) {
    Fixture f;
    for (int i = 0; i <= 20; ++i)
        f.series->AddPoint(i, i * 0.5);
    Fixture::Fix(f.chart.BottomAxis(), 10, 20);
    const std::vector<std::string> got = f.Segments();
    EXPECT_EQ(f.series->FirstVisible(), 10);
    EXPECT_EQ(f.series->LastVisible(), 20);
    // The entering segment has zero length (the point lies on the edge), so none is drawn.
    EXPECT_EQ(got.size(), 10u);
    EXPECT_EQ(got.front(), f.SegV(10, 5, 11, 5.5));
}

TEST(LineSeries, FarPointsAreSkippedAndNeighboursJoined) {
    Fixture f;
    const std::vector<double> ys = {1, 2, 1e6, 3, -1e6, 2};
    for (std::size_t i = 0; i < ys.size(); ++i)
        f.series->AddPoint(double(i), ys[i]);
    Fixture::Fix(f.chart.LeftAxis(), 0, 4);
    Fixture::Fix(f.chart.RightAxis(), 0, 4);
    const std::vector<std::string> got = f.Segments();
    ASSERT_LT(f.Py(1e6), -32766);
    ASSERT_GT(f.Py(-1e6), 32766);
    const std::vector<std::string> expected = {f.SegV(0, 1, 1, 2), f.SegV(1, 2, 3, 3),
                                               f.SegV(3, 3, 5, 2)};
    EXPECT_EQ(got, expected);
}

TEST(LineSeries, ClippedInsideTheBackWallFrame) {
    Fixture f;
    // A steep zigzag far beyond the plot on every side.
    for (int i = 0; i <= 40; ++i)
        f.series->AddPoint(i, i % 2 ? 100 : -100);
    Fixture::Fix(f.chart.BottomAxis(), 3.5, 30.5);
    Fixture::Fix(f.chart.LeftAxis(), -10, 10);
    Fixture::Fix(f.chart.RightAxis(), -10, 10);
    f.Segments();
    const TRect& p = f.chart.PlotRect();
    char clip[64];
    std::snprintf(clip, sizeof clip, "ClipRectangle %d,%d,%d,%d", p.Left + 1, p.Top + 1, p.Right,
                  p.Bottom - 1);
    EXPECT_NE(std::find(f.log.begin(), f.log.end(), clip), f.log.end());
    const QImage& img = f.chart.OffscreenImage();
    int blueInside = 0;
    std::string outside;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (ColorAt(img, x, y) != clBlue)
                continue;
            if (x > p.Left && x < p.Right && y > p.Top && y < p.Bottom - 1)
                ++blueInside;
            else if (outside.empty())
                outside = std::to_string(x) + "," + std::to_string(y);
        }
    EXPECT_GT(blueInside, 1000);
    EXPECT_EQ(outside, "");
    // The frame of the back wall keeps its pixels where the line crosses it.
    for (int y = p.Top; y <= p.Bottom; ++y)
        EXPECT_NE(ColorAt(img, p.Left, y), clBlue) << y;
}

TEST(LineSeries, TheLineIsBlueAndTwoPixelsWide) {
    Fixture f;
    f.series->AddPoint(0, 1);
    f.series->AddPoint(5, 1);
    f.series->AddPoint(5, 9);
    f.series->AddPoint(10, 9);
    // 0 … 10 up the plot, so that 1 lies inside it and not on its lower edge.
    Fixture::Fix(f.chart.LeftAxis(), 0, 10);
    Fixture::Fix(f.chart.RightAxis(), 0, 10);
    f.Segments();
    const QImage& img = f.chart.OffscreenImage();
    const int y = f.Py(1);
    ASSERT_LT(y, f.chart.PlotRect().Bottom - 2);
    const int xMid = (f.Px(0) + f.Px(5)) / 2;
    const int yMid = (f.Py(1) + f.Py(9)) / 2;
    const int xr = f.Px(5);
    // A horizontal segment covers its row and the one above it.
    EXPECT_EQ(ColorAt(img, xMid, y), clBlue);
    EXPECT_EQ(ColorAt(img, xMid, y - 1), clBlue);
    EXPECT_NE(ColorAt(img, xMid, y - 2), clBlue);
    // A vertical segment covers its column and the one left of it.
    EXPECT_EQ(ColorAt(img, xr, yMid), clBlue);
    EXPECT_EQ(ColorAt(img, xr - 1, yMid), clBlue);
    EXPECT_NE(ColorAt(img, xr + 1, yMid), clBlue);
    EXPECT_NE(ColorAt(img, xr - 2, yMid), clBlue);
}

TEST(LineSeries, PlottedCurveDrawsOneSegmentPerPixelStep) {
    Fixture f;
    for (int i = 0; i <= 400; ++i) {
        const double x = -10 + i * 11.0 / 400;
        f.series->AddPoint(x, 2 * std::sin(x) * std::sin(x) + 1);
    }
    const std::vector<std::string> got = f.Segments();
    int expected = 0;
    for (int i = 1; i <= 400; ++i) {
        const double x0 = f.series->XValues()[i - 1], x1 = f.series->XValues()[i];
        const double y0 = f.series->YValues()[i - 1], y1 = f.series->YValues()[i];
        if (f.Px(x0) != f.Px(x1) || f.Py(y0) != f.Py(y1))
            ++expected;
    }
    EXPECT_EQ(int(got.size()), expected);
    EXPECT_GT(expected, 300);
}
