// The chart's paint sequence: rectangles, the panel fill, the title block, the back wall, the
// event order, the neutral canvas afterwards and the one-copy repaint.

#include "GraphChart.h"
#include "ImagePixels.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

// The plot rectangle of a paint with no axes shown: the margins and the titles only.
TRect PaintedPlotRect(TChart& chart) {
    chart.AxisVisible = false;
    QImage window(chart.width(), chart.height(), QImage::Format_RGB32);
    chart.Invalidate();
    chart.PaintChart(window);
    return chart.PlotRect();
}

int TitleLineHeight(const TChartFont& font) {
    TChartCanvas3D c;
    c.AssignFont(font);
    return c.TextHeight("W");
}

} // namespace

TEST(ChartPaint, MarginsArePercentagesRoundedHalfAway) {
    struct Row {
        int width, height, margin;
        TRect expected;
    };
    const std::vector<Row> rows = {
        {691, 367, 1, {7, 4, 684, 363}},
        {150, 50, 1, {2, 1, 148, 49}},
        {100, 100, 0, {0, 0, 100, 100}},
        {200, 100, 60, {120, 60, 121, 61}}, // crossed margins repaired: one pixel
    };
    for (const Row& row : rows) {
        TChart chart;
        chart.resize(row.width, row.height);
        chart.MarginLeft = chart.MarginTop = chart.MarginRight = chart.MarginBottom = row.margin;
        chart.Title.Visible = false;
        const TRect r = PaintedPlotRect(chart);
        EXPECT_EQ(r, row.expected) << row.width << "x" << row.height << " margin " << row.margin;
        EXPECT_EQ(chart.PlotWidth(), r.Width());
        EXPECT_EQ(chart.PlotCenterX(), (r.Left + r.Right) / 2);
    }
    static_assert(MulDiv(1, 150, 100) == 2 && MulDiv(1, 50, 100) == 1);
    static_assert(MulDiv(-1, 50, 100) == -1 && MulDiv(1, 49, 100) == 0);
}

TEST(ChartPaint, TitleAndFootTakeTheirLinesAndTheGap) {
    TChartFont font;
    font.Height = -20;
    const int h = TitleLineHeight(font);
    struct Row {
        const char* name;
        std::vector<std::string> text;
        bool foot;
        int frameWidth; // 0 = hidden frame
        int top, bottom;
    };
    const std::vector<Row> rows = {
        {"no lines", {}, false, 0, 4, 363},
        {"one empty line", {""}, false, 0, 4 + h + 5, 363},
        {"two lines", {"a", "b"}, false, 0, 4 + 2 * h + 5, 363},
        {"framed line", {"a"}, false, 3, 4 + 3 + h + 3 + 5, 363},
        {"foot line", {"a"}, true, 0, 4, 363 - h - 5},
        {"foot without lines", {}, true, 0, 4, 363},
    };
    for (const Row& row : rows) {
        TChart chart;
        SetUpGraphChart(chart, 1);
        chart.resize(691, 367);
        TChartTitle& t = row.foot ? chart.Foot : chart.Title;
        if (row.foot)
            chart.Title.Text.clear();
        t.Font = font;
        t.Text = row.text;
        t.Frame.Visible = row.frameWidth > 0;
        t.Frame.Width = row.frameWidth;
        const TRect r = PaintedPlotRect(chart);
        EXPECT_EQ(r.Top, row.top) << row.name;
        EXPECT_EQ(r.Bottom, row.bottom) << row.name;
    }
}

TEST(ChartPaint, ConfiguredChartIsAquaWithTheBackWallFrame) {
    TChart chart;
    SetUpGraphChart(chart, 1);
    chart.resize(691, 367);
    const TRect r = PaintedPlotRect(chart);
    const QImage& img = chart.OffscreenImage();
    ASSERT_EQ(img.size(), QSize(691, 367));
    // Everything aqua except the one-pixel black frame on the plot rectangle's edge pixels.
    std::string bad;
    for (int y = 0; y < 367 && bad.empty(); ++y)
        for (int x = 0; x < 691; ++x) {
            const bool onFrame = ((x == r.Left || x == r.Right) && y >= r.Top && y <= r.Bottom) ||
                                 ((y == r.Top || y == r.Bottom) && x >= r.Left && x <= r.Right);
            if (ColorAt(img, x, y) != (onFrame ? clBlack : clAqua)) {
                bad = std::to_string(x) + "," + std::to_string(y);
                break;
            }
        }
    EXPECT_EQ(bad, "");
    // The empty title line: a block the width of "W" at the right end, in aqua.
    const TRect& t = chart.Title.TitleRect;
    EXPECT_EQ(t.Right, 684);
    EXPECT_EQ(t.Top, 4);
    EXPECT_GT(t.Width(), 5);
    EXPECT_EQ(chart.Canvas().GradientBrushCount(), 1);
}

TEST(ChartPaint, RepaintWithoutChangeIsOneCopy) {
    TChart chart;
    auto* s = SetUpGraphChart(chart, 1);
    chart.resize(300, 200);
    s->AddPoint(0, 1);
    s->AddPoint(1, 2);
    QImage window(300, 200, QImage::Format_RGB32);
    struct Row {
        const char* name;
        std::function<void()> between;
        int fullPaints, copies;
    };
    const std::vector<Row> rows = {
        {"first paint", [] {}, 1, 1},
        {"no change", [] {}, 1, 2},
        {"no change again", [] {}, 1, 3},
        {"new point", [&] { s->AddPoint(2, 0); }, 2, 4},
        {"invalidate", [&] { chart.Invalidate(); }, 3, 5},
        {"resize", [&] { chart.resize(310, 200); }, 4, 6},
        {"automatic repaint off",
         [&] {
             chart.SetAutoRepaint(false);
             s->AddPoint(3, 0);
         },
         4, 7},
    };
    for (const Row& row : rows) {
        row.between();
        chart.PaintChart(window);
        EXPECT_EQ(chart.FullPaintCount(), row.fullPaints) << row.name;
        EXPECT_EQ(chart.CopyCount(), row.copies) << row.name;
    }
    EXPECT_EQ(chart.OffscreenImage().width(), 310);
    // The copy is the image: the window shows exactly the off-screen pixels.
    EXPECT_EQ(window.copy(0, 0, 300, 200), chart.OffscreenImage().copy(0, 0, 300, 200));
}

TEST(ChartPaint, BurstOfAdditionsPaintsOnceInTheEventLoop) {
    TChart chart;
    auto* s = SetUpGraphChart(chart, 1);
    chart.resize(400, 300);
    chart.show();
    QApplication::processEvents();
    const int before = chart.FullPaintCount();
    for (int i = 0; i <= 400; ++i)
        s->AddPoint(i, i % 7);
    EXPECT_EQ(chart.FullPaintCount(), before); // nothing drawn while adding
    for (int k = 0; k < 5; ++k)
        QApplication::processEvents();
    EXPECT_EQ(chart.FullPaintCount(), before + 1);
    EXPECT_TRUE(chart.testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_TRUE(chart.testAttribute(Qt::WA_NoSystemBackground));
}

TEST(ChartPaint, EventsInOrderAndNeutralCanvasAfterwards) {
    TChart chart;
    auto* s = SetUpGraphChart(chart, 1);
    chart.resize(300, 200);
    std::vector<std::string> order;
    chart.OnBeforeDrawAxes = [&](TChart*) { order.push_back("axes"); };
    chart.OnBeforeDrawSeries = [&](TChart*) { order.push_back("series"); };
    s->BeforeDrawValues = [&](TChartSeries*) { order.push_back("before values"); };
    s->AfterDrawValues = [&](TChartSeries*) { order.push_back("after values"); };
    chart.OnAfterDraw = [&](TChart* c) {
        const TChartCanvas3D& canvas = c->Canvas();
        order.push_back("after draw");
        EXPECT_EQ(canvas.Pen().Color, clBlack);
        EXPECT_EQ(canvas.Pen().Width, 1);
        EXPECT_EQ(canvas.Pen().Style, TPenStyle::psSolid);
        EXPECT_EQ(canvas.Brush().Color, clWhite);
        EXPECT_EQ(canvas.Brush().Style, TBrushStyle::bsSolid);
        EXPECT_EQ(canvas.Font().Size, 10);
        EXPECT_EQ(canvas.Font().Color, clBlack);
        EXPECT_TRUE(canvas.BackTransparent());
        EXPECT_FALSE(canvas.IsClipped());
    };
    QImage window(300, 200, QImage::Format_RGB32);
    chart.PaintChart(window); // no points: the series draws nothing and fires nothing
    s->AddPoint(1, 1);
    chart.PaintChart(window); // one point: no segment, but both events
    const std::vector<std::string> expected = {"axes",         "series",    "after draw",
                                               "axes",         "series",    "before values",
                                               "after values", "after draw"};
    EXPECT_EQ(order, expected);
}

TEST(ChartPaint, TinyChartsPaintWithoutFault) {
    // Margins of 1 % round to 0 here. The title line (24 pixels) and its gap of 5 put the top
    // at 29; a crossed or empty rectangle is repaired to one pixel (right or bottom = left or
    // top + 1; of no width at all, the control's width). Only at 40 across does an axis fit:
    // the left one, labels 0 … 10 («10» 12 pixels and a blank of 3) and 6 for line and ticks.
    struct Row {
        int width, height;
        TRect plot;
    };
    const std::vector<Row> rows = {
        {0, 0, {0, 29, 1, 30}},    {1, 1, {0, 29, 1, 30}},  {5, 3, {0, 29, 5, 30}},
        {40, 2, {21, 29, 40, 30}}, {2, 40, {0, 29, 2, 40}},
    };
    for (const Row& row : rows) {
        TChart chart;
        auto* s = SetUpGraphChart(chart, 1);
        chart.resize(row.width, row.height);
        for (int i = 0; i < 50; ++i)
            s->AddPoint(i, (i * 37) % 11);
        QImage window(std::max(row.width, 1), std::max(row.height, 1), QImage::Format_RGB32);
        chart.PaintChart(window);
        EXPECT_EQ(chart.FullPaintCount(), 1) << row.width << "x" << row.height;
        EXPECT_EQ(chart.OffscreenImage().width(), row.width);
        EXPECT_EQ(chart.PlotRect(), row.plot) << row.width << "x" << row.height;
    }
}

// The graph window's chart painted for a screen of device pixel ratio 2: an image of twice the
// size whose geometry is the ratio-1 picture's (the panel, the frame and the dotted grid fall
// on the doubled pixels), but whose line and labels are rasterised at device resolution, not
// copied in 2 × 2 blocks, and whose glyphs are still monochrome.
TEST(ChartPaint, RatioTwoIsRasterisedAtDeviceResolution) {
    TChart chart;
    chart.resize(691, 367);
    TLineSeries* series = SetUpGraphChart(chart, 1);
    for (int i = 0; i < 401; ++i) {
        const double x = -10 + i * 11.0 / 400;
        series->AddPoint(x, 2 * std::sin(x) * std::sin(x) + 1);
    }
    QImage once(691, 367, QImage::Format_RGB32);
    chart.PaintChart(once);
    // The first paint of new points lays the axes out before their labels are known; the
    // pictures compared are those of the settled layout.
    chart.Invalidate();
    chart.PaintChart(once);
    const TRect plot = chart.PlotRect();
    QImage twice(1382, 734, QImage::Format_RGB32);
    twice.setDevicePixelRatio(2);
    chart.PaintChart(twice);
    const QImage& image = chart.OffscreenImage();
    ASSERT_EQ(image.size(), QSize(1382, 734));
    EXPECT_EQ(image.devicePixelRatio(), 2);
    EXPECT_EQ(chart.PlotRect(), plot);               // the same logical geometry
    EXPECT_EQ(twice.pixel(0, 0), image.pixel(0, 0)); // copied 1:1 to the device

    // Pixels that differ from the doubled ratio-1 picture, counted where the labels are (left
    // of the plot) and within the plot (the line), and blocks that are not uniform.
    const QImage doubled = once.scaled(1382, 734);
    int labelDiffs = 0, plotDiffs = 0, otherDiffs = 0, mixedBlocks = 0, oddLineEdges = 0;
    std::set<QRgb> labelColours, onceColours;
    for (int y = 0; y < 734; ++y)
        for (int x = 0; x < 1382; ++x) {
            const bool inPlot = x > 2 * plot.Left + 1 && x < 2 * plot.Right - 2 &&
                                y > 2 * plot.Top + 1 && y < 2 * plot.Bottom - 2;
            const bool inLabels = x < 2 * plot.Left - 4 || x >= 2 * plot.Right + 4 ||
                                  y < 2 * plot.Top - 4 || y >= 2 * plot.Bottom + 4;
            if (inLabels) {
                labelColours.insert(image.pixel(x, y));
                onceColours.insert(doubled.pixel(x, y));
            }
            const bool line = ColorAt(image, x, y) == clBlue || ColorAt(doubled, x, y) == clBlue;
            if (image.pixel(x, y) != doubled.pixel(x, y))
                ++(inPlot || line ? plotDiffs : inLabels ? labelDiffs : otherDiffs);
            if (x % 2 == 0 && y % 2 == 0) {
                const QRgb p = image.pixel(x, y);
                if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                    image.pixel(x + 1, y + 1) != p)
                    ++mixedBlocks;
            }
            // The top edge of the blue line at an odd device row: a step of one device pixel.
            if (inPlot && y % 2 == 1 && ColorAt(image, x, y) == clBlue &&
                ColorAt(image, x, y - 1) != clBlue)
                ++oddLineEdges;
        }
    EXPECT_GT(labelDiffs, 100);
    EXPECT_GT(plotDiffs, 100);
    EXPECT_EQ(otherDiffs, 0); // the frame and the grid: the doubled picture
    EXPECT_GT(mixedBlocks, 100);
    EXPECT_GT(oddLineEdges, 10);
    // Glyphs without antialiasing: no colour around the plot that the ratio-1 picture lacks.
    EXPECT_EQ(labelColours, onceColours);

    // Back at ratio 1 the picture is the ratio-1 picture again.
    QImage again(691, 367, QImage::Format_RGB32);
    chart.PaintChart(again);
    EXPECT_EQ(again, once);
}
