#pragma once
// Mouse zoom and panning of the chart: what a press hits, the zoom and the panning drag, the
// scales saved by the first zoom or pan and restored by ResetZoom, the mouse wheel, and the
// rubber band that the window shows while a zoom drag is active.

#include "ChartTypes.h"

#include <QCursor>
#include <QImage>
#include <Qt>

#include <functional>

class TChart;
class TChartAxis;
class TChartSeries;

// Which axes a pan drag moves.
enum class TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// The buttons of the two drags, the same for every chart of the process: zoom with the left
// button, pan with the right one, neither needs a modifier key.
inline constexpr Qt::MouseButton ChartZoomButton = Qt::LeftButton;
inline constexpr Qt::KeyboardModifiers ChartZoomKeys = Qt::NoModifier;
inline constexpr Qt::MouseButton ChartPanButton = Qt::RightButton;

// A zoom rectangle wider and taller than this many pixels zooms (or undoes); a smaller one
// does nothing.
inline constexpr int ChartZoomMinPixels = 16;

// One drag: where it started (X0, Y0) and the current corner or last mouse position (X1, Y1).
struct TZoomPanningRecord {
    bool Active = false;
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;

    // Starts a drag at (x, y): both corners there.
    void Activate(int x, int y);
    // Orders the corners so that X0 <= X1 and Y0 <= Y1.
    void Check();
};

// The scale settings of one axis that a zoom or a pan overwrites.
struct TAxisScale {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;
    friend bool operator==(const TAxisScale&, const TAxisScale&) = default;
};

// The scales of the four axes as they were before the first zoom or pan after a reset.
struct TScaleBackup {
    TAxisScale Top;
    TAxisScale Bottom;
    TAxisScale Left;
    TAxisScale Right;
};

// What a mouse press at a point of the chart hits.
enum class TChartClickedPartStyle {
    cpNone,
    cpLegend,
    cpAxis,
    cpSeries,
    cpTitle,
    cpFoot,
    cpChartRect
};

struct TChartClickedPart {
    TChartClickedPartStyle Part = TChartClickedPartStyle::cpNone;
    TChartSeries* ASeries = nullptr; // for cpSeries
    int PointIndex = -1;             // for cpSeries: the point nearest to the press
    TChartAxis* AAxis = nullptr;     // for cpAxis
};

// May change the range a pan gives an axis, or refuse it (allowScroll = false).
using TChartAllowScrollEvent = std::function<void(TChartAxis* axis, double& newMinimum,
                                                  double& newMaximum, bool& allowScroll)>;
// A press on an axis, a series, the legend or the plot area; setting the chart's CancelMouse
// keeps the press from starting a drag.
using TChartClickAxisEvent =
    std::function<void(TChart* sender, TChartAxis* axis, Qt::MouseButton button,
                       Qt::KeyboardModifiers keys, int x, int y)>;
using TChartClickSeriesEvent =
    std::function<void(TChart* sender, TChartSeries* series, int valueIndex, Qt::MouseButton button,
                       Qt::KeyboardModifiers keys, int x, int y)>;
using TChartClickEvent = std::function<void(TChart* sender, Qt::MouseButton button,
                                            Qt::KeyboardModifiers keys, int x, int y)>;

// The mouse handling of one chart. TChart's mouse and wheel events delegate to it, and the
// window shows presentedImage(), which carries the rubber band during a zoom drag.
class ChartZoom {
public:
    explicit ChartZoom(TChart& chart) : m_chart(chart) {}
    ChartZoom(const ChartZoom&) = delete;
    ChartZoom& operator=(const ChartZoom&) = delete;

    TZoomPanningRecord Zoom;
    TZoomPanningRecord Panning;
    TScaleBackup ScaleBackup;
    bool ScaleBackupTaken = false;
    bool ZoomApplied = false;

    // What a press at (x, y) hits, from the rectangles of the last paint; first match wins:
    // series, axis, title, foot, plot area, legend, nothing.
    TChartClickedPart clickedPart(int x, int y) const;

    // The mouse as the window delivers it (client coordinates).
    void mousePress(Qt::MouseButton button, Qt::KeyboardModifiers keys, int x, int y);
    void mouseMove(int x, int y);
    void mouseRelease(Qt::MouseButton button, int x, int y);
    // Ends any drag at once (the band disappears with the next paint).
    void cancelDrags();
    // A wheel turn in eighths of a degree, 120 per step, positive away from the user: each
    // whole step shifts the vertical axes by 3 % of their ranges (not widened), saving the
    // scales first if none are saved.
    void wheel(int angleDelta);

    // Zooms every axis to the rectangle of the zoom record (normalised first), saving the
    // scales if they are not saved yet; sets ZoomApplied and fires OnZoom.
    void zoomToRectangle();
    // The saved scales back (if any were saved), OnUndoZoom, a repaint, ZoomApplied cleared.
    void ResetZoom();
    // Pans the axes of one direction from pixel p to pixel q; true when an axis moved.
    bool panAxes(bool horizontal, int p, int q);
    // Makes the range of `axis` fixed: a to b in either order, at least 1e-10 wide.
    static void setFixedRange(TChartAxis& axis, double a, double b);

    // The image the window shows: the chart's off-screen image, or during a zoom drag a copy of
    // it with the rubber band on it (the off-screen image itself is never drawn on).
    const QImage& presentedImage();
    // Draws the rubber band of the zoom record onto `image` in not-xor mode: drawing it twice
    // at the same place gives back the pixels exactly.
    void drawRubberBand(QImage& image) const;

private:
    void saveScales();
    void restoreCursor();
    bool presentedIsCurrent() const;

    TChart& m_chart;
    QImage m_presented;        // the off-screen image plus the band, during a zoom drag
    int m_presentedPaint = -1; // the full paint the copy was taken from
    int m_wheelRest = 0;       // wheel eighths of a degree short of a whole step
    bool m_cursorSaved = false;
    bool m_hadOwnCursor = false;
    QCursor m_ownCursor;
};
