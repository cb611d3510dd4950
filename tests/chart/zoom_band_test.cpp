// The rubber band of a zoom drag: where it lies, its colour on the aqua and on a white panel,
// that drawing it again restores every pixel it crossed, that repaints during the drag show
// it while the chart's own image stays clean, and the cursor of a drag.

#include "ZoomTestSetup.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The pixels where two images differ.
std::vector<QPoint> Differences(const QImage& a, const QImage& b) {
    std::vector<QPoint> out;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                out.emplace_back(x, y);
    return out;
}

// True when (x, y) lies on the outline of the rectangle (l, t) … (r, b), far edges excluded.
bool OnOutline(QPoint p, int l, int t, int r, int b) {
    const bool inside = p.x() >= l && p.x() < r && p.y() >= t && p.y() < b;
    return inside && (p.x() == l || p.x() == r - 1 || p.y() == t || p.y() == b - 1);
}

} // namespace

TEST(ZoomBand, BandFollowsTheMouseAndRestoresThePixelsItCrossed) {
    auto chart = MakeZoomChart();
    const QImage clean = Shown(*chart);
    const QImage chartImage = chart->OffscreenImage().copy();

    QTest::mousePress(chart.get(), Qt::LeftButton, Qt::NoModifier, {100, 100});
    ASSERT_TRUE(chart->MouseZoom().Zoom.Active);
    EXPECT_TRUE(Differences(Shown(*chart), clean).empty()); // a band of zero size

    struct Corner {
        int x, y;
    };
    // Across the grid, the line and the axes; back over its own track; up and left of the start.
    const std::vector<Corner> corners = {{150, 140}, {400, 300}, {160, 150}, {60, 30}, {400, 300}};
    for (const Corner& c : corners) {
        SCOPED_TRACE(testing::Message() << "corner " << c.x << "," << c.y);
        QTest::mouseMove(chart.get(), {c.x, c.y});
        const QImage shown = Shown(*chart);
        const int l = std::min(100, c.x), r = std::max(100, c.x);
        const int t = std::min(100, c.y), b = std::max(100, c.y);
        const std::vector<QPoint> changed = Differences(shown, clean);
        // Every pixel of the outline is inverted against the panel colour, nothing else changes.
        EXPECT_EQ(int(changed.size()), 2 * (r - l) + 2 * (b - t) - 4);
        for (const QPoint& p : changed) {
            ASSERT_TRUE(OnOutline(p, l, t, r, b)) << p.x() << "," << p.y();
            const QRgb was = clean.pixel(p), now = shown.pixel(p);
            // not-xor with aqua (0, 255, 255): red inverted, green and blue kept.
            EXPECT_EQ(qRed(now), 255 - qRed(was));
            EXPECT_EQ(qGreen(now), qGreen(was));
            EXPECT_EQ(qBlue(now), qBlue(was));
        }
        // On the aqua background the band is white.
        const QPoint corner(l, t);
        if (clean.pixel(corner) == qRgb(0, 255, 255)) {
            EXPECT_EQ(shown.pixel(corner), qRgb(255, 255, 255));
        }
        EXPECT_EQ(chart->OffscreenImage(), chartImage); // the chart's own image stays clean
    }
    // Released 16 pixels or less away: no zoom, and every pixel comes back.
    QTest::mouseMove(chart.get(), {110, 180});
    QTest::mouseRelease(chart.get(), Qt::LeftButton, Qt::NoModifier, {116, 180});
    EXPECT_FALSE(chart->ZoomApplied());
    EXPECT_TRUE(Differences(Shown(*chart), clean).empty());
    EXPECT_EQ(chart->MouseZoom().presentedImage(), chart->OffscreenImage());
}

TEST(ZoomBand, DrawingTheBandTwiceGivesBackEveryPixel) {
    struct Row {
        TColor panel;
        QRgb background;
        QRgb band;
    };
    // The pen is the panel colour, black on a white panel; not-xor of equal colours is white.
    const std::vector<Row> rows = {
        {clAqua, qRgb(0, 255, 255), qRgb(255, 255, 255)},
        {clWhite, qRgb(255, 255, 255), qRgb(0, 0, 0)},
        {clWhite, qRgb(0, 255, 255), qRgb(255, 0, 0)},
        {clSilver, qRgb(192, 192, 192), qRgb(255, 255, 255)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.panel << " on " << row.background);
        TChart chart;
        chart.Color = row.panel;
        ChartZoom& zoom = chart.MouseZoom();
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(row.background);
        image.setPixel(30, 5, qRgb(12, 34, 56)); // a pixel of another colour on the band
        const QImage before = image.copy();
        zoom.Zoom = {true, 50, 35, 5, 5}; // dragged up and left, partly... inside the image
        zoom.drawRubberBand(image);
        EXPECT_EQ(image.pixel(5, 5), row.band);
        EXPECT_EQ(image.pixel(49, 34), row.band);
        EXPECT_EQ(image.pixel(50, 35), row.background); // far edges excluded
        EXPECT_EQ(image.pixel(20, 20), row.background); // inside untouched
        zoom.drawRubberBand(image);
        EXPECT_EQ(image, before);
    }
    // Bands of one pixel across and bands reaching beyond the image restore as well. A band
    // one pixel across inverts its single row or column once; outside the image nothing.
    TChart chart;
    chart.Color = clAqua;
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(qRgb(0, 255, 255));
    const QImage before = image.copy();
    struct Band {
        TZoomPanningRecord record;
        int inverted;
    };
    const std::vector<Band> bands = {
        {{true, 3, 3, 4, 15}, 12},    // column x = 3, y = 3 … 14
        {{true, 3, 3, 15, 4}, 12},    // row y = 3, x = 3 … 14
        {{true, -5, -5, 15, 15}, 29}, // row y = 14 (15 pixels) and column x = 14, y = 0 … 13
        {{true, 7, 7, 8, 8}, 1},      // a single pixel
        {{true, 7, 7, 7, 7}, 0},      // zero size
    };
    for (const Band& band : bands) {
        const TZoomPanningRecord& r = band.record;
        SCOPED_TRACE(testing::Message() << r.X0 << "," << r.Y0 << " " << r.X1 << "," << r.Y1);
        chart.MouseZoom().Zoom = r;
        chart.MouseZoom().drawRubberBand(image);
        const std::vector<QPoint> changed = Differences(image, before);
        EXPECT_EQ(int(changed.size()), band.inverted);
        for (const QPoint& p : changed)
            EXPECT_EQ(image.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
        chart.MouseZoom().drawRubberBand(image);
        EXPECT_EQ(image, before);
    }
}

TEST(ZoomBand, RepaintDuringTheDragKeepsTheBand) {
    auto chart = MakeZoomChart();
    Shown(*chart);
    QTest::mousePress(chart.get(), Qt::LeftButton, Qt::NoModifier, {100, 100});
    QTest::mouseMove(chart.get(), {200, 160});
    const QImage withBand = Shown(*chart);
    // New data arrive while dragging: a full paint, then the band of the same corner again.
    chart->Invalidate();
    const int paints = chart->FullPaintCount();
    const QImage repainted = Shown(*chart);
    EXPECT_EQ(chart->FullPaintCount(), paints + 1);
    EXPECT_EQ(repainted, withBand);
    // The band moves on from the repainted copy and leaves it clean when the drag ends.
    QTest::mouseMove(chart.get(), {250, 200});
    QTest::mouseRelease(chart.get(), Qt::LeftButton, Qt::NoModifier, {110, 110});
    EXPECT_EQ(Shown(*chart), chart->OffscreenImage());
}

TEST(ZoomBand, DragShowsTheDefaultCursorAndGivesTheChartsOwnBack) {
    auto chart = MakeZoomChart();
    Shown(*chart);
    chart->setCursor(Qt::CrossCursor);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(chart.get(), button, Qt::NoModifier, {200, 200});
        EXPECT_EQ(chart->cursor().shape(), Qt::ArrowCursor) << button;
        QTest::mouseMove(chart.get(), {205, 205});
        QTest::mouseRelease(chart.get(), button, Qt::NoModifier, {205, 205});
        EXPECT_EQ(chart->cursor().shape(), Qt::CrossCursor) << button;
    }
}
