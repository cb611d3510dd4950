// Painting the chart of the graph window: a full paint of 401 points of 2·sin²x + 1 on
// −10 … 1 in a 691 × 367 chart (fill, title, axes, grid, line, copy to a window image), a
// repaint without a change (one copy), and beside them the bare minimum that QPainter needs
// for a fill and 400 two-pixel segments. A full paint of x/1000 on 0 … 0.002 in the 96-dpi
// window (553 × 294) shows the cost of labels finer than 0.001 whose widest one decides the
// increment.
//
// CHART_BENCH_IMAGE=<file.png> also writes the painted chart to that file.

#include "GraphChart.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kWidth = 691;
constexpr int kHeight = 367;
constexpr int kPoints = 401;

// The chart as the graph window configures it, holding the plotted curve.
std::unique_ptr<TChart> MakeGraphChart() {
    auto c = std::make_unique<TChart>();
    c->resize(kWidth, kHeight);
    auto* s = SetUpGraphChart(*c, 1);
    for (int i = 0; i < kPoints; ++i) {
        const double x = -10 + i * 11.0 / (kPoints - 1);
        s->AddPoint(x, 2 * std::sin(x) * std::sin(x) + 1);
    }
    return c;
}

void BM_ChartFullPaintFineLabels(benchmark::State& state) {
    auto chart = std::make_unique<TChart>();
    chart->resize(553, 294);
    auto* s = SetUpGraphChart(*chart, 0.8);
    for (int i = 0; i < kPoints; ++i) {
        const double x = i * 0.002 / (kPoints - 1);
        s->AddPoint(x, x / 1000);
    }
    QImage window(553, 294, QImage::Format_RGB32);
    chart->PaintChart(window);
    for (auto _ : state) {
        chart->Invalidate();
        chart->PaintChart(window);
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_ChartFullPaintFineLabels);

void BM_ChartFullPaint(benchmark::State& state) {
    auto chart = MakeGraphChart();
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    chart->PaintChart(window); // warm the fonts and the image
    for (auto _ : state) {
        chart->Invalidate();
        chart->PaintChart(window);
        benchmark::DoNotOptimize(window.constBits());
    }
    if (const char* file = std::getenv("CHART_BENCH_IMAGE"))
        window.save(QString::fromLocal8Bit(file));
}
BENCHMARK(BM_ChartFullPaint);

void BM_ChartRepaintWithoutChange(benchmark::State& state) {
    auto chart = MakeGraphChart();
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    chart->PaintChart(window);
    for (auto _ : state) {
        chart->PaintChart(window);
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_ChartRepaintWithoutChange);

// The floor: one fill and 400 two-pixel segments straight through QPainter, no axes, no text.
void BM_BareQPainterFillAndSegments(benchmark::State& state) {
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    std::vector<QPoint> pts;
    for (int i = 0; i < kPoints; ++i) {
        const double x = -10 + i * 11.0 / (kPoints - 1);
        const double y = 2 * std::sin(x) * std::sin(x) + 1;
        pts.emplace_back(60 + int(std::lround((x + 10) / 11 * 560)),
                         30 + int(std::lround((3 - y) / 2 * 300)));
    }
    const QPen pen(QColor(0, 0, 255), 2);
    for (auto _ : state) {
        QPainter p(&window);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(0, 0, kWidth, kHeight, QColor(0, 255, 255));
        p.setPen(pen);
        for (int i = 1; i < kPoints; ++i)
            p.drawLine(pts[std::size_t(i - 1)], pts[std::size_t(i)]);
        p.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_BareQPainterFillAndSegments);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
