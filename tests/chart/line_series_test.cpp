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
    // 0 … 5 across and 0 … 10 up: labels «10» on both vertical axes and one line of 12 below
    // put the plot at 28 … 663 across and 33 … 345 down, 127 pixels a unit across and 31.2
    // up. So x = 0, 1, 2, 3, 4, 5 lie at 28, 155, 282, 409, 536, 663, and y = 0, 2.5, 5, 7.5,
    // 10 at 345, 267, 189, 111, 33; y = ±1E6 lies 31 200 000 pixels beyond 0, at −31199655
    // and 31200345.
    void FixRoundAxes() {
        Fix(chart.BottomAxis(), 0, 5);
        Fix(chart.LeftAxis(), 0, 10);
        Fix(chart.RightAxis(), 0, 10);
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
    int Py(double y) const { return chart.LeftAxis()->ValueToPixel(y); }
    // The blue pixels of the last paint.
    std::vector<std::pair<int, int>> BluePixels() const {
        std::vector<std::pair<int, int>> blue;
        const QImage& img = chart.OffscreenImage();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (ColorAt(img, x, y) == clBlue)
                    blue.emplace_back(x, y);
        return blue;
    }
};

} // namespace

TEST(LineSeries, SegmentsBetweenDrawnPoints) {
    struct Row {
        const char* name;
        std::vector<double> xs, ys;
        std::vector<TColor> colours;       // empty: all default
        std::vector<std::string> expected; // on FixRoundAxes
    };
    const std::vector<Row> rows = {
        {"no points", {}, {}, {}, {}},
        {"one point", {1}, {2.5}, {}, {}},
        {"two points", {1, 2}, {2.5, 7.5}, {}, {"155,267->282,111"}},
        {"three points", {1, 2, 3}, {2.5, 7.5, 5}, {}, {"155,267->282,111", "282,111->409,189"}},
        {"null point interrupts",
         {1, 2, 3, 4},
         {2.5, 7.5, 5, 10},
         {clChartDefault, clNone, clChartDefault, clChartDefault},
         {"409,189->536,33"}},
        // 1.0000001 lies 0.0000127 pixels right of 1.
        {"same pixel drawn once", {1, 1.0000001, 3}, {2.5, 2.5, 5}, {}, {"155,267->409,189"}},
        {"a repeated point made null still interrupts",
         {1, 2, 2, 3},
         {2.5, 5, 5, 7.5},
         {clChartDefault, clChartDefault, clNone, clChartDefault},
         {"155,267->282,189"}},
    };
    for (const Row& row : rows) {
        Fixture f;
        for (std::size_t i = 0; i < row.xs.size(); ++i)
            f.series->AddPoint(row.xs[i], row.ys[i], "",
                               row.colours.empty() ? clChartDefault : row.colours[i]);
        f.FixRoundAxes();
        EXPECT_EQ(f.Segments(), row.expected) << row.name;
        EXPECT_EQ(f.chart.PlotRect(), (TRect{28, 33, 663, 345})) << row.name;
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
    EXPECT_EQ(got.front(), "28,197->84,189");
    EXPECT_EQ(got.back(), "641,111->752,95");
}

TEST(LineSeries, PointAtTheLeftEdgeValueIsTheFirstVisible) {
    Fixture f;
    for (int i = 0; i <= 20; ++i)
        f.series->AddPoint(i, i * 0.5);
    Fixture::Fix(f.chart.BottomAxis(), 10, 15);
    Fixture::Fix(f.chart.LeftAxis(), 0, 10);
    Fixture::Fix(f.chart.RightAxis(), 0, 10);
    const std::vector<std::string> got = f.Segments();
    EXPECT_EQ(f.series->FirstVisible(), 10);
    EXPECT_EQ(f.series->LastVisible(), 15);
    // The entering segment has zero length (the point lies on the edge), so none is drawn.
    // As on FixRoundAxes shifted by 10 across: 10 at 28, 11 at 155; 5 at 189 and 5.5 at
    // 345 − 171.6 ≈ 173.
    ASSERT_EQ(f.chart.PlotRect(), (TRect{28, 33, 663, 345}));
    EXPECT_EQ(got.size(), 5u);
    EXPECT_EQ(got.front(), "28,189->155,173");
}

TEST(LineSeries, FarPointsAreSkippedAndNeighboursJoined) {
    Fixture f;
    const std::vector<double> ys = {2.5, 5, 1e6, 7.5, -1e6, 5};
    for (std::size_t i = 0; i < ys.size(); ++i)
        f.series->AddPoint(double(i), ys[i]);
    f.FixRoundAxes();
    const std::vector<std::string> got = f.Segments();
    ASSERT_LT(f.Py(1e6), -32766);
    ASSERT_GT(f.Py(-1e6), 32766);
    const std::vector<std::string> expected = {"28,267->155,189", "155,189->409,111",
                                               "409,111->663,189"};
    EXPECT_EQ(got, expected);
}

TEST(LineSeries, FarPointsAreBypassedOnlyBetweenPointsOnScreen) {
    struct Row {
        const char* name;
        std::vector<double> ys;
        // On FixRoundAxes; a far end is drawn at its true row.
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"the line leaves the plot towards a far last point",
         {2.5, 5, 7.5, 1e6},
         {"28,267->155,189", "155,189->282,111", "282,111->409,-31199655"}},
        {"the line starts at a far first point",
         {1e6, 7.5, 5, 2.5},
         {"28,-31199655->155,111", "155,111->282,189", "282,189->409,267"}},
        {"far at both ends, bypassed between",
         {1e6, 5, -1e6, 7.5, 1e6},
         {"28,-31199655->155,189", "155,189->409,111", "409,111->536,-31199655"}},
        {"a run of far points between points on screen",
         {2.5, 1e6, -1e6, 7.5},
         {"28,267->409,111"}},
    };
    for (const Row& row : rows) {
        Fixture f;
        for (std::size_t i = 0; i < row.ys.size(); ++i)
            f.series->AddPoint(double(i), row.ys[i]);
        f.FixRoundAxes();
        EXPECT_EQ(f.Segments(), row.expected) << row.name;
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
    ASSERT_EQ(f.chart.PlotRect(), (TRect{28, 33, 663, 345}));
    ASSERT_EQ(got.size(), 7u);
    // The line enters at the plot's left edge towards point 10, wherever that lies, and goes
    // on from there: nothing joins the point where the previous paint ended. Worked as in
    // ZoomedRangeEntersAtTheLeftEdgeAndLeavesPastTheRight: 10 lies at 84 and 11 at
    // 28 + 167.1 ≈ 195 across; 1E6 at 345 − 31 200 000 and 5.5 at 345 − 171.6 ≈ 173 down.
    EXPECT_EQ(got[0].substr(0, 3), "28,");
    EXPECT_EQ(got[0].substr(got[0].find("->")), "->84,-31199655");
    EXPECT_EQ(got[1], "84,-31199655->195,173");
    EXPECT_EQ(got.back(), "641,111->752,95");
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
    // «1/(x-c);» for a tiny c on [0, 399] zoomed to the bottom-left corner: the segment from
    // (0, y0) enters at x = 0.5 far below the plot and rises almost vertically to (1, 1).
    // With 0.5 … 3 across (254 pixels a unit) and 0 … 10 up (31.2), its left end lies
    // 1.9·10⁹ pixels below for y0 = −1.2E8, beyond 32-bit and 2⁴⁰ pixels for −1.2E11; x = 1
    // lies at 28 + 127 = 155 and y = 1 at 345 − 31.2 ≈ 314.
    for (const double y0 : {-1.2e8, -1.2e11}) {
        Fixture f;
        f.series->AddPoint(0, y0);
        for (int i = 1; i < 400; ++i)
            f.series->AddPoint(i, 1.0 / i);
        Fixture::Fix(f.chart.BottomAxis(), 0.5, 3);
        Fixture::Fix(f.chart.LeftAxis(), 0, 10);
        Fixture::Fix(f.chart.RightAxis(), 0, 10);
        f.Segments();
        ASSERT_EQ(f.chart.PlotRect(), (TRect{28, 33, 663, 345})) << y0;
        const QImage& img = f.chart.OffscreenImage();
        // The visible part: the two columns left of x = 155, from point (1, 1) down to the
        // bottom of the clip, and nothing further left.
        for (const int row : {320, 330, 340})
            EXPECT_EQ(ColorAt(img, 154, row), clBlue) << y0 << " at " << row;
        for (int col = 29; col < 153; ++col)
            EXPECT_NE(ColorAt(img, col, 330), clBlue) << y0 << " at " << col;
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
    f.series->AddPoint(0, 2.5);
    f.series->AddPoint(2, 2.5);
    f.series->AddPoint(2, 7.5);
    f.series->AddPoint(4, 7.5);
    // On FixRoundAxes: 2.5 lies at 267, inside the plot and not on its lower edge; 2 at 282.
    f.FixRoundAxes();
    f.Segments();
    ASSERT_EQ(f.chart.PlotRect(), (TRect{28, 33, 663, 345}));
    const QImage& img = f.chart.OffscreenImage();
    const int y = 267;
    const int xMid = (28 + 282) / 2;
    const int yMid = (267 + 111) / 2;
    const int xr = 282;
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
    // 401 samples denser than the pixels, on FixRoundAxes: each pixel step is one segment.
    struct Row {
        const char* name;
        double x0, dx, y0, dy; // sample i at (x0 + i·dx, y0 + i·dy)
        std::size_t segments;
    };
    const Row rows[] = {
        // 0 … 2 across, 0.635 pixels a sample: every column from 28 to 282.
        {"along a row", 0, 0.005, 2.5, 0, 254},
        // 0 … 10 up, 0.78 pixels a sample: every row from 345 up to 33.
        {"along a column", 1, 0, 0, 0.025, 312},
    };
    for (const Row& row : rows) {
        Fixture f;
        for (int i = 0; i <= 400; ++i)
            f.series->AddPoint(row.x0 + i * row.dx, row.y0 + i * row.dy);
        f.FixRoundAxes();
        const std::vector<std::string> got = f.Segments();
        ASSERT_EQ(got.size(), row.segments) << row.name;
        EXPECT_EQ(got.front(), row.dx ? "28,267->29,267" : "155,345->155,344") << row.name;
        EXPECT_EQ(got.back(), row.dx ? "281,267->282,267" : "155,34->155,33") << row.name;
    }
}
