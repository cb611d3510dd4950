// Axes on a chart: settings, value/pixel mapping, range from the series, placement, and the
// pixels of labels' ticks, grid and minor ticks in the painted image.
#include "AxisLabels.h"
#include "GraphChart.h"
#include "ImagePixels.h"
#include "NumberText.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

// The graph window's chart, 691 × 367 at 120 pixels per inch (553 × 294 and scale 0.8 at 96),
// with point separators.
struct GraphChart {
    TChart chart;
    TLineSeries* series;

    explicit GraphChart(int width = 691, int height = 367, double scale = 1)
        : series(SetUpGraphChart(chart, scale)) {
        SetRegionalSeparators('.', ',');
        chart.resize(width, height);
    }
    ~GraphChart() { ReloadRegionalSettings(); }

    // 401 points; the abscissas in extended precision, so that -1E308 … 1E308 has a step.
    void plot(double xMin, double xMax, const std::function<double(double)>& f) {
        series->ClearPoints();
        for (int i = 0; i <= 400; ++i) {
            const double x = double(xMin + (static_cast<long double>(xMax) - xMin) * i / 400);
            series->AddPoint(x, f(x));
        }
    }
    // Two paints: the second measures its labels with the spans that the first placed.
    void paint() {
        chart.PaintImage();
        chart.PaintImage();
    }
    TColor pixel(int x, int y) const { return ColorAt(chart.OffscreenImage(), x, y); }
    std::vector<std::string> labels(TChartAxis* axis) const {
        std::vector<double> values;
        axis->LabelValues(values);
        std::vector<std::string> out;
        for (double v : values)
            out.push_back(axis->FormatAxisLabel(v));
        return out;
    }
};

constexpr TColor kGray = clGray;
constexpr TColor kAqua = clAqua;
constexpr TColor kBlue = clBlue;

using Texts = std::vector<std::string>;

} // namespace

TEST(AxisSettings, RefusedValuesRaiseAxisException) {
    TChartAxis axis(nullptr, false, false);
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_EQ(axis.LabelsSeparation(), 10);
    EXPECT_EQ(axis.AxisValuesFormat, "#,##0.###");
    struct Row {
        const char* name;
        std::function<void()> set;
        const char* message;
    };
    const Row rows[] = {
        {"negative increment", [&] { axis.SetIncrement(-0.5); }, "Axis increment must be >= 0"},
        {"negative separation", [&] { axis.SetLabelsSeparation(-1); },
         "Labels Separation % must be greater than 0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        try {
            r.set();
            ADD_FAILURE() << "no exception";
        } catch (const AxisException& e) {
            EXPECT_EQ(e.Message(), r.message);
        }
    }
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_EQ(axis.LabelsSeparation(), 10);
    // 0 is the boundary, accepted by both: each leaves another value for it.
    axis.SetIncrement(0.5);
    EXPECT_EQ(axis.Increment(), 0.5);
    axis.SetIncrement(0);
    EXPECT_EQ(axis.Increment(), 0);
    axis.SetLabelsSeparation(0);
    EXPECT_EQ(axis.LabelsSeparation(), 0);
}

TEST(AxisMapping, ValueToPixelRoundsHalvesToEvenAndGuardsOverflow) {
    struct Row {
        const char* name;
        bool horizontal, inverted;
        double min, max, value;
        int expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        {"top of a vertical axis", false, false, 0, 10, 10, 0},
        {"bottom of a vertical axis", false, false, 0, 10, 0, 100},
        {"a quarter up", false, false, 0, 10, 2.5, 75},
        {"2.5 pixels rounds to even 2", false, false, 0, 10, 0.25, 98},
        {"7.5 pixels rounds to even 8", false, false, 0, 10, 0.75, 92},
        {"-2.5 pixels rounds to even -2", false, false, 0, 10, -0.25, 102},
        {"horizontal 2.5", true, false, 0, 10, 0.25, 2},
        {"horizontal -2.5", true, false, 0, 10, -0.25, -2},
        {"inverted vertical", false, true, 0, 10, 2.5, 25},
        {"inverted horizontal", true, true, 0, 10, 2.5, 75},
        {"range 0: centre", false, false, 5, 5, 123, 50},
        {"offset beyond 32 bits: centre", false, false, 0, 10, 1e300, 50},
        {"offset just inside 32 bits", false, false, 0, 10, 2.1e8, 100 - 2100000000},
        {"hugely negative: centre", true, false, 0, 10, -1e300, 50},
        {"not a number: centre", true, false, 0, 10, nan, 50},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TChartAxis axis(nullptr, r.horizontal, false);
        axis.Inverted = r.inverted;
        axis.PixelStart = 0;
        axis.PixelEnd = 100;
        axis.SetActualRange(r.min, r.max);
        EXPECT_EQ(axis.ValueToPixel(r.value), r.expected);
    }
    // An offset that fits 32 bits while the pixel would not: clamped, not wrapped.
    TChartAxis far(nullptr, true, false);
    far.PixelStart = 1000;
    far.PixelEnd = 1100;
    far.SetActualRange(0, 100);
    EXPECT_EQ(far.ValueToPixel(2147483000.0), std::numeric_limits<int>::max());
}

TEST(AxisMapping, PixelToValueInvertsValueToPixel) {
    for (bool horizontal : {true, false}) {
        for (bool inverted : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "horizontal " << horizontal << " inverted " << inverted);
            TChartAxis axis(nullptr, horizontal, false);
            axis.Inverted = inverted;
            axis.PixelStart = 37;
            axis.PixelEnd = 337;
            axis.SetActualRange(-10, 1.02757);
            for (int p = axis.PixelStart; p <= axis.PixelEnd; ++p)
                ASSERT_EQ(axis.ValueToPixel(axis.PixelToValue(p)), p) << "pixel " << p;
            EXPECT_EQ(axis.PixelToValue(horizontal != inverted ? 37 : 337), -10);
        }
    }
    // A drag of 10 pixels on 0 … 10 over 100 pixels moves the range by exactly 1.
    TChartAxis bottom(nullptr, true, false);
    bottom.PixelStart = 0;
    bottom.PixelEnd = 100;
    bottom.SetActualRange(0, 10);
    EXPECT_EQ(bottom.PixelToValue(10) - bottom.PixelToValue(0), 1.0);
    bottom.PixelEnd = 0;
    EXPECT_EQ(bottom.PixelToValue(10), 0);
}

TEST(AxisRange, AxesFollowTheSeriesAttachedToThem) {
    GraphChart g;
    TChart& c = g.chart;
    auto rangeOf = [](TChartAxis* a) { return std::make_pair(a->ActualMinimum, a->ActualMaximum); };
    using Range = std::pair<double, double>;

    // Empty series: every axis 0 … 0, and the axes are still shown.
    g.paint();
    for (TChartAxis* a : c.AxesList())
        EXPECT_EQ(rangeOf(a), Range(0, 0));
    EXPECT_TRUE(c.BottomAxis()->IsAxisShown());
    EXPECT_TRUE(c.LeftAxis()->IsAxisShown());
    EXPECT_TRUE(c.RightAxis()->IsAxisShown());
    EXPECT_FALSE(c.TopAxis()->IsAxisShown());
    EXPECT_EQ(g.labels(c.LeftAxis()), Texts{"0"});

    g.series->AddPoint(-10, 3);
    g.series->AddPoint(0, -2);
    g.series->AddPoint(1.02757, 1);
    g.paint();
    EXPECT_EQ(rangeOf(c.BottomAxis()), Range(-10, 1.02757));
    EXPECT_EQ(rangeOf(c.LeftAxis()), Range(-2, 3));
    EXPECT_EQ(rangeOf(c.RightAxis()), Range(-2, 3));
    EXPECT_EQ(rangeOf(c.TopAxis()), Range(0, 0));

    // A second, inactive series does not count while an active one is attached.
    auto* other = c.AddSeries<TLineSeries>();
    other->AddPoint(50, 100);
    other->SetActive(false);
    g.paint();
    EXPECT_EQ(rangeOf(c.LeftAxis()), Range(-2, 3));
    g.series->SetActive(false);
    g.paint();
    EXPECT_EQ(rangeOf(c.LeftAxis()), Range(-2, 100));
    g.series->SetActive(true);
    other->SetActive(true);
    g.paint();
    EXPECT_EQ(rangeOf(c.BottomAxis()), Range(-10, 50));
    EXPECT_EQ(rangeOf(c.RightAxis()), Range(-2, 3)); // `other` is on the left axis only

    // An end that is not automatic keeps the value last set.
    TChartAxis* left = c.LeftAxis();
    left->Automatic = false;
    left->AutomaticMinimum = false;
    left->Minimum = -5;
    g.paint();
    EXPECT_EQ(rangeOf(left), Range(-5, 100));
}

TEST(AxisPlacement, LabelsAndTicksTakeTheirRoomOutsideThePlot) {
    GraphChart g;
    g.plot(-10, 1, [](double x) { return x; }); // y also from -10 to 1
    g.paint();
    TChart& c = g.chart;
    const TRect plot = c.PlotRect();

    // Initial plot rectangle (7, 4, 684, 363), less the empty title line (24) and its gap of
    // 5; the axes take labels + 2 (line) + 4 (ticks). The labels font, Liberation Sans at
    // 10⅔ pixels, is 12 high; its advances of 682, 1139 and 569 of 2048 give «-», a digit and
    // the blank 4, 6 and 3 pixels: «-10» and a blank are 19 wide.
    EXPECT_EQ(plot.Left, 7 + 19 + 6);
    EXPECT_EQ(plot.Right, 684 - 19 - 6);
    EXPECT_EQ(plot.Bottom, 363 - 12 - 6);
    EXPECT_EQ(plot.Top, 4 + 24 + 5);
    EXPECT_EQ(c.BottomAxis()->LabelsPos, plot.Bottom + 6);
    EXPECT_EQ(c.LeftAxis()->LabelsPos, plot.Left - 6);
    EXPECT_EQ(c.RightAxis()->LabelsPos, plot.Right + 6);

    struct Row {
        const char* name;
        TChartAxis* axis;
        int start, end, axisPos;
    };
    const Row rows[] = {
        {"bottom", c.BottomAxis(), plot.Left, plot.Right, plot.Bottom},
        {"left", c.LeftAxis(), plot.Top, plot.Bottom, plot.Left},
        {"right", c.RightAxis(), plot.Top, plot.Bottom, plot.Right},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.axis->PixelStart, r.start);
        EXPECT_EQ(r.axis->PixelEnd, r.end);
        EXPECT_EQ(r.axis->AxisPos, r.axisPos);
    }

    // Labels of the bottom axis: step 1 from the top down; -10 is just below the lower limit.
    EXPECT_EQ(c.BottomAxis()->LabelIncrement, 1);
    EXPECT_EQ(g.labels(c.BottomAxis()),
              (Texts{"1", "0", "-1", "-2", "-3", "-4", "-5", "-6", "-7", "-8", "-9"}));
    // Where they are painted: 627 pixels for 11 units, 57 a unit, so value v has its tick at
    // 32 + 57 (v + 10). A bottom label is centred under its tick («1» 6 wide, «-1» 10), a left
    // one ends at 26, a right one starts at 665, both centred on their ticks (12 high);
    // black ink only inside those boxes.
    struct Box {
        int left, top, right, bottom;
    };
    std::vector<Box> boxes;
    for (int v = 1; v >= -9; --v) {
        const int tick = 32 + 57 * (v + 10), wide = v < 0 ? 10 : 6;
        boxes.push_back({tick - wide / 2, 351, tick + wide / 2, 363});
    }
    for (int v = 1; v >= -9; --v) {
        // 312 pixels down for the 11 units, to the nearest pixel; no value falls on a half.
        const int tick = 33 + (312 * (1 - v) + 5) / 11, wide = v < 0 ? 10 : 6;
        boxes.push_back({26 - wide, tick - 6, 26, tick + 6});   // left: ends at 26
        boxes.push_back({665, tick - 6, 665 + wide, tick + 6}); // right: starts at 665
    }
    std::vector<int> inkPerBox(boxes.size());
    for (int y = 0; y < 367; ++y)
        for (int x = 0; x < 691; ++x) {
            const bool frame = x >= plot.Left - 2 && x <= plot.Right + 2 && y < plot.Bottom + 3;
            if (g.pixel(x, y) != clBlack || frame)
                continue; // not ink, or the axis lines and the back wall's frame
            const auto in = std::find_if(boxes.begin(), boxes.end(), [&](const Box& b) {
                return b.left <= x && x < b.right && b.top <= y && y < b.bottom;
            });
            ASSERT_NE(in, boxes.end()) << "ink outside the labels at " << x << "," << y;
            ++inkPerBox[std::size_t(in - boxes.begin())];
        }
    for (std::size_t i = 0; i < boxes.size(); ++i)
        EXPECT_GT(inkPerBox[i], 0) << "label at " << boxes[i].left << "," << boxes[i].top;
    // A room that would empty the plot is not taken.
    c.LeftAxis()->LabelsSize = 2000;
    g.paint();
    EXPECT_EQ(c.PlotRect().Left, 7);
}

TEST(AxisPlacement, LabelsOfTheSineSquaredGraph) {
    GraphChart g;
    g.plot(-10, 1, [](double x) { return 2 * std::sin(x) * std::sin(x) + 1; });
    g.paint();
    TChart& c = g.chart;
    EXPECT_EQ(c.BottomAxis()->ActualMinimum, -10);
    EXPECT_EQ(c.BottomAxis()->ActualMaximum, 1);
    EXPECT_NEAR(c.LeftAxis()->ActualMinimum, 1, 1e-3);
    EXPECT_NEAR(c.LeftAxis()->ActualMaximum, 3, 1e-3);
    // A range of at least 1 never steps below 1: only the 2 lies inside the sampled range.
    EXPECT_EQ(c.LeftAxis()->LabelIncrement, 1);
    EXPECT_EQ(g.labels(c.LeftAxis()), Texts{"2"});
    EXPECT_EQ(g.labels(c.RightAxis()), Texts{"2"});
    EXPECT_EQ(g.labels(c.BottomAxis()),
              (Texts{"1", "0", "-1", "-2", "-3", "-4", "-5", "-6", "-7", "-8", "-9"}));
}

TEST(AxisRange, AnIntervalWiderThanADoubleIsDrawnLikeAnyOther) {
    // X max - X min overflows a double; the line, the ticks and the labels still appear.
    for (const double end : {1e308, 1.7e308}) {
        SCOPED_TRACE(end);
        GraphChart g;
        g.plot(-end, end, [](double x) { return x; });
        g.paint();
        TChartAxis* bottom = g.chart.BottomAxis();
        TChartAxis* left = g.chart.LeftAxis();
        EXPECT_EQ(bottom->ActualRange, 2.0L * end);
        EXPECT_EQ(bottom->ValueToPixel(-end), bottom->PixelStart);
        EXPECT_EQ(bottom->ValueToPixel(end), bottom->PixelEnd);
        EXPECT_EQ(left->ValueToPixel(end), left->PixelStart);
        EXPECT_NEAR(bottom->PixelToValue(bottom->PixelEnd), end, end * 1e-15);
        EXPECT_GE(bottom->TickPositions().size(), 5u);
        EXPECT_GE(left->TickPositions().size(), 5u);
        // y = x crosses the middle of the plot.
        const int cx = bottom->PixelCenter(), cy = left->PixelCenter();
        bool blue = false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                blue = blue || g.pixel(cx + dx, cy + dy) == kBlue;
        EXPECT_TRUE(blue);
    }
}

TEST(AxisLabelsOnChart, NeighbouringLabelsDifferKeepApartAndReadZeroAtZero) {
    const auto clamp = [](double y) { return std::clamp(y, -1e30, 1e30); };
    struct Row {
        const char* name;
        int width, height;
        double scale, xMin, xMax;
        std::function<double(double)> f;
        Texts bottom; // empty: not checked
    };
    const Row rows[] = {
        // 481 pixels of axis, «0.46» 21 pixels wide: 25 labels at 0.02 need 25 × 23 pixels.
        {"x on 0 … 0.5 in the 96-dpi window",
         553,
         294,
         0.8,
         0,
         0.5,
         [](double x) { return x; },
         {"0.5", "0.45", "0.4", "0.35", "0.3", "0.25", "0.2", "0.15", "0.1", "0.05", "0"}},
        // 20 labels at 0.01 take 20 × 23 of the 481 pixels: as before. The first is 0.19,
        // since 0.2 / 0.010000000000000002 truncates to 19.
        {"x on 0 … 0.2 in the 96-dpi window",
         553,
         294,
         0.8,
         0,
         0.2,
         [](double x) { return x; },
         {"0.19", "0.18", "0.17", "0.16", "0.15", "0.14", "0.13", "0.12", "0.11", "0.1",
          "0.09", "0.08", "0.07", "0.06", "0.05", "0.04", "0.03", "0.02", "0.01", "0"}},
        {"x*1000000+0.5 on 0 … 0.02",
         691,
         367,
         1,
         0,
         0.02,
         [](double x) { return x * 1000000 + 0.5; },
         {}},
        // «0.0019» (33 pixels) leaves room for round(600 / 36) = 17 labels, not 20.
        {"x/1000 on 0 … 0.002",
         691,
         367,
         1,
         0,
         0.002,
         [](double x) { return x / 1000; },
         {"0.0018", "0.0016", "0.0014", "0.0012", "0.001", "0.0008", "0.0006", "0.0004", "0.0002",
          "0"}},
        {"x*x on -1E300 … 1E300",
         691,
         367,
         1,
         -1e300,
         1e300,
         [&](double x) { return clamp(x * x); },
         {}},
        {"a formula at the clamp, -1E30 … 1E30",
         691,
         367,
         1,
         -10,
         1,
         [](double x) { return x < -4.5 ? -1e30 : 1e30; },
         {}},
        {"the initial graph, unchanged",
         691,
         367,
         1,
         -10,
         1,
         [](double x) { return x * x - 2; },
         {"1", "0", "-1", "-2", "-3", "-4", "-5", "-6", "-7", "-8", "-9"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GraphChart g(r.width, r.height, r.scale);
        g.plot(r.xMin, r.xMax, r.f);
        g.paint();
        TChart& c = g.chart;
        for (TChartAxis* axis : {c.BottomAxis(), c.LeftAxis()}) {
            std::vector<double> values;
            axis->LabelValues(values);
            const Texts texts = g.labels(axis);
            for (std::size_t i = 0; i < texts.size(); ++i) {
                SCOPED_TRACE(texts[i]);
                if (i > 0) {
                    EXPECT_NE(texts[i], texts[i - 1]);
                }
                if (std::fabs(values[i]) < axis->LabelIncrement / 2) {
                    EXPECT_EQ(texts[i], "0");
                }
            }
        }
        TChartAxis* bottom = c.BottomAxis();
        if (!r.bottom.empty()) {
            EXPECT_EQ(g.labels(bottom), r.bottom);
        }
        // Centred on their ticks, largest value (rightmost) first: a gap of a pixel at least.
        const Texts texts = g.labels(bottom);
        const std::vector<int>& ticks = bottom->TickPositions();
        ASSERT_EQ(ticks.size(), texts.size());
        c.Canvas().AssignFont(bottom->LabelsFont);
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            const double halves =
                (c.Canvas().TextWidth(texts[i - 1]) + c.Canvas().TextWidth(texts[i])) / 2.0;
            EXPECT_GE(ticks[i - 1] - ticks[i], halves + 1) << texts[i - 1] << " " << texts[i];
        }
    }
}

TEST(AxisDrawing, TicksGridAndMinorTicksInTheImage) {
    GraphChart g;
    g.plot(-10, 1, [](double x) { return x; });
    g.paint();
    TChart& c = g.chart;
    const TRect plot = c.PlotRect();
    TChartAxis* left = c.LeftAxis();
    TChartAxis* bottom = c.BottomAxis();
    ASSERT_EQ(left->TickPositions().size(), 11u);
    ASSERT_EQ(bottom->TickPositions().size(), 11u);

    // Outer ticks: four gray pixels just outside the axis line, nothing beyond.
    for (int p : left->TickPositions()) {
        SCOPED_TRACE(testing::Message() << "left tick " << p);
        for (int dx = 1; dx <= 4; ++dx)
            EXPECT_EQ(g.pixel(left->AxisPos - dx, p), kGray) << dx;
        EXPECT_EQ(g.pixel(left->AxisPos - 5, p), kAqua);
    }
    for (int p : bottom->TickPositions()) {
        SCOPED_TRACE(testing::Message() << "bottom tick " << p);
        for (int dy = 1; dy <= 4; ++dy)
            EXPECT_EQ(g.pixel(p, bottom->AxisPos + dy), kGray) << dy;
        EXPECT_EQ(g.pixel(p, bottom->AxisPos + 5), kAqua);
    }

    // Grid: dotted gray lines whose gaps show the background (transparent, not white).
    const int row = left->TickPositions()[3];
    int gray = 0;
    int other = 0;
    for (int x = plot.Left + 1; x < plot.Right; ++x) {
        const TColor px = g.pixel(x, row);
        if (px == kGray)
            ++gray;
        else if (px != kAqua && px != kBlue)
            ++other;
    }
    const int width = plot.Right - plot.Left - 1;
    EXPECT_EQ(other, 0);
    EXPECT_GT(gray, width * 2 / 5);
    EXPECT_LT(gray, width * 3 / 5);
    // Between two vertical grid lines and away from the blue line: three on, three off.
    const int x0 = bottom->TickPositions()[9] + 2;
    for (int x = x0; x < x0 + 12; ++x)
        EXPECT_NE(g.pixel(x, row) == kGray, g.pixel(x + 3, row) == kGray) << x;

    // Minor ticks: three between neighbouring ticks, two pixels long, and three beyond the last
    // major tick (-9) towards -10 with the spacing of the first pair. The ticks lie 57 apart at
    // 89 … 659 (see the labels' test); quarters of 57 are 14.25, 28.5 and 42.75, halves to
    // even: 14, 28 and 43 beyond each tick, and 89 − those = 75, 61, 46 below -9 (start 32).
    std::vector<int> ticks;
    for (int p = 659; p >= 89; p -= 57)
        ticks.push_back(p);
    EXPECT_EQ(bottom->TickPositions(), ticks);
    std::vector<int> minor = {75, 61, 46};
    for (int p = 89; p < 659; p += 57)
        for (int d : {14, 28, 43})
            minor.push_back(p + d);
    for (int q : minor) {
        SCOPED_TRACE(testing::Message() << "minor tick " << q);
        EXPECT_EQ(g.pixel(q, bottom->AxisPos + 1), kGray);
        EXPECT_EQ(g.pixel(q, bottom->AxisPos + 2), kGray);
        EXPECT_EQ(g.pixel(q, bottom->AxisPos + 3), kAqua);
    }
}

TEST(AxisDrawing, ConstantSeriesEndsItsLabelWalkAtTheCentre) {
    // Every label of the walk sits at the centre; each text is drawn there once.
    struct Row {
        double value;
        std::size_t ticks;
        Texts drawn;
    };
    const Row rows[] = {
        {5, 7, {"5"}},
        {0, 1, {"0"}},
        {-5, 0, {}},
        {20000, 1, {"20,000"}},
        {1e20, 1, {"1E20"}},
        {5000, std::size_t(kMaxAxisTicks), {"5,000"}},
        // Just above the half of the third place: the first label rounds up, the next ones
        // (9 units of 2^-43 lower each, down to c − 1.001E-9: 979 labels) round down.
        {1000.0005000000002, 979, {"1,000.001", "1,000"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        GraphChart g;
        g.plot(-10, 1, [&](double) { return r.value; });
        g.paint();
        TChartAxis* left = g.chart.LeftAxis();
        EXPECT_EQ(left->LabelIncrement, 1e-12);
        EXPECT_EQ(left->TickPositions().size(), r.ticks);
        for (int p : left->TickPositions())
            ASSERT_EQ(p, left->PixelCenter());
        std::vector<std::string> log;
        g.chart.Canvas().SetCallLog(&log);
        g.chart.PaintImage();
        g.chart.Canvas().SetCallLog(nullptr);
        const std::string prefix = "TextOut " + std::to_string(left->LabelsPos) + ",";
        Texts drawn;
        for (const std::string& line : log)
            if (line.rfind(prefix, 0) == 0)
                drawn.push_back(line.substr(line.find('"') + 1, line.size() - line.find('"') - 2));
        EXPECT_EQ(drawn, r.drawn);
    }
}

TEST(AxisLabelsOnChart, StyleEventAndLineBreaks) {
    GraphChart g;
    TChart& c = g.chart;
    g.series->AddPoint(-1, 1, "first");
    g.series->AddPoint(1, 2);
    struct Row {
        TChartAxis* axis;
        TAxisLabelStyle expected;
    };
    const Row rows[] = {{c.BottomAxis(), TAxisLabelStyle::talText},
                        {c.LeftAxis(), TAxisLabelStyle::talValue},
                        {c.TopAxis(), TAxisLabelStyle::talNone}};
    for (const Row& r : rows)
        EXPECT_EQ(r.axis->CalcLabelStyle(), r.expected);
    c.TopAxis()->LabelStyle = TAxisLabelStyle::talValue;
    EXPECT_EQ(c.TopAxis()->CalcLabelStyle(), TAxisLabelStyle::talValue);

    // The chart's label event changes the drawn texts but not the measured label room.
    TChartAxis* left = c.LeftAxis();
    g.paint();
    const int room = left->LabelsWidth();
    c.OnGetAxisLabel = [](TChartAxis*, TChartSeries* series, int index, std::string& text) {
        EXPECT_EQ(series, nullptr);
        EXPECT_EQ(index, -1);
        text = "value " + text + " units";
    };
    EXPECT_EQ(left->FormatAxisLabel(1234.5), "value 1,234.5 units");
    EXPECT_EQ(left->LabelsWidth(), room);
    left->LabelsMultiLine = true;
    EXPECT_EQ(left->FormatAxisLabel(2), "value\n2\nunits");
}
