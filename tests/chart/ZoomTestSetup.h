#pragma once
// A shown chart configured as the graph window's, with the mouse driven through QTest, for the
// tests of mouse zoom and panning.

#include "GraphChart.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <QImage>
#include <QTest>

#include <memory>

// The graph window's chart with «x*x-2;» sampled at 401 points over -10 … 10, shown and painted
// once so that the rectangles and spans of a paint are in place.
inline std::unique_ptr<TChart> MakeZoomChart(int width = 691, int height = 367) {
    auto chart = std::make_unique<TChart>();
    TLineSeries* s = SetUpGraphChart(*chart, 1);
    for (int i = 0; i <= 400; ++i) {
        const double x = -10 + 20.0 * i / 400;
        s->AddPoint(x, x * x - 2);
    }
    chart->resize(width, height);
    chart->show();
    return chart;
}

// What the window shows after a paint request: the paint sequence's copy into a window-sized
// image, as paintEvent makes it.
inline QImage Shown(TChart& chart) {
    QImage window(chart.width(), chart.height(), QImage::Format_RGB32);
    window.fill(Qt::black);
    chart.PaintChart(window);
    return window;
}

inline void Drag(TChart& chart, Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(&chart, button, Qt::NoModifier, from);
    QTest::mouseMove(&chart, to);
    QTest::mouseRelease(&chart, button, Qt::NoModifier, to);
}

struct AxisRange {
    double minimum, maximum;
    bool automatic;
};
inline AxisRange RangeOf(const TChartAxis& a) {
    return {a.Minimum, a.Maximum, a.Automatic && a.AutomaticMinimum && a.AutomaticMaximum};
}
