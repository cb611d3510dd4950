#pragma once
// The chart control: a widget that owns its series, its axes and an off-screen image, and
// paints the whole chart into that image whenever a change made it out of date.

#include "ChartElements.h"
#include "ChartTypes.h"
#include "ChartZoom.h"
#include "TChartCanvas3D.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TChartAxis;
class TChartSeries;

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TChart : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TChart*)>;
    using TAxisOnGetLabel = std::function<void(TChartAxis* sender, TChartSeries* series,
                                               int valueIndex, std::string& labelText)>;

    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    // --- series -------------------------------------------------------------------------
    // Takes ownership of `series`, makes this chart its ParentChart and returns it.
    TChartSeries* AddSeries(std::unique_ptr<TChartSeries> series);
    template <class S> S* AddSeries() {
        return static_cast<S*>(AddSeries(std::unique_ptr<TChartSeries>(new S())));
    }
    int SeriesCount() const { return int(m_series.size()); }
    TChartSeries* Series(int index) const { return m_series[std::size_t(index)].get(); }

    // --- axes: the list order is bottom, top, left, right, depth --------------------------
    TChartAxis* BottomAxis() const { return m_axes[0].get(); }
    TChartAxis* TopAxis() const { return m_axes[1].get(); }
    TChartAxis* LeftAxis() const { return m_axes[2].get(); }
    TChartAxis* RightAxis() const { return m_axes[3].get(); }
    TChartAxis* DepthAxis() const { return m_axes[4].get(); }
    int AxisCount() const { return int(m_axes.size()); }
    TChartAxis* Axis(int index) const { return m_axes[std::size_t(index)].get(); }
    std::span<TChartAxis* const> AxesList() const { return m_axisList; }

    // --- repainting ---------------------------------------------------------------------
    // Marks the image out of date and asks for one paint when control returns to the event
    // loop (QWidget::update() semantics: many requests, one paint). Ignored while AutoRepaint
    // is off or the chart is being destroyed.
    void Invalidate();
    void RequestRepaint() { Invalidate(); }
    bool AutoRepaint() const { return m_autoRepaint; }
    void SetAutoRepaint(bool on) { m_autoRepaint = on; }
    bool IsDestroying() const { return m_destroying; }
    bool ImageOutOfDate() const { return m_imageOutOfDate; }

    // Brings the off-screen image up to date (a full paint only when it is out of date or
    // `target` has another device pixel ratio) and copies it to `target` at (0, 0), one image
    // pixel to one device pixel. paintEvent calls it with the window.
    void PaintChart(QPaintDevice& target);
    // The off-screen image brought up to date for this window's device pixel ratio (a full
    // paint only when it is out of date), without showing it: what a saved or copied picture
    // of the chart is.
    const QImage& CurrentImage();
    // The full paint into the off-screen image, whatever its state (steps 2 to 14), at the
    // device pixel ratio of the last PaintChart target.
    void PaintImage();
    const QImage& OffscreenImage() const { return m_canvas.Image(); }
    // How many full paints and how many copies to a window have been made (for checks).
    int FullPaintCount() const { return m_fullPaints; }
    int CopyCount() const { return m_copies; }

    // --- geometry, valid from the step of the paint that sets it until the next paint ----
    TRect PanelRect() const { return {0, 0, width(), height()}; }
    const TRect& PlotRect() const { return m_plotRect; }
    // Replaces PlotRect; call RecalcPlotSize afterwards to repair and derive.
    void SetPlotRect(const TRect& rect) { m_plotRect = rect; }
    // Keeps PlotRect inside the panel with Right > Left and Bottom > Top, then recomputes
    // the plot width, height and centre.
    void RecalcPlotSize();
    int PlotWidth() const { return m_plotWidth; }
    int PlotHeight() const { return m_plotHeight; }
    int PlotCenterX() const { return m_plotCenterX; }
    int PlotCenterY() const { return m_plotCenterY; }

    TChartCanvas3D& Canvas() { return m_canvas; }

    // --- painting steps (public so that the steps can be checked one by one) -------------
    void FillPanel(const TRect& rect);
    void DrawPanelBevels(const TRect& rect);
    void DrawTitleBlock(TChartTitle& title, bool onTop);
    void DrawBackWall();

    // --- properties ----------------------------------------------------------------------
    int MarginLeft = 3;
    int MarginTop = 4;
    int MarginRight = 3;
    int MarginBottom = 4;
    TChartGradient Gradient;
    TColor Color = clSilver; // the panel colour, used when the gradient is off
    TPanelBevel BevelOuter = TPanelBevel::bvRaised;
    TPanelBevel BevelInner = TPanelBevel::bvNone;
    int BevelWidth = 1;
    int BorderWidth = 0;
    bool View3D = true;
    bool View3DWalls = true;
    int Chart3DPercent = 15;
    bool AxisVisible = true;
    bool ClipPoints = true;
    bool LegendVisible = true;
    int MaxPointsPerPage = 0;
    TChartTitle Title;
    TChartTitle Foot;
    TChartWall BackWall;
    TChartWall LeftWall;
    TChartWall BottomWall;
    TColor BackColor() const { return BackWall.Color; }
    void SetBackColor(TColor colour) { BackWall.Color = colour; }

    // The distance between a title block and the plot rectangle.
    static constexpr int TitleGap = 5;

    // --- events --------------------------------------------------------------------------
    TNotifyEvent OnBeforeDrawAxes;
    TNotifyEvent OnBeforeDrawSeries;
    TNotifyEvent OnAfterDraw;
    TAxisOnGetLabel OnGetAxisLabel;

    // --- mouse zoom and panning (ChartZoom.cpp) ------------------------------------------
    bool AllowZoom = true;
    TPanningMode AllowPanning = TPanningMode::pmBoth;
    bool AnimatedZoom = false; // zooming is immediate; the setting is only kept
    int AnimatedZoomSteps = 8;
    // Set by an OnClick handler to keep the press from starting a drag.
    bool CancelMouse = false;
    TNotifyEvent OnZoom;
    TNotifyEvent OnUndoZoom;
    TNotifyEvent OnScroll;
    TChartAllowScrollEvent OnAllowScroll;
    TChartClickAxisEvent OnClickAxis;
    TChartClickSeriesEvent OnClickSeries;
    TChartClickEvent OnClickLegend;
    TChartClickEvent OnClickBackground;
    // Gives the axes back the scales saved by the first zoom or pan, fires OnUndoZoom and
    // repaints.
    void ResetZoom() { m_zoom.ResetZoom(); }
    bool ZoomApplied() const { return m_zoom.ZoomApplied; }
    // The drag records, the saved scales and the rubber band.
    ChartZoom& MouseZoom() { return m_zoom; }

    // --- accessibility -------------------------------------------------------------------
    // What the chart shows, in words (for example the formula and its interval). It becomes
    // the accessible description at once; each full paint adds the axis ranges it drew.
    void SetAccessibleSubject(const QString& subject);
    const QString& AccessibleSubject() const { return m_accessibleSubject; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ResetCanvasToNeutral();
    // A full paint when the image is out of date or does not fit the size and m_paintRatio.
    void BringImageUpToDate();
    // The subject, then the axis ranges of this paint, or that there is nothing to show.
    void DescribeForAccessibility();

    std::vector<std::unique_ptr<TChartSeries>> m_series;
    std::vector<std::unique_ptr<TChartAxis>> m_axes;
    std::vector<TChartAxis*> m_axisList;
    TChartCanvas3D m_canvas;
    TRect m_plotRect;
    int m_plotWidth = 0;
    int m_plotHeight = 0;
    int m_plotCenterX = 0;
    int m_plotCenterY = 0;
    bool m_autoRepaint = false;
    bool m_destroying = false;
    bool m_imageOutOfDate = true;
    double m_paintRatio = 1.0; // device pixels per logical pixel of the window painted last
    int m_fullPaints = 0;
    int m_copies = 0;
    QString m_accessibleSubject;
    ChartZoom m_zoom{*this};
};
