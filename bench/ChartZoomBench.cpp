// One mouse move of a drag on the graph window's chart (691 × 367, «x*x-2;» at 401 points on
// −10 … 10), handled as the window handles it: the move event through the widget's event
// handler, then the paint it asks for, copied into a window-sized image.
//
// - pan step: the right-button drag moves the axes by one pixel (back and forth); the chart
//   is invalidated, so the paint is a full one.
// - zoom step: the left-button drag moves the rubber band's corner; the chart's image stays,
//   so the paint only copies the image with the band on it.
// - pan step without paint: the event handler alone.

#include "GraphChart.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kWidth = 691;
constexpr int kHeight = 367;
constexpr int kPoints = 401;

std::unique_ptr<TChart> MakeGraphChart() {
    auto c = std::make_unique<TChart>();
    c->resize(kWidth, kHeight);
    auto* s = SetUpGraphChart(*c, 1);
    for (int i = 0; i < kPoints; ++i) {
        const double x = -10 + i * 20.0 / (kPoints - 1);
        s->AddPoint(x, x * x - 2);
    }
    return c;
}

void Send(TChart& chart, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
          QPoint at) {
    QMouseEvent e(type, QPointF(at), chart.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &e);
}

// Presses `button` at (300, 200) on a painted chart; the drag stays active for the benchmark.
std::unique_ptr<TChart> StartDrag(Qt::MouseButton button, QImage& window) {
    auto chart = MakeGraphChart();
    chart->PaintChart(window);
    Send(*chart, QEvent::MouseButtonPress, button, button, {300, 200});
    return chart;
}

void BM_PanStepWithPaint(benchmark::State& state) {
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    auto chart = StartDrag(Qt::RightButton, window);
    int k = 0;
    for (auto _ : state) {
        const int step = k++ & 1;
        const QPoint at(300 + step, 200 + step);
        Send(*chart, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, at);
        chart->PaintChart(window);
        benchmark::DoNotOptimize(window.constBits());
    }
    if (!chart->MouseZoom().Panning.Active || chart->FullPaintCount() < int(state.iterations()))
        state.SkipWithError("the moves did not pan");
}
BENCHMARK(BM_PanStepWithPaint)->Unit(benchmark::kMicrosecond);

void BM_ZoomBandStepWithPaint(benchmark::State& state) {
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    auto chart = StartDrag(Qt::LeftButton, window);
    int k = 0;
    for (auto _ : state) {
        // The corner wanders over most of the plot, so the band is large.
        const QPoint at(600 - (k & 7), 330 - (k & 3));
        ++k;
        Send(*chart, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at);
        chart->PaintChart(window);
        benchmark::DoNotOptimize(window.constBits());
    }
    if (!chart->MouseZoom().Zoom.Active)
        state.SkipWithError("the drag is not a zoom");
}
BENCHMARK(BM_ZoomBandStepWithPaint)->Unit(benchmark::kMicrosecond);

void BM_PanStepHandlerOnly(benchmark::State& state) {
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    auto chart = StartDrag(Qt::RightButton, window);
    int k = 0;
    for (auto _ : state) {
        const QPoint at(300 + (k++ & 1), 200);
        Send(*chart, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, at);
    }
}
BENCHMARK(BM_PanStepHandlerOnly)->Unit(benchmark::kMicrosecond);

} // namespace
