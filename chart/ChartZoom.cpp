#include "ChartZoom.h"

#include "AxisLabels.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TChartSeries.h"
#include "TLineSeries.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>

namespace {

// The smallest width of a fixed range.
constexpr double kMinRangeWidth = 1e-10;
// How far beyond its line an axis still takes a press, on the side away from its labels.
constexpr int kAxisHitExtra = 3;
// How near to a drawn segment of a line series a press hits the series.
constexpr double kSeriesHitPixels = 3;
// Each wheel step moves the vertical axes by this share of their range.
constexpr double kWheelShare = 0.03;
constexpr int kWheelStep = 120;

bool InPlot(const TRect& plot, int x, int y) {
    return plot.Contains(x, y); // right and bottom edges excluded
}

// The rectangle in which a press hits a placed axis: along it the axis's span, across it from
// its labels' anchor to 3 pixels beyond its line, right and bottom edges excluded.
TRect AxisHitRect(const TChartAxis& axis) {
    // The labels lie on the outer side: left of the left axis, below the bottom axis, ...
    const int outward =
        axis.Horizontal() ? (axis.OtherSide() ? -1 : 1) : (axis.OtherSide() ? 1 : -1);
    // Without labels the axis line itself is where the labels would start.
    const int labels = axis.Labels ? axis.LabelsPos : axis.AxisPos;
    const int beyond = axis.AxisPos - outward * kAxisHitExtra;
    const int lo = std::min(labels, beyond);
    const int hi = std::max(labels, beyond);
    const int start = std::min(axis.PixelStart, axis.PixelEnd);
    const int end = std::max(axis.PixelStart, axis.PixelEnd);
    if (axis.Horizontal())
        return {start, lo, end, hi};
    return {lo, start, hi, end};
}

// Distance in pixels from (x, y) to the segment (ax, ay)–(bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = ax + t * dx - x, py = ay + t * dy - y;
    return std::sqrt(px * px + py * py);
}

// The point of a line series whose drawn segment passes within a few pixels of (x, y), as the
// index of the nearer end; -1 when the press misses the line. A clipped line is hit only where
// it is drawn, inside the plot rectangle.
int LinePointAt(const TChart& chart, const TCustomSeries& series, int x, int y) {
    if (!series.LinePen.Visible || series.PointCount() < 2)
        return -1;
    if (chart.ClipPoints && !InPlot(chart.PlotRect(), x, y))
        return -1;
    const TChartAxis* h = series.GetHorizAxis();
    const TChartAxis* v = series.GetVertAxis();
    if (!h || !v)
        return -1;
    const double reach = std::max(kSeriesHitPixels, series.LinePen.Width / 2.0 + 1);
    bool havePrev = false;
    double px = 0, py = 0;
    for (int i = 0; i < series.PointCount(); ++i) {
        if (series.ValueColor(i) == clNone) { // a null point breaks the line
            havePrev = false;
            continue;
        }
        const double cx = h->ValueToPixel(series.XValues().ValueAt(i));
        const double cy = v->ValueToPixel(series.YValues().ValueAt(i));
        if (havePrev && SegmentDistance(x, y, px, py, cx, cy) <= reach) {
            const double dPrev = std::hypot(x - px, y - py), dThis = std::hypot(x - cx, y - cy);
            return dPrev < dThis ? i - 1 : i;
        }
        px = cx;
        py = cy;
        havePrev = true;
    }
    return -1;
}

// A series' own hit test: only line series have one.
int SeriesPointAt(const TChart& chart, const TChartSeries& series, int x, int y) {
    if (const auto* line = dynamic_cast<const TCustomSeries*>(&series))
        return LinePointAt(chart, *line, x, y);
    return -1;
}

TAxisScale ScaleOf(const TChartAxis& a) {
    return {a.Automatic, a.AutomaticMinimum, a.AutomaticMaximum, a.Minimum, a.Maximum};
}

// Makes the range of `axis` fixed at a … b, in either order. A range that is not finite (a pan
// or zoom beyond the doubles) would leave the axis with nothing to map: the axis keeps its
// range instead, and the answer is false.
bool FixRange(TChartAxis& axis, double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    axis.Automatic = false;
    axis.AutomaticMinimum = false;
    axis.AutomaticMaximum = false;
    axis.Minimum = std::min(a, b);
    axis.Maximum = std::max(a, b);
    if (TChart* chart = axis.ParentChart())
        chart->Invalidate();
    return true;
}

bool HasActiveSeries(const TChart& chart) {
    for (int i = 0; i < chart.SeriesCount(); ++i)
        if (chart.Series(i)->Active())
            return true;
    return false;
}

} // namespace

// --- drag records -----------------------------------------------------------------------------

void TZoomPanningRecord::Activate(int x, int y) {
    X0 = X1 = x;
    Y0 = Y1 = y;
    Active = true;
}

void TZoomPanningRecord::Check() {
    if (X1 < X0)
        std::swap(X0, X1);
    if (Y1 < Y0)
        std::swap(Y0, Y1);
}

// --- what a press hits ------------------------------------------------------------------------

TChartClickedPart ChartZoom::clickedPart(int x, int y) const {
    TChartClickedPart part;
    // Series first, the last in the list (drawn on top) first.
    for (int i = m_chart.SeriesCount() - 1; i >= 0; --i) {
        TChartSeries* s = m_chart.Series(i);
        if (!s->Active())
            continue;
        const int index = SeriesPointAt(m_chart, *s, x, y);
        if (index >= 0) {
            part.Part = TChartClickedPartStyle::cpSeries;
            part.ASeries = s;
            part.PointIndex = index;
            return part;
        }
    }
    for (TChartAxis* axis : m_chart.AxesList()) {
        // The depth axis is neither placed nor drawn in a flat chart.
        if (axis->IsDepthAxis() && !m_chart.View3D)
            continue;
        if (axis->IsAxisShown() && AxisHitRect(*axis).Contains(x, y)) {
            part.Part = TChartClickedPartStyle::cpAxis;
            part.AAxis = axis;
            return part;
        }
    }
    if (m_chart.Title.Visible && m_chart.Title.TitleRect.Contains(x, y)) {
        part.Part = TChartClickedPartStyle::cpTitle;
        return part;
    }
    if (m_chart.Foot.Visible && m_chart.Foot.TitleRect.Contains(x, y)) {
        part.Part = TChartClickedPartStyle::cpFoot;
        return part;
    }
    if (InPlot(m_chart.PlotRect(), x, y) && HasActiveSeries(m_chart)) {
        part.Part = TChartClickedPartStyle::cpChartRect;
        return part;
    }
    // The chart draws no legend, so there is no legend rectangle to hit.
    return part;
}

// --- mouse ------------------------------------------------------------------------------------

void ChartZoom::mousePress(Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y) {
    if (Zoom.Active || Panning.Active)
        return;
    const TChartClickedPart part = clickedPart(x, y);
    m_chart.CancelMouse = false;
    bool mayDrag = false;
    switch (part.Part) {
    case TChartClickedPartStyle::cpSeries:
        if (m_chart.OnClickSeries)
            m_chart.OnClickSeries(&m_chart, part.ASeries, part.PointIndex, button, keys, x, y);
        mayDrag = true;
        break;
    case TChartClickedPartStyle::cpAxis:
        if (m_chart.OnClickAxis)
            m_chart.OnClickAxis(&m_chart, part.AAxis, button, keys, x, y);
        mayDrag = true;
        break;
    case TChartClickedPartStyle::cpChartRect:
        if (m_chart.OnClickBackground)
            m_chart.OnClickBackground(&m_chart, button, keys, x, y);
        mayDrag = true;
        break;
    case TChartClickedPartStyle::cpLegend:
        if (m_chart.OnClickLegend)
            m_chart.OnClickLegend(&m_chart, button, keys, x, y);
        break;
    default: // title, foot or nothing: no drag
        break;
    }
    if (!mayDrag || m_chart.CancelMouse)
        return;

    const bool zoomKeys = (keys & ChartZoomKeys) == ChartZoomKeys;
    const bool zoom = m_chart.AllowZoom && button == ChartZoomButton && zoomKeys;
    const bool pan = m_chart.AllowPanning != TPanningMode::pmNone && button == ChartPanButton;
    if (!zoom && !pan)
        return;
    if (!m_cursorSaved) {
        m_hadOwnCursor = m_chart.testAttribute(Qt::WA_SetCursor);
        m_ownCursor = m_chart.cursor();
        m_cursorSaved = true;
    }
    m_chart.setCursor(Qt::ArrowCursor);
    if (zoom) {
        Zoom.Activate(x, y);
        // The band of zero size: the window shows the image with the band from now on.
        m_presentedPaint = -1;
        m_chart.update();
    } else {
        Panning.Activate(x, y);
    }
}

void ChartZoom::mouseMove(int x, int y) {
    if (Zoom.Active) {
        if (x == Zoom.X1 && y == Zoom.Y1)
            return;
        // Erase the band at the old corner and draw it at the new one; a copy that a full
        // paint has replaced meanwhile gets the band of the new corner when it is rebuilt.
        const bool current = presentedIsCurrent();
        if (current)
            drawRubberBand(m_presented);
        Zoom.X1 = x;
        Zoom.Y1 = y;
        if (current)
            drawRubberBand(m_presented);
        m_chart.update();
        return;
    }
    if (Panning.Active) {
        if (!InPlot(m_chart.PlotRect(), x, y)) {
            Panning.Active = false; // the pan stops where the mouse leaves the plot
            restoreCursor();
            return;
        }
        if (x == Panning.X1 && y == Panning.Y1)
            return;
        if (!ScaleBackupTaken)
            saveScales();
        bool moved = panAxes(true, Panning.X1, x);
        moved = panAxes(false, Panning.Y1, y) || moved;
        Panning.X1 = x;
        Panning.Y1 = y;
        if (moved) {
            if (m_chart.OnScroll)
                m_chart.OnScroll(&m_chart);
            m_chart.Invalidate();
        }
        return;
    }
    // No drag: the series carry no cursors of their own, so the chart shows its own.
    restoreCursor();
}

void ChartZoom::mouseRelease(Qt::MouseButton button, int x, int y) {
    if (Zoom.Active && button == ChartZoomButton) {
        if (presentedIsCurrent())
            drawRubberBand(m_presented); // erased: the copy equals the image again
        Zoom.Active = false;
        Zoom.X1 = x;
        Zoom.Y1 = y;
        const int dx = Zoom.X1 - Zoom.X0, dy = Zoom.Y1 - Zoom.Y0;
        if (std::abs(dx) > ChartZoomMinPixels && std::abs(dy) > ChartZoomMinPixels) {
            if (dx > 0 && dy > 0)
                zoomToRectangle();
            else
                ResetZoom();
            m_chart.Invalidate();
        }
        m_chart.update(); // the window shows the image without the band
    }
    Panning.Active = false;
    if (!Zoom.Active)
        restoreCursor();
}

void ChartZoom::wheel(int angleDelta) {
    // Whole steps only; a fine-grained wheel adds up its parts until a step is complete.
    m_wheelRest += angleDelta;
    const int steps = m_wheelRest / kWheelStep;
    m_wheelRest -= steps * kWheelStep;
    if (steps == 0)
        return;
    // The wheel fixes the ranges as a pan does, so an undo drag gives the automatic ones back.
    if (!ScaleBackupTaken)
        saveScales();
    // A step toward the user (negative delta) moves the range up, one away from him down.
    const double direction = steps < 0 ? 1.0 : -1.0;
    for (int k = 0; k < std::abs(steps); ++k) {
        for (TChartAxis* axis : m_chart.AxesList()) {
            if (axis->Horizontal() || axis->IsDepthAxis())
                continue;
            double shift = direction * kWheelShare * (axis->Maximum - axis->Minimum);
            if (!std::isfinite(shift)) // a range wider than the doubles
                shift = double(direction * kWheelShare * ValueSpan(axis->Minimum, axis->Maximum));
            // Shifted, not widened: a constant's range 5 … 5 stays one value, its line visible.
            FixRange(*axis, axis->Minimum + shift, axis->Maximum + shift);
        }
    }
    m_chart.Invalidate();
    m_chart.repaint();
}

// --- zoom, pan, reset ---------------------------------------------------------------------------

void ChartZoom::zoomToRectangle() {
    Zoom.Check();
    TChartAxis& left = *m_chart.LeftAxis();
    TChartAxis& right = *m_chart.RightAxis();
    TChartAxis& top = *m_chart.TopAxis();
    TChartAxis& bottom = *m_chart.BottomAxis();
    // The lower edge of the rectangle has the smaller value on a vertical axis.
    const double leftLow = left.PixelToValue(Zoom.Y1), leftHigh = left.PixelToValue(Zoom.Y0);
    const double rightLow = right.PixelToValue(Zoom.Y1), rightHigh = right.PixelToValue(Zoom.Y0);
    const double topLow = top.PixelToValue(Zoom.X0), topHigh = top.PixelToValue(Zoom.X1);
    const double bottomLow = bottom.PixelToValue(Zoom.X0),
                 bottomHigh = bottom.PixelToValue(Zoom.X1);
    if (!ScaleBackupTaken)
        saveScales();
    setFixedRange(left, leftLow, leftHigh);
    setFixedRange(right, rightLow, rightHigh);
    setFixedRange(top, topLow, topHigh);
    setFixedRange(bottom, bottomLow, bottomHigh);
    ZoomApplied = true;
    if (m_chart.OnZoom)
        m_chart.OnZoom(&m_chart);
}

void ChartZoom::ResetZoom() {
    if (ScaleBackupTaken) {
        auto restore = [](TChartAxis& axis, const TAxisScale& saved) {
            // The range first: making it fixed clears the flags that are restored next.
            if (!saved.Automatic)
                setFixedRange(axis, saved.Minimum, saved.Maximum);
            axis.Automatic = saved.Automatic;
            axis.AutomaticMinimum = saved.AutomaticMinimum;
            axis.AutomaticMaximum = saved.AutomaticMaximum;
        };
        restore(*m_chart.TopAxis(), ScaleBackup.Top);
        restore(*m_chart.BottomAxis(), ScaleBackup.Bottom);
        restore(*m_chart.LeftAxis(), ScaleBackup.Left);
        restore(*m_chart.RightAxis(), ScaleBackup.Right);
        ScaleBackupTaken = false;
    }
    // The scales are back even when the handler throws: the chart shows them and no zoom
    // is left to undo.
    struct FinishOnExit {
        ChartZoom& zoom;
        ~FinishOnExit() {
            zoom.m_chart.Invalidate();
            zoom.ZoomApplied = false;
        }
    } finish{*this};
    if (m_chart.OnUndoZoom)
        m_chart.OnUndoZoom(&m_chart);
}

bool ChartZoom::panAxes(bool horizontal, int p, int q) {
    if (p == q)
        return false;
    const TPanningMode mode = m_chart.AllowPanning;
    const bool allowed =
        mode == TPanningMode::pmBoth ||
        (horizontal ? mode == TPanningMode::pmHorizontal : mode == TPanningMode::pmVertical);
    if (!allowed)
        return false;
    bool moved = false;
    for (TChartAxis* axis : m_chart.AxesList()) {
        if (axis->IsDepthAxis() || axis->Horizontal() != horizontal)
            continue;
        // The content follows the mouse: dragging right shows smaller values.
        const double delta = axis->PixelToValue(p) - axis->PixelToValue(q);
        double newMinimum = axis->Minimum + delta;
        double newMaximum = axis->Maximum + delta;
        bool allow = true;
        if (m_chart.OnAllowScroll)
            m_chart.OnAllowScroll(axis, newMinimum, newMaximum, allow);
        if (!allow)
            continue;
        setFixedRange(*axis, newMinimum, newMaximum);
        moved = true;
    }
    return moved;
}

void ChartZoom::setFixedRange(TChartAxis& axis, double a, double b) {
    if (!FixRange(axis, a, b))
        return;
    if (axis.Maximum - axis.Minimum < kMinRangeWidth) {
        // Far from zero 1e-10 is below the spacing of doubles; the next double up keeps the
        // range from collapsing there.
        axis.Maximum =
            std::max(axis.Minimum + kMinRangeWidth,
                     std::nextafter(axis.Minimum, std::numeric_limits<double>::infinity()));
    }
}

void ChartZoom::cancelDrags() {
    Zoom.Active = false;
    Panning.Active = false;
    restoreCursor();
    m_chart.update();
}

void ChartZoom::saveScales() {
    ScaleBackup.Top = ScaleOf(*m_chart.TopAxis());
    ScaleBackup.Bottom = ScaleOf(*m_chart.BottomAxis());
    ScaleBackup.Left = ScaleOf(*m_chart.LeftAxis());
    ScaleBackup.Right = ScaleOf(*m_chart.RightAxis());
    ScaleBackupTaken = true;
}

void ChartZoom::restoreCursor() {
    if (!m_cursorSaved)
        return;
    if (m_hadOwnCursor)
        m_chart.setCursor(m_ownCursor);
    else
        m_chart.unsetCursor();
    m_cursorSaved = false;
}

// --- rubber band --------------------------------------------------------------------------------

bool ChartZoom::presentedIsCurrent() const {
    const QImage& image = m_chart.OffscreenImage();
    return m_presentedPaint == m_chart.FullPaintCount() && !m_presented.isNull() &&
           m_presented.size() == image.size();
}

const QImage& ChartZoom::presentedImage() {
    const QImage& image = m_chart.OffscreenImage();
    if (!Zoom.Active)
        return image;
    if (!presentedIsCurrent()) {
        // A fresh copy of the image that was just painted, with the band at the current corner.
        m_presented = image.copy();
        m_presentedPaint = m_chart.FullPaintCount();
        drawRubberBand(m_presented);
    }
    return m_presented;
}

// The band is the outline of the toolkit's rectangle from (X0, Y0) to (X1, Y1): columns left
// and right − 1, rows top and bottom − 1, each pixel touched once, so that a second drawing
// inverts exactly what the first one did. Pixels outside the image are skipped. On an image
// of a higher device pixel ratio the logical rectangle [left, right) covers the device
// pixels [round(left·ratio), round(right·ratio)), and so does each of its edges.
void ChartZoom::drawRubberBand(QImage& image) const {
    if (image.isNull() || image.depth() != 32)
        return;
    // Pen: the panel colour, or black on a white panel (the band would not show on white).
    TColor colour = m_chart.Color & 0x00FFFFFFu;
    if (colour == clWhite)
        colour = clBlack;
    const std::uint32_t pen = ToArgb(colour) & 0x00FFFFFFu;
    const int left = std::min(Zoom.X0, Zoom.X1), right = std::max(Zoom.X0, Zoom.X1);
    const int top = std::min(Zoom.Y0, Zoom.Y1), bottom = std::max(Zoom.Y0, Zoom.Y1);
    if (right <= left || bottom <= top)
        return; // a rectangle of zero size shows nothing
    const double ratio = image.devicePixelRatio();
    auto dev = [ratio](int logical) {
        return ratio == 1.0 ? std::int64_t(logical) : std::int64_t(std::llround(logical * ratio));
    };
    // Device spans: the whole band, its first and last column, its first and last row.
    const std::int64_t x0 = dev(left), x1 = dev(right), y0 = dev(top), y1 = dev(bottom);
    const std::int64_t leftEnd = dev(left + 1), rightStart = std::max(dev(right - 1), leftEnd);
    const std::int64_t topEnd = dev(top + 1), bottomStart = std::max(dev(bottom - 1), topEnd);
    const std::int64_t w = image.width(), h = image.height();
    auto invertRow = [&](std::int64_t y, std::int64_t from, std::int64_t to) {
        if (y < 0 || y >= h)
            return;
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(int(y)));
        for (std::int64_t x = std::max<std::int64_t>(from, 0); x < std::min(to, w); ++x)
            line[x] = (~(pen ^ line[x]) & 0x00FFFFFFu) | 0xFF000000u;
    };
    for (std::int64_t y = std::max<std::int64_t>(y0, 0); y < std::min(y1, h); ++y) {
        if (y < topEnd || y >= bottomStart) {
            invertRow(y, x0, x1);
        } else {
            invertRow(y, x0, leftEnd);
            invertRow(y, rightStart, x1);
        }
    }
}

// --- the chart's event handlers -----------------------------------------------------------------

// The toolkit's own handling runs first; the chart then keeps the event, so that the moves of
// a drag come back to it. Exceptions from the chart's event handlers end the drag here rather
// than leave through the event loop.
void TChart::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    event->accept();
    const QPoint p = event->position().toPoint();
    try {
        m_zoom.mousePress(event->button(), event->modifiers(), p.x(), p.y());
    } catch (const std::exception&) {
        m_zoom.cancelDrags();
    }
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    event->accept();
    const QPoint p = event->position().toPoint();
    try {
        m_zoom.mouseMove(p.x(), p.y());
    } catch (const std::exception&) {
        m_zoom.cancelDrags();
    }
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    event->accept();
    const QPoint p = event->position().toPoint();
    try {
        m_zoom.mouseRelease(event->button(), p.x(), p.y());
    } catch (const std::exception&) {
        m_zoom.cancelDrags();
    }
}

void TChart::wheelEvent(QWheelEvent* event) {
    QWidget::wheelEvent(event);
    event->accept();
    try {
        m_zoom.wheel(event->angleDelta().y());
    } catch (const std::exception&) {
        // Painting reports nothing; the wheel step is simply lost.
    }
}
