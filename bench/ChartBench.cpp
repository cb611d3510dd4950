// Painting the chart of the graph window: a full paint of 401 points of 2·sin²x + 1 on
// −10 … 1 in a 691 × 367 chart (fill, title, axes, grid, line, copy to a window image), a
// repaint without a change (one copy), and beside them the bare minimum that QPainter needs
// for a fill and 400 two-pixel segments. A full paint of x/1000 on 0 … 0.002 in the 96-dpi
// window (553 × 294) shows the cost of labels finer than 0.001 whose widest one decides the
// increment. The full paint runs at device pixel ratio 1 and 2 (a high-density screen), and
// beside it, when the build found it, QCustomPlot replots and repaints the same 401 points at
// the same size and ratio without antialiasing (bench/install-peer.sh installs it).
//
// The worst inputs a user can give, each a full paint that must stay within a frame (16 ms):
// - a steep segment entering the zoomed plot from two thousand million pixels below it;
// - 401 values alternating between the clamp values ±1E30, with automatic axes and zoomed so
//   that every segment runs 60,000 pixels from one side of the plot to the other;
// - the 408,777 points that the plotting makes of X min «1», X max «1.0000000000000000001»;
// - what the monkey found: a constant formula («1000;») and the narrowest zoom.
//
// CHART_BENCH_IMAGE=<file.png> also writes the last painted chart to that file.

#include "GraphChart.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#ifdef ZORVO_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 691;
constexpr int kHeight = 367;
constexpr int kPoints = 401;

void SaveIfAsked(const QImage& window) {
    if (const char* file = std::getenv("CHART_BENCH_IMAGE"))
        window.save(QString::fromLocal8Bit(file));
}

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

// The argument is the window's device pixel ratio.
void BM_ChartFullPaint(benchmark::State& state) {
    auto chart = MakeGraphChart();
    const int ratio = int(state.range(0));
    QImage window(kWidth * ratio, kHeight * ratio, QImage::Format_RGB32);
    window.setDevicePixelRatio(ratio);
    chart->PaintChart(window); // warm the fonts and the image
    for (auto _ : state) {
        chart->Invalidate();
        chart->PaintChart(window);
        benchmark::DoNotOptimize(window.constBits());
    }
    SaveIfAsked(window);
}
BENCHMARK(BM_ChartFullPaint)->ArgName("ratio")->Arg(1)->Arg(2);

#ifdef ZORVO_HAVE_QCUSTOMPLOT
// The peer: the same 401 points as a two-pixel blue line in a 691 × 367 plot with axes on
// the left, right and bottom and dotted grid lines, no antialiasing anywhere; each pass
// replots into the plot's buffer and copies it to a window image, as a paint would.
void BM_QCustomPlotReplotAndRepaint(benchmark::State& state) {
    const int ratio = int(state.range(0));
    QCustomPlot plot;
    plot.resize(kWidth, kHeight);
    plot.setBufferDevicePixelRatio(ratio);
    plot.setAntialiasedElements(QCP::aeNone);
    plot.setNotAntialiasedElements(QCP::aeAll);
    plot.setBackground(QBrush(QColor(0, 255, 255)));
    plot.yAxis2->setVisible(true);
    QVector<double> xs, ys;
    for (int i = 0; i < kPoints; ++i) {
        const double x = -10 + i * 11.0 / (kPoints - 1);
        xs.push_back(x);
        ys.push_back(2 * std::sin(x) * std::sin(x) + 1);
    }
    QCPGraph* graph = plot.addGraph();
    graph->setData(xs, ys, true);
    graph->setPen(QPen(QColor(0, 0, 255), 2));
    graph->rescaleAxes();
    plot.yAxis2->setRange(plot.yAxis->range());
    plot.show(); // lays the plot out at its size, as the window does
    QApplication::processEvents();
    QImage window(kWidth * ratio, kHeight * ratio, QImage::Format_RGB32);
    window.setDevicePixelRatio(ratio);
    plot.replot(QCustomPlot::rpImmediateRefresh);
    for (auto _ : state) {
        plot.replot(QCustomPlot::rpImmediateRefresh);
        plot.render(&window);
        benchmark::DoNotOptimize(window.constBits());
    }
    if (const char* file = std::getenv("CHART_BENCH_PEER_IMAGE"))
        window.save(QString::fromLocal8Bit(file));
}
BENCHMARK(BM_QCustomPlotReplotAndRepaint)->ArgName("ratio")->Arg(1)->Arg(2);
#endif

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

// A chart of the graph window holding `points`; a non-empty `zoom` fixes the axes to
// {x min, x max, y min, y max}, as a mouse zoom does.
std::unique_ptr<TChart> MakeChartOf(const std::vector<std::pair<double, double>>& points,
                                    const std::vector<double>& zoom = {}) {
    auto c = std::make_unique<TChart>();
    c->resize(kWidth, kHeight);
    auto* s = SetUpGraphChart(*c, 1);
    for (const auto& [x, y] : points)
        s->AddPoint(x, y);
    if (!zoom.empty()) {
        auto fix = [](TChartAxis* axis, double minimum, double maximum) {
            axis->Automatic = axis->AutomaticMinimum = axis->AutomaticMaximum = false;
            axis->Minimum = minimum;
            axis->Maximum = maximum;
        };
        fix(c->BottomAxis(), zoom[0], zoom[1]);
        fix(c->LeftAxis(), zoom[2], zoom[3]);
        fix(c->RightAxis(), zoom[2], zoom[3]);
    }
    return c;
}

void PaintRepeatedly(benchmark::State& state, TChart& chart) {
    QImage window(kWidth, kHeight, QImage::Format_RGB32);
    chart.PaintChart(window);
    for (auto _ : state) {
        chart.Invalidate();
        chart.PaintChart(window);
        benchmark::DoNotOptimize(window.constBits());
    }
    SaveIfAsked(window);
}

// «1/(x-0.00000004);» on [0, 399] zoomed into the top-left corner: the segment from
// (0, −2.5E7) enters the plot at x = 0.5 from about 1.9·10⁹ pixels below it.
void BM_PaintSteepEnteringSegment(benchmark::State& state) {
    std::vector<std::pair<double, double>> points{{0, -2.5e7}};
    for (int i = 1; i < 400; ++i)
        points.emplace_back(i, 1.0 / i);
    auto chart = MakeChartOf(points, {0.5, 10, 0, 2});
    PaintRepeatedly(state, *chart);
}
BENCHMARK(BM_PaintSteepEnteringSegment)->Unit(benchmark::kMillisecond);

// A formula that reaches the clamp in both directions at every other point. Argument 0: the
// automatic axes (−1E30 … 1E30); 1: the vertical axes zoomed to ±5E27, which puts every
// point 30,000 pixels above or below the plot, just within the range of drawn points.
void BM_PaintAlternatingClampValues(benchmark::State& state) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < kPoints; ++i)
        points.emplace_back(-10 + i * 11.0 / (kPoints - 1), i % 2 ? 1e30 : -1e30);
    auto chart =
        state.range(0) == 0 ? MakeChartOf(points) : MakeChartOf(points, {-10, 1, -5e27, 5e27});
    PaintRepeatedly(state, *chart);
}
BENCHMARK(BM_PaintAlternatingClampValues)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// X min «1», X max «1.0000000000000000001» («x;»): the step, a 399th of one extended spacing
// above 1, vanishes when each abscissa is held as a double, so the plotting's loop adds
// 408,776 points at x = 1 before one reaches 1 + 2⁻⁵². The points are made as the plotting
// makes them: XStep = (XMax − XMin) / 399 in extended held as a double, x = i·XStep + XMin.
void BM_PaintNarrowestInterval(benchmark::State& state) {
    const long double xMin = 1.0L, xMax = 1.0000000000000000001L;
    const double step = double((xMax - xMin) / 399);
    std::vector<std::pair<double, double>> points;
    double x = double(xMin);
    for (int i = 0; xMax > x; ++i) {
        x = double(static_cast<long double>(i) * step + xMin);
        points.emplace_back(x, x);
    }
    auto chart = MakeChartOf(points);
    PaintRepeatedly(state, *chart);
    state.counters["points"] = double(points.size());
}
BENCHMARK(BM_PaintNarrowestInterval)->Unit(benchmark::kMillisecond);

// Inputs the monkey found (tests/app/monkey_test.cpp), each a paint over the frame. Argument:
// the value of a constant formula such as «1000;», plotted at 400 points on 0 … 399 with
// automatic axes; the vertical axes then span one value, and every label of their walk (up to
// the 2000 of the tick list) is drawn at the same pixel.
void BM_PaintConstantFormula(benchmark::State& state) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 400; ++i)
        points.emplace_back(i, double(state.range(0)));
    auto chart = MakeChartOf(points);
    PaintRepeatedly(state, *chart);
}
BENCHMARK(BM_PaintConstantFormula)
    ->ArgName("value")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

// An empty chart zoomed as far as the mouse zoom goes, both axes 1E-10 wide: y 20000 …
// 20000 + 1E-10, and x 0 … 1E-10 (argument 0) or, like y, 20000 … 20000 + 1E-10 (argument 1).
// Each walk of labels runs 2E-8 below its range: up to 2000 labels.
void BM_PaintNarrowestZoom(benchmark::State& state) {
    const double x = state.range(0) == 0 ? 0 : 20000;
    auto chart = MakeChartOf({}, {x, x + 1e-10, 20000, 20000 + 1e-10});
    PaintRepeatedly(state, *chart);
}
BENCHMARK(BM_PaintNarrowestZoom)->ArgName("x")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
