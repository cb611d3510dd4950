// Mouse zoom and panning on the real widget: which drags zoom, undo or do nothing, the ranges
// they give, panning per direction and its end at the plot's edge, what a press hits, the
// events and the saved scales.

#include "ZoomTestSetup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Part = TChartClickedPartStyle;

// A chart whose bottom axis spans 0 … 10 over the 100 pixels 50 … 150 and whose left axis
// spans 0 … 10 over 50 … 150 downward, set as a paint would leave them.
void SetSquareAxes(TChart& chart) {
    chart.SetPlotRect({50, 50, 150, 150});
    chart.RecalcPlotSize();
    for (TChartAxis* a :
         {chart.BottomAxis(), chart.TopAxis(), chart.LeftAxis(), chart.RightAxis()}) {
        a->PixelStart = 50;
        a->PixelEnd = 150;
        a->Minimum = 0;
        a->Maximum = 10;
        a->SetActualRange(0, 10);
    }
}

} // namespace

TEST(ZoomDrag, LeftDragsZoomUndoOrDoNothing) {
    enum class Outcome { Zoom, Undo, Nothing };
    struct Row {
        const char* name;
        bool zoomedBefore;
        QPoint from, to;
        Outcome outcome;
        double bottomMin = 0, bottomMax = 0, leftMin = 0, leftMax = 0; // of a zoom
    };
    // A zoom drags on SetSquareAxes, a tenth of a unit per pixel: 100 … 117 across is 5 … 6.7;
    // 100 … 117 down the left axis (10 at 50, 0 at 150) is 3.3 … 5.
    const std::vector<Row> rows = {
        {"17 both ways, right and down",
         false,
         {100, 100},
         {117, 117},
         Outcome::Zoom,
         5,
         6.7,
         3.3,
         5},
        {"across most of the plot", false, {60, 70}, {140, 130}, Outcome::Zoom, 1, 9, 2, 8},
        {"16 across, far down", false, {100, 100}, {116, 200}, Outcome::Nothing},
        {"far across, 16 down", false, {100, 100}, {200, 116}, Outcome::Nothing},
        {"up and left after a zoom", true, {200, 200}, {100, 100}, Outcome::Undo},
        {"left and down after a zoom", true, {200, 100}, {100, 200}, Outcome::Undo},
        {"right and up after a zoom", true, {100, 200}, {200, 100}, Outcome::Undo},
        {"small up-left after a zoom", true, {200, 200}, {184, 100}, Outcome::Nothing},
        {"up-left without a zoom", false, {200, 200}, {100, 100}, Outcome::Undo},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto chart = MakeZoomChart();
        Shown(*chart);
        const AxisRange autoBottom = RangeOf(*chart->BottomAxis());
        if (row.zoomedBefore) {
            Drag(*chart, Qt::LeftButton, {300, 150}, {400, 250});
            ASSERT_TRUE(chart->ZoomApplied());
            Shown(*chart);
        }
        if (row.outcome == Outcome::Zoom)
            SetSquareAxes(*chart);
        const AxisRange before = RangeOf(*chart->BottomAxis());
        int zooms = 0, undos = 0;
        chart->OnZoom = [&](TChart*) { ++zooms; };
        chart->OnUndoZoom = [&](TChart*) { ++undos; };

        Drag(*chart, Qt::LeftButton, row.from, row.to);
        EXPECT_FALSE(chart->MouseZoom().Zoom.Active);
        const AxisRange after = RangeOf(*chart->BottomAxis());
        switch (row.outcome) {
        case Outcome::Zoom:
            EXPECT_EQ(zooms, 1);
            EXPECT_TRUE(chart->ZoomApplied());
            EXPECT_FALSE(after.automatic);
            EXPECT_DOUBLE_EQ(after.minimum, row.bottomMin);
            EXPECT_DOUBLE_EQ(after.maximum, row.bottomMax);
            EXPECT_DOUBLE_EQ(chart->TopAxis()->Maximum, row.bottomMax);
            EXPECT_DOUBLE_EQ(chart->LeftAxis()->Minimum, row.leftMin);
            EXPECT_DOUBLE_EQ(chart->LeftAxis()->Maximum, row.leftMax);
            EXPECT_DOUBLE_EQ(chart->RightAxis()->Minimum, row.leftMin);
            break;
        case Outcome::Undo:
            EXPECT_EQ(undos, 1);
            EXPECT_FALSE(chart->ZoomApplied());
            EXPECT_TRUE(after.automatic);
            Shown(*chart);
            EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum, autoBottom.minimum);
            EXPECT_DOUBLE_EQ(chart->BottomAxis()->Maximum, autoBottom.maximum);
            break;
        case Outcome::Nothing:
            EXPECT_EQ(zooms + undos, 0);
            EXPECT_EQ(chart->ZoomApplied(), row.zoomedBefore);
            EXPECT_EQ(after.automatic, before.automatic);
            EXPECT_DOUBLE_EQ(after.minimum, before.minimum);
            EXPECT_DOUBLE_EQ(after.maximum, before.maximum);
            break;
        }
    }
}

TEST(ZoomDrag, ZoomedRangeSurvivesReplotAndUndoFollowsTheNewPoints) {
    auto chart = MakeZoomChart();
    Shown(*chart);
    Drag(*chart, Qt::LeftButton, {150, 100}, {400, 250});
    Shown(*chart);
    const double zMin = chart->BottomAxis()->ActualMinimum,
                 zMax = chart->BottomAxis()->ActualMaximum;
    const double yMin = chart->LeftAxis()->ActualMinimum, yMax = chart->LeftAxis()->ActualMaximum;

    // Replot another function over another interval, as the plotting command does.
    TChartSeries* s = chart->Series(0);
    s->ClearPoints();
    for (int i = 0; i <= 400; ++i) {
        const double x = 1 + 4.0 * i / 400;
        s->AddPoint(x, 3 * x);
    }
    Shown(*chart);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->ActualMinimum, zMin);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->ActualMaximum, zMax);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMinimum, yMin);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMaximum, yMax);

    Drag(*chart, Qt::LeftButton, {400, 250}, {150, 100});
    Shown(*chart);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->ActualMinimum, 1);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->ActualMaximum, 5);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMinimum, 3);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMaximum, 15);
    EXPECT_FALSE(chart->MouseZoom().ScaleBackupTaken);
}

TEST(ZoomDrag, ZoomsAConstantAndStopsAtTheNarrowestRange) {
    // A constant has no height: its zoom widens to 5 … 5 + 1e-10. A drag of 60 of the ~640
    // pixels across and 40 of the ~330 down shrinks the ranges at least sevenfold, so 20
    // drags would leave 100/7^20 ≈ 1e-15 of −2 … 98: the ranges stop at 1e-10 and every paint
    // still completes.
    for (const bool constant : {true, false}) {
        SCOPED_TRACE(constant ? "constant 5" : "x*x-2");
        auto chart = MakeZoomChart();
        TChartSeries* s = chart->Series(0);
        if (constant) {
            s->ClearPoints();
            for (int i = 0; i <= 400; ++i)
                s->AddPoint(-10 + 20.0 * i / 400, 5);
        }
        for (int k = 0; k < 20; ++k) {
            Shown(*chart);
            const int paints = chart->FullPaintCount();
            Drag(*chart, Qt::LeftButton, {200, 100}, {260, 140});
            ASSERT_TRUE(chart->ZoomApplied()) << "drag " << k;
            Shown(*chart);
            ASSERT_EQ(chart->FullPaintCount(), paints + 1) << "drag " << k;
            if (constant && k == 0) {
                EXPECT_EQ(chart->LeftAxis()->Minimum, 5);
                EXPECT_EQ(chart->LeftAxis()->Maximum, 5 + 1e-10);
            }
        }
        for (const TChartAxis* a : {chart->BottomAxis(), chart->LeftAxis()}) {
            EXPECT_GE(a->Maximum - a->Minimum, 0.99e-10);
            EXPECT_LE(a->Maximum - a->Minimum, 1.01e-10);
        }
    }
}

TEST(ZoomDrag, ReleasingTheOtherButtonEndsAPanButNotAZoom) {
    struct Row {
        Qt::MouseButton drag, other;
        bool zoomed;
        double bottomMin, bottomMax; // worked on SetSquareAxes, a tenth of a unit per pixel
    };
    const std::vector<Row> rows = {
        // The zoom goes on to its own release: 60 … 140 across is 1 … 9.
        {Qt::LeftButton, Qt::RightButton, true, 1, 9},
        // The pan ends at the other release: 10 pixels right, then nothing more.
        {Qt::RightButton, Qt::LeftButton, false, -1, 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "drag with " << row.drag);
        auto chart = MakeZoomChart(300, 300);
        Shown(*chart);
        SetSquareAxes(*chart);
        QTest::mousePress(chart.get(), row.drag, Qt::NoModifier, {60, 70});
        QTest::mouseMove(chart.get(), {70, 70});
        QTest::mousePress(chart.get(), row.other, Qt::NoModifier, {70, 70});
        QTest::mouseRelease(chart.get(), row.other, Qt::NoModifier, {70, 70});
        QTest::mouseMove(chart.get(), {140, 130});
        QTest::mouseRelease(chart.get(), row.drag, Qt::NoModifier, {140, 130});
        EXPECT_EQ(chart->ZoomApplied(), row.zoomed);
        EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum, row.bottomMin);
        EXPECT_DOUBLE_EQ(chart->BottomAxis()->Maximum, row.bottomMax);
        EXPECT_FALSE(chart->MouseZoom().Zoom.Active);
        EXPECT_FALSE(chart->MouseZoom().Panning.Active);
    }
}

TEST(ZoomDrag, AHandlerThatThrowsLeavesTheNextPaintAndDragWorking) {
    auto reference = MakeZoomChart(300, 300);
    const QImage clean = Shown(*reference);
    auto chart = MakeZoomChart(300, 300);
    Shown(*chart);
    chart->setCursor(Qt::CrossCursor);
    // After drawing: that paint is lost, the next one paints the whole chart again.
    bool fail = true;
    chart->OnAfterDraw = [&](TChart*) {
        if (std::exchange(fail, false))
            throw std::runtime_error("after draw");
    };
    chart->Invalidate();
    chart->grab(); // paints through the widget's own paint handler
    EXPECT_FALSE(fail);
    EXPECT_EQ(Shown(*chart), clean);
    // On zoom and on undo: the ranges are changed all the same, the drag is over, the cursor
    // is the chart's own, and the next paint shows the new ranges.
    chart->OnZoom = [](TChart*) { throw std::runtime_error("zoom"); };
    chart->OnUndoZoom = [](TChart*) { throw std::runtime_error("undo"); };
    SetSquareAxes(*chart);
    Drag(*chart, Qt::LeftButton, {60, 70}, {140, 130}); // 1 … 9 across, 2 … 8 up
    EXPECT_TRUE(chart->ZoomApplied());
    EXPECT_FALSE(chart->MouseZoom().Zoom.Active);
    EXPECT_EQ(chart->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(chart->ImageOutOfDate());
    Shown(*chart);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->ActualMinimum, 1);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->ActualMaximum, 9);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMinimum, 2);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMaximum, 8);
    Drag(*chart, Qt::LeftButton, {200, 200}, {100, 100});
    EXPECT_FALSE(chart->ZoomApplied());
    EXPECT_TRUE(chart->ImageOutOfDate());
    EXPECT_EQ(Shown(*chart), clean);
}

TEST(ZoomDrag, RightDragPansTheDirectionsThatAreAllowed) {
    struct Row {
        TPanningMode mode;
        QPoint by;
        double bottomMin, bottomMax, leftMin, leftMax;
        bool scrolled;
    };
    // The bottom axis: content follows the mouse, so a drag to the right shows smaller values.
    // The left axis grows upward: a drag downward shows larger values.
    const std::vector<Row> rows = {
        {TPanningMode::pmBoth, {10, 0}, -1, 9, 0, 10, true},
        {TPanningMode::pmBoth, {-10, 20}, 1, 11, 2, 12, true},
        {TPanningMode::pmHorizontal, {10, 20}, -1, 9, 0, 10, true},
        {TPanningMode::pmVertical, {10, 20}, 0, 10, 2, 12, true},
        {TPanningMode::pmVertical, {10, 0}, 0, 10, 0, 10, false},
        {TPanningMode::pmNone, {10, 20}, 0, 10, 0, 10, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << int(row.mode) << " by " << row.by.x() << "," << row.by.y());
        auto chart = MakeZoomChart(300, 300);
        Shown(*chart);
        SetSquareAxes(*chart);
        chart->AllowPanning = row.mode;
        int scrolls = 0;
        chart->OnScroll = [&](TChart*) { ++scrolls; };
        Drag(*chart, Qt::RightButton, {80, 80}, QPoint(80, 80) + row.by);
        EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum, row.bottomMin);
        EXPECT_DOUBLE_EQ(chart->BottomAxis()->Maximum, row.bottomMax);
        EXPECT_DOUBLE_EQ(chart->LeftAxis()->Minimum, row.leftMin);
        EXPECT_DOUBLE_EQ(chart->LeftAxis()->Maximum, row.leftMax);
        EXPECT_EQ(scrolls, row.scrolled ? 1 : 0);
        EXPECT_FALSE(chart->ZoomApplied()); // panning is no zoom
        EXPECT_EQ(chart->MouseZoom().ScaleBackupTaken, row.mode != TPanningMode::pmNone);
    }
}

TEST(ZoomDrag, PanningStopsWhereTheMouseLeavesThePlot) {
    auto chart = MakeZoomChart(300, 300);
    Shown(*chart);
    SetSquareAxes(*chart);
    QTest::mousePress(chart.get(), Qt::RightButton, Qt::NoModifier, {100, 100});
    QTest::mouseMove(chart.get(), {110, 100});
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum, -1);
    QTest::mouseMove(chart.get(), {150, 100}); // Right edge: outside
    EXPECT_FALSE(chart->MouseZoom().Panning.Active);
    QTest::mouseMove(chart.get(), {120, 100}); // back inside: the drag is over
    QTest::mouseRelease(chart.get(), Qt::RightButton, Qt::NoModifier, {120, 100});
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum, -1);
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Maximum, 9);
}

TEST(ZoomDrag, PanThenUndoRestoresTheAutomaticScales) {
    auto chart = MakeZoomChart();
    Shown(*chart);
    const AxisRange autoLeft = RangeOf(*chart->LeftAxis());
    Drag(*chart, Qt::RightButton, {200, 200}, {260, 230});
    Shown(*chart);
    EXPECT_FALSE(RangeOf(*chart->LeftAxis()).automatic);
    EXPECT_NE(chart->LeftAxis()->Minimum, autoLeft.minimum);
    // A second pan keeps the scales saved by the first one.
    const TScaleBackup saved = chart->MouseZoom().ScaleBackup;
    Drag(*chart, Qt::RightButton, {200, 200}, {150, 150});
    EXPECT_EQ(chart->MouseZoom().ScaleBackup.Left, saved.Left);
    EXPECT_TRUE(saved.Left.Automatic);
    chart->ResetZoom();
    Shown(*chart);
    EXPECT_TRUE(RangeOf(*chart->LeftAxis()).automatic);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMinimum, autoLeft.minimum);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->ActualMaximum, autoLeft.maximum);
}

TEST(ZoomDrag, ResetZoomRestoresFixedScalesWithTheirFlags) {
    auto chart = MakeZoomChart();
    TChartAxis& bottom = *chart->BottomAxis();
    bottom.Automatic = false;
    bottom.AutomaticMinimum = true; // only the upper end is fixed
    bottom.AutomaticMaximum = false;
    bottom.Maximum = 4;
    Shown(*chart);
    Drag(*chart, Qt::LeftButton, {150, 100}, {300, 250});
    EXPECT_FALSE(bottom.AutomaticMinimum);
    chart->ResetZoom();
    EXPECT_FALSE(bottom.Automatic);
    EXPECT_TRUE(bottom.AutomaticMinimum);
    EXPECT_FALSE(bottom.AutomaticMaximum);
    Shown(*chart);
    EXPECT_DOUBLE_EQ(bottom.ActualMinimum, -10);
    EXPECT_DOUBLE_EQ(bottom.ActualMaximum, 4);
}

TEST(ZoomDrag, ResetZoomWithoutZoomOnlyFiresAndRepaints) {
    auto chart = MakeZoomChart();
    Shown(*chart);
    const int paints = chart->FullPaintCount();
    int undos = 0;
    chart->OnUndoZoom = [&](TChart*) { ++undos; };
    chart->ResetZoom();
    EXPECT_EQ(undos, 1);
    EXPECT_TRUE(chart->ImageOutOfDate());
    EXPECT_TRUE(RangeOf(*chart->BottomAxis()).automatic);
    Shown(*chart);
    EXPECT_EQ(chart->FullPaintCount(), paints + 1);
}

TEST(ZoomDrag, WhatAPressHits) {
    auto chart = MakeZoomChart();
    Shown(*chart);
    const TRect plot = chart->PlotRect();
    const TChartAxis& left = *chart->LeftAxis();
    const TChartAxis& bottom = *chart->BottomAxis();
    const TChartAxis& right = *chart->RightAxis();
    const TRect title = chart->Title.TitleRect;
    ASSERT_FALSE(title.IsEmpty());
    // A point on the line: the pixel of the sample x = 5, y = 23 (point 300).
    const int lineX = bottom.ValueToPixel(5), lineY = left.ValueToPixel(23);
    struct Row {
        const char* name;
        int x, y;
        Part part;
        const TChartAxis* axis;
    };
    const std::vector<Row> rows = {
        {"on the line", lineX, lineY, Part::cpSeries, nullptr},
        {"near the line", lineX + 2, lineY - 2, Part::cpSeries, nullptr},
        {"plot, off the line", plot.Left + 10, plot.Bottom - 10, Part::cpChartRect, nullptr},
        {"plot's right edge", plot.Right, plot.Bottom - 10, Part::cpAxis, &right},
        {"left axis line", left.AxisPos, plot.Top + 50, Part::cpAxis, &left},
        {"left labels' anchor", left.LabelsPos, plot.Top + 50, Part::cpAxis, &left},
        {"left, 3 past the line", left.AxisPos + 2, plot.Top + 50, Part::cpAxis, &left},
        {"left labels' text", left.LabelsPos - 3, plot.Top + 50, Part::cpNone, nullptr},
        {"bottom ticks", plot.Left + 100, bottom.AxisPos + 3, Part::cpAxis, &bottom},
        {"bottom labels' anchor", plot.Left + 100, bottom.LabelsPos, Part::cpNone, nullptr},
        {"bottom, past the span", bottom.PixelEnd, bottom.AxisPos + 3, Part::cpNone, nullptr},
        {"title", title.Left + 1, title.Top + 1, Part::cpTitle, nullptr},
        {"title line, left", plot.Left + 20, title.Top + 2, Part::cpNone, nullptr},
        {"top-left margin", 2, 2, Part::cpNone, nullptr},
    };
    for (const Row& row : rows) {
        const TChartClickedPart got = chart->MouseZoom().clickedPart(row.x, row.y);
        EXPECT_EQ(got.Part, row.part) << row.name;
        EXPECT_EQ(got.AAxis, row.axis) << row.name;
        if (row.part == Part::cpSeries) {
            EXPECT_EQ(got.ASeries, chart->Series(0)) << row.name;
            EXPECT_NEAR(got.PointIndex, 300, 3) << row.name;
        }
    }
    // Without an active series the plot area takes no press.
    chart->Series(0)->SetActive(false);
    Shown(*chart);
    EXPECT_EQ(chart->MouseZoom().clickedPart(plot.Left + 10, plot.Bottom - 10).Part, Part::cpNone);
}

TEST(ZoomDrag, PressesOutsideAxesAndPlotStartNoDrag) {
    auto chart = MakeZoomChart();
    Shown(*chart);
    const TRect title = chart->Title.TitleRect;
    const TRect plot = chart->PlotRect();
    const std::vector<QPoint> presses = {
        {title.Left + 1, title.Top + 1},        // the title block
        {plot.Left + 30, title.Top + 3},        // the title line
        {2, 2},                                 // the margin
        {chart->width() - 2, plot.Top + 40},    // right margin, beyond the labels
        {plot.Left + 100, chart->height() - 2}, // bottom margin
    };
    for (const QPoint& p : presses) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            SCOPED_TRACE(testing::Message() << p.x() << "," << p.y() << " button " << button);
            QTest::mousePress(chart.get(), button, Qt::NoModifier, p);
            EXPECT_FALSE(chart->MouseZoom().Zoom.Active);
            EXPECT_FALSE(chart->MouseZoom().Panning.Active);
            QTest::mouseMove(chart.get(), p + QPoint(100, 100));
            QTest::mouseRelease(chart.get(), button, Qt::NoModifier, p + QPoint(100, 100));
            EXPECT_TRUE(RangeOf(*chart->BottomAxis()).automatic);
            EXPECT_FALSE(chart->MouseZoom().ScaleBackupTaken);
        }
    }
}

TEST(ZoomDrag, ClickEventsMayCancelAndScrollMayBeChangedOrRefused) {
    auto chart = MakeZoomChart(300, 300);
    Shown(*chart);
    SetSquareAxes(*chart);
    int backgroundClicks = 0;
    chart->OnClickBackground = [&](TChart* c, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        ++backgroundClicks;
        c->CancelMouse = true;
    };
    QTest::mousePress(chart.get(), Qt::LeftButton, Qt::NoModifier, {60, 60});
    EXPECT_EQ(backgroundClicks, 1);
    EXPECT_FALSE(chart->MouseZoom().Zoom.Active);
    QTest::mouseRelease(chart.get(), Qt::LeftButton, Qt::NoModifier, {60, 60});
    chart->OnClickBackground = nullptr;

    // The left axis refuses, the right one is moved by twice the mouse, the bottom one as asked.
    chart->OnAllowScroll = [&](TChartAxis* axis, double& lo, double& hi, bool& allow) {
        if (axis == chart->LeftAxis())
            allow = false;
        if (axis == chart->RightAxis()) {
            const double delta = lo - axis->Minimum;
            lo += delta;
            hi += delta;
        }
    };
    Drag(*chart, Qt::RightButton, {80, 80}, {90, 90});
    EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum, -1);
    EXPECT_DOUBLE_EQ(chart->LeftAxis()->Minimum, 0);
    EXPECT_TRUE(chart->LeftAxis()->Automatic);
    EXPECT_DOUBLE_EQ(chart->RightAxis()->Minimum, 2);
    EXPECT_DOUBLE_EQ(chart->RightAxis()->Maximum, 12);
}

TEST(ZoomDrag, FixedRangesAreOrderedWidenedAndFinite) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Row {
        double a, b;
        double minimum, maximum;
        bool changed;
    };
    const std::vector<Row> rows = {
        {3, 1, 1, 3, true},
        {-2, 5, -2, 5, true},
        {5, 5, 5, 5 + 1e-10, true},
        {0, 5e-11, 0, 1e-10, true},
        {1e10, 1e10, 1e10, std::nextafter(1e10, inf), true}, // 1e-10 is lost at 1e10
        {nan, 1, 7, 8, false},
        {1, inf, 7, 8, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.a << " " << row.b);
        TChartAxis axis(nullptr, true, false);
        axis.Minimum = 7;
        axis.Maximum = 8;
        ChartZoom::setFixedRange(axis, row.a, row.b);
        EXPECT_DOUBLE_EQ(axis.Minimum, row.minimum);
        EXPECT_DOUBLE_EQ(axis.Maximum, row.maximum);
        EXPECT_GT(axis.Maximum, axis.Minimum);
        EXPECT_EQ(axis.Automatic, !row.changed);
    }
}

TEST(ZoomDrag, WheelStepsMoveTheVerticalAxesByThreePerCent) {
    struct Row {
        std::vector<int> deltas;
        double leftMin, leftMax;
        bool saved; // a whole step saves the scales, as a zoom or a pan does
    };
    // 0 … 10: a step toward the user (negative) adds 0.3, one away subtracts it.
    const std::vector<Row> rows = {
        {{-120}, 0.3, 10.3, true}, {{120}, -0.3, 9.7, true},      {{-240}, 0.6, 10.6, true},
        {{-60}, 0, 10, false},     {{-60, -60}, 0.3, 10.3, true}, {{120, -120}, 0, 10, true},
    };
    for (const Row& row : rows) {
        auto chart = MakeZoomChart(300, 300);
        Shown(*chart);
        SetSquareAxes(*chart);
        for (int d : row.deltas) {
            QWheelEvent wheel(QPointF(80, 80), chart->mapToGlobal(QPointF(80, 80)), QPoint(),
                              QPoint(0, d), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(chart.get(), &wheel);
        }
        SCOPED_TRACE(testing::Message() << "first delta " << row.deltas.front());
        EXPECT_NEAR(chart->LeftAxis()->Minimum, row.leftMin, 1e-12);
        EXPECT_NEAR(chart->LeftAxis()->Maximum, row.leftMax, 1e-12);
        EXPECT_NEAR(chart->RightAxis()->Minimum, row.leftMin, 1e-12);
        EXPECT_DOUBLE_EQ(chart->BottomAxis()->Minimum, 0); // horizontal axes stay
        EXPECT_EQ(chart->MouseZoom().ScaleBackupTaken, row.saved);
    }
}

TEST(ZoomDrag, WheelShiftsWithoutWideningAndAnUndoDragGivesTheAutomaticRangesBack) {
    struct Row {
        const char* name;
        double (*f)(double);
        double autoMin, autoMax;   // of «f» at 401 points on -10 … 10
        double wheelMin, wheelMax; // one step toward the user: 3 % of the range up
    };
    const std::vector<Row> rows = {
        {"x*x-2", [](double x) { return x * x - 2; }, -2, 98, 1, 101},
        // 3 % of nothing: the constant keeps its one value, not 5 … 5.0000000001.
        {"constant 5", [](double) { return 5.0; }, 5, 5, 5, 5},
        // 3 % of 2E308, a range beyond the doubles: 6E306.
        {"x*1E307", [](double x) { return x * 1e307; }, -1e308, 1e308, -9.4e307, 1.06e308},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto chart = MakeZoomChart();
        TChartSeries* s = chart->Series(0);
        s->ClearPoints();
        for (int i = 0; i <= 400; ++i) {
            const double x = -10 + 20.0 * i / 400;
            s->AddPoint(x, row.f(x));
        }
        Shown(*chart);
        QWheelEvent wheel(QPointF(300, 200), chart->mapToGlobal(QPointF(300, 200)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(chart.get(), &wheel);
        const QImage shown = Shown(*chart);
        TChartAxis& left = *chart->LeftAxis();
        EXPECT_FALSE(RangeOf(left).automatic);
        EXPECT_DOUBLE_EQ(left.Minimum, row.wheelMin);
        EXPECT_DOUBLE_EQ(left.Maximum, row.wheelMax);
        if (row.wheelMin == row.wheelMax) {
            // Every label of the walk reads «5» at the middle, and so does the line.
            std::vector<double> values;
            left.LabelValues(values);
            ASSERT_FALSE(values.empty());
            for (const double v : values) {
                EXPECT_EQ(left.FormatAxisLabel(v), "5");
                EXPECT_EQ(left.ValueToPixel(v), left.PixelCenter());
            }
            EXPECT_EQ(shown.pixel(chart->BottomAxis()->PixelCenter(), left.PixelCenter()),
                      ToArgb(clBlue));
        }

        Drag(*chart, Qt::LeftButton, {400, 250}, {150, 100}); // up and left: undo
        Shown(*chart);
        EXPECT_TRUE(RangeOf(left).automatic);
        EXPECT_TRUE(RangeOf(*chart->RightAxis()).automatic);
        EXPECT_DOUBLE_EQ(left.ActualMinimum, row.autoMin);
        EXPECT_DOUBLE_EQ(left.ActualMaximum, row.autoMax);
        EXPECT_FALSE(chart->MouseZoom().ScaleBackupTaken);
    }
}
