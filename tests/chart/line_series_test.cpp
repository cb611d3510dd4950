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
    // The pixel row of y on the left axis without the 32-bit guard of the labels' mapping:
    // PixelEnd − (y − ActualMinimum) × AxisLength / ActualRange, rounded.
    long long TrueY(double y) const {
        const TChartAxis& a = *chart.LeftAxis();
        return std::llround(a.PixelEnd - (static_cast<long double>(y) - a.ActualMinimum) *
                                             a.AxisLength() / a.ActualRange);
    }
    // The blue pixels of the last paint.
    std::vector<std::pair<int, int>> BluePixels() const {
        std::vector<std::pair<int, int>> blue;
        const QImage& img = chart.OffscreenImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == 0x0000FF)
                    blue.emplace_back(x, y);
        return blue;
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
        {"a repeated point made null still interrupts",
         {1, 2, 2, 3},
         {1, 2, 2, 3},
         {clChartDefault, clChartDefault, clNone, clChartDefault},
         {{0, 1}}},
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

TEST(LineSeries, FarPointsAreBypassedOnlyBetweenPointsOnScreen) {
    struct Row {
        const char* name;
        std::vector<double> ys;
        // The drawn segments as index pairs; a far end is drawn at its true row.
        std::vector<std::pair<int, int>> expected;
    };
    const std::vector<Row> rows = {
        {"the line leaves the plot towards a far last point",
         {1, 2, 3, 1e6},
         {{0, 1}, {1, 2}, {2, 3}}},
        {"the line starts at a far first point", {1e6, 3, 2, 1}, {{0, 1}, {1, 2}, {2, 3}}},
        {"far at both ends, bypassed between", {1e6, 2, -1e6, 3, 1e6}, {{0, 1}, {1, 3}, {3, 4}}},
        {"a run of far points between points on screen", {1, 1e6, -1e6, 3}, {{0, 3}}},
    };
    for (const Row& row : rows) {
        Fixture f;
        for (std::size_t i = 0; i < row.ys.size(); ++i)
            f.series->AddPoint(double(i), row.ys[i]);
        Fixture::Fix(f.chart.LeftAxis(), 0, 4);
        Fixture::Fix(f.chart.RightAxis(), 0, 4);
        const std::vector<std::string> got = f.Segments();
        std::vector<std::string> expected;
        auto row_of = [&](int i) {
            const double y = row.ys[std::size_t(i)];
            return std::abs(y) < 100 ? (long long)f.Py(y) : f.TrueY(y);
        };
        for (const auto& [a, b] : row.expected)
            expected.push_back(std::to_string(f.Px(a)) + "," + std::to_string(row_of(a)) + "->" +
                               std::to_string(f.Px(b)) + "," + std::to_string(row_of(b)));
        EXPECT_EQ(got, expected) << row.name;
    }
}

TEST(LineSeries, EachPaintStartsItsLineAfresh) {
    Fixture f;
    for (int i = 0; i <= 20; ++i)
        f.series->AddPoint(i, i == 10 ? 1e6 : i * 0.5);
    f.Segments(); // automatic axes: the line ends at point 20
    // Zoomed so that the first visible point, 10, lies far above the plot.
    Fixture::Fix(f.chart.BottomAxis(), 9.5, 15.2);
    Fixture::Fix(f.chart.LeftAxis(), 0, 10);
    Fixture::Fix(f.chart.RightAxis(), 0, 10);
    const std::vector<std::string> got = f.Segments();
    const TRect& plot = f.chart.PlotRect();
    ASSERT_EQ(got.size(), 7u);
    // The line enters at the plot's left edge towards point 10, wherever that lies, and goes
    // on from there: nothing joins the point where the previous paint ended.
    EXPECT_EQ(got[0].substr(0, got[0].find(',')), std::to_string(plot.Left));
    EXPECT_EQ(got[0].substr(got[0].find("->")),
              "->" + std::to_string(f.Px(10)) + "," + std::to_string(f.TrueY(1e6)));
    EXPECT_EQ(got[1], std::to_string(f.Px(10)) + "," + std::to_string(f.TrueY(1e6)) + "->" +
                          std::to_string(f.Px(11)) + "," + std::to_string(f.Py(5.5)));
    EXPECT_EQ(got.back(), f.SegV(15, 7.5, 16, 8));
}

TEST(LineSeries, DeepZoomDrawsTheLineOnlyWhereItIs) {
    // x·sin x sampled as the plotting samples [-10, 1], both axes zoomed to ranges `width`
    // wide: the samples then lie 10¹¹ (10¹³ beyond 2⁴⁰) pixels apart.
    struct Row {
        const char* name;
        bool onTheLine; // centred on the sampled line, or on (−4.502, 0), far above it
        double width;
    };
    for (const Row row :
         {Row{"away from the curve", false, 1e-10}, Row{"on the sampled line", true, 1e-10},
          Row{"on the sampled line, ends beyond 2^40 pixels", true, 1e-12}}) {
        Fixture f;
        for (int i = 0; i <= 400; ++i) {
            const double x = -10 + i * 11.0 / 400;
            f.series->AddPoint(x, x * std::sin(x));
        }
        const double xc = -4.502;
        double yc = 0;
        if (row.onTheLine) { // the straight segment between the samples around xc
            const int i = int((xc + 10) / (11.0 / 400));
            const double x0 = f.series->XValues()[i], x1 = f.series->XValues()[i + 1];
            const double y0 = f.series->YValues()[i], y1 = f.series->YValues()[i + 1];
            yc = y0 + (y1 - y0) * (xc - x0) / (x1 - x0);
        }
        Fixture::Fix(f.chart.BottomAxis(), xc - row.width / 2, xc + row.width / 2);
        Fixture::Fix(f.chart.LeftAxis(), yc - row.width / 2, yc + row.width / 2);
        Fixture::Fix(f.chart.RightAxis(), yc - row.width / 2, yc + row.width / 2);
        f.Segments();
        const auto blue = f.BluePixels();
        if (!row.onTheLine) {
            // The curve is about 4.4 below: nothing of it may show, least of all a line
            // through the middle of the plot.
            EXPECT_TRUE(blue.empty()) << row.name << ": " << blue.size() << " blue pixels";
            continue;
        }
        // The segment crosses the plot through its centre.
        const int cx = f.chart.PlotCenterX(), cy = f.chart.PlotCenterY();
        bool nearCentre = false;
        for (const auto& [x, y] : blue)
            nearCentre = nearCentre || (std::abs(x - cx) <= 2 && std::abs(y - cy) <= 2);
        EXPECT_TRUE(nearCentre) << row.name;
        EXPECT_GT(int(blue.size()), f.chart.PlotWidth()) << row.name;
    }
}

TEST(LineSeries, SteepEnteringSegmentIsDrawnWhereItIsVisible) {
    // «1/(x-0.00000004);» on [0, 399] zoomed to the top-left corner: the segment from
    // (0, y0) enters at x = 0.5 far below the plot (1.9·10⁹ pixels for −2.5E7, beyond 32-bit
    // and 2⁴⁰ pixels for −2.5E10) and rises almost vertically to (1, 1).
    for (const double y0 : {-2.5e7, -2.5e10}) {
        Fixture f;
        f.series->AddPoint(0, y0);
        for (int i = 1; i < 400; ++i)
            f.series->AddPoint(i, 1.0 / i);
        Fixture::Fix(f.chart.BottomAxis(), 0.5, 10);
        Fixture::Fix(f.chart.LeftAxis(), 0, 2);
        Fixture::Fix(f.chart.RightAxis(), 0, 2);
        f.Segments();
        ASSERT_GT(f.TrueY(y0 / 2), 1800000000LL) << y0;
        const QImage& img = f.chart.OffscreenImage();
        const int x = f.Px(1);
        // The visible part: the two columns left of x = Px(1), from point (1, 1) down to
        // the bottom of the clip, and nothing further left.
        for (const double y : {0.9, 0.5, 0.05})
            EXPECT_EQ(img.pixel(x - 1, f.Py(y)) & 0xFFFFFF, 0x0000FFu) << y0 << " at " << y;
        for (int col = f.chart.PlotRect().Left + 1; col < x - 2; ++col)
            EXPECT_NE(img.pixel(col, f.Py(0.5)) & 0xFFFFFF, 0x0000FFu) << y0 << " at " << col;
    }
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
